// Save: the view as a PNG file, the canvas's own pixels at its size in device pixels, exactly as
// the program drew them: the page's controls, guide and notes lie over the canvas, never in it.
// On a phone or a tablet whose browser can share files, the device's share sheet is offered
// with the picture; anywhere else it is downloaded.
'use strict';

(function() {
  var saveButton = document.querySelector('[data-save]');
  var wanted = false;

  function twoDigits(number) {
    return (number < 10 ? '0' : '') + number;
  }

  // orvessa-2026-12-08-142501.png, in the person's own time.
  function fileName(when) {
    return 'orvessa-' + when.getFullYear() + '-' + twoDigits(when.getMonth() + 1) + '-' +
           twoDigits(when.getDate()) + '-' + twoDigits(when.getHours()) +
           twoDigits(when.getMinutes()) + twoDigits(when.getSeconds()) + '.png';
  }

  function download(file) {
    var link = document.createElement('a');
    link.href = URL.createObjectURL(file);
    link.download = file.name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    // The download has its own copy once it has started.
    setTimeout(function() { URL.revokeObjectURL(link.href); }, 60000);
    orvessaPage.saved.push({name: file.name, to: 'download'});
    showNote('Saved the view as ' + file.name + '.');
  }

  function deliver(blob) {
    if (!blob) {
      showNote('The browser could not make a picture of the view.');
      return;
    }
    var file = new File([blob], fileName(new Date()), {type: 'image/png'});
    var sheet = document.body.classList.contains('touch') && navigator.canShare &&
                navigator.canShare({files: [file]});
    if (!sheet) {
      download(file);
      return;
    }
    navigator.share({files: [file], title: 'Orvessa'}).then(function() {
      orvessaPage.saved.push({name: file.name, to: 'share sheet'});
    }, function(error) {
      // Closed without choosing: nothing to do. Refused (no gesture left, say): downloaded.
      if (error.name !== 'AbortError') {
        download(file);
      }
    });
  }

  // A WebGL canvas holds its picture only until the browser has shown it: it is taken right
  // after a frame of the same view, drawn for it as GLUT draws any frame, in the same task.
  afterFrame.push(function() {
    if (wanted) {
      wanted = false;
      canvas.toBlob(deliver, 'image/png');
    }
  });

  saveButton.addEventListener('click', function() {
    if (programRunning()) {
      wanted = true;
      Module.redraw();
    }
  });
})();
