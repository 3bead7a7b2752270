// The camera's two GL calls sites: loading the view and the perspective projection.
#include <GL/gl.h>
#include <GL/glu.h>

#include "camera/camera.h"

void Camera::setShape(float newFovy, float newAspect, float newNear, float newFar) {
    fovy = newFovy;
    aspect = newAspect;
    zNear = newNear;
    zFar = newFar;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fovy, aspect, zNear, zFar);
}

void Camera::loadViewMatrix() const {
    const std::array<float, 16> m = viewMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(m.data());
}
