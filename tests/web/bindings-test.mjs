// The page's key settings in Debian's headless Chromium: keys chosen in the
// panel (press +, then the key) reach the running game, a key for two
// actions is refused, the game recorded with them holds the game's own keys
// and replays in the replay runner to the page's frame; the choice survives
// a reload, and the reset gives the game's keys back.
//
//   node bindings-test.mjs --page build-web/web --replay build/tools/replay/vorblox-replay [--out DIR]
import fs from "node:fs";
import path from "node:path";

import { framesDiffer, launchChromium, serve, startTest, waitForSteadyFrame } from "./browser.mjs";

const { options, out, check, replayFrame, waitForGameOver, holdUntil, finish } = startTest("bindings-test");

const server = await serve(options.page);
const browser = await launchChromium();
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 800, height: 900, deviceScaleFactor: 1 });
  const problems = [];
  page.on("pageerror", (error) => problems.push(error.message));
  page.on("console", (m) => {
    // Chromium's advice on the test's own reads of the canvas is no fault of the page's.
    if (m.text().startsWith("Canvas2D: Multiple readback")) return;
    if (m.type() === "error" || m.type() === "warn") problems.push(m.text());
  });
  await page.goto(server.url + "/index.html");
  await waitForSteadyFrame(page);

  const message = () => page.$eval("#bindings-message", (e) => e.textContent);
  const bind = async (action, code) => {
    await page.click(`#bindings button.add[data-action="${action}"]`);
    await page.keyboard.press(code, { delay: 30 });
  };
  await page.click("#keys");
  await bind("drop", "KeyS");
  await bind("new-game", "KeyN");
  await bind("left", "KeyS");
  const refused = await message();
  check(refused === "S is drop faster's already; remove it there first.", `a key for two actions is refused (${refused})`);
  await page.screenshot({ path: path.join(out, "bindings-panel.png") });
  const stored = await page.evaluate(() => JSON.parse(localStorage.getItem("vorblox-bindings")));
  check(stored && stored.drop.includes("S") && stored["new-game"].includes("N") && !stored.left.includes("S"),
        `the choice is kept in the browser's storage (${JSON.stringify(stored && { drop: stored.drop, left: stored.left })})`);
  const hint = await page.$eval("#status", (e) => e.textContent);
  check(hint === "F1 or N starts a game, Esc quits", `the page says which keys start and quit (${hint})`);
  await page.click("#bindings-close");

  // The game that was running plays by them: S held from before N, to the end.
  await page.keyboard.down("KeyS");
  // S alone already keeps the game reading its keys: a game has begun once
  // its recording is in place.
  const begun = () => {
    const recording = VorbloxPage.recording();
    return !!recording && new TextDecoder().decode(recording).startsWith("# A game of Vorblox");
  };
  await holdUntil(page, "KeyN", begun, "N to start a game");
  const last = await waitForGameOver(page);
  await page.keyboard.up("KeyS");
  const gameOver = replayFrame("1 DOWN\n1 F1+DOWN\n4000 DOWN\n");
  check(!framesDiffer(last, gameOver), "S held and N play to the replay runner's frame for Down and F1");
  const script = await page.evaluate(() => new TextDecoder().decode(VorbloxPage.recording()));
  fs.writeFileSync(path.join(out, "bound.rec"), script);
  const names = new Set(script.split("\n").filter((l) => l && l[0] !== "#").flatMap((l) => l.split(" ")[1].split("+")));
  check([...names].every((n) => ["-", "DOWN", "F1"].includes(n)) && names.has("DOWN") && names.has("F1"),
        `the recording holds the game's keys (${[...names].join(" ")})`);
  check(!framesDiffer(last, replayFrame(script)), "the recording replays to the page's last frame");

  // A fresh page keeps them; the reset gives the game's keys back.
  await page.reload();
  await waitForSteadyFrame(page);
  await page.click("#keys");
  const chips = await page.$$eval("#bindings .key", (keys) => keys.map((k) => k.textContent));
  check(chips.includes("S ×") && chips.includes("N ×"), "a reloaded page has the keys chosen");
  await page.click("#bindings-reset");
  const reset = await page.evaluate(() => VorbloxBindings.text());
  check(reset.includes("drop = Down, pad:dpdown, pad:left-stick-down\n") && !reset.includes("= S"),
        "the reset gives back the game's keys");
  check(problems.length === 0, `no errors in the page${problems.length ? ": " + problems.join("; ") : ""}`);
} finally {
  await browser.close();
  server.close();
}
process.exit(finish());
