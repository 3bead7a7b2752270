// One colour as three bytes, laid out exactly as GL_RGB / GL_UNSIGNED_BYTE expects.
#pragma once

#include <cstdint>

struct RgbPixel {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
};

static_assert(sizeof(RgbPixel) == 3, "an array of pixels must be tightly packed RGB bytes");
