// The browser build measured in Debian's headless Chromium (bench/web-run
// runs it beside the native game):
//   size            each file the page loads, as served and gzipped (-9)
//   first_frame_ms  page start to the first frame in the canvas, 5 fresh loads
//   *_cpu_pct       percent of one core over 10 s after 1 s: the renderer
//                   process, and all of Chromium's processes (browser, GPU,
//                   network, renderer) as all_cpu_pct, for a blank page, the
//                   game's start prompt, and play (Down held, F1 every 2 s)
//                   in turns with a floor page (the same canvas, one 16 x 16
//                   square changed 64 times a second): renderer_ratio is
//                   play's renderer over the floor's
//   ticks_per_s     the game's ticks over 10 s of a game with no key held,
//                   counted from its recording, in a visible and a hidden tab
//                   (hidden tabs throttled as in a browser in everyday use)
//
//   node bench/web.mjs --page build-web/web
import fs from "node:fs";
import path from "node:path";
import zlib from "node:zlib";

import { launchChromium, serve, waitFor, waitForSteadyFrame } from "../tests/web/browser.mjs";

const at = process.argv.indexOf("--page");
if (at < 0 || !process.argv[at + 1]) {
  console.error("usage: node bench/web.mjs --page DIR");
  process.exit(2);
}
const pageDir = process.argv[at + 1];
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// Size.
let raw = 0, packed = 0;
for (const name of fs.readdirSync(pageDir).sort()) {
  const data = fs.readFileSync(path.join(pageDir, name));
  const gz = zlib.gzipSync(data, { level: 9 }).length;
  raw += data.length;
  packed += gz;
  console.log(`size file=${name} bytes=${data.length} gzip_bytes=${gz}`);
}
console.log(`size total_bytes=${raw} total_gzip_bytes=${packed} (${(packed / 1024).toFixed(0)} KB gzipped)`);

const server = await serve(pageDir);

// CPU nanoseconds of a process, all its threads.
function cpuNs(pid) {
  let sum = 0;
  for (const task of fs.readdirSync(`/proc/${pid}/task`)) {
    try {
      sum += Number(fs.readFileSync(`/proc/${pid}/task/${task}/schedstat`, "utf8").split(" ")[0]);
    } catch {}
  }
  return sum;
}

// The browser's processes by kind (renderer: the page's).
function processes(browser) {
  const root = browser.process().pid, all = [root], kinds = { [root]: "browser" };
  for (let i = 0; i < all.length; ++i) {
    let children = "";
    try { children = fs.readFileSync(`/proc/${all[i]}/task/${all[i]}/children`, "utf8"); } catch {}
    for (const child of children.trim().split(/\s+/).filter(Boolean)) {
      all.push(Number(child));
      const command = fs.readFileSync(`/proc/${child}/cmdline`, "utf8");
      const type = /--type=([a-z-]+)/.exec(command);
      kinds[child] = type ? type[1] : "other";
    }
  }
  return kinds;
}

async function measureCpu(browser, seconds) {
  const kinds = processes(browser);
  const before = {};
  for (const pid of Object.keys(kinds)) before[pid] = cpuNs(pid);
  await sleep(seconds * 1000);
  let total = 0;
  const byKind = {};
  for (const pid of Object.keys(kinds)) {
    let spent = 0;
    try { spent = cpuNs(pid) - before[pid]; } catch {}
    total += spent;
    byKind[kinds[pid]] = (byKind[kinds[pid]] || 0) + spent;
  }
  const pct = (ns) => (ns / (seconds * 1e7)).toFixed(2);
  return { renderer: pct(byKind.renderer || 0), all: pct(total) + " by_kind=" +
           Object.entries(byKind).map(([kind, ns]) => `${kind}:${pct(ns)}`).join(",") };
}

// One browser per measurement, one page in it: its renderer is the page's.
async function withPage(url, work, options = {}) {
  const browser = await launchChromium(options);
  try {
    const page = await browser.newPage();
    await page.setViewport({ width: 800, height: 900, deviceScaleFactor: 1 });
    await page.goto(url);
    return await work(page, browser);
  } finally {
    await browser.close();
  }
}

// First frame.
const firsts = [];
for (let i = 0; i < 5; ++i) {
  firsts.push(await withPage(server.url + "/index.html", async (page) => {
    await waitForSteadyFrame(page);
    return page.evaluate(() => window.vorbloxFirstFrame);
  }));
}
firsts.sort((a, b) => a - b);
console.log(`first_frame_ms median=${firsts[2].toFixed(0)} max=${firsts[4].toFixed(0)} all=${firsts.map((t) => t.toFixed(0)).join(",")}`);

