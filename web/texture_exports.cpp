// The texture generator as a wasm module of its own, for the page's worker
// (texture_worker.js): no runtime and no file system, only these exports.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <emscripten/emscripten.h>

#include "tools/texture_generator.h"

namespace {
std::uint8_t* made = nullptr;
std::size_t madeSize = 0;
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
    const std::vector<std::uint8_t> bytes = texture_generator::textureFile(index);
    std::free(made);
    madeSize = bytes.size();
    made = static_cast<std::uint8_t*>(std::malloc(madeSize > 0 ? madeSize : 1));
    if (made == nullptr) {
        madeSize = 0;
        return nullptr;
    }
    std::memcpy(made, bytes.data(), madeSize);
    return made;
}

EMSCRIPTEN_KEEPALIVE int orvessa_texture_size() {
    return static_cast<int>(madeSize);
}
}
