// Scene set-up: projection, render switches and the six textures, re-read on every run.
#pragma once

#include <array>

#include "image/rgb_image.h"

struct TextureFile {
    const char* file;
    unsigned textureName;
};

// Load order; image i of textureImages holds file i.
extern const std::array<TextureFile, 6> kTextureTable;
extern std::array<RgbImage, 6> textureImages;
extern bool firstSetupDone;

void initScene();
