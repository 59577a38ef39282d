// What the browser tests and the browser benchmark share: a small static
// server for the page, Debian's Chromium started headless, the canvas read
// back, the replay runner's bitmaps read, and a test's options and checks.
import { spawnSync } from "node:child_process";
import fs from "node:fs";
import http from "node:http";
import os from "node:os";
import path from "node:path";

import puppeteer from "puppeteer-core";

const types = { ".html": "text/html", ".js": "text/javascript", ".mjs": "text/javascript",
                ".wasm": "application/wasm", ".css": "text/css", ".txt": "text/plain", ".png": "image/png",
                ".webmanifest": "application/manifest+json" };

// Serves `dir` on 127.0.0.1 at a free port, at `under` (a sub-path such as
// "/games/vorblox/", as a static host may have it). close() drops the
// connections the browser keeps open too, as a server gone would.
export function serve(folder, { under = "/" } = {}) {
  const dir = path.resolve(folder);
  const server = http.createServer((request, response) => {
    const whole = decodeURIComponent(new URL(request.url, "http://x").pathname);
    const name = "/" + whole.slice(under.length);
    const file = path.join(dir, path.normalize(name === "/" ? "/index.html" : name));
    if (!whole.startsWith(under) || !file.startsWith(path.resolve(dir)) || !fs.existsSync(file) ||
        !fs.statSync(file).isFile()) {
      response.writeHead(404);
      response.end();
      return;
    }
    response.writeHead(200, { "Content-Type": types[path.extname(file)] || "application/octet-stream",
                              "Cache-Control": "no-store" });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => {
    server.listen(0, "127.0.0.1", () => {
      resolve({ url: `http://127.0.0.1:${server.address().port}${under.replace(/\/$/, "")}`,
                close: () => { server.close(); server.closeAllConnections(); } });
    });
  });
}

export const chromiumPath = process.env.CHROMIUM || "/usr/bin/chromium";

// A fresh profile each time; nothing talks to the network but the page.
// `throttled`: hidden tabs are slowed down as in a browser a person uses
// (puppeteer's defaults keep them at full speed).
export async function launchChromium({ extraArgs = [], throttled = false } = {}) {
  const profile = fs.mkdtempSync(path.join(fs.realpathSync("/tmp"), "vorblox-chromium-"));
  const browser = await puppeteer.launch({
    executablePath: chromiumPath,
    headless: true,
    userDataDir: profile,
    ignoreDefaultArgs: throttled ? ["--disable-background-timer-throttling", "--disable-backgrounding-occluded-windows",
                                    "--disable-renderer-backgrounding"] : [],
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
           "--disable-component-update", "--disable-sync", "--disable-dev-shm-usage", ...extraArgs],
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  // Every page counts the frames drawn into its canvas and notes the first.
  browser.on("targetcreated", () => {});
  const newPage = browser.newPage.bind(browser);
  browser.newPage = async () => {
    const page = await newPage();
    await page.evaluateOnNewDocument(() => {
      window.vorbloxFrames = 0;
      const put = CanvasRenderingContext2D.prototype.putImageData;
      CanvasRenderingContext2D.prototype.putImageData = function(...args) {
        if (window.vorbloxFrames++ === 0) window.vorbloxFirstFrame = performance.now();
        return put.apply(this, args);
      };
    });
    return page;
  };
  return browser;
}

// The canvas as { width, height, rgb } (3 bytes a pixel, rows from the top).
export async function readCanvas(page) {
  const data = await page.evaluate(() => {
    const canvas = document.getElementById("canvas");
    const context = canvas.getContext("2d");
    const image = context.getImageData(0, 0, canvas.width, canvas.height);
    let text = "";
    const bytes = image.data;
    for (let i = 0; i < bytes.length; i += 4) text += String.fromCharCode(bytes[i], bytes[i + 1], bytes[i + 2]);
    return { width: canvas.width, height: canvas.height, rgb: btoa(text) };
  });
  return { width: data.width, height: data.height, rgb: Buffer.from(data.rgb, "base64") };
}

// Polls `test` (a function run in the page, given `args`) until it answers true.
export async function waitFor(page, test, { timeout = 10000, what = "the page" } = {}, ...args) {
  const start = Date.now();
  for (;;) {
    const ok = await page.evaluate(test, ...args).catch(() => false);
    if (ok) return;
    if (Date.now() - start > timeout) throw new Error(`timed out after ${timeout} ms waiting for ${what}`);
    await new Promise((r) => setTimeout(r, 100));
  }
}

// Waits until at least one frame is drawn and the canvas then stays the same
// for `steadyFor` ms; answers that frame.
export async function waitForSteadyFrame(page, { steadyFor = 800, timeout = 15000 } = {}) {
  const start = Date.now();
  await waitFor(page, () => window.vorbloxFrames > 0, { timeout, what: "a frame" });
  let frame = await readCanvas(page), since = Date.now();
  while (Date.now() - since < steadyFor) {
    if (Date.now() - start > timeout) throw new Error(`the canvas did not settle within ${timeout} ms`);
    await new Promise((r) => setTimeout(r, 100));
    const now = await readCanvas(page);
    if (!now.rgb.equals(frame.rgb)) {
      frame = now;
      since = Date.now();
    }
  }
  return frame;
}

// The listeners on the page's window, as DevTools lists them: { type, useCapture, ... }.
export async function windowListeners(page) {
  const cdp = await page.target().createCDPSession();
  try {
    const { result } = await cdp.send("Runtime.evaluate", { expression: "window" });
    return (await cdp.send("DOMDebugger.getEventListeners", { objectId: result.objectId })).listeners;
  } finally {
    await cdp.detach();
  }
}

// A 24- or 32-bit BMP (what vorblox-replay --frame writes) in the same form.
export function frameFromBmp(file) {
  if (file.toString("latin1", 0, 2) !== "BM") throw new Error("not a BMP");
  const offset = file.readUInt32LE(10), width = file.readInt32LE(18), rawHeight = file.readInt32LE(22);
  const bits = file.readUInt16LE(28), height = Math.abs(rawHeight);
  if (bits !== 24 && bits !== 32) throw new Error(`a ${bits}-bit BMP`);
  const stride = Math.ceil((width * bits) / 32) * 4, size = bits / 8;
  const rgb = Buffer.alloc(width * height * 3);
  for (let y = 0; y < height; ++y) {
    const row = offset + (rawHeight > 0 ? height - 1 - y : y) * stride;
    for (let x = 0; x < width; ++x) {
      const at = row + x * size, to = (y * width + x) * 3;
      rgb[to] = file[at + 2];
      rgb[to + 1] = file[at + 1];
      rgb[to + 2] = file[at];
    }
  }
  return { width, height, rgb };
}

// null when equal, else what differs.
export function framesDiffer(a, b) {
  if (a.width !== b.width || a.height !== b.height) return `${a.width} x ${a.height} against ${b.width} x ${b.height}`;
  let count = 0, first = null;
  for (let i = 0; i < a.rgb.length; i += 3) {
    if (a.rgb[i] !== b.rgb[i] || a.rgb[i + 1] !== b.rgb[i + 1] || a.rgb[i + 2] !== b.rgb[i + 2]) {
      if (!first) first = i / 3;
      count += 1;
    }
  }
  if (!count) return null;
  return `${count} pixels differ, the first at ${first % a.width}, ${Math.floor(first / a.width)}`;
}

// What each browser test starts with: its options (--page DIR --replay
// VORBLOX_REPLAY [--out DIR]; bad usage exits 2), the folder its
// screenshots go to, its checks (one line each; finish() says how many
// failed and answers the exit code), and the replay runner's last frame
// for a script, to hold the page's against.
export function startTest(name, { needs = "index.html" } = {}) {
  const usage = (problem) => {
    console.error(`${name}: ${problem}\nusage: node ${name}.mjs --page DIR --replay VORBLOX_REPLAY [--out DIR]`);
    process.exit(2);
  };
  const options = {};
  for (let i = 2; i < process.argv.length; i += 2) {
    const option = process.argv[i], value = process.argv[i + 1];
    if (!["--page", "--replay", "--out"].includes(option)) usage(`unknown option ${option}`);
    if (value === undefined) usage(`${option} wants a value`);
    options[option.slice(2)] = value;
  }
  if (!options.page || !options.replay) usage("--page and --replay are needed");
  if (!fs.existsSync(path.join(options.page, needs))) usage(`no ${needs} in ${options.page}`);
  const out = options.out || fs.mkdtempSync(path.join(os.tmpdir(), `vorblox-${name}-`));
  fs.mkdirSync(out, { recursive: true });
  let failures = 0;
  const check = (ok, what) => {
    console.log(`${ok ? "ok  " : "FAIL"} ${what}`);
    if (!ok) failures += 1;
    return ok;
  };
  const replayFrame = (script, frame = "replay") => {
    const bmp = path.join(out, `${frame}.bmp`);
    const run = spawnSync(options.replay, ["--frame", bmp, "-"], { input: script, encoding: "utf8" });
    if (run.status !== 0) throw new Error(`vorblox-replay failed: ${run.stderr}`);
    return frameFromBmp(fs.readFileSync(bmp));
  };
  // Waits until the page's recording so far plays to game over in the
  // replay runner and the canvas shows that game's last frame; answers the
  // canvas. Not told by the clock: a busy machine plays fewer ticks a
  // second, and a canvas can stand still a while in the middle of a game.
  const waitForGameOver = async (page, { timeout = 120000 } = {}) => {
    const start = Date.now(), bmp = path.join(out, "so-far.bmp");
    for (;;) {
      const script = await page.evaluate(() => new TextDecoder().decode(VorbloxPage.recording()));
      const run = spawnSync(options.replay, ["--frame", bmp, "-"], { input: script, encoding: "utf8" });
      if (run.status === 0 && run.stdout.includes('"active":0,"awaitingFirstGame":0')) {
        const frame = await readCanvas(page);
        if (!framesDiffer(frame, frameFromBmp(fs.readFileSync(bmp)))) return frame;
      }
      if (Date.now() - start > timeout) throw new Error(`no game over within ${timeout} ms`);
      await new Promise((r) => setTimeout(r, 250));
    }
  };
  // Holds `key` down until `test` (a function run in the page) answers
  // true, then lets it go: the game reads the keys held at each tick, so a
  // key held for a time can fall between two reads on a busy machine.
  const holdUntil = async (page, key, test, what) => {
    await page.keyboard.down(key);
    try {
      await waitFor(page, test, { timeout: 10000, what });
    } finally {
      await page.keyboard.up(key);
    }
  };
  const sameFrame = (page, expected, what) => {
    const difference = framesDiffer(page, expected);
    return check(!difference, what + (difference ? `: ${difference}` : ""));
  };
  const finish = (extra = "") => {
    console.log(`${name}: ${failures ? failures + " check(s) failed" : "all checks passed"}${extra}; screenshots in ${out}`);
    return failures ? 1 : 0;
  };
  return { options, out, check, replayFrame, sameFrame, waitForGameOver, holdUntil, finish };
}
