// Share: a link that opens at the view shown. It holds the keys the program has taken since
// the start (from the keyboard, the controls, drags and a gamepad alike), which the page
// opening it presses again before its first frame, so that frame is this view, pixel for pixel,
// with the same modes and the same refused directions. How a link is read and written is
// link.js's; this is the page's part: the keys taken, the replay, the note, the Share control.
// Own pictures are not in a link (whoever opens it sees theirs), nor is Escape.
'use strict';

var orvessaShare = {
  runs: [],          // [letter, count] of the keys taken since the start, as the link writes them
  replayed: 0,       // presses the page was opened with and replayed before its first frame
  replayMs: 0,       // how long replaying them took
  leftOut: null,     // what a link opened held that could not be used, as its note says, or null
};

(function() {
  var REPLAY_CAP = orvessaLink.REPLAY_CAP;

  Module.keyTaken = function(special, key) {
    var letter = orvessaLink.letterOf(special, key);
    if (letter === null) {
      return;
    }
    orvessaLink.take(orvessaShare.runs, letter, {
      anyDirectionBlocked: Module._orvessa_any_direction_blocked() === 1,
      lookMode: Module._orvessa_look_mode() === 1,
      slideMode: Module._orvessa_slide_mode() === 1,
    });
    closePanel();
  };

  // The link to the view shown, or null when the walk holds more presses than a link replays.
  function linkToView() {
    var page = location.href.split('#')[0];
    var fragment = orvessaLink.write(orvessaShare.runs);
    if (fragment === null) {
      return null;
    }
    return fragment === '' ? page : page + '#' + fragment;
  }

  // A link's presses are replayed once main has set the scene up, a slice at a time so that no
  // task holds the page's thread for long (on a phone's processor, four times slower, a slice
  // stays well under 50 ms, where the dearest link takes more than a second); no frame is drawn
  // until the last slice, so the first frame shown is the link's view.
  var SLICE_MS = 4;
  var SLICE_PRESSES = 5;  // between looks at the clock
  var replaying = false;
  var preMainLoop = Module.preMainLoop;
  Module.preMainLoop = function() {
    return replaying ? false : preMainLoop && preMainLoop();
  };

  function nextTask(then) {
    var channel = new MessageChannel();
    channel.port1.onmessage = then;
    channel.port2.postMessage(null);
  }

  function replay(keys) {
    var began = performance.now();
    var at = 0;
    replaying = true;
    nextTask(function slice() {
      var until = performance.now() + SLICE_MS;
      do {
        Module.pressKeysAtStart(keys.slice(at, at + SLICE_PRESSES));
        at += SLICE_PRESSES;
      } while (at < keys.length && performance.now() < until);
      if (at < keys.length) {
        nextTask(slice);
        return;
      }
      orvessaShare.replayMs = performance.now() - began;
      orvessaShare.replayed = keys.length;
      replaying = false;
      Module.redraw();
    });
  }

  Module.postRun = [].concat(Module.postRun || [], function() {
    var link = orvessaLink.read(location.hash.slice(1));
    if (link.letters.length > 0) {
      offerGuideInstead();
      replay(link.letters.map(function(letter) { return orvessaLink.KEYS[letter]; }));
    }
    if (link.leftOut !== null) {
      orvessaShare.leftOut = link.leftOut;
      showNote(link.letters.length > 0 ?
        'Part of this link was left out (' + link.leftOut + '): it opens where the first ' +
          link.letters.length.toLocaleString('en') + ' presses it holds lead.' :
        'This link holds no view this page can open (' + link.leftOut + '): here is the start.');
    }
  });

  // Another link to this page, opened in the same tab, changes only the part after '#': the
  // page starts again to open it.
  window.addEventListener('hashchange', function() {
    location.reload();
  });

  // The Share control and its panel: the link in a field, copied where the browser allows it,
  // handed to the device's share sheet where there is one (phones and tablets).
  var shareButton = document.querySelector('[data-share]');
  var panel = document.getElementById('share-panel');
  var field = document.querySelector('[data-share-link]');
  var status = document.getElementById('share-status');

  function closePanel() {
    if (!panel.hidden) {
      panel.hidden = true;
      shareButton.setAttribute('aria-expanded', 'false');
    }
  }

  function openPanel(link) {
    showPicturesMenu(false);
    panel.hidden = false;
    shareButton.setAttribute('aria-expanded', 'true');
    field.value = link || '';
    if (link === null) {
      status.textContent = 'This walk is too long for a link: it holds more than ' +
        REPLAY_CAP.toLocaleString('en') + ' presses since the start. Start (i) leaves out ' +
        'what came before it, where no direction is refused.';
      return;
    }
    field.focus();
    field.select();
    status.textContent = 'Select it and copy it.';
    if (navigator.clipboard && navigator.clipboard.writeText) {
      navigator.clipboard.writeText(link).then(function() {
        if (field.value === link) {
          status.textContent = 'Copied to the clipboard.';
        }
      }, function() {});
    }
  }

  shareButton.addEventListener('click', function() {
    if (!panel.hidden) {
      closePanel();
      return;
    }
    if (!programRunning()) {
      return;
    }
    var link = linkToView();
    openPanel(link);
    if (link !== null && document.body.classList.contains('touch') && navigator.share) {
      navigator.share({title: 'Orvessa', url: link}).catch(function() {
        // Cancelled, or refused: the link is in the field.
      });
    }
  });

  // A touch or a click on the view is a walk going on: the link would be out of date.
  canvas.addEventListener('pointerdown', closePanel);
})();
