// The compiler's worker: clang and lld compiled to WebAssembly compile and
// link the student's files against the shipped KV390 headers and archives,
// off the page's main thread.  The toolchain and KV390 are fetched once (the
// browser's cache keeps them for later visits) and stay loaded here.
//
// The same script runs in two roles.  The page's compiler compiles, links
// and answers the page; on a machine with several cores it starts helpers
// (this script with "?helper" in its address) that only compile, so the
// files of a program with several sources compile side by side.
import {compileLanes, isCompiled} from './compile_lanes.js';
import {clang, compileSource, loadKV390, WARM_UP} from './compile_source.js';

const post = (message, transfer) => self.postMessage(message, transfer || []);

function progress(event) {
  post({type: 'progress', done: event.doneLength, total: event.totalLength});
}

// Loads the toolchain, then compiles a small program once: the compiler's
// code is compiled by the browser as it first runs, so the first compile is
// several times slower than the next ones, and a student's first Run should
// not pay for that.  When a build already waits (a page opened with &run),
// that build warms the compiler up instead.
async function loadAndWarmUp(onLoaded, link, buildWaits = () => false) {
  await loadKV390();
  await clang('clang', ['--version'], {}, progress);
  onLoaded();
  if (buildWaits()) return;
  const built = await compileSource(WARM_UP.name, [WARM_UP]);
  if (built.ok && link) await link({[WARM_UP.object]: built.object}, 'headless');
}

// ---------------------------------------------------------------- helper

async function helperMessage(message) {
  if (message.type === 'load') {
    await loadAndWarmUp(() => {});
    post({type: 'ready'});
  } else if (message.type === 'compile') {
    const result = await compileSource(message.name, message.sources);
    post({type: 'compiled', id: message.id, ...result}, result.ok ? [result.object.buffer] : []);
  }
}

// ---------------------------------------------------------------- compiler

const lanes = compileLanes(compileSource, () => {
  const url = new URL(self.location.href);
  url.searchParams.set('helper', '1');
  return new Worker(url, {type: 'module'});
});

async function link(objects, backend) {
  const {tree, link: pageLink} = await loadKV390();
  // Check runs programs headless: the page backend's archive stays out.
  const flags = backend === 'headless' ? pageLink.filter((f) => f !== '-lkv390_page') : pageLink;
  // KV390 is C++ inside: even a C program links with the C++ runtime.
  return clang('clang++',
               ['--target=wasm32-wasip1', '-fno-exceptions',
                ...Object.keys(objects).map((o) => `obj/${o}`), ...flags, '-o', 'out/program.wasm'],
               {kv390: {lib: tree.lib}, obj: objects, out: {}});
}

// Compiles every source (side by side where helpers run), then links.  The
// compilers' messages come in the order of the files, whichever finished
// first; the link runs only when every file compiled.
async function build(sources, backend) {
  await loadKV390();
  post({type: 'phase', phase: 'compile'});
  const started = performance.now();
  const names = sources.map((s) => s.name).filter(isCompiled);
  if (names.length === 0) return {ok: false, log: 'error: no .c or .cpp file to compile\n'};
  const results = await Promise.all(names.map((name) => lanes.compile(name, sources)));
  const compileMs = performance.now() - started;
  let log = results.map((r) => r.log).join('');
  if (!results.every((r) => r.ok)) return {ok: false, log, compileMs};
  post({type: 'phase', phase: 'link'});
  const objects = {};
  names.forEach((name, i) => { objects[name.replace(/\.[^.]+$/, '.o')] = results[i].object; });
  const linked = await link(objects, backend);
  log += linked.log;
  const linkMs = performance.now() - started - compileMs;
  if (!linked.ok) return {ok: false, log, compileMs, linkMs};
  return {ok: true, log, wasm: linked.files.out['program.wasm'], compileMs, linkMs};
}

// One request at a time: a build asked for while the toolchain warms up
// waits for it rather than competing with it.
let queue = Promise.resolve();
const inTurn = (work) => (queue = queue.then(work, work));
let buildsWaiting = 0;

async function compilerMessage(message) {
  if (message.type === 'load') {
    const loaded = () => {
      post({type: 'loaded'});
      lanes.startHelpers(Math.min(navigator.hardwareConcurrency || 1, 4) - 1)
          .then((count) => post({type: 'helpers', count}));
    };
    await inTurn(() => loadAndWarmUp(loaded, link, () => buildsWaiting > 0));
    post({type: 'warm'});
  } else if (message.type === 'build') {
    const started = performance.now();
    ++buildsWaiting;
    const result = await inTurn(() => {
      --buildsWaiting;
      return build(message.sources, message.backend);
    });
    const times = {ms: performance.now() - started, compileMs: result.compileMs,
                   linkMs: result.linkMs};
    if (result.ok) post({type: 'built', log: result.log, wasm: result.wasm, ...times},
                        [result.wasm.buffer]);
    else post({type: 'failed', log: result.log, ...times});
  }
}

const role = new URL(self.location.href).searchParams.has('helper') ? helperMessage
                                                                     : compilerMessage;
self.onmessage = async (event) => {
  try {
    await role(event.data);
  } catch (error) {
    post({type: 'error', message: String(error && error.message || error)});
  }
};
