// An RGB picture in memory, filled from BMP files and handed to OpenGL as a texture.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "image/rgb_pixel.h"

// Pixel arrays come from calloc so a huge black picture costs no page until it is written.
struct FreeDeleter {
    void operator()(void* memory) const { std::free(memory); }
};
using PixelArray = std::unique_ptr<RgbPixel[], FreeDeleter>;

class RgbImage {
public:
    std::int32_t rows = 0;
    std::int32_t cols = 0;
    PixelArray pixels; // rows * cols pixels, row 0 first; null while the image is empty

    RgbImage() = default;
    RgbImage(const RgbImage&) = delete;
    RgbImage& operator=(const RgbImage&) = delete;

    void setPixel(std::int32_t col, std::int32_t row, RgbPixel colour);
    void uploadTexture(unsigned textureName) const;

    // 0 on success, -1 when the file cannot be opened, is not a regular file, or its header
    // is unusable or claims far more pixels than the file holds; a failed load leaves the
    // image exactly as it was.
    int loadBmp24(const char* file);
    int loadBmp8(const char* file);

    // Takes over a decoded picture, releasing the previous one.
    void replace(std::int32_t newCols, std::int32_t newRows, PixelArray newPixels);
};
