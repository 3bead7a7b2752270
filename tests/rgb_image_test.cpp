// Pixel storage: layout in memory and writes outside the picture.
#include <gtest/gtest.h>

#include <cstring>

#include "bmp_file_builder.h"
#include "image/bmp_reader.h"
#include "image/rgb_image.h"

namespace {

// A 4 x 3 image of black pixels, made through the reader as the program makes its images.
void makeBlack4x3(RgbImage& image) {
    const Bytes file = bmp24File(4, 3, [](int, int) { return RgbPixel{}; });
    ASSERT_EQ(decodeBmp24(file.data(), file.size(), image), 0);
}

const std::uint8_t* bytesOf(const RgbImage& image) {
    return reinterpret_cast<const std::uint8_t*>(image.pixels.get());
}

TEST(RgbImage, StartsEmptyAndPixelsStartBlack) {
    const RgbImage image;
    EXPECT_EQ(image.rows, 0);
    EXPECT_EQ(image.cols, 0);
    EXPECT_EQ(image.pixels, nullptr);
    const RgbPixel pixel;
    EXPECT_EQ(pixel.r + pixel.g + pixel.b, 0);
}

TEST(RgbImage, SetPixelWritesRowMajorRgbBytes) {
    RgbImage image;
    makeBlack4x3(image);
    image.setPixel(0, 0, RgbPixel{255, 128, 0});
    EXPECT_EQ(bytesOf(image)[0], 255);
    EXPECT_EQ(bytesOf(image)[1], 128);
    EXPECT_EQ(bytesOf(image)[2], 0);

    image.setPixel(1, 1, RgbPixel{1, 2, 3}); // element 5: bytes 15 to 17
    EXPECT_EQ(bytesOf(image)[15], 1);
    EXPECT_EQ(bytesOf(image)[16], 2);
    EXPECT_EQ(bytesOf(image)[17], 3);

    image.setPixel(3, 2, RgbPixel{7, 8, 9}); // the last pixel
    EXPECT_EQ(bytesOf(image)[33], 7);
    EXPECT_EQ(bytesOf(image)[35], 9);
}

TEST(RgbImage, SetPixelIgnoresPositionsOutsideThePicture) {
    RgbImage image;
    makeBlack4x3(image);
    std::uint8_t before[36];
    std::memcpy(before, bytesOf(image), sizeof before);
    const RgbPixel white{255, 255, 255};
    image.setPixel(4, 0, white);
    image.setPixel(-1, 0, white);
    image.setPixel(0, 3, white);
    image.setPixel(0, -1, white);
    image.setPixel(-2147483647 - 1, 2147483647, white);
    EXPECT_EQ(std::memcmp(before, bytesOf(image), sizeof before), 0);

    RgbImage empty;
    empty.setPixel(0, 0, white);
    EXPECT_EQ(empty.pixels, nullptr);
}

} // namespace
