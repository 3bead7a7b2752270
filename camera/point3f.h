// A position in scene space: three single-precision coordinates.
#pragma once

struct Point3f {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    void set(float newX, float newY, float newZ) {
        x = newX;
        y = newY;
        z = newZ;
    }
};
