// The keyboard callbacks driving the real camera and scene set-up, key by key.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "app/app_state.h"
#include "app/keyboard.h"
#include "app/scene_setup.h"
#include "gl_test_support.h"
#include "scene/texture_names.h"

namespace {

class Keyboard : public ProgramInScratchFolder {
protected:
    static void press(int specialKey, int times = 1) {
        for (int i = 0; i < times; ++i) {
            onSpecialKey(specialKey, 0, 0);
        }
    }
    static void type(unsigned char key) { onKey(key, 0, 0); }
};

double distance(const Point3f& a, const Point3f& b) {
    return std::sqrt(std::pow(a.x - b.x, 2) + std::pow(a.y - b.y, 2) + std::pow(a.z - b.z, 2));
}

bool sameAxes(const Camera& a, const Camera& b, float tolerance = 1e-6f) {
    const auto near = [tolerance](const Vector3f& p, const Vector3f& q) {
        return std::abs(p.x - q.x) <= tolerance && std::abs(p.y - q.y) <= tolerance &&
               std::abs(p.z - q.z) <= tolerance;
    };
    return near(a.u, b.u) && near(a.v, b.v) && near(a.n, b.n);
}

TEST_F(Keyboard, WalkingIntoTheHallIsRefusedFromTheFortyThirdUpUntilDown) {
    for (int i = 1; i <= 42; ++i) {
        const Point3f before = camera.eye;
        press(GLUT_KEY_UP);
        ASSERT_NEAR(distance(before, camera.eye), 2.0, 1e-4) << "press " << i;
    }
    EXPECT_NEAR(camera.eye.x, -0.76f, 0.01f);
    EXPECT_NEAR(camera.eye.z, -6.77f, 0.01f);
    EXPECT_TRUE(camera.eyeBlocked());
    EXPECT_FALSE(blockedForward) << "the step into the box is taken";

    const Point3f inside = camera.eye;
    press(GLUT_KEY_UP, 3);
    EXPECT_TRUE(blockedForward);
    EXPECT_EQ(distance(inside, camera.eye), 0.0);
    EXPECT_EQ(currentMatrix(GL_MODELVIEW_MATRIX), camera.viewMatrix());

    // Down: clears the flag, steps 4 back, is then free and steps 2 more.
    press(GLUT_KEY_DOWN);
    EXPECT_FALSE(blockedForward);
    EXPECT_FALSE(blockedBack);
    EXPECT_NEAR(distance(inside, camera.eye), 6.0, 1e-4);
    EXPECT_FALSE(camera.eyeBlocked());
}

TEST_F(Keyboard, TurningNeverFreesABlockedEye) {
    press(GLUT_KEY_UP, 43);
    ASSERT_TRUE(blockedForward);
    const Point3f inside = camera.eye;
    press(GLUT_KEY_LEFT); // clears blockedForward, turns twice, moves nowhere
    EXPECT_FALSE(blockedForward);
    EXPECT_TRUE(blockedLeft);
    EXPECT_EQ(distance(inside, camera.eye), 0.0);
    press(GLUT_KEY_RIGHT); // clears blockedLeft, recovery turn of 1, then blocked
    EXPECT_FALSE(blockedLeft);
    EXPECT_TRUE(blockedRight);
    EXPECT_EQ(distance(inside, camera.eye), 0.0);
}

TEST_F(Keyboard, PageKeysFlyAndRecoverWithinTheirOwnGroup) {
    press(GLUT_KEY_PAGE_DOWN);
    EXPECT_NEAR(camera.eye.y, 1.0f, 1e-5);
    press(GLUT_KEY_PAGE_DOWN);
    EXPECT_TRUE(blockedSink);
    EXPECT_NEAR(camera.eye.y, 1.0f, 1e-5);

    press(GLUT_KEY_UP); // arrows never touch the page flags
    EXPECT_TRUE(blockedSink);

    press(GLUT_KEY_PAGE_UP); // clears blockedSink, rises 3, then 2 more
    EXPECT_FALSE(blockedSink);
    EXPECT_FALSE(blockedRise);
    EXPECT_NEAR(camera.eye.y, 6.0f, 1e-5);
}

TEST_F(Keyboard, FlyingOutOfTheTopOfTheWorldBlocksRisingUntilPageDown) {
    int presses = 0;
    while (!blockedRise && presses < 400) {
        press(GLUT_KEY_PAGE_UP);
        ++presses;
    }
    ASSERT_TRUE(blockedRise);
    EXPECT_GE(camera.eye.y, 500.0f);
    const float top = camera.eye.y;
    press(GLUT_KEY_PAGE_DOWN); // clears blockedRise, descends 3, free again, descends 2
    EXPECT_FALSE(blockedRise);
    EXPECT_NEAR(camera.eye.y, top - 5, 1e-3);
}

TEST_F(Keyboard, SlideModeMakesLeftAndRightStepSideways) {
    type('s');
    EXPECT_FALSE(turnMode);
    const Camera before = camera;
    press(GLUT_KEY_LEFT);
    EXPECT_NEAR(camera.eye.x, before.eye.x - 2 * before.u.x, 1e-4);
    EXPECT_NEAR(camera.eye.z, before.eye.z - 2 * before.u.z, 1e-4);
    EXPECT_TRUE(sameAxes(camera, before));
    press(GLUT_KEY_RIGHT, 2);
    EXPECT_NEAR(camera.eye.x, before.eye.x + 2 * before.u.x, 1e-4);

    type('S');
    EXPECT_TRUE(turnMode);
    const Camera beforeTurn = camera;
    press(GLUT_KEY_LEFT);
    EXPECT_EQ(distance(beforeTurn.eye, camera.eye), 0.0);
    EXPECT_NEAR(camera.u.dot(beforeTurn.u), std::cos(1 * 0.0174532925), 1e-6);
}

TEST_F(Keyboard, LookModeMakesUpAndDownTilt) {
    type('p');
    EXPECT_TRUE(lookMode);
    const Camera before = camera;
    press(GLUT_KEY_UP);
    EXPECT_EQ(distance(before.eye, camera.eye), 0.0);
    EXPECT_NEAR(camera.n.y, std::sin(1 * 0.0174532925), 1e-6) << "n tilts towards v";
    press(GLUT_KEY_DOWN, 2);
    EXPECT_NEAR(camera.n.y, -std::sin(1 * 0.0174532925), 1e-6);
    type('P');
    EXPECT_FALSE(lookMode);
}

TEST_F(Keyboard, ResetKeyRestoresThePoseButNotTheFlags) {
    type('p');
    type('s');
    press(GLUT_KEY_PAGE_DOWN, 2);
    ASSERT_TRUE(blockedSink);
    press(GLUT_KEY_LEFT, 10); // slides
    type('i');
    EXPECT_NEAR(camera.eye.x, -20, 1e-4);
    EXPECT_NEAR(camera.eye.y, 3, 1e-4);
    EXPECT_NEAR(camera.eye.z, 75, 1e-4);
    EXPECT_LT(camera.n.z, -0.97f) << "facing the hall again";
    EXPECT_TRUE(lookMode);
    EXPECT_FALSE(turnMode);
    EXPECT_TRUE(blockedSink);
    EXPECT_EQ(currentMatrix(GL_MODELVIEW_MATRIX), camera.viewMatrix());
}

TEST_F(Keyboard, RollEndAndHomeTurnTheFrameAsLabelled) {
    const Camera start = camera;
    type('+'); // roll(-1): u turns towards +v
    EXPECT_GT(camera.u.dot(start.v), 0.0);
    type('-');
    EXPECT_TRUE(sameAxes(camera, start, 1e-5f));

    press(GLUT_KEY_END);
    EXPECT_NEAR(camera.n.z, -start.n.z, 1e-5);
    EXPECT_NEAR(camera.u.x, -start.u.x, 1e-5);
    const Camera beforeHome = camera;
    press(GLUT_KEY_HOME);
    EXPECT_TRUE(sameAxes(camera, beforeHome, 0));
    EXPECT_EQ(distance(beforeHome.eye, camera.eye), 0.0);
}

TEST_F(Keyboard, AnyOtherKeyReloadsTexturesAndMovesNothing) {
    writeFile(dir.path() / "pool.bmp", bmp24File(4, 4, patternPixel));
    const Camera before = camera;
    type('I'); // only lower-case i resets
    EXPECT_EQ(textureImages[3].cols, 4);
    EXPECT_TRUE(sameAxes(camera, before, 0));
    EXPECT_NEAR(distance(before.eye, camera.eye), 0.0, 1e-5);
    EXPECT_EQ(currentMatrix(GL_MODELVIEW_MATRIX), camera.viewMatrix());
}

TEST_F(Keyboard, EscapeEndsTheProcessWithStatusZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Escape is pressed in a fresh run of this test, which exits before any destructor could
    // remove its own scratch folder: it removes the folder first.
    EXPECT_EXIT(
        {
            std::filesystem::remove_all(dir.path());
            type(27);
        },
        testing::ExitedWithCode(0), "");
}

} // namespace
