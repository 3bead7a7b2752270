// Full screen, the browser's way. The program asks for it as it starts (glutFullScreen), but a
// browser grants it only at a person's gesture: the page offers a Full screen control instead
// (in the guide, and among the controls of a touch device), shown while the browser allows
// full screen and the page is not in it. An installed page opens full screen by itself.
//
//   Escape   in full screen: leaves full screen only; the next Escape ends the program as it
//            always does
'use strict';

(function() {
  var wanted = false;

  // The installed app, or a browser put in full screen by its own key (F11), already is.
  var shownFullScreen = window.matchMedia('(display-mode: fullscreen)');

  function offer() {
    document.body.classList.toggle('can-fullscreen', wanted && !!document.fullscreenEnabled &&
                                   !document.fullscreenElement && !shownFullScreen.matches);
  }

  function enter() {
    // The whole page, so that the controls come along.
    document.documentElement.requestFullscreen({navigationUI: 'hide'}).catch(function(error) {
      showNote('The browser refused full screen (' + error.name + ').');
    });
  }

  // Called by the program's glutFullScreen (page_glue.js). Within a gesture it is granted now.
  Module.fullScreenWanted = function() {
    wanted = true;
    var activation = navigator.userActivation;
    if (activation && activation.isActive && document.fullscreenEnabled) {
      enter();
    }
    offer();
  };

  Array.prototype.forEach.call(document.querySelectorAll('[data-fullscreen]'), function(button) {
    button.addEventListener('click', enter);
  });
  document.addEventListener('fullscreenchange', offer);
  shownFullScreen.addEventListener('change', offer);

  // Chromium and Firefox leave full screen at Escape by themselves and keep the key from the
  // page. Should a browser hand it on, or a script send one, the page leaves full screen too and
  // keeps the key from the program (this listener comes before GLUT's), so the first Escape
  // never ends the walk.
  window.addEventListener('keydown', function(event) {
    if (event.key === 'Escape' && document.fullscreenElement) {
      event.preventDefault();
      event.stopImmediatePropagation();
      document.exitFullscreen().catch(function() {});
    }
  }, true);
})();
