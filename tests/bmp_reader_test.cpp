// The BMP readers on files the tests write: layout, colour order, palettes, and the files a
// user should never be able to crash us with.
#include <gtest/gtest.h>

#ifdef __GLIBC__
#include <malloc.h>
#include <sys/resource.h>
#endif

#include <filesystem>
#include <fstream>

#include "bmp_file_builder.h"
#include "bmp_reference.h"
#include "image/bmp_reader.h"
#include "image/rgb_image.h"

namespace {

RgbPixel pixelOf(const RgbImage& image, int col, int row) {
    return image.pixels[static_cast<std::size_t>(row) * image.cols + col];
}

// Compares the whole picture with expected(col, row), reporting the first mismatch only.
void expectPicture(const RgbImage& image, int cols, int rows, const PixelAt& expected) {
    ASSERT_EQ(image.cols, cols);
    ASSERT_EQ(image.rows, rows);
    ASSERT_NE(image.pixels, nullptr);
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < cols; ++col) {
            const RgbPixel got = pixelOf(image, col, row);
            const RgbPixel want = expected(col, row);
            if (!(got == want)) {
                ADD_FAILURE() << "pixel (" << col << ", " << row << ") is " << toString(got)
                              << ", expected " << toString(want);
                return;
            }
        }
    }
}

// A loaded 2 x 2 picture to check that failed loads leave it alone.
void loadKnownPicture(RgbImage& image) {
    const Bytes file = bmp24File(2, 2, patternPixel);
    ASSERT_EQ(decodeBmp24(file.data(), file.size(), image), 0);
}

void expectKnownPicture(const RgbImage& image) {
    expectPicture(image, 2, 2, patternPixel);
}

class BmpFiles : public testing::Test {
protected:
    ScratchDir dir;

    std::string write(const std::string& name, const Bytes& bytes) {
        writeFile(dir.path() / name, bytes);
        return dir.file(name);
    }
};

TEST_F(BmpFiles, Reads24BitRowsOfEveryPaddingFromDisk) {
    for (int width = 1; width <= 7; ++width) {
        SCOPED_TRACE("width " + std::to_string(width));
        RgbImage image;
        ASSERT_EQ(image.loadBmp24(write("w.bmp", bmp24File(width, 3, patternPixel)).c_str()), 0);
        expectPicture(image, width, 3, patternPixel);
    }
}

TEST_F(BmpFiles, FirstStoredRowBecomesRowZero) {
    // One pixel per row: the second row starts at offset 54 + 4.
    RgbImage image;
    const Bytes file = bmp24File(1, 2, [](int, int row) {
        return row == 0 ? RgbPixel{1, 1, 1} : RgbPixel{2, 2, 2};
    });
    ASSERT_EQ(file.size(), 54u + 8u);
    ASSERT_EQ(image.loadBmp24(write("tall.bmp", file).c_str()), 0);
    EXPECT_EQ(pixelOf(image, 0, 0).r, 1);
    EXPECT_EQ(pixelOf(image, 0, 1).r, 2);
}

TEST_F(BmpFiles, TakesPixelsFromBfOffBitsWhateverLiesBefore) {
    RgbImage image;
    ASSERT_EQ(image.loadBmp24(write("gap.bmp", bmp24File(5, 4, patternPixel, 122)).c_str()), 0);
    expectPicture(image, 5, 4, patternPixel);
}

TEST(BmpReader, StoredBytesAreBlueGreenRed) {
    Bytes file = bmpHeaderBytes({54, 1, 1, 24, 0});
    file.insert(file.end(), {0x10, 0x20, 0x30, 0x00});
    RgbImage image;
    ASSERT_EQ(decodeBmp24(file.data(), file.size(), image), 0);
    EXPECT_EQ(pixelOf(image, 0, 0).r, 0x30);
    EXPECT_EQ(pixelOf(image, 0, 0).g, 0x20);
    EXPECT_EQ(pixelOf(image, 0, 0).b, 0x10);
}

TEST(BmpReader, IgnoresSignatureBitCountAndCompression) {
    Bytes file = bmp24File(3, 2, patternPixel);
    file[0] = 'X';
    file[1] = 'Y';
    file[28] = 8; // bit count
    file[30] = 1; // compression
    RgbImage image;
    ASSERT_EQ(decodeBmp24(file.data(), file.size(), image), 0);
    expectPicture(image, 3, 2, patternPixel);
}

