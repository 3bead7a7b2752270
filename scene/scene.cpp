// Immediate-mode drawing of the face table, binding each texture once per run of faces.
#include "scene/scene.h"

#include <GL/gl.h>

#include "scene/scene_faces.h"

namespace {
#ifdef __EMSCRIPTEN__
// Emscripten's immediate-mode emulation (the web build) draws no GL_POLYGON, and it keeps a
// normal per vertex: one given only before the first corner garbles the face.
constexpr GLenum kFacePrimitive = GL_QUADS;
constexpr bool kNormalAtEveryCorner = true;
#else
constexpr GLenum kFacePrimitive = GL_POLYGON;
constexpr bool kNormalAtEveryCorner = false;
#endif
} // namespace

void Scene::drawScene() const {
    glEnable(GL_TEXTURE_2D);
    const Face* previous = nullptr;
    for (const Face& face : kSceneFaces) {
        if (previous == nullptr || face.texture != previous->texture) {
            glBindTexture(GL_TEXTURE_2D, face.texture);
        }
        glBegin(kFacePrimitive);
        for (const Corner& corner : face.corners) {
            if (kNormalAtEveryCorner || &corner == &face.corners.front()) {
                glNormal3f(face.normal.x, face.normal.y, face.normal.z);
            }
            glTexCoord2f(corner.s, corner.t);
            glVertex3f(corner.x, corner.y, corner.z);
        }
        glEnd();
        previous = &face;
    }
}
