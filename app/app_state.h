// The program's long-lived objects: the one camera and the one scene.
#pragma once

#include "camera/camera.h"
#include "scene/scene.h"

extern Camera camera;
extern Scene scene;

// Eye at (-20, 3, 75) facing the hall; the first set-up turns the frame to look that way.
void poseCameraAtStart();
