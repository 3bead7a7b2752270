// The files the benchmarks read: BMPs written into a private temporary folder, and the
// plain read that every reader is compared with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "image/rgb_pixel.h"

// A fresh folder under the system's temporary directory, removed with its files.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// The colour stored at (col, row) of the benchmark pictures, and the palette index of the
// 8-bit one: every pixel differs from its neighbours, so no reader can get away with less.
RgbPixel benchPixel(int col, int row);
std::uint8_t benchIndex(int col, int row);
RgbPixel benchPaletteEntry(int index);

// Sound bottom-up BMP files as an image editor writes them; both return the file's size.
std::size_t writeBmp24(const std::string& path, int width, int height);
std::size_t writeBmp8(const std::string& path, int width, int height);

// The floor: one open, one read of `size` bytes into `buffer`, one close. Returns the bytes
// read, or 0 when the file cannot be opened.
std::size_t readWholeFile(const std::string& path, void* buffer, std::size_t size);
