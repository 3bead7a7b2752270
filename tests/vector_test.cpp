// Vector arithmetic and the near-zero diagnostic of normalize.
#include <gtest/gtest.h>

#include "camera/vector3f.h"

namespace {

Vector3f vec(float x, float y, float z) {
    Vector3f v;
    return v.set(x, y, z);
}

// Runs normalize on v and returns what it wrote to stderr.
std::string normalizeCapturingStderr(Vector3f& v) {
    testing::internal::CaptureStderr();
    v.normalize();
    return testing::internal::GetCapturedStderr();
}

const char* const kZeroDiagnostic = "\nnormalize() sees vector (0,0,0)!";

TEST(Vector, CrossFollowsTheRightHandRule) {
    const Vector3f a = vec(0, 1, 0).cross(vec(0, 0, 1));
    EXPECT_EQ(a.x, 1.0f);
    EXPECT_EQ(a.y, 0.0f);
    EXPECT_EQ(a.z, 0.0f);
    const Vector3f b = vec(0, 0, 1).cross(vec(1, 0, 0));
    EXPECT_EQ(b.x, 0.0f);
    EXPECT_EQ(b.y, 1.0f);
    EXPECT_EQ(b.z, 0.0f);
    const Vector3f c = vec(2, 3, 4).cross(vec(5, 6, 7));
    EXPECT_EQ(c.x, -3.0f);
    EXPECT_EQ(c.y, 6.0f);
    EXPECT_EQ(c.z, -3.0f);
}

TEST(Vector, CrossLeavesTheReceiverAlone) {
    Vector3f a = vec(1, 2, 3);
    a.cross(vec(4, 5, 6));
    EXPECT_EQ(a.x, 1.0f);
    EXPECT_EQ(a.y, 2.0f);
    EXPECT_EQ(a.z, 3.0f);
}

TEST(Vector, DotIsComputedWiderThanFloat) {
    EXPECT_EQ(vec(1, 2, 3).dot(vec(4, -5, 6)), 12.0);
    // 16777217 is not a float, but the sum of these float products is exact in double.
    EXPECT_EQ(vec(4096, 1, 0).dot(vec(4096, 1, 0)), 16777217.0);
}

TEST(Vector, SetChainsAndCopies) {
    Vector3f a;
    Vector3f b;
    b.set(a.set(1, 2, 3)).set(b.x * 2, b.y, b.z);
    EXPECT_EQ(b.x, 2.0f);
    EXPECT_EQ(b.y, 2.0f);
    EXPECT_EQ(a.x, 1.0f);
}

TEST(Vector, NormalizeScalesToUnitLength) {
    Vector3f v = vec(3, 0, 4);
    EXPECT_EQ(normalizeCapturingStderr(v), "");
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_EQ(v.y, 0.0f);
    EXPECT_FLOAT_EQ(v.z, 0.8f);

    Vector3f small = vec(0.001f, 0, 0); // squared length 1e-6, above the threshold
    EXPECT_EQ(normalizeCapturingStderr(small), "");
    EXPECT_FLOAT_EQ(small.x, 1.0f);
}

TEST(Vector, NormalizeReportsNearZeroVectorsAndKeepsThem) {
    Vector3f zero;
    EXPECT_EQ(normalizeCapturingStderr(zero), kZeroDiagnostic);
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(zero.y, 0.0f);
    EXPECT_EQ(zero.z, 0.0f);

    Vector3f tiny = vec(0.0003f, 0, 0); // squared length 9e-8
    EXPECT_EQ(normalizeCapturingStderr(tiny), kZeroDiagnostic);
    EXPECT_EQ(tiny.x, 0.0003f);
}

} // namespace
