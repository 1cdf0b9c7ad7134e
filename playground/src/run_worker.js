// The program's worker: runs one compiled KV390 program (wasm32-wasip1) with
// a WASI shim and the page imports of the web backend.  The program's
// blocking waits suspend it through JSPI (WebAssembly.Suspending on
// kv390_page.wait, WebAssembly.promising on _start), so this worker's event
// loop delivers the page's input meanwhile.  Pictures go to the page as
// canvas pixels; the page's input comes back as records.  Stop terminates
// the worker, whatever the program is doing.
import {WASI, File, OpenFile, ConsoleStdout, PreopenDirectory, WASIProcExit} from
    '@bjorn3/browser_wasi_shim';
import KV390Screen from '../../platform/src/web/page_screen.js';

const SCRIPT_FILE = 'KV390.SCR';

let memory = null;
let queue = [];    // input records, oldest first
let wake = null;   // ends the current wait
let lastYield = performance.now();
let root = null;   // the program's files: the script file lives here
let pausedAt = null;  // a clock that stands still (?clock=paused): repeatable pictures

const post = (message, transfer) => self.postMessage(message, transfer || []);

function text(pointer) {
  const bytes = new Uint8Array(memory.buffer, pointer);
  let end = 0;
  while (bytes[end] !== 0) ++end;
  return new TextDecoder().decode(bytes.subarray(0, end));
}

// Runs callback once the worker has handled what is pending (a task, not a
// timer: timers may be throttled).
const channel = new MessageChannel();
const soonCallbacks = [];
channel.port1.onmessage = () => {
  const next = soonCallbacks.shift();
  if (next) next();
};
function soon(callback) {
  soonCallbacks.push(callback);
  channel.port2.postMessage(0);
}

function push(record) {
  KV390Screen.enqueue(queue, record);
  if (wake) wake();
}

function pageImports(screenWidth) {
  return {
    open: () => screenWidth,
    window: (id, visible, floating, x, y, title) =>
      post({type: 'window', id, visible, floating, x, y, title: text(title)}),
    present: (id, pixels, width, height) => {
      if (width <= 0 || height <= 0) return;
      const target = new Uint32Array(width * height);
      KV390Screen.toCanvasPixels(new Uint32Array(memory.buffer, pixels, width * height), target);
      post({type: 'present', id, width, height, pixels: target}, [target.buffer]);
    },
    set_title: (title) => post({type: 'title', title: text(title)}),
    take_input: (out) => {
      const record = queue.shift();
      if (!record) return 0;
      new Int32Array(memory.buffer, out, 7).set(record);
      return record[0];
    },
    has_input: () => (queue.length > 0 ? 1 : 0),
    since_yield: () => performance.now() - lastYield,
    now: () => (pausedAt === null ? performance.now() : pausedAt),
    // Gives the worker's event loop control until input arrives or
    // timeoutMs pass (no limit when negative); the program stays suspended.
    wait: new WebAssembly.Suspending((timeoutMs) => new Promise((resolve) => {
      // An idle wait (nothing queued, not a mere yield) is announced to the
      // page, which is how tests know that the program waits for them.
      const idle = queue.length === 0 && timeoutMs !== 0;
      let timer = 0;
      const done = () => {
        if (wake !== done) return;
        if (timer) clearTimeout(timer);
        wake = null;
        lastYield = performance.now();
        if (idle) post({type: 'resumed'});
        resolve();
      };
      wake = done;
      if (!idle) {
        soon(done);
      } else {
        post({type: 'waiting'});
        if (timeoutMs > 0 && pausedAt === null) timer = setTimeout(done, timeoutMs);
      }
    })),
  };
}

function output(kind) {
  return ConsoleStdout.lineBuffered((line) => post({type: 'output', kind, line}));
}

async function run({module, env, screenWidth, script, clock}) {
  pausedAt = clock === 'paused' ? 1000 : null;
  root = new PreopenDirectory('/', new Map());
  if (script) root.dir.contents.set(SCRIPT_FILE, new File(script));
  const wasi = new WASI(['program'], env, [new OpenFile(new File([])), output('stdout'),
                                          output('stderr'), root]);
  const {instance} = await WebAssembly.instantiate(module, {
    wasi_snapshot_preview1: wasi.wasiImport,
    kv390_page: pageImports(screenWidth),
  });
  memory = instance.exports.memory;
  wasi.inst = instance;
  const main = WebAssembly.promising(instance.exports._start);
  lastYield = performance.now();
  post({type: 'started'});
  try {
    await main();
    post({type: 'ended', code: 0});
  } catch (error) {
    if (error instanceof WASIProcExit) {
      post({type: 'ended', code: error.code});
    } else {
      post({type: 'crashed', message: String(error && error.message || error)});
    }
  }
}

function scriptBytes() {
  const file = root && root.dir.contents.get(SCRIPT_FILE);
  return file && file.data && file.data.length > 0 ? file.data.slice() : null;
}

self.onmessage = (event) => {
  const message = event.data;
  if (message.type === 'run') {
    run(message).catch((error) => post({type: 'crashed', message: String(error)}));
  } else if (message.type === 'input') {
    push(message.record);
  } else if (message.type === 'script-get') {
    post({type: 'script', bytes: scriptBytes()});
  } else if (message.type === 'script-put') {
    if (root) root.dir.contents.set(SCRIPT_FILE, new File(message.bytes));
  }
};
