// Keyboard controls.
//
//   Escape            quit (status 0)
//   Up / Down         walk forward / back; with look mode, tilt up / down
//   Left / Right      turn; with slide mode, step sideways
//   Page Up / Down    fly up / down
//   End               turn round
//   + / -             roll
//   p, P              toggle look mode
//   s, S              toggle slide mode
//   i                 back to the start pose (flags and modes are kept)
//   any other key     reload the textures
//
// A step is refused once the eye stands in a blocked place, until another direction of the
// same group is pressed: that press first takes a larger recovery step back out.
#include "app/keyboard.h"

#include <GL/glut.h>

#include <cstdlib>
#include <initializer_list>

#include "app/app_state.h"
#include "app/scene_setup.h"

bool turnMode = true;
bool lookMode = false;
bool blockedForward = false;
bool blockedBack = false;
bool blockedLeft = false;
bool blockedRight = false;
bool blockedRise = false;
bool blockedSink = false;

namespace {

constexpr unsigned char kEscape = 27;

// One press of a direction key. step(true) is its recovery step, step(false) its normal one.
template <class Step>
void pressDirection(bool& ownFlag, std::initializer_list<bool*> otherFlags, Step step) {
    bool recovering = false;
    for (bool* flag : otherFlags) {
        recovering = recovering || *flag;
        *flag = false;
    }
    if (recovering) {
        step(true);
    }
    // The test looks at the eye before moving: the step into a blocked place is taken,
    // the next one in that direction is not.
    if (camera.eyeBlocked()) {
        ownFlag = true;
    } else {
        step(false);
    }
}

void sideways(float direction, bool recovering) {
    if (turnMode) {
        camera.yaw(direction);
    } else {
        camera.slide(direction * (recovering ? 4.0f : 2.0f), 0, 0);
    }
}

void forwards(float direction, bool recovering) {
    if (lookMode) {
        camera.pitch(direction);
    } else {
        camera.slide(0, 0, direction * (recovering ? 4.0f : 2.0f));
    }
}

void upwards(float direction, bool recovering) {
    camera.slide(0, direction * (recovering ? 3.0f : 2.0f), 0);
}

} // namespace

void handleKey(unsigned char key) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    switch (key) {
    case kEscape:
        std::exit(0);
    case '+':
        camera.roll(-1);
        initScene();
        break;
    case '-':
        camera.roll(1);
        initScene();
        break;
    case 'p':
    case 'P':
        lookMode = !lookMode;
        initScene();
        break;
    case 's':
    case 'S':
        turnMode = !turnMode;
        initScene();
        break;
    case 'i':
        initScene();
        poseCameraAtStart();
        camera.yaw(180);
        initScene();
        initScene();
        break;
    default:
        initScene();
        initScene();
        break;
    }
}

void handleSpecialKey(int key) {
    switch (key) {
    case GLUT_KEY_LEFT:
        pressDirection(blockedLeft, {&blockedForward, &blockedBack, &blockedRight},
                       [](bool recovering) { sideways(-1, recovering); });
        break;
    case GLUT_KEY_UP:
        pressDirection(blockedForward, {&blockedBack, &blockedLeft, &blockedRight},
                       [](bool recovering) { forwards(1, recovering); });
        break;
    case GLUT_KEY_RIGHT:
        pressDirection(blockedRight, {&blockedForward, &blockedBack, &blockedLeft},
                       [](bool recovering) { sideways(1, recovering); });
        break;
    case GLUT_KEY_DOWN:
        pressDirection(blockedBack, {&blockedForward, &blockedLeft, &blockedRight},
                       [](bool recovering) { forwards(-1, recovering); });
        break;
    case GLUT_KEY_PAGE_UP:
        pressDirection(blockedRise, {&blockedSink},
                       [](bool recovering) { upwards(1, recovering); });
        break;
    case GLUT_KEY_PAGE_DOWN:
        pressDirection(blockedSink, {&blockedRise},
                       [](bool recovering) { upwards(-1, recovering); });
        break;
    case GLUT_KEY_END:
        camera.yaw(180);
        break;
    default:
        break;
    }
}

void onKey(unsigned char key, int /*x*/, int /*y*/) {
    handleKey(key);
    glutPostRedisplay();
}

void onSpecialKey(int key, int /*x*/, int /*y*/) {
    handleSpecialKey(key);
    glutPostRedisplay();
}
