// Registers the service worker (sw.js) that keeps the page's files for use offline. Browsers
// allow one only in a secure context (https, or this machine's own 127.0.0.1 or localhost);
// anywhere else the page works as it always has, only without the offline copy. The worker is
// registered once the first frame is drawn: by then the page has fetched every file, and the
// worker's own requests neither slow the start nor download anything a second time.
'use strict';

var orvessaOffline = {
  registered: false,  // a worker is registered for this page
  error: null,        // why not, where it was allowed but failed
};

(function() {
  if (!('serviceWorker' in navigator) || !window.isSecureContext) {
    return;
  }
  var asked = false;
  var next = Module.postMainLoop;
  Module.postMainLoop = function() {
    if (next) {
      next.apply(this, arguments);
    }
    if (!asked) {
      asked = true;
      setTimeout(function() {
        navigator.serviceWorker.register('sw.js').then(function() {
          orvessaOffline.registered = true;
        }, function(error) {
          orvessaOffline.error = String(error);
          console.warn('No offline copy: ' + error);
        });
      }, 0);
    }
  };
})();
