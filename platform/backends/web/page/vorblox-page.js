// The page around the game: shows its canvas at a whole scale, keeps the
// game's keys from the browser, and starts, restarts, records, plays back
// and shares games. Each game is a fresh instance of the program.
"use strict";
// The browser shows a controller to the page only once a button of it was
// pressed, and says so with "gamepadconnected": until then the game's look
// at the controllers finds none, without asking the browser, which would
// then read the controllers all along (a controller found later comes to
// the game through that event anyway).
(function() {
  var read = navigator.getGamepads, seen = false;
  if (!read) return;
  window.addEventListener("gamepadconnected", function() { seen = true; }, true);
  navigator.getGamepads = function() { return seen ? read.call(navigator) : []; };
})();
var VorbloxPage = (function() {
  var WIDTH = 300, HEIGHT = 400;  // the game's window, in its own pixels
  var RECORDING = "/vorblox-game.txt";
  var SHARED = "a shared game";  // what the title and the status call a link's game
  var game = null;      // the running instance, or null
  var next = null;      // what starts once the running instance has ended
  // playing: the game reads its keys every tick (not idle at a prompt);
  // watching: those are a recording's (state.watched, a VorbloxWatchedFile).
  var state = { running: false, ended: false, exitCode: null, games: 0, playing: false, watching: false };

  // What the page's other scripts (touch.js, screen.js) may change: where
  // the picture goes.
  var hooks = { room: null };

  function $(id) { return document.getElementById(id); }
  function status(text) { $("status").textContent = text; }
  // Tells the page's other scripts: "vorbloxgame" (an instance is ready),
  // "vorbloxended", "vorbloxplaying" (true or false), "vorbloxlayout", and
  // listens for "vorbloxinput" (wakes the game) as the program does.
  function tell(name, detail) { window.dispatchEvent(new CustomEvent(name, { detail: detail })); }

  // The largest whole scale at which the frame fits below the bar (or in
  // the room hooks.room leaves it, in CSS pixels), counted in device
  // pixels; placed on whole device pixels, so that every game pixel is a
  // square of whole device pixels.
  function layout() {
    var canvas = $("canvas"), ratio = window.devicePixelRatio || 1;
    var top = $("bar").offsetHeight, bottom = $("watchbar").hidden ? 0 : $("watchbar").offsetHeight;
    var room = (hooks.room && hooks.room(WIDTH, HEIGHT)) ||
               { left: 0, top: top, width: window.innerWidth, height: window.innerHeight - top - bottom };
    var width = Math.floor(room.width * ratio), height = Math.floor(room.height * ratio);
    var scale = Math.max(1, Math.min(Math.floor(width / WIDTH), Math.floor(height / HEIGHT)));
    var left = Math.max(0, Math.floor((width - WIDTH * scale) / 2)) + Math.round(room.left * ratio);
    var down = Math.max(0, Math.floor((height - HEIGHT * scale) / 2)) + Math.round(room.top * ratio);
    canvas.style.width = (WIDTH * scale / ratio) + "px";
    canvas.style.height = (HEIGHT * scale / ratio) + "px";
    canvas.style.left = (left / ratio) + "px";
    canvas.style.top = (down / ratio) + "px";
    state.scale = scale;
    // A new ratio (zoom, another screen) is only announced to a query for the old one.
    if (layout.query) layout.query.removeEventListener("change", layout);
    layout.query = window.matchMedia("(resolution: " + ratio + "dppx)");
    layout.query.addEventListener("change", layout);
    tell("vorbloxlayout", { left: left / ratio, top: down / ratio, width: WIDTH * scale / ratio,
                            height: HEIGHT * scale / ratio });
  }

  // While a game runs its keys reach it and nothing else in the page (no
  // help on F1, no scrolling on the arrows, no shortcuts with Ctrl or
  // Shift); other keys stay the browser's and the game does not see them.
  function onKey(event) {
    if (VorbloxBindings.onKey(event)) return;  // a key being chosen in the settings
    // Keys in the shared link's box copy and select, and play nothing.
    if (event.target && event.target.closest && event.target.closest("#share-box")) {
      event.stopImmediatePropagation();
      return;
    }
    if (!state.running) {
      // The new-game key (F1) starts a new game here too.
      if (state.ended && event.type === "keydown" && VorbloxBindings.isAction(event.code, "new-game")) {
        event.preventDefault();
        run(null);
      }
      return;
    }
    // Watching, the watch's own keys reach the game too (watch-bar.js).
    var watchKey = state.watching && VorbloxWatchBar.KEYS.indexOf(event.code) >= 0;
    if (watchKey || VorbloxBindings.codes().indexOf(event.code) >= 0 || event.ctrlKey || event.shiftKey) event.preventDefault();
    else event.stopImmediatePropagation();
  }

  function freshCanvas() {
    // SDL keeps its handlers and context on the canvas it was given.
    var old = $("canvas"), canvas = old.cloneNode(false);
    canvas.width = WIDTH;
    canvas.height = HEIGHT;
    old.parentNode.replaceChild(canvas, old);
    layout();
    return canvas;
  }

  // Starts the program: a game of the player's own, or the recording
  // `watched` (whose first piece is read first: the program refuses a file
  // that is no recording before it opens its window), from watched.start
  // when that is set (going back in it). Either way the game is recorded:
  // the player may play on from a moment of a watched game.
  function run(watched) {
    $("ended").hidden = true;
    state.running = true;
    state.ended = false;
    state.exitCode = null;
    state.playing = state.watching = false;
    state.games += 1;
    VorbloxWatchBar.forget();
    game = null;
    var canvas = state.games > 1 ? freshCanvas() : $("canvas");
    state.watched = watched;
    if (!watched || !watched.start) status(watched ? "Watching " + watched.name : VorbloxBindings.hint());
    var path = watched && VorbloxWatchedFile.path(watched);
    var args = ["--record", RECORDING, "--bindings", VorbloxBindings.FILE];
    if (watched) args.push("--watch", path);
    var start = watched && watched.start;
    if (start) {
      args.push("--from", String(start.from), "--speed", start.speed);
      if (start.paused) args.push("--paused");
    }
    (watched ? watched.ready : Promise.resolve()).then(function() { return createVorblox({
      canvas: canvas,
      thisProgram: "vorblox",
      arguments: args,
      preRun: [function(module) {
        VorbloxBindings.prepare(module);
        if (watched) VorbloxWatchedFile.mount(module, watched);
      }],
      print: function(text) { console.log(text); },
      printErr: function(text) { console.warn(text); },
      onPlaying: function(playing, watching) {
        state.playing = playing;
        // Played to its end: the player's keys play on, under the game's own title.
        if (state.watching && !watching && playing) status("Watched " + watched.name + " to its end");
        state.watching = watching;
        tell("vorbloxplaying", playing);
      },
      onWatch: VorbloxWatchBar.show,
      // Going back: the same recording from its start, run ahead to there.
      onWatchAgain: function(start) {
        var again = VorbloxWatchedFile.open(watched.file);
        again.start = start;
        next = again;
        end();
      },
      onGameEnd: function(code, error) {
        state.running = false;
        state.playing = state.watching = false;
        tell("vorbloxplaying", false);
        if (next) {
          var then = next;
          next = null;
          run(then);
          return;
        }
        state.ended = true;
        state.exitCode = code;
        // The program names the file by its place in the page's own file system.
        if (error && path) error = error.split(path).join(watched.name);
        $("ended-text").textContent = error ? "The recording could not be played: " + error
                                            : "The game has ended.";
        $("again").textContent = "Play again";
        $("ended").hidden = false;
        status("Ended");
        tell("vorbloxended");
      }
    }); }).then(function(instance) {
      game = instance;
      VorbloxBindings.use(instance);
      tell("vorbloxgame", instance);
      if (next) end();
    });
  }

  // The bytes of the player's own game so far (a watched game's up to
  // where the player played on).
  function recording() {
    if (!game || state.watching) return null;
    if (state.running) game._VorbloxWriteRecording();
    try { return game.FS.readFile(RECORDING); } catch (e) { return null; }
  }

  function save() {
    // A recording being watched is the record of its game.
    var data = state.watching ? state.watched.file : recording();
    if (!data) { status("Nothing recorded yet"); return; }
    var link = document.createElement("a");
    link.href = URL.createObjectURL(new Blob([data], { type: "text/plain" }));
    link.download = "vorblox-recording.txt";
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function() { URL.revokeObjectURL(link.href); }, 10000);
  }

  // The running program ends as its close button would end it, and the
  // next starts when it has (onGameEnd).
  function end() {
    if (!game) return;  // still starting: ended once it has
    game._VorbloxEnd();
    window.dispatchEvent(new Event("vorbloxinput"));
  }

  // A game the player is playing is not thrown away without asking.
  // `link`: the link the file's game came in, kept for sharing it again.
  function watch(file, link) {
    if (state.running && state.playing && !state.watching &&
        !window.confirm("Stop the game in progress to watch " + file.name + "?")) return;
    var watched = VorbloxWatchedFile.open(file);
    watched.link = link;
    if (!state.running) { run(watched); return; }
    next = watched;
    end();
  }

  // Offers `link`: the device's own sharing where the browser has it, else
  // the clipboard, else a box to copy it from by hand.
  function offer(link) {
    state.link = link;
    var copy = function() {
      var copied = navigator.clipboard && navigator.clipboard.writeText ? navigator.clipboard.writeText(link)
                                                                        : Promise.reject(new Error("no clipboard"));
      copied.then(function() { status("Link copied (" + link.length + " characters)"); }, function() {
        $("share-link").value = link;
        $("share-box").hidden = false;
        $("share-link").focus();
        $("share-link").select();
        status("Copy the link from the box");
      });
    };
    if (!navigator.share) { copy(); return; }
    navigator.share({ url: link, title: "A game of Vorblox" }).then(function() { status("Link shared"); }, function(e) {
      // Turned down by the player: nothing more to do. Refused by the
      // browser (a link too long, no sharing here after all): the clipboard.
      if (e && e.name === "AbortError") status("Not shared");
      else copy();
    });
  }

  // The game played so far, or the one being watched, as a link to this page.
  function share() {
    var watched = state.watched;
    if (watched && watched.link) { offer(watched.link); return; }
    var data = watched ? watched.file : recording();
    if (!data) { status("Nothing recorded yet"); return; }
    status("Making the link…");
    VorbloxShareLink.make(location.href.split("#")[0], new Blob([data])).then(offer, function(e) {
      status("No link: " + e.message);
    });
  }

  // A link to this page with a game in it: the game is watched, as a file
  // opened would be. A link that does not hold its game whole is refused,
  // and whatever was going on goes on.
  function fromAddress() {
    if (location.hash.indexOf(VorbloxShareLink.MARK) !== 0) return false;
    var link = location.href;
    status("Reading the link…");
    VorbloxShareLink.read(link).then(function(text) {
      watch(new File([text], SHARED, { type: "text/plain" }), link);
    }, function(e) {
      state.refused = e.message;
      if (state.running) {
        status("The link could not be played: " + e.message);
        return;
      }
      state.ended = true;
      $("again").textContent = state.games ? "Play again" : "Play";
      $("ended-text").textContent = "The link could not be played: " + e.message + ".";
      $("ended").hidden = false;
      status("Link refused");
    });
    return true;
  }

  function start() {
    VorbloxBindings.start();
    VorbloxBindings.onChange = function() {
      if (state.running && !state.watched) status(VorbloxBindings.hint());
    };
    layout();
    window.addEventListener("resize", layout);
    window.addEventListener("keydown", onKey, true);
    window.addEventListener("keyup", onKey, true);
    $("again").addEventListener("click", function() { this.blur(); run(null); });
    VorbloxWatchBar.start();
    $("save").addEventListener("click", function() { this.blur(); save(); });
    $("share").addEventListener("click", function() { this.blur(); share(); });
    $("share-close").addEventListener("click", function() { $("share-box").hidden = true; });
    window.addEventListener("hashchange", fromAddress);
    $("file").addEventListener("change", function() {
      var file = this.files[0];
      this.value = "";
      $("open").blur();
      if (file) watch(file);
    });
    if (!fromAddress()) run(null);
  }

  // A new game on the ended page, as F1 there.
  function again() { if (state.ended && !next) run(null); }

  return { start: start, state: state, recording: recording, layout: layout, hooks: hooks, again: again,
           instance: function() { return game; } };
})();
