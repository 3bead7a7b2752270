// The web build's adaptations to the browser, called by main in that build only.
#pragma once

// Registers what a page needs beyond Emscripten's GLUT: call after the callbacks are
// registered (the keyboard's are wrapped, so that the page learns each key taken) and before
// the scene's first set-up.
void adaptToBrowser(const char* title);
