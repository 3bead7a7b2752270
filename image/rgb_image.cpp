// Pixel access and ownership for RgbImage.
#include "image/rgb_image.h"

#include <utility>

void RgbImage::setPixel(std::int32_t col, std::int32_t row, RgbPixel colour) {
    if (col < 0 || col >= cols || row < 0 || row >= rows) {
        return;
    }
    pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(cols) +
           static_cast<std::size_t>(col)] = colour;
}

void RgbImage::replace(std::int32_t newCols, std::int32_t newRows, PixelArray newPixels) {
    cols = newCols;
    rows = newRows;
    pixels = std::move(newPixels);
}
