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

} // namespace
