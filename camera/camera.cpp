// Camera motion: frame construction, slides and turns. Every motion reloads the view matrix.
#include "camera/camera.h"

#include <cmath>

#include "scene/walkable_space.h"

namespace {

// Turns the pair (p, q) by angle degrees within their plane, rounding to float at each
// stored step so the frame drifts exactly as single-precision storage makes it drift.
void rotateAxes(Vector3f& p, Vector3f& q, float angle) {
    const auto radians = static_cast<float>(angle * 0.0174532925);
    const auto c = static_cast<float>(std::cos(static_cast<double>(radians)));
    const auto s = static_cast<float>(std::sin(static_cast<double>(radians)));
    const double cd = c, sd = s;
    Vector3f turned;
    turned.x = static_cast<float>(cd * p.x + sd * q.x);
    turned.y = static_cast<float>(cd * p.y + sd * q.y);
    turned.z = static_cast<float>(cd * p.z + sd * q.z);
    q.x = static_cast<float>(-sd * p.x + cd * q.x);
    q.y = static_cast<float>(-sd * p.y + cd * q.y);
    q.z = static_cast<float>(-sd * p.z + cd * q.z);
    p = turned;
}

Vector3f asVector(const Point3f& p) {
    Vector3f result;
    return result.set(p.x, p.y, p.z);
}

} // namespace

void Camera::set(float ex, float ey, float ez, float tx, float ty, float tz, float upx, float upy,
                 float upz) {
    Vector3f up;
    up.set(upx, upy, upz);
    target.set(tx, ty, tz);
    eye.set(ex, ey, ez);
    n.set(ex - tx, ey - ty, ez - tz);
    u.set(up.cross(n));
    n.normalize();
    u.normalize();
    v.set(n.cross(u));
    loadViewMatrix();
}

void Camera::set(Point3f newEye, Point3f newTarget, Vector3f up) {
    set(newEye.x, newEye.y, newEye.z, newTarget.x, newTarget.y, newTarget.z, up.x, up.y, up.z);
}

void Camera::slide(float du, float dv, float dn) {
    const double a = du, b = dv, c = dn;
    eye.x = static_cast<float>(a * u.x + b * v.x + c * n.x + eye.x);
    eye.y = static_cast<float>(a * u.y + b * v.y + c * n.y + eye.y);
    eye.z = static_cast<float>(a * u.z + b * v.z + c * n.z + eye.z);
    loadViewMatrix();
}

void Camera::roll(float angle) {
    rotateAxes(u, v, -angle);
    loadViewMatrix();
}

void Camera::pitch(float angle) {
    rotateAxes(n, v, angle);
    loadViewMatrix();
}

void Camera::yaw(float angle) {
    rotateAxes(u, n, angle);
    loadViewMatrix();
}

std::array<float, 16> Camera::viewMatrix() const {
    const Vector3f e = asVector(eye);
    return {u.x,
            v.x,
            n.x,
            0.0f,
            u.y,
            v.y,
            n.y,
            0.0f,
            u.z,
            v.z,
            n.z,
            0.0f,
            static_cast<float>(-e.dot(u)),
            static_cast<float>(-e.dot(v)),
            static_cast<float>(-e.dot(n)),
            1.0f};
}

bool Camera::eyeBlocked() const {
    return isBlocked(eye.x, eye.y, eye.z);
}
