// The page around the program: the runtime's settings, the short note, the ended message, and
// a few counters (frames drawn, first frame time, files written) that tests and measurements
// read. Pictures (pictures.js) and the guide and controls (controls.js) build on it.
'use strict';

var TEXTURE_FILES = ['minar.bmp', 'grass.bmp', 'door.bmp', 'pool.bmp', 'roof.bmp', 'sw.bmp'];

var orvessaPage = {
  frames: 0,            // display callbacks run
  firstFrameMs: null,   // performance.now() when the first one ended (ms after navigation)
  drops: 0,             // drops whose files are all written
  written: [],          // texture files written by drops or the picker, in order
  ignored: [],          // other dropped files
  unreadable: [],       // pictures the browser could not decode
  pictures: 0,          // pictures chosen with the picker and shown
  controlPresses: [],   // keys pressed by the on-screen controls, in order
  dragPresses: [],      // keys pressed by dragging the view, in order
  padPresses: [],       // keys pressed by a gamepad, in order
  padPolls: 0,          // animation frames a gamepad was polled in
  kept: [],             // pictures kept for the next visit, in order
  notKept: [],          // pictures shown but not kept (storage refused, or not a 24-bit BMP)
  keptAtStart: [],      // kept pictures written over the made textures before main
  droppedKept: [],      // kept pictures found unusable at the start, and forgotten
  restores: 0,          // built-in pictures put back with the Pictures menu
  saved: [],            // views saved as pictures: {name, to: 'download' or 'share sheet'}
  exitStatus: null,     // the program's exit status once it has ended
};

// Called after every frame, by the controls to show the program's modes.
var afterFrame = [];
// Called once, after the first frame: what would only delay the view if done earlier.
var afterFirstFrame = [];

var note = document.getElementById('note');
var noteTimer = null;

function showNote(text) {
  note.textContent = text;
  note.style.display = 'block';
  clearTimeout(noteTimer);
  noteTimer = setTimeout(hideNote, 5000);
}

function hideNote() {
  note.style.display = 'none';
}

// Nothing may cover the view once keys are pressed: the note goes with the next key.
window.addEventListener('keydown', hideNote, true);

// The program's end unwinds the key handler that called exit() with an ExitStatus; that is the
// end the page reports, not an error.
window.addEventListener('error', function(event) {
  if (event.error && event.error.name === 'ExitStatus') {
    event.preventDefault();
  }
});

var canvas = document.getElementById('canvas');
// GLUT listens to the whole window; focusing the canvas keeps the keys from going anywhere else
// without a first click.
canvas.focus();

var Module = {
  canvas: canvas,
  print: function(text) { console.log(text); },
  // The runtime's notes on its GL emulation ("WARNING: using emscripten GL emulation...") are
  // warnings, not errors: an ordinary visit logs no error.
  printErr: function(text) {
    if (/^WARNING: /.test(text)) {
      console.warn(text);
    } else {
      console.error(text);
    }
  },
  // Runs after every call of the display callback.
  postMainLoop: function() {
    orvessaPage.frames += 1;
    var first = orvessaPage.firstFrameMs === null;
    if (first) {
      orvessaPage.firstFrameMs = performance.now();
    }
    afterFrame.forEach(function(call) { call(); });
    if (first) {
      afterFirstFrame.forEach(function(call) { call(); });
    }
  },
  onExit: function(status) {
    orvessaPage.exitStatus = status;
    hideNote();
    var ended = document.getElementById('ended');
    // Escape ends it with 0; anything else is the browser's WebGL 2 missing (web/browser.cpp).
    ended.textContent = status === 0 ?
        'The walk-through has ended (Escape). Reload the page to start it again.' :
        'The walk-through needs WebGL 2, which this browser does not offer or has turned off. ' +
        'Try another browser, or turn on its hardware acceleration.';
    ended.style.display = 'flex';
  },
};
