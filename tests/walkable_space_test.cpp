// Where the eye may stand: world bounds, the hall and minaret boxes, all bounds exclusive.
#include <gtest/gtest.h>

#include "scene/walkable_space.h"

namespace {

struct Probe {
    float x, y, z;
    bool blocked;
    const char* why;
};

TEST(WalkableSpace, ClassifiesPointsOnAndInsideTheBoxes) {
    const Probe probes[] = {
        {-20, 3, 75, false, "start position"},
        {0, 2, 0, true, "eye must be above y = 2"},
        {0, 2.5f, 0, false, "just above the floor of the world"},
        {0, 3, -5, false, "on the hall box's front face"},
        {0, 3, -75, false, "on the hall box's back face"},
        {0, 3, -6, true, "just inside the hall box"},
        {0, 60, -40, false, "above the hall box"},
        {0, 55, -40, false, "on the hall box's top face"},
        {0, 54.9f, -40, true, "just under the hall box's top"},
        {-44, 10, 0, true, "front-left minaret box"},
        {-43, 10, 0, false, "on the front-left box's inner face"},
        {-57, 10, 0, false, "on the front-left box's outer face"},
        {44, 10, 0, true, "front-right minaret box"},
        {42, 10, 0, false, "on the front-right box's inner face"},
        {41, 10, -72, true, "back-right minaret box, wider than the front one"},
        {41, 10, 0, false, "between the hall and the front-right box"},
        {-56.9f, 69.9f, -84.9f, true, "back-left box's far corner"},
        {-50, 70, -77, false, "on top of the back-left box"},
        {199.9f, 499.9f, -199.9f, false, "inside the world's far corner"},
        {200, 3, 0, true, "on the world's x bound"},
        {0, 500, 0, true, "on the world's ceiling"},
        {0, 3, -200, true, "on the world's z bound"},
    };
    for (const Probe& p : probes) {
        EXPECT_EQ(isBlocked(p.x, p.y, p.z), p.blocked)
            << p.why << " at (" << p.x << ", " << p.y << ", " << p.z << ")";
    }
}

// Every side of every obstacle, probed at the middle of that side: on it the eye is free, a
// tenth inside it is stopped. The floors (y = 0) lie under the world's own floor and are left
// out. A mistyped bound in the box table shows up here by name.
TEST(WalkableSpace, StopsTheEyeATenthInsideEverySideOfEveryObstacle) {
    struct Obstacle {
        const char* name;
        float minX, maxX, maxY, minZ, maxZ;
    };
    const Obstacle obstacles[] = {
        {"hall", -35, 35, 55, -75, -5},
        {"front-left minaret", -57, -43, 70, -10, 5},
        {"front-right minaret", 42, 53, 70, -10, 5},
        {"back-left minaret", -57, -43, 70, -85, -70},
        {"back-right minaret", 40, 55, 70, -85, -70},
    };
    const float inward = 0.1f;
    for (const Obstacle& o : obstacles) {
        const float x = (o.minX + o.maxX) / 2, y = o.maxY / 2, z = (o.minZ + o.maxZ) / 2;
        const struct {
            const char* side;
            float x, y, z;    // a point on the side
            float dx, dy, dz; // the way into the box
        } sides[] = {
            {"left", o.minX, y, z, inward, 0, 0},   {"right", o.maxX, y, z, -inward, 0, 0},
            {"top", x, o.maxY, z, 0, -inward, 0},   {"back", x, y, o.minZ, 0, 0, inward},
            {"front", x, y, o.maxZ, 0, 0, -inward},
        };
        for (const auto& s : sides) {
            EXPECT_FALSE(isBlocked(s.x, s.y, s.z)) << "on the " << s.side << " of the " << o.name;
            EXPECT_TRUE(isBlocked(s.x + s.dx, s.y + s.dy, s.z + s.dz))
                << "a tenth inside the " << s.side << " of the " << o.name;
        }
    }
}

} // namespace
