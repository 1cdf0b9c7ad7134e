// The verdict of one test of an exercise, as kv390-grade gives it: the run
// itself first, then the picture, then the log; the first failed check is
// the one-line reason, with kv390-grade's fixed words (docs/TEACHING.md).
// Pure functions, shared by the page and its tests.

// How a program's run ended, from what the worker saw: its exit code, a
// WebAssembly trap (the browser's crash), the run report's lines, and
// whether the wall clock ran out.  Mirrors kv390-run's own judgement and
// kv390-grade's reasons for its exit statuses.
export function runReason({code, trap, report, wallTimeout}, test) {
  const lines = report.split('\n').map((line) => line.split(' '));
  const has = (key) => lines.some((words) => words[0] === key);
  const error = lines.find((words) => words[0] === 'error');
  if (wallTimeout || has('time-limit')) return `timeout after ${test.timeout} s`;
  if (trap !== null && trap !== undefined) return `crashed: ${signalOfTrap(trap)}`;
  if (has('no-picture')) return 'never showed a picture';
  if (error) return `run failed: ${error.slice(1).join(' ')}`;
  if (code !== 0) return `exit status ${code}`;
  if (!has('started')) return 'never showed a picture';
  if (!has('finished')) return 'run failed: the program ended before its outputs were complete';
  return '';
}

// The native signal a WebAssembly trap stands for: abort() and failed
// assertions trap at "unreachable", a bad address or a stack that
// overflowed is a SIGSEGV, a division by zero a SIGFPE.
export function signalOfTrap(message) {
  if (/unreachable/i.test(message)) return 'SIGABRT';
  if (/divide by zero|division by zero|integer overflow|remainder by zero/i.test(message))
    return 'SIGFPE';
  return 'SIGSEGV';
}

// Pictures are {width, height, pixels: Uint32Array of 0x00RRGGBB}.  The
// differences are drawn as kv390-compare --diff draws them: differing
// pixels red, the others a light grey of the expected picture.
export function comparePictures(expected, got) {
  if (expected.width !== got.width || expected.height !== got.height)
    return {differing: null, diff: null};
  const diff = new Uint32Array(expected.pixels.length);
  let differing = 0;
  for (let i = 0; i < diff.length; ++i) {
    const p = expected.pixels[i];
    if (p !== got.pixels[i]) {
      ++differing;
      diff[i] = 0xFF0000;
    } else {
      const grey = 128 + Math.floor((((p >> 16) & 0xFF) * 30 + ((p >> 8) & 0xFF) * 59 +
                                     (p & 0xFF) * 11) / 200);
      diff[i] = (grey << 16) | (grey << 8) | grey;
    }
  }
  return {differing, diff: {width: expected.width, height: expected.height, pixels: diff}};
}

// The checks after a run that ended well: picture (when the test has
// one), then log_lacks, then log_has (each a line's beginning).
export function checkFailures(test, {expected, got, log}) {
  const failures = [];
  let diff = null;
  if (test.picture && expected) {
    if (!got) {
      failures.push('picture unreadable: the program wrote none');
    } else {
      const compared = comparePictures(expected, got);
      diff = compared.diff;
      if (compared.differing === null)
        failures.push(`picture differs in size (${got.width} x ${got.height})`);
      else if (compared.differing > test.tolerance)
        failures.push(`picture differs in ${compared.differing} pixels (tolerance ${test.tolerance})`);
    }
  }
  const lines = log.split('\n').map((line) => line.replace(/\r$/, ''));
  if (lines.length > 0 && lines[lines.length - 1] === '') lines.pop();
  for (const banned of test.log_lacks) {
    const line = lines.find((l) => l.startsWith(banned));
    if (line !== undefined) failures.push(`log has: ${line}`);
  }
  for (const wanted of test.log_has) {
    if (!lines.some((l) => l.startsWith(wanted))) failures.push(`log lacks: ${wanted}`);
  }
  return {failures, diff};
}

// ------------------------------------------------------------ PNG

function paeth(a, b, c) {
  const p = a + b - c;
  const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

async function inflate(bytes) {
  const stream = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('deflate'));
  return new Uint8Array(await new Response(stream).arrayBuffer());
}

// Reads the PNG files KV390 writes (8-bit RGB or RGBA, not interlaced)
// exactly, without the browser's colour management.
export async function decodePng(bytes) {
  const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  const signature = [137, 80, 78, 71, 13, 10, 26, 10];
  if (bytes.length < 8 || signature.some((b, i) => bytes[i] !== b)) throw new Error('not a PNG file');
  let width = 0, height = 0, channels = 0;
  const data = [];
  for (let at = 8; at + 8 <= bytes.length;) {
    const length = view.getUint32(at);
    const type = String.fromCharCode(...bytes.subarray(at + 4, at + 8));
    const body = bytes.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = view.getUint32(at + 8);
      height = view.getUint32(at + 12);
      const depth = body[8], colour = body[9], interlace = body[12];
      channels = colour === 2 ? 3 : colour === 6 ? 4 : 0;
      if (depth !== 8 || channels === 0 || interlace !== 0)
        throw new Error('a PNG kind KV390 does not write');
    } else if (type === 'IDAT') {
      data.push(body);
    } else if (type === 'IEND') {
      break;
    }
    at += 12 + length;
  }
  if (!width || !height) throw new Error('a PNG file without its header');
  const raw = await inflate(new Uint8Array(await new Blob(data).arrayBuffer()));
  const stride = width * channels;
  if (raw.length < (stride + 1) * height) throw new Error('a PNG file cut short');
  const out = new Uint8Array(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const row = y * (stride + 1) + 1;
    for (let x = 0; x < stride; ++x) {
      const left = x >= channels ? out[y * stride + x - channels] : 0;
      const up = y > 0 ? out[(y - 1) * stride + x] : 0;
      const corner = x >= channels && y > 0 ? out[(y - 1) * stride + x - channels] : 0;
      const predictor = [0, left, up, (left + up) >> 1, paeth(left, up, corner)][filter];
      if (predictor === undefined) throw new Error(`PNG filter ${filter} unknown`);
      out[y * stride + x] = (raw[row + x] + predictor) & 0xFF;
    }
  }
  const pixels = new Uint32Array(width * height);
  for (let i = 0; i < pixels.length; ++i) {
    const p = i * channels;
    pixels[i] = (out[p] << 16) | (out[p + 1] << 8) | out[p + 2];
  }
  return {width, height, pixels};
}
