// BMP decoding. The headers are input, so every field is bounded before it sizes anything:
// a hostile file can give a black or garbled picture, never a crash or a runaway allocation.
#include "image/bmp_reader.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

#if defined(__x86_64__) && defined(__GNUC__)
#include <tmmintrin.h>
#endif

#include "image/byte_source.h"

namespace {

constexpr std::size_t kHeadersSize = 54;
constexpr std::uint64_t kPaletteOffset = 54;
constexpr std::size_t kPaletteEntries = 256;
// Rows are read in batches of about this many bytes: few system calls, little memory.
constexpr std::size_t kBatchBytes = std::size_t{128} * 1024;

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
    std::size_t bytesPerPixel = 0;    // 3, or 1 for a palette index
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
    layout.bytesPerPixel = bytesPerPixel;
    layout.rowBytes = bytesPerPixel * static_cast<std::size_t>(width);
    layout.stride = (layout.rowBytes + 3) & ~static_cast<std::uint64_t>(3);
    return true;
}

// A 54-byte header can claim 16384 x 16384 pixels. Taken at its word, every reload of such a
// file would allocate and upload 768 MiB of black the file never held, costing a gigabyte of
// memory and seconds per key press. So a claim of more than 1 MiB of rows must come with at
// least an eighth of those bytes; a file cut shorter than that is refused, not padded out.
// Anything holding an eighth loads as a truncated file does, the missing rows black: the
// picture then costs at most eight times the bytes present (24 times for 8-bit indices).
constexpr std::uint64_t kClaimTakenOnTrust = std::uint64_t{1} << 20;
constexpr std::uint64_t kLeastShareHeld = 8; // one eighth

bool claimIsBacked(const PixelLayout& layout, std::uint64_t sourceLength) {
    const std::uint64_t claimed = layout.stride * static_cast<std::uint64_t>(layout.rows);
    const std::uint64_t held =
        sourceLength > layout.firstRowOffset ? sourceLength - layout.firstRowOffset : 0;
    return claimed <= kClaimTakenOnTrust ||
           held >= (claimed + kLeastShareHeld - 1) / kLeastShareHeld;
}

// Bytes from the first stored row's start to the last one's end: the last row's padding is not
// needed, and may be missing from a sound file.
std::uint64_t pixelBlockBytes(const PixelLayout& layout) {
    return layout.stride * static_cast<std::uint64_t>(layout.rows - 1) + layout.rowBytes;
}

// Of a row whose bytes start at `start` in a read that brought `got` bytes: how many whole
// pixels arrived. The rest of the row stays black.
std::size_t wholePixelsOfRow(const PixelLayout& layout, std::size_t got, std::size_t start) {
    return (got <= start ? 0 : std::min(layout.rowBytes, got - start)) / layout.bytesPerPixel;
}

// Allocates `count` pixels, black or left as they come when every byte is about to be written
// anyway; null on failure.
PixelArray allocatePixels(std::size_t count, bool black) {
    return PixelArray(static_cast<RgbPixel*>(black ? std::calloc(count, sizeof(RgbPixel))
                                                   : std::malloc(count * sizeof(RgbPixel))));
}

