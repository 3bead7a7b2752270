// The GLUT display callback.
#pragma once

void onDisplay();
