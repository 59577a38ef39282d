// The page's key settings: which keys and controller buttons do what, kept
// in the browser's storage. The game reads them as the Linux game reads its
// bindings file (the same text, passed as --bindings, and reloaded while a
// game runs), so the game and its recordings see only the game's own keys.
"use strict";
var VorbloxBindings = (function() {
  var STORED = "vorblox-bindings", FILE = "/vorblox-bindings.txt";
  var ACTIONS = [
    { name: "new-game", label: "New game" }, { name: "quit", label: "Quit" },
    { name: "left", label: "Move left" }, { name: "right", label: "Move right" },
    { name: "turn-ccw", label: "Turn counter-clockwise" }, { name: "turn-cw", label: "Turn clockwise" },
    { name: "drop", label: "Drop faster" }];
  // The game's own keys and buttons.
  var DEFAULTS = {
    "new-game": ["F1", "pad:start"], "quit": ["Escape", "pad:back+start"],
    "left": ["Left", "pad:dpleft", "pad:left-stick-left"], "right": ["Right", "pad:dpright", "pad:left-stick-right"],
    "turn-ccw": ["Up", "Left Shift", "Right Shift", "pad:a", "pad:y"],
    "turn-cw": ["Left Ctrl", "Right Ctrl", "pad:b", "pad:x"], "drop": ["Down", "pad:dpdown", "pad:left-stick-down"] };
  // The browser's key codes and SDL's names for the same keys.
  var NAMES = { ArrowLeft: "Left", ArrowRight: "Right", ArrowUp: "Up", ArrowDown: "Down", Escape: "Escape",
    ShiftLeft: "Left Shift", ShiftRight: "Right Shift", ControlLeft: "Left Ctrl", ControlRight: "Right Ctrl",
    AltLeft: "Left Alt", AltRight: "Right Alt", Space: "Space", Enter: "Return", Backspace: "Backspace", Tab: "Tab",
    Insert: "Insert", Delete: "Delete", Home: "Home", End: "End", PageUp: "PageUp", PageDown: "PageDown",
    Minus: "-", Equal: "=", BracketLeft: "[", BracketRight: "]", Semicolon: ";", Quote: "'", Backquote: "`",
    Backslash: "\\", Comma: "Comma", Period: ".", Slash: "/", NumpadEnter: "Keypad Enter", NumpadAdd: "Keypad +",
    NumpadSubtract: "Keypad -", NumpadMultiply: "Keypad *", NumpadDivide: "Keypad /", NumpadDecimal: "Keypad ." };
  (function() {
    for (var c = 65; c <= 90; ++c) NAMES["Key" + String.fromCharCode(c)] = String.fromCharCode(c);
    for (var d = 0; d <= 9; ++d) { NAMES["Digit" + d] = "" + d; NAMES["Numpad" + d] = "Keypad " + d; }
    for (var f = 1; f <= 12; ++f) NAMES["F" + f] = "F" + f;
  })();
  // The standard gamepad's buttons, by SDL's names.
  var PAD_BUTTONS = ["a", "b", "x", "y", "leftshoulder", "rightshoulder", "left-trigger", "right-trigger", "back",
                     "start", "leftstick", "rightstick", "dpup", "dpdown", "dpleft", "dpright", "guide"];
  var PAD_AXES = [["left-stick-left", "left-stick-right"], ["left-stick-up", "left-stick-down"],
                  ["right-stick-left", "right-stick-right"], ["right-stick-up", "right-stick-down"]];

  var table = load(), capturing = null, pollFrame = 0, game = null;

  function $(id) { return document.getElementById(id); }
  function copy(t) { var c = {}; for (var a in t) c[a] = t[a].slice(); return c; }
  function isPad(input) { return input.indexOf("pad:") === 0; }

  function load() {
    try {
      var kept = JSON.parse(localStorage.getItem(STORED) || "null");
      if (kept && ACTIONS.every(function(a) { return Array.isArray(kept[a.name]); })) return kept;
    } catch (e) {}
    return copy(DEFAULTS);
  }

  // In the bindings file's form; every action's line names all it has.
  function text() {
    return ACTIONS.map(function(a) { return a.name + " = " + table[a.name].join(", "); }).join("\n") + "\n";
  }

  function owner(input) {
    var low = input.toLowerCase();
    for (var i = 0; i < ACTIONS.length; ++i)
      if (table[ACTIONS[i].name].some(function(x) { return x.toLowerCase() === low; })) return ACTIONS[i];
    return null;
  }

  // The browser's codes of the bound keys, for the page to keep from the browser.
  function codes() {
    return Object.keys(NAMES).filter(function(code) { return owner(NAMES[code]) !== null; });
  }
  function isAction(code, action) {
    var a = NAMES[code] && owner(NAMES[code]);
    return !!a && a.name === action;
  }
  function keysOf(action) {
    var keys = table[action].filter(function(x) { return !isPad(x); });
    return keys.length ? keys.join(" or ").replace("Escape", "Esc") : "nothing";
  }
  function hint() { return keysOf("new-game") + " starts a game, " + keysOf("quit") + " quits"; }

  function save() {
    try { localStorage.setItem(STORED, JSON.stringify(table)); } catch (e) {}
    // A running game takes them from its next tick.
    if (game && game.FS && game._VorbloxReloadBindings) {
      game.FS.writeFile(FILE, text());
      game._VorbloxReloadBindings();
    }
    render();
    if (VorbloxBindings.onChange) VorbloxBindings.onChange();
  }

  function say(message) { $("bindings-message").textContent = message; }

  function add(action, input) {
    stopCapture();
    var other = owner(input);
    if (other && other.name === action) { say(input + " is there already."); render(); return; }
    if (other) {
      say(input + " is " + other.label.toLowerCase() + "'s already; remove it there first.");
      render();
      return;
    }
    table[action].push(input);
    say("");
    save();
  }

  function remove(action, input) {
    var rest = table[action].filter(function(x) { return x !== input; });
    // Without a key (or a controller control) of its own, the game would
    // give the action its own key back: every action keeps one of each.
    if (!rest.some(function(x) { return isPad(x) === isPad(input); })) {
      say("Every action keeps at least one " + (isPad(input) ? "controller control" : "key") + ".");
      return;
    }
    table[action] = rest;
    say("");
    save();
  }

  function startCapture(action) {
    capturing = action;
    say("Press a key or a controller button for " + ACTIONS.filter(function(a) { return a.name === action; })[0].label +
        " (or Cancel).");
    render();
    var before = padState();
    var poll = function() {
      if (capturing !== action) return;
      var now = padState();
      for (var i = 0; i < now.length; ++i) if (before.indexOf(now[i]) < 0) { add(action, "pad:" + now[i]); return; }
      before = now;
      pollFrame = requestAnimationFrame(poll);
    };
    pollFrame = requestAnimationFrame(poll);
  }
  function stopCapture() {
    capturing = null;
    cancelAnimationFrame(pollFrame);
  }

  // The controls held now on every controller, by their names in the file.
  function padState() {
    var held = [], pads = navigator.getGamepads ? navigator.getGamepads() : [];
    for (var p = 0; p < pads.length; ++p) {
      var pad = pads[p];
      if (!pad) continue;
      pad.buttons.forEach(function(b, i) { if (b.pressed && PAD_BUTTONS[i]) held.push(PAD_BUTTONS[i]); });
      pad.axes.forEach(function(v, i) { if (PAD_AXES[i] && Math.abs(v) >= 0.5) held.push(PAD_AXES[i][v > 0 ? 1 : 0]); });
    }
    return held;
  }

  // While a control waits for its key, that key is the panel's alone.
  function onKey(event) {
    if (!capturing) return false;
    event.preventDefault();
    event.stopImmediatePropagation();
    if (event.type !== "keydown" || event.repeat) return true;
    var name = NAMES[event.code];
    if (name) add(capturing, name);
    else say("The game cannot use that key; choose another.");
    return true;
  }

  function render() {
    var list = $("bindings-list");
    list.textContent = "";
    ACTIONS.forEach(function(a) {
      var row = document.createElement("div");
      row.className = "binding";
      var label = document.createElement("span");
      label.className = "action";
      label.textContent = a.label;
      row.appendChild(label);
      table[a.name].forEach(function(input) {
        var chip = document.createElement("button");
        chip.type = "button";
        chip.className = "key";
        chip.textContent = (isPad(input) ? "Pad " + input.slice(4) : input) + " ×";
        chip.title = "Remove " + input;
        chip.addEventListener("click", function() { this.blur(); remove(a.name, input); });
        row.appendChild(chip);
      });
      var more = document.createElement("button");
      more.type = "button";
      more.className = "add";
      more.dataset.action = a.name;
      more.textContent = capturing === a.name ? "Cancel" : "+";
      more.title = capturing === a.name ? "Cancel" : "Add a key or controller button";
      more.addEventListener("click", function() {
        this.blur();
        if (capturing === a.name) { stopCapture(); say(""); render(); } else startCapture(a.name);
      });
      row.appendChild(more);
      list.appendChild(row);
    });
  }

  function start() {
    $("keys").addEventListener("click", function() {
      this.blur();
      var panel = $("bindings");
      panel.hidden = !panel.hidden;
      if (panel.hidden) stopCapture();
      render();
    });
    $("bindings-reset").addEventListener("click", function() {
      this.blur();
      stopCapture();
      table = copy(DEFAULTS);
      say("The game's own keys and buttons again.");
      save();
    });
    $("bindings-close").addEventListener("click", function() { this.blur(); stopCapture(); $("bindings").hidden = true; });
    render();
  }

  // For the page: the options and file a new game starts with.
  function prepare(module) { module.FS.writeFile(FILE, text()); }

  return { start: start, text: text, codes: codes, isAction: isAction, hint: hint, onKey: onKey, prepare: prepare,
           FILE: FILE, use: function(instance) { game = instance; }, onChange: null };
})();
