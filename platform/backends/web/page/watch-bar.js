// The controls of a recording being watched: the same as the Linux game's
// keys (which work here too, on the game's canvas), as buttons and a bar
// that shows where the game is and can be dragged to go there.
"use strict";
var VorbloxWatchBar = (function() {
  // The program's own numbers for them (Watching.h).
  var PAUSE = 0, SPEED = 3, BACK = 4, AHEAD = 5, TO_START = 6, SEEK_TO = 7, PLAY_ON = 8;
  var TICKS = 64;  // a second
  // The keys the program takes for these while a recording plays.
  var KEYS = ["Space", "BracketLeft", "BracketRight", "ArrowLeft", "ArrowRight", "Home", "Enter", "NumpadEnter"];
  var game = null, dragging = false, shown = null;

  function $(id) { return document.getElementById(id); }
  function clock(ticks) {
    var seconds = Math.floor(ticks / TICKS);
    return Math.floor(seconds / 60) + ":" + String(seconds % 60).padStart(2, "0");
  }

  function control(code, value) {
    if (!game) return;
    game._VorbloxWatchControl(code, value || 0);
    // The game may sleep in its keyboard read (paused): this wakes it.
    window.dispatchEvent(new Event("vorbloxinput"));
  }

  // What the program says of the watch (Module.onWatch).
  function show(state) {
    shown = state;
    if ($("watchbar").hidden === state.watching) {
      $("watchbar").hidden = !state.watching;
      // The picture makes room for the bar, and takes it back.
      if (window.VorbloxPage) VorbloxPage.layout();
    }
    document.body.classList.toggle("watching", state.watching);
    if (!state.watching) return;
    var bar = $("watch-position");
    bar.max = state.total !== null ? state.total : Math.max(state.played, Number(bar.max) || 0);
    if (!dragging) bar.value = state.played;
    $("watch-time").textContent = clock(state.played) + (state.total !== null ? " / " + clock(state.total) : "") +
      " (tick " + state.played + (state.total !== null ? " of " + state.total : "") + ")";
    $("watch-pause").textContent = state.paused ? "Play" : "Pause";
    $("watch-pause").title = (state.paused ? "Play on" : "Pause") + " (Space)";
    $("watch-speed").value = String(state.speed);
  }

  function button(id, code) {
    $(id).addEventListener("click", function() { this.blur(); control(code); });
  }

  function start() {
    button("watch-start", TO_START);
    button("watch-back", BACK);
    button("watch-pause", PAUSE);
    button("watch-ahead", AHEAD);
    button("watch-play-on", PLAY_ON);
    $("watch-speed").addEventListener("change", function() { control(SPEED, Number(this.value)); this.blur(); });
    var bar = $("watch-position");
    bar.addEventListener("input", function() { dragging = true; $("watch-time").textContent = clock(this.value); });
    bar.addEventListener("change", function() {
      dragging = false;
      this.blur();
      control(SEEK_TO, Number(this.value));
    });
    window.addEventListener("vorbloxgame", function(event) { game = event.detail; });
    window.addEventListener("vorbloxended", function() { game = null; show({ watching: false }); });
  }

  // A new instance of the program: what the last said no longer holds.
  function forget() { shown = null; game = null; }

  return { start: start, show: show, forget: forget, KEYS: KEYS, state: function() { return shown; } };
})();
