// The readers' reference: deliberately plain, with no batching, no fast paths, no shared code.
#include "bmp_reference.h"

namespace {

std::uint32_t u32(const std::uint8_t* data, std::size_t at) {
    return static_cast<std::uint32_t>(data[at]) | static_cast<std::uint32_t>(data[at + 1]) << 8 |
           static_cast<std::uint32_t>(data[at + 2]) << 16 |
           static_cast<std::uint32_t>(data[at + 3]) << 24;
}

std::uint64_t strideOf(std::int64_t width, bool eightBit) {
    return ((eightBit ? 1 : 3) * static_cast<std::uint64_t>(width) + 3) / 4 * 4;
}

} // namespace

std::optional<ReferenceSize> referenceSize(const std::uint8_t* data, std::size_t size,
                                           bool eightBit) {
    if (size < 54) {
        return std::nullopt;
    }
    const auto width = static_cast<std::int32_t>(u32(data, 18));
    const auto height = static_cast<std::int32_t>(u32(data, 22));
    if (width < 0 || width > 16384 || height > 16384 || height < -16384) {
        return std::nullopt;
    }
    const std::int32_t rows = height < 0 ? -height : height;
    const std::uint64_t claimed = strideOf(width, eightBit) * static_cast<std::uint64_t>(rows);
    const std::uint64_t offBits = u32(data, 10);
    const std::uint64_t held = size > offBits ? size - offBits : 0;
    if (claimed > 1048576 && 8 * held < claimed) {
        return std::nullopt;
    }
    return ReferenceSize{width, rows};
}

std::optional<std::vector<RgbPixel>> referenceDecode(const std::uint8_t* data, std::size_t size,
                                                     bool eightBit) {
    const std::optional<ReferenceSize> picture = referenceSize(data, size, eightBit);
    if (!picture) {
        return std::nullopt;
    }
    const bool topDown = static_cast<std::int32_t>(u32(data, 22)) < 0;
    const std::int64_t width = picture->cols;
    const std::int64_t rows = picture->rows;
    const std::uint64_t offBits = u32(data, 10);
    const std::uint64_t bytesPerPixel = eightBit ? 1 : 3;
    const std::uint64_t stride = strideOf(width, eightBit);
    std::vector<RgbPixel> palette(256);
    const std::uint32_t count = u32(data, 46) == 0 || u32(data, 46) > 256 ? 256 : u32(data, 46);
    for (std::uint32_t i = 0; i < count && 54 + 4 * i + 4 <= size; ++i) {
        palette[i] = {data[56 + 4 * i], data[55 + 4 * i], data[54 + 4 * i]};
    }
    std::vector<RgbPixel> pixels(static_cast<std::size_t>(rows * width));
    for (std::int64_t stored = rows - 1; stored >= 0; --stored) {
        const std::int64_t row = topDown ? rows - 1 - stored : stored;
        if (offBits + stored * stride >= size) {
            continue; // the file ends before this row starts: all of it stays black
        }
        for (std::int64_t col = 0; col < width; ++col) {
            const std::uint64_t at = offBits + stored * stride + col * bytesPerPixel;
            if (at + bytesPerPixel > size) {
                continue;
            }
            pixels[row * width + col] =
                eightBit ? palette[data[at]] : RgbPixel{data[at + 2], data[at + 1], data[at]};
        }
    }
    return pixels;
}