TEST(BmpReader, ZeroWidthOrHeightGivesAnImageWithoutPixels) {
    for (const auto& [width, height] : {std::pair{0, 5}, std::pair{5, 0}, std::pair{0, 0}}) {
        RgbImage image;
        loadKnownPicture(image);
        const Bytes file = bmpHeaderBytes({54, width, height, 24, 0});
        EXPECT_EQ(decodeBmp24(file.data(), file.size(), image), 0);
        EXPECT_EQ(image.cols, width);
        EXPECT_EQ(image.rows, height);
        EXPECT_EQ(image.pixels, nullptr);
    }
}

TEST_F(BmpFiles, MissingFileFailsAndCreatesNothing) {
    const std::string missing = dir.file("absent.bmp");
    RgbImage empty;
    EXPECT_EQ(empty.loadBmp24(missing.c_str()), -1);
    EXPECT_EQ(empty.pixels, nullptr);
    EXPECT_EQ(empty.loadBmp8(missing.c_str()), -1);
    RgbImage loaded;
    loadKnownPicture(loaded);
    EXPECT_EQ(loaded.loadBmp24(missing.c_str()), -1);
    expectKnownPicture(loaded);
    EXPECT_FALSE(std::filesystem::exists(missing));
}

// Headers we refuse: the image must hold exactly what it held before.
TEST(BmpReader, RefusedHeadersLeaveTheImageAlone) {
    struct Case {
        const char* what;
        Bytes file;
    };
    const Case cases[] = {
        {"empty file", {}},
        {"53 bytes", Bytes(53, 0)},
        {"negative width", bmpHeaderBytes({54, -4, 4, 24, 0})},
        {"width 16385", bmpHeaderBytes({54, 16385, 1, 24, 0})},
        {"height 16385", bmpHeaderBytes({54, 1, 16385, 24, 0})},
        {"height -16385", bmpHeaderBytes({54, 1, -16385, 24, 0})},
        {"height INT32_MIN", bmpHeaderBytes({54, 1, -2147483647 - 1, 24, 0})},
        {"30000 x 30000", bmpHeaderBytes({54, 30000, 30000, 24, 0})},
        {"width INT32_MAX", bmpHeaderBytes({54, 2147483647, 2, 24, 0})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RgbImage image;
        loadKnownPicture(image);
        EXPECT_EQ(decodeBmp24(c.file.data(), c.file.size(), image), -1);
        expectKnownPicture(image);
        EXPECT_EQ(decodeBmp8(c.file.data(), c.file.size(), image), -1);
        expectKnownPicture(image);
    }
}

TEST(BmpReader, NegativeHeightIsATopDownFileDecodedUpright) {
    // Stored top row first: stored row k is picture row (rows - 1 - k).
    Bytes file = bmp24File(3, 4, [](int col, int row) { return patternPixel(col, 3 - row); });
    file[22] = 0xFC; // height -4
    file[23] = file[24] = file[25] = 0xFF;
    RgbImage image;
    ASSERT_EQ(decodeBmp24(file.data(), file.size(), image), 0);
    expectPicture(image, 3, 4, patternPixel);
}

// AddressSanitizer reserves terabytes of address space, so a limit on it cannot work there.
#if defined(__GLIBC__) && !defined(ORVESSA_SANITIZED)
// Exits 0 when a load that cannot get its pixel array fails and leaves the image alone.
void loadUnderMemoryLimit(bool eightBit) {
    RgbImage image;
    const Bytes known = bmp24File(2, 2, patternPixel);
    if (decodeBmp24(known.data(), known.size(), image) != 0) {
        std::exit(2);
    }
    // 100 MiB of rows is enough for the header's claim to be believed, at either depth.
    Bytes file = bmpHeaderBytes({54, 16384, 16384, 24, 0});
    file.resize(std::size_t{100} << 20);
    const rlimit limit{512u << 20, 512u << 20}; // far below the 805 MB the header asks for
    setrlimit(RLIMIT_AS, &limit);
    const int result = eightBit ? decodeBmp8(file.data(), file.size(), image)
                                : decodeBmp24(file.data(), file.size(), image);
    const bool unchanged =
        image.cols == 2 && image.rows == 2 && image.pixels[3] == patternPixel(1, 1);
    std::exit(result == -1 && unchanged ? 0 : 1);
}

// qemu's user-mode emulator answers setrlimit(RLIMIT_AS) but keeps the limit from its own
// allocations, and so from the program's: the lowered limit does not read back.
bool addressSpaceLimitApplies() {
    rlimit old{};
    getrlimit(RLIMIT_AS, &old);
    rlimit lowered = old;
    lowered.rlim_cur = rlim_t{1} << 31;
    rlimit read{};
    const bool set = setrlimit(RLIMIT_AS, &lowered) == 0 && getrlimit(RLIMIT_AS, &read) == 0;
    setrlimit(RLIMIT_AS, &old);
    return set && read.rlim_cur == lowered.rlim_cur;
}

TEST(BmpReaderDeathTest, PixelArrayThatCannotBeAllocatedFailsAndKeepsTheImage) {
    if (!addressSpaceLimitApplies()) {
        GTEST_SKIP() << "no address-space limit can be set here (an emulator?)";
    }
    // A forked child only, never the binary started again: under an emulator (qemu-user) the
    // kernel could not start it.
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(loadUnderMemoryLimit(false), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(loadUnderMemoryLimit(true), testing::ExitedWithCode(0), "");
}
#endif

TEST(BmpReader, PixelsBeyondTheEndOfATruncatedFileAreBlack) {
    Bytes file = bmp24File(4, 3, patternPixel); // stride 12, no padding
    file.resize(54 + 12 + 7);                   // row 1: two whole pixels and one byte more
    RgbImage image;
    ASSERT_EQ(decodeBmp24(file.data(), file.size(), image), 0);
    expectPicture(image, 4, 3, [](int col, int row) {
        return row == 0 || (row == 1 && col < 2) ? patternPixel(col, row) : RgbPixel{};
    });
}

TEST(BmpReader, BfOffBitsPastTheEndGivesABlackPicture) {
    for (std::uint32_t offset : {0u, 20u, 1000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(offset);
        Bytes file = bmp24File(2, 2, patternPixel);
        file[10] = static_cast<std::uint8_t>(offset);
        file[11] = static_cast<std::uint8_t>(offset >> 8);
        file[12] = static_cast<std::uint8_t>(offset >> 16);
        file[13] = static_cast<std::uint8_t>(offset >> 24);
        RgbImage image;
        ASSERT_EQ(decodeBmp24(file.data(), file.size(), image), 0);
        EXPECT_EQ(image.cols, 2);
        if (offset >= file.size()) {
            expectPicture(image, 2, 2, [](int, int) { return RgbPixel{}; });
        }
    }
}

std::vector<RgbPixel> rampPalette(std::size_t entries) {
    std::vector<RgbPixel> palette;
    for (std::size_t i = 0; i < entries; ++i) {
        palette.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                           static_cast<std::uint8_t>(i * 7)});
    }
    return palette;
}

TEST_F(BmpFiles, Reads8BitFilesThroughTheirPalette) {
    for (const std::size_t entries : {std::size_t{16}, std::size_t{256}}) {
        for (int width = 1; width <= 6; ++width) {
            SCOPED_TRACE(std::to_string(entries) + " entries, width " + std::to_string(width));
            const auto palette = rampPalette(entries);
            const auto indexAt = [entries](int col, int row) {
                return static_cast<std::uint8_t>((col * 3 + row * 5) % entries);
            };
            RgbImage image;
            const std::string path = write("p.bmp", bmp8File(width, 3, palette, indexAt));
            ASSERT_EQ(image.loadBmp8(path.c_str()), 0);
            expectPicture(image, width, 3,
                          [&](int col, int row) { return palette[indexAt(col, row)]; });
        }
    }
}

TEST(BmpReader, PaletteEntryBytesAreBlueGreenRedReserved) {
    Bytes file = bmp8File(2, 1, rampPalette(4), [](int, int) { return std::uint8_t{3}; });
    file[54 + 12] = 0x00;
    file[54 + 13] = 0x80;
    file[54 + 14] = 0xFF;
    file[54 + 15] = 0x55;
    RgbImage image;
    ASSERT_EQ(decodeBmp8(file.data(), file.size(), image), 0);
    EXPECT_TRUE(pixelOf(image, 1, 0) == (RgbPixel{0xFF, 0x80, 0x00}));
}

// The colour count decides how much palette is read; anything it does not cover is black.
TEST(BmpReader, ColourCountBoundsThePalette) {
    const auto palette = rampPalette(256);
    const auto everyIndex = [](int col, int row) {
        return static_cast<std::uint8_t>(col + 16 * row);
    };
    const Bytes full = bmp8File(16, 16, palette, everyIndex);
    auto withCount = [&](std::uint32_t count) {
        Bytes file = full;
        for (int i = 0; i < 4; ++i) {
            file[46 + i] = static_cast<std::uint8_t>(count >> (8 * i));
        }
        return file;
    };
    struct Case {
        std::uint32_t count;
        std::size_t supplied;
    };
    for (const Case c : {Case{0, 256}, Case{1, 1}, Case{16, 16}, Case{256, 256}, Case{257, 256},
                         Case{0xFFFFFFFF, 256}}) {
        SCOPED_TRACE(c.count);
        const Bytes file = withCount(c.count);
        RgbImage image;
        ASSERT_EQ(decodeBmp8(file.data(), file.size(), image), 0);
        expectPicture(image, 16, 16, [&](int col, int row) {
            const std::size_t index = everyIndex(col, row);
            return index < c.supplied ? palette[index] : RgbPixel{};
        });
    }
}

TEST(BmpReader, PaletteCutShortByTheEndOfFileIsBlackBeyondIt) {
    Bytes file = bmp8File(4, 1, rampPalette(256),
                          [](int col, int) { return static_cast<std::uint8_t>(col); });
    file.resize(54 + 4 * 2 + 3); // two whole entries, a third cut short, no pixels
    RgbImage image;
    ASSERT_EQ(decodeBmp8(file.data(), file.size(), image), 0);
    expectPicture(image, 4, 1, [](int, int) { return RgbPixel{}; });
}

void expectPixels(const RgbImage& image, const std::vector<RgbPixel>& expected) {
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_TRUE(image.pixels[i] == expected[i])
            << "pixel " << i << ": " << toString(image.pixels[i]) << " vs "
            << toString(expected[i]);
    }
}

