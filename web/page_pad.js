// Pictures, Share and Save on a desktop, as a video player shows its controls: with the guide,
// and at a move of the mouse over the page; gone again once the mouse has rested a few seconds
// and at the next key, so that nothing covers the view while walking. The keyboard reaches
// them too: Tab shows them and moves the focus, and they stay while one of them (or the menu
// or panel it opened) has the keyboard's focus. Touch devices always show them (index.html).
'use strict';

(function() {
  var REST_MS = 3000;
  var OWN = '#page-pad, #share-panel, #pictures-menu';
  var restTimer = null;
  // Where the mouse was at its last move. Browsers also report a move when the page changes
  // under a mouse at rest (WebKit does as full screen ends): no move of the visitor's.
  var mouseAt = '';

  function show(shown) {
    document.body.classList.toggle('pad-shown', shown);
  }

  function keyboardFocusWithin() {
    var focused = document.activeElement;
    return !!focused && !!focused.closest(OWN) && focused.matches(':focus-visible');
  }

  function openWithin() {
    return !document.getElementById('share-panel').hidden ||
           !document.getElementById('pictures-menu').hidden;
  }

  function hideUnlessInUse() {
    if (restTimer === null && !keyboardFocusWithin() && !openWithin()) {
      show(false);
    }
  }

  // A move with no button held: a drag turns the view, and needs nothing over it.
  window.addEventListener('pointermove', function(event) {
    var at = event.screenX + ',' + event.screenY;
    var moved = at !== mouseAt;
    mouseAt = at;
    if (!moved || event.pointerType !== 'mouse' || event.buttons !== 0 ||
        document.body.classList.contains('touch')) {
      return;
    }
    show(true);
    clearTimeout(restTimer);
    restTimer = setTimeout(function() {
      restTimer = null;
      hideUnlessInUse();
    }, REST_MS);
  });

  // Tab, and Enter or Space on a control the keyboard has reached, are the browser's: they
  // move the focus and press the control, and never reach the program (which would take them
  // as a reload). This listener comes before the guide's and GLUT's.
  window.addEventListener('keydown', function(event) {
    var activates = (event.key === 'Enter' || event.key === ' ') &&
                    !!event.target.matches && event.target.matches('button:focus-visible');
    if (event.key === 'Tab' || activates) {
      event.stopImmediatePropagation();
      if (event.key === 'Tab') {
        show(true);
      }
      return;
    }
    // A shortcut (copying the link) or a modifier alone is not a walk going on.
    if (event.ctrlKey || event.altKey || event.metaKey ||
        ['Control', 'Alt', 'Meta', 'Shift'].indexOf(event.key) >= 0) {
      return;
    }
    clearTimeout(restTimer);
    restTimer = null;
    if (document.activeElement && document.activeElement.closest(OWN)) {
      canvas.focus();
    }
    show(false);
  }, true);

  document.addEventListener('focusin', function(event) {
    if (event.target.closest(OWN)) {
      show(true);
    }
  });
  document.addEventListener('focusout', function() {
    // The focus has not moved yet: look once it has.
    setTimeout(hideUnlessInUse);
  });
})();
