// Makes the six textures with textures.wasm (tools/texture_generator.cpp, the native build's
// generator) off the page's thread and hands them over as BMP file bytes (textures.js).
'use strict';

// The module needs no runtime: these are all it imports.
var imports = {
  env: {emscripten_notify_memory_growth: function() {}},
  wasi_snapshot_preview1: {
    proc_exit: function(code) { throw new Error('textures.wasm ended with status ' + code); },
  },
};

function instantiate() {
  var response = fetch('textures.wasm');
  // Compiled while it downloads where the server says application/wasm; any other server
  // still works.
  return WebAssembly.instantiateStreaming(response, imports).catch(function() {
    return response.then(function(answer) {
      if (!answer.ok) {
        throw new Error('textures.wasm: ' + answer.status);
      }
      return answer.arrayBuffer();
    }).then(function(bytes) {
      return WebAssembly.instantiate(bytes, imports);
    });
  });
}

function cString(memory, address) {
  var bytes = new Uint8Array(memory.buffer, address);
  var end = bytes.indexOf(0);
  return String.fromCharCode.apply(null, bytes.subarray(0, end));
}

instantiate().then(function(result) {
  var module = result.instance.exports;
  module._initialize();
  var files = [];
  for (var i = 0; i < module.orvessa_texture_count(); ++i) {
    var address = module.orvessa_texture_make(i);
    var bytes = new Uint8Array(module.memory.buffer, address, module.orvessa_texture_size());
    files.push({name: cString(module.memory, module.orvessa_texture_name(i)),
                bytes: bytes.slice()});
  }
  self.postMessage({files: files}, files.map(function(file) { return file.bytes.buffer; }));
}).catch(function(error) {
  self.postMessage({error: String(error)});
});
