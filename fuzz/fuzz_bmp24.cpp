// libFuzzer entry for the 24-bit reader: any bytes must decode cleanly or be refused cleanly.
#include "bmp_fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    bmpfuzz::checkInput(data, size, decodeBmp24, &RgbImage::loadBmp24, false);
    return 0;
}
