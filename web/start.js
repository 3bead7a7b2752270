// What the page starts before the program's own code arrives: the six textures, made by the
// generator the native build runs (tools/texture_generator.cpp, compiled to textures.wasm) in
// two workers while the program's files download and compile; the program's main waits until
// they are in its folder. Making them costs less than downloading them (2.95 MB), and their
// bytes are the native files'.
'use strict';

var orvessaStart = {
  texturesMs: null,  // performance.now() when the textures were ready
  error: null,       // why there are none, if so
};

(function() {
  // Two shares of about the same cost, one per worker: on a machine with two cores or more
  // they take half the time one worker would.
  var SHARES = [[0, 1], [2, 3, 4, 5]];  // minar, grass; door, pool, roof, sw

  // Compiled once, here, while it downloads; each worker gets the compiled module.
  function compileGenerator() {
    var response = fetch('textures.wasm');
    return WebAssembly.compileStreaming(response.then(function(answer) {
      return answer.clone();
    })).catch(function() {
      // A server that does not say application/wasm: compiled once downloaded.
      return response.then(function(answer) {
        if (!answer.ok) {
          throw new Error('textures.wasm: ' + answer.status);
        }
        return answer.arrayBuffer();
      }).then(function(bytes) {
        return WebAssembly.compile(bytes);
      });
    });
  }

  function makeInWorker(generator, share) {
    return new Promise(function(resolve, reject) {
      var worker = new Worker('texture_worker.js');
      worker.onmessage = function(event) {
        worker.terminate();
        if (event.data.error) {
          reject(new Error(event.data.error));
        } else {
          resolve(event.data.files);
        }
      };
      worker.onerror = function(event) {
        worker.terminate();
        reject(new Error(event.message || 'texture_worker.js failed'));
      };
      generator.then(function(module) {
        worker.postMessage({module: module, textures: share});
      }, function(error) {
        worker.terminate();
        reject(error);
      });
    });
  }

  var made;
  try {
    var generator = compileGenerator();
    made = Promise.all(SHARES.map(function(share) {
      return makeInWorker(generator, share);
    }));
  } catch (error) {
    made = Promise.reject(error);
  }
  made = made.then(function(shares) {
    orvessaStart.texturesMs = performance.now();
    return [].concat.apply([], shares);
  }, function(error) {
    // The program then starts as the desktop one does in a folder without them: white.
    orvessaStart.error = String(error);
    console.error('The textures could not be made: ' + error);
    return [];
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
