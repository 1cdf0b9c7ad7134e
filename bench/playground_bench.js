// Figures of the playground in Debian's chromium (not a test: it measures
// and prints, docs/PERFORMANCE.md keeps the figures).
//
//   node bench/playground_bench.js --site DIR --native BUILD [--chromium PATH]
//
// DIR holds playground/ (scripts/build-playground.sh DIR); BUILD is a native
// build tree with tools/kv390-render.  NODE_PATH must reach playwright-core
// (tests/playground/run.sh installs it).  Figures, each the best of three:
//   - the toolchain loaded, and warmed up (its first compile done), after
//     opening the page, the browser's cache warm;
//   - Run to the first picture of a 40-line C program, and of the weather
//     picture's sources, once warmed up (compile and link times included);
//     the weather picture also as the first program of a fresh page;
//   - scripts/demo.scr played back by the weather picture in the page
//     against the native kv390-render, and the time of a frame: the same
//     script with 1000 ticks more, less the first.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const {execFileSync} = require('child_process');
const {chromium} = require('playwright-core');
const server = require('../tests/web/static_server');
const t = require('../tests/playground/browser_test');

const ROUNDS = Number(process.env.KV390_BENCH_ROUNDS || 3);  // best of this many
const EXTRA_TICKS = 1000;
const source = path.resolve(__dirname, '..');

function option(name, fallback) {
  const args = process.argv.slice(2);
  const i = args.indexOf(name);
  return i >= 0 && i + 1 < args.length ? args[i + 1] : fallback;
}

// A 40-line C program: a grid of circles and a few lines of text.
const SMALL = `#include "kv390.h"
${Array.from({length: 8}, (_, i) => `/* a line of the program's comment, number ${i + 1} */`).join('\n')}

static void row(int y, int color) {
    int x;
    for (x = -250; x <= 250; x += 50) {
        KV390_circle(color, x, y, 20);
    }
}

static void caption(int y, const char* text) {
    KV390_text(BLACK, -280, y, 14, text);
}

int main(void) {
    int y;
    int x = 0, click_x = 0, click_y = 0;
    char key = 0;
    KV390_begin(0, 0, "", 5);
    KV390_set_logging(0);
    KV390_clear();
    for (y = -200; y <= 150; y += 50) {
        row(y, y < 0 ? BLUE : RED);
    }
    caption(220, "Circles in rows.");
    caption(200, "Click to end.");
    while (KV390_wait_event(&click_x, &click_y, &key) != KV390_QUIT) {
        x += click_x;
    }
    KV390_end();
    return x == 12345;
}
`;

const best = (values) => Math.min(...values);

