// The browser build on phones and tablets, in Debian's headless Chromium
// emulating them (touch, mobile viewports), served from a sub-path as a
// static host may serve it: the layout at each size and turn, games played
// by touch alone (DevTools' touch events, several fingers at once) against
// the replay runner, the installability check, and playing offline and
// updating through the service worker.
//
//   node touch-test.mjs --page build-web/web --replay build/tools/replay/vorblox-replay [--out DIR]
//
// Exit 0 when every check passed, 1 when one failed (each failure is one
// line), 2 for bad usage. --out keeps the screenshots there.
import { spawnSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { fileURLToPath } from "node:url";

import { framesDiffer, launchChromium, readCanvas, serve, startTest, waitFor, waitForSteadyFrame } from "./browser.mjs";

const { options, out, check, replayFrame, sameFrame, waitForGameOver, finish } = startTest("touch-test", { needs: "sw.js" });
const offlineScript = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "../../cmake/WebOffline.cmake");
const swTemplate = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "../../platform/backends/web/page/sw.js.in");

const pause = (ms) => new Promise((r) => setTimeout(r, ms));

const LABELS = ["Move left", "Move right", "Turn counter-clockwise", "Turn clockwise", "Drop", "New game", "Quit"];
const UNDER = "/games/vorblox/";

// Fingers on the screen through DevTools' touch events: a touch or a move
// lists every finger down, as a touch screen reports them.
class Fingers {
  constructor(page, cdp) {
    this.page = page;
    this.cdp = cdp;
    this.points = new Map();
  }
  async center(label) {
    return this.page.evaluate((label) => {
      const r = document.querySelector(`button[aria-label="${label}"]`).getBoundingClientRect();
      return { x: r.x + r.width / 2, y: r.y + r.height / 2 };
    }, label);
  }
  async send(type) {
    const touchPoints = [...this.points].map(([id, p]) => ({ id, x: p.x, y: p.y, radiusX: 8, radiusY: 8, force: 1 }));
    await this.cdp.send("Input.dispatchTouchEvent", { type, touchPoints });
  }
  async down(id, where) {
    this.points.set(id, typeof where === "string" ? await this.center(where) : where);
    await this.send("touchStart");
  }
  async move(id, where) {
    this.points.set(id, typeof where === "string" ? await this.center(where) : where);
    await this.send("touchMove");
  }
  // Chromium's touchEnd names the fingers lifted.
  async up(id) {
    const p = this.points.get(id);
    this.points.delete(id);
    await this.cdp.send("Input.dispatchTouchEvent", { type: "touchEnd", touchPoints: [{ id, x: p.x, y: p.y }] });
  }
}

// What a viewport shows: the picture's box in device pixels, the buttons
// that show, whether anything scrolls or clips.
async function survey(page) {
  return page.evaluate(() => {
    const ratio = devicePixelRatio, c = document.getElementById("canvas").getBoundingClientRect();
    const shown = (e) => { const r = e.getBoundingClientRect(); return r.width > 0 && r.height > 0 && getComputedStyle(e).visibility !== "hidden"; };
    const buttons = [...document.querySelectorAll("button, #bar label")].filter(shown).map((b) => {
      const r = b.getBoundingClientRect();
      return { name: b.getAttribute("aria-label") || b.textContent.trim(), x: r.x, y: r.y, w: r.width, h: r.height,
               clipped: b.scrollWidth > b.clientWidth + 1 || b.scrollHeight > b.clientHeight + 1,
               inCluster: !!b.closest(".cluster") };
    });
    const root = document.scrollingElement;
    return { ratio, canvas: { x: c.x * ratio, y: c.y * ratio, w: c.width * ratio, h: c.height * ratio, css: c },
             buttons, touch: document.documentElement.classList.contains("touch"),
             scrolls: root.scrollHeight > innerHeight || root.scrollWidth > innerWidth || scrollX !== 0 || scrollY !== 0,
             width: innerWidth, height: innerHeight, scale: visualViewport.scale,
             statusClipped: (() => { const s = document.getElementById("status"); return s.getBoundingClientRect().height > 60; })(),
             largest: Math.min(Math.floor(innerWidth * ratio / 300), Math.floor((innerHeight - 56) * ratio / 400)) };
  });
}

