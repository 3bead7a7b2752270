// Entry: answers --help and --version, or opens the full-screen window, sets the scene up and
// hands over to GLUT.
#include <GL/glut.h>

#include <cstdio>

#include "app/app_state.h"
#include "app/command_line.h"
#include "app/display.h"
#include "app/keyboard.h"
#include "app/platform.h"
#include "app/scene_setup.h"

namespace {
const char* const kWindowTitle = "Orvessa. use:arrow keys (AK). Sideways:'s' & Arrow Keys. "
                                 "Look Up:'p' & Arrow Keys. Fly Up:Page Up. Fly Down:Page Down";
} // namespace

int main(int argc, char** argv) {
    // Before glutInit, which needs a display and ends the program without one.
    const CommandLineAnswer answer = readCommandLine(argc, argv);
    if (!answer.run) {
        std::fputs(answer.out.c_str(), stdout);
        std::fputs(answer.err.c_str(), stderr);
        return answer.exitCode;
    }
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(800, 600);
    glutInitWindowPosition(100, 100);
    glutCreateWindow(kWindowTitle);
    glutDisplayFunc(onDisplay);
    glutSpecialFunc(onSpecialKey);
    glutKeyboardFunc(onKey);
    adaptToPlatform(kWindowTitle);
    glViewport(0, 0, 512, 512);
    poseCameraAtStart();
    glutFullScreen();
    initScene();
    glutMainLoop();
    return 0;
}
