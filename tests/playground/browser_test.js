// The KV390 playground in a real browser (Debian's chromium, driven by
// playwright-core), served from 127.0.0.1: programs typed, linked or shared
// are compiled and run in the page, and their pictures are compared with the
// native headless build of the same program.
//
//   node tests/playground/browser_test.js --site DIR --native BUILD [--chromium PATH]
//
// DIR holds playground/ (scripts/build-playground.sh DIR); BUILD is a native
// build tree with tools/kv390-run, tools/kv390-render and the KV390 archives.
'use strict';
const fs = require('fs');
const path = require('path');
const {execFileSync} = require('child_process');
const {runChecks} = require('../web/check_runner');
const {readPng} = require('../web/png');

const GRAPHICS = 'KV390 Graphics';
const CLIENT = {width: 595, height: 497};
const SEED = 1997;
// The Run menu in the graphics window's whole picture, and Playback Script in it.
const RUN_MENU = {x: 15, y: 9}, PLAYBACK_ITEM = {x: 40, y: 139};
const LIMIT_MS = 180000;  // a build in a busy machine's first, cold compiler

function options() {
  const args = process.argv.slice(2);
  const value = (name, fallback) => {
    const i = args.indexOf(name);
    return i >= 0 && i + 1 < args.length ? args[i + 1] : fallback;
  };
  const site = value('--site'), native = value('--native');
  if (!site || !native) {
    console.error('usage: browser_test.js --site DIR --native BUILD [--chromium PATH]');
    process.exit(2);
  }
  return {site: path.resolve(site), native: path.resolve(native),
          chromium: value('--chromium', '/usr/bin/chromium'),
          source: path.resolve(__dirname, '..', '..')};
}

const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

async function waitUntil(what, test, limitMs = LIMIT_MS) {
  const end = Date.now() + limitMs;
  while (Date.now() < end) {
    if (await test()) return;
    await sleep(25);
  }
  throw new Error(`timed out waiting for ${what}`);
}

// ------------------------------------------------------------ native side

// The hello program of docs/GETTING-STARTED.md, as a student copies it.
function helloSource(opts) {
  const guide = fs.readFileSync(path.join(opts.source, 'docs', 'GETTING-STARTED.md'), 'utf8');
  const block = /```c\n(#include "kv390\.h"[\s\S]*?)```/.exec(guide);
  if (!block) throw new Error('no hello program in docs/GETTING-STARTED.md');
  return block[1];
}

// Builds a C or C++ source natively against the build tree's headless
// library and returns kv390-run's picture of it (timed input optional).
function nativePicture(opts, work, name, source, input) {
  const dir = fs.mkdtempSync(path.join(work, `${name}-`));
  const file = path.join(dir, name);
  fs.writeFileSync(file, source);
  const program = path.join(dir, 'program');
  const lib = (p) => path.join(opts.native, p);
  const cxx = name.endsWith('.c') ? ['-x', 'c', '-std=c17'] : ['-std=c++20'];
  execFileSync('g++', [...cxx, file, '-x', 'none', '-I', path.join(opts.source, 'library', 'include'),
                       lib('library/libkv390.a'), lib('platform/libkv390_headless.a'),
                       '-lfreetype', '-lpng', '-lm', '-o', program]);
  const picture = path.join(dir, 'native.png');
  const args = ['--out', picture];
  if (input) {
    fs.writeFileSync(path.join(dir, 'input'), input);
    args.push('--input', path.join(dir, 'input'));
  }
  execFileSync(lib('tools/kv390-run'), [...args, '--program', program], {cwd: dir});  // its arguments last
  return readPng(picture);
}

function nativeWeather(opts, work) {
  const picture = path.join(work, 'weather-demo.png');
  execFileSync(path.join(opts.native, 'tools', 'kv390-render'),
               ['--script', path.join(opts.source, 'scripts', 'demo.scr'), '--seed', String(SEED),
                '--out', picture]);
  return readPng(picture);
}

// -------------------------------------------------------------- page side

const state = (page) => page.evaluate(() => {
  const p = window.kv390playground;
  return {running: p.running, building: p.building, waiting: p.waiting,
          status: document.getElementById('status').textContent};
});

// The program runs and waits for the page, with nothing on its way to it.
async function waitWaiting(page) {
  await waitUntil('the program to wait for input', async () => {
    const s = await state(page);
    if (!s.running && !s.building && /stopped|not built|failed|ended/.test(s.status))
      throw new Error(`the program is not running: ${s.status}`);
    return s.running && s.waiting;
  });
}

