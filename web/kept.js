// Pictures kept across visits: each picture a person puts on a surface is kept in the browser
// (IndexedDB, database "orvessa", store "pictures") under its texture's file name, as the BMP
// file the page wrote. At every start they are read back and written over the made textures
// before the program first reads them (start.js), and the Pictures menu forgets them.
//
// Storage may be missing, full or refused (a private window, a quota): the picture then shows
// for this visit only, and the caller says so.
'use strict';

var orvessaKept = (function() {
  var DATABASE = 'orvessa';
  var STORE = 'pictures';
  var opened = null;
  var keptNames = {};

  function open() {
    if (!opened) {
      opened = new Promise(function(resolve, reject) {
        var request = indexedDB.open(DATABASE, 1);
        request.onupgradeneeded = function() {
          request.result.createObjectStore(STORE);
        };
        request.onsuccess = function() {
          resolve(request.result);
        };
        request.onerror = function() {
          reject(request.error);
        };
      });
    }
    return opened;
  }

  // Runs `work` on the store in one transaction; resolves once it is committed.
  function transact(mode, work) {
    return open().then(function(database) {
      return new Promise(function(resolve, reject) {
        var transaction = database.transaction(STORE, mode);
        work(transaction.objectStore(STORE));
        transaction.oncomplete = function() { resolve(); };
        transaction.onerror = transaction.onabort = function() {
          reject(transaction.error || new Error('the transaction was aborted'));
        };
      });
    });
  }

  // Why these bytes are not a complete 24-bit uncompressed BMP of a sensible size, or null.
  // Such a file is all the program reads well; anything else would show half or garbled.
  function problemWith(bytes) {
    if (!(bytes instanceof Uint8Array) || bytes.length < 54) {
      return 'too short';
    }
    var view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
    if (bytes[0] !== 0x42 || bytes[1] !== 0x4d || view.getUint32(14, true) < 40) {
      return 'not a BMP file';
    }
    if (view.getUint16(28, true) !== 24 || view.getUint32(30, true) !== 0) {
      return 'not a 24-bit BMP';
    }
    var width = view.getInt32(18, true);
    var height = Math.abs(view.getInt32(22, true));
    if (width < 1 || height < 1 || width > 8192 || height > 8192) {
      return 'of the wrong size';
    }
    var rowBytes = Math.ceil(width * 3 / 4) * 4;
    if (view.getUint32(10, true) + rowBytes * height > bytes.length) {
      return 'cut short';
    }
    return null;
  }

  function asBytes(value) {
    return value instanceof ArrayBuffer ? new Uint8Array(value) : value;
  }

  // The kept pictures that can be used, as [{name, bytes}]; the others are forgotten and
  // reported as {name, why} in `dropped`. Storage that cannot be read keeps nothing.
  function readAll() {
    var found = [];
    return transact('readonly', function(store) {
      store.openCursor().onsuccess = function(event) {
        var cursor = event.target.result;
        if (cursor) {
          found.push({name: String(cursor.key), bytes: asBytes(cursor.value)});
          cursor.continue();
        }
      };
    }).then(function() {
      var usable = [];
      var dropped = [];
      found.forEach(function(picture) {
        var why = TEXTURE_FILES.indexOf(picture.name) < 0 ? 'not a surface'
                                                          : problemWith(picture.bytes);
        if (why) {
          dropped.push({name: picture.name, why: why});
        } else {
          usable.push(picture);
          keptNames[picture.name] = true;
        }
      });
      if (dropped.length > 0) {
        forget(dropped.map(function(picture) { return picture.name; }));
      }
      return {usable: usable, dropped: dropped};
    }, function(error) {
      return {usable: [], dropped: [], error: error};
    });
  }

  // Keeps a texture file's bytes; resolves to null once kept, or to why not.
  function keep(name, bytes) {
    var why = problemWith(bytes);
    if (why) {
      return Promise.resolve('it is ' + why);
    }
    return transact('readwrite', function(store) {
      store.put(bytes, name);
    }).then(function() {
      keptNames[name] = true;
      return null;
    }, function(error) {
      return 'the browser refused to store it (' + (error && error.name || error) + ')';
    });
  }

  // Forgets kept pictures (all of them without `names`); resolves to null, or to why not.
  // Without storage nothing was kept, so nothing is left to forget.
  function forget(names) {
    var forgotten = open().then(function() {
      return transact('readwrite', function(store) {
        if (names) {
          names.forEach(function(name) { store.delete(name); });
        } else {
          store.clear();
        }
      }).then(function() {
        return null;
      }, function(error) {
        return String(error && error.name || error);
      });
    }, function() {
      return null;
    });
    return forgotten.then(function(why) {
      if (why === null) {
        (names || Object.keys(keptNames)).forEach(function(name) { delete keptNames[name]; });
      }
      return why;
    });
  }

  return {
    // Read at once, while the textures are made: start.js writes them before main.
    atStart: readAll(),
    keep: keep,
    forget: forget,
    isKept: function(name) { return keptNames[name] === true; },
  };
})();
