// BMP decoding. The headers are input, so every field is bounded before it sizes anything:
// a hostile file can give a black or garbled picture, never a crash or a runaway allocation.
#include "image/bmp_reader.h"

#include <algorithm>
#include <array>
#include <vector>

#include "image/byte_source.h"

namespace {

constexpr std::size_t kHeadersSize = 54;
constexpr std::uint64_t kPaletteOffset = 54;
constexpr std::size_t kPaletteEntries = 256;
// Rows are read in batches of about this many bytes: few system calls, little memory.
constexpr std::size_t kBatchBytes = 128 * 1024;

std::uint32_t readU32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::int32_t readI32(const std::uint8_t* bytes) {
    return static_cast<std::int32_t>(readU32(bytes));
}

// What the headers say about the pixel block, already checked against our limits.
struct PixelLayout {
    std::int32_t cols = 0;
    std::int32_t rows = 0;
    bool topDown = false; // negative height: the first stored row is the picture's top
    std::uint64_t firstRowOffset = 0;
    std::uint32_t paletteEntries = 0; // entries the header asks for, at most 256
    std::size_t rowBytes = 0;         // pixel bytes of one stored row, padding excluded
    std::uint64_t stride = 0;         // rowBytes rounded up to 4
};

// Reads both headers; false when the file is too short or its dimensions are unusable.
template <class Source>
bool readLayout(Source& source, std::size_t bytesPerPixel, PixelLayout& layout) {
    std::array<std::uint8_t, kHeadersSize> header{};
    if (source.readAt(0, header.data(), header.size()) != header.size()) {
        return false;
    }
    const std::int32_t width = readI32(&header[18]);
    const std::int32_t height = readI32(&header[22]);
    if (width < 0 || width > kMaxBmpDimension || height < -kMaxBmpDimension ||
        height > kMaxBmpDimension) {
        return false;
    }
    const std::uint32_t colourCount = readU32(&header[46]);
    layout.cols = width;
    layout.rows = height < 0 ? -height : height;
    layout.topDown = height < 0;
    layout.firstRowOffset = readU32(&header[10]);
    layout.paletteEntries = colourCount == 0 || colourCount > kPaletteEntries
                                ? static_cast<std::uint32_t>(kPaletteEntries)
                                : colourCount;
    layout.rowBytes = bytesPerPixel * static_cast<std::size_t>(width);
    layout.stride = (layout.rowBytes + 3) & ~static_cast<std::uint64_t>(3);
    return true;
}

// Allocates a black array for the layout; null on failure or for an empty picture.
PixelArray allocatePixels(const PixelLayout& layout) {
    const std::size_t count = static_cast<std::size_t>(layout.cols) * layout.rows;
    return PixelArray(static_cast<RgbPixel*>(std::calloc(count, sizeof(RgbPixel))));
}

// Walks the stored rows in file order, handing each one's bytes to decodeRow together with
// the number of those bytes the source really had. Stops at the end of the data: rows never
// reached stay black.
template <class Source, class DecodeRow>
void forEachStoredRow(Source& source, const PixelLayout& layout, RgbImage& image,
                      DecodeRow decodeRow) {
    const std::size_t rowsPerBatch =
        std::max<std::size_t>(1, kBatchBytes / static_cast<std::size_t>(layout.stride));
    std::vector<std::uint8_t> batch(rowsPerBatch * layout.stride);
    for (std::int32_t first = 0; first < layout.rows;) {
        const auto count = static_cast<std::int32_t>(
            std::min<std::size_t>(rowsPerBatch, static_cast<std::size_t>(layout.rows - first)));
        // The last row's padding is not needed, and may be missing from a sound file.
        const std::size_t wanted = (count - 1) * layout.stride + layout.rowBytes;
        const std::size_t got =
            source.readAt(layout.firstRowOffset + first * layout.stride, batch.data(), wanted);
        for (std::int32_t i = 0; i < count; ++i) {
            const std::size_t start = i * layout.stride;
            const std::size_t available = got <= start ? 0 : std::min(layout.rowBytes, got - start);
            const std::int32_t stored = first + i;
            const std::int32_t row = layout.topDown ? layout.rows - 1 - stored : stored;
            RgbPixel* destination = &image.pixels[static_cast<std::size_t>(row) * layout.cols];
            decodeRow(&batch[start], available, destination);
        }
        if (got < wanted) {
            return;
        }
        first += count;
    }
}

// Stored pixels are blue, green, red; a pixel missing any of its bytes stays black.
void decodeRow24(const std::uint8_t* bytes, std::size_t available, RgbPixel* destination) {
    const std::size_t whole = available / 3;
    for (std::size_t col = 0; col < whole; ++col) {
        destination[col].r = bytes[3 * col + 2];
        destination[col].g = bytes[3 * col + 1];
        destination[col].b = bytes[3 * col];
    }
}

using Palette = std::array<RgbPixel, kPaletteEntries>;

// Entries the file announces but does not hold, and all beyond them, stay black.
template <class Source> Palette readPalette(Source& source, const PixelLayout& layout) {
    std::array<std::uint8_t, kPaletteEntries * 4> quads{};
    const std::size_t got = source.readAt(kPaletteOffset, quads.data(), layout.paletteEntries * 4);
    Palette palette{};
    for (std::size_t entry = 0; entry < got / 4; ++entry) {
        palette[entry].r = quads[4 * entry + 2];
        palette[entry].g = quads[4 * entry + 1];
        palette[entry].b = quads[4 * entry];
    }
    return palette;
}

// The steps both depths share. makeRowDecoder runs once the headers are known to be usable
// and returns what turns one stored row's bytes into pixels.
template <class Source, class MakeRowDecoder>
int readBmp(Source& source, std::size_t bytesPerPixel, RgbImage& image,
            MakeRowDecoder makeRowDecoder) {
    PixelLayout layout;
    if (!readLayout(source, bytesPerPixel, layout)) {
        return -1;
    }
    if (layout.cols == 0 || layout.rows == 0) {
        image.replace(layout.cols, layout.rows, nullptr);
        return 0;
    }
    RgbImage decoded;
    decoded.replace(layout.cols, layout.rows, allocatePixels(layout));
    if (decoded.pixels == nullptr) {
        return -1;
    }
    forEachStoredRow(source, layout, decoded, makeRowDecoder(layout));
    image.replace(decoded.cols, decoded.rows, std::move(decoded.pixels));
    return 0;
}

template <class Source> int readBmp24(Source& source, RgbImage& image) {
    return readBmp(source, 3, image, [](const PixelLayout&) { return decodeRow24; });
}

template <class Source> int readBmp8(Source& source, RgbImage& image) {
    return readBmp(source, 1, image, [&source](const PixelLayout& layout) {
        return [palette = readPalette(source, layout)](
                   const std::uint8_t* indices, std::size_t available, RgbPixel* destination) {
            for (std::size_t col = 0; col < available; ++col) {
                destination[col] = palette[indices[col]];
            }
        };
    });
}

} // namespace

int decodeBmp24(const std::uint8_t* data, std::size_t size, RgbImage& image) {
    MemorySource source{data, size};
    return readBmp24(source, image);
}

int decodeBmp8(const std::uint8_t* data, std::size_t size, RgbImage& image) {
    MemorySource source{data, size};
    return readBmp8(source, image);
}

int RgbImage::loadBmp24(const char* file) {
    FileSource source(file);
    return source.isOpen() ? readBmp24(source, *this) : -1;
}

int RgbImage::loadBmp8(const char* file) {
    FileSource source(file);
    return source.isOpen() ? readBmp8(source, *this) : -1;
}
