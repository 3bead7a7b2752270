// Pictures of one's own on the scene's surfaces: chosen with the Pictures control (the device's
// picker, which on a phone offers the camera and the photo library) or dropped on the page.
// Whatever the browser can decode becomes the 24-bit BMP the program reads, stretched to
// 256 x 256 with transparent parts on white, written into the program's working folder and
// kept for the next visit (kept.js). The menu also puts the built-in pictures back.
'use strict';

var PICTURE_SIDE = 256;
// Dropped pictures named after a surface's file, in the formats browsers decode.
var PICTURE_EXTENSIONS = ['png', 'jpg', 'jpeg', 'webp', 'gif'];

// Decodes a picture file with the browser's own decoders; rejects what it cannot decode. The
// pixel values are taken as they are, as the README's ImageMagick command takes them: no colour
// profile or gamma of the file changes them. (A drawing, such as SVG, only an image element
// decodes.)
function decodePicture(file) {
  return createImageBitmap(file, {colorSpaceConversion: 'none'}).catch(function() {
    var url = URL.createObjectURL(file);
    var image = new Image();
    image.src = url;
    return image.decode().then(function() {
      return image;
    }).finally(function() {
      URL.revokeObjectURL(url);
    });
  });
}

// The picture as a bottom-up, 24-bit uncompressed BMP of PICTURE_SIDE x PICTURE_SIDE pixels.
function pictureToBmp(image) {
  var side = PICTURE_SIDE;
  var canvas = document.createElement('canvas');
  canvas.width = canvas.height = side;
  var context = canvas.getContext('2d', {willReadFrequently: true});
  context.fillStyle = '#fff';
  context.fillRect(0, 0, side, side);
  // Enlarging, plain bilinear filtering keeps every colour exact away from colour edges;
  // shrinking a photo needs the better filter not to alias.
  var shrinking = (image.naturalWidth || image.width) > side ||
                  (image.naturalHeight || image.height) > side;
  context.imageSmoothingQuality = shrinking ? 'high' : 'low';
  context.drawImage(image, 0, 0, side, side);
  var rgba = context.getImageData(0, 0, side, side).data;

  var rowBytes = side * 3; // a multiple of 4: no padding
  var header = 54;
  var bytes = new Uint8Array(header + rowBytes * side);
  var view = new DataView(bytes.buffer);
  bytes[0] = 0x42; // 'B'
  bytes[1] = 0x4d; // 'M'
  view.setUint32(2, bytes.length, true);
  view.setUint32(10, header, true);
  view.setUint32(14, 40, true); // the plain 40-byte info header
  view.setInt32(18, side, true);
  view.setInt32(22, side, true); // positive: the bottom row first
  view.setUint16(26, 1, true);
  view.setUint16(28, 24, true);
  view.setUint32(34, rowBytes * side, true);
  view.setInt32(38, 2835, true); // 72 dpi
  view.setInt32(42, 2835, true);
  for (var row = 0; row < side; ++row) {
    var from = (side - 1 - row) * side * 4; // canvas rows run from the top
    var to = header + row * rowBytes;
    for (var col = 0; col < side; ++col, from += 4, to += 3) {
      bytes[to] = rgba[from + 2];
      bytes[to + 1] = rgba[from + 1];
      bytes[to + 2] = rgba[from];
    }
  }
  return bytes;
}

// Writes a picture file as the texture `name`; resolves to its BMP bytes, or to null (with a
// note) when the browser cannot decode it, and nothing changes then.
function writePicture(file, name) {
  return decodePicture(file).then(function(image) {
    var bytes = pictureToBmp(image);
    Module.FS.writeFile(name, bytes);
    orvessaPage.written.push(name);
    return bytes;
  }, function() {
    orvessaPage.unreadable.push(file.name);
    showNote('Could not read ' + file.name + ' as a picture; nothing changed.');
    return null;
  });
}

// What a surface's file paints, as the Pictures menu names it ("the lawn").
function surfaceName(texture) {
  var button = document.querySelector('#pictures-menu [data-file="' + texture + '"]');
  return button ? button.textContent : texture;
}

// Keeps a texture file the page has written for the next visit; when it cannot be kept, it
// still shows for this visit, and the note says so.
function keepPicture(name, bytes) {
  return orvessaKept.keep(name, bytes).then(function(why) {
    if (why === null) {
      orvessaPage.kept.push(name);
    } else {
      orvessaPage.notKept.push(name);
      showNote('The picture on ' + surfaceName(name) + ' shows now, but could not be kept for ' +
               'your next visit: ' + why + '.');
    }
  });
}

