// The walkable-space test: pure arithmetic on the fixed boxes.
#include "scene/walkable_space.h"

bool isBlocked(float x, float y, float z) {
    bool blocked = !kWorldBox.containsStrictly(x, y, z);
    for (const OpenBox& box : kObstacleBoxes) {
        if (box.containsStrictly(x, y, z)) {
            blocked = true;
        }
    }
    return blocked;
}
