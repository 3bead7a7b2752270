// Immediate-mode drawing of the face table, binding each texture once per run of faces.
#include "scene/scene.h"

#include <GL/gl.h>

#include "scene/scene_faces.h"

void Scene::drawScene() const {
    glEnable(GL_TEXTURE_2D);
    const Face* previous = nullptr;
    for (const Face& face : kSceneFaces) {
        if (previous == nullptr || face.texture != previous->texture) {
            glBindTexture(GL_TEXTURE_2D, face.texture);
        }
        glBegin(GL_POLYGON);
        glNormal3f(face.normal.x, face.normal.y, face.normal.z);
        for (const Corner& corner : face.corners) {
            glTexCoord2f(corner.s, corner.t);
            glVertex3f(corner.x, corner.y, corner.z);
        }
        glEnd();
        previous = &face;
    }
}
