// What every input must satisfy, whatever its bytes; shared by fuzz_bmp24 and fuzz_bmp8.
// Each input is decoded twice, from memory and from a file holding the same bytes, because
// the program reads files while the tests mostly decode buffers: both must give the picture
// the plain row-by-row reference reading gives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

#include "bmp_reference.h"
#include "image/bmp_reader.h"
#include "image/rgb_image.h"

namespace bmpfuzz {

[[noreturn]] inline void fail(const char* what) {
    std::fprintf(stderr, "BMP reader invariant broken: %s\n", what);
    std::abort();
}

inline void require(bool condition, const char* what) {
    if (!condition) {
        fail(what);
    }
}

// Every image starts with this 3 x 2 picture, so a refused input can be seen to leave it alone.
inline RgbPixel knownPixel(int col, int row) {
    return RgbPixel{static_cast<std::uint8_t>(11 + col), static_cast<std::uint8_t>(22 + row), 0x5A};
}

inline void fillKnownPicture(RgbImage& image) {
    image.replace(3, 2, PixelArray(static_cast<RgbPixel*>(std::calloc(6, sizeof(RgbPixel)))));
    require(image.pixels != nullptr, "no memory for the starting picture");
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 3; ++col) {
            image.setPixel(col, row, knownPixel(col, row));
        }
    }
}

inline bool holdsKnownPicture(const RgbImage& image) {
    if (image.cols != 3 || image.rows != 2 || image.pixels == nullptr) {
        return false;
    }
    for (int i = 0; i < 6; ++i) {
        const RgbPixel want = knownPixel(i % 3, i / 3);
        const RgbPixel got = image.pixels[i];
        if (got.r != want.r || got.g != want.g || got.b != want.b) {
            return false;
        }
    }
    return true;
}

// An anonymous in-memory file reopened by path, so the file reader runs without touching disk.
class MemoryFile {
public:
    MemoryFile() : fd_(memfd_create("fuzz.bmp", 0)) {
        require(fd_ >= 0, "memfd_create failed");
        path_ = "/proc/self/fd/" + std::to_string(fd_);
    }
    ~MemoryFile() { close(fd_); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    const char* hold(const std::uint8_t* data, std::size_t size) {
        require(ftruncate(fd_, 0) == 0, "cannot empty the memory file");
        std::size_t done = 0;
        while (done < size) {
            const ssize_t wrote = pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
            require(wrote > 0, "cannot write the memory file");
            done += static_cast<std::size_t>(wrote);
        }
        return path_.c_str();
    }

private:
    int fd_;
    std::string path_;
};

// Pictures up to this many pixels are also compared with the row-by-row reference. A 64 KiB
// input fills at most 64 Ki pixels (8-bit) and far fewer at 24 bits, so larger pictures only
// add black rows, while clearing and comparing them would halve the inputs run a second.
inline constexpr std::size_t kLargestReferencedPicture = std::size_t{1} << 16;

using Decode = int (*)(const std::uint8_t*, std::size_t, RgbImage&);
using Load = int (RgbImage::*)(const char*);

inline void checkInput(const std::uint8_t* data, std::size_t size, Decode decode, Load load,
                       bool eightBit) {
    static MemoryFile file;
    const std::optional<ReferenceSize> expected = referenceSize(data, size, eightBit);
    const std::size_t count =
        expected ? static_cast<std::size_t>(expected->cols) * expected->rows : 0;

    RgbImage fromMemory;
    fillKnownPicture(fromMemory);
    const int result = decode(data, size, fromMemory);
    require(result == 0 || result == -1, "result is neither 0 nor -1");
    require(result == (expected ? 0 : -1), "accepted or refused the wrong header");
    if (result != 0) {
        require(holdsKnownPicture(fromMemory), "a refused input changed the image");
    } else {
        require(fromMemory.cols == expected->cols && fromMemory.rows == expected->rows,
                "dimensions differ from the header's");
        require((fromMemory.pixels != nullptr) == (count > 0),
                "pixel array present exactly when the picture is not empty");
        if (count > 0 && count <= kLargestReferencedPicture) {
            const std::vector<RgbPixel> reference = *referenceDecode(data, size, eightBit);
            require(std::memcmp(fromMemory.pixels.get(), reference.data(),
                                count * sizeof(RgbPixel)) == 0,
                    "the memory reader's pixels differ from the row-by-row reference");
        }
    }

    RgbImage fromFile;
    fillKnownPicture(fromFile);
    const int fileResult = (fromFile.*load)(file.hold(data, size));
    require(fileResult == result, "file and memory readers disagree on the result");
    if (result != 0) {
        require(holdsKnownPicture(fromFile), "a refused file changed the image");
        return;
    }
    require(fromFile.cols == fromMemory.cols && fromFile.rows == fromMemory.rows,
            "file and memory readers disagree on the dimensions");
    if (count > 0) {
        require(std::memcmp(fromFile.pixels.get(), fromMemory.pixels.get(),
                            count * sizeof(RgbPixel)) == 0,
                "file and memory readers decode different pixels");
    }
}

} // namespace bmpfuzz
