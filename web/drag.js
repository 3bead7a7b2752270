// Dragging the view: a mouse with its left button held, or one finger, moved over the view (not
// on a control) presses the arrow keys, through the same handler a key goes through:
//
//   across     Left / Right: turn (in slide mode: step sideways)
//   up, down   Up / Down: walk (in look mode: tilt)
//
// The view follows the finger, like a picture: what is under it moves with it. A drag to the
// right turns right (the scene is shown mirrored, so turning right moves it right), or in slide
// mode steps left; a drag down walks forward (the ground comes down towards you) or tilts up.
// One press per degree of the 60-degree view along the drag's main direction (1/60 of the
// view's width across, of its height up and down), so a turn or a tilt keeps the scene under
// the finger. Dragging back presses the other way: back where it began, it has undone itself.
'use strict';

(function() {
  var VIEW_DEGREES = 60;
  // The drag under way: its pointer and where its next press is counted from.
  var drag = null;

  // Never from a control or the Pictures menu: those keep working as they do.
  function startsDrag(event) {
    if (drag !== null || !event.isPrimary ||
        (event.pointerType === 'mouse' && event.button !== 0)) {
      return false;
    }
    return event.target === canvas ||
           (guide.contains(event.target) && !event.target.closest('button'));
  }

  function horizontalKey(rightwards) {
    var slide = programRunning() && Module._orvessa_slide_mode() === 1;
    return rightwards !== slide ? 'ArrowRight' : 'ArrowLeft';
  }

  function press(key, count) {
    hideGuide();
    for (var i = 0; i < count; ++i) {
      pressControl(key, orvessaPage.dragPresses);
    }
  }

  window.addEventListener('pointerdown', function(event) {
    if (!startsDrag(event)) {
      return;
    }
    event.preventDefault();
    drag = {pointerId: event.pointerId, x: event.clientX, y: event.clientY};
    // The drag goes on past the canvas's edges and over the controls.
    canvas.setPointerCapture(event.pointerId);
  });

  canvas.addEventListener('pointermove', function(event) {
    if (drag === null || event.pointerId !== drag.pointerId) {
      return;
    }
    var stepX = window.innerWidth / VIEW_DEGREES;
    var stepY = window.innerHeight / VIEW_DEGREES;
    var dx = event.clientX - drag.x;
    var dy = event.clientY - drag.y;
    // Only the main direction counts: a little sideways wandering of a drag up is dropped.
    if (Math.abs(dx) >= Math.abs(dy)) {
      var across = Math.trunc(dx / stepX);
      if (across !== 0) {
        press(horizontalKey(across > 0), Math.abs(across));
        drag.x += across * stepX;
        drag.y = event.clientY;
      }
    } else {
      var down = Math.trunc(dy / stepY);
      if (down !== 0) {
        press(down > 0 ? 'ArrowUp' : 'ArrowDown', Math.abs(down));
        drag.y += down * stepY;
        drag.x = event.clientX;
      }
    }
  });

  ['pointerup', 'pointercancel', 'lostpointercapture'].forEach(function(type) {
    canvas.addEventListener(type, function(event) {
      if (drag !== null && event.pointerId === drag.pointerId) {
        drag = null;
      }
    });
  });
})();
