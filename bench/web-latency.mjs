// Key to picture and touch to picture for the page, by Chromium's own trace
// (Debian's headless Chromium, as bench/web.mjs starts it): Left and Right
// in turn through DevTools' input events (keys, or touches on the page's
// Move left and Move right buttons with --touch), each after a random pause
// of 40 to 90 ms so that presses fall on every part of the game's tick, as
// bench/key-latency does for the native game.
//
// Each press is timed in the trace, from its EventLatency (the input event's
// own time stamp, taken as the browser made it) to the presentation of the
// first frame that carries a change of the canvas after it:
//   - a script put into the page before the game wraps putImageData and
//     marks each call with console.timeStamp ("vorblox-put"), which lands
//     in the trace on the renderer's main thread;
//   - the first put after the press (and before the next press) is the
//     press's change; the first ProxyMain::BeginMainFrame after that put on
//     the same thread is the main frame that takes the canvas to the
//     compositor (the two cannot overlap: both are tasks of that thread);
//   - that main frame's begin_frame_id names the frame; its
//     AnimationFrame::Presentation (or, where Chromium wrote none, the end
//     of the first Display::DrawAndSwap after the frame was submitted) is
//     the end.
// A press with no put within 250 ms (the piece against a wall or the
// stack) shows nothing and is counted as unchanged, not timed. A piece
// falling by itself within the wait counts as the press's picture, which
// can only shorten a figure.
//
//   node bench/web-latency.mjs --page build-web/web [--presses N] [--touch]
//        [--trace FILE] [--screenshot FILE] [--chromium-flag FLAG]...
// Prints, for keys (web_key_*) or touch (web_touch_*):
//   web_key_latency_ms presses=N unchanged=U median=M p90=P p99=Q max=X
//   web_key_latency_stages_ms (median/p90) input_to_dispatch=.. dispatch_to_put=.. put_to_presented=..
// the stages: the input event's time stamp to its keydown (pointerdown) in
// the page, that to the put, the put to the frame's presentation.
// --trace keeps the trace, --screenshot the page after the last press;
// --chromium-flag starts Chromium with a flag more (a feature turned off,
// to see what it costs). Bad usage exits 2; a run that fails, 1.
import fs from "node:fs";
import os from "node:os";
import path from "node:path";

import { launchChromium, serve, waitFor, waitForSteadyFrame } from "../tests/web/browser.mjs";

const usageText = "usage: node bench/web-latency.mjs --page DIR [--presses N] [--touch] [--trace FILE] [--screenshot FILE] [--chromium-flag FLAG]...";
function usage(problem) {
  console.error(`web-latency: ${problem}\n${usageText}`);
  process.exit(2);
}
const options = { presses: 300, touch: false, page: null, trace: null, screenshot: null, flags: [] };
for (let i = 2; i < process.argv.length; ++i) {
  const option = process.argv[i];
  if (option === "--help") {
    console.log(usageText);
    process.exit(0);
  } else if (option === "--touch") {
    options.touch = true;
  } else if (option === "--chromium-flag") {
    // For finding where the time goes: Chromium run another way (a feature off).
    const value = process.argv[++i];
    if (value === undefined) usage(`${option} wants a value`);
    options.flags.push(value);
  } else if (["--page", "--presses", "--trace", "--screenshot"].includes(option)) {
    const value = process.argv[++i];
    if (value === undefined) usage(`${option} wants a value`);
    options[option.slice(2)] = value;
  } else {
    usage(`unknown option ${option}`);
  }
}
if (!options.page) usage("--page is needed");
if (!fs.existsSync(path.join(options.page, "index.html"))) usage(`no index.html in ${options.page}`);
const presses = Number(options.presses);
if (!Number.isInteger(presses) || presses < 1) usage(`--presses wants a whole number above 0, not ${options.presses}`);

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
// The same pauses on every run, as the native tool's fixed seed gives.
let seed = 29;
const random = () => ((seed = (seed * 1103515245 + 12345) % 2147483648) / 2147483648);
const SHOWN_WITHIN_MS = 250;

