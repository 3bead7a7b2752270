// Linux and other X11 desktops: freeglut does everything there, so nothing is left to adapt.
#include "app/platform.h"

void adaptToPlatform(const char* /*windowTitle*/) {}
