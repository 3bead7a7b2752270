// The six textures, made by the generator the native build runs (textures/texture_generator.cpp,
// compiled to textures.wasm) while the program's own wasm compiles; the program's main waits
// until they are in its folder, with the pictures kept from earlier visits over them. Making
// them costs less than downloading them (2.95 MB), and their bytes are the native files'.
//
// A worker makes them (texture_worker.js): made here, on the page's own thread, the larger
// ones were tasks of 50 to 90 ms on a phone's slower processor.
'use strict';

var orvessaStart = {
  texturesMs: null,  // performance.now() when the textures were ready
  error: null,       // why there are none, if so
  builtIn: {},       // the made files' bytes by name, which the Pictures menu puts back
};

(function() {
  // Compiled while it downloads (the page preloads it).
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

  // The worker starts while the generator compiles (a worker refused is an error like any).
  var worker = new Promise(function(resolve) {
    resolve(new Worker('texture_worker.js'));
  });
  var made = Promise.all([compileGenerator(), worker]).then(function(ready) {
    return new Promise(function(resolve, reject) {
      ready[1].onmessage = function(event) {
        if (event.data.error) {
          reject(new Error(event.data.error));
        } else {
          resolve(event.data.files);
        }
      };
      ready[1].onerror = function(event) {
        reject(new Error(event.message || 'texture_worker.js failed'));
      };
      ready[1].postMessage(ready[0]);
    });
  }).then(function(files) {
    orvessaStart.texturesMs = performance.now();
    return files;
  }, function(error) {
    // The program then starts as the desktop one does in a folder without them: white.
    orvessaStart.error = String(error);
    console.error('The textures could not be made: ' + error);
    return [];
  });
  worker.then(function(started) {
    made.then(function() { started.terminate(); });
  }, function() {});

  // The kept pictures (kept.js) go over the made textures: the first frame shows them.
  Module.preRun = [].concat(Module.preRun || [], function() {
    Module.addRunDependency('orvessa-textures');
    Promise.all([made, orvessaKept.atStart]).then(function(ready) {
      ready[0].forEach(function(file) {
        orvessaStart.builtIn[file.name] = file.bytes;
        Module.FS.writeFile(file.name, file.bytes);
      });
      var kept = ready[1];
      kept.usable.forEach(function(picture) {
        Module.FS.writeFile(picture.name, picture.bytes);
        orvessaPage.keptAtStart.push(picture.name);
      });
      if (kept.dropped.length > 0) {
        kept.dropped.forEach(function(picture) { orvessaPage.droppedKept.push(picture.name); });
        showNote('A kept picture could not be used (' + kept.dropped.map(function(picture) {
          return surfaceName(picture.name) + ': ' + picture.why;
        }).join(', ') + '); it is forgotten, and the built-in one shows.');
      }
      Module.removeRunDependency('orvessa-textures');
    });
  });
})();
