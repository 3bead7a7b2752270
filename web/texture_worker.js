// Makes some of the six textures with the generator the page has compiled (textures.wasm,
// tools/texture_generator.cpp) and hands them back as BMP file bytes (start.js).
'use strict';

// The module needs no runtime: these are all it imports.
var imports = {
  env: {emscripten_notify_memory_growth: function() {}},
  wasi_snapshot_preview1: {
    proc_exit: function(code) { throw new Error('textures.wasm ended with status ' + code); },
  },
};

function cString(memory, address) {
  var bytes = new Uint8Array(memory.buffer, address);
  return String.fromCharCode.apply(null, bytes.subarray(0, bytes.indexOf(0)));
}

// {module: the compiled generator, textures: the indices to make}
self.onmessage = function(event) {
  WebAssembly.instantiate(event.data.module, imports).then(function(instance) {
    var generator = instance.exports;
    generator._initialize();
    var files = event.data.textures.map(function(index) {
      var address = generator.orvessa_texture_make(index);
      var bytes = new Uint8Array(generator.memory.buffer, address,
                                 generator.orvessa_texture_size());
      return {name: cString(generator.memory, generator.orvessa_texture_name(index)),
              bytes: bytes.slice()};
    });
    self.postMessage({files: files}, files.map(function(file) { return file.bytes.buffer; }));
  }).catch(function(error) {
    self.postMessage({error: String(error)});
  });
};