const server = await serve(options.page);
const browser = await launchChromium({ extraArgs: options.flags });
let failed = null;
try {
  const page = await browser.newPage();
  if (options.touch) await page.setViewport({ width: 390, height: 844, deviceScaleFactor: 1, isMobile: true, hasTouch: true });
  else await page.setViewport({ width: 800, height: 900, deviceScaleFactor: 1 });
  await page.evaluateOnNewDocument(() => {
    const put = CanvasRenderingContext2D.prototype.putImageData;
    window.vorbloxLatencyPut = null;
    CanvasRenderingContext2D.prototype.putImageData = function(...args) {
      console.timeStamp("vorblox-put");
      const result = put.apply(this, args);
      if (window.vorbloxLatencyPut) window.vorbloxLatencyPut(true);
      return result;
    };
  });
  await page.goto(server.url + "/index.html");
  await waitForSteadyFrame(page);
  const cdp = await page.createCDPSession();
  const key = (type, name, code) =>
    cdp.send("Input.dispatchKeyEvent", { type, key: name, code, windowsVirtualKeyCode: code === "F1" ? 112 : name === "ArrowLeft" ? 37 : 39 });
  // F1 starts a game: a fresh instance of the program, which reads its keys
  // each tick once it plays.
  await key("rawKeyDown", "F1", "F1");
  await sleep(50);
  await key("keyUp", "F1", "F1");
  await waitFor(page, () => VorbloxPage.state.playing, { timeout: 20000, what: "a game playing" });
  await sleep(500);
  const centers = options.touch ? await page.evaluate(() => ["Move left", "Move right"].map((label) => {
    const r = document.querySelector(`button[aria-label="${label}"]`).getBoundingClientRect();
    return { x: r.x + r.width / 2, y: r.y + r.height / 2, shown: r.width > 0 && r.height > 0 };
  })) : null;
  if (centers && !centers.every((c) => c.shown)) throw new Error("the touch controls are not shown");

  const traceFile = options.trace || path.join(fs.mkdtempSync(path.join(os.tmpdir(), "vorblox-web-latency-")), "trace.json");
  await page.tracing.start({ path: traceFile, categories: ["devtools.timeline", "benchmark", "viz"] });
  let sent = 0;
  for (let i = 0; i < presses; ++i) {
    await sleep(40 + 50 * random());
    // The next put after the press, if one comes soon.
    await page.evaluate(() => {
      window.vorbloxLatencyShown = new Promise((resolve) => { window.vorbloxLatencyPut = resolve; });
    });
    const left = i % 2 === 0;
    if (options.touch) {
      const c = centers[left ? 0 : 1];
      await cdp.send("Input.dispatchTouchEvent", { type: "touchStart", touchPoints: [{ id: 1, x: c.x, y: c.y, radiusX: 8, radiusY: 8, force: 1 }] });
    } else {
      await key("rawKeyDown", left ? "ArrowLeft" : "ArrowRight", left ? "ArrowLeft" : "ArrowRight");
    }
    sent += 1;
    await page.evaluate((ms) => Promise.race([window.vorbloxLatencyShown, new Promise((r) => setTimeout(() => r(false), ms))]),
                        SHOWN_WITHIN_MS);
    await page.evaluate(() => { window.vorbloxLatencyPut = null; });
    // Time for the frame to reach the screen before the key goes up.
    await sleep(20);
    if (options.touch) {
      const c = centers[left ? 0 : 1];
      await cdp.send("Input.dispatchTouchEvent", { type: "touchEnd", touchPoints: [{ id: 1, x: c.x, y: c.y }] });
    } else {
      await key("keyUp", left ? "ArrowLeft" : "ArrowRight", left ? "ArrowLeft" : "ArrowRight");
    }
  }
  await sleep(200);
  await page.tracing.stop();
  const playing = await page.evaluate(() => VorbloxPage.state.playing);
  // To see that the presses met a game in play.
  if (options.screenshot) await page.screenshot({ path: options.screenshot });
  const result = measure(JSON.parse(fs.readFileSync(traceFile, "utf8")), sent);
  if (!options.trace) fs.rmSync(path.dirname(traceFile), { recursive: true, force: true });
  report(result, playing);
} catch (error) {
  failed = error;
} finally {
  await browser.close();
  server.close();
}
if (failed) {
  console.error(`web-latency: ${failed.message}`);
  process.exit(1);
}