void expectSameAsReference(const Bytes& file, bool eightBit) {
    const auto expected = referenceDecode(file.data(), file.size(), eightBit);
    RgbImage image;
    const int result = eightBit ? decodeBmp8(file.data(), file.size(), image)
                                : decodeBmp24(file.data(), file.size(), image);
    ASSERT_EQ(result, expected ? 0 : -1);
    if (expected) {
        expectPixels(image, *expected);
    }
}

TEST(BmpReader, BatchedReadsMatchRowByRowReadingAtEveryTruncation) {
    const Bytes files24[] = {bmp24File(5, 6, patternPixel), bmp24File(8, 3, patternPixel, 122),
                             bmp24File(7, 5, patternPixel, 61)};
    for (const Bytes& whole : files24) {
        for (std::size_t size = 0; size <= whole.size(); ++size) {
            SCOPED_TRACE("24-bit, truncated to " + std::to_string(size));
            expectSameAsReference(Bytes(whole.begin(), whole.begin() + size), false);
        }
    }
    const Bytes file8 = bmp8File(5, 6, rampPalette(20), [](int col, int row) {
        return static_cast<std::uint8_t>((col + 7 * row) % 23); // some beyond the palette
    });
    for (std::size_t size = 0; size <= file8.size(); ++size) {
        SCOPED_TRACE("8-bit, truncated to " + std::to_string(size));
        expectSameAsReference(Bytes(file8.begin(), file8.begin() + size), true);
    }
}

