// The browser build measured in Debian's headless Chromium (bench/web-run
// runs it beside the native game):
//   size            each file the page loads, as served and gzipped (-9)
//   first_frame_ms  page start to the first frame in the canvas, 5 fresh loads
//   *_cpu_pct       percent of one core over 10 s after 1 s: the renderer
//                   process, and all of Chromium's processes (browser, GPU,
//                   network, renderer) as all_cpu_pct, for a blank page and
//                   the game's start prompt; play (Down held, F1 every 2 s)
//                   at the same time as two floor pages (below), three
//                   rounds: renderer_ratio is play's renderer over the
//                   floor's, summed over the rounds
//   ticks_per_s     the game's ticks over 10 s of a game with no key held,
//                   counted from its recording, in a visible and a hidden tab
//                   (hidden tabs throttled as in a browser in everyday use)
//
//   node bench/web.mjs --page build-web/web [--beside OTHER_BUILD/web]
import fs from "node:fs";
import path from "node:path";
import zlib from "node:zlib";

import { launchChromium, serve, waitFor, waitForSteadyFrame } from "../tests/web/browser.mjs";

const at = process.argv.indexOf("--page"), besideAt = process.argv.indexOf("--beside");
if (at < 0 || !process.argv[at + 1] || (besideAt > 0 && !process.argv[besideAt + 1])) {
  console.error("usage: node bench/web.mjs --page DIR [--beside DIR]");
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

// CPU nanoseconds of each thread of a process, with the thread's kind.
const threadKind = (name) => name === "chromium" || name === "CrRendererMain" ? "main" : name === "Compositor" ? "compositor"
  : name.startsWith("ThreadPool") ? "pool" : "other";
function threadNs(pid) {
  const threads = {};
  for (const task of fs.readdirSync(`/proc/${pid}/task`)) {
    try {
      threads[task] = [threadKind(fs.readFileSync(`/proc/${pid}/task/${task}/comm`, "utf8").trim()),
                       Number(fs.readFileSync(`/proc/${pid}/task/${task}/schedstat`, "utf8").split(" ")[0])];
    } catch {}
  }
  return threads;
}
// CPU nanoseconds of a process, all its threads.
const cpuNs = (pid) => Object.values(threadNs(pid)).reduce((sum, [, ns]) => sum + ns, 0);

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
// Play beside the floors, all at once in browsers of their own, so that
// each round's figures see the same machine (two cores shared with other
// work wander by half from one minute to the next):
//   floor          the game's canvas at the same size and scale, one 16 x 16
//                  square of it changed each tick, 64 a second;
//   same_changes   the same canvas given, tick by tick, the rectangles the
//                  game itself put on its canvas in a game played first
//                  (in a loop): what the browser needs to show the game's
//                  own picture changing;
//   beside         with --beside DIR, another build's page in play.
// Each is measured over two windows: 1 to 11 s after play started, and 21
// to 31 s (steady: the WebAssembly's optimising compiles, which the browser
// does in its thread pool as functions get hot, are mostly over by then).
// Renderer % of a core is split by thread: main, compositor, pool (the
// thread pool), other.
const beside = besideAt > 0 ? process.argv[besideAt + 1] : null;
const floorHead = `<!doctype html>
<style>html, body { margin: 0; background: #000; } canvas { position: fixed; image-rendering: pixelated; }</style>
<canvas id="canvas" width="300" height="400"></canvas>
<script>
  var canvas = document.getElementById("canvas"), context = canvas.getContext("2d");
  var scale = Math.max(1, Math.min(Math.floor(innerWidth / 300), Math.floor((innerHeight - 28) / 400)));
  canvas.style.width = 300 * scale + "px"; canvas.style.height = 400 * scale + "px";
  canvas.style.left = Math.floor((innerWidth - 300 * scale) / 2) + "px";
  canvas.style.top = 28 + Math.floor((innerHeight - 28 - 400 * scale) / 2) + "px";
  var start = performance.now(), tick = 0;
  function every(draw) {
    draw();
    tick += 1;
    setTimeout(function() { every(draw); }, Math.max(0, start + tick * 15.625 - performance.now()));
  }
`;
const floorPage = floorHead + `  var square = context.createImageData(16, 16);
  every(function() {
    var shade = (tick * 37) & 255;
    for (var i = 0; i < square.data.length; i += 4) square.data.set([shade, 255 - shade, 128, 255], i);
    context.putImageData(square, 16 * (tick % 18), 16 * ((tick >> 4) % 24));
  });
</script>`;
const sameChangesPage = (puts) => floorHead + `  var puts = ${JSON.stringify(puts)}, next = 0, laps = 0;
  var length = puts.length ? puts[puts.length - 1][0] + 1 : 1;
  var pictures = [0, 1].map(function(n) {
    var image = context.createImageData(300, 400);
    for (var i = 0; i < image.data.length; i += 4) image.data.set([n * 200, 255 - n * 200, 128, 255], i);
    return image;
  });
  every(function() {
    var at = tick % length;
    if (at == 0) next = 0, laps += 1;
    for (; next < puts.length && puts[next][0] == at; ++next)
      context.putImageData(pictures[(laps + next) & 1], 0, 0, puts[next][1], puts[next][2], puts[next][3], puts[next][4]);
  });
</script>`;
// Down held, F1 at once and every 2 s until told to stop.
async function startPlay(page) {
  await waitForSteadyFrame(page);
  await page.keyboard.down("ArrowDown");
  await page.keyboard.press("F1", { delay: 50 });
  let playing = true;
  const restarts = (async () => {
    while (playing) {
      await sleep(2000);
      if (playing) await page.keyboard.press("F1", { delay: 50 });
    }
  })();
  return async () => { playing = false; await restarts; };
}
// The rectangles the game puts on its canvas, each with its tick, over 10 s of play.
const puts = await withPage(server.url + "/index.html", async (page) => {
  await page.evaluate(() => {
    const put = CanvasRenderingContext2D.prototype.putImageData;
    window.vorbloxPuts = null;
    CanvasRenderingContext2D.prototype.putImageData = function(image, dx, dy, x, y, w, h) {
      if (window.vorbloxPuts) window.vorbloxPuts.push([performance.now(), x, y, w, h]);
      return put.apply(this, arguments);
    };
  });
  const stop = await startPlay(page);
  await sleep(1000);
  await page.evaluate(() => { window.vorbloxPuts = []; });
  await sleep(10000);
  const list = await page.evaluate(() => window.vorbloxPuts);
  await stop();
  const t0 = list.length ? list[0][0] : 0;
  return list.map(([t, ...rect]) => [Math.round((t - t0) / 15.625), ...rect]);
});
console.log(`same_changes puts=${puts.length} in 10 s`);
const floorDir = fs.mkdtempSync(path.join(fs.realpathSync("/tmp"), "vorblox-floor-"));
fs.writeFileSync(path.join(floorDir, "index.html"), floorPage);
fs.writeFileSync(path.join(floorDir, "same-changes.html"), sameChangesPage(puts));
const floorServer = await serve(floorDir);
const besideServer = beside ? await serve(beside) : null;

// Each browser's renderers over a window, by kind of thread; the renderer
// that spent the most is the page's. A thread that ended within the window
// is not counted.
async function renderersOver(browsers, seconds) {
  const pids = browsers.map((browser) => Object.entries(processes(browser)).filter(([, kind]) => kind === "renderer").map(([pid]) => pid));
  const before = pids.map((list) => list.map((pid) => { try { return threadNs(pid); } catch { return {}; } }));
  await sleep(seconds * 1000);
  return pids.map((list, b) => {
    let best = null;
    list.forEach((pid, i) => {
      let now = {};
      try { now = threadNs(pid); } catch {}
      const spent = { main: 0, compositor: 0, pool: 0, other: 0 };
      for (const [task, [kind, ns]] of Object.entries(now)) spent[kind] += (ns - (before[b][i][task] ? before[b][i][task][1] : 0)) / (seconds * 1e7);
      spent.all = spent.main + spent.compositor + spent.pool + spent.other;
      if (!best || spent.all > best.all) best = spent;
    });
    return best;
  });
}
const shown = (cpu) => `${cpu.all.toFixed(2)} (main ${cpu.main.toFixed(2)} compositor ${cpu.compositor.toFixed(2)} pool ${cpu.pool.toFixed(2)} other ${cpu.other.toFixed(2)})`;
const names = ["play", "floor", "same_changes", ...(beside ? ["beside"] : [])];
const totals = { start: {}, steady: {} };
for (let round = 0; round < 3; ++round) {
  // Opened in this order, the beside page first every other round: a
  // browser started later compiles later, into the first window.
  const urls = { play: server.url + "/index.html", floor: floorServer.url + "/index.html",
                 same_changes: floorServer.url + "/same-changes.html", beside: besideServer && besideServer.url + "/index.html" };
  const order = beside && round % 2 ? ["beside", "floor", "same_changes", "play"] : names;
  const opened = {};
  try {
    for (const name of order) {
      const browser = await launchChromium();
      opened[name] = browser;
      browser.page = await browser.newPage();
      await browser.page.setViewport({ width: 800, height: 900, deviceScaleFactor: 1 });
      await browser.page.goto(urls[name]);
    }
    const stops = [];
    for (const name of order) if (name === "play" || name === "beside") stops.push(await startPlay(opened[name].page));
    await sleep(1000);
    const browsers = names.map((name) => opened[name]);
    const start = await renderersOver(browsers, 10);
    await sleep(10000);
    const steady = await renderersOver(browsers, 10);
    for (const stop of stops) await stop();
    for (const [window, figures] of [["start", start], ["steady", steady]]) {
      names.forEach((name, i) => { totals[window][name] = (totals[window][name] || 0) + figures[i].all; });
      console.log(`round=${round + 1} window=${window} ` + names.map((name, i) => `${name}_renderer_cpu_pct=${shown(figures[i])}`).join(" "));
    }
  } finally {
    for (const browser of Object.values(opened)) await browser.close();
  }
}
floorServer.close();
if (besideServer) besideServer.close();
fs.rmSync(floorDir, { recursive: true, force: true });
for (const window of ["start", "steady"]) {
  const t = totals[window];
  console.log(`play_vs_floor window=${window} renderer_ratio=${(t.play / t.floor).toFixed(2)} (goal at most 1.3)` +
              ` play_vs_same_changes=${(t.play / t.same_changes).toFixed(2)}` + (beside ? ` play_vs_beside=${(t.play / t.beside).toFixed(2)}` : ""));
}

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
