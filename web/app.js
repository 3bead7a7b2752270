// What makes the page an app, both added once the first frame is drawn: the manifest, which
// lets a browser install the page, and the service worker (sw.js), which keeps the page's
// files for use offline. Chromium fetches the manifest and an icon as soon as it sees the
// link, and the worker fetches every file: at start-up, that work would only delay the view.
//
// Browsers allow a service worker only in a secure context (https, or this machine's own
// 127.0.0.1 or localhost); anywhere else the page works as it always has, only without the
// offline copy.
'use strict';

var orvessaOffline = {
  registered: false,  // a worker is registered for this page
  error: null,        // why not, where it was allowed but failed
};

(function() {
  function addManifest() {
    var link = document.createElement('link');
    link.rel = 'manifest';
    link.href = 'manifest.webmanifest';
    document.head.appendChild(link);
  }

  function registerWorker() {
    if (!('serviceWorker' in navigator) || !window.isSecureContext) {
      return;
    }
    navigator.serviceWorker.register('sw.js').then(function() {
      orvessaOffline.registered = true;
    }, function(error) {
      orvessaOffline.error = String(error);
      console.warn('No offline copy: ' + error);
    });
  }

  afterFirstFrame.push(function() {
    // After the frame has been handed over, not inside it.
    setTimeout(function() {
      addManifest();
      registerWorker();
    }, 0);
  });
})();