async function main() {
  const site = path.resolve(option('--site')), native = path.resolve(option('--native'));
  const served = await server.start(site, {cache: true});
  const browser = await chromium.launch({
    executablePath: option('--chromium', '/usr/bin/chromium'), headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
           '--disable-background-networking', '--disable-component-update']});
  const context = await browser.newContext();
  const page = await context.newPage();
  const url = `${served.url}/playground/index.html?KV390_SEED=${t.SEED}&clock=paused`;
  const ready = async () => {
    await page.goto(url);
    // A page without a warm-up (an older site) is ready once loaded.
    await t.waitUntil('the toolchain', () => page.evaluate(() => {
      const p = window.kv390playground;
      return 'warmMs' in p ? p.warmMs !== null && p.compileHelpers !== null : p.toolchainMs !== null;
    }));
    return page.evaluate(() => ({loaded: window.kv390playground.toolchainMs,
                                 helpers: window.kv390playground.compileHelpers,
                                 warm: window.kv390playground.warmMs ?? window.kv390playground.toolchainMs}));
  };
  const cold = await ready();
  const warm = [];
  for (let i = 0; i < ROUNDS; ++i) warm.push(await ready());

  const runToPicture = async (files) => {
    await page.evaluate((files) => window.kv390playground.open(files), files);
    await page.evaluate(() => window.kv390playground.run());
    await t.waitWaiting(page);
    return page.evaluate(() => ({first: window.kv390playground.firstPictureMs,
                                 build: window.kv390playground.buildMs,
                                 compile: window.kv390playground.compileMs,
                                 link: window.kv390playground.linkMs}));
  };
  // The page keeps the objects of files it compiled: each round edits the
  // program (a comment in its header, or in its only file) so that every
  // file is compiled again.
  let edits = 0;
  const edited = (files) => {
    const target = files.find((f) => f.name.endsWith('.h')) || files[0];
    return files.map((f) => (f === target ? {...f, text: `${f.text}\n/* edit ${++edits} */\n`} : f));
  };
  const small = [];
  for (let i = 0; i < ROUNDS; ++i) small.push(await runToPicture(edited([{name: 'main.c', text: SMALL}])));
  const weatherFiles = JSON.parse(fs.readFileSync(path.join(site, 'playground/examples/index.json')))
      .examples.find((e) => e.files.length > 1).files.map((f) => ({
        name: path.basename(f), text: fs.readFileSync(path.join(site, 'playground/examples', f), 'utf8')}));
  // A program with several files, first in a fresh page (nothing compiled yet).
  const firstWeather = [];
  for (let i = 0; i < ROUNDS; ++i) {
    await ready();
    firstWeather.push(await runToPicture(weatherFiles));
  }
  // Playback: scripts/demo.scr, and the same followed by EXTRA_TICKS more
  // ticks of the animation; the difference between the two is the time of
  // EXTRA_TICKS frames, without what a playback costs once (the native
  // process's start and PNG, the page's messages and its Run menu).
  const demo = path.join(source, 'scripts', 'demo.scr');
  const longer = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'kv390-bench-')), 'long.scr');
  fs.writeFileSync(longer, `${fs.readFileSync(demo, 'utf8')}KV390_PERIODIC(${EXTRA_TICKS});\n`);
  const pagePlayback = async (script) => {
    await page.setInputFiles('#kv390-upload', script);
    await t.clickPicture(page, t.RUN_MENU);
    await t.waitWaiting(page);
    const start = Date.now();
    await t.clickPicture(page, t.PLAYBACK_ITEM);
    await t.waitWaiting(page);
    return Date.now() - start;
  };
  const nativePlayback = (script) => {
    const start = process.hrtime.bigint();
    execFileSync(path.join(native, 'tools', 'kv390-render'),
                 ['--script', script, '--seed', String(t.SEED), '--out', '/dev/null']);
    return Number(process.hrtime.bigint() - start) / 1e6;
  };
  const weather = [];
  const playback = {page: [], pageLong: [], native: [], nativeLong: []};
  for (let i = 0; i < ROUNDS; ++i) {
    weather.push(await runToPicture(edited(weatherFiles)));
    playback.page.push(await pagePlayback(demo));
    await runToPicture(weatherFiles);
    playback.pageLong.push(await pagePlayback(longer));
    playback.native.push(nativePlayback(demo));
    playback.nativeLong.push(nativePlayback(longer));
  }
  await browser.close();
  await served.close();

  const ms = (v) => `${Math.round(v)} ms`;
  // The round with the best first picture, with its build's parts.
  const run = (rounds) => {
    const r = rounds.reduce((a, b) => (b.first < a.first ? b : a));
    return `${ms(r.first)} (compile ${ms(r.compile)}, link ${ms(r.link)})`;
  };
  console.log(`toolchain loaded after opening the page: ${ms(best(warm.map((w) => w.loaded)))} ` +
              `warm cache (first visit ${ms(cold.loaded)}); warmed up (a first compile and link ` +
              `done) ${ms(best(warm.map((w) => w.warm)))} (first visit ${ms(cold.warm)}); ` +
              `${cold.helpers} compiler helper(s) beside the compiler's worker`);
  console.log(`40-line C program, Run to first picture: ${run(small)}`);
  console.log(`weather picture from its ${weatherFiles.length} files, Run to first picture: ` +
              `${run(weather)}`);
  console.log(`the same, the weather picture's first Run after opening the page: ${run(firstWeather)}`);
  const page1 = best(playback.page), native1 = best(playback.native);
  console.log(`scripts/demo.scr played by the weather picture: ${ms(page1)} in the page, ` +
              `${ms(native1)} native kv390-render (process start and PNG included), ` +
              `ratio ${(page1 / native1).toFixed(2)}`);
  const pageFrame = (best(playback.pageLong) - page1) / EXTRA_TICKS;
  const nativeFrame = (best(playback.nativeLong) - native1) / EXTRA_TICKS;
  console.log(`a frame of the weather picture (${EXTRA_TICKS} more ticks after scripts/demo.scr): ` +
              `${pageFrame.toFixed(3)} ms in the page, ${nativeFrame.toFixed(3)} ms native, ` +
              `ratio ${(pageFrame / nativeFrame).toFixed(2)}`);
}

main().catch((error) => {
  console.error(`playground_bench: ${error.stack || error}`);
  process.exit(1);
});
