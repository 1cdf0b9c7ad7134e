// The playground's verdict rules, which must give kv390-grade's reasons:
// the run's end in kv390-run's order, the picture before the log, log_lacks
// before log_has, each a line's beginning.  Also: KV390's PNG files read
// exactly.  Run: node tests/playground/check_verdict_test.mjs
import assert from 'node:assert/strict';
import {deflateSync} from 'node:zlib';
import {runReason, checkFailures, decodePng, comparePictures} from '../../playground/src/check_verdict.js';

const test = {timeout: 10, tolerance: 2, picture: true, log_has: ['red circle at (0,0)'],
              log_lacks: ['Illegal color']};
const ok = 'started\nfinished 3\n';

for (const [what, run, reason] of [
  ['a good run', {code: 0, trap: null, report: ok}, ''],
  ['the time limit wins over an exit', {code: 3, trap: null, report: 'started\ntime-limit 10000\n'}, 'timeout after 10 s'],
  ['the wall clock', {code: 0, trap: null, report: 'started\n', wallTimeout: true}, 'timeout after 10 s'],
  ['abort', {code: 0, trap: 'unreachable', report: 'started\n'}, 'crashed: SIGABRT'],
  ['a stack used up', {code: 0, trap: 'memory access out of bounds', report: 'started\n'}, 'crashed: SIGSEGV'],
  ['division by zero', {code: 0, trap: 'divide by zero', report: 'started\n'}, 'crashed: SIGFPE'],
  ['no picture before its status', {code: 2, trap: null, report: 'started\nno-picture\nerror x\n'}, 'never showed a picture'],
  ['an exit status', {code: 1, trap: null, report: ok}, 'exit status 1'],
  ['never opened KV390', {code: 0, trap: null, report: ''}, 'never showed a picture'],
  ['outputs not complete', {code: 0, trap: null, report: 'started\n'}, 'run failed: the program ended before its outputs were complete'],
]) assert.equal(runReason(run, test), reason, what);

const picture = (pixels) => ({width: 2, height: 2, pixels: Uint32Array.from(pixels)});
const expected = picture([0xFFFFFF, 0, 0xFF0000, 0x00FF00]);
const goodLog = 'blue line\nred circle at (0,0), radius 20\n';
for (const [what, got, log, failures] of [
  ['all hold', expected, goodLog, []],
  ['within the tolerance', picture([0, 0xFFFFFF, 0xFF0000, 0x00FF00]), goodLog, []],
  ['over it, the picture first', picture([1, 2, 3, 4]), 'Illegal color 99; using RED.\n',
   ['picture differs in 4 pixels (tolerance 2)', 'log has: Illegal color 99; using RED.', 'log lacks: red circle at (0,0)']],
  ['another size', {width: 1, height: 1, pixels: Uint32Array.of(0)}, goodLog, ['picture differs in size (1 x 1)']],
  ['a beginning, not a middle', expected, 'a red circle at (0,0)\n', ['log lacks: red circle at (0,0)']],
]) assert.deepEqual(checkFailures(test, {expected, got, log}).failures, failures, what);
assert.deepEqual(checkFailures({...test, picture: false}, {expected: null, got: null, log: goodLog}).failures, []);

// Differences as kv390-compare draws them: red, else a light grey of the expected picture.
assert.deepEqual(Array.from(comparePictures(expected, picture([0xFFFFFF, 0, 0, 0x00FF00])).diff.pixels),
                 [0xFFFFFF, 0x808080, 0xFF0000, 0xCBCBCB]);

// A PNG with every row filter, RGB and RGBA.
function png(width, height, channels, rows) {
  const chunk = (type, body) => {
    const out = Buffer.alloc(12 + body.length);
    out.writeUInt32BE(body.length, 0);
    out.write(type, 4, 'latin1');
    body.copy(out, 8);
    return out;  // the CRC is not checked by the reader
  };
  const header = Buffer.alloc(13);
  header.writeUInt32BE(width, 0);
  header.writeUInt32BE(height, 4);
  header[8] = 8;
  header[9] = channels === 3 ? 2 : 6;
  return new Uint8Array(Buffer.concat([Buffer.from([137, 80, 78, 71, 13, 10, 26, 10]), chunk('IHDR', header),
                                       chunk('IDAT', deflateSync(Buffer.from(rows.flat()))), chunk('IEND', Buffer.alloc(0))]));
}
// Two pixels a row, (10,20,30) and (40,50,60), in rows filtered none, sub, up, average, Paeth.
const rows = [[0, 10, 20, 30, 40, 50, 60], [1, 10, 20, 30, 30, 30, 30], [2, 0, 0, 0, 0, 0, 0],
              [3, 5, 10, 15, 15, 15, 15], [4, 0, 0, 0, 0, 0, 0]];
const decoded = await decodePng(png(2, 5, 3, rows));
assert.equal(decoded.width, 2);
assert.deepEqual(Array.from(decoded.pixels), Array(5).fill([0x0A141E, 0x28323C]).flat());
const rgba = await decodePng(png(1, 1, 4, [[0, 1, 2, 3, 255]]));
assert.deepEqual(Array.from(rgba.pixels), [0x010203]);
console.log('check verdict tests passed');
