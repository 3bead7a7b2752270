// The hostile corpus: crafted BMP files anyone could drop next to the program, each with what
// both readers must make of it. Every row runs four ways, decodeBmp24 / decodeBmp8 from memory
// and loadBmp24 / loadBmp8 from a real file, each on an image that already holds a picture, so
// a refused file can be seen to leave it exactly as it was. A few rows are not files at all
// but a folder, a FIFO or pipe, or a device named like a texture.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <thread>
#endif

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "bmp_file_builder.h"
#include "bmp_reference.h"
#include "image/bmp_reader.h"
#include "image/rgb_image.h"

namespace {

constexpr std::int32_t kInt32Min = -2147483647 - 1;
constexpr std::int32_t kInt32Max = 2147483647;

void put32(Bytes& file, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        file[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// Header field offsets, as the format lays them out.
constexpr std::size_t kOffBits = 10;
constexpr std::size_t kWidth = 18;
constexpr std::size_t kHeight = 22;
constexpr std::size_t kBitCount = 28;
constexpr std::size_t kColoursUsed = 46;

Bytes with32(Bytes file, std::size_t at, std::uint32_t value) {
    put32(file, at, value);
    return file;
}

Bytes withBitCount(Bytes file, std::uint16_t bits) {
    file[kBitCount] = static_cast<std::uint8_t>(bits);
    file[kBitCount + 1] = static_cast<std::uint8_t>(bits >> 8);
    return file;
}

Bytes cut(Bytes file, std::size_t size) {
    file.resize(size);
    return file;
}

Bytes header(std::int32_t width, std::int32_t height, std::uint16_t bits = 24) {
    return bmpHeaderBytes({54, width, height, bits, 0});
}

// What a reader must leave in the image.
enum class Picture {
    Kept,      // result -1: still the 3 x 2 picture it held before, the same array
    NoPixels,  // result 0: the header's dimensions, one of them 0, no array
    Black,     // result 0: the header's dimensions, every pixel black
    Exact,     // result 0: the header's dimensions, every pixel as `expected` says
    FromBytes, // result 0: the header's dimensions, every pixel as the reference reading says
};

struct Expect {
    Picture picture = Picture::Kept;
    std::int32_t cols = 3;
    std::int32_t rows = 2;
    PixelAt expected;
};

Expect kept() {
    return {};
}
Expect noPixels(std::int32_t cols, std::int32_t rows) {
    return {Picture::NoPixels, cols, rows, nullptr};
}
Expect black(std::int32_t cols, std::int32_t rows) {
    return {Picture::Black, cols, rows, nullptr};
}
Expect exact(std::int32_t cols, std::int32_t rows, PixelAt expected) {
    return {Picture::Exact, cols, rows, std::move(expected)};
}
Expect fromBytes(std::int32_t cols, std::int32_t rows) {
    return {Picture::FromBytes, cols, rows, nullptr};
}

// What stands at the path the file readers open.
enum class Node {
    File,   // a regular file holding the row's bytes
    Folder, // a directory
#ifdef _WIN32
    Pipe,      // a named pipe whose server never writes
    NulDevice, // NUL, the null device
#else
    Fifo,        // a FIFO nobody writes to
    DevZeroLink, // a symlink to /dev/zero, a character device
#endif
};

// The rows that are no regular file, on this platform.
#ifdef _WIN32
const std::pair<const char*, Node> kNotFiles[] = {
    {"Folder", Node::Folder}, {"Pipe", Node::Pipe}, {"NulDevice", Node::NulDevice}};
#else
const std::pair<const char*, Node> kNotFiles[] = {
    {"Fifo", Node::Fifo}, {"Folder", Node::Folder}, {"DevZeroSymlink", Node::DevZeroLink}};
#endif

struct HostileFile {
    std::string name; // a test name: letters and digits only
    Bytes file;
    Expect as24;
    Expect as8;
    bool quick = false; // the header claims so much that only an instant answer is acceptable
    Node node = Node::File;
};

void PrintTo(const HostileFile& row, std::ostream* out) {
    *out << row.name << " (" << row.file.size() << " bytes)";
}

std::vector<RgbPixel> rampPalette(std::size_t entries) {
    std::vector<RgbPixel> palette;
    for (std::size_t i = 0; i < entries; ++i) {
        palette.push_back({static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i),
                           static_cast<std::uint8_t>(i * 5 + 1)});
    }
    return palette;
}

// Pictures are checked after hostileFiles() has returned: the expectations own what they use.
// Colour of palette index `index` when only the first `supplied` entries count.
RgbPixel paletteColour(const std::vector<RgbPixel>& palette, std::size_t supplied,
                       std::size_t index) {
    return index < supplied && index < palette.size() ? palette[index] : RgbPixel{};
}

Bytes randomBytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 generator(seed);
    Bytes bytes(size);
    for (std::uint8_t& byte : bytes) {
        byte = static_cast<std::uint8_t>(generator());
    }
    return bytes;
}

// For bytes nobody designed: refused unless the header happens to hold usable dimensions.
Expect expectForRandom(const Bytes& file, bool eightBit) {
    const std::optional<ReferenceSize> size = referenceSize(file.data(), file.size(), eightBit);
    if (!size) {
        return kept();
    }
    return size->cols == 0 || size->rows == 0 ? noPixels(size->cols, size->rows)
                                              : fromBytes(size->cols, size->rows);
}

std::vector<HostileFile> hostileFiles() {
    std::vector<HostileFile> rows;
    const auto both = [&rows](std::string name, Bytes file, Expect expect, bool quick = false) {
        rows.push_back({std::move(name), std::move(file), expect, expect, quick});
    };
    const auto each = [&rows](std::string name, Bytes file, Expect as24, Expect as8) {
        rows.push_back({std::move(name), std::move(file), std::move(as24), std::move(as8)});
    };

    // Too short to hold both headers, then both headers and nothing more.
    const Bytes sound24 = bmp24File(5, 3, patternPixel); // stride 16: 15 pixel bytes, 1 pad
    both("Empty", {}, kept());
    both("OneByte", {'B'}, kept());
    both("ThirteenBytes", cut(sound24, 13), kept());
    both("FileHeaderOnly14Bytes", cut(sound24, 14), kept());
    both("FiftyThreeBytes", cut(sound24, 53), kept());
    both("BothHeadersNoPixels", header(4, 3), black(4, 3));

    // Dimensions.
    both("WidthZero", header(0, 7), noPixels(0, 7));
    both("HeightZero", header(7, 0), noPixels(7, 0));
    both("WidthZeroTopDown", header(0, -7), noPixels(0, 7));
    both("WidthMinusOne", header(-1, 2), kept());
    both("WidthInt32Min", header(kInt32Min, 2), kept());
    both("HeightInt32Min", header(1, kInt32Min), kept());
    both("HeightMinus16384", header(1, -16384), black(1, 16384));
    both("Width16385", header(16385, 1), kept());
    both("Height16385", header(1, 16385), kept());
    both("HeightMinus16385", header(1, -16385), kept());
    each("Width16384", bmp24File(16384, 1, patternPixel), exact(16384, 1, patternPixel),
         fromBytes(16384, 1));
    both("Claim30000x30000InHeaderOnly", header(30000, 30000), kept(), true);
    // 65536 x 65536 is 2^32 pixels, 0 in 32-bit arithmetic; 3 x 0x55555556 wraps to 2.
    both("PixelCountWrapsTo0In32Bits", header(65536, 65536), kept(), true);
    both("RowBytesWrapIn32Bits", header(0x55555556, 1), kept(), true);
    // The fields are signed: 3 x INT32_MAX x 2^31 passes INT64_MAX; read unsigned, 3 x
    // 0xFFFFFFFF squared passes 2^64.
    both("PixelBytesOverflowSigned64", header(kInt32Max, kInt32Min), kept(), true);
    both("PixelBytesOverflowUnsigned64",
         with32(with32(header(0, 0), kWidth, 0xFFFFFFFF), kHeight, 0xFFFFFFFF), kept(), true);

    // Claims of more than 1 MiB of rows (stride x rows) must come with an eighth of those bytes.
    // 24-bit rows take three times the bytes of 8-bit ones, so one file can be refused at one
    // depth and hold enough at the other.
    const auto withPixelBytes = [](Bytes file, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            file.push_back(static_cast<std::uint8_t>(i * 7 % 251));
        }
        return file;
    };
    both("Claim16384x16384InHeaderOnly", header(16384, 16384), kept(), true);
    both("Claim8192x8192With1KiB", withPixelBytes(header(8192, 8192), 1024), kept(), true);
    each("Claim4096x4096WithASixteenthOf24BitRows",
         withPixelBytes(header(4096, 4096), 4096 * 3 * 4096 / 16), kept(), fromBytes(4096, 4096));
    both("Claim4096x4096WithASixteenthOf8BitRows",
         withPixelBytes(header(4096, 4096, 8), 4096 * 4096 / 16), kept(), true);
    // 60 % of its rows: 1229 whole rows, then 10 pixels and two stray bytes of the next.
    each("Claim2048x2048With60Percent",
         cut(bmp24File(2048, 2048, patternPixel), 54 + 1229 * 6144 + 32),
         exact(2048, 2048,
               [](int col, int row) {
                   return row < 1229 || (row == 1229 && col < 10) ? patternPixel(col, row)
                                                                  : RgbPixel{};
               }),
         fromBytes(2048, 2048));
    both("Claim300x300InHeaderOnly", header(300, 300), black(300, 300));

