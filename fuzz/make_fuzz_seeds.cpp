// Writes the fuzzers' starting corpus into the folder given as argument: a few sound 24-bit and
// 8-bit files and the hostile headers the readers must refuse or survive. Generated at build
// time so that no binary files live in the repository.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "bmp_file_builder.h"

namespace {

void put32(Bytes& file, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        file[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

Bytes with32(Bytes file, std::size_t at, std::uint32_t value) {
    put32(file, at, value);
    return file;
}

Bytes cut(Bytes file, std::size_t size) {
    file.resize(size);
    return file;
}

std::vector<RgbPixel> palette(std::size_t entries) {
    std::vector<RgbPixel> out;
    for (std::size_t i = 0; i < entries; ++i) {
        out.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(3 * i),
                       static_cast<std::uint8_t>(255 - i)});
    }
    return out;
}

Bytes eightBit(int width, int height, std::size_t entries) {
    return bmp8File(width, height, palette(entries),
                    [](int col, int row) { return static_cast<std::uint8_t>(col * 5 + row * 11); });
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SEED_FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);

    const Bytes sound24 = bmp24File(5, 4, patternPixel);
    const Bytes sound8 = eightBit(5, 3, 16);
    const std::vector<std::pair<std::string, Bytes>> seeds = {
        {"24-1x1", bmp24File(1, 1, patternPixel)},
        {"24-5x4", sound24},
        {"24-8x2", bmp24File(8, 2, patternPixel)},
        {"24-gap-122", bmp24File(3, 3, patternPixel, 122)},
        {"24-top-down", with32(sound24, 22, static_cast<std::uint32_t>(-4))},
        {"8-5x3-16", sound8},
        {"8-7x2-256", eightBit(7, 2, 256)},
        {"8-4x4-2-entries", eightBit(4, 4, 2)},
        {"empty", {}},
        {"1-byte", Bytes(1, 'B')},
        {"13-bytes", cut(sound24, 13)},
        {"14-bytes", cut(sound24, 14)},
        {"53-bytes", cut(sound24, 53)},
        {"header-only", cut(sound24, 54)},
        {"width-0", with32(sound24, 18, 0)},
        {"height-0", with32(sound24, 22, 0)},
        {"width-negative", with32(sound24, 18, static_cast<std::uint32_t>(-5))},
        {"height-int32-min", with32(sound24, 22, 0x80000000u)},
        {"16385x1", bmpHeaderBytes({54, 16385, 1, 24, 0})},
        {"1x16385", bmpHeaderBytes({54, 1, 16385, 24, 0})},
        {"16384x1", bmpHeaderBytes({54, 16384, 1, 24, 0})},
        {"30000x30000", bmpHeaderBytes({54, 30000, 30000, 24, 0})},
        {"offbits-0", with32(sound24, 10, 0)},
        {"offbits-20", with32(sound24, 10, 20)},
        {"offbits-past-end", with32(sound24, 10, 4096)},
        {"offbits-max", with32(sound24, 10, 0xFFFFFFFFu)},
        {"24-mid-row", cut(sound24, 54 + 16 + 7)},
        {"8-mid-palette", cut(sound8, 54 + 4 * 5 + 2)},
        {"8-colours-1", with32(sound8, 46, 1)},
        {"8-colours-257", with32(sound8, 46, 257)},
        {"8-colours-max", with32(sound8, 46, 0xFFFFFFFFu)},
        {"bits-1", bmpHeaderBytes({54, 4, 4, 1, 2})},
        {"bits-32", bmpHeaderBytes({54, 4, 4, 32, 0})},
    };
    for (const auto& [name, bytes] : seeds) {
        writeFile(folder / (name + ".bmp"), bytes);
    }
    return 0;
}
