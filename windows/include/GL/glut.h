// freeglut installs its GLUT header only as GL/freeglut_std.h on Windows; the code includes
// GL/glut.h, as on Linux and in the browser.
#pragma once

#include <GL/freeglut_std.h>
