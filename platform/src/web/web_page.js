// The page side of the web backend in an emscripten page (a JS library): the
// windows are shown by KV390Screen (page_screen.js, linked as a pre-js, and
// shared with the playground), its input records wait in a queue for the
// program to take, the script file lives in the program's file system, and
// a wait yields to the browser (ASYNCIFY) until input arrives or a deadline
// passes.
//
// The page holds an element #kv390-screen for the canvases and, optionally,
// #kv390-download, #kv390-upload (an <input type=file>) and #kv390-status.

var LibraryKV390Page = {
  $kv390page__deps: ['$FS', '$ENV'],
  // Settings a program reads from its environment (KV390_SEED, ...) come
  // from the page's address: index.html?KV390_SEED=1997.
  $kv390page__postset: 'addOnPreRun(function() { kv390page.readAddress(); });',
  $kv390page: {
    screen: null,  // the KV390Screen
    queue: [],     // input records, oldest first
    wake: null,    // ends the current wait
    lastYield: 0,

    readAddress: function() {
      if (typeof location === 'undefined') return;
      new URLSearchParams(location.search).forEach(function(value, name) {
        if (/^KV390_[A-Z0-9_]+$/.test(name)) ENV[name] = value;
      });
    },

    push: function(record) {
      KV390Screen.enqueue(kv390page.queue, record);
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

    scriptPath: function() {
      return FS.cwd().replace(/\/$/, '') + '/KV390.SCR';
    },
  },

  // Sets up the page's screen and input; returns the width of the screen area.
  kv390_page_open__deps: ['$kv390page'],
  kv390_page_open: function() {
    var screen = kv390page.screen = new KV390Screen(document.getElementById('kv390-screen'), {
      input: kv390page.push,
      download: function(done) {
        var data = null;
        try {
          data = FS.readFile(kv390page.scriptPath());
        } catch (e) {
          // no script recorded yet
        }
        done(data);
      },
      upload: function(bytes) { FS.writeFile(kv390page.scriptPath(), bytes); },
      status: kv390page.status,
    });
    screen.attach();
    screen.attachScriptFile(document.getElementById('kv390-download'),
                            document.getElementById('kv390-upload'));
    kv390page.lastYield = performance.now();
    return screen.width();
  },

  kv390_page_window__deps: ['$kv390page'],
  kv390_page_window: function(id, visible, floating, x, y, titlePointer) {
    kv390page.screen.window(id, visible, floating, x, y, UTF8ToString(titlePointer));
  },

  // Shows a window's picture: width x height pixels 0x00RRGGBB, row by row.
  kv390_page_present__deps: ['$kv390page'],
  kv390_page_present: function(id, pixels, width, height) {
    kv390page.screen.present(id, width, height, function(target) {
      KV390Screen.toCanvasPixels(HEAPU32.subarray(pixels >> 2, (pixels >> 2) + width * height),
                                 target);
    });
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

  kv390_page_has_input__deps: ['$kv390page'],
  kv390_page_has_input: function() {
    return kv390page.queue.length > 0 ? 1 : 0;
  },

  kv390_page_now: function() {
    return performance.now();
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
