// The screen of a KV390 page in the browser's DOM: one canvas per top-level
// window, DOM input turned into input records, the script file's download
// link and upload chooser.  The emscripten pages (web_page.js) and the
// playground (its program runs in a worker) both show their windows with it;
// they differ only in where the records go and where the script file lives.
//
//   var screen = new KV390Screen(rootElement, {
//     input: function(record) {...},      // [kind, window, x, y, code, character, modifiers]
//     download: function(done) {...},     // calls done(bytes) or done(null)
//     upload: function(bytes, name) {...},
//     status: function(text) {...},
//   });
//
// Input record kinds and modifier bits are those of page.h.
(function(global) {
  'use strict';

  var BUTTON_DOWN = 1, BUTTON_UP = 2, MOTION = 3, KEY_DOWN = 4, KEY_UP = 5, FOCUS = 6, BLUR = 7;

  function modifiers(event) {
    return (event.ctrlKey ? 1 : 0) | (event.shiftKey ? 2 : 0) | (event.altKey ? 4 : 0) |
           (event.repeat ? 8 : 0) | (event.metaKey ? 16 : 0);
  }

  // The character a key types, for keys that type one without Ctrl or Alt:
  // Latin-1 only, as the library's text is 8-bit.
  function character(event) {
    if (event.ctrlKey || event.altKey || event.metaKey || event.key.length !== 1) return 0;
    var code = event.key.charCodeAt(0);
    return code >= 32 && code < 256 ? code : 0;
  }

  // The page's own controls keep their keys.
  function isPageControl(element) {
    return !!element && (/^(A|BUTTON|INPUT|LABEL|SELECT|TEXTAREA)$/.test(element.tagName) ||
                         element.isContentEditable);
  }

  // The canvas pixel under a mouse event.  The page's layout may put a canvas
  // at a fraction of a pixel (text lines above it are 16.8 pixels high, say);
  // the browser then paints it from the nearest whole pixel, and the event's
  // position is a whole pixel.  Measured from the unrounded edge, a click
  // would land one pixel above or left of the pixel the student sees under
  // the pointer.
  function canvasPoint(canvas, event) {
    var box = canvas.getBoundingClientRect();
    var x = (event.clientX - Math.round(box.left)) * canvas.width / Math.max(1, box.width);
    var y = (event.clientY - Math.round(box.top)) * canvas.height / Math.max(1, box.height);
    return [Math.floor(x), Math.floor(y)];
  }

  function KV390Screen(root, sink) {
    this.root = root;
    this.sink = sink;
    this.windows = {};  // window id -> {canvas, context, image}
    this.lastCanvas = null;
    this.keysTo = null;      // when set, keys go to the program only while this says so
    this.listeners = [];
  }

  KV390Screen.prototype.width = function() {
    var width = this.root ? this.root.clientWidth : 0;
    return width > 0 ? width : 1024;
  };

  KV390Screen.prototype.push = function(record) {
    this.sink.input(record);
  };

  KV390Screen.prototype.listen = function(target, name, handler) {
    target.addEventListener(name, handler);
    this.listeners.push([target, name, handler]);
  };

  // Keys typed anywhere on the page go to the program, except in the page's
  // own controls; acceptsKeys (optional) narrows that further.
  KV390Screen.prototype.attach = function(acceptsKeys) {
    var self = this;
    var key = function(kind, event) {
      if (event.isComposing || isPageControl(event.target)) return;
      if (acceptsKeys && !acceptsKeys(event)) return;
      self.push([kind, 0, 0, 0, event.keyCode | 0, character(event), modifiers(event)]);
      event.preventDefault();
    };
    this.listen(document, 'keydown', function(event) { key(KEY_DOWN, event); });
    this.listen(document, 'keyup', function(event) { key(KEY_UP, event); });
    this.listen(window, 'blur', function() { self.push([BLUR, 0, 0, 0, 0, 0, 0]); });
  };

  // Takes the screen's listeners off the page and removes its canvases.
  KV390Screen.prototype.detach = function() {
    this.listeners.forEach(function(l) { l[0].removeEventListener(l[1], l[2]); });
    this.listeners = [];
    for (var id in this.windows) this.windows[id].canvas.remove();
    this.windows = {};
  };

  // Connects a download link and an upload chooser to the script file.
  KV390Screen.prototype.attachScriptFile = function(download, upload) {
    var self = this;
    if (download) {
      this.listen(download, 'click', function(event) {
        event.preventDefault();
        self.refocus();
        self.sink.download(function(data) {
          if (!data) {
            self.sink.status('No script yet: choose Record Script (Ctrl+R) in the Run menu first.');
            return;
          }
          var link = document.createElement('a');
          link.href = URL.createObjectURL(new Blob([data], {type: 'text/plain'}));
          link.download = 'KV390.SCR';
          document.body.appendChild(link);
          link.click();
          link.remove();
          setTimeout(function() { URL.revokeObjectURL(link.href); }, 0);
        });
      });
    }
    if (upload) {
      this.listen(upload, 'change', function() {
        var file = upload.files && upload.files[0];
        if (!file) return;
        file.arrayBuffer().then(function(buffer) {
          self.sink.upload(new Uint8Array(buffer), file.name);
          self.sink.status('Loaded ' + file.name + ' as KV390.SCR: choose Playback Script ' +
                           '(Ctrl+P) in the Run menu to play it.');
          upload.value = '';
          self.refocus();
        }, function(error) {
          self.sink.status('Cannot read ' + file.name + ': ' + error);
        });
      });
    }
  };

  // After the page's own links and choosers, keys go to the program again.
  KV390Screen.prototype.refocus = function() {
    if (this.lastCanvas && this.lastCanvas.isConnected) this.lastCanvas.focus();
  };

  KV390Screen.prototype.attachWindowInput = function(id, canvas) {
    var self = this;
    canvas.addEventListener('mousedown', function(event) {
      var p = canvasPoint(canvas, event);
      canvas.focus();
      self.push([BUTTON_DOWN, id, p[0], p[1], event.button, 0, modifiers(event)]);
      event.preventDefault();
    });
    canvas.addEventListener('mouseup', function(event) {
      var p = canvasPoint(canvas, event);
      self.push([BUTTON_UP, id, p[0], p[1], event.button, 0, modifiers(event)]);
    });
    canvas.addEventListener('mousemove', function(event) {
      var p = canvasPoint(canvas, event);
      self.push([MOTION, id, p[0], p[1], 0, 0, modifiers(event)]);
    });
    canvas.addEventListener('contextmenu', function(event) { event.preventDefault(); });
    canvas.addEventListener('focus', function() {
      self.lastCanvas = canvas;
      self.push([FOCUS, id, 0, 0, 0, 0, 0]);
    });
  };

  // Creates, places or removes the canvas of a top-level window.  A window
  // that floats (a dialog) is placed over the page at its screen position;
  // the others follow each other down the page in creation order.
  KV390Screen.prototype.window = function(id, visible, floating, x, y, title) {
    var entry = this.windows[id];
    if (visible < 0) {  // destroyed
      if (entry) entry.canvas.remove();
      delete this.windows[id];
      return;
    }
    if (!entry) {
      var canvas = document.createElement('canvas');
      canvas.width = 0;
      canvas.height = 0;
      canvas.tabIndex = 0;
      canvas.className = 'kv390-window';
      canvas.dataset.kv390Window = String(id);
      this.attachWindowInput(id, canvas);
      (this.root || document.body).appendChild(canvas);
      entry = this.windows[id] = {canvas: canvas, context: canvas.getContext('2d'), image: null};
    }
    entry.canvas.title = title;
    entry.canvas.setAttribute('aria-label', title);
    entry.canvas.style.display = visible ? '' : 'none';
    entry.canvas.classList.toggle('kv390-floating', !!floating);
    entry.canvas.style.left = floating ? x + 'px' : '';
    entry.canvas.style.top = floating ? y + 'px' : '';
  };

  // Shows a window's picture.  fill(target) writes width x height canvas
  // pixels (bytes R, G, B, A) into target, a Uint32Array.
  KV390Screen.prototype.present = function(id, width, height, fill) {
    var entry = this.windows[id];
    if (!entry || width <= 0 || height <= 0) return;
    if (entry.canvas.width !== width || entry.canvas.height !== height || !entry.image) {
      entry.canvas.width = width;
      entry.canvas.height = height;
      entry.image = entry.context.createImageData(width, height);
    }
    fill(new Uint32Array(entry.image.data.buffer));
    entry.context.putImageData(entry.image, 0, 0);
  };

  // Pixels 0x00RRGGBB to canvas bytes R, G, B, A (little-endian 0xAABBGGRR).
  KV390Screen.toCanvasPixels = function(source, target) {
    for (var i = 0; i < source.length; ++i) {
      var p = source[i];
      target[i] = 0xFF000000 | ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >>> 16) & 0xFF);
    }
  };

  // Adds an input record to a queue of records not yet taken: movements
  // between two takes only matter at their latest place.
  KV390Screen.enqueue = function(queue, record) {
    var last = queue[queue.length - 1];
    if (record[0] === MOTION && last && last[0] === MOTION && last[1] === record[1]) {
      last[2] = record[2];
      last[3] = record[3];
      return;
    }
    queue.push(record);
  };

  KV390Screen.KINDS = {BUTTON_DOWN: BUTTON_DOWN, BUTTON_UP: BUTTON_UP, MOTION: MOTION,
                       KEY_DOWN: KEY_DOWN, KEY_UP: KEY_UP, FOCUS: FOCUS, BLUR: BLUR};

  if (typeof module === 'object' && module.exports) module.exports = KV390Screen;
  global.KV390Screen = KV390Screen;
})(typeof globalThis !== 'undefined' ? globalThis : this);
