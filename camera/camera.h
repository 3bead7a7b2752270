// The viewer: an eye and an orthonormal frame that moves, turns and loads its own view matrix.
#pragma once

#include <array>

#include "camera/point3f.h"
#include "camera/vector3f.h"

class Camera {
public:
    Point3f eye;
    Point3f target; // kept for reference; nothing reads it back
    Vector3f u;     // right
    Vector3f v;     // up
    Vector3f n;     // backward: from the target towards the eye when set
    double fovy = 0.0;
    double aspect = 0.0;
    double zNear = 0.0;
    double zFar = 0.0;

    void set(float ex, float ey, float ez, float tx, float ty, float tz, float upx, float upy,
             float upz);
    void set(Point3f newEye, Point3f newTarget, Vector3f up);
    void setShape(float newFovy, float newAspect, float newNear, float newFar);

    void slide(float du, float dv, float dn);
    void roll(float angle);
    void pitch(float angle);
    void yaw(float angle);

    // The 16 column-major values loadViewMatrix hands to GL; needs no GL context.
    std::array<float, 16> viewMatrix() const;
    void loadViewMatrix() const;

    // True when the eye stands where the walkable-space test forbids.
    bool eyeBlocked() const;
};