// The texture a dropped file stands for: its own name for a texture file, or the surface's
// file for a picture named after it (grass.png, door.jpg); null for anything else.
function textureForDroppedFile(fileName) {
  var name = fileName.toLowerCase();
  if (TEXTURE_FILES.indexOf(name) >= 0) {
    return {name: name, convert: false};
  }
  var dot = name.lastIndexOf('.');
  var texture = name.slice(0, dot) + '.bmp';
  if (dot > 0 && PICTURE_EXTENSIONS.indexOf(name.slice(dot + 1)) >= 0 &&
      TEXTURE_FILES.indexOf(texture) >= 0) {
    return {name: texture, convert: true};
  }
  return null;
}

// Files dropped anywhere on the page replace their texture in the program's working folder,
// where the next ordinary key press reads all six again, as on the desktop. The event need not
// be trusted, so a script can drop files too.
window.addEventListener('dragover', function(event) {
  event.preventDefault();
});
window.addEventListener('drop', function(event) {
  event.preventDefault();
  var files = Array.prototype.slice.call(event.dataTransfer ? event.dataTransfer.files : []);
  var ignored = files.filter(function(file) { return !textureForDroppedFile(file.name); });
  if (ignored.length > 0) {
    ignored.forEach(function(file) { orvessaPage.ignored.push(file.name); });
    showNote('Ignored ' + ignored.map(function(file) { return file.name; }).join(', ') +
             ': only ' + TEXTURE_FILES.join(', ') + ' are read, or pictures named like them' +
             ' (grass.png, door.jpg, ...).');
  }
  Promise.all(files.map(function(file) {
    var texture = textureForDroppedFile(file.name);
    if (!texture) {
      return null;
    }
    var written = texture.convert ? writePicture(file, texture.name) :
      file.arrayBuffer().then(function(buffer) {
        var bytes = new Uint8Array(buffer);
        Module.FS.writeFile(texture.name, bytes);
        orvessaPage.written.push(texture.name);
        return bytes;
      });
    return written.then(function(bytes) {
      return bytes && keepPicture(texture.name, bytes);
    });
  })).then(function() {
    orvessaPage.drops += 1;
  });
});

// The Pictures control: choose a surface, then a picture; it shows at once. The menu also puts
// back the built-in pictures: all of them, or one surface's (the ↺ beside a kept one).
var picturesButton = document.querySelector('[data-pictures]');
var picturesMenu = document.getElementById('pictures-menu');
var picker = document.getElementById('picker');
var chosenTexture = null;

var surfaceRestores = picturesMenu.querySelectorAll('[data-restore]:not([data-restore=""])');

function showPicturesMenu(shown) {
  // A surface's ↺ only where it has a kept picture.
  Array.prototype.forEach.call(surfaceRestores, function(button) {
    button.hidden = !orvessaKept.isKept(button.getAttribute('data-restore'));
  });
  picturesMenu.hidden = !shown;
  picturesButton.setAttribute('aria-expanded', shown ? 'true' : 'false');
}

picturesButton.addEventListener('click', function() {
  showPicturesMenu(picturesMenu.hidden);
});
Array.prototype.forEach.call(picturesMenu.querySelectorAll('[data-file]'), function(button) {
  // The picker opens only from a click: the user activation a tap gives comes at its end.
  button.addEventListener('click', function() {
    chosenTexture = button.getAttribute('data-file');
    showPicturesMenu(false);
    picker.value = '';
    picker.click();
  });
});
picker.addEventListener('change', function() {
  var file = picker.files[0];
  var texture = chosenTexture;
  if (!file || !texture || orvessaPage.exitStatus !== null) {
    return;
  }
  writePicture(file, texture).then(function(bytes) {
    if (bytes) {
      // One ordinary key: the program reads all six files again and shows the picture.
      Module.pressKey('r');
      orvessaPage.pictures += 1;
      hideGuide();
      return keepPicture(texture, bytes);
    }
  });
});

// Puts back the built-in pictures of some surfaces (all six without `names`), forgets the kept
// ones, and shows the result at once.
function restoreBuiltIn(names) {
  if (!programRunning()) {
    return;
  }
  (names || TEXTURE_FILES).forEach(function(name) {
    if (orvessaStart.builtIn[name]) {
      Module.FS.writeFile(name, orvessaStart.builtIn[name]);
    }
  });
  Module.pressKey('r');
  hideGuide();
  orvessaKept.forget(names).then(function(why) {
    if (why !== null) {
      showNote('The built-in pictures show now, but the kept ones could not be forgotten (' +
               why + '): they come back at the next visit.');
    }
    orvessaPage.restores += 1;
  });
}

Array.prototype.forEach.call(picturesMenu.querySelectorAll('[data-restore]'), function(button) {
  button.addEventListener('click', function() {
    var name = button.getAttribute('data-restore');
    showPicturesMenu(false);
    restoreBuiltIn(name ? [name] : null);
  });
});
