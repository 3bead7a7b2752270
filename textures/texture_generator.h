// The six textures Orvessa paints its scene with, drawn procedurally as 24-bit BMP files.
// make_textures writes them to disk for the native and the Windows builds; the web page makes
// them at start-up from the same code compiled to a small wasm module.
#pragma once

#include <cstdint>
#include <vector>

namespace texture_generator {

// The file names, in the order textureFile takes them.
constexpr int kTextureCount = 6;
extern const char* const kTextureNames[kTextureCount];

// The whole BMP file of texture `index` (0 to kTextureCount - 1); empty for any other index.
// Integer arithmetic only, so the bytes are the same on every compiler and machine.
std::vector<std::uint8_t> textureFile(int index);

} // namespace texture_generator
