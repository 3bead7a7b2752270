// The BMP readers against the plain read of the same file, and against stb_image.
#include <benchmark/benchmark.h>
#include <stb/stb_image.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "bench_cases.h"
#include "image/rgb_image.h"

namespace {

using Loader = int (RgbImage::*)(const char*);

// One of our readers, loading the same file again and again.
void loaderCase(benchmark::State& state, Loader load, const PictureFile& file) {
    RgbImage image; // kept across loads, as the program keeps its six
    for (auto _ : state) {
        if ((image.*load)(file.path.c_str()) != 0) {
            state.SkipWithError("the reader failed");
            break;
        }
        benchmark::DoNotOptimize(image.pixels.get());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes));
}

// The buffer is allocated and touched once, outside the loop: the floor pays for nothing but
// getting the file's bytes into memory.
void floorCase(benchmark::State& state, const PictureFile& file) {
    std::vector<std::uint8_t> buffer(file.bytes);
    for (auto _ : state) {
        if (readWholeFile(file.path, buffer.data(), buffer.size()) != buffer.size()) {
            state.SkipWithError("short read");
            break;
        }
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes));
}

void stbCase(benchmark::State& state, const PictureFile& file) {
    for (auto _ : state) {
        int width = 0, height = 0, channels = 0;
        stbi_uc* pixels = stbi_load(file.path.c_str(), &width, &height, &channels, 3);
        if (pixels == nullptr) {
            state.SkipWithError(stbi_failure_reason());
            break;
        }
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes));
}

bool samePixel(const RgbPixel& a, const RgbPixel& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

// stb_image hands rows top first; our readers put the first stored (bottom) row at row 0.
bool readersAgree24(const PictureFile& file) {
    RgbImage ours;
    int width = 0, height = 0, channels = 0;
    const std::unique_ptr<stbi_uc, void (*)(void*)> theirs(
        stbi_load(file.path.c_str(), &width, &height, &channels, 3), stbi_image_free);
    if (ours.loadBmp24(file.path.c_str()) != 0 || theirs == nullptr || ours.cols != file.width ||
        ours.rows != file.height || width != file.width || height != file.height) {
        std::fprintf(stderr, "error: %s did not load as a %s picture\n", file.path.c_str(),
                     file.size().c_str());
        return false;
    }
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) {
            const RgbPixel mine = ours.pixels[static_cast<std::size_t>(row) * width + col];
            const stbi_uc* other =
                theirs.get() + 3 * (static_cast<std::size_t>(height - 1 - row) * width + col);
            if (!samePixel(mine, benchPixel(col, row)) ||
                !samePixel(mine, RgbPixel{other[0], other[1], other[2]})) {
                std::fprintf(stderr, "error: %s: loadBmp24 and stbi_load differ at (%d, %d)\n",
                             file.path.c_str(), col, row);
                return false;
            }
        }
    }
    return true;
}

bool reader8Agrees(const PictureFile& file) {
    RgbImage image;
    if (image.loadBmp8(file.path.c_str()) != 0 || image.cols != file.width ||
        image.rows != file.height) {
        std::fprintf(stderr, "error: %s did not load as an 8-bit picture\n", file.path.c_str());
        return false;
    }
    for (int row = 0; row < file.height; ++row) {
        for (int col = 0; col < file.width; ++col) {
            const RgbPixel got = image.pixels[static_cast<std::size_t>(row) * file.width + col];
            if (!samePixel(got, benchPaletteEntry(benchIndex(col, row)))) {
                std::fprintf(stderr, "error: %s: loadBmp8 is wrong at (%d, %d)\n",
                             file.path.c_str(), col, row);
                return false;
            }
        }
    }
    return true;
}

} // namespace

bool registerReaderBenchmarks(const ScratchDir& folder, std::vector<PictureFile>& files24,
                              PictureFile& file8) {
    // Two power-of-two textures the targets are set on, a small and a large one, and two
    // widths off the power-of-two path: 1000 (rows of 3000 bytes, no padding) and 1023
    // (rows of 3069 bytes padded to 3072).
    const std::pair<int, int> sizes[] = {
        {256, 256}, {1024, 1024}, {2048, 2048}, {1000, 1000}, {1023, 1023}};
    for (const auto& [width, height] : sizes) {
        PictureFile file{width, height, "", 0};
        file.path = folder.file("rgb" + file.size() + ".bmp");
        file.bytes = writeBmp24(file.path, width, height);
        if (!readersAgree24(file)) {
            return false;
        }
        files24.push_back(file);
    }
    for (const PictureFile& file : files24) {
        registerTimedCase(caseName(cases::kLoad24, file), benchmark::kMicrosecond, loaderCase,
                          &RgbImage::loadBmp24, file);
        registerTimedCase(caseName(cases::kFloor24, file), benchmark::kMicrosecond, floorCase,
                          file);
        registerTimedCase(caseName(cases::kStb, file), benchmark::kMicrosecond, stbCase, file);
    }

    file8 = PictureFile{1024, 1024, "", 0};
    file8.path = folder.file("indexed" + file8.size() + ".bmp");
    file8.bytes = writeBmp8(file8.path, file8.width, file8.height);
    if (!reader8Agrees(file8)) {
        return false;
    }
    registerTimedCase(caseName(cases::kLoad8, file8), benchmark::kMicrosecond, loaderCase,
                      &RgbImage::loadBmp8, file8);
    registerTimedCase(caseName(cases::kFloor8, file8), benchmark::kMicrosecond, floorCase, file8);
    return true;
}
