// Builds BMP files byte by byte for the tests, sound or deliberately broken.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "image/rgb_pixel.h"

using Bytes = std::vector<std::uint8_t>;

// The header fields a test may want to bend; the rest are written as a sound file has them.
struct BmpHeader {
    std::uint32_t offBits = 54;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitCount = 24;
    std::uint32_t colourCount = 0;
};

// The 54 header bytes alone.
Bytes bmpHeaderBytes(const BmpHeader& header);

using PixelAt = std::function<RgbPixel(int col, int row)>;

// A 24-bit file whose stored row k holds pixelAt(col, k), with padding and a gap of filler
// bytes up to offBits.
Bytes bmp24File(int width, int height, const PixelAt& pixelAt, std::uint32_t offBits = 54);

// An 8-bit file with the given palette (written as its entries, colourCount set to its size
// unless forced) and stored row k holding indexAt(col, k).
Bytes bmp8File(int width, int height, const std::vector<RgbPixel>& palette,
               const std::function<std::uint8_t(int col, int row)>& indexAt);

// A distinct, easily checked colour for every position.
RgbPixel patternPixel(int col, int row);

bool operator==(const RgbPixel& a, const RgbPixel& b);
std::string toString(const RgbPixel& pixel);

void writeFile(const std::filesystem::path& path, const Bytes& bytes);

// A fresh folder under the system's temporary directory, removed with everything in it.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};
