// The Check button's worker: runs one test of an exercise on one compiled
// program (linked with the headless backend), as kv390-run runs it
// natively: a virtual screen and a virtual clock, the test's timed input in
// a run request (KV390_RUN), and the program writing its picture, log and
// run report into its own in-memory folder.  The page ends the worker when
// the test's time is up on the wall clock.
import {WASI, File, OpenFile, ConsoleStdout, PreopenDirectory, WASIProcExit} from
    '@bjorn3/browser_wasi_shim';

const SCRIPT_FILE = 'KV390.SCR';
const IDLE_LIMIT_MS = 1000;  // the run ends this long after the input, as kv390-run's
const SEED = 1;              // kv390-run's default KV390_SEED

const post = (message, transfer) => self.postMessage(message, transfer || []);

function requestText(test) {
  const lines = test.program_input.split('\n').filter((line) => line !== '');
  return lines.map((line) => `input ${line}\n`).join('') +
         `idle-limit ${IDLE_LIMIT_MS}\ntime-limit ${test.timeout * 1000}\n` +
         'report /report\npicture /picture.png\nlog /log.txt\n';
}

function fileBytes(root, name) {
  const file = root.dir.contents.get(name);
  return file && file.data ? file.data.slice() : null;
}

async function run({module, test}) {
  const encoder = new TextEncoder();
  const root = new PreopenDirectory('/', new Map());
  root.dir.contents.set('request', new File(encoder.encode(requestText(test))));
  if (test.script !== null) root.dir.contents.set(SCRIPT_FILE, new File(encoder.encode(test.script)));
  let messages = '';
  const collect = ConsoleStdout.lineBuffered((line) => { messages += line + '\n'; });
  const env = ['KV390_BACKEND=headless', 'KV390_RUN=/request', `KV390_SEED=${SEED}`];
  const wasi = new WASI(['program'], env, [new OpenFile(new File([])), collect, collect, root]);
  const instance = await WebAssembly.instantiate(module, {wasi_snapshot_preview1: wasi.wasiImport});
  post({type: 'started'});
  let code = 0, trap = null;
  try {
    wasi.inst = instance;
    instance.exports._start();
  } catch (error) {
    if (error instanceof WASIProcExit) code = error.code;
    else trap = String(error && error.message || error);
  }
  const decoder = new TextDecoder();
  const text = (name) => {
    const bytes = fileBytes(root, name);
    return bytes ? decoder.decode(bytes) : '';
  };
  const picture = fileBytes(root, 'picture.png');
  post({type: 'done', code, trap, report: text('report'), log: text('log.txt'), picture, messages},
       picture ? [picture.buffer] : []);
}

self.onmessage = (event) => {
  if (event.data.type !== 'run') return;
  run(event.data).catch((error) =>
    post({type: 'failed', message: String(error && error.message || error)}));
};
