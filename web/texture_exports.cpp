// The texture generator as a wasm module of its own, for the page (start.js): no runtime and
// no file system, only these exports.
#include <cstdint>
#include <vector>

#include <emscripten/emscripten.h>

#include "textures/texture_generator.h"

namespace {
// The texture made last: the page copies it out before asking for the next.
std::vector<std::uint8_t> made;
} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE int orvessa_texture_count() {
    return texture_generator::kTextureCount;
}

// The file name of texture `index`, a C string in the module's memory.
EMSCRIPTEN_KEEPALIVE const char* orvessa_texture_name(int index) {
    return index >= 0 && index < texture_generator::kTextureCount
               ? texture_generator::kTextureNames[index]
               : nullptr;
}

// Makes texture `index`: the address of its BMP file's bytes, valid until the next call;
// orvessa_texture_size() is their number (0 for an unknown index).
EMSCRIPTEN_KEEPALIVE const std::uint8_t* orvessa_texture_make(int index) {
    made = texture_generator::textureFile(index);
    return made.data();
}

EMSCRIPTEN_KEEPALIVE int orvessa_texture_size() {
    return static_cast<int>(made.size());
}
}
