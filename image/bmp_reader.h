// Decoding 24-bit and 8-bit BMP bytes into an RgbImage, from memory or from a file.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/rgb_image.h"

// No texture needs more: GL implementations here top out at 16384 texels a side.
inline constexpr std::int32_t kMaxBmpDimension = 16384;

// Same results as RgbImage::loadBmp24 / loadBmp8 on a file holding these bytes.
int decodeBmp24(const std::uint8_t* data, std::size_t size, RgbImage& image);
int decodeBmp8(const std::uint8_t* data, std::size_t size, RgbImage& image);
