// Benchmark input files and the raw read they are measured against.
#include "bench_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

TempFolder::TempFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "orvessa-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder for the benchmark files");
    }
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

RgbPixel benchPixel(int col, int row) {
    return {static_cast<std::uint8_t>(col * 7 + row * 3), static_cast<std::uint8_t>(col ^ row),
            static_cast<std::uint8_t>(col + row * 5 + 1)};
}

std::uint8_t benchIndex(int col, int row) {
    return static_cast<std::uint8_t>(col * 5 + row * 11 + (col >> 3));
}

RgbPixel benchPaletteEntry(int index) {
    return {static_cast<std::uint8_t>(index), static_cast<std::uint8_t>(255 - index),
            static_cast<std::uint8_t>(index * 37)};
}

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(Bytes& out, std::uint32_t value) {
    put16(out, value & 0xFFFFu);
    put16(out, value >> 16);
}

// The 14-byte file header and the 40-byte BITMAPINFOHEADER of an uncompressed file.
Bytes headers(int width, int height, int bitCount, std::uint32_t paletteEntries,
              std::uint32_t stride) {
    const std::uint32_t offBits = 54 + 4 * paletteEntries;
    const std::uint32_t imageBytes = stride * static_cast<std::uint32_t>(height);
    Bytes out;
    out.reserve(offBits + imageBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, offBits + imageBytes);
    put32(out, 0);
    put32(out, offBits);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    put16(out, 1);
    put16(out, static_cast<std::uint32_t>(bitCount));
    put32(out, 0); // no compression
    put32(out, imageBytes);
    put32(out, 2835); // 72 dpi
    put32(out, 2835);
    put32(out, paletteEntries);
    put32(out, 0);
    return out;
}

std::size_t writeBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
    return bytes.size();
}

} // namespace

std::size_t writeBmp24(const std::string& path, int width, int height) {
    const std::uint32_t stride = (3 * static_cast<std::uint32_t>(width) + 3) & ~3u;
    Bytes out = headers(width, height, 24, 0, stride);
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) {
            const RgbPixel pixel = benchPixel(col, row);
            out.insert(out.end(), {pixel.b, pixel.g, pixel.r});
        }
        out.resize(out.size() + (stride - 3 * static_cast<std::uint32_t>(width)), 0);
    }
    return writeBytes(path, out);
}

std::size_t writeBmp8(const std::string& path, int width, int height) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) + 3) & ~3u;
    Bytes out = headers(width, height, 8, 256, stride);
    for (int entry = 0; entry < 256; ++entry) {
        const RgbPixel colour = benchPaletteEntry(entry);
        out.insert(out.end(), {colour.b, colour.g, colour.r, 0});
    }
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) {
            out.push_back(benchIndex(col, row));
        }
        out.resize(out.size() + (stride - static_cast<std::uint32_t>(width)), 0);
    }
    return writeBytes(path, out);
}

std::size_t readWholeFile(const std::string& path, void* buffer, std::size_t size) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    const ssize_t got = read(fd, buffer, size);
    close(fd);
    return got < 0 ? 0 : static_cast<std::size_t>(got);
}
