// The guide to the keys (where a shared view opens, a line saying where it is), and the
// on-screen controls of touch devices. Every control presses the key it names (data-key),
// through the same GLUT handler a key goes through, so a tap gives the frame its key gives.
// Held keys repeat here for the controls and the gamepad (gamepad.js).
'use strict';

// A keyboard's auto-repeat: the first repeat after a pause, then a steady rate.
var REPEAT_DELAY_MS = 400;
var REPEAT_INTERVAL_MS = 40;
// Keys that repeat while held. Held toggles, the reset and the half turn would only flicker.
var REPEATING_KEYS = ['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', 'PageUp', 'PageDown',
                      '+', '-'];

var guide = document.getElementById('guide');
// The guide comes with the program's first frame, over the view it explains. Painted any
// earlier, over an empty page, it holds up the browser's compositor just as the program
// creates its GL context, and the view appears later.
var guideWaiting = true;
var controlButtons = Array.prototype.slice.call(document.querySelectorAll('.pad [data-key]'));

// A page opened at a shared view (share.js) shows that view uncovered: instead of the guide,
// a line at the top edge says where the guide is, until the first key or touch.
var guideHint = document.getElementById('guide-hint');
var hintWaiting = false;

function hideHint() {
  hintWaiting = false;
  guideHint.hidden = true;
}

function showGuide(shown) {
  guide.hidden = !shown;
  hideHint();
  document.body.classList.toggle('guide-shown', shown);
}

function hideGuide() {
  // A key or a touch before the first frame means the guide is not wanted.
  guideWaiting = false;
  showGuide(false);
  showPicturesMenu(false);
}

function offerGuideInstead() {
  if (guideWaiting) {
    guideWaiting = false;
    hintWaiting = true;
  }
}

afterFirstFrame.push(function() {
  if (guideWaiting) {
    showGuide(true);
  } else if (hintWaiting) {
    guideHint.hidden = false;
  }
});
guideHint.addEventListener('click', function() {
  showGuide(true);
});

// F1 belongs to the page: it shows or hides the guide and never reaches the program. This
// listener is the window's first, so it runs before GLUT's.
window.addEventListener('keydown', function(event) {
  if (event.key === 'F1') {
    event.preventDefault();
    event.stopImmediatePropagation();
    if (guide.hidden) {
      showGuide(true);
    } else {
      hideGuide();
    }
  } else {
    hideGuide();
  }
}, true);

// Touch devices get the controls: at once where the main pointer is a finger, or from the
// first touch anywhere (a laptop's touch screen).
function useTouchControls() {
  if (!document.body.classList.contains('touch')) {
    document.body.classList.add('touch');
    showModes();
  }
}
if (window.matchMedia('(pointer: coarse)').matches) {
  useTouchControls();
}
window.addEventListener('touchstart', function(event) {
  useTouchControls();
  // The first touch on the view itself only puts the guide away.
  if (!event.target.closest('#guide-hint')) {
    hideHint();
  }
  if (!event.target.closest('#page-pad, #pictures-menu, #share-panel, [data-fullscreen], ' +
                            '#guide-hint')) {
    hideGuide();
  }
}, {capture: true, passive: true});

function programRunning() {
  return typeof Module.pressKey === 'function' && orvessaPage.exitStatus === null;
}

// Presses a key for a control, a drag or a gamepad, noting it in that one's list of presses.
function pressControl(key, presses) {
  if (programRunning()) {
    (presses || orvessaPage.controlPresses).push(key);
    Module.pressKey(key);
  }
}

// The look and slide controls show the modes as the program holds them after each frame;
// in look mode the walk controls tilt, in slide mode the turn controls step sideways.
var LABELS = {
  ArrowUp: ['Walk forward', 'Tilt up'], ArrowDown: ['Walk back', 'Tilt down'],
  ArrowLeft: ['Turn left', 'Step left'], ArrowRight: ['Turn right', 'Step right'],
};
function showModes() {
  if (!document.body.classList.contains('touch') || !programRunning()) {
    return;
  }
  var look = Module._orvessa_look_mode() === 1;
  var slide = Module._orvessa_slide_mode() === 1;
  controlButtons.forEach(function(button) {
    var key = button.getAttribute('data-key');
    if (key === 'p') {
      button.setAttribute('aria-pressed', look ? 'true' : 'false');
    } else if (key === 's') {
      button.setAttribute('aria-pressed', slide ? 'true' : 'false');
    } else if (LABELS[key]) {
      var vertical = key === 'ArrowUp' || key === 'ArrowDown';
      button.setAttribute('aria-label', LABELS[key][(vertical ? look : slide) ? 1 : 0]);
    }
  });
}
afterFrame.push(showModes);

// A press at once, then repeats while held. Each holder (a finger, a gamepad's button) has its
// own timer, so two controls held at once both repeat.
var repeatTimers = {};

function holdKey(holder, key, presses) {
  releaseKey(holder);
  pressControl(key, presses);
  if (REPEATING_KEYS.indexOf(key) >= 0) {
    repeatTimers[holder] = setTimeout(function() {
      repeatTimers[holder] = setInterval(function() {
        pressControl(key, presses);
      }, REPEAT_INTERVAL_MS);
    }, REPEAT_DELAY_MS);
  }
}

function releaseKey(holder) {
  clearTimeout(repeatTimers[holder]);
  clearInterval(repeatTimers[holder]);
  delete repeatTimers[holder];
}

controlButtons.forEach(function(button) {
  var key = button.getAttribute('data-key');
  button.addEventListener('pointerdown', function(event) {
    event.preventDefault();
    hideGuide();
    // A finger is held by the control it touched first; released, sliding off ends the hold.
    if (button.hasPointerCapture(event.pointerId)) {
      button.releasePointerCapture(event.pointerId);
    }
    holdKey('pointer ' + event.pointerId, key);
  });
  ['pointerup', 'pointercancel', 'pointerleave'].forEach(function(type) {
    button.addEventListener(type, function(event) {
      releaseKey('pointer ' + event.pointerId);
    });
  });
  // No mouse events, click, text selection or long-press menu after a touch on a control.
  button.addEventListener('touchstart', function(event) {
    event.preventDefault();
  }, {passive: false});
  button.addEventListener('contextmenu', function(event) {
    event.preventDefault();
  });
});
