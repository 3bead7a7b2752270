// The generated textures, byte for byte: the native build writes them and the page makes them
// at start-up, so a change to the generator that alters a single byte must be a deliberate one.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "textures/texture_generator.h"

namespace {

// FNV-1a, 64 bits: enough to tell any change apart, and small enough to keep here.
std::uint64_t fnv1a(const std::vector<std::uint8_t>& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (std::uint8_t byte : bytes) {
        hash ^= byte;
        hash *= 0x100000001b3u;
    }
    return hash;
}

struct Expected {
    const char* name;
    std::size_t size;
    std::uint64_t digest;
};

// The files as the generator first made them, before it was rewritten for speed.
constexpr Expected kTextures[texture_generator::kTextureCount] = {
    {"minar.bmp", 786486, 0xf8672a82ee9ed5e4u}, {"grass.bmp", 786486, 0xcde59c322a22da22u},
    {"door.bmp", 786486, 0x00d93ddb3c50b5e2u},  {"pool.bmp", 196662, 0x6141a65cbad55b6du},
    {"roof.bmp", 196662, 0x3554928d34ec30feu},  {"sw.bmp", 196662, 0xf33d5e71d8ff32f6u},
};

TEST(TextureGenerator, EachTextureIsTheSameFileByteForByte) {
    for (int index = 0; index < texture_generator::kTextureCount; ++index) {
        const Expected& expected = kTextures[index];
        SCOPED_TRACE(expected.name);
        EXPECT_EQ(std::string(texture_generator::kTextureNames[index]), expected.name);
        const std::vector<std::uint8_t> file = texture_generator::textureFile(index);
        EXPECT_EQ(file.size(), expected.size);
        EXPECT_EQ(fnv1a(file), expected.digest);
    }
}

TEST(TextureGenerator, AnIndexOutsideTheSixGivesNoFile) {
    EXPECT_TRUE(texture_generator::textureFile(-1).empty());
    EXPECT_TRUE(texture_generator::textureFile(texture_generator::kTextureCount).empty());
}

} // namespace