    // Not regular files: refused at once, and a FIFO or a pipe must not block the open.
    for (const auto& [name, node] : kNotFiles) {
        rows.push_back({name, {}, kept(), kept(), true, node});
    }

    // Top-down files are decoded upright: stored row k is picture row rows - 1 - k.
    each("TopDown24",
         with32(bmp24File(3, 4, [](int col, int row) { return patternPixel(col, 3 - row); }),
                kHeight, static_cast<std::uint32_t>(-4)),
         exact(3, 4, patternPixel), fromBytes(3, 4));
    const auto palette16 = rampPalette(16);
    const auto index16 = [](int col, int row) {
        return static_cast<std::uint8_t>((col * 3 + row * 7) % 16);
    };
    each("TopDown8",
         with32(bmp8File(5, 3, palette16, index16), kHeight, static_cast<std::uint32_t>(-3)),
         fromBytes(5, 3), exact(5, 3, [palette16, index16](int col, int row) {
             return palette16[index16(col, 2 - row)];
         }));

    // bfOffBits anywhere: pixels come from wherever it points, header bytes included.
    const Bytes small24 = bmp24File(2, 2, patternPixel);
    both("OffBitsZero", with32(small24, kOffBits, 0), fromBytes(2, 2));
    both("OffBitsInsideHeaders", with32(small24, kOffBits, 20), fromBytes(2, 2));
    both("OffBitsPastTheEnd", with32(small24, kOffBits, 1000), black(2, 2));
    both("OffBitsMax", with32(small24, kOffBits, 0xFFFFFFFF), black(2, 2));
    const Bytes small8 =
        bmp8File(4, 2, rampPalette(4), [](int col, int) { return static_cast<std::uint8_t>(col); });
    both("OffBitsZeroEightBitFile", with32(small8, kOffBits, 0), fromBytes(4, 2));
    both("OffBitsMaxEightBitFile", with32(small8, kOffBits, 0xFFFFFFFF), black(4, 2));