// Walks the stored rows in file order, handing each one's bytes to decodeRow together with
// the number of whole pixels the source really had. Stops at the end of the data: rows never
// reached stay black. False when the batch buffer cannot be allocated.
template <class Source, class DecodeRow>
bool forEachStoredRow(Source& source, const PixelLayout& layout, RgbImage& image,
                      DecodeRow decodeRow) {
    // No larger than the picture needs: small textures should not pay for a big buffer.
    const std::size_t rowsPerBatch = std::min<std::size_t>(
        static_cast<std::size_t>(layout.rows),
        std::max<std::size_t>(1, kBatchBytes / static_cast<std::size_t>(layout.stride)));
    // malloc, not a vector: running out of memory is a failed load, not an exception.
    const std::unique_ptr<std::uint8_t[], FreeDeleter> batch(
        static_cast<std::uint8_t*>(std::malloc(rowsPerBatch * layout.stride)));
    if (batch == nullptr) {
        return false;
    }
    for (std::int32_t first = 0; first < layout.rows;) {
        const auto count = static_cast<std::int32_t>(
            std::min<std::size_t>(rowsPerBatch, static_cast<std::size_t>(layout.rows - first)));
        const std::size_t wanted = (count - 1) * layout.stride + layout.rowBytes;
        const std::size_t got =
            source.readAt(layout.firstRowOffset + first * layout.stride, batch.get(), wanted);
        for (std::int32_t i = 0; i < count; ++i) {
            const std::size_t start = i * layout.stride;
            const std::size_t whole = wholePixelsOfRow(layout, got, start);
            const std::int32_t stored = first + i;
            const std::int32_t row = layout.topDown ? layout.rows - 1 - stored : stored;
            RgbPixel* destination = &image.pixels[static_cast<std::size_t>(row) * layout.cols];
            decodeRow(&batch[start], whole, destination);
        }
        if (got < wanted) {
            return true;
        }
        first += count;
    }
    return true;
}

#if defined(__x86_64__) && defined(__GNUC__)
// Moves 16 pixels (48 bytes, three registers) at a time and returns how many it moved. Each
// output register is its input shuffled, or'ed with the one or two bytes of the pixels that
// straddle it and its neighbours (pixels 5 and 10); a -1 in a shuffle gives a zero byte.
__attribute__((target("ssse3"))) std::size_t
moveSwappingRedBlueSsse3(std::uint8_t* to, const std::uint8_t* from, std::size_t count) {
    const __m128i firstOwn = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, -1);
    const __m128i firstFromSecond =
        _mm_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 1);
    const __m128i secondFromFirst =
        _mm_setr_epi8(-1, 15, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
    const __m128i secondOwn = _mm_setr_epi8(0, -1, 4, 3, 2, 7, 6, 5, 10, 9, 8, 13, 12, 11, -1, 15);
    const __m128i secondFromThird =
        _mm_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 0, -1);
    const __m128i thirdFromSecond =
        _mm_setr_epi8(14, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
    const __m128i thirdOwn = _mm_setr_epi8(-1, 3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 15, 14, 13);
    std::size_t done = 0;
    for (; done + 16 <= count; done += 16) {
        // All 48 bytes are loaded before any is stored, so `to` may overlap them from below.
        const auto* in = reinterpret_cast<const __m128i*>(from + 3 * done);
        auto* run = reinterpret_cast<__m128i*>(to + 3 * done);
        const __m128i a = _mm_loadu_si128(in);
        const __m128i b = _mm_loadu_si128(in + 1);
        const __m128i c = _mm_loadu_si128(in + 2);
        _mm_storeu_si128(
            run, _mm_or_si128(_mm_shuffle_epi8(a, firstOwn), _mm_shuffle_epi8(b, firstFromSecond)));
        _mm_storeu_si128(run + 1, _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(a, secondFromFirst),
                                                            _mm_shuffle_epi8(b, secondOwn)),
                                               _mm_shuffle_epi8(c, secondFromThird)));
        _mm_storeu_si128(run + 2, _mm_or_si128(_mm_shuffle_epi8(b, thirdFromSecond),
                                               _mm_shuffle_epi8(c, thirdOwn)));
    }
    return done;
}
#endif

