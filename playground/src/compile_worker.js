// The compiler's worker: clang and lld compiled to WebAssembly compile and
// link the student's files against the shipped KV390 headers and archives,
// off the page's main thread.  The toolchain and KV390 are fetched once (the
// browser's cache keeps them for later visits) and stay loaded here.
import {runClang} from './clang/bundle.js';

const post = (message, transfer) => self.postMessage(message, transfer || []);

let kv390 = null;  // {include: Tree, lib: Tree, link: [flags]}, once loaded

async function fetchBytes(url) {
  const response = await fetch(url);
  if (!response.ok) throw new Error(`cannot fetch ${url} (${response.status})`);
  return new Uint8Array(await response.arrayBuffer());
}

// Puts bytes at a slash-separated path in a file tree.
function place(tree, path, bytes) {
  const parts = path.split('/');
  const name = parts.pop();
  for (const part of parts) tree = tree[part] = tree[part] || {};
  tree[name] = bytes;
}

async function loadKV390() {
  if (kv390) return kv390;
  const manifest = await (await fetch('kv390/manifest.json')).json();
  const tree = {};
  await Promise.all(manifest.files.map(async (path) =>
    place(tree, path, await fetchBytes(`kv390/${path}`))));
  kv390 = {tree, link: manifest.link};
  return kv390;
}

function progress(event) {
  post({type: 'progress', done: event.doneLength, total: event.totalLength});
}

// Runs clang once; returns {ok, files, log}.
async function clang(driver, args, files) {
  let log = '';
  const decoder = new TextDecoder();
  const collect = (bytes) => {
    if (bytes) log += decoder.decode(bytes, {stream: true});
  };
  try {
    const out = await runClang([driver, ...args], files,
                               {stdout: collect, stderr: collect, fetchProgress: progress});
    return {ok: true, files: out, log};
  } catch (error) {
    if (error && typeof error.code === 'number') return {ok: false, files: null, log};
    throw error;
  }
}

const COMPILE_FLAGS = ['--target=wasm32-wasip1', '-O2', '-fno-exceptions', '-Ikv390/include',
                       '-Wall'];

// Compiles each source, then links; stops at the first step that fails.
async function build(sources, backend) {
  const {tree, link: pageLink} = await loadKV390();
  // Check runs programs headless: the page backend's archive stays out.
  const link = backend === 'headless' ? pageLink.filter((f) => f !== '-lkv390_page') : pageLink;
  post({type: 'phase', phase: 'compile'});
  const isCxx = (name) => /\.(cpp|cc|cxx)$/.test(name);
  // Compiles see the headers only, the link the archives only: each run
  // copies its files into the compiler's memory.
  const files = {kv390: {include: tree.include}, src: {}};
  for (const s of sources) files.src[s.name] = s.text;
  const objects = {};
  let log = '';
  for (const s of sources.filter((s) => /\.(c|cpp|cc|cxx)$/.test(s.name))) {
    const driver = isCxx(s.name) ? 'clang++' : 'clang';
    const std = isCxx(s.name) ? ['-std=c++20'] : ['-std=c17'];
    const object = s.name.replace(/\.[^.]+$/, '.o');
    const result = await clang(driver, [...COMPILE_FLAGS, ...std, '-c', `src/${s.name}`,
                                        '-o', `obj/${object}`], {...files, obj: {}});
    log += result.log;
    if (!result.ok) return {ok: false, log};
    objects[object] = result.files.obj[object];
  }
  if (Object.keys(objects).length === 0) return {ok: false, log: 'error: no .c or .cpp file to compile\n'};
  post({type: 'phase', phase: 'link'});
  // KV390 is C++ inside: even a C program links with the C++ runtime.
  const result = await clang('clang++',
                             ['--target=wasm32-wasip1', '-fno-exceptions',
                              ...Object.keys(objects).map((o) => `obj/${o}`), ...link,
                              '-o', 'out/program.wasm'],
                             {kv390: {lib: tree.lib}, obj: objects, out: {}});
  log += result.log;
  if (!result.ok) return {ok: false, log};
  return {ok: true, log, wasm: result.files.out['program.wasm']};
}

self.onmessage = async (event) => {
  const message = event.data;
  try {
    if (message.type === 'load') {
      await loadKV390();
      await clang('clang', ['--version'], {});
      post({type: 'loaded'});
    } else if (message.type === 'build') {
      const started = performance.now();
      const result = await build(message.sources, message.backend);
      const ms = performance.now() - started;
      if (result.ok) post({type: 'built', log: result.log, wasm: result.wasm, ms},
                          [result.wasm.buffer]);
      else post({type: 'failed', log: result.log, ms});
    }
  } catch (error) {
    post({type: 'error', message: String(error && error.message || error)});
  }
};
