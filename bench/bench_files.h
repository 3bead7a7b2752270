// What the benchmark pictures hold, how they are written, and the plain read that every
// reader is compared with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "bmp_file_builder.h"
#include "image/rgb_pixel.h"

// The colour stored at (col, row) of the benchmark pictures, and the palette index of the
// 8-bit one: every pixel differs from its neighbours, so no reader can get away with less.
RgbPixel benchPixel(int col, int row);
std::uint8_t benchIndex(int col, int row);
RgbPixel benchPaletteEntry(int index);

// Sound bottom-up BMP files of those pictures; both return the file's size.
std::size_t writeBmp24(const std::string& path, int width, int height);
std::size_t writeBmp8(const std::string& path, int width, int height);

// The floor: one open, one read of `size` bytes into `buffer`, one close. Returns the bytes
// read, or 0 when the file cannot be opened.
std::size_t readWholeFile(const std::string& path, void* buffer, std::size_t size);
