// Scene set-up. Textures are read from disk on every run so that an edited file shows up at
// the next key press.
#include "app/scene_setup.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "app/app_state.h"
#include "scene/texture_names.h"

const std::array<TextureFile, 6> kTextureTable{{
    {"minar.bmp", TEX_MINARET},
    {"grass.bmp", TEX_GRASS},
    {"door.bmp", TEX_DOOR},
    {"pool.bmp", TEX_POOL},
    {"roof.bmp", TEX_ROOF},
    {"sw.bmp", TEX_WALKWAY},
}};
std::array<RgbImage, 6> textureImages;
bool firstSetupDone = false;

void initScene() {
    glClearColor(1, 1, 1, 1);

    // The orthographic factor flips view-space z, so the camera sees along +n and the picture
    // is mirrored left to right; the first-time turn below faces the viewer the right way.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60, 1, 0.01, 512);
    glOrtho(-100, 100, -100, 100, -100, 100);

    glEnable(GL_NORMALIZE);
    glEnable(GL_DEPTH_TEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);

    // A file that fails to load leaves its previous picture, which is uploaded again.
    for (std::size_t i = 0; i < kTextureTable.size(); ++i) {
        textureImages[i].loadBmp24(kTextureTable[i].file);
        textureImages[i].uploadTexture(kTextureTable[i].textureName);
    }

    if (!firstSetupDone) {
        camera.yaw(180);
        firstSetupDone = true;
    }
    // Out and back: reloads the view matrix, which the keyboard handler reset to identity.
    camera.slide(2, 0, 0);
    camera.slide(-2, 0, 0);
}