// CPU: a blank page, the prompt, play.
const blank = await withPage("about:blank", async (page, browser) => { await sleep(1000); return measureCpu(browser, 10); });
console.log(`blank renderer_cpu_pct=${blank.renderer} all_cpu_pct=${blank.all}`);
const prompt = await withPage(server.url + "/index.html", async (page, browser) => {
  await waitForSteadyFrame(page);
  await sleep(1000);
  return measureCpu(browser, 10);
});
console.log(`prompt renderer_cpu_pct=${prompt.renderer} all_cpu_pct=${prompt.all}`);
// Play beside the floor: a page that does only what the browser needs to
// show a changing canvas (the game's canvas at the same size and scale,
// one 16 x 16 square of it changed each tick, 64 a second), measured in
// turns with play so that both see the same load on the machine.
const floorDir = fs.mkdtempSync(path.join(fs.realpathSync("/tmp"), "vorblox-floor-"));
fs.writeFileSync(path.join(floorDir, "index.html"), `<!doctype html>
<style>html, body { margin: 0; background: #000; } canvas { position: fixed; image-rendering: pixelated; }</style>
<canvas id="canvas" width="300" height="400"></canvas>
<script>
  var canvas = document.getElementById("canvas"), context = canvas.getContext("2d");
  var scale = Math.max(1, Math.min(Math.floor(innerWidth / 300), Math.floor((innerHeight - 28) / 400)));
  canvas.style.width = 300 * scale + "px"; canvas.style.height = 400 * scale + "px";
  canvas.style.left = Math.floor((innerWidth - 300 * scale) / 2) + "px";
  canvas.style.top = 28 + Math.floor((innerHeight - 28 - 400 * scale) / 2) + "px";
  var square = context.createImageData(16, 16), start = performance.now(), tick = 0;
  function draw() {
    var shade = (tick * 37) & 255;
    for (var i = 0; i < square.data.length; i += 4) square.data.set([shade, 255 - shade, 128, 255], i);
    context.putImageData(square, 16 * (tick % 18), 16 * ((tick >> 4) % 24));
    tick += 1;
    setTimeout(draw, Math.max(0, start + tick * 15.625 - performance.now()));
  }
  draw();
</script>`);
const floorServer = await serve(floorDir);
const playCpu = () => withPage(server.url + "/index.html", async (page, browser) => {
  await waitForSteadyFrame(page);
  await page.keyboard.down("ArrowDown");
  await page.keyboard.press("F1", { delay: 50 });
  const restarts = (async () => { for (let i = 0; i < 6; ++i) { await sleep(2000); await page.keyboard.press("F1", { delay: 50 }); } })();
  const cpu = await measureCpu(browser, 10);
  await restarts;
  return cpu;
});
const floorCpu = () => withPage(floorServer.url + "/index.html", async (page, browser) => {
  await sleep(1000);
  return measureCpu(browser, 10);
});
const plays = [], floors = [];
for (let turn = 0; turn < 2; ++turn) {
  const floor = await floorCpu();
  floors.push(Number(floor.renderer));
  console.log(`floor renderer_cpu_pct=${floor.renderer} all_cpu_pct=${floor.all}`);
  const play = await playCpu();
  plays.push(Number(play.renderer));
  console.log(`play renderer_cpu_pct=${play.renderer} all_cpu_pct=${play.all}`);
}
floorServer.close();
fs.rmSync(floorDir, { recursive: true, force: true });
const sum = (list) => list.reduce((a, b) => a + b, 0);
console.log(`play_vs_floor renderer_ratio=${(sum(plays) / sum(floors)).toFixed(2)} (goal at most 1.3)`);

// Ticks a second, from the recording: a game with no key held, visible,
// then in a tab hidden behind another.
function ticksIn(text) {
  return text.split("\n").filter((l) => /^\d+ /.test(l)).reduce((n, l) => n + Number(l.split(" ")[0]), 0);
}
await withPage(server.url + "/index.html", async (page, browser) => {
  await waitForSteadyFrame(page);
  const recorded = async () => ticksIn(await page.evaluate(() => new TextDecoder().decode(VorbloxPage.recording())));
  await page.keyboard.press("F1", { delay: 50 });
  await sleep(500);
  let t0 = Date.now(), n0 = await recorded();
  await sleep(10000);
  let n1 = await recorded(), t1 = Date.now();
  console.log(`ticks_per_s visible=${((n1 - n0) / ((t1 - t0) / 1000)).toFixed(2)}`);
  const other = await browser.newPage();
  await other.goto("about:blank");
  await other.bringToFront();
  await sleep(500);
  const hidden = await page.evaluate(() => document.visibilityState);
  t0 = Date.now(); n0 = await recorded();
  await sleep(10000);
  n1 = await recorded(); t1 = Date.now();
  console.log(`ticks_per_s hidden=${((n1 - n0) / ((t1 - t0) / 1000)).toFixed(2)} (visibilityState=${hidden})`);
  await page.bringToFront();
  await sleep(500);
  t0 = Date.now(); n0 = await recorded();
  await sleep(5000);
  n1 = await recorded(); t1 = Date.now();
  console.log(`ticks_per_s visible_again=${((n1 - n0) / ((t1 - t0) / 1000)).toFixed(2)}`);
}, { throttled: true });
server.close();
