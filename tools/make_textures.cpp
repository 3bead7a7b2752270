// Writes the six textures Orvessa loads at start-up as 24-bit BMP files.
// Usage: make_textures OUTPUT_DIR

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "textures/texture_generator.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argc > 0 ? argv[0] : "make_textures");
        return 2;
    }
    const std::string dir = argv[1];
    for (int i = 0; i < texture_generator::kTextureCount; ++i) {
        const std::string path = dir + "/" + texture_generator::kTextureNames[i];
        const std::vector<std::uint8_t> bytes = texture_generator::textureFile(i);
        std::ofstream file(path, std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        file.close();
        if (!file) {
            std::fprintf(stderr, "make_textures: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
