// Camera frame, motion and view matrix, checked as plain arithmetic.
#include <gtest/gtest.h>

#include <cmath>

#include "camera/camera.h"

namespace {

constexpr float kTolerance = 1e-5f;

void expectVector(const Vector3f& v, float x, float y, float z, float tolerance = kTolerance) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

Camera startPose() {
    Camera camera;
    camera.set(-20, 3, 75, 0, 3, -10, 0, 1, 0);
    return camera;
}

// The view matrix applied to a world point.
std::array<float, 3> toView(const Camera& camera, float x, float y, float z) {
    const std::array<float, 16> m = camera.viewMatrix();
    return {m[0] * x + m[4] * y + m[8] * z + m[12], m[1] * x + m[5] * y + m[9] * z + m[13],
            m[2] * x + m[6] * y + m[10] * z + m[14]};
}

TEST(Camera, SetBuildsAnOrthonormalFrameLookingFromTheTarget) {
    const Camera camera = startPose();
    const double length = std::sqrt(7625.0);
    expectVector(camera.n, static_cast<float>(-20 / length), 0, static_cast<float>(85 / length));
    expectVector(camera.u, static_cast<float>(85 / length), 0, static_cast<float>(20 / length));
    expectVector(camera.v, 0, 1, 0);
    EXPECT_NEAR(camera.u.dot(camera.n), 0.0, 1e-6);
    EXPECT_EQ(camera.eye.x, -20.0f);
    EXPECT_EQ(camera.target.z, -10.0f);
}

TEST(Camera, SetTakingPointsMatchesSetTakingFloats) {
    Camera a = startPose();
    Camera b;
    Point3f eye;
    Point3f target;
    Vector3f up;
    eye.set(-20, 3, 75);
    target.set(0, 3, -10);
    b.set(eye, target, up.set(0, 1, 0));
    EXPECT_EQ(a.viewMatrix(), b.viewMatrix());
}

TEST(Camera, SetWithEyeOnTargetReportsTheDegenerateAxis) {
    Camera camera;
    testing::internal::CaptureStderr();
    camera.set(1, 2, 3, 1, 2, 3, 0, 1, 0);
    // n and then u are both zero: one diagnostic each.
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "\nnormalize() sees vector (0,0,0)!\nnormalize() sees vector (0,0,0)!");
}

TEST(Camera, ViewMatrixPutsTheEyeAtTheOriginAndTheTargetOnMinusN) {
    const Camera camera = startPose();
    const auto eye = toView(camera, -20, 3, 75);
    EXPECT_NEAR(eye[0], 0, 1e-4);
    EXPECT_NEAR(eye[1], 0, 1e-4);
    EXPECT_NEAR(eye[2], 0, 1e-4);
    const auto target = toView(camera, 0, 3, -10);
    EXPECT_NEAR(target[0], 0, 1e-3);
    EXPECT_NEAR(target[1], 0, 1e-3);
    EXPECT_NEAR(target[2], -std::sqrt(7625.0f), 1e-3);
}

TEST(Camera, ViewMatrixOfTheCanonicalFrameIsIdentity) {
    Camera camera;
    camera.u.set(1, 0, 0);
    camera.v.set(0, 1, 0);
    camera.n.set(0, 0, 1);
    const std::array<float, 16> identity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    EXPECT_EQ(camera.viewMatrix(), identity);
}

TEST(Camera, SlideMovesAlongTheCameraAxes) {
    Camera camera = startPose();
    const Vector3f n = camera.n;
    camera.slide(0, 0, 2);
    EXPECT_NEAR(camera.eye.x, -20 + 2 * n.x, kTolerance);
    EXPECT_NEAR(camera.eye.z, 75 + 2 * n.z, kTolerance);
    camera.slide(0, 3, 0);
    EXPECT_NEAR(camera.eye.y, 6, kTolerance);
    camera.slide(-1, 0, 0);
    EXPECT_NEAR(camera.eye.x, -20 + 2 * n.x - camera.u.x, kTolerance);
}

TEST(Camera, YawHalfTurnReversesUAndNAndTwoRestoreThem) {
    Camera camera = startPose();
    const Camera before = camera;
    camera.yaw(180);
    expectVector(camera.u, -before.u.x, -before.u.y, -before.u.z);
    expectVector(camera.n, -before.n.x, -before.n.y, -before.n.z);
    expectVector(camera.v, before.v.x, before.v.y, before.v.z);
    camera.yaw(180);
    expectVector(camera.u, before.u.x, before.u.y, before.u.z);
    expectVector(camera.n, before.n.x, before.n.y, before.n.z);
    // sin of the float half-turn is not exactly 0, so the restore is only approximate.
    EXPECT_FALSE(camera.u.x == before.u.x && camera.u.z == before.u.z && camera.n.x == before.n.x &&
                 camera.n.z == before.n.z);
}

TEST(Camera, TurnsRotateTheRightPairOfAxes) {
    Camera rolled = startPose();
    rolled.roll(1);
    EXPECT_LT(rolled.u.dot(startPose().v), 0.0) << "roll(1) turns u towards -v";
    Camera rolledBack = startPose();
    rolledBack.roll(-1);
    EXPECT_GT(rolledBack.u.dot(startPose().v), 0.0) << "roll(-1) turns u towards +v";

    Camera pitched = startPose();
    pitched.pitch(10);
    EXPECT_NEAR(pitched.n.y, std::sin(10 * 0.0174532925), 1e-6) << "pitch turns n towards v";
    expectVector(pitched.u, startPose().u.x, startPose().u.y, startPose().u.z);

    Camera yawed = startPose();
    yawed.yaw(90);
    const Camera start = startPose();
    expectVector(yawed.u, start.n.x, start.n.y, start.n.z, 1e-6f);
    expectVector(yawed.n, -start.u.x, -start.u.y, -start.u.z, 1e-6f);
}

TEST(Camera, WalkingFromTheStartReachesTheHallBoxOnTheFortySecondStep) {
    Camera camera = startPose();
    camera.yaw(180); // facing the hall, as after the first set-up
    for (int step = 1; step <= 42; ++step) {
        EXPECT_FALSE(camera.eyeBlocked()) << "before step " << step;
        camera.slide(0, 0, 2);
    }
    EXPECT_TRUE(camera.eyeBlocked());
    EXPECT_NEAR(camera.eye.x, -0.76f, 0.01f);
    EXPECT_NEAR(camera.eye.z, -6.77f, 0.01f);
    EXPECT_EQ(camera.eye.y, 3.0f);
}

} // namespace
