// The six textures, made at start-up by the generator the native build runs
// (tools/texture_generator.cpp, compiled to textures.wasm) in a worker, while the program's own
// files download and compile; the program's main waits until they are in its folder. Making
// them costs less than downloading them (2.95 MB), and their bytes are the native files'.
'use strict';

var orvessaTextures = {
  madeMs: null,  // performance.now() when the worker handed them over
  error: null,   // why there are none, if so
};

(function() {
  var made = new Promise(function(resolve) {
    function without(error) {
      // The program then starts as the desktop one does in a folder without them: white.
      orvessaTextures.error = String(error);
      console.error('The textures could not be made: ' + error);
      resolve([]);
    }
    var worker;
    try {
      worker = new Worker('texture_worker.js');
    } catch (error) {
      without(error);
      return;
    }
    worker.onmessage = function(event) {
      worker.terminate();
      if (event.data.error) {
        without(event.data.error);
        return;
      }
      orvessaTextures.madeMs = performance.now();
      resolve(event.data.files);
    };
    worker.onerror = function(event) {
      worker.terminate();
      without(event.message || 'texture_worker.js failed');
    };
  });

  Module.preRun = [].concat(Module.preRun || [], function() {
    Module.addRunDependency('orvessa-textures');
    made.then(function(files) {
      files.forEach(function(file) {
        Module.FS.writeFile(file.name, file.bytes);
      });
      Module.removeRunDependency('orvessa-textures');
    });
  });
})();
