// Installed and offline: the service worker (sw.js, written by the build)
// keeps this build's files after the first visit. A new build's files are
// fetched whole in the background; the page then offers them, and they
// replace the old ones all together when the player reloads.
"use strict";
(function() {
  if (!("serviceWorker" in navigator) || !window.isSecureContext) return;
  var asked = false;
  function offer(worker) {
    var notice = document.getElementById("update");
    if (!notice) {
      notice = document.createElement("button");
      notice.type = "button";
      notice.id = "update";
      notice.className = "notice";
      notice.title = "A new version of the game is ready; reloading ends the game played now";
      notice.textContent = "New version: reload";
      document.getElementById("bar").insertBefore(notice, document.getElementById("status"));
    }
    notice.onclick = function() {
      asked = true;
      worker.postMessage("take over");
    };
  }
  navigator.serviceWorker.addEventListener("controllerchange", function() { if (asked) location.reload(); });
  navigator.serviceWorker.register("sw.js").then(function(registration) {
    var watch = function(worker) {
      worker.addEventListener("statechange", function() {
        if (worker.state === "installed" && navigator.serviceWorker.controller) offer(worker);
      });
    };
    if (registration.waiting && navigator.serviceWorker.controller) offer(registration.waiting);
    if (registration.installing) watch(registration.installing);
    registration.addEventListener("updatefound", function() { watch(registration.installing); });
    // An installed game may stay open for days: it looks again when shown.
    document.addEventListener("visibilitychange", function() {
      if (document.visibilityState === "visible") registration.update().catch(function() {});
    });
  }, function(e) { console.log("vorblox: no offline copy: " + e.message); });
})();