// The presses' figures from the trace (see the top of this file for how a
// frame is matched to its press).
function measure(trace, sent) {
  const events = (trace.traceEvents || trace).filter((e) => e.ts > 0).sort((a, b) => a.ts - b.ts);
  const pressType = options.touch ? "TOUCH_PRESSED" : "KEY_PRESSED";
  const starts = events.filter((e) => e.name === "EventLatency" && e.ph === "b" &&
                                      e.args?.event_latency?.event_type === pressType);
  if (starts.length !== sent) {
    const types = [...new Set(events.filter((e) => e.name === "EventLatency" && e.ph === "b")
                                      .map((e) => e.args?.event_latency?.event_type))];
    throw new Error(`${sent} presses sent, ${starts.length} ${pressType} EventLatency events in the trace (types: ${types.join(", ")})`);
  }
  const dispatchType = options.touch ? "pointerdown" : "keydown";
  const puts = events.filter((e) => e.name === "TimeStamp" && e.args?.data?.message === "vorblox-put");
  if (!puts.length) throw new Error("no put of the canvas in the trace");
  const main = { pid: puts[0].pid, tid: puts[0].tid };
  const onMain = (e) => e.pid === main.pid && e.tid === main.tid;
  const dispatches = events.filter((e) => e.name === "EventDispatch" && e.args?.data?.type === dispatchType && onMain(e));
  const mainFrames = events.filter((e) => e.name === "ProxyMain::BeginMainFrame" && e.ph === "X" && onMain(e));
  const presented = new Map();
  for (const e of events)
    if (e.name === "AnimationFrame::Presentation" && e.pid === main.pid)
      if (!presented.has(e.args.begin_frame_id.sequence_number)) presented.set(e.args.begin_frame_id.sequence_number, e.ts);
  const submits = events.filter((e) => e.name === "Graphics.Pipeline" && e.pid === main.pid &&
                                       e.args?.chrome_graphics_pipeline?.step === "STEP_SUBMIT_COMPOSITOR_FRAME");
  const draws = events.filter((e) => e.name === "Display::DrawAndSwap" && e.ph === "X");
  const after = (list, ts) => list.find((e) => e.ts > ts);
  const rows = [];
  let unchanged = 0, byDraw = 0;
  for (let i = 0; i < starts.length; ++i) {
    const start = starts[i].ts, next = i + 1 < starts.length ? starts[i + 1].ts : Infinity;
    const put = after(puts, start);
    if (!put || put.ts >= next || put.ts - start > SHOWN_WITHIN_MS * 1000) {
      unchanged += 1;
      continue;
    }
    const frame = after(mainFrames, put.ts);
    if (!frame) throw new Error("a put with no main frame after it");
    let end = presented.get(frame.args.begin_frame_id);
    if (end === undefined) {
      const submit = after(submits, frame.ts), draw = submit && after(draws, submit.ts);
      if (!draw) throw new Error(`no presentation for frame ${frame.args.begin_frame_id}`);
      end = draw.ts + draw.dur;
      byDraw += 1;
    }
    const dispatch = after(dispatches, start);
    rows.push({ total: (end - start) / 1000, toDispatch: dispatch ? (dispatch.ts - start) / 1000 : NaN,
                toPut: dispatch ? (put.ts - dispatch.ts) / 1000 : NaN, toShown: (end - put.ts) / 1000 });
  }
  return { rows, unchanged, byDraw };
}

function percentile(sorted, p) {
  return sorted[Math.min(sorted.length - 1, Math.round(p * (sorted.length - 1)))];
}

function report({ rows, unchanged, byDraw }, playing) {
  const name = options.touch ? "web_touch_latency" : "web_key_latency";
  if (rows.length < presses / 2) {
    console.error(`web-latency: only ${rows.length} of ${presses} presses changed the picture`);
    process.exitCode = 1;
  }
  if (!rows.length) return;
  const sorted = (field) => rows.map((r) => r[field]).filter((v) => !Number.isNaN(v)).sort((a, b) => a - b);
  const total = sorted("total");
  const f = (v) => v.toFixed(1);
  console.log(`${name}_ms presses=${rows.length} unchanged=${unchanged} median=${f(percentile(total, 0.5))} ` +
              `p90=${f(percentile(total, 0.9))} p99=${f(percentile(total, 0.99))} max=${f(total[total.length - 1])}`);
  const stages = ["toDispatch", "toPut", "toShown"].map((field) => {
    const s = sorted(field);
    return `${f(percentile(s, 0.5))}/${f(percentile(s, 0.9))}`;
  });
  console.log(`${name}_stages_ms (median/p90) input_to_dispatch=${stages[0]} dispatch_to_put=${stages[1]} ` +
              `put_to_presented=${stages[2]}${byDraw ? ` (${byDraw} ended by Display::DrawAndSwap)` : ""}` +
              `${playing ? "" : " (the game had ended by the last press)"}`);
  console.log("web_latency_limit_ms polling_mean=7.8 polling_worst=15.6 display_frame=16.7 goal_median=25.7");
}
