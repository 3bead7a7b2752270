// Share: a link that opens at the view shown. After '#' it holds the keys the program has taken
// since the start (from the keyboard, the controls, drags and a gamepad alike), which the page
// opening it presses again before its first frame, so that frame is this view, pixel for pixel,
// with the same modes and the same refused directions.
//
// 'view=' first, so that the page knows its own links from anything else after '#'; then one
// letter per key, followed by a count when it was pressed more than once in a row; 'z' ends
// the link, so that one cut short can be told from a whole one:
//
//   f b l r   Up, Down, Left, Right       u d   Page Up, Page Down      t   End
//   a c       +, - (roll)                 p s   look and slide mode     i   back to the start
//   x         any other key (a reload of the pictures)
//
// e.g. #view=f42l7pf3z. Own pictures are not in a link (whoever opens it sees theirs), nor is
// Escape. Of a link this page did not make, what it can use is replayed, at most REPLAY_CAP
// presses, and a short note says what was left out.
'use strict';

// At most this many presses are replayed from a link. Replayed, the dearest key (i: three
// scene set-ups) costs about 0.04 ms here, so a link of that many draws its first frame well
// under a second later than the start view would be; a walk only comes near it after minutes
// of held keys without Start.
var REPLAY_CAP = 10000;

var orvessaShare = {
  runs: [],          // [letter, count] of the keys taken since the start, as the link writes them
  replayed: 0,       // presses the page was opened with and replayed before its first frame
  replayMs: 0,       // how long replaying them took
  leftOut: null,     // what a link opened held that could not be used, as its note says, or null
};

(function() {
  // What each letter presses, by the key's DOM name (Module.pressKey).
  var LETTER_KEYS = {f: 'ArrowUp', b: 'ArrowDown', l: 'ArrowLeft', r: 'ArrowRight',
                     u: 'PageUp', d: 'PageDown', t: 'End', a: '+', c: '-', p: 'p', s: 's',
                     i: 'i', x: 'x'};
  // GLUT's codes of the special keys that do something; the others (Home, F2, Shift...) only
  // ask for a frame, and a link leaves them out.
  var SPECIAL_LETTERS = {100: 'l', 101: 'f', 102: 'r', 103: 'b', 104: 'u', 105: 'd', 107: 't'};
  var CHARACTER_LETTERS = {43: 'a', 45: 'c', 112: 'p', 80: 'p', 115: 's', 83: 's', 105: 'i'};
  // Keys that move only the camera: their effect is gone after a press of i, which puts the
  // camera back at the start and keeps the modes and the refused directions.
  var CAMERA_ONLY = 'actxi';
  var MARK = 'view=';
  var END = 'z';

  function letterOf(special, key) {
    if (special) {
      return SPECIAL_LETTERS[key] || null;
    }
    return CHARACTER_LETTERS[key] || 'x';
  }

  function add(letter) {
    var runs = orvessaShare.runs;
    var last = runs[runs.length - 1];
    if (last && last[0] === letter) {
      last[1] += 1;
    } else {
      runs.push([letter, 1]);
    }
  }

  // A press of i leaves of what came before only the modes and the refused directions. With no
  // direction refused, the modes are all that is left; with one refused, the walk that led
  // there stays, but not what only moved the camera since its last direction key.
  function startAgain() {
    var runs = orvessaShare.runs;
    if (Module._orvessa_any_direction_blocked() === 0) {
      runs.length = 0;
      if (Module._orvessa_look_mode() === 1) {
        runs.push(['p', 1]);
      }
      if (Module._orvessa_slide_mode() === 1) {
        runs.push(['s', 1]);
      }
    } else {
      while (runs.length > 0 && CAMERA_ONLY.indexOf(runs[runs.length - 1][0]) >= 0) {
        runs.pop();
      }
    }
  }

  Module.keyTaken = function(special, key) {
    var letter = letterOf(special, key);
    if (letter === null) {
      return;
    }
    if (letter === 'i') {
      startAgain();
    }
    add(letter);
    closePanel();
  };

  function pressesTaken() {
    return orvessaShare.runs.reduce(function(sum, run) { return sum + run[1]; }, 0);
  }

  // The link to the view shown, or null when the walk holds more presses than a link replays.
  function linkToView() {
    var page = location.href.split('#')[0];
    if (orvessaShare.runs.length === 0) {
      return page;
    }
    if (pressesTaken() > REPLAY_CAP) {
      return null;
    }
    return page + '#' + MARK + orvessaShare.runs.map(function(run) {
      return run[0] + (run[1] > 1 ? run[1] : '');
    }).join('') + END;
  }

  // What the part of a link after '#' holds: the keys to press, at most REPLAY_CAP, and what
  // could not be used. It reads each character once and stops at the cap, however long.
  function readLink(text) {
    if (text === '') {
      return {keys: [], leftOut: null};
    }
    if (text.slice(0, MARK.length) !== MARK) {
      return {keys: [], leftOut: 'it does not begin with ' + MARK};
    }
    text = text.slice(MARK.length);
    var keys = [];
    var unknown = 0;
    var ended = false;
    var afterEnd = false;
    var capped = false;
    var at = 0;
    while (at < text.length && !capped) {
      var letter = text[at++];
      if (letter === END) {
        ended = true;
        afterEnd = at < text.length;
        break;
      }
      var count = 0;
      var digits = 0;
      for (; at < text.length && text[at] >= '0' && text[at] <= '9'; ++at, ++digits) {
        // Past the cap the count only has to stay past it.
        count = Math.min(count * 10 + (text.charCodeAt(at) - 48), REPLAY_CAP + 1);
      }
      var key = LETTER_KEYS[letter];
      if (!key || (digits > 0 && count === 0)) {
        unknown += 1 + digits;
        continue;
      }
      count = digits === 0 ? 1 : count;
      if (keys.length + count > REPLAY_CAP) {
        count = REPLAY_CAP - keys.length;
        capped = true;
      }
      for (var i = 0; i < count; ++i) {
        keys.push(key);
      }
    }
    var why = [];
    if (unknown > 0) {
      why.push(unknown.toLocaleString('en') + (unknown === 1 ? ' character that names' : ' characters that name') +
               ' no key');
    }
    if (afterEnd) {
      why.push('something after its end');
    }
    if (capped) {
      why.push('more than ' + REPLAY_CAP.toLocaleString('en') + ' presses');
    } else if (!ended) {
      why.push('no end: it may have been cut short');
    }
    return {keys: keys, leftOut: why.length > 0 ? why.join('; ') : null};
  }

  // A link's presses are replayed once main has set the scene up and before the first frame
  // (GLUT draws it at the next animation frame).
  Module.postRun = [].concat(Module.postRun || [], function() {
    var link = readLink(location.hash.slice(1));
    if (link.keys.length > 0) {
      offerGuideInstead();
      var began = performance.now();
      Module.pressKeysAtStart(link.keys);
      orvessaShare.replayMs = performance.now() - began;
      orvessaShare.replayed = link.keys.length;
    }
    if (link.leftOut !== null) {
      orvessaShare.leftOut = link.leftOut;
      showNote(link.keys.length > 0 ?
        'Part of this link was left out (' + link.leftOut + '): it opens where the first ' +
          link.keys.length.toLocaleString('en') + ' presses it holds lead.' :
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