    // Truncation: a pixel is decoded only when all its bytes are there.
    each("CutMidRow24", cut(sound24, 54 + 16 + 8),
         exact(5, 3,
               [](int col, int row) {
                   return row == 0 || (row == 1 && col < 2) ? patternPixel(col, row) : RgbPixel{};
               }),
         fromBytes(5, 3));
    each("CutInRowPadding24", cut(sound24, 54 + 15),
         exact(5, 3,
               [](int col, int row) { return row == 0 ? patternPixel(col, row) : RgbPixel{}; }),
         fromBytes(5, 3));
    // Widths that are multiples of 4 store rows without padding, laid out as the array is.
    const Bytes unpadded24 = bmp24File(4, 3, patternPixel);
    each("UnpaddedRows24", bmp24File(8, 3, patternPixel), exact(8, 3, patternPixel),
         fromBytes(8, 3));
    both("UnpaddedRowsOffBitsZero", with32(unpadded24, kOffBits, 0), fromBytes(4, 3));
    each("UnpaddedRowsCutByOneByte", cut(unpadded24, unpadded24.size() - 1),
         exact(4, 3,
               [](int col, int row) {
                   return row == 2 && col == 3 ? RgbPixel{} : patternPixel(col, row);
               }),
         fromBytes(4, 3));
    const Bytes sound8 = bmp8File(5, 3, palette16, index16); // pixels at 54 + 64, stride 8
    each("CutMidRow8", cut(sound8, 118 + 8 + 3), fromBytes(5, 3),
         exact(5, 3, [palette16, index16](int col, int row) {
             return row == 0 || (row == 1 && col < 3) ? palette16[index16(col, row)] : RgbPixel{};
         }));
    both("CutMidPalette", cut(sound8, 54 + 4 * 5 + 2), black(5, 3));
    // Pixels read from the palette itself (bfOffBits 54), which ends two bytes into entry 1:
    // indices 1 must find that entry black, not made up from the two bytes present.
    Bytes partialEntry = bmpHeaderBytes({54, 4, 1, 8, 0});
    partialEntry.insert(partialEntry.end(), {1, 0, 1, 0, 9, 9});
    each("PaletteEntryCutShort", partialEntry, fromBytes(4, 1), exact(4, 1, [](int col, int) {
             return col % 2 == 0 ? RgbPixel{} : RgbPixel{1, 0, 1};
         }));

