// Definitions of the program's long-lived objects.
#include "app/app_state.h"

Camera camera;
Scene scene;

void poseCameraAtStart() {
    camera.set(-20, 3, 75, 0, 3, -10, 0, 1, 0);
    camera.setShape(75, 1, 0.01f, 512);
}