TEST(BmpReader, BatchedReadsMatchRowByRowReadingOnLargeRows) {
    // Rows larger than one read batch, and a batch boundary falling mid-file.
    const Bytes wide = bmp24File(16384, 3, patternPixel);
    expectSameAsReference(wide, false);
    expectSameAsReference(Bytes(wide.begin(), wide.begin() + 54 + 49152 + 777), false);
    const Bytes many = bmp24File(333, 150, patternPixel);
    expectSameAsReference(many, false);
    expectSameAsReference(Bytes(many.begin(), many.end() - 5000), false);
}

TEST_F(BmpFiles, CompleteFilesReadInOneGoMatchRowByRowReading) {
    // A complete bottom-up file is taken in one read and its rows closed up in place: widths
    // with and without padding, pixel counts on and off the 16-pixel runs the colour swap works
    // in, a gap before the pixels, bytes after them, the last row's padding missing, top-down
    // rows (read in batches), and the same files read from disk.
    for (const int width : {1, 4, 5, 16, 17, 20, 35, 1000, 1023}) {
        for (const std::uint32_t offBits : {54u, 122u}) {
            SCOPED_TRACE("width " + std::to_string(width) + ", offset " + std::to_string(offBits));
            Bytes file = bmp24File(width, 5, patternPixel, offBits);
            Bytes longer = file;
            longer.insert(longer.end(), 100, 0xAB);
            Bytes lastPaddingMissing = file;
            lastPaddingMissing.resize(file.size() - (4 - 3 * width % 4) % 4);
            Bytes topDown = file;
            topDown[22] = 0xFB; // height -5
            topDown[23] = topDown[24] = topDown[25] = 0xFF;
            for (const Bytes* bytes : {&file, &longer, &lastPaddingMissing, &topDown}) {
                expectSameAsReference(*bytes, false);
                RgbImage image;
                ASSERT_EQ(image.loadBmp24(write("u.bmp", *bytes).c_str()), 0);
                expectPixels(image, *referenceDecode(bytes->data(), bytes->size(), false));
            }
        }
    }
}

