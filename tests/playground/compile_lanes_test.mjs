// How the page spreads compiles over its workers: every file compiled once,
// side by side, its object reused while its text and the program's headers
// stay the same, and a helper that dies loses no file.  The compilers here
// are stand-ins that answer after a turn of the event loop.
// Run: node tests/playground/compile_lanes_test.mjs
import assert from 'node:assert/strict';
import {compileLanes} from '../../playground/src/compile_lanes.js';

const turn = () => new Promise((resolve) => setTimeout(resolve, 0));
const objectOf = (name, sources) =>
  new TextEncoder().encode(`${name}:${sources.find((s) => s.name === name).text}`);

// A lane's compiler: records what it compiled and how many ran at once.
function recorder(shared) {
  return async (name, sources) => {
    shared.running++;
    shared.most = Math.max(shared.most, shared.running);
    shared.compiled.push(name);
    await turn();
    shared.running--;
    const ok = !sources.find((s) => s.name === name).text.includes('error');
    return ok ? {ok, object: objectOf(name, sources), log: ''}
              : {ok, object: null, log: `${name}: error\n`};
  };
}

// A helper worker as the lanes see it: answers 'load' with 'ready' and
// each 'compile' with 'compiled'; dies on its dieAt-th compile.
function fakeHelper(shared, {dieAt = Infinity} = {}) {
  const compile = recorder(shared);
  let compiles = 0;
  const worker = {
    postMessage(message) {
      setTimeout(async () => {
        if (message.type === 'load') return worker.onmessage({data: {type: 'ready'}});
        if (++compiles === dieAt) return worker.onmessage({data: {type: 'error', message: 'gone'}});
        const result = await compile(message.name, message.sources);
        worker.onmessage({data: {type: 'compiled', id: message.id, ...result}});
      }, 0);
    },
  };
  return worker;
}

const program = (texts) => Object.entries(texts).map(([name, text]) => ({name, text}));
const files = program({'a.cpp': 'a', 'b.cpp': 'b', 'c.cpp': 'c', 'd.cpp': 'd', 'w.h': 'header'});
const names = ['a.cpp', 'b.cpp', 'c.cpp', 'd.cpp'];

async function setUp(helpers, helperOptions) {
  const shared = {running: 0, most: 0, compiled: []};
  const lanes = compileLanes(recorder(shared), () => fakeHelper(shared, helperOptions));
  assert.equal(await lanes.startHelpers(helpers), helpers, 'every helper became a lane');
  return {shared, lanes};
}

const compileAll = (lanes, sources) =>
  Promise.all(sources.filter((s) => !s.name.endsWith('.h')).map((s) => lanes.compile(s.name, sources)));

// Side by side, every object the one of its own file.
{
  const {shared, lanes} = await setUp(1);
  const results = await compileAll(lanes, files);
  assert.equal(shared.most, 2, 'two lanes compile at once');
  assert.deepEqual(shared.compiled.sort(), names);
  results.forEach((r, i) => assert.deepEqual(r.object, objectOf(names[i], files), names[i]));
}

// What is compiled again after an edit.
for (const [what, edited, again] of [
  ['nothing changed', files, []],
  ['one source changed', program({'a.cpp': 'a', 'b.cpp': 'b2', 'c.cpp': 'c', 'd.cpp': 'd', 'w.h': 'header'}), ['b.cpp']],
  ['a header changed', program({'a.cpp': 'a', 'b.cpp': 'b', 'c.cpp': 'c', 'd.cpp': 'd', 'w.h': 'header2'}), names],
  ['a header added', [...files, {name: 'x.h', text: ''}], names],
]) {
  const {shared, lanes} = await setUp(1);
  await compileAll(lanes, files);
  shared.compiled = [];
  const results = await compileAll(lanes, edited);
  assert.deepEqual(shared.compiled.sort(), again, what);
  assert(results.every((r) => r.ok), what);
}

// A failed compile is not kept: compiled again, it fails again with its message.
{
  const {shared, lanes} = await setUp(0);
  const broken = program({'a.cpp': 'error'});
  for (let i = 0; i < 2; ++i) assert.deepEqual(await lanes.compile('a.cpp', broken),
                                               {ok: false, object: null, log: 'a.cpp: error\n'});
  assert.deepEqual(shared.compiled, ['a.cpp', 'a.cpp']);
}

// A helper that dies hands its file back; the rest compile here.
{
  const {shared, lanes} = await setUp(1, {dieAt: 1});
  const results = await compileAll(lanes, files);
  assert(results.every((r) => r.ok));
  assert.deepEqual(shared.compiled.sort(), names, 'each file compiled once, none lost');
}

// An object handed out is a copy: giving it away leaves the kept one whole.
{
  const {lanes} = await setUp(0);
  const first = await lanes.compile('a.cpp', files);
  first.object.fill(0);
  assert.deepEqual((await lanes.compile('a.cpp', files)).object, objectOf('a.cpp', files));
}
console.log('compile lanes: all checks passed');
