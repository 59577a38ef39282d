// A game shared as a link, end to end in Debian's headless Chromium: a game
// played in the page is shared (the clipboard here, where Chromium has no
// navigator.share), a fresh page opened at the link watches it to the very
// frame the replay runner plays the same link to, links made by the replay
// runner play in the page, and a link cut short or altered is refused there
// with the runner's own words. The device's sharing and the box to copy
// from by hand are tried with stand-ins.
//
//   node share-test.mjs --page build-web/web --replay build/tools/replay/vorblox-replay [--out DIR]
//
// Exit 0 when every check passed, 1 when one failed, 2 for bad usage.
import { spawnSync } from "node:child_process";
import fs from "node:fs";
import path from "node:path";

import { launchChromium, serve, startTest, waitFor, waitForSteadyFrame } from "./browser.mjs";

const { options, out, check, replayFrame, sameFrame, finish } = startTest("share-test", { needs: "share-link.js" });

// What vorblox-replay says of a script or a link: its exit code and message.
function replay(args, input = "") {
  const run = spawnSync(options.replay, args, { input, encoding: "utf8" });
  return { code: run.status, out: run.stdout.trim(), err: run.stderr.trim().replace(/^vorblox-replay: /, "") };
}

const server = await serve(options.page);
const browser = await launchChromium();
const problems = [];
async function open(url, { stand = null } = {}) {
  const page = await browser.newPage();
  await page.setViewport({ width: 800, height: 900, deviceScaleFactor: 1 });
  page.on("pageerror", (error) => problems.push(`page error: ${error.message}`));
  page.on("console", (message) => {
    if (message.text().startsWith("Canvas2D: Multiple readback")) return;
    if (message.type() === "error") problems.push(`console error: ${message.text()}`);
  });
  page.on("dialog", async (dialog) => {
    problems.push(`dialog: ${dialog.message()}`);
    await dialog.dismiss();
  });
  page.on("request", (request) => {
    if (!request.url().startsWith(server.url)) problems.push(`fetched from elsewhere: ${request.url()}`);
  });
  if (stand) await page.evaluateOnNewDocument(stand);
  await page.goto(url);
  return page;
}
const ended = (page) => page.evaluate(() => !document.getElementById("ended").hidden &&
                                            document.getElementById("ended-text").textContent);
const shown = (page) => page.evaluate(() => ({ status: document.getElementById("status").textContent,
                                               title: document.title, link: VorbloxPage.state.link }));

