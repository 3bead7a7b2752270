// The browser: the C++ half of the web build's adaptations (the page half is page_glue.js).
#include "app/platform.h"

#include <GL/glut.h>
#include <emscripten/emscripten.h>

#include <cstdlib>

#include "app/keyboard.h"
#include "scene/texture_names.h"

extern "C" int orvessa_adapt_page(const char* title, unsigned firstTexture, unsigned lastTexture);
extern "C" void orvessa_key_taken(int special, int key);
extern "C" void orvessa_runtime_may_end(int mayEnd);

namespace {

// GLUT's emulation has no default reshape: the desktop's sets the viewport to the window.
void reshapeToCanvas(int width, int height) {
    glViewport(0, 0, width, height);
}

// The program's own callbacks, then the page is told which key they took: a shared view is
// the keys taken since the start, from the keyboard, the controls, drags or a gamepad alike.
// Escape never comes back from onKey: its exit() ends the runtime, which the page lets end
// while onKey runs (page_glue.js).
void onKeyTold(unsigned char key, int x, int y) {
    orvessa_runtime_may_end(1);
    onKey(key, x, y);
    orvessa_runtime_may_end(0);
    orvessa_key_taken(0, key);
}

void onSpecialKeyTold(int key, int x, int y) {
    onSpecialKey(key, x, y);
    orvessa_key_taken(1, key);
}

} // namespace

// The page's look and slide controls show the modes as the program holds them.
extern "C" EMSCRIPTEN_KEEPALIVE int orvessa_look_mode() {
    return lookMode ? 1 : 0;
}

extern "C" EMSCRIPTEN_KEEPALIVE int orvessa_slide_mode() {
    return turnMode ? 0 : 1;
}

// Whether any direction is refused now: a shared view may leave out what came before a
// press of "i" only when nothing is.
extern "C" EMSCRIPTEN_KEEPALIVE int orvessa_any_direction_blocked() {
    return blockedForward || blockedBack || blockedLeft || blockedRight || blockedRise ||
                   blockedSink
               ? 1
               : 0;
}

void adaptToPlatform(const char* windowTitle) {
    glutReshapeFunc(reshapeToCanvas);
    glutKeyboardFunc(onKeyTold);
    glutSpecialFunc(onSpecialKeyTold);
    // Without WebGL there is nothing to draw on: the program ends, and the page says why
    // (its exit status is not Escape's 0).
    if (!orvessa_adapt_page(windowTitle, TEX_MINARET, TEX_WALKWAY)) {
        std::exit(1);
    }
}
