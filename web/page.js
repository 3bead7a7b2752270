// The page around the program: texture files dropped on it, the ended message, and a few
// counters (frames drawn, first frame time, files written) that tests and measurements read.
'use strict';

var TEXTURE_FILES = ['minar.bmp', 'grass.bmp', 'door.bmp', 'pool.bmp', 'roof.bmp', 'sw.bmp'];

var orvessaPage = {
  frames: 0,            // display callbacks run
  firstFrameMs: null,   // performance.now() when the first one ended (ms after navigation)
  drops: 0,             // drops whose files are all written
  written: [],          // texture files written by drops, in order
  ignored: [],          // other dropped files
  exitStatus: null,     // the program's exit status once it has ended
};

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
  printErr: function(text) { console.error(text); },
  // Runs after every call of the display callback.
  postMainLoop: function() {
    orvessaPage.frames += 1;
    if (orvessaPage.firstFrameMs === null) {
      orvessaPage.firstFrameMs = performance.now();
    }
  },
  onExit: function(status) {
    orvessaPage.exitStatus = status;
    hideNote();
    var ended = document.getElementById('ended');
    ended.textContent = 'The walk-through has ended (Escape). Reload the page to start it again.';
    ended.style.display = 'flex';
  },
};

// Files dropped anywhere on the page: each one named like a texture replaces that file in the
// program's working folder, where the next ordinary key press reads all six again, as on the
// desktop. The event need not be trusted, so a script can drop files too.
window.addEventListener('dragover', function(event) {
  event.preventDefault();
});
window.addEventListener('drop', function(event) {
  event.preventDefault();
  var files = Array.prototype.slice.call(event.dataTransfer ? event.dataTransfer.files : []);
  var ignored = files.filter(function(file) { return TEXTURE_FILES.indexOf(file.name) < 0; });
  var textures = files.filter(function(file) { return TEXTURE_FILES.indexOf(file.name) >= 0; });
  if (ignored.length > 0) {
    ignored.forEach(function(file) { orvessaPage.ignored.push(file.name); });
    showNote('Ignored ' + ignored.map(function(file) { return file.name; }).join(', ') +
             ': only ' + TEXTURE_FILES.join(', ') + ' are read.');
  }
  Promise.all(textures.map(function(file) {
    return file.arrayBuffer().then(function(bytes) {
      Module.FS.writeFile(file.name, new Uint8Array(bytes));
      orvessaPage.written.push(file.name);
    });
  })).then(function() {
    orvessaPage.drops += 1;
  });
});