async function canvasPixels(page, title) {
  const encoded = await page.evaluate((title) => {
    const canvas = Array.from(document.querySelectorAll('canvas')).find((c) => c.title === title);
    if (!canvas || canvas.width === 0) return null;
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let text = '';
    for (let i = 0; i < data.length; i += 0x8000)
      text += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
    return {width: canvas.width, height: canvas.height, rgba: btoa(text)};
  }, title);
  if (!encoded) throw new Error(`no canvas "${title}"`);
  const rgba = Buffer.from(encoded.rgba, 'base64');
  const pixels = new Uint32Array(encoded.width * encoded.height);
  for (let i = 0; i < pixels.length; ++i)
    pixels[i] = (rgba[4 * i] << 16) | (rgba[4 * i + 1] << 8) | rgba[4 * i + 2];
  return {width: encoded.width, height: encoded.height, pixels};
}

// The graphics window's client area: the bottom of its canvas.
async function graphicsClient(page) {
  const picture = await canvasPixels(page, GRAPHICS);
  const top = picture.height - CLIENT.height;
  if (picture.width !== CLIENT.width || top < 0)
    throw new Error(`graphics canvas is ${picture.width} x ${picture.height}`);
  return {width: CLIENT.width, height: CLIENT.height, top,
          pixels: picture.pixels.subarray(top * CLIENT.width)};
}

function expectSame(canvas, native, what) {
  if (canvas.width !== native.width || canvas.height !== native.height)
    throw new Error(`${what}: sizes differ`);
  let count = 0, first = -1;
  for (let i = 0; i < canvas.pixels.length; ++i) {
    if (canvas.pixels[i] !== native.pixels[i]) {
      if (first < 0) first = i;
      ++count;
    }
  }
  if (count > 0) {
    throw new Error(`${what}: ${count} pixels differ from the native picture, first at ` +
                    `(${first % canvas.width}, ${Math.floor(first / canvas.width)})`);
  }
}

// A click in the middle of the screen pixel that shows a pixel of the
// graphics window's whole picture.  The page's layout puts the canvas at a
// fraction of a pixel; the browser paints it from the nearest whole one.
async function clickPicture(page, point) {
  const canvas = page.locator(`canvas[title="${GRAPHICS}"]`);
  await canvas.scrollIntoViewIfNeeded();
  const box = await canvas.boundingBox();
  await page.mouse.click(Math.round(box.x) + point.x + 0.5, Math.round(box.y) + point.y + 0.5);
}

// A click at drawing point (x, y): client pixel (297 + x, 248 - y).
async function clickDrawing(page, x, y) {
  const {top} = await graphicsClient(page);
  await clickPicture(page, {x: 297 + x, y: top + 248 - y});
}

// Replaces the editor's text as a student's paste does, then Ctrl+Enter.
async function typeAndRun(page, source) {
  await page.click('.cm-content');
  await page.keyboard.press('Control+a');
  await page.keyboard.insertText(source);
  await page.keyboard.press('Control+Enter');
}

async function editorText(page) {
  return page.evaluate(() => window.kv390playground.files[0].text);
}

// ----------------------------------------------------------------- cases

const CLICK_PROGRAM = `#include <stdio.h>
#include "kv390.h"

int main(void) {
    int x = 0, y = 0;
    char key = 0;
    KV390_begin(0, 0, "", 5);
    while (KV390_wait_event(&x, &y, &key) != KV390_MOUSE) {
    }
    printf("clicked %d %d\\n", x, y);
    KV390_circle(RED, x, y, 20);
    while (KV390_wait_event(&x, &y, &key) != KV390_QUIT) {
    }
    KV390_end();
    return 0;
}
`;

async function typedProgramAndClick(t) {
  const page = await t.newPage();
  await page.goto(`${t.url}/playground/index.html`);
  await typeAndRun(page, CLICK_PROGRAM);
  await waitWaiting(page);
  await clickDrawing(page, 120, -75);
  await waitUntil('the click to reach KV390_wait_event',
                  async () => t.console.includes('clicked 120 -75'));
  await waitWaiting(page);
  expectSame(await graphicsClient(page),
             nativePicture(t.opts, t.work, 'click.c', CLICK_PROGRAM, 'at 100 click 417 323\n'),
             'picture after the click');
  if (await editorText(page) !== CLICK_PROGRAM) throw new Error('the editor holds other text');
  await page.reload();  // the text is kept in the browser
  if (await editorText(page) !== CLICK_PROGRAM) throw new Error('the text was lost on reload');
}

async function helloByLink(t) {
  const hello = helloSource(t.opts);
  fs.writeFileSync(path.join(t.opts.site, 'hello.c'), hello);
  const page = await t.newPage();
  await page.goto(`${t.url}/playground/index.html?file=../hello.c&run`);
  await waitWaiting(page);
  expectSame(await graphicsClient(page), nativePicture(t.opts, t.work, 'hello.c', hello),
             'hello of docs/GETTING-STARTED.md');
}

