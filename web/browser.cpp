// The browser: the C++ half of the web build's adaptations (the page half is page_glue.js).
#include "app/platform.h"

#include <GL/glut.h>
#include <emscripten/emscripten.h>

#include "app/keyboard.h"
#include "scene/texture_names.h"

extern "C" void orvessa_adapt_page(const char* title, unsigned firstTexture, unsigned lastTexture);

namespace {

// GLUT's emulation has no default reshape: the desktop's sets the viewport to the window.
void reshapeToCanvas(int width, int height) {
    glViewport(0, 0, width, height);
}

} // namespace

// The page's look and slide controls show the modes as the program holds them.
extern "C" EMSCRIPTEN_KEEPALIVE int orvessa_look_mode() {
    return lookMode ? 1 : 0;
}

extern "C" EMSCRIPTEN_KEEPALIVE int orvessa_slide_mode() {
    return turnMode ? 0 : 1;
}

void adaptToPlatform(const char* windowTitle) {
    glutReshapeFunc(reshapeToCanvas);
    orvessa_adapt_page(windowTitle, TEX_MINARET, TEX_WALKWAY);
}
