// The browser build end to end, in Debian's headless Chromium driven through
// its DevTools protocol: the page's frames against the replay runner's, pixel
// for pixel, for the same keys.
//
//   node page-test.mjs --page build-web/web --replay build/tools/replay/vorblox-replay [--out DIR]
//
// Exit 0 when every check passed, 1 when one failed (each failure is one
// line on stderr), 2 for bad usage. --out keeps the screenshots and the
// saved recording there.
import fs from "node:fs";
import path from "node:path";

import { framesDiffer, launchChromium, readCanvas, serve, startTest, waitFor, waitForSteadyFrame, windowListeners } from "./browser.mjs";

const { options, out, check, replayFrame, sameFrame, waitForGameOver, holdUntil, finish } = startTest("page-test");

const server = await serve(options.page);
const browser = await launchChromium();
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 800, height: 900, deviceScaleFactor: 1 });
  const problems = [];
  page.on("pageerror", (error) => problems.push(`page error: ${error.message}`));
  page.on("console", (message) => {
    // Chromium's advice on the test's own reads of the canvas is no fault of the page's.
    if (message.text().startsWith("Canvas2D: Multiple readback")) return;
    if (message.type() === "error" || message.type() === "warn") problems.push(`console ${message.type()}: ${message.text()}`);
  });
  // Dialogs are a fault, but for those a check expects (answer says how
  // the next is answered; asked keeps what they said).
  let answer = null;
  const asked = [];
  page.on("dialog", async (dialog) => {
    if (answer) {
      const accept = answer === "accept";
      answer = null;
      asked.push(dialog.message());
      await (accept ? dialog.accept() : dialog.dismiss());
      return;
    }
    problems.push(`dialog: ${dialog.message()}`);
    console.error(`page-test: the page showed a dialog: ${dialog.message()}`);
    await dialog.dismiss();
  });
  page.on("requestfailed", (request) => problems.push(`request failed: ${request.url()}`));
  page.on("request", (request) => {
    if (!request.url().startsWith(server.url)) problems.push(`fetched from elsewhere: ${request.url()}`);
  });

  // Start-up: the prompt, as the replay runner shows it before any key.
  await page.goto(server.url + "/index.html");
  const prompt = await waitForSteadyFrame(page);
  const firstFrame = await page.evaluate(() => window.vorbloxFirstFrame);
  check(firstFrame !== undefined, `a first frame was drawn (${firstFrame === undefined ? "none" : firstFrame.toFixed(0) + " ms after the page's start"})`);
  sameFrame(prompt, replayFrame("1 -\n", "prompt"), "the start prompt equals the replay runner's");
  await page.screenshot({ path: path.join(out, "page-800x900.png") });

  // The game's keys are the game's alone: the page does not act on them.
  const prevented = await page.evaluate(() => {
    window.vorbloxKeysLeft = [];
    document.addEventListener("keydown", (e) => { if (!e.defaultPrevented) window.vorbloxKeysLeft.push(e.key); });
    return true;
  });
  await page.keyboard.down("Control");
  await page.keyboard.press("KeyF");
  await page.keyboard.up("Control");
  await page.keyboard.down("Shift");
  await page.keyboard.press("ArrowLeft");
  await page.keyboard.up("Shift");
  const left = await page.evaluate(() => window.vorbloxKeysLeft);
  check(prevented && left.length === 0, `Ctrl and Shift combinations are kept from the browser${left.length ? ": not " + left.join(", ") : ""}`);

  // A whole game with Down held from before F1, to its end.
  await page.keyboard.down("ArrowDown");
  await page.keyboard.down("F1");
  await waitFor(page, () => window.vorbloxFrames > 5, { timeout: 5000 });
  await page.keyboard.up("F1");
  const started = Date.now();
  const last = await waitForGameOver(page);
  const seconds = (Date.now() - started) / 1000;
  await page.keyboard.up("ArrowDown");
  const ticks = await page.evaluate(() => window.vorbloxFrames);
  const gameOver = replayFrame("1 DOWN\n1 F1+DOWN\n4000 DOWN\n", "game-over");
  sameFrame(last, gameOver, `F1 with Down held plays to the replay runner's last frame (${seconds.toFixed(1)} s, ${ticks} frames drawn)`);
  await page.screenshot({ path: path.join(out, "page-game-over.png") });
  const left2 = await page.evaluate(() => window.vorbloxKeysLeft);
  check(left2.length === 0, `F1 and the arrows do nothing else in the page${left2.length ? ": not " + left2.join(", ") : ""}`);

  // The Save button's recording replays to the page's last frame.
  const downloads = path.join(out, "downloads");
  fs.rmSync(downloads, { recursive: true, force: true });
  fs.mkdirSync(downloads);
  const cdp = await page.createCDPSession();
  await cdp.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: downloads });
  await page.click("#save");
  const saved = path.join(downloads, "vorblox-recording.txt");
  for (let i = 0; i < 100 && !fs.existsSync(saved); ++i) await new Promise((r) => setTimeout(r, 100));
  if (check(fs.existsSync(saved), "Save recording downloads a recording")) {
    const script = fs.readFileSync(saved, "utf8");
    fs.copyFileSync(saved, path.join(out, "recording.txt"));
    sameFrame(last, replayFrame(script, "recording"), "the saved recording replays in vorblox-replay to the page's last frame");

    // Watching it in the page plays it to the same frame, read in pieces
    // of a few lines that come late, so that the game waits for its lines.
    await page.evaluate(() => {
      window.vorbloxGamesBefore = VorbloxPage.state.games;
      Object.assign(VorbloxWatchedFile.options, { piece: 48, ahead: 1, delay: 40 });
    });
    const input = await page.$("#file");
    await input.uploadFile(saved);
    await waitFor(page, () => VorbloxPage.state.games > window.vorbloxGamesBefore && VorbloxPage.state.watching,
                  { timeout: 10000, what: "the recording to start" });
    const title = await page.evaluate(() => document.title);
    // Its end is the watch's, not a canvas that stands still: the game
    // stands still whenever it waits for its lines.
    await waitFor(page, () => !VorbloxPage.state.watching, { timeout: 120000, what: "the watch to end" }).catch(() => null);
    const watched = await readCanvas(page);
    sameFrame(watched, last, "a recording opened in the page, read in late pieces of 48 bytes, plays to the same last frame");
    const after = await page.evaluate(() => ({ title: document.title, status: document.getElementById("status").textContent }));
    check(title.includes("watching vorblox-recording.txt") && !after.title.includes("watching") &&
          after.status === "Watched vorblox-recording.txt to its end",
          `the title and the status name the file and follow the watch to its end (${title}; ${after.title}; ${after.status})`);
    await page.evaluate(() => Object.assign(VorbloxWatchedFile.options, { piece: 1 << 20, ahead: 2, delay: 0 }));
  }

  // Esc ends the game; the page says so and starts a new one on request.
  // Held until the game has ended: the game reads the keys held at each
  // tick, so a key down and up in the same instant can fall between reads.
  // The game's waits keep their listeners on the page while it runs and
  // take them off once it has ended, so that the page keeps no ended game.
  const waitsListening = async () => (await windowListeners(page)).filter((l) => l.type === "vorbloxinput" && l.useCapture).length;
  const listeningInPlay = await waitsListening();
  await holdUntil(page, "Escape", () => !document.getElementById("ended").hidden, "Esc to end the game").catch(() => null);
  const ended = await page.evaluate(() => !document.getElementById("ended").hidden && document.getElementById("ended-text").textContent);
  check(ended === "The game has ended.", `Esc ends the game and the page says so (${ended || "nothing shown"})`);
  let listeningEnded = await waitsListening();
  for (let i = 0; i < 30 && listeningEnded; ++i) {
    await new Promise((r) => setTimeout(r, 100));
    listeningEnded = await waitsListening();
  }
  check(listeningInPlay === 1 && listeningEnded === 0,
        `the game's waits listen while it runs and not once it has ended (${listeningInPlay}, then ${listeningEnded})`);
  await page.screenshot({ path: path.join(out, "page-ended.png") });
  await page.keyboard.press("F1", { delay: 50 });
  await waitFor(page, () => window.vorbloxFrames > 0 && !window.VorbloxPage.state.ended, { timeout: 10000 });
  const again = await waitForSteadyFrame(page);
  sameFrame(again, replayFrame("1 -\n", "prompt"), "F1 on the ended page starts the game again at its prompt");

  // A recording chosen during a game: the page asks first, and a game it
  // may not stop goes on.
  await holdUntil(page, "F1", () => window.VorbloxPage.state.playing, "a game to start");
  answer = "dismiss";
  await (await page.$("#file")).uploadFile(saved);
  await new Promise((r) => setTimeout(r, 1000));
  const kept = await page.evaluate(() => ({ playing: VorbloxPage.state.playing, watched: !!VorbloxPage.state.watched }));
  check(asked.length === 1 && asked[0].includes("vorblox-recording.txt") && kept.playing && !kept.watched,
        `a recording chosen during a game asks first, and No keeps the game (${asked.join("") || "not asked"})`);
  answer = "accept";
  await (await page.$("#file")).uploadFile(saved);
  await waitFor(page, () => VorbloxPage.state.watching, { timeout: 10000, what: "the recording to start" }).catch(() => null);
  check(await page.evaluate(() => VorbloxPage.state.watching), "and Yes ends the game and watches the recording");

  // A recording far larger than the page should hold (a quarter of a
  // gigabyte of idle ticks) starts at once and is read a piece at a time.
  const large = path.join(out, "large-recording.txt");
  const lines = Buffer.from("1 -\n".repeat(1 << 20));
  const written = fs.openSync(large, "w");
  fs.writeSync(written, "# A game of Vorblox: ticks (64 a second) and the keys held in them.\n");
  for (let i = 0; i < 64; ++i) fs.writeSync(written, lines);
  fs.closeSync(written);
  const before = await page.evaluate(() => performance.memory.usedJSHeapSize);
  await (await page.$("#file")).uploadFile(large);
  await waitFor(page, () => VorbloxPage.state.watching && document.title.includes("large-recording.txt"),
                { timeout: 10000, what: "the large recording to start" }).catch(() => null);
  await new Promise((r) => setTimeout(r, 1000));
  const heap = await page.evaluate(() => ({ used: performance.memory.usedJSHeapSize, title: document.title }));
  check(heap.title.includes("watching large-recording.txt") && heap.used - before < 64 << 20,
        `a 256 MB recording plays at once from pieces (the page's heap grew ${((heap.used - before) / 1048576).toFixed(1)} MB)`);
  await holdUntil(page, "Escape", () => VorbloxPage.state.ended, "the watch to end").catch(() => null);
  fs.rmSync(large);

  check(problems.length === 0, `no errors in the page${problems.length ? ": " + problems.join("; ") : ""}`);

  // Sharp at a device-pixel ratio of 2: each game pixel a square of whole device pixels.
  const dense = await browser.newPage();
  await dense.setViewport({ width: 700, height: 900, deviceScaleFactor: 2 });
  await dense.goto(server.url + "/index.html");
  await waitForSteadyFrame(dense);
  const box = await dense.evaluate(() => {
    const r = document.getElementById("canvas").getBoundingClientRect();
    return { x: r.x * devicePixelRatio, y: r.y * devicePixelRatio, w: r.width * devicePixelRatio, h: r.height * devicePixelRatio,
             rendering: getComputedStyle(document.getElementById("canvas")).imageRendering };
  });
  const whole = [box.x, box.y, box.w, box.h].every((v) => Math.abs(v - Math.round(v)) < 1e-6) &&
                box.w % 300 === 0 && box.w / 300 === box.h / 400;
  check(whole && box.rendering === "pixelated", `at a device-pixel ratio of 2 the frame is ${box.w / 300} device pixels a pixel, at ${box.x}, ${box.y} (${box.rendering})`);
  await dense.screenshot({ path: path.join(out, "page-ratio2.png") });

  // At a ratio of 1 in a window smaller than 600 x 800 the frame is shown 1:1.
  const small = await browser.newPage();
  await small.setViewport({ width: 560, height: 700, deviceScaleFactor: 1 });
  await small.goto(server.url + "/index.html");
  await waitForSteadyFrame(small);
  const size = await small.evaluate(() => {
    const r = document.getElementById("canvas").getBoundingClientRect();
    return `${r.width} x ${r.height}`;
  });
  check(size === "300 x 400", `in a 560 x 700 window the frame is shown 1:1 (${size})`);
  await small.screenshot({ path: path.join(out, "page-scale1.png") });

  // Keys count only while the page has the focus, as the window's do.
  const focus = await browser.newPage();
  await focus.setViewport({ width: 800, height: 900, deviceScaleFactor: 1 });
  await focus.goto(server.url + "/index.html");
  const idle = await waitForSteadyFrame(focus);
  await focus.evaluate(() => window.dispatchEvent(new FocusEvent("blur")));
  await focus.keyboard.press("F1", { delay: 100 });
  const unfocused = await waitForSteadyFrame(focus, { steadyFor: 1000 });
  check(!framesDiffer(unfocused, idle), "F1 does nothing while the page has not the focus");
  await focus.evaluate(() => window.dispatchEvent(new FocusEvent("focus")));
  const began = await holdUntil(focus, "F1", () => VorbloxPage.state.playing, "F1 with the focus").then(() => true, () => false);
  check(began && framesDiffer(await readCanvas(focus), idle) !== null, "F1 starts a game once the page has the focus again");

  // A file that is no recording: the page says why and offers a new game.
  const bad = path.join(out, "not-a-recording.txt");
  fs.writeFileSync(bad, "12 JUMP\n");
  // (F1 started a game above: the page asks first, and is told yes.)
  focus.on("dialog", (dialog) => dialog.accept());
  await focus.evaluate(() => { window.vorbloxGamesBefore = VorbloxPage.state.games; });
  await (await focus.$("#file")).uploadFile(bad);
  await waitFor(focus, () => VorbloxPage.state.games > window.vorbloxGamesBefore && !document.getElementById("ended").hidden,
                { timeout: 10000, what: "the page to say the recording was refused" }).catch(() => null);
  const refused = await focus.evaluate(() => !document.getElementById("ended").hidden &&
                                             document.getElementById("ended-text").textContent);
  check(typeof refused === "string" && refused.startsWith("The recording could not be played:"),
        `a file that is no recording is refused with a reason (${refused || "nothing shown"})`);

  // A line of 50 MB is refused at its start, quoted in part, and the page
  // never holds it.
  const huge = path.join(out, "one-long-line.txt");
  fs.writeFileSync(huge, Buffer.alloc(50 << 20, "1"));
  await focus.evaluate(() => { window.vorbloxGamesBefore = VorbloxPage.state.games; });
  await (await focus.$("#file")).uploadFile(huge);
  await waitFor(focus, () => VorbloxPage.state.games > window.vorbloxGamesBefore && !document.getElementById("ended").hidden,
                { timeout: 10000, what: "the page to say the line was refused" }).catch(() => null);
  const long = await focus.evaluate(() => !document.getElementById("ended").hidden &&
                                          document.getElementById("ended-text").textContent);
  fs.rmSync(huge);
  check(typeof long === "string" && long.includes("one-long-line.txt: line 1 is longer than 400 bytes") && long.length < 300,
        `a line of 50 MB is refused at once (${long || "nothing shown"})`);

  // A controller through the browser's gamepad support (a stand-in for
  // navigator.getGamepads, with the standard mapping), connected while the
  // game waits at its prompt, as a browser shows one once a button of it
  // is pressed: the D-pad's Down held and Start play the same game as the
  // keyboard's Down and F1. Before it came, nothing asked the browser for
  // controllers (asking keeps the browser reading them).
  const pad = await browser.newPage();
  await pad.evaluateOnNewDocument(() => {
    const buttons = Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 }));
    const gamepad = { id: "Stand-in pad (STANDARD GAMEPAD)", index: 0, connected: true, mapping: "standard",
                      timestamp: 1, axes: [0, 0, 0, 0], buttons, vibrationActuator: null };
    window.vorbloxPadReads = 0;
    navigator.getGamepads = () => { window.vorbloxPadReads += 1; return [gamepad, null, null, null]; };
    window.vorbloxPad = (button, down) => {
      buttons[button] = { pressed: down, touched: down, value: down ? 1 : 0 };
      gamepad.timestamp += 1;
    };
    window.vorbloxConnectPad = () => {
      const event = new Event("gamepadconnected");
      event.gamepad = gamepad;
      window.dispatchEvent(event);
    };
  });
  await pad.setViewport({ width: 800, height: 900, deviceScaleFactor: 1 });
  await pad.goto(server.url + "/index.html");
  await waitForSteadyFrame(pad);
  await new Promise((r) => setTimeout(r, 300));
  const readsBefore = await pad.evaluate(() => window.vorbloxPadReads);
  check(readsBefore === 0, `no look at the controllers before one connects (${readsBefore} calls of getGamepads)`);
  await pad.evaluate(() => { window.vorbloxConnectPad(); window.vorbloxPad(13, true); window.vorbloxPad(9, true); });
  await waitFor(pad, () => VorbloxPage.state.playing, { timeout: 10000, what: "Start to start a game" });
  await pad.evaluate(() => window.vorbloxPad(9, false));
  const padLast = await waitForGameOver(pad);
  sameFrame(padLast, gameOver, "a gamepad's Down held and Start play to the replay runner's last frame");
} finally {
  await browser.close();
  server.close();
}
process.exit(finish());