try {
  const address = server.url + "/index.html";
  await browser.defaultBrowserContext().overridePermissions(server.url, ["clipboard-read", "clipboard-sanitized-write"]);

  // A game played in the page to its end: Down held from F1, a few moves.
  const player = await open(address);
  await waitForSteadyFrame(player);
  check(await player.evaluate(() => !navigator.share), "headless Chromium has no navigator.share: the clipboard is tried");
  await player.keyboard.down("ArrowDown");
  await player.keyboard.down("F1");
  await new Promise((r) => setTimeout(r, 300));
  await player.keyboard.up("F1");
  for (const key of ["ArrowLeft", "ArrowLeft", "ControlLeft", "ArrowRight", "ShiftLeft"]) {
    await player.keyboard.press(key, { delay: 120 });
    await new Promise((r) => setTimeout(r, 250));
  }
  const last = await waitForSteadyFrame(player, { steadyFor: 1500, timeout: 120000 });
  await player.keyboard.up("ArrowDown");
  await player.click("#share");
  await waitFor(player, () => /^Link copied/.test(document.getElementById("status").textContent),
                { timeout: 10000, what: "the link to be copied" }).catch(() => null);
  const made = await shown(player);
  const link = await player.evaluate(() => navigator.clipboard.readText()).catch(() => "");
  fs.writeFileSync(path.join(out, "link.txt"), link + "\n");
  check(link.startsWith(address + "#watch=1") && link === made.link &&
        made.status === `Link copied (${link.length} characters)`,
        `Share copies a link to the page holding the game (${made.status}; ${link.slice(0, 60)}...)`);
  sameFrame(last, replayFrame(link, "link"), "vorblox-replay plays the page's link to the page's last frame");

  // A fresh page at the link watches the game, to the same frame.
  const watcher = await open(link);
  await waitFor(watcher, () => VorbloxPage.state.watching, { timeout: 10000, what: "the link's game to start" }).catch(() => null);
  const during = await shown(watcher);
  check(during.title.includes("watching a shared game") && during.status === "Watching a shared game",
        `the link's game is watched under its own name (${during.title}; ${during.status})`);
  await waitFor(watcher, () => !VorbloxPage.state.watching, { timeout: 120000, what: "the watch to end" }).catch(() => null);
  const watched = await waitForSteadyFrame(watcher, { steadyFor: 1500, timeout: 30000 });
  sameFrame(watched, replayFrame(link, "watched"), "a page opened at the link watches it to vorblox-replay's frame for the link");
  await watcher.screenshot({ path: path.join(out, "watched.png") });
  // Shared again, it is the same link.
  await watcher.click("#share");
  await waitFor(watcher, () => /^Link copied/.test(document.getElementById("status").textContent), { timeout: 10000 }).catch(() => null);
  check(await watcher.evaluate(() => VorbloxPage.state.link) === link, "a watched link's game, shared, is the same link");

  // A link the replay runner made plays in the page, and a link made of a
  // recording that ends at the prompt, there too.
  const script = "1 DOWN\n1 F1+DOWN\n700 DOWN\n";
  const runnerLink = replay(["--link", address, "-"], script).out;
  const fromRunner = await open(runnerLink);
  await waitFor(fromRunner, () => VorbloxPage.state.watching, { timeout: 10000 }).catch(() => null);
  await waitFor(fromRunner, () => !VorbloxPage.state.watching, { timeout: 120000, what: "the watch to end" }).catch(() => null);
  sameFrame(await waitForSteadyFrame(fromRunner, { steadyFor: 1500, timeout: 30000 }), replayFrame(script, "runner"),
            `a link vorblox-replay made (${runnerLink.length} characters) plays in the page to the script's frame`);

  // Spoiled links: refused on the page in the runner's words, nothing started.
  const mark = link.indexOf("#watch=") + 8;
  const at = mark + Math.floor((link.length - mark) / 2);
  const spoiled = [
    ["cut short", link.slice(0, link.length - 25), "the link is cut short: its last 25 characters are missing"],
    ["altered", link.slice(0, at) + (link[at] === "A" ? "B" : "A") + link.slice(at + 1), "the link was altered"],
  ];
  for (const [what, bad, words] of spoiled) {
    const runner = replay([bad]);
    const page = await open(bad);
    await waitFor(page, () => !document.getElementById("ended").hidden, { timeout: 10000 }).catch(() => null);
    const text = await ended(page);
    const games = await page.evaluate(() => VorbloxPage.state.games);
    check(runner.code === 2 && runner.err.startsWith(words) && text === `The link could not be played: ${runner.err}.` &&
          games === 0, `a link ${what} is refused on the page as vorblox-replay refuses it, and nothing starts (${text})`);
    await page.screenshot({ path: path.join(out, `refused-${what.replace(" ", "-")}.png`) });
  }

  // A link put in the address of a page at its prompt is watched at once;
  // a spoiled one put there then leaves the watch going and says why.
  const prompt = await open(address);
  await waitForSteadyFrame(prompt);
  await prompt.evaluate((l) => { location.hash = l.slice(l.indexOf("#")); }, runnerLink);
  await waitFor(prompt, () => VorbloxPage.state.watching, { timeout: 10000, what: "the watch to start" }).catch(() => null);
  check(await prompt.evaluate(() => VorbloxPage.state.watching && VorbloxPage.state.games === 2),
        "a link given to a page at its prompt (hashchange) is watched");
  await prompt.evaluate((l) => { location.hash = l.slice(l.indexOf("#"), -5); }, runnerLink);
  await waitFor(prompt, () => /could not be played/.test(document.getElementById("status").textContent),
                { timeout: 10000 }).catch(() => null);
  const kept = await prompt.evaluate(() => ({ status: document.getElementById("status").textContent,
                                              games: VorbloxPage.state.games, running: VorbloxPage.state.running }));
  check(kept.status.startsWith("The link could not be played: the link is cut short") && kept.games === 2 && kept.running,
        `a spoiled link given during a watch is refused in the status, the watch goes on (${kept.status})`);

  // The device's own sharing where the browser has it; a box to copy from
  // where neither it nor the clipboard will.
  const sharing = await open(runnerLink, { stand: () => {
    navigator.share = (data) => { window.vorbloxShared = data; return Promise.resolve(); };
  } });
  await waitFor(sharing, () => VorbloxPage.state.watching, { timeout: 10000 }).catch(() => null);
  await sharing.click("#share");
  await waitFor(sharing, () => window.vorbloxShared, { timeout: 10000 }).catch(() => null);
  const viaShare = await sharing.evaluate(() => ({ data: window.vorbloxShared, status: document.getElementById("status").textContent }));
  check(viaShare.data && viaShare.data.url === runnerLink && viaShare.status === "Link shared",
        `navigator.share is given the link (${viaShare.status})`);
  const byHand = await open(address, { stand: () => {
    navigator.clipboard.writeText = () => Promise.reject(new DOMException("denied", "NotAllowedError"));
  } });
  await waitForSteadyFrame(byHand);
  await byHand.keyboard.press("F1", { delay: 100 });
  await byHand.keyboard.press("ArrowLeft", { delay: 100 });
  await new Promise((r) => setTimeout(r, 500));
  await byHand.click("#share");
  await waitFor(byHand, () => !document.getElementById("share-box").hidden, { timeout: 10000 }).catch(() => null);
  const box = await byHand.evaluate(() => ({ shown: !document.getElementById("share-box").hidden,
                                             value: document.getElementById("share-link").value,
                                             link: VorbloxPage.state.link,
                                             status: document.getElementById("status").textContent }));
  await byHand.screenshot({ path: path.join(out, "share-box.png") });
  const boxed = replay([box.value || "none"]);
  check(box.shown && box.value === box.link && box.value.startsWith(address + "#watch=1") && boxed.code === 0 &&
        box.status === "Copy the link from the box",
        `without the clipboard the link shows in a box to copy by hand, and plays (${box.status})`);

  check(problems.length === 0, `no errors in the pages${problems.length ? ": " + problems.join("; ") : ""}`);
  const sizes = `link of the game played: ${link.length} characters`;
  process.exitCode = finish(`; ${sizes}`);
} finally {
  await browser.close();
  server.close();
}
