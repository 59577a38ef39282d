// Full screen, where the browser has it for the page (not an iPhone's
// Safari, which has it for videos alone), and a screen kept on while a game
// is played: the game tells the page when it stops to wait at the prompt or
// after a game (vorbloxplaying), and a hidden page loses its lock anyway.
"use strict";
var VorbloxScreen = (function() {
  var root = document.documentElement;
  var enter = root.requestFullscreen || root.webkitRequestFullscreen;
  var leave = document.exitFullscreen || document.webkitExitFullscreen;
  function current() { return document.fullscreenElement || document.webkitFullscreenElement || null; }

  if (enter && leave && (document.fullscreenEnabled || document.webkitFullscreenEnabled)) {
    var button = document.createElement("button");
    button.type = "button";
    button.id = "fullscreen";
    button.title = "The browser keeps Esc for leaving full screen";
    button.textContent = "Full screen";
    document.getElementById("bar").insertBefore(button, document.getElementById("status"));
    button.addEventListener("click", function() {
      this.blur();
      var done = current() ? leave.call(document) : enter.call(root, { navigationUI: "hide" });
      if (done && done.catch) done.catch(function(e) { console.log("vorblox: full screen: " + e.message); });
    });
    var changed = function() {
      button.textContent = current() ? "Leave full screen" : "Full screen";
      VorbloxPage.layout();
    };
    document.addEventListener("fullscreenchange", changed);
    document.addEventListener("webkitfullscreenchange", changed);
  }

  var playing = false, lock = null, asking = false;
  function wanted() { return playing && document.visibilityState === "visible"; }
  function update() {
    if (wanted() && !lock && !asking && navigator.wakeLock) {
      asking = true;
      navigator.wakeLock.request("screen").then(function(got) {
        asking = false;
        lock = got;
        got.addEventListener("release", function() { if (lock === got) lock = null; });
        if (!wanted()) update();
      }, function() { asking = false; });
    } else if (!wanted() && lock) {
      var old = lock;
      lock = null;
      old.release();
    }
  }
  window.addEventListener("vorbloxplaying", function(e) { playing = e.detail; update(); });
  window.addEventListener("vorbloxended", function() { playing = false; update(); });
  document.addEventListener("visibilitychange", update);

  return { awake: function() { return lock !== null; } };
})();
