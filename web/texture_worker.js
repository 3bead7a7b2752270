// The texture generator (textures.wasm, compiled by the page) run on a thread of its own. The
// page (start.js) sends the compiled module; this worker makes every texture the generator
// knows and sends back their files, so that making them never holds the page's thread.
'use strict';

// The generator needs no runtime: these are all it imports.
var IMPORTS = {
  env: {emscripten_notify_memory_growth: function() {}},
  wasi_snapshot_preview1: {
    proc_exit: function(code) { throw new Error('textures.wasm ended with status ' + code); },
  },
};

function cString(memory, address) {
  var bytes = new Uint8Array(memory.buffer, address);
  return String.fromCharCode.apply(null, bytes.subarray(0, bytes.indexOf(0)));
}

// Every texture as {name, bytes of its BMP file}.
function makeAll(instance) {
  var generator = instance.exports;
  generator._initialize();
  var files = [];
  for (var index = 0; index < generator.orvessa_texture_count(); ++index) {
    var address = generator.orvessa_texture_make(index);
    // Copied out: the next texture reuses the generator's buffer.
    files.push({
      name: cString(generator.memory, generator.orvessa_texture_name(index)),
      bytes: new Uint8Array(generator.memory.buffer, address,
                            generator.orvessa_texture_size()).slice(),
    });
  }
  return files;
}

onmessage = function(event) {
  WebAssembly.instantiate(event.data, IMPORTS).then(makeAll).then(function(files) {
    postMessage({files: files}, files.map(function(file) { return file.bytes.buffer; }));
  }, function(error) {
    postMessage({error: String(error)});
  });
};
