// Watching a recording in the page with its controls, in headless Chromium:
// pause, speed, a jump ahead or back, the position bar, the keys on the
// canvas and "Play from here", each ending on the replay runner's frame.
//
//   node watch-test.mjs --page build-web/web --replay build/tools/replay/vorblox-replay [--out DIR]
import fs from "node:fs";
import path from "node:path";

import { launchChromium, serve, startTest, waitFor, waitForSteadyFrame } from "./browser.mjs";

const { options, out, check, replayFrame, sameFrame, finish } = startTest("watch-test");

// A game of a minute or so: moves, turns and drops, with pauses between.
const header = "# A game of Vorblox: ticks (64 a second) and the keys held in them.";
const lines = [header, "1 F1", "10 -"];
for (let i = 0; i < 40; ++i) {
  lines.push(`${1 + (i * 7) % 30} LEFT`, "2 -");
  if (i % 2) lines.push("1 UP", "1 -");
  lines.push(`${20 + (i * 13) % 70} -`, `${10 + (i * 11) % 50} DOWN`, "3 -");
}
const script = lines.join("\n") + "\n";
const total = lines.slice(1).reduce((sum, line) => sum + Number(line.split(" ")[0]), 0);
const recording = path.join(out, "watched.txt");
fs.writeFileSync(recording, script);
const end = replayFrame(script, "watched-end");

