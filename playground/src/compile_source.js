// One source file compiled by the in-page clang against the shipped KV390
// headers, and what that needs: the toolchain run and the KV390 files.
import {runClang} from './clang/bundle.js';

let kv390 = null;  // {tree: {include, lib}, link: [flags]}, once loaded

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

export async function loadKV390() {
  if (kv390) return kv390;
  const manifest = await (await fetch('kv390/manifest.json')).json();
  const tree = {};
  await Promise.all(manifest.files.map(async (path) =>
    place(tree, path, await fetchBytes(`kv390/${path}`))));
  kv390 = {tree, link: manifest.link};
  return kv390;
}

// Runs clang once; returns {ok, files, log}.  progress, when given, hears
// how much of the toolchain has been fetched (the first run fetches it).
export async function clang(driver, args, files, progress) {
  let log = '';
  const decoder = new TextDecoder();
  const collect = (bytes) => {
    if (bytes) log += decoder.decode(bytes, {stream: true});
  };
  const options = {stdout: collect, stderr: collect};
  if (progress) options.fetchProgress = progress;
  try {
    const out = await runClang([driver, ...args], files, options);
    return {ok: true, files: out, log};
  } catch (error) {
    if (error && typeof error.code === 'number') return {ok: false, files: null, log};
    throw error;
  }
}

const COMPILE_FLAGS = ['--target=wasm32-wasip1', '-O2', '-fno-exceptions', '-Ikv390/include',
                       '-Wall'];

// libc++ keeps, for programs written against its older versions, includes
// its headers do not need themselves; without them a small C++ file
// compiles about three times faster.  A file that relied on one of them is
// compiled again with them, so it builds as it would anywhere else.
const LEAN_LIBCXX = '-D_LIBCPP_REMOVE_TRANSITIVE_INCLUDES';

const isCxx = (name) => /\.(cpp|cc|cxx)$/.test(name);

// Compiles the source called name; sources are all the program's files
// (its own headers among them).  Returns {ok, object, log}.
export async function compileSource(name, sources) {
  const {tree} = await loadKV390();
  const files = {kv390: {include: tree.include}, src: {}, obj: {}};
  for (const s of sources) files.src[s.name] = s.text;
  const cxx = isCxx(name);
  const args = [...COMPILE_FLAGS, cxx ? '-std=c++20' : '-std=c17', '-c', `src/${name}`,
                '-o', 'obj/out.o'];
  const driver = cxx ? 'clang++' : 'clang';
  let result = cxx ? await clang(driver, [LEAN_LIBCXX, ...args], files) : null;
  if (!result || !result.ok) result = await clang(driver, args, files);
  if (!result.ok) return {ok: false, object: null, log: result.log};
  return {ok: true, object: result.files.obj['out.o'], log: result.log};
}

// What the compiler's worker compiles (and links) once it has loaded.
export const WARM_UP = {
  name: 'warm_up.cpp', object: 'warm_up.o',
  text: `#include "kv390.h"
#include <array>
static const std::array<int, 3> radii{10, 20, 30};
int main() {
    KV390_begin(0, 0, "", 5);
    for (int r : radii) KV390_circle(BLUE, r, -r, r);
    return KV390_end();
}
`,
};