    // The colour count decides how much palette is read, never more than 256 entries.
    const auto palette256 = rampPalette(256);
    const auto spread = [](int col, int) { return static_cast<std::uint8_t>(col * 17); };
    const Bytes full8 = bmp8File(16, 1, palette256, spread);
    const auto countCase = [&](std::string name, std::uint32_t count, std::size_t supplied) {
        each(std::move(name), with32(full8, kColoursUsed, count), fromBytes(16, 1),
             exact(16, 1, [palette256, spread, supplied](int col, int row) {
                 return paletteColour(palette256, supplied, spread(col, row));
             }));
    };
    countCase("ColoursUsed0MeansAll256", 0, 256);
    countCase("ColoursUsed1", 1, 1);
    countCase("ColoursUsed256", 256, 256);
    countCase("ColoursUsed257", 257, 256);
    countCase("ColoursUsedMax", 0xFFFFFFFF, 256);
    const auto palette4 = rampPalette(4);
    const auto upTo8 = [](int col, int) { return static_cast<std::uint8_t>(col); };
    each("IndicesBeyondThePalette", bmp8File(8, 1, palette4, upTo8), fromBytes(8, 1),
         exact(8, 1, [palette4, upTo8](int col, int row) {
             return paletteColour(palette4, 4, upTo8(col, row));
         }));
    // Count 0 asks for 256 entries from a file holding 4: the rest come from the pixel rows.
    both("ColoursUsed0WithAShortPalette", with32(bmp8File(8, 3, palette4, upTo8), kColoursUsed, 0),
         fromBytes(8, 3));

    // The bit count is never looked at: each reader decodes at its own depth.
    for (const std::uint16_t bits : {std::uint16_t{1}, std::uint16_t{32}, std::uint16_t{0xBEEF}}) {
        const std::string suffix = bits == 0xBEEF ? "Garbage" : std::to_string(bits);
        each("BitCount" + suffix + "In24BitFile", withBitCount(bmp24File(3, 2, patternPixel), bits),
             exact(3, 2, patternPixel), fromBytes(3, 2));
        each("BitCount" + suffix + "In8BitFile", withBitCount(sound8, bits), fromBytes(5, 3),
             exact(5, 3, [palette16, index16](int col, int row) {
                 return palette16[index16(col, row)];
             }));
    }

