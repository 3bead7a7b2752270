// A gamepad with the browser's standard mapping presses the program's keys, through the same
// handler a key goes through. Held, the arrows, fly and roll repeat as a held control does.
//
//   D-pad, left stick   arrows: walk, turn (tilt in look mode, step in slide mode)
//   RT / LT             Page Up / Page Down: fly up / down
//   LB / RB             + / -: roll left / right
//   Y                   End: turn round
//   A                   p: look mode
//   X                   s: slide mode
//   Start               i: back to the start
//   Back (View)         show or hide the guide, as F1 does
//
// Polled once per animation frame while a gamepad is connected; nothing runs otherwise.
'use strict';

(function() {
  // The standard mapping's button numbers.
  var BUTTON_KEYS = {12: 'ArrowUp', 13: 'ArrowDown', 14: 'ArrowLeft', 15: 'ArrowRight',
                     7: 'PageUp', 6: 'PageDown', 4: '+', 5: '-', 3: 'End', 0: 'p', 2: 's',
                     9: 'i'};
  var BACK = 8;
  // How far the left stick must lean, of its full travel, to press an arrow.
  var STICK = 0.5;

  var polling = false;
  var held = {};     // 'pad key' -> true, for the keys held on each pad
  var backHeld = {}; // pad -> whether its Back button was down at the last poll

  function standardPads() {
    var pads = navigator.getGamepads ? navigator.getGamepads() : [];
    return Array.prototype.filter.call(pads || [], function(pad) {
      return pad && pad.connected && pad.mapping === 'standard';
    });
  }

  function down(pad, index) {
    var button = pad.buttons[index];
    return !!button && (button.pressed || button.value > 0.5);
  }

  // The keys a pad holds down now.
  function keysOf(pad) {
    var keys = [];
    Object.keys(BUTTON_KEYS).forEach(function(index) {
      if (down(pad, index)) {
        keys.push(BUTTON_KEYS[index]);
      }
    });
    // The stick's axes run from -1 (left, up) to 1 (right, down).
    var x = pad.axes[0] || 0;
    var y = pad.axes[1] || 0;
    if (Math.abs(x) > STICK) {
      keys.push(x < 0 ? 'ArrowLeft' : 'ArrowRight');
    }
    if (Math.abs(y) > STICK) {
      keys.push(y < 0 ? 'ArrowUp' : 'ArrowDown');
    }
    return keys;
  }

  function poll() {
    orvessaPage.padPolls += 1;
    var pads = standardPads();
    var now = {};
    pads.forEach(function(pad) {
      keysOf(pad).forEach(function(key) {
        now['pad ' + pad.index + ' ' + key] = key;
      });
      var back = down(pad, BACK);
      if (back && !backHeld[pad.index]) {
        if (guide.hidden) {
          showGuide(true);
        } else {
          hideGuide();
        }
      }
      backHeld[pad.index] = back;
    });
    Object.keys(held).forEach(function(holder) {
      if (!(holder in now)) {
        releaseKey(holder);
        delete held[holder];
      }
    });
    Object.keys(now).forEach(function(holder) {
      if (!held[holder]) {
        held[holder] = true;
        hideGuide();
        holdKey(holder, now[holder], orvessaPage.padPresses);
      }
    });
    polling = pads.length > 0;
    if (polling) {
      requestAnimationFrame(poll);
    }
  }

  function startPolling() {
    if (!polling && standardPads().length > 0) {
      polling = true;
      document.body.classList.add('gamepad');
      requestAnimationFrame(poll);
    }
  }

  window.addEventListener('gamepadconnected', startPolling);
  startPolling();
})();
