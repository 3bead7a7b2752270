// The row-by-row reading the BMP format describes, one pixel at a time: an independent
// reference the readers are checked against by the tests and the fuzzers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "image/rgb_pixel.h"

struct ReferenceSize {
    std::int32_t cols = 0;
    std::int32_t rows = 0;
};

// The picture's size, upright; nothing when the file is refused: shorter than the headers,
// outside 0..16384 columns and -16384..16384 rows, or claiming more than 1 MiB of rows (stride
// times rows, at the reader's depth) while holding less than an eighth of them from bfOffBits.
std::optional<ReferenceSize> referenceSize(const std::uint8_t* data, std::size_t size,
                                           bool eightBit);

// Every pixel, row 0 (the bottom) first: each stored row sought on its own, each pixel taken
// only when all its bytes are in the file, black otherwise. Nothing when the file is refused.
std::optional<std::vector<RgbPixel>> referenceDecode(const std::uint8_t* data, std::size_t size,
                                                     bool eightBit);
