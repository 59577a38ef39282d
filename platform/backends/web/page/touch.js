// Touch controls: buttons for every key the game has, beside the picture,
// shown where the device has touch. What they hold reaches the game as its
// own keys through the layer's input (TouchControls.cpp), so a game played
// by touch is recorded and replays like any other. Each finger is followed
// by its pointer id: several may hold buttons at once, and one that slides
// onto another button lets go of the first and holds the second.
"use strict";
var VorbloxTouch = (function() {
  // Bits as TouchControls.cpp has them.
  var LEFT = 0, RIGHT = 1, CCW = 2, CW = 3, DROP = 4, NEW_GAME = 5, QUIT = 6;
  var MIN = 56, MAX = 88, GAP = 8, PAD = 8;  // a button's side, in CSS pixels
  var BAR = 56;                             // the bar's height in touch mode
  var CLUSTER = 2 * MIN + GAP + 2 * PAD;    // the least room two rows or columns of them take
  var ICONS = {
    left: '<path d="M15 5 7 12l8 7z"/>',
    right: '<path d="m9 5 8 7-8 7z"/>',
    drop: '<path d="m5 8 7 9 7-9z"/>',
    ccw: '<path d="M19 11.5a7 7 0 1 0-7 7" fill="none" stroke-width="2.6"/><path d="m16.5 18.5-5-4v8z"/>',
    cw: '<path d="M5 11.5a7 7 0 1 1 7 7" fill="none" stroke-width="2.6"/><path d="m7.5 18.5 5-4v8z"/>',
    menu: '<path d="M4 6h16M4 12h16M4 18h16" fill="none" stroke-width="2.4"/>'
  };
  var fingers = {};   // pointer id -> the button's bit under it, or -1
  var held = 0;       // the bits held, as last told to the game
  var lookDue = false; // the buttons' look waits to follow `held`
  var on = false;     // touch mode
  var mode = "below"; // the controls below the picture, or "beside" it
  var clusters = [];

  function $(id) { return document.getElementById(id); }
  function svg(name) { return '<svg viewBox="0 0 24 24" aria-hidden="true">' + ICONS[name] + "</svg>"; }

  function button(bit, label, content, wide) {
    var b = document.createElement("button");
    b.type = "button";
    b.tabIndex = -1;
    b.setAttribute("aria-label", label);
    b.dataset.bit = bit;
    b.innerHTML = content;
    if (wide) b.className = "wide";
    return b;
  }

  function cluster(id, buttons) {
    var c = document.createElement("div");
    c.id = id;
    c.className = "cluster";
    buttons.forEach(function(b) { c.appendChild(b); });
    $("touch").appendChild(c);
    return c;
  }

  function tell(buttons) {
    var game = VorbloxPage.instance();
    if (game && VorbloxPage.state.running) game._VorbloxTouch(buttons);
    // Wakes the game if it sleeps at the prompt.
    window.dispatchEvent(new Event("vorbloxinput"));
  }

  function update() {
    var now = 0;
    for (var id in fingers) if (fingers[id] >= 0) now |= 1 << fingers[id];
    if (now === held) return;
    // On the ended page New game starts a new game, as F1 does there.
    if (now & ~held & (1 << NEW_GAME)) VorbloxPage.again();
    held = now;
    tell(held);
    if (!lookDue) {
      lookDue = true;
      setTimeout(showHeld, 0);
    }
  }

  // The held look comes a task after the touch: a touch that changes the
  // page makes Chromium hold its timers (the game's tick) until the change
  // is on the screen, and the tick's picture then waits a frame more,
  // about 10 ms of the median touch to picture (bench/README.md).
  function showHeld() {
    lookDue = false;
    document.querySelectorAll("#touch button").forEach(function(b) {
      b.classList.toggle("held", (held & (1 << b.dataset.bit)) !== 0);
    });
  }

  function bitAt(x, y) {
    var under = document.elementFromPoint(x, y);
    var b = under && under.closest("#touch button");
    return b ? Number(b.dataset.bit) : -1;
  }

  function down(event) {
    var b = event.target.closest("#touch button");
    if (!b) return;
    event.preventDefault();
    // A touch is held by the element it began on; the finger is followed
    // by where it is instead.
    if (b.hasPointerCapture && b.hasPointerCapture(event.pointerId)) b.releasePointerCapture(event.pointerId);
    fingers[event.pointerId] = Number(b.dataset.bit);
    update();
  }

  function move(event) {
    if (!(event.pointerId in fingers)) return;
    fingers[event.pointerId] = bitAt(event.clientX, event.clientY);
    update();
  }

  function up(event) {
    if (!(event.pointerId in fingers)) return;
    delete fingers[event.pointerId];
    update();
  }

  // Quit sits in the menu, so that a stray touch does not end a game: a
  // press of Esc that the next read sees.
  function quit() {
    tell(held | (1 << QUIT));
    tell(held);
  }

  function insets() {
    var style = getComputedStyle($("safe-area"));
    return { top: parseFloat(style.paddingTop) || 0, right: parseFloat(style.paddingRight) || 0,
             bottom: parseFloat(style.paddingBottom) || 0, left: parseFloat(style.paddingLeft) || 0 };
  }

  // The screen inside the safe area and below the bar, in CSS pixels.
  function area() {
    var inset = insets(), watch = document.getElementById("watchbar");
    // A watched game's controls take the bottom.
    var controls = watch && !watch.hidden ? watch.offsetHeight : 0;
    var a = { left: inset.left, top: inset.top + BAR, right: window.innerWidth - inset.right,
              bottom: window.innerHeight - Math.max(inset.bottom, controls) };
    a.width = a.right - a.left;
    a.height = a.bottom - a.top;
    return a;
  }

  function scaleFor(width, height, w, h) {
    var ratio = window.devicePixelRatio || 1;
    return Math.min(Math.floor(width * ratio / w), Math.floor(height * ratio / h));
  }

  // Where the picture goes: the largest whole scale that leaves the
  // controls their room, below the picture or on both sides of it. Below,
  // the picture sits at the top and the controls take the rest.
  function room(w, h) {
    if (!on) return null;
    var a = area(), ratio = window.devicePixelRatio || 1;
    var below = scaleFor(a.width, a.height - CLUSTER, w, h), beside = scaleFor(a.width - 2 * CLUSTER, a.height, w, h);
    mode = below > beside || (below === beside && a.height >= a.width) ? "below" : "beside";
    if (mode === "beside") return { left: a.left + CLUSTER, top: a.top, width: a.width - 2 * CLUSTER, height: a.height };
    // Half a device pixel over the picture, so that the page's rounding
    // down to device pixels keeps the scale.
    return { left: a.left, top: a.top, width: a.width, height: (Math.max(1, below) * h + 0.5) / ratio };
  }

  // The controls in the room the picture left: one cluster for each thumb,
  // at the bottom corners.
  function place(picture) {
    if (!on) return;
    var a = area(), size;
    if (mode === "below") {
      var band = a.bottom - (picture.top + picture.height);
      size = Math.min((band - 2 * PAD - GAP) / 2, (a.width / 2 - 2 * PAD - GAP) / 2);
    } else {
      var side = picture.left - a.left;
      size = Math.min((side - 2 * PAD - GAP) / 2, (a.height - 2 * PAD - GAP) / 2);
    }
    size = Math.floor(Math.max(MIN, Math.min(MAX, size)));
    var extent = 2 * size + GAP;
    clusters[0].style.left = (a.left + PAD) + "px";
    clusters[1].style.left = (a.right - PAD - extent) + "px";
    clusters.forEach(function(c) {
      c.style.setProperty("--size", size + "px");
      c.style.top = (a.bottom - PAD - extent) + "px";
    });
  }

  function follow(touch) {
    if (touch === on) return;
    on = touch;
    document.documentElement.classList.toggle("touch", on);
    VorbloxPage.layout();
  }

  function start() {
    var probe = document.createElement("div");
    probe.id = "safe-area";
    document.body.appendChild(probe);
    var box = document.createElement("div");
    box.id = "touch";
    document.body.appendChild(box);
    clusters = [
      cluster("touch-move", [button(LEFT, "Move left", svg("left")), button(RIGHT, "Move right", svg("right")),
                             button(DROP, "Drop", svg("drop"), true)]),
      cluster("touch-turn", [button(CCW, "Turn counter-clockwise", svg("ccw")), button(CW, "Turn clockwise", svg("cw")),
                             button(NEW_GAME, "New game", '<b>F1</b> New game', true)])
    ];
    box.addEventListener("pointerdown", down);
    window.addEventListener("pointermove", move);
    window.addEventListener("pointerup", up);
    window.addEventListener("pointercancel", up);
    // Touches on the buttons are theirs alone: no mouse events, clicks or
    // double-tap zoom follow them.
    // (Where touch-action already keeps them from the browser, they come
    // uncancelable.)
    box.addEventListener("touchstart", function(e) { if (e.cancelable) e.preventDefault(); }, { passive: false });

    // The bar's controls go into a menu, with Quit.
    var bar = $("bar"), menu = document.createElement("button");
    menu.type = "button";
    menu.id = "menu";
    menu.className = "touch-only";
    menu.setAttribute("aria-label", "Menu");
    menu.setAttribute("aria-expanded", "false");
    menu.innerHTML = svg("menu");
    bar.insertBefore(menu, bar.firstChild);
    var quitButton = document.createElement("button");
    quitButton.type = "button";
    quitButton.id = "quit";
    quitButton.className = "touch-only";
    quitButton.setAttribute("aria-label", "Quit");
    quitButton.textContent = "Quit (Esc)";
    bar.insertBefore(quitButton, $("status"));
    var open = function(yes) {
      bar.classList.toggle("open", yes);
      menu.setAttribute("aria-expanded", String(yes));
    };
    menu.addEventListener("click", function() { open(!bar.classList.contains("open")); });
    quitButton.addEventListener("click", quit);
    // An item chosen closes the menu, after its own work (a file chooser).
    bar.addEventListener("click", function(e) {
      if (e.target !== menu && !menu.contains(e.target)) setTimeout(function() { open(false); }, 0);
    });

    // During a game no touch scrolls, zooms, selects or opens a menu.
    document.addEventListener("contextmenu", function(e) { if (on) e.preventDefault(); });
    document.addEventListener("touchmove", function(e) { if (on && e.cancelable) e.preventDefault(); }, { passive: false });
    document.addEventListener("gesturestart", function(e) { if (on) e.preventDefault(); });

    var coarse = window.matchMedia("(any-pointer: coarse)");
    var judge = function() { follow(coarse.matches || navigator.maxTouchPoints > 0); };
    coarse.addEventListener("change", judge);
    // A touch screen that says nothing of itself shows itself by a touch.
    window.addEventListener("pointerdown", function(e) { if (e.pointerType === "touch") follow(true); }, true);
    window.addEventListener("vorbloxlayout", function(e) { place(e.detail); });
    VorbloxPage.hooks.room = room;
    judge();
  }

  start();
  return { held: function() { return held; }, mode: function() { return mode; } };
})();
