// The six textures, made by the generator the native build runs (textures/texture_generator.cpp,
// compiled to textures.wasm) while the program's own wasm compiles; the program's main waits
// until they are in its folder, with the pictures kept from earlier visits over them. Making
// them costs less than downloading them (2.95 MB), and their bytes are the native files'.
//
// They are made here, on the page's own thread, before the first frame: there is nothing yet
// to answer, and a worker's start-up costs more than it saves on a machine of two cores. Each
// is a task of its own, so that the thread is never held for all six at once.
'use strict';

var orvessaStart = {
  texturesMs: null,  // performance.now() when the textures were ready
  error: null,       // why there are none, if so
  builtIn: {},       // the made files' bytes by name, which the Pictures menu puts back
};

(function() {
  // The generator needs no runtime: these are all it imports.
  var IMPORTS = {
    env: {emscripten_notify_memory_growth: function() {}},
    wasi_snapshot_preview1: {
      proc_exit: function(code) { throw new Error('textures.wasm ended with status ' + code); },
    },
  };

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

  function cString(memory, address) {
    var bytes = new Uint8Array(memory.buffer, address);
    return String.fromCharCode.apply(null, bytes.subarray(0, bytes.indexOf(0)));
  }

  // A task of its own for each texture: the page's thread is never held for all six at once,
  // and whatever else is due (the program's compile finishing, a paint) comes in between.
  function nextTask() {
    return new Promise(function(resolve) {
      var channel = new MessageChannel();
      channel.port1.onmessage = function() { resolve(); };
      channel.port2.postMessage(null);
    });
  }

  // Every texture the generator knows, as {name, bytes of its BMP file}.
  function makeAll(instance) {
    var generator = instance.exports;
    generator._initialize();
    var files = [];
    function makeFrom(index) {
      if (index === generator.orvessa_texture_count()) {
        return files;
      }
      var address = generator.orvessa_texture_make(index);
      // Copied out: the next texture reuses the generator's buffer.
      files.push({
        name: cString(generator.memory, generator.orvessa_texture_name(index)),
        bytes: new Uint8Array(generator.memory.buffer, address,
                              generator.orvessa_texture_size()).slice(),
      });
      return nextTask().then(function() { return makeFrom(index + 1); });
    }
    return makeFrom(0);
  }

  // The runtime starts compiling orvessa.wasm when orvessa.js runs, on a thread of its own.
  // Made after that, the textures keep this thread busy while the compile goes on; made
  // before, they would hold orvessa.js back and the compile would start only after them.
  var runtimeStarted = new Promise(function(resolve) {
    Module.preInit = [].concat(Module.preInit || [], function() { resolve(); });
  });

  var made = Promise.all([compileGenerator(), runtimeStarted]).then(function(ready) {
    return WebAssembly.instantiate(ready[0], IMPORTS);
  }).then(makeAll).then(function(files) {
    orvessaStart.texturesMs = performance.now();
    return files;
  }, function(error) {
    // The program then starts as the desktop one does in a folder without them: white.
    orvessaStart.error = String(error);
    console.error('The textures could not be made: ' + error);
    return [];
  });

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
