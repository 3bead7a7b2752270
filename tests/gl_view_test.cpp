// One frame from the start pose, with a solid colour per texture, checked at the pixels where
// the camera and projection put each surface.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "gl_test_support.h"

namespace {

class StartView : public ProgramInScratchFolder {
protected:
    void SetUp() override {
        ProgramInScratchFolder::SetUp();
        glViewport(0, 0, kTestWindowSize, kTestWindowSize);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        scene.drawScene();
        glFinish();
    }

    void expectColourAt(double x, double y, double z, RgbPixel colour, const char* what) {
        const WindowPoint p = projectToWindow(camera, x, y, z);
        ASSERT_GT(p.x, 2);
        ASSERT_LT(p.x, kTestWindowSize - 2);
        ASSERT_GT(p.y, 2);
        ASSERT_LT(p.y, kTestWindowSize - 2);
        EXPECT_EQ(toString(readPixel(static_cast<int>(p.x), static_cast<int>(p.y))),
                  toString(colour))
            << what << " at pixel (" << p.x << ", " << p.y << ")";
    }
};

TEST_F(StartView, ShowsEachSurfaceWhereTheProjectionPutsIt) {
    expectColourAt(0, 25, -10, colours.door, "front wall of the hall");
    expectColourAt(-20, 0, 50, colours.grass, "lawn in front of the eye");
    expectColourAt(0, 1, 40, colours.pool, "water of the pool");
    expectColourAt(-47.5, 30, -75, colours.minaret, "back-left minaret");
    expectColourAt(-10, 1.5, 30, colours.walkway, "pool border, near side");
}

TEST_F(StartView, IsMirroredWithThePoolToTheLeftOfTheEye) {
    // The eye stands at x = -20, so an ordinary camera would show the pool (x = 0) on the right.
    EXPECT_LT(projectToWindow(camera, 0, 1, 40).x, kTestWindowSize / 2.0);
}

TEST_F(StartView, ShowsWhiteSkyAboveTheHall) {
    const WindowPoint wallTop = projectToWindow(camera, 0, 50, -10);
    ASSERT_LT(wallTop.y, kTestWindowSize - 4) << "the hall must not fill the view";
    const int skyY = static_cast<int>((wallTop.y + kTestWindowSize) / 2);
    EXPECT_EQ(toString(readPixel(static_cast<int>(wallTop.x), skyY)), toString({255, 255, 255}));
    EXPECT_EQ(toString(readPixel(static_cast<int>(wallTop.x), static_cast<int>(wallTop.y) - 3)),
              toString(colours.door));
}

TEST(StartViewWithoutTextures, IsWhiteEverywhere) {
    ScratchDir empty;
    WorkingDirectory inDir(empty.path().string());
    startProgramState();
    glViewport(0, 0, kTestWindowSize, kTestWindowSize);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    scene.drawScene();
    std::vector<std::uint8_t> frame(kTestWindowSize * kTestWindowSize * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, kTestWindowSize, kTestWindowSize, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
    std::size_t notWhite = 0;
    for (std::uint8_t byte : frame) {
        notWhite += byte != 255;
    }
    EXPECT_EQ(notWhite, 0u);
}

} // namespace
