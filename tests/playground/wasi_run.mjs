// Runs a KV390 program built for wasm32-wasip1 under node's WASI the way
// kv390-run runs a native one: headless, with a request file naming its
// timed input and its outputs, in a folder of its own (the program's "/",
// which also holds KV390.SCR when a script is played).
//
//   node wasi_run.mjs PROGRAM.wasm --out PICTURE.png [--input FILE]
//                     [--script FILE] [--seed N]
//
// Exits 0 when the program finished and its picture is written, 1 otherwise
// with one line saying why.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { WASI } from 'node:wasi';

const PLAYBACK_MENU_ITEM = 6;  // KV390_IDM_PLAYBACK, as kv390-run plays a script
const IDLE_LIMIT_MS = 1000;
const TIME_LIMIT_MS = 60000;

function fail(message) {
    console.error(`wasi_run: ${message}`);
    process.exit(1);
}

const argv = process.argv.slice(2);
const program = argv.shift();
const options = {};
while (argv.length) {
    const name = argv.shift();
    if (!['--out', '--input', '--script', '--seed'].includes(name) || !argv.length)
        fail(`bad option ${name}`);
    options[name.slice(2)] = argv.shift();
}
if (!program || !options.out) fail('usage: wasi_run.mjs PROGRAM.wasm --out PICTURE.png [--input FILE] [--script FILE] [--seed N]');

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'kv390-wasi-'));
try {
    let input = '';
    if (options.script) {
        fs.copyFileSync(options.script, path.join(work, 'KV390.SCR'));
        input += `at 0 menu ${PLAYBACK_MENU_ITEM}\n`;
    }
    if (options.input) input += fs.readFileSync(options.input, 'utf8') + '\n';
    const request = input.split('\n').filter((line) => line !== '').map((line) => `input ${line}\n`).join('') +
        `idle-limit ${IDLE_LIMIT_MS}\ntime-limit ${TIME_LIMIT_MS}\nreport /report\npicture /picture.png\n`;
    fs.writeFileSync(path.join(work, 'request'), request);

    const wasi = new WASI({
        version: 'preview1',
        args: [path.basename(program)],
        env: { KV390_BACKEND: 'headless', KV390_RUN: '/request', KV390_SEED: options.seed ?? '1' },
        preopens: { '/': work },
        returnOnExit: true,
    });
    const module = await WebAssembly.compile(fs.readFileSync(program));
    const instance = await WebAssembly.instantiate(module, wasi.getImportObject());
    const code = wasi.start(instance);
    const report = fs.existsSync(path.join(work, 'report')) ? fs.readFileSync(path.join(work, 'report'), 'utf8') : '';
    if (code !== 0) fail(`${program} exited with status ${code}; its report: ${report.trim().split('\n').pop() ?? ''}`);
    if (!/^finished /m.test(report)) fail(`${program} did not finish its outputs; its report: ${report.trim()}`);
    fs.copyFileSync(path.join(work, 'picture.png'), `${options.out}.tmp`);
    fs.renameSync(`${options.out}.tmp`, options.out);
} finally {
    fs.rmSync(work, { recursive: true, force: true });
}