// Each failing program: where the first error is, and what the status says.
const FAILURES = [
  {name: 'a missing semicolon at line 5', line: 5, status: /1 error/,
   source: '#include "kv390.h"\n\nint main(void) {\n    KV390_begin(0, 0, "", 5);\n    return 0\n}\n'},
  {name: 'an unknown function at line 4', line: 4, status: /error/,
   source: '#include "kv390.h"\n\nint main(void) {\n    KV390_circel(RED, 0, 0, 5);\n    return 0;\n}\n'},
  {name: 'a C++ exception', line: 4, status: /cannot use.*exceptions|exceptions.*cannot/,
   file: 'main.cpp',
   source: '#include "kv390.h"\n\nint main() {\n    throw 1;\n}\n'},
];

async function compileErrors(t) {
  const page = await t.newPage();
  await page.goto(`${t.url}/playground/index.html`);
  for (const f of FAILURES) {
    await page.evaluate(({name, source}) => window.kv390playground.open([{name, text: source}]),
                        {name: f.file || 'main.c', source: f.source});
    await page.click('#run');
    await waitUntil(`the compiler's verdict on ${f.name}`, async () => !(await state(page)).building &&
                    /not built|cannot use/.test((await state(page)).status));
    const s = await state(page);
    if (!f.status.test(s.status)) throw new Error(`${f.name}: the status says "${s.status}"`);
    const listed = await page.$$eval('#diagnostics li.error', (items) => items.map((i) => i.dataset.line));
    if (listed[0] !== String(f.line)) {
      throw new Error(`${f.name}: errors listed at lines ${listed.join(', ') || 'none'}`);
    }
    const marked = await page.$$eval('.cm-lintRange-error', (m) => m.length);
    if (marked === 0) throw new Error(`${f.name}: no error marked in the editor`);
  }
}

const GETS_PROGRAM = `#include <stdio.h>
#include "kv390.h"

int main(void) {
    char name[40] = "";
    KV390_begin(0, 0, "", 5);
    KV390_gets_n("Your name?", name, sizeof name);
    printf("name=%s\\n", name);
    KV390_textf(BLACK, -200, 0, 24, "Hi %s", name);
    while (KV390_wait_event(0, 0, 0) != KV390_QUIT) {
    }
    KV390_end();
    return 0;
}
`;

async function getsByTyping(t) {
  const page = await t.newPage();
  await page.goto(`${t.url}/playground/index.html`);
  await typeAndRun(page, GETS_PROGRAM);
  await waitUntil('the line-input dialog', async () => page.evaluate(() =>
    Array.from(document.querySelectorAll('canvas')).some((c) => c.title === 'KV390_gets' &&
        c.style.display !== 'none' && c.width > 0)));
  await waitWaiting(page);
  await page.locator('canvas[title="KV390_gets"]').focus();
  await page.keyboard.type('Ada');
  await page.keyboard.press('Enter');
  await waitUntil('the typed line', async () => t.console.includes('name=Ada'));
}

const CXX_PROGRAM = `#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>
#include "kv390.h"

int main() {
    std::vector<std::string> words{"pear", "apple", "fig"};
    std::sort(words.begin(), words.end());
    std::string line;
    for (const auto& w : words) line += w + " ";
    std::printf("sorted: %s\\n", line.c_str());
    KV390_begin(nullptr, nullptr, "", 5);
    KV390_text(BLACK, -200, 0, 20, line.c_str());
    while (KV390_wait_event(nullptr, nullptr, nullptr) != KV390_QUIT) {
    }
    KV390_end();
    return 0;
}
`;

async function cxxStandardLibrary(t) {
  const page = await t.newPage();
  await page.goto(`${t.url}/playground/index.html`);
  await page.evaluate((text) => window.kv390playground.open([{name: 'main.cpp', text}]), CXX_PROGRAM);
  await page.click('#run');
  await waitUntil('the sorted words', async () => t.console.includes('sorted: apple fig pear '));
  await waitWaiting(page);
  expectSame(await graphicsClient(page), nativePicture(t.opts, t.work, 'words.cpp', CXX_PROGRAM),
             'C++ program');
  // std::sqrt reaches this file only through libc++'s compatibility includes,
  // which the page's first compile leaves out: the second compile has them.
  await page.evaluate((text) => window.kv390playground.open([{name: 'root.cpp', text}]),
                      `#include <iostream>
#include "kv390.h"
int main() {
    std::cout << "root: " << std::sqrt(16.0) << std::endl;
    KV390_begin(nullptr, nullptr, "", 5);
    while (KV390_wait_event(nullptr, nullptr, nullptr) != KV390_QUIT) {
    }
    return KV390_end();
}
`);
  await page.click('#run');
  await waitUntil('the square root', async () => t.console.includes('root: 4'));
}

