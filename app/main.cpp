// Entry: opens the full-screen window, sets the scene up and hands over to GLUT.
#include <GL/glut.h>

#include "app/app_state.h"
#include "app/display.h"
#include "app/keyboard.h"
#include "app/scene_setup.h"

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(800, 600);
    glutInitWindowPosition(100, 100);
    glutCreateWindow("Orvessa. use:arrow keys (AK). Sideways:'s' & Arrow Keys. Look Up:'p' & "
                     "Arrow Keys. Fly Up:Page Up. Fly Down:Page Down");
    glutDisplayFunc(onDisplay);
    glutSpecialFunc(onSpecialKey);
    glutKeyboardFunc(onKey);
    glViewport(0, 0, 512, 512);
    poseCameraAtStart();
    glutFullScreen();
    initScene();
    glutMainLoop();
    return 0;
}
