// Vector arithmetic for the camera frame.
#include "camera/vector3f.h"

#include <cmath>
#include <cstdio>

Vector3f& Vector3f::set(float newX, float newY, float newZ) {
    x = newX;
    y = newY;
    z = newZ;
    return *this;
}

Vector3f& Vector3f::set(const Vector3f& other) {
    return set(other.x, other.y, other.z);
}

Vector3f Vector3f::cross(const Vector3f& b) const {
    const double ax = x, ay = y, az = z;
    Vector3f result;
    result.x = static_cast<float>(ay * b.z - az * b.y);
    result.y = static_cast<float>(az * b.x - ax * b.z);
    result.z = static_cast<float>(ax * b.y - ay * b.x);
    return result;
}

double Vector3f::dot(const Vector3f& b) const {
    return static_cast<double>(x) * b.x + static_cast<double>(y) * b.y +
           static_cast<double>(z) * b.z;
}

void Vector3f::normalize() {
    const double squaredLength = dot(*this);
    if (squaredLength < 0.0000001) {
        std::fputs("\nnormalize() sees vector (0,0,0)!", stderr);
        return;
    }
    const auto scale = static_cast<float>(1.0 / std::sqrt(squaredLength));
    x *= scale;
    y *= scale;
    z *= scale;
}
