// One frame: clear, draw the scene under the camera's view, present.
#include "app/display.h"

#include <GL/glut.h>

#include "app/app_state.h"

void onDisplay() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    scene.drawScene();
    glutSwapBuffers();
    glFlush();
}