function overlaps(a, b) {
  return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

// Checks one viewport's layout and keeps its screenshot.
async function lookAt(page, name) {
  await pause(300);
  const s = await survey(page);
  // Chromium keeps positions in 64ths of a CSS pixel and paints them on the
  // nearest device pixel.
  const near = s.ratio / 64 + 1e-6;
  const c = s.canvas, whole = [c.x, c.y, c.w, c.h].every((v) => Math.abs(v - Math.round(v)) < near) &&
                       Math.round(c.w) % 300 === 0 && Math.round(c.w) / 300 === Math.round(c.h) / 400;
  const cluster = s.buttons.filter((b) => b.inCluster);
  const small = s.buttons.filter((b) => b.w < 48 || b.h < 48);
  const outside = s.buttons.filter((b) => b.x < 0 || b.y < 0 || b.x + b.w > s.width + 0.5 || b.y + b.h > s.height + 0.5);
  const covering = cluster.filter((b) => overlaps(b, { x: c.css.x, y: c.css.y, w: c.css.width, h: c.css.height }));
  check(s.touch && cluster.length === 6, `${name}: the touch controls show (${cluster.map((b) => b.name).join(", ")})`);
  check(whole, `${name}: the picture is ${Math.round(c.w) / 300} device pixels a pixel, at whole device pixels (${c.x}, ${c.y})`);
  check(!small.length && !outside.length && !covering.length,
        `${name}: every button is 48 px or more, on the screen, off the picture` +
        (small.length || outside.length || covering.length ? `: ${[...small, ...outside, ...covering].map((b) => `${b.name} ${b.w}x${b.h} at ${b.x},${b.y}`).join("; ")}` : ""));
  check(!s.scrolls && s.scale === 1 && !s.statusClipped && !s.buttons.some((b) => b.clipped),
        `${name}: nothing scrolls, zooms, wraps or clips`);
  await page.screenshot({ path: path.join(out, `${name}.png`) });
  // The menu holds the bar's other controls and Quit, each on one line.
  await page.click("#menu");
  await pause(100);
  const open = await survey(page);
  const items = open.buttons.filter((b) => !b.inCluster && b.name !== "Menu");
  const bad = items.filter((b) => b.h < 48 || b.w < 48 || b.h > 80 || b.clipped || b.y + b.h > open.height);
  check(items.some((b) => b.name === "Quit") && items.some((b) => b.name === "Save recording") && !bad.length,
        `${name}: the menu's items fit, each 48 px or more on one line (${items.map((b) => b.name).join(", ")})` +
        (bad.length ? `: not ${bad.map((b) => `${b.name} ${b.w}x${b.h}`).join("; ")}` : ""));
  if (name === "small-phone") await page.screenshot({ path: path.join(out, `${name}-menu.png`) });
  await page.click("#menu");
  return s;
}

function readRecording(page) {
  return page.evaluate(() => new TextDecoder().decode(VorbloxPage.recording() || new Uint8Array()));
}

// A finger held on `button` until `test` (run here, on the recording so
// far) answers true, then lifted. Not held for a time: the game reads the
// buttons held at each tick, and a busy machine has fewer ticks a second.
// Reading the recording writes out the run still held, so the page's own
// Save is whole: reading as it plays cuts runs into pieces.
async function holdUntilRecorded(page, fingers, id, button, test, what) {
  await fingers.down(id, button);
  const start = Date.now();
  while (!test(await readRecording(page))) {
    if (Date.now() - start > 20000) {
      await fingers.up(id);
      throw new Error(`timed out waiting for ${what}`);
    }
    await pause(100);
  }
  await fingers.up(id);
}
// The recording's runs, as [ticks, keys], the pieces of one run joined.
const runs = (script) => {
  const joined = [];
  for (const [n, keys] of script.split("\n").filter((l) => /^\d+ /.test(l)).map((l) => l.split(" "))) {
    const last = joined[joined.length - 1];
    if (last && last[1] === keys) last[0] = String(Number(last[0]) + Number(n));
    else joined.push([n, keys]);
  }
  return joined;
};

const server = await serve(options.page, { under: UNDER });
const browser = await launchChromium();
const started = Date.now();
try {
  const problems = [];
  const watch = (page) => {
    page.on("pageerror", (error) => problems.push(`page error: ${error.message}`));
    page.on("console", (message) => {
      if (message.text().startsWith("Canvas2D: Multiple readback")) return;
      if (message.type() === "error" || message.type() === "warn") problems.push(`console ${message.type()}: ${message.text()}`);
    });
  };

  // A desktop without touch looks as before: no touch controls, no menu.
  const desktop = await browser.newPage();
  watch(desktop);
  await desktop.setViewport({ width: 800, height: 900, deviceScaleFactor: 1 });
  await desktop.goto(server.url + "/index.html");
  await waitForSteadyFrame(desktop);
  const plain = await survey(desktop);
  check(!plain.touch && !plain.buttons.some((b) => b.inCluster || b.name === "Menu" || b.name === "Quit"),
        `a desktop viewport shows no touch controls (${plain.buttons.map((b) => b.name).join(", ")})`);
  await desktop.screenshot({ path: path.join(out, "desktop.png") });
  await desktop.close();

  // Phones and a tablet, each in portrait and then turned.
  const page = await browser.newPage();
  watch(page);
  const context = browser.defaultBrowserContext();
  await context.overridePermissions(server.url.replace(/\/games.*/, ""), ["wake-lock-screen"]).catch(() => {});
  const cdp = await page.createCDPSession();
  const prompt = replayFrame("1 -\n", "prompt");
  const devices = [["phone", 390, 844, 3], ["small-phone", 360, 640, 2], ["tablet", 768, 1024, 2]];
  let first = true;
  for (const [name, width, height, ratio] of devices) {
    await page.setViewport({ width, height, deviceScaleFactor: ratio, isMobile: true, hasTouch: true });
    if (first) {
      await page.goto(server.url + "/");
      await waitForSteadyFrame(page);
      first = false;
    }
    const portrait = await lookAt(page, name);
    await page.setViewport({ width: height, height: width, deviceScaleFactor: ratio, isMobile: true, hasTouch: true, isLandscape: true });
    // A new size clears the canvas; the game, asleep at its prompt, draws it again at once.
    await pause(150);
    sameFrame(await readCanvas(page), prompt, `${name}: turned, the picture is drawn again at once`);
    const landscape = await lookAt(page, `${name}-landscape`);
    console.log(`     ${name}: scale ${Math.round(portrait.canvas.w) / 300} portrait, ${Math.round(landscape.canvas.w) / 300} landscape`);
  }

  // Full screen, from the menu: the picture at a whole scale, the controls beside it.
  await page.setViewport({ width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true });
  await page.click("#menu");
  await page.click("#fullscreen");
  await waitFor(page, () => document.fullscreenElement !== null, { timeout: 5000, what: "full screen" }).catch(() => null);
  await pause(300);
  const full = await survey(page);
  const fullWhole = Math.round(full.canvas.w) % 300 === 0 && full.buttons.filter((b) => b.inCluster).length === 6;
  check(await page.evaluate(() => document.fullscreenElement === document.documentElement) && fullWhole,
        `Full screen takes the page to full screen, the picture at scale ${Math.round(full.canvas.w) / 300} with the controls`);
  await page.screenshot({ path: path.join(out, "phone-fullscreen.png") });
  await page.evaluate(() => document.exitFullscreen());
  await pause(200);

  // The installability check: manifest, icons, service worker.
  await page.evaluate(() => navigator.serviceWorker.ready);
  const installability = await cdp.send("Page.getInstallabilityErrors");
  check(installability.installabilityErrors.length === 0,
        `Chromium finds the page installable${installability.installabilityErrors.map((e) => ": " + e.errorId).join("")}`);
  const manifest = await cdp.send("Page.getAppManifest");
  check(manifest.errors.length === 0 && /"maskable"/.test(manifest.data || ""), "the manifest parses and has a maskable icon");

  // No pinch zooms and no drag scrolls or pulls the page.
  const fingers = new Fingers(page, cdp);
  await page.evaluate(() => { window.vorbloxSamePage = true; });
  const mid = await page.evaluate(() => { const r = document.getElementById("canvas").getBoundingClientRect(); return { x: r.x + r.width / 2, y: r.y + r.height / 2 }; });
  await fingers.down(1, { x: mid.x - 20, y: mid.y });
  await fingers.down(2, { x: mid.x + 20, y: mid.y });
  for (let i = 1; i <= 5; ++i) {
    fingers.points.set(1, { x: mid.x - 20 - 20 * i, y: mid.y - 10 * i });
    fingers.points.set(2, { x: mid.x + 20 + 20 * i, y: mid.y + 10 * i });
    await fingers.send("touchMove");
  }
  await fingers.up(2);
  await fingers.up(1);
  await fingers.down(1, { x: mid.x, y: 70 });
  for (let i = 1; i <= 8; ++i) await fingers.move(1, { x: mid.x, y: 70 + 60 * i });
  await fingers.up(1);
  await pause(300);
  const after = await survey(page);
  check(after.scale === 1 && !after.scrolls && (await page.evaluate(() => window.vorbloxSamePage === true)),
        `a pinch and a long drag neither zoom, scroll nor reload the page (scale ${after.scale})`);

  // A game by touch alone: one finger holds Drop, a second taps New game,
  // and Drop stays down to the game's end; as the keys Down and F1.
  await fingers.down(1, "Drop");
  const before = await readRecording(page);
  await holdUntilRecorded(page, fingers, 2, "New game", (script) => script !== before, "New game to start a game");
  await waitFor(page, () => VorbloxScreen.awake(), { timeout: 5000, what: "the wake lock" }).catch(() => null);
  const awake = await page.evaluate(() => VorbloxScreen.awake());
  const gameTime = Date.now();
  const last = await waitForGameOver(page);
  await fingers.up(1);
  const gameOver = replayFrame("1 DOWN\n1 F1+DOWN\n4000 DOWN\n", "game-over");
  sameFrame(last, gameOver, `Drop held and New game tapped with a second finger play to the replay runner's last frame (${((Date.now() - gameTime) / 1000).toFixed(1)} s)`);
  await pause(300);
  const asleep = await page.evaluate(() => VorbloxScreen.awake());
  check(awake && !asleep, `the screen is kept on during the game (${awake}) and let go at its end (${!asleep})`);
  await page.screenshot({ path: path.join(out, "phone-game-over.png") });

  // Another, with holds, slides and fingers together, against its own
  // recording: a held Move repeats, a finger slid from Move right onto
  // Move left lets go of the first and holds the second, turns with a
  // second finger while a Move is held.
  // Each touch lasts until the recording has it for a dozen ticks.
  const over = await readRecording(page);
  await holdUntilRecorded(page, fingers, 1, "New game", (script) => script !== over, "New game to start a game");
  const ran = (keys) => (script) => runs(script).some(([n, k]) => k === keys && Number(n) >= 12);
  await fingers.down(1, "Move right");
  for (const start = Date.now(); !ran("RIGHT")(await readRecording(page)) && Date.now() - start < 20000;) await pause(100);
  await fingers.move(1, "Move left");
  const slid = await page.evaluate(() => VorbloxTouch.held());
  for (const start = Date.now(); !ran("LEFT")(await readRecording(page)) && Date.now() - start < 20000;) await pause(100);
  await holdUntilRecorded(page, fingers, 2, "Turn counter-clockwise", (script) => runs(script).some(([, k]) => k === "LEFT+UP"),
                          "a turn while Left is held");
  const turnedBack = (script) => runs(script).some(([, k]) => k === "LCTRL+LEFT" || k === "LEFT+LCTRL");
  await fingers.down(2, "Turn clockwise");
  for (const start = Date.now(); !turnedBack(await readRecording(page)) && Date.now() - start < 20000;) await pause(100);
  await fingers.move(2, { x: 5, y: 400 });
  const offButton = await page.evaluate(() => VorbloxTouch.held());
  await fingers.up(2);
  await fingers.up(1);
  check(slid === 1 && offButton === 1, `a finger slid onto Move left holds it alone (held ${slid}); one slid off a button lets go (held ${offButton})`);
  await fingers.down(1, "Drop");
  const played = await waitForGameOver(page);
  await fingers.up(1);
  const script = await readRecording(page);
  fs.writeFileSync(path.join(out, "touch-recording.txt"), script);
  const lines = runs(script);
  const holds = (key, ticks) => lines.some(([n, keys]) => keys.split("+").includes(key) && Number(n) >= ticks);
  const slideAt = lines.findIndex(([, keys], i) => keys === "RIGHT" && lines[i + 1] && lines[i + 1][1] === "LEFT");
  check(holds("RIGHT", 12) && holds("LEFT", 12) && slideAt >= 0 &&
        lines.some(([, keys]) => keys === "LEFT+UP") && lines.some(([, keys]) => keys === "LCTRL+LEFT" || keys === "LEFT+LCTRL"),
        "the recording holds the touches as the game's keys: Right held, then Left at once, turns while Left is held");
  sameFrame(played, replayFrame(script, "touch-recording"), "the game played by touch replays in vorblox-replay to the page's last frame");

  // Quit, from the menu, ends the game as Esc does.
  await page.click("#menu");
  await page.click("#quit");
  await waitFor(page, () => VorbloxPage.state.ended, { timeout: 5000, what: "the game to end" }).catch(() => null);
  check(await page.evaluate(() => VorbloxPage.state.ended && VorbloxPage.state.exitCode === 0), "Quit in the menu ends the game");
  await fingers.down(1, "New game");
  await pause(100);
  await fingers.up(1);
  await waitFor(page, () => !VorbloxPage.state.ended && window.vorbloxFrames > 0, { timeout: 10000 }).catch(() => null);
  sameFrame(await waitForSteadyFrame(page), replayFrame("1 -\n", "prompt"), "New game on the ended page brings the prompt back");

  // Offline: the server gone and the network cut, the page opens again
  // from the service worker's copy and plays.
  await waitFor(page, () => navigator.serviceWorker.controller !== null, { timeout: 10000, what: "the service worker" });
  server.close();
  await page.setOfflineMode(true);
  await page.reload();
  const offlinePrompt = await waitForSteadyFrame(page);
  await fingers.down(1, "New game");
  await waitFor(page, () => VorbloxPage.state.playing, { timeout: 10000, what: "a game by touch" }).catch(() => null);
  await fingers.up(1);
  let moved = null;
  for (const start = Date.now(); moved === null && Date.now() - start < 10000; await pause(100))
    moved = framesDiffer(await readCanvas(page), offlinePrompt);
  check(moved !== null, "with no network and no server the page opens again and a game starts by touch");
  await page.setOfflineMode(false);
  await page.close();

  // A new build: its files are fetched whole and offered; the page keeps
  // the old ones together until the player takes the new ones.
  const copy = fs.mkdtempSync(path.join(os.tmpdir(), "vorblox-build-"));
  fs.cpSync(options.page, copy, { recursive: true });
  const rebuild = () => {
    const run = spawnSync("cmake", [`-DDIR=${copy}`, `-DTEMPLATE=${swTemplate}`, "-P", offlineScript], { encoding: "utf8" });
    if (run.status !== 0) throw new Error(`WebOffline.cmake failed: ${run.stderr}`);
  };
  const host = await serve(copy, { under: UNDER });
  const update = await browser.newPage();
  watch(update);
  await update.setViewport({ width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true });
  await update.goto(host.url + "/");
  await waitForSteadyFrame(update);
  await waitFor(update, () => navigator.serviceWorker.controller !== null, { timeout: 10000, what: "the service worker" });
  const html = fs.readFileSync(path.join(copy, "index.html"), "utf8");
  fs.writeFileSync(path.join(copy, "index.html"), html.replace("</html>", "<!-- the second build -->\n</html>"));
  rebuild();
  await update.reload();
  await waitFor(update, () => document.getElementById("update") !== null, { timeout: 15000, what: "the new version's notice" }).catch(() => null);
  const offered = await update.evaluate(() => document.getElementById("update") !== null &&
                                               !document.documentElement.outerHTML.includes("the second build"));
  check(offered, "a new build is offered (\"New version: reload\") while the old build's page still runs");
  await update.screenshot({ path: path.join(out, "phone-update.png") });
  if (offered) {
    await update.click("#menu").catch(() => null);
    await update.click("#update");
    await waitFor(update, () => document.documentElement.outerHTML.includes("the second build"), { timeout: 10000, what: "the new build" }).catch(() => null);
    const caches = await update.evaluate(async () => (await caches.keys()).filter((k) => k.startsWith("vorblox ")));
    const taken = await update.evaluate(() => document.documentElement.outerHTML.includes("the second build"));
    check(taken && caches.length === 1, `the reload takes the new build, and only its cache is kept (${caches.length})`);
  }
  // A host half way through an update: sw.js names files that are not
  // there yet. The new version is refused, the old one keeps playing.
  fs.writeFileSync(path.join(copy, "index.html"), html.replace("</html>", "<!-- the third build -->\n</html>"));
  rebuild();
  fs.writeFileSync(path.join(copy, "index.html"), html.replace("</html>", "<!-- the second build -->\n</html>"));
  await update.reload();
  await waitForSteadyFrame(update);
  await waitFor(update, async () => { const r = await navigator.serviceWorker.getRegistration(); return !r.installing; },
                { timeout: 15000, what: "the half-updated build to be judged" }).catch(() => null);
  const refused = await update.evaluate(async () => { const r = await navigator.serviceWorker.getRegistration();
    return !r.waiting && !document.getElementById("update") && document.documentElement.outerHTML.includes("the second build"); });
  check(refused, "a build whose files do not match its list is not taken; the page stays whole on the old one");
  host.close();
  fs.rmSync(copy, { recursive: true, force: true });

  const expected = (p) => /Failed to load resource|net::ERR_INTERNET_DISCONNECTED|is not this build's/.test(p);
  const real = problems.filter((p) => !expected(p));
  check(real.length === 0, `no errors in the pages${real.length ? ": " + real.join("; ") : ""}`);
} finally {
  await browser.close();
  server.close();
}
process.exit(finish(` in ${((Date.now() - started) / 1000).toFixed(0)} s`));
