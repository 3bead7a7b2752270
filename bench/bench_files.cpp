// Benchmark input files and the raw read they are measured against.
#include "bench_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <vector>

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

std::size_t writeBmp24(const std::string& path, int width, int height) {
    const Bytes file = bmp24File(width, height, benchPixel);
    writeFile(path, file);
    return file.size();
}

std::size_t writeBmp8(const std::string& path, int width, int height) {
    std::vector<RgbPixel> palette;
    for (int entry = 0; entry < 256; ++entry) {
        palette.push_back(benchPaletteEntry(entry));
    }
    const Bytes file = bmp8File(width, height, palette, benchIndex);
    writeFile(path, file);
    return file.size();
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
