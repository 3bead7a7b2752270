// BMP bytes for the tests, written field by field in little-endian order.
#include "bmp_file_builder.h"

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace {

void put16(Bytes& out, std::size_t at, std::uint16_t value) {
    out[at] = static_cast<std::uint8_t>(value);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void put32(Bytes& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::size_t strideOf(std::size_t rowBytes) {
    return (rowBytes + 3) / 4 * 4;
}

} // namespace

Bytes bmpHeaderBytes(const BmpHeader& header) {
    Bytes out(54, 0);
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 10, header.offBits);
    put32(out, 14, 40);
    put32(out, 18, static_cast<std::uint32_t>(header.width));
    put32(out, 22, static_cast<std::uint32_t>(header.height));
    put16(out, 26, 1);
    put16(out, 28, header.bitCount);
    put32(out, 46, header.colourCount);
    return out;
}

Bytes bmp24File(int width, int height, const PixelAt& pixelAt, std::uint32_t offBits) {
    Bytes out = bmpHeaderBytes({offBits, width, height, 24, 0});
    // Filler between the headers and the pixels must never be taken for pixels.
    out.resize(offBits, 0xEE);
    const std::size_t stride = strideOf(3 * static_cast<std::size_t>(width));
    for (int row = 0; row < height; ++row) {
        Bytes line(stride, 0xAB); // padding bytes must never reach the picture either
        for (int col = 0; col < width; ++col) {
            const RgbPixel p = pixelAt(col, row);
            line[3 * col] = p.b;
            line[3 * col + 1] = p.g;
            line[3 * col + 2] = p.r;
        }
        out.insert(out.end(), line.begin(), line.end());
    }
    put32(out, 2, static_cast<std::uint32_t>(out.size()));
    return out;
}

Bytes bmp8File(int width, int height, const std::vector<RgbPixel>& palette,
               const std::function<std::uint8_t(int col, int row)>& indexAt) {
    const auto offBits = static_cast<std::uint32_t>(54 + 4 * palette.size());
    Bytes out =
        bmpHeaderBytes({offBits, width, height, 8, static_cast<std::uint32_t>(palette.size())});
    for (const RgbPixel& entry : palette) {
        out.insert(out.end(), {entry.b, entry.g, entry.r, 0x55});
    }
    const std::size_t stride = strideOf(static_cast<std::size_t>(width));
    for (int row = 0; row < height; ++row) {
        Bytes line(stride, 0xCD);
        for (int col = 0; col < width; ++col) {
            line[col] = indexAt(col, row);
        }
        out.insert(out.end(), line.begin(), line.end());
    }
    put32(out, 2, static_cast<std::uint32_t>(out.size()));
    return out;
}

RgbPixel patternPixel(int col, int row) {
    return RgbPixel{static_cast<std::uint8_t>(10 + col), static_cast<std::uint8_t>(100 + row),
                    static_cast<std::uint8_t>(200 + col + row)};
}

bool operator==(const RgbPixel& a, const RgbPixel& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

std::string toString(const RgbPixel& pixel) {
    return "(" + std::to_string(pixel.r) + ", " + std::to_string(pixel.g) + ", " +
           std::to_string(pixel.b) + ")";
}

void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

ScratchDir::ScratchDir() {
    // A fresh name each try; create_directory fails on one that exists, so the folder is ours.
    std::random_device seed;
    std::mt19937_64 names(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::ostringstream name;
        name << "orvessa-test-" << std::hex << names();
        const std::filesystem::path candidate = std::filesystem::temp_directory_path() / name.str();
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a scratch folder");
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}