// Stored pixels are blue, green, red: copies `count` pixels, swapping the first and third byte
// of each. `to` may be `from`, or overlap it from below, as when rows close up their padding:
// each pixel is read before it is written.
void moveSwappingRedBlue(std::uint8_t* to, const std::uint8_t* from, std::size_t count) {
    std::size_t done = 0;
#if defined(__x86_64__) && defined(__GNUC__)
    if (__builtin_cpu_supports("ssse3")) {
        done = moveSwappingRedBlueSsse3(to, from, count);
    }
#endif
    for (; done < count; ++done) {
        const std::uint8_t blue = from[3 * done];
        const std::uint8_t green = from[3 * done + 1];
        const std::uint8_t red = from[3 * done + 2];
        to[3 * done] = red;
        to[3 * done + 1] = green;
        to[3 * done + 2] = blue;
    }
}

void decodeRow24(const std::uint8_t* bytes, std::size_t whole, RgbPixel* destination) {
    moveSwappingRedBlue(reinterpret_cast<std::uint8_t*>(destination), bytes, whole);
}

// A bottom-up 24-bit file stores its rows in the array's order, each followed by at most three
// bytes of padding. When the source holds all of them, one read takes the whole pixel block
// straight into the array, and one pass closes up the padding while swapping the colour order:
// no batches, no copies, no clearing by calloc.
template <class Source> bool readableInOneGo24(Source& source, const PixelLayout& layout) {
    return !layout.topDown && layout.firstRowOffset + pixelBlockBytes(layout) <= source.length();
}

// Pixels to allocate so that the stored block fits: the array keeps the rows' padding, at most
// three bytes a row, as spare room at its end.
std::size_t oneGoPixelCount(const PixelLayout& layout) {
    return static_cast<std::size_t>((pixelBlockBytes(layout) + 2) / 3);
}

// Row k moves down by k paddings, so it only ever lands on bytes already moved. Should the read
// come up short after all (the file shrank since it was measured), the whole pixels it brought
// are kept and the rest is black, as row by row.
template <class Source>
void readInOneGo24(Source& source, const PixelLayout& layout, RgbImage& image) {
    auto* bytes = reinterpret_cast<std::uint8_t*>(image.pixels.get());
    const std::size_t got = source.readAt(layout.firstRowOffset, bytes, pixelBlockBytes(layout));
    for (std::size_t row = 0; row < static_cast<std::size_t>(layout.rows); ++row) {
        const std::size_t stored = row * layout.stride;
        const std::size_t whole = wholePixelsOfRow(layout, got, stored);
        std::uint8_t* out = bytes + row * layout.rowBytes;
        moveSwappingRedBlue(out, bytes + stored, whole);
        std::memset(out + 3 * whole, 0, layout.rowBytes - 3 * whole);
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
    if (!readLayout(source, bytesPerPixel, layout) || !claimIsBacked(layout, source.length())) {
        return -1;
    }
    if (layout.cols == 0 || layout.rows == 0) {
        image.replace(layout.cols, layout.rows, nullptr);
        return 0;
    }
    RgbImage decoded;
    const bool oneGo = layout.bytesPerPixel == 3 && readableInOneGo24(source, layout);
    const std::size_t count =
        oneGo ? oneGoPixelCount(layout) : static_cast<std::size_t>(layout.cols) * layout.rows;
    decoded.replace(layout.cols, layout.rows, allocatePixels(count, !oneGo));
    if (decoded.pixels == nullptr) {
        return -1;
    }
    if (oneGo) {
        readInOneGo24(source, layout, decoded);
    } else if (!forEachStoredRow(source, layout, decoded, makeRowDecoder(layout))) {
        return -1;
    }
    image.replace(decoded.cols, decoded.rows, std::move(decoded.pixels));
    return 0;
}

template <class Source> int readBmp24(Source& source, RgbImage& image) {
    return readBmp(source, 3, image, [](const PixelLayout&) { return decodeRow24; });
}

template <class Source> int readBmp8(Source& source, RgbImage& image) {
    return readBmp(source, 1, image, [&source](const PixelLayout& layout) {
        return [palette = readPalette(source, layout)](const std::uint8_t* indices,
                                                       std::size_t whole, RgbPixel* destination) {
            for (std::size_t col = 0; col < whole; ++col) {
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
