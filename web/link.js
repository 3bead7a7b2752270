// A shared view's link, read and written: pure functions of their arguments, with no page and
// no program, so that Node can test them on any input (tests/web/link_properties.js). share.js
// feeds them the keys the program takes and presses what a link holds.
//
// After '#' a link holds the keys the program has taken since the start. 'view=' first, so that
// the page knows its own links from anything else after '#'; then one letter per key, followed
// by a count when it was pressed more than once in a row; 'z' ends the link, so that one cut
// short can be told from a whole one:
//
//   f b l r   Up, Down, Left, Right       u d   Page Up, Page Down      t   End
//   a c       +, - (roll)                 p s   look and slide mode     i   back to the start
//   x         any other key (a reload of the pictures)
//
// e.g. view=f42l7pf3z. Letters and digits only, since a chat or a mail program may leave
// punctuation at a link's end out of it. Each run of n presses takes at most n characters
// (one letter, or a letter and the digits of n >= 2), so the part after '#' is at most
// 6 characters more than the presses it holds, and a link holds at most REPLAY_CAP presses.
'use strict';

var orvessaLink = (function() {
  // At most this many presses are replayed from a link. Replayed, the dearest key (i: three
  // scene set-ups) costs about 0.04 ms here, so a link of that many draws its first frame well
  // under a second later than the start view would be; a walk only comes near it after minutes
  // of held keys without Start.
  var REPLAY_CAP = 10000;
  var MARK = 'view=';
  var END = 'z';

  // What each letter presses, by the key's DOM name (Module.pressKey).
  var KEYS = {f: 'ArrowUp', b: 'ArrowDown', l: 'ArrowLeft', r: 'ArrowRight', u: 'PageUp',
              d: 'PageDown', t: 'End', a: '+', c: '-', p: 'p', s: 's', i: 'i', x: 'x'};
  // GLUT's codes of the special keys that do something; the others (Home, F2, Shift...) only
  // ask for a frame, and a link leaves them out.
  var SPECIAL_LETTERS = {100: 'l', 101: 'f', 102: 'r', 103: 'b', 104: 'u', 105: 'd', 107: 't'};
  var CHARACTER_LETTERS = {43: 'a', 45: 'c', 112: 'p', 80: 'p', 115: 's', 83: 's', 105: 'i'};
  // Keys that move only the camera: their effect is gone after a press of i, which puts the
  // camera back at the start and keeps the modes and the refused directions.
  var CAMERA_ONLY = 'actxi';

  // The letter of a key the program took (GLUT's special key code or character code), or
  // null for one a link leaves out.
  function letterOf(special, key) {
    if (special) {
      return SPECIAL_LETTERS[key] || null;
    }
    return CHARACTER_LETTERS[key] || 'x';
  }

  // Adds a key taken to runs ([letter, count], as a link writes them). After a press of i the
  // program holds the modes and refused directions given (its state then), and the runs keep
  // only what still counts: with no direction refused, the modes alone; with one refused, the
  // walk that led there, less what only moved the camera since its last direction key.
  function take(runs, letter, after) {
    if (letter === 'i') {
      if (!after.anyDirectionBlocked) {
        runs.length = 0;
        if (after.lookMode) {
          runs.push(['p', 1]);
        }
        if (after.slideMode) {
          runs.push(['s', 1]);
        }
      } else {
        while (runs.length > 0 && CAMERA_ONLY.indexOf(runs[runs.length - 1][0]) >= 0) {
          runs.pop();
        }
      }
    }
    var last = runs[runs.length - 1];
    if (last && last[0] === letter) {
      last[1] += 1;
    } else {
      runs.push([letter, 1]);
    }
  }

  function pressesIn(runs) {
    return runs.reduce(function(sum, run) { return sum + run[1]; }, 0);
  }

  // The part after '#' of the link to runs: '' for none, null when they hold more presses
  // than a link replays.
  function write(runs) {
    if (runs.length === 0) {
      return '';
    }
    if (pressesIn(runs) > REPLAY_CAP) {
      return null;
    }
    return MARK + runs.map(function(run) {
      return run[0] + (run[1] > 1 ? run[1] : '');
    }).join('') + END;
  }

  // What the part of a link after '#' holds: the letters to press, at most REPLAY_CAP, and
  // what could not be used (null when nothing). It reads each character once and stops at the
  // cap, however long the text.
  function read(text) {
    if (text === '') {
      return {letters: [], leftOut: null};
    }
    if (text.slice(0, MARK.length) !== MARK) {
      return {letters: [], leftOut: 'it does not begin with ' + MARK};
    }
    var letters = [];
    var unknown = 0;
    var ended = false;
    var afterEnd = false;
    var capped = false;
    var at = MARK.length;
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
      if (!Object.prototype.hasOwnProperty.call(KEYS, letter) || (digits > 0 && count === 0)) {
        unknown += 1 + digits;
        continue;
      }
      count = digits === 0 ? 1 : count;
      if (letters.length + count > REPLAY_CAP) {
        count = REPLAY_CAP - letters.length;
        capped = true;
      }
      for (var i = 0; i < count; ++i) {
        letters.push(letter);
      }
    }
    var why = [];
    if (unknown > 0) {
      why.push(unknown.toLocaleString('en') +
               (unknown === 1 ? ' character that names' : ' characters that name') + ' no key');
    }
    if (afterEnd) {
      why.push('something after its end');
    }
    if (capped) {
      why.push('more than ' + REPLAY_CAP.toLocaleString('en') + ' presses');
    } else if (!ended) {
      why.push('no end: it may have been cut short');
    }
    return {letters: letters, leftOut: why.length > 0 ? why.join('; ') : null};
  }

  return {REPLAY_CAP: REPLAY_CAP, KEYS: KEYS, letterOf: letterOf, take: take,
          pressesIn: pressesIn, write: write, read: read};
})();

// Node's require() (the tests); the page has it as a global.
if (typeof module === 'object' && module.exports) {
  module.exports = orvessaLink;
}