const server = await serve(options.page);
const browser = await launchChromium();
let problems = [];
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 800, height: 900, deviceScaleFactor: 1 });
  page.on("pageerror", (error) => problems.push(`page error: ${error.message}`));
  page.on("dialog", async (dialog) => { problems.push(`dialog: ${dialog.message()}`); await dialog.dismiss(); });
  await page.goto(server.url + "/index.html");
  await waitForSteadyFrame(page);

  const watchState = () => page.evaluate(() => Object.assign({ games: VorbloxPage.state.games }, VorbloxWatchBar.state()));
  const open = async () => {
    const before = await page.evaluate(() => VorbloxPage.state.games);
    await (await page.$("#file")).uploadFile(recording);
    await waitFor(page, (n) => VorbloxPage.state.games > n && VorbloxWatchBar.state() && VorbloxWatchBar.state().watching,
                  { timeout: 10000, what: "the watch to start" }, before);
  };
  const wait = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

  await open();
  check(!(await page.$eval("#watchbar", (bar) => bar.hidden)), "the watch bar shows while a recording plays");
  await waitFor(page, (n) => VorbloxWatchBar.state().total === n, { timeout: 5000, what: "the length" }, total)
    .catch(() => null);
  check((await watchState()).total === total, `the bar knows the recording's length (${total} ticks)`);

  // Pause holds the game; Play goes on.
  await page.click("#watch-pause");
  await waitFor(page, () => VorbloxWatchBar.state().paused, { timeout: 3000, what: "the pause" }).catch(() => null);
  const paused = await watchState();
  await wait(600);
  const still = await watchState();
  check(paused.paused && still.played === paused.played && (await page.$eval("#watch-time", (t) => t.textContent))
    .includes(`tick ${paused.played} of ${total}`), `paused, the game stands at tick ${paused.played}`);
  await page.screenshot({ path: path.join(out, "watch-paused-800x900.png") });
  await page.click("#watch-pause");
  await waitFor(page, (n) => VorbloxWatchBar.state().played > n, { timeout: 3000, what: "playing on" }, still.played)
    .catch(() => null);
  check((await watchState()).played > still.played, "Play goes on");

  // Ahead five seconds, then back five: back starts the program again and
  // runs ahead to there.
  const before = await watchState();
  await page.click("#watch-ahead");
  await waitFor(page, (t) => VorbloxWatchBar.state().played >= t, { timeout: 3000, what: "the jump ahead" },
                before.played + 320).catch(() => null);
  const ahead = await watchState();
  check(ahead.played >= before.played + 320 && ahead.games === before.games, `+5 s jumps ahead (${before.played} to ${ahead.played})`);
  await page.click("#watch-pause");
  await waitFor(page, () => VorbloxWatchBar.state().paused, { timeout: 3000, what: "the pause" }).catch(() => null);
  const at = (await watchState()).played;
  await page.click("#watch-back");
  await waitFor(page, (n) => VorbloxPage.state.games > n && VorbloxWatchBar.state() && VorbloxWatchBar.state().paused &&
                             !VorbloxWatchBar.state().seeking, { timeout: 10000, what: "the jump back" }, ahead.games)
    .catch(() => null);
  const back = await watchState();
  check(back.games > ahead.games && back.paused && back.played === at - 320,
        `-5 s goes back paused, through a fresh start (tick ${at} to ${back.played})`);

  // The keys on the canvas: Space plays on, ] is faster.
  await page.click("canvas");
  await page.keyboard.press("Space");
  await page.keyboard.press("BracketRight");
  await waitFor(page, () => !VorbloxWatchBar.state().paused && VorbloxWatchBar.state().speed === 2,
                { timeout: 3000, what: "the keys" }).catch(() => null);
  const keyed = await watchState();
  check(!keyed.paused && keyed.speed === 2, `Space and ] on the game play on at twice the speed (${JSON.stringify(keyed)})`);

  // The bar dragged near the end, at the fastest speed: the last frame is
  // the replay runner's.
  await page.select("#watch-speed", "5");
  await page.$eval("#watch-position", (bar, t) => {
    bar.value = t;
    bar.dispatchEvent(new Event("input"));
    bar.dispatchEvent(new Event("change"));
  }, total - 200);
  await waitFor(page, () => !VorbloxPage.state.watching, { timeout: 20000, what: "the watch's end" }).catch(() => null);
  sameFrame(await waitForSteadyFrame(page, { steadyFor: 1000 }), end,
            "paused, jumped about, keyed and dragged, the watch ends on the replay runner's frame");

  // Play from here: the player's keys go on from the moment shown, and the
  // saved recording holds the watched ticks up to it, then the player's.
  await open();
  await page.click("#watch-pause");
  await page.$eval("#watch-position", (bar) => {
    bar.value = 1000;
    bar.dispatchEvent(new Event("change"));
  });
  await waitFor(page, () => VorbloxWatchBar.state().played === 1000 && !VorbloxWatchBar.state().seeking,
                { timeout: 5000, what: "tick 1000" }).catch(() => null);
  await page.click("#watch-play-on");
  await waitFor(page, () => !VorbloxPage.state.watching, { timeout: 3000, what: "playing on" }).catch(() => null);
  check(await page.$eval("#watchbar", (bar) => bar.hidden), "Play from here hides the watch bar");
  await page.click("canvas");
  await page.keyboard.down("ArrowDown");
  await wait(1500);
  await page.keyboard.up("ArrowDown");
  const saved = await page.evaluate(() => { const r = VorbloxPage.recording(); return r && new TextDecoder().decode(r); });
  if (check(saved !== null, "the game played on is recorded")) {
    fs.writeFileSync(path.join(out, "played-on.txt"), saved);
    let ticks = 0, prefix = [];
    for (const line of saved.split("\n").slice(1)) {
      if (!line) continue;
      ticks += Number(line.split(" ")[0]);
      prefix.push(line);
      if (ticks >= 1000) break;
    }
    check(ticks >= 1000 && saved.includes("DOWN"), "it holds the watched ticks, then the player's");
    const page2 = await waitForSteadyFrame(page, { steadyFor: 300 });
    sameFrame(page2, replayFrame(saved, "played-on"), "and replays in vorblox-replay to the page's frame");
  }
} finally {
  await browser.close();
  server.close();
}
for (const p of problems) check(false, p);
process.exit(finish());
