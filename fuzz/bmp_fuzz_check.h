// What every input must satisfy, whatever its bytes; shared by fuzz_bmp24 and fuzz_bmp8.
// Each input is decoded twice, from memory and from a file holding the same bytes, because
// the program reads files while the tests mostly decode buffers: the two must agree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

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

// The outcome the two header fields alone decide: refused when shorter than the headers or
// outside 0..16384 columns and -16384..16384 rows; otherwise those dimensions, upright.
struct Outcome {
    bool accepted = false;
    std::int32_t cols = 0;
    std::int32_t rows = 0;
};

inline Outcome outcomeOf(const std::uint8_t* data, std::size_t size) {
    if (size < 54) {
        return {};
    }
    auto field = [data](std::size_t at) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(data[at]) |
                                         static_cast<std::uint32_t>(data[at + 1]) << 8 |
                                         static_cast<std::uint32_t>(data[at + 2]) << 16 |
                                         static_cast<std::uint32_t>(data[at + 3]) << 24);
    };
    const std::int64_t width = field(18);
    const std::int64_t height = field(22);
    if (width < 0 || width > kMaxBmpDimension || height < -kMaxBmpDimension ||
        height > kMaxBmpDimension) {
        return {};
    }
    return {true, static_cast<std::int32_t>(width),
            static_cast<std::int32_t>(height < 0 ? -height : height)};
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

// Claims beyond this many pixels are left to the hostile-corpus tests, which run 16384 x 16384
// and 30000 x 30000 under the sanitizer build. Under AddressSanitizer every allocation and
// release of a picture rewrites its shadow, about 0.2 s for 16384 x 16384, which would cut the
// fuzzers to a few hundred inputs a second; and with at most 64 KiB of input such a claim only
// adds rows the data never reaches, which smaller claims exercise the same way.
inline constexpr std::size_t kLargestFuzzedPicture = std::size_t{1} << 22;

using Decode = int (*)(const std::uint8_t*, std::size_t, RgbImage&);
using Load = int (RgbImage::*)(const char*);

inline void checkInput(const std::uint8_t* data, std::size_t size, Decode decode, Load load) {
    static MemoryFile file;
    const Outcome expected = outcomeOf(data, size);
    const std::size_t count =
        static_cast<std::size_t>(expected.cols) * static_cast<std::size_t>(expected.rows);
    if (count > kLargestFuzzedPicture) {
        return;
    }

    RgbImage fromMemory;
    fillKnownPicture(fromMemory);
    const int result = decode(data, size, fromMemory);
    require(result == 0 || result == -1, "result is neither 0 nor -1");
    require(result == (expected.accepted ? 0 : -1), "accepted or refused the wrong header");
    if (result != 0) {
        require(holdsKnownPicture(fromMemory), "a refused input changed the image");
    } else {
        require(fromMemory.cols == expected.cols && fromMemory.rows == expected.rows,
                "dimensions differ from the header's");
        require((fromMemory.pixels != nullptr) == (count > 0),
                "pixel array present exactly when the picture is not empty");
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
