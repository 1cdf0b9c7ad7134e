// The page side of the web backend (an emscripten JS library): one canvas per
// top-level window, DOM input queued as records for the program to take, a
// wait that yields to the browser until input arrives or a deadline passes,
// and the script file offered as a download and taken as an upload.
//
// The page holds an element #kv390-screen for the canvases and, optionally,
// #kv390-download, #kv390-upload (an <input type=file>) and #kv390-status.

var LibraryKV390Page = {
  $kv390page__deps: ['$FS', '$ENV'],
  // Settings a program reads from its environment (KV390_SEED, ...) come
  // from the page's address: index.html?KV390_SEED=1997.
  $kv390page__postset: 'addOnPreRun(function() { kv390page.readAddress(); });',
  $kv390page: {
    windows: {},   // window id -> {canvas, context, image}
    queue: [],     // input records, oldest first
    wake: null,    // ends the current wait
    lastYield: 0,

    // Input record kinds; the C side reads them with the same numbers.
    BUTTON_DOWN: 1, BUTTON_UP: 2, MOTION: 3, KEY_DOWN: 4, KEY_UP: 5, FOCUS: 6, BLUR: 7,

    readAddress: function() {
      if (typeof location === 'undefined') return;
      new URLSearchParams(location.search).forEach(function(value, name) {
        if (/^KV390_[A-Z0-9_]+$/.test(name)) ENV[name] = value;
      });
    },

    push: function(record) {
      kv390page.queue.push(record);
      if (kv390page.wake) kv390page.wake();
    },

    // Runs callback once the browser has handled what is pending (a task,
    // not a timer: timers may be throttled or slowed down).
    soonCallbacks: [],
    channel: null,
    soon: function(callback) {
      if (!kv390page.channel) {
        kv390page.channel = new MessageChannel();
        kv390page.channel.port1.onmessage = function() {
          var next = kv390page.soonCallbacks.shift();
          if (next) next();
        };
      }
      kv390page.soonCallbacks.push(callback);
      kv390page.channel.port2.postMessage(0);
    },

    status: function(text) {
      var element = document.getElementById('kv390-status');
      if (element) element.textContent = text;
    },

    canvasPoint: function(canvas, event) {
      var box = canvas.getBoundingClientRect();
      var x = (event.clientX - box.left) * canvas.width / Math.max(1, box.width);
      var y = (event.clientY - box.top) * canvas.height / Math.max(1, box.height);
      return [Math.floor(x), Math.floor(y)];
    },

    modifiers: function(event) {
      return (event.ctrlKey ? 1 : 0) | (event.shiftKey ? 2 : 0) | (event.altKey ? 4 : 0) |
             (event.repeat ? 8 : 0) | (event.metaKey ? 16 : 0);
    },

    // The character a key types, for keys that type one without Ctrl or
    // Alt: Latin-1 only, as the library's text is 8-bit.
    character: function(event) {
      if (event.ctrlKey || event.altKey || event.metaKey || event.key.length !== 1) return 0;
      var code = event.key.charCodeAt(0);
      return code >= 32 && code < 256 ? code : 0;
    },

    // Keys the browser would act on itself (Ctrl+R reload, Ctrl+P print,
    // Tab focus moves, Backspace navigation, ...) belong to the program.
    keyEvent: function(kind, event) {
      if (event.isComposing || kv390page.isPageControl(event.target)) return;
      kv390page.push([kind, 0, 0, 0, event.keyCode | 0, kv390page.character(event),
                      kv390page.modifiers(event)]);
      event.preventDefault();
    },

    // The page's own controls (the script file's link and chooser) keep
    // their keys.
    isPageControl: function(element) {
      return element && /^(A|BUTTON|INPUT|LABEL|SELECT|TEXTAREA)$/.test(element.tagName);
    },

    attachWindowInput: function(id, canvas) {
      canvas.addEventListener('mousedown', function(event) {
        var p = kv390page.canvasPoint(canvas, event);
        canvas.focus();
        kv390page.push([kv390page.BUTTON_DOWN, id, p[0], p[1], event.button, 0,
                        kv390page.modifiers(event)]);
        event.preventDefault();
      });
      canvas.addEventListener('mouseup', function(event) {
        var p = kv390page.canvasPoint(canvas, event);
        kv390page.push([kv390page.BUTTON_UP, id, p[0], p[1], event.button, 0,
                        kv390page.modifiers(event)]);
      });
      canvas.addEventListener('mousemove', function(event) {
        var p = kv390page.canvasPoint(canvas, event);
        var last = kv390page.queue[kv390page.queue.length - 1];
        // Movements between two takes only matter at their latest place.
        if (last && last[0] === kv390page.MOTION && last[1] === id) {
          last[2] = p[0];
          last[3] = p[1];
          return;
        }
        kv390page.push([kv390page.MOTION, id, p[0], p[1], 0, 0, kv390page.modifiers(event)]);
      });
      canvas.addEventListener('contextmenu', function(event) { event.preventDefault(); });
      canvas.addEventListener('focus', function() {
        kv390page.lastCanvas = canvas;
        kv390page.push([kv390page.FOCUS, id, 0, 0, 0, 0, 0]);
      });
    },

    attachPageInput: function() {
      document.addEventListener('keydown', function(event) {
        kv390page.keyEvent(kv390page.KEY_DOWN, event);
      });
      document.addEventListener('keyup', function(event) {
        kv390page.keyEvent(kv390page.KEY_UP, event);
      });
      window.addEventListener('blur', function() {
        kv390page.push([kv390page.BLUR, 0, 0, 0, 0, 0, 0]);
      });
      var download = document.getElementById('kv390-download');
      if (download) download.addEventListener('click', kv390page.downloadScript);
      var upload = document.getElementById('kv390-upload');
      if (upload) upload.addEventListener('change', kv390page.uploadScript);
    },

    scriptPath: function() {
      return FS.cwd().replace(/\/$/, '') + '/KV390.SCR';
    },

    // After the page's own links and choosers, keys go to the program again.
    lastCanvas: null,
    refocus: function() {
      if (kv390page.lastCanvas && kv390page.lastCanvas.isConnected) kv390page.lastCanvas.focus();
    },

    downloadScript: function(event) {
      if (event) event.preventDefault();
      kv390page.refocus();
      var data;
      try {
        data = FS.readFile(kv390page.scriptPath());
      } catch (e) {
        kv390page.status('No script yet: choose Record Script (Ctrl+R) in the Run menu first.');
        return;
      }
      var link = document.createElement('a');
      link.href = URL.createObjectURL(new Blob([data], {type: 'text/plain'}));
      link.download = 'KV390.SCR';
      document.body.appendChild(link);
      link.click();
      link.remove();
      setTimeout(function() { URL.revokeObjectURL(link.href); }, 0);
    },

    uploadScript: function() {
      var input = this;
      var file = input.files && input.files[0];
      if (!file) return;
      file.arrayBuffer().then(function(buffer) {
        FS.writeFile(kv390page.scriptPath(), new Uint8Array(buffer));
        kv390page.status('Loaded ' + file.name + ' as KV390.SCR: choose Playback Script ' +
                         '(Ctrl+P) in the Run menu to play it.');
        input.value = '';
        kv390page.refocus();
      }, function(error) {
        kv390page.status('Cannot read ' + file.name + ': ' + error);
      });
    },
  },

  // Sets up the page's input; returns the width of the screen area.
  kv390_page_open__deps: ['$kv390page'],
  kv390_page_open: function() {
    kv390page.attachPageInput();
    kv390page.lastYield = performance.now();
    var screen = document.getElementById('kv390-screen');
    var width = screen ? screen.clientWidth : 0;
    return width > 0 ? width : 1024;
  },

  // Creates, places or removes the canvas of a top-level window.  A window
  // that floats (a dialog) is placed over the page at its screen position;
  // the others follow each other down the page in creation order.
  kv390_page_window__deps: ['$kv390page'],
  kv390_page_window: function(id, visible, floating, x, y, titlePointer) {
    var entry = kv390page.windows[id];
    if (visible < 0) {  // destroyed
      if (entry) entry.canvas.remove();
      delete kv390page.windows[id];
      return;
    }
    if (!entry) {
      var canvas = document.createElement('canvas');
      canvas.width = 0;
      canvas.height = 0;
      canvas.tabIndex = 0;
      canvas.className = 'kv390-window';
      kv390page.attachWindowInput(id, canvas);
      var screen = document.getElementById('kv390-screen') || document.body;
      screen.appendChild(canvas);
      entry = kv390page.windows[id] = {canvas: canvas, context: canvas.getContext('2d'), image: null};
    }
    var title = UTF8ToString(titlePointer);
    entry.canvas.title = title;
    entry.canvas.setAttribute('aria-label', title);
    entry.canvas.style.display = visible ? '' : 'none';
    entry.canvas.classList.toggle('kv390-floating', floating !== 0);
    entry.canvas.style.left = floating ? x + 'px' : '';
    entry.canvas.style.top = floating ? y + 'px' : '';
  },

  // Shows a window's picture: width x height pixels 0x00RRGGBB, row by row.
  kv390_page_present__deps: ['$kv390page'],
  kv390_page_present: function(id, pixels, width, height) {
    var entry = kv390page.windows[id];
    if (!entry || width <= 0 || height <= 0) return;
    if (entry.canvas.width !== width || entry.canvas.height !== height || !entry.image) {
      entry.canvas.width = width;
      entry.canvas.height = height;
      entry.image = entry.context.createImageData(width, height);
    }
    var source = HEAPU32.subarray(pixels >> 2, (pixels >> 2) + width * height);
    var target = new Uint32Array(entry.image.data.buffer);
    for (var i = 0; i < source.length; ++i) {
      var p = source[i];
      // Canvas bytes are R, G, B, A in memory: little-endian 0xAABBGGRR.
      target[i] = 0xFF000000 | ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >>> 16) & 0xFF);
    }
    entry.context.putImageData(entry.image, 0, 0);
  },

  kv390_page_set_title__deps: ['$kv390page'],
  kv390_page_set_title: function(titlePointer) {
    document.title = UTF8ToString(titlePointer);
  },

  // Takes the oldest input record into seven ints: kind, window id, x, y,
  // key code or button, character, modifiers.  0 when there is none.
  kv390_page_take_input__deps: ['$kv390page'],
  kv390_page_take_input: function(out) {
    var record = kv390page.queue.shift();
    if (!record) return 0;
    for (var i = 0; i < 7; ++i) HEAP32[(out >> 2) + i] = record[i];
    return record[0];
  },

  kv390_page_now: function() {
    return performance.now();
  },

  kv390_page_has_input__deps: ['$kv390page'],
  kv390_page_has_input: function() {
    return kv390page.queue.length > 0 ? 1 : 0;
  },

  // Milliseconds since the last time the program gave the browser control.
  kv390_page_since_yield__deps: ['$kv390page'],
  kv390_page_since_yield: function() {
    return performance.now() - kv390page.lastYield;
  },

  // Gives the browser control until input arrives or timeout_ms pass (no
  // limit for a negative timeout).  The program's stack is kept (ASYNCIFY),
  // so the caller's blocking wait keeps its form.
  kv390_page_wait__deps: ['$kv390page'],
  kv390_page_wait: function(timeoutMs) {
    return Asyncify.handleSleep(function(wakeUp) {
      var timer = 0;
      var done = function() {
        if (kv390page.wake !== done) return;
        if (timer) clearTimeout(timer);
        kv390page.wake = null;
        kv390page.lastYield = performance.now();
        wakeUp();
      };
      kv390page.wake = done;
      if (kv390page.queue.length > 0 || timeoutMs === 0) kv390page.soon(done);
      else if (timeoutMs > 0) timer = setTimeout(done, timeoutMs);
    });
  },
};

autoAddDeps(LibraryKV390Page, '$kv390page');
mergeInto(LibraryManager.library, LibraryKV390Page);