    // Random bytes, whole files and pixel data behind sound headers; fixed seeds.
    for (const std::size_t size : {1, 13, 54, 100, 4096, 65536}) {
        const Bytes file = randomBytes(size, 7 + static_cast<std::uint32_t>(size));
        each("Random" + std::to_string(size) + "Bytes", file, expectForRandom(file, false),
             expectForRandom(file, true));
    }
    for (const std::size_t size : {0, 30, 141, 1200}) {
        const auto seed = 11 + static_cast<std::uint32_t>(size);
        Bytes bottomUp = header(7, 5);
        Bytes topDown = header(6, -4, 8);
        const Bytes body = randomBytes(size, seed);
        bottomUp.insert(bottomUp.end(), body.begin(), body.end());
        topDown.insert(topDown.end(), body.begin(), body.end());
        both("RandomPixels" + std::to_string(size) + "Bytes", bottomUp, fromBytes(7, 5));
        both("RandomPixelsTopDown" + std::to_string(size) + "Bytes", topDown, fromBytes(6, 4));
    }
    return rows;
}

RgbPixel knownPixel(int col, int row) {
    return RgbPixel{static_cast<std::uint8_t>(0xC0 + col), static_cast<std::uint8_t>(0x30 + row),
                    0x77};
}

// The picture every image holds before a row is tried, made without the readers.
void holdKnownPicture(RgbImage& image) {
    image.replace(3, 2, PixelArray(static_cast<RgbPixel*>(std::calloc(6, sizeof(RgbPixel)))));
    ASSERT_NE(image.pixels, nullptr);
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 3; ++col) {
            image.setPixel(col, row, knownPixel(col, row));
        }
    }
}

// Reports the first pixel that differs only: one broken row must not print a million lines.
void expectEveryPixel(const RgbImage& image, const std::function<RgbPixel(int, int)>& want) {
    ASSERT_NE(image.pixels, nullptr);
    for (int row = 0; row < image.rows; ++row) {
        for (int col = 0; col < image.cols; ++col) {
            const RgbPixel got = image.pixels[static_cast<std::size_t>(row) * image.cols + col];
            const RgbPixel expected = want(col, row);
            if (!(got == expected)) {
                ADD_FAILURE() << "pixel (" << col << ", " << row << ") is " << toString(got)
                              << ", expected " << toString(expected);
                return;
            }
        }
    }
}

void expectOutcome(const RgbImage& image, const RgbPixel* before, int result, const Expect& want,
                   const Bytes& file, bool eightBit) {
    EXPECT_EQ(result, want.picture == Picture::Kept ? -1 : 0);
    ASSERT_EQ(image.cols, want.cols);
    ASSERT_EQ(image.rows, want.rows);
    switch (want.picture) {
    case Picture::Kept:
        EXPECT_EQ(image.pixels.get(), before) << "a refused file replaced the pixel array";
        expectEveryPixel(image, knownPixel);
        break;
    case Picture::NoPixels:
        EXPECT_EQ(image.pixels, nullptr);
        break;
    case Picture::Black:
        expectEveryPixel(image, [](int, int) { return RgbPixel{}; });
        break;
    case Picture::Exact:
        expectEveryPixel(image, want.expected);
        break;
    case Picture::FromBytes: {
        const auto reference = referenceDecode(file.data(), file.size(), eightBit);
        ASSERT_TRUE(reference) << "the reference refuses a file the reader was to accept";
        expectEveryPixel(image, [&](int col, int row) {
            return (*reference)[static_cast<std::size_t>(row) * image.cols + col];
        });
        break;
    }
    }
}

#ifdef _WIN32
// The server end of a named pipe, open while it lives and never written to: a reader that
// took the pipe for a file would wait for ever in its first read.
class PipeServer {
public:
    explicit PipeServer(const std::string& name)
        : handle_(CreateNamedPipeA(name.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 4096,
                                   4096, 0, nullptr)) {}
    ~PipeServer() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    PipeServer(const PipeServer&) = delete;
    PipeServer& operator=(const PipeServer&) = delete;
    bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};
