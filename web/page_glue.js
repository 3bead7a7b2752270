// What the page needs beyond Emscripten's GLUT and legacy GL emulation, as a --js-library for
// the web build (called once from web/browser.cpp, before the scene's first set-up).
mergeInto(LibraryManager.library, {
  // The runtime is kept alive past main (below), and an exit() while it is would only leave the
  // current event handler: the keys would go on working. So the page lets go of it while the
  // program's own key callbacks run (web/browser.cpp), and holds it again after them: exit()
  // (Escape) then ends the runtime for good, with its status (Module.onExit), through the
  // runtime's own exit. Replacing exit() itself is no way: Emscripten 3.1.69's
  // emscripten_force_exit calls exit(), which then called it back without end.
  orvessa_runtime_may_end__deps: ['$runtimeKeepalivePush', '$runtimeKeepalivePop'],
  orvessa_runtime_may_end: function(mayEnd) {
    if (mayEnd) {
      runtimeKeepalivePop();
    } else {
      runtimeKeepalivePush();
    }
  },

  // The program asks for full screen as it starts, where no browser grants it (that needs a
  // person's gesture, and the refusal is an error in the console). The page offers it instead
  // (fullscreen.js).
  glutFullScreen: function() {
    if (Module['fullScreenWanted']) {
      Module['fullScreenWanted']();
    }
  },

  // The canvas follows the window (below): the program's 800 x 600 would only be resized once
  // the GL context exists, and resizing a WebGL canvas makes its drawing buffer again, which
  // on a software renderer costs as much as a frame or more. So the context is made at the
  // window's size.
  glutInitWindowSize__deps: ['$Browser', '$GLUT'],
  glutInitWindowSize: function(width, height) {
    GLUT.initWindowWidth = width;
    GLUT.initWindowHeight = height;
    var ratio = window.devicePixelRatio || 1;
    Browser.setCanvasSize(Math.round(window.innerWidth * ratio),
                          Math.round(window.innerHeight * ratio));
  },

  // Each key the program's callbacks have taken (web/browser.cpp), for the page's Share
  // control: special is 1 for GLUT's special keys (arrows, page keys...), 0 for characters.
  orvessa_key_taken: function(special, key) {
    if (Module['keyTaken']) {
      Module['keyTaken'](special, key);
    }
  },

  orvessa_adapt_page__deps: ['$GL', '$GLUT', '$FS', '$runtimeKeepalivePush', 'glutReshapeWindow',
                             'glutPostRedisplay'],
  orvessa_adapt_page: function(title, firstTexture, lastTexture) {
    // GLUT's emulation does not name the page after the window.
    document.title = UTF8ToString(title);

    // No window: the browser gave no WebGL 2 context (none offered, or turned off). The
    // program then ends at once (web/browser.cpp) and the page says why.
    if (!Module.ctx) {
      return 0;
    }

    // The program binds fixed names it never generated. Desktop GL makes an object at the
    // first bind of any name; WebGL (and the emulation over it) only knows objects it created.
    for (var name = firstTexture; name <= lastTexture; ++name) {
      var texture = GLctx.createTexture();
      texture.name = name;
      GL.textures[name] = texture;
    }

    // An empty (0 x 0) picture leaves a texture incomplete: desktop GL then draws the surface
    // untextured, in the current colour (white); WebGL samples it as black. One white texel
    // draws what the desktop draws.
    var texImage2D = GLctx.texImage2D;
    var white = new Uint8Array([255, 255, 255, 255]);
    var sameUploadsSkipped = false; // below, pressKeysAtStart
    GLctx.texImage2D = function(target, level, internalFormat, width, height, border, format,
                                type) {
      if (sameUploadsSkipped) {
        return;
      }
      if (arguments.length >= 9 && level == 0 && (width == 0 || height == 0)) {
        return texImage2D.call(this, target, level, internalFormat, 1, 1, border, format, type,
                               white);
      }
      return texImage2D.apply(this, arguments);
    };

    // GLUT maps a key to the program's character by its keyCode, which differs between
    // browsers: Firefox gives the main keyboard's + and - codes (61 with Shift, 173) that GLUT
    // does not know, so they never reached the program. The character the person typed is in
    // event.key in every browser; keys that are not one Latin-1 character (arrows, Escape,
    // Tab...) and shortcuts with Ctrl, Alt or Meta keep GLUT's own mapping.
    var asciiByKeyCode = GLUT.getASCIIKey;
    GLUT.getASCIIKey = function(event) {
      var key = event['key'];
      if (typeof key == 'string' && key.length == 1 && key.charCodeAt(0) <= 255 &&
          !event['ctrlKey'] && !event['altKey'] && !event['metaKey']) {
        return key.charCodeAt(0);
      }
      return asciiByKeyCode(event);
    };

    // The page's controls press keys by their DOM name ('ArrowUp', 'End', '+', 'p'...): the
    // same road through GLUT's keydown handler to the program's callbacks that a key takes.
    var specialKeyCodes = {ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40,
                           PageUp: 33, PageDown: 34, End: 35, Home: 36};
    Module['pressKey'] = function(key) {
      GLUT.onKeydown({key: key, keyCode: specialKeyCodes[key] || 0, shiftKey: false,
                      ctrlKey: false, altKey: false, metaKey: false,
                      preventDefault: function() {}});
    };

    // A shared view's presses (share.js), a slice at a time before the first frame. Every
    // ordinary key reads the six pictures again and uploads them, which would cost seconds for
    // a thousand presses; but here every read would give the pictures the program already
    // holds, which main's set-up has just read. (A picture chosen between the slices presses
    // a key of its own, which reads it; one dropped then shows at the next key after the
    // replay, as if dropped just after it.) So while a slice runs, opening a file fails at
    // once, as for a missing one: a picture that cannot be read keeps the one the program
    // holds (as on the desktop), and the uploads of those same pixels are skipped. Nothing
    // else differs: the camera, the modes and the refused directions go the keys' way.
    Module['pressKeysAtStart'] = function(keys) {
      var open = FS.open;
      var missing = new FS.ErrnoError({{{ cDefine('ENOENT') }}});
      FS.open = function() {
        throw missing;
      };
      sameUploadsSkipped = true;
      try {
        keys.forEach(Module['pressKey']);
      } finally {
        sameUploadsSkipped = false;
        FS.open = open;
      }
    };

    // What the page's Save control asks for: one more frame of the same view, drawn as GLUT
    // draws any frame (save.js takes the picture right after it, while it is still there).
    Module['redraw'] = function() {
      _glutPostRedisplay();
    };

    // On a touch screen GLUT turns touches on the canvas into mouse events, for mouse callbacks
    // the program does not have, and cancels touches it may not cancel (an error in the
    // console at every swipe). Touches on the view are the page's (drag.js).
    ['touchstart', 'touchmove', 'touchend'].forEach(function(type) {
      window.removeEventListener(type, GLUT.touchHandler, true);
    });

    // glutMainLoop returns to the browser at once; without this the runtime would end after
    // the first frame (and GLUT's exit handler would shrink the canvas to 1 x 1).
    runtimeKeepalivePush();

    // The native window is the whole screen and follows it; the canvas follows the window.
    // glutInitWindowSize has set it to 800 x 600, and the page can be resized at any time.
    function fitCanvasToWindow() {
      var ratio = window.devicePixelRatio || 1;
      _glutReshapeWindow(Math.round(window.innerWidth * ratio),
                         Math.round(window.innerHeight * ratio));
    }
    fitCanvasToWindow();
    window.addEventListener('resize', fitCanvasToWindow);
    return 1;
  },
});
