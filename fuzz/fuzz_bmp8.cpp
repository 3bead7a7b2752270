// libFuzzer entry for the 8-bit reader: any bytes must decode cleanly or be refused cleanly.
#include "bmp_fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    bmpfuzz::checkInput(data, size, decodeBmp8, &RgbImage::loadBmp8, true);
    return 0;
}