const ENDLESS = `#include "kv390.h"

int main(void) {
    volatile unsigned n = 0;
    KV390_begin(0, 0, "", 5);
    for (;;) ++n;
}
`;

async function endlessLoopStopped(t) {
  const page = await t.newPage();
  await page.goto(`${t.url}/playground/index.html`);
  await typeAndRun(page, ENDLESS);
  await waitUntil('the endless loop to run', async () => (await state(page)).status === 'Running.');
  // The page keeps answering while the program computes.
  await page.evaluate(() => document.title);
  await page.click('#stop');
  await waitUntil('Stop', async () => {
    const s = await state(page);
    return !s.running && s.status === 'Stopped.';
  });
  await typeAndRun(page, ENDLESS.replace('for (;;) ++n;', 'while (n < 1000) ++n;\n' +
      '    KV390_circle(GREEN, 0, 0, 50);\n    while (KV390_wait_event(0, 0, 0) != KV390_QUIT) {\n    }\n' +
      '    KV390_end();\n    return 0;'));
  const edited = await editorText(page);
  await waitWaiting(page);
  expectSame(await graphicsClient(page), nativePicture(t.opts, t.work, 'edited.c', edited),
             'the edited program');
}

async function shareLink(t) {
  const page = await t.newPage();
  await page.goto(`${t.url}/playground/index.html`);
  await page.evaluate((text) => window.kv390playground.open([{name: 'main.cpp', text}]), CXX_PROGRAM);
  await page.click('#share');
  await waitUntil('the share link', async () => (await page.inputValue('#share-link')) !== '');
  const link = await page.inputValue('#share-link');
  if (link.includes('apple')) throw new Error('the shared source is not compressed');
  const other = await t.newPage();  // a fresh browser profile
  await other.goto(link);
  await waitUntil('the shared program', async () => (await editorText(other)) === CXX_PROGRAM, 20000);
}

async function weatherFromSource(t) {
  const page = await t.newPage();
  await page.goto(`${t.url}/playground/index.html?KV390_SEED=${SEED}&clock=paused`);
  await waitUntil('the examples', async () =>
    (await page.$$eval('#examples option', (o) => o.map((x) => x.textContent))).some((x) => /weather/i.test(x)));
  const value = await page.$eval('#examples', (select) =>
    Array.from(select.options).find((o) => /weather/i.test(o.textContent)).value);
  await page.selectOption('#examples', value);
  await waitUntil('the weather sources', async () => page.evaluate(() =>
    window.kv390playground.files.length > 5));
  await page.click('#run');
  await waitWaiting(page);
  await page.setInputFiles('#kv390-upload', path.join(t.opts.source, 'scripts', 'demo.scr'));
  await clickPicture(page, RUN_MENU);
  await waitWaiting(page);
  await clickPicture(page, PLAYBACK_ITEM);
  await waitWaiting(page);
  expectSame(await graphicsClient(page), nativeWeather(t.opts, t.work),
             'weather from source with scripts/demo.scr');
}

const CASES = [
  ['a typed C program runs (Ctrl+Enter), a click reaches KV390_wait_event at its drawing ' +
   'point, the picture equals the native one, the text survives a reload', typedProgramAndClick],
  ['hello of docs/GETTING-STARTED.md opened with ?file=...&run equals kv390-run --out',
   helloByLink],
  ['compile errors listed at their line and marked in the editor; exceptions get one message',
   compileErrors],
  ['KV390_gets answered by typing in the line-input dialog', getsByTyping],
  ['a C++ program with the standard library', cxxStandardLibrary],
  ['an endless loop is stopped, edited and run again without a reload', endlessLoopStopped],
  ['a Share link restores the source in a fresh browser', shareLink],
  ['the weather picture from its sources, seed 1997, plays scripts/demo.scr to the native picture',
   weatherFromSource],
];

async function main() {
  const opts = options();
  const only = process.env.KV390_PLAYGROUND_CASES;  // a comma-separated selection, by number
  await runChecks({
    siteDir: opts.site, executablePath: opts.chromium, cases: CASES, label: 'playground',
    only: only ? only.split(',').map(Number) : null,
    prepare: (t) => Object.assign(t, {opts}),
    beforeEach: (t) => { t.console = ''; },
    // The programs print to the console; the checks read what they printed.
    preparePage: async (page, options, t) => page.on('console', (m) => {
      if (m.type() !== 'error') t.console += m.text() + '\n';
    }),
  });
}

if (require.main === module) {
  main().catch((error) => {
    console.error(`browser_test: ${error.stack || error}`);
    process.exit(1);
  });
}

module.exports = {waitUntil, waitWaiting, state, clickPicture, graphicsClient, helloSource, SEED,
                  RUN_MENU, PLAYBACK_ITEM};