// A sparse file whose pixel rows start 64 KiB before the 4 GiB mark and end past it: the 8-bit
// reader takes them in batches, the later ones from offsets no 32-bit count can hold.
TEST_F(BmpFiles, PixelRowsPastFourGiBComeFromTheirOwnOffsets) {
    constexpr std::uint64_t far = 0xFFFF0000u;
    const auto palette = rampPalette(256);
    const auto index = [](int col, int row) { return static_cast<std::uint8_t>(col + 3 * row); };
    const auto moveRowsFar = [&](Bytes file, std::size_t rowsAt, const std::string& name) {
        for (int i = 0; i < 4; ++i) {
            file[10 + i] = static_cast<std::uint8_t>(far >> (8 * i)); // bfOffBits
        }
        const std::string path = write(name, Bytes(file.begin(), file.begin() + rowsAt));
        std::fstream out(path, std::ios::in | std::ios::out | std::ios::binary);
        out.seekp(static_cast<std::streamoff>(far));
        out.write(reinterpret_cast<const char*>(file.data() + rowsAt),
                  static_cast<std::streamsize>(file.size() - rowsAt));
        EXPECT_TRUE(out.good());
        return path;
    };
    RgbImage eight;
    const std::string eightPath =
        moveRowsFar(bmp8File(512, 1024, palette, index), 54 + 1024, "8.bmp");
    ASSERT_EQ(eight.loadBmp8(eightPath.c_str()), 0);
    expectPicture(eight, 512, 1024, [&](int col, int row) { return palette[index(col, row)]; });
    RgbImage rgb;
    const std::string rgbPath = moveRowsFar(bmp24File(256, 256, patternPixel), 54, "24.bmp");
    ASSERT_EQ(rgb.loadBmp24(rgbPath.c_str()), 0);
    expectPicture(rgb, 256, 256, patternPixel);
}

TEST_F(BmpFiles, ReloadingAThousandTimesKeepsContentAndMemory) {
    const std::string path = write("r.bmp", bmp24File(64, 32, patternPixel));
    RgbImage image;
    ASSERT_EQ(image.loadBmp24(path.c_str()), 0);
#ifdef __GLIBC__
    const std::size_t heapAfterFirst = mallinfo2().uordblks;
#endif
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(image.loadBmp24(path.c_str()), 0);
    }
#ifdef __GLIBC__
    EXPECT_EQ(mallinfo2().uordblks, heapAfterFirst);
#endif
    expectPicture(image, 64, 32, patternPixel);
}

} // namespace
