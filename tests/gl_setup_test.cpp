// Scene set-up in a real GL context: matrices, the first-time turn, and textures read from disk.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include <filesystem>
#include <vector>

#include "app/app_state.h"
#include "app/scene_setup.h"
#include "gl_test_support.h"
#include "scene/texture_names.h"

namespace {

class SceneSetup : public ProgramInScratchFolder {
protected:
    void writeTexture(const std::string& name, int width, int height, const PixelAt& pixelAt) {
        writeFile(dir.path() / name, bmp24File(width, height, pixelAt));
    }
};

struct TextureContents {
    int width = 0;
    int height = 0;
    std::vector<RgbPixel> texels;
};

TextureContents readTexture(unsigned name) {
    TextureContents contents;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &contents.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &contents.height);
    contents.texels.resize(static_cast<std::size_t>(contents.width) * contents.height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, contents.texels.data());
    return contents;
}

TEST_F(SceneSetup, LoadsPerspectiveTimesOrthoWhateverSetShapeLoaded) {
    const std::array<float, 16> projection = currentMatrix(GL_PROJECTION_MATRIX);
    const Matrix4 expected = sceneProjection();
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(projection[i], expected[i], 1e-6 + 1e-6 * std::abs(expected[i])) << i;
    }
}

TEST_F(SceneSetup, LeavesTheCameraViewInTheModelViewMatrix) {
    EXPECT_EQ(currentMatrix(GL_MODELVIEW_MATRIX), camera.viewMatrix());
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(SceneSetup, TurnsTheCameraRoundOnTheFirstRunOnly) {
    // The first run faced the viewer towards the hall: n now points from the eye to the target.
    EXPECT_LT(camera.n.z, -0.97f);
    const Camera before = camera;
    initScene();
    EXPECT_EQ(camera.n.x, before.n.x);
    EXPECT_EQ(camera.n.z, before.n.z);
    EXPECT_EQ(camera.u.x, before.u.x);
    // The slide out and back returns the eye within float rounding.
    EXPECT_NEAR(camera.eye.x, before.eye.x, 1e-5);
    EXPECT_NEAR(camera.eye.y, before.eye.y, 1e-5);
    EXPECT_NEAR(camera.eye.z, before.eye.z, 1e-5);
}

TEST_F(SceneSetup, SwitchesOnTheRenderStateTheSceneNeeds) {
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    GLfloat clear[4] = {};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[0] + clear[1] + clear[2] + clear[3], 4.0f);
}

TEST_F(SceneSetup, UploadsEachFileUnderItsFixedName) {
    const TextureColours colours = distinctColours();
    const std::pair<unsigned, RgbPixel> expected[] = {
        {TEX_MINARET, colours.minaret}, {TEX_GRASS, colours.grass}, {TEX_DOOR, colours.door},
        {TEX_POOL, colours.pool},       {TEX_ROOF, colours.roof},   {TEX_WALKWAY, colours.walkway}};
    for (const auto& [name, colour] : expected) {
        const TextureContents texture = readTexture(name);
        EXPECT_EQ(texture.width, 8) << name;
        ASSERT_FALSE(texture.texels.empty()) << name;
        EXPECT_EQ(toString(texture.texels[27]), toString(colour)) << name;
    }
}

TEST_F(SceneSetup, PicksUpAnEditedFileAndKeepsTheOldPictureOfADeletedOne) {
    writeTexture("roof.bmp", 16, 4, patternPixel);
    initScene();
    TextureContents roof = readTexture(TEX_ROOF);
    ASSERT_EQ(roof.width, 16);
    ASSERT_EQ(roof.height, 4);
    EXPECT_EQ(toString(roof.texels[16 * 2 + 5]), toString(patternPixel(5, 2)));

    std::filesystem::remove(dir.path() / "roof.bmp");
    initScene();
    roof = readTexture(TEX_ROOF);
    EXPECT_EQ(roof.width, 16);
    EXPECT_EQ(roof.height, 4);
    EXPECT_EQ(toString(roof.texels[16 * 2 + 5]), toString(patternPixel(5, 2)));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "roof.bmp")) << "must not be created";
}

TEST_F(SceneSetup, UploadsOddWidthsUnskewedAndRestoresUnpackAlignment) {
    for (int width : {1, 2, 3, 5, 7}) {
        SCOPED_TRACE(width);
        writeTexture("minar.bmp", width, 3, patternPixel);
        initScene();
        const TextureContents texture = readTexture(TEX_MINARET);
        ASSERT_EQ(texture.width, width);
        ASSERT_EQ(texture.height, 3);
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < width; ++col) {
                EXPECT_EQ(toString(texture.texels[row * width + col]),
                          toString(patternPixel(col, row)))
                    << col << ", " << row;
            }
        }
        GLint alignment = 0;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
        EXPECT_EQ(alignment, 4);
    }
}

TEST(SceneSetupWithoutFiles, UploadsEmptyTextures) {
    ScratchDir empty;
    WorkingDirectory inDir(empty.path().string());
    startProgramState();
    for (unsigned name = TEX_MINARET; name <= TEX_WALKWAY; ++name) {
        EXPECT_EQ(readTexture(name).width, 0) << name;
    }
    for (const RgbImage& image : textureImages) {
        EXPECT_EQ(image.pixels, nullptr);
    }
}

TEST_F(SceneSetup, HundredRunsLeaveTheHeapWhereTheFirstLeftIt) {
    initScene();
    const std::size_t heapAfterFirst = mallinfo2().uordblks;
    for (int i = 0; i < 100; ++i) {
        initScene();
    }
    EXPECT_EQ(mallinfo2().uordblks, heapAfterFirst);
}

} // namespace
