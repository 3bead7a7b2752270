// A direction or axis in scene space, with the few operations the camera needs.
#pragma once

struct Vector3f {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    Vector3f& set(float newX, float newY, float newZ);
    Vector3f& set(const Vector3f& other);

    // this x b, computed in double and rounded once per component.
    Vector3f cross(const Vector3f& b) const;
    double dot(const Vector3f& b) const;

    // Scales to unit length; a near-zero vector is reported on stderr and left as it is.
    void normalize();
};