#else
// A reader that waits in open() for a FIFO's writer would hang the test. While it lives, this
// opens the FIFO's other end once a second, which lets such an open return: the test then
// fails on its time limit instead of never ending.
class FifoUnblocker {
public:
    explicit FifoUnblocker(std::string path)
        : path_(std::move(path)), thread_([this] { unblockEverySecond(); }) {}
    ~FifoUnblocker() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            done_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }
    FifoUnblocker(const FifoUnblocker&) = delete;
    FifoUnblocker& operator=(const FifoUnblocker&) = delete;

private:
    void unblockEverySecond() {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!wake_.wait_for(lock, std::chrono::seconds(1), [this] { return done_; })) {
            const int fd = open(path_.c_str(), O_RDWR | O_NONBLOCK);
            if (fd >= 0) {
                close(fd);
            }
        }
    }

    std::string path_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    std::thread thread_; // last: it starts once everything it uses exists
};
#endif

// Puts what the row describes in the folder and returns the path the readers are to open;
// `keeper` keeps what must stay alive while they read.
std::string place(const HostileFile& row, const ScratchDir& dir, std::shared_ptr<void>& keeper) {
    const std::string path = dir.file("hostile.bmp");
    switch (row.node) {
    case Node::File:
        writeFile(path, row.file);
        return path;
    case Node::Folder:
        std::filesystem::create_directory(path);
        return path;
#ifdef _WIN32
    case Node::Pipe: {
        const std::string name =
            "\\\\.\\pipe\\orvessa-hostile-" + std::to_string(GetCurrentProcessId());
        auto server = std::make_shared<PipeServer>(name);
        EXPECT_TRUE(server->isOpen());
        keeper = server;
        return name;
    }
    case Node::NulDevice:
        return "NUL";
#else
    case Node::Fifo:
        EXPECT_EQ(mkfifo(path.c_str(), 0600), 0);
        keeper = std::make_shared<FifoUnblocker>(path);
        return path;
    case Node::DevZeroLink:
        std::filesystem::create_symlink("/dev/zero", path);
        return path;
#endif
    }
    return path;
}

class HostileBmp : public testing::TestWithParam<HostileFile> {
protected:
    ScratchDir dir;

    // Runs one reader on an image holding the known picture and checks what it left.
    void check(const char* how, const Expect& want, bool eightBit,
               const std::function<int(RgbImage&)>& read) {
        SCOPED_TRACE(how);
        RgbImage image;
        holdKnownPicture(image);
        const RgbPixel* before = image.pixels.get();
        const auto start = std::chrono::steady_clock::now();
        const int result = read(image);
        const std::chrono::duration<double, std::milli> elapsed =
            std::chrono::steady_clock::now() - start;
        if (GetParam().quick) {
            EXPECT_LT(elapsed.count(), 50.0) << "milliseconds";
        }
        expectOutcome(image, before, result, want, GetParam().file, eightBit);
    }
};

TEST_P(HostileBmp, BothReadersFromMemoryAndFromFile) {
    const HostileFile& row = GetParam();
    const Bytes& bytes = row.file;
    check("decodeBmp24", row.as24, false,
          [&](RgbImage& image) { return decodeBmp24(bytes.data(), bytes.size(), image); });
    check("decodeBmp8", row.as8, true,
          [&](RgbImage& image) { return decodeBmp8(bytes.data(), bytes.size(), image); });
    std::shared_ptr<void> keeper;
    const std::string path = place(row, dir, keeper);
    check("loadBmp24", row.as24, false,
          [&](RgbImage& image) { return image.loadBmp24(path.c_str()); });
    check("loadBmp8", row.as8, true, [&](RgbImage& image) { return image.loadBmp8(path.c_str()); });
}

INSTANTIATE_TEST_SUITE_P(Corpus, HostileBmp, testing::ValuesIn(hostileFiles()),
                         [](const testing::TestParamInfo<HostileFile>& info) {
                             return info.param.name;
                         });

} // namespace
