// The KV390 pages in a real browser (Debian's chromium, driven by
// playwright-core), served from 127.0.0.1.  The pictures are compared with
// the native headless build for the same input and seed.
//
//   node tests/web/browser_test.js --site DIR --native BUILD [--chromium PATH]
//
// DIR holds the page folders (scripts/build-web.sh DIR); BUILD is a native
// build tree with tools/kv390-render and examples/ask_name_headless.
'use strict';
const fs = require('fs');
const path = require('path');
const {execFileSync} = require('child_process');
const {runChecks} = require('./check_runner');
const {readPng} = require('./png');

const GRAPHICS = 'KV390 Graphics';
const CLIENT = {width: 595, height: 497};  // the graphics window's client area
const SEED = 1997;
const BLUE = 0x0000FF;
// Panel boxes and the sky, in client pixels.
const RAIN = {x: 38, y: 15}, BLUE_BOX = {x: 38, y: 195}, SKY = {x: 300, y: 60};
// The Run menu in the whole picture: its bar item and Playback Script below it.
const RUN_MENU = {x: 15, y: 9}, PLAYBACK_ITEM = {x: 40, y: 139};

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
  return {site, native: path.resolve(native), chromium: value('--chromium', '/usr/bin/chromium'),
          source: path.resolve(__dirname, '..', '..')};
}

const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// ------------------------------------------------------------ native side

function nativeWeatherPicture(opts, work, script, name) {
  const scriptFile = path.join(work, `${name}.scr`);
  const picture = path.join(work, `${name}.png`);
  fs.writeFileSync(scriptFile, script);
  execFileSync(path.join(opts.native, 'tools', 'kv390-render'),
               ['--script', scriptFile, '--seed', String(SEED), '--out', picture]);
  return readPng(picture);
}

// Runs a headless example with timed input (the harness's list format) and
// returns the graphics window's last picture.
function nativeExamplePicture(opts, work, program, input) {
  const dir = fs.mkdtempSync(path.join(work, `${program}-`));
  const picture = path.join(dir, 'last.png');
  const request = path.join(dir, 'run.request');
  fs.writeFileSync(request, input.split('\n').filter(Boolean).map((l) => `input ${l}\n`).join('') +
                                `idle-limit 1\npicture ${picture}\npalette 000000 ffffff\n`);
  execFileSync(path.join(opts.native, 'examples', `${program}_headless`), [],
               {cwd: dir, env: {...process.env, KV390_RENDER: request}});
  return readPng(picture);
}

// -------------------------------------------------------------- page side

// Whether the program waits with no input queued (the page's own state).
async function settled(page) {
  return page.evaluate(() => typeof kv390page !== 'undefined' && kv390page.wake !== null &&
                             kv390page.queue.length === 0);
}

async function waitUntil(what, test, limitMs = 60000) {
  const end = Date.now() + limitMs;
  while (Date.now() < end) {
    if (await test()) return;
    await sleep(20);
  }
  throw new Error(`timed out waiting for ${what}`);
}

async function waitSettled(page) {
  await waitUntil('the program to wait for input', () => settled(page));
}

// Waits until the program waits with no input queued and its picture stays
// the same over a second; returns that picture.
async function waitHalted(page) {
  let picture = null;
  await waitUntil('the picture to stay as it is after Ctrl+H', async () => {
    await waitSettled(page);
    const first = await graphicsClient(page);
    await sleep(1000);
    await waitSettled(page);
    picture = await graphicsClient(page);
    return differences(first, picture) === '';
  }, 60000);
  return picture;
}

async function canvases(page) {
  return page.evaluate(() => Array.from(document.querySelectorAll('canvas')).map((c) => ({
    title: c.title, width: c.width, height: c.height, shown: c.style.display !== 'none',
    floating: c.classList.contains('kv390-floating')})));
}

// A canvas's pixels as 0x00RRGGBB.
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

// The client area of the graphics window: the bottom of its canvas (a menu
// bar, when drawn, sits above it).
function clientOf(picture) {
  const top = picture.height - CLIENT.height;
  if (picture.width !== CLIENT.width || top < 0)
    throw new Error(`graphics canvas is ${picture.width} x ${picture.height}`);
  return {width: CLIENT.width, height: CLIENT.height,
          pixels: picture.pixels.subarray(top * CLIENT.width), top};
}

async function graphicsClient(page) {
  return clientOf(await canvasPixels(page, GRAPHICS));
}

function differences(a, b) {
  if (a.width !== b.width || a.height !== b.height)
    return `sizes differ: ${a.width} x ${a.height} and ${b.width} x ${b.height}`;
  let count = 0, first = -1;
  for (let i = 0; i < a.pixels.length; ++i) {
    if (a.pixels[i] !== b.pixels[i]) {
      if (first < 0) first = i;
      ++count;
    }
  }
  if (count === 0) return '';
  const x = first % a.width, y = Math.floor(first / a.width);
  return `${count} pixels differ, first at (${x}, ${y}): ` +
         `${a.pixels[first].toString(16)} vs ${b.pixels[first].toString(16)}`;
}

function expectSame(canvas, native, what) {
  const why = differences(canvas, native);
  if (why) throw new Error(`${what}: canvas and native picture differ: ${why}`);
}

async function clickClient(page, point) {
  const box = await page.locator(`canvas[title="${GRAPHICS}"]`).boundingBox();
  const picture = await canvasPixels(page, GRAPHICS);
  const top = picture.height - CLIENT.height;
  await page.mouse.click(box.x + point.x, box.y + top + point.y);
}

// A click at a position of the graphics window's whole picture (menu bar included).
async function clickPicture(page, point) {
  const box = await page.locator(`canvas[title="${GRAPHICS}"]`).boundingBox();
  await page.mouse.click(box.x + point.x, box.y + point.y);
}

function blueNear(client, point) {
  for (let y = point.y - 12; y <= point.y + 12; ++y)
    for (let x = point.x - 12; x <= point.x + 12; ++x)
      if (client.pixels[y * client.width + x] === BLUE) return true;
  return false;
}

// ------------------------------------------------------------ CPU figures

function processTable() {
  const table = new Map();
  for (const name of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(name)) continue;
    try {
      const stat = fs.readFileSync(`/proc/${name}/stat`, 'latin1');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      table.set(Number(name), {ppid: Number(fields[1]), ticks: Number(fields[11]) + Number(fields[12])});
    } catch (e) {
      // gone meanwhile
    }
  }
  return table;
}

function treeTicks(root) {
  const table = processTable();
  let ticks = 0;
  const pending = [root];
  while (pending.length) {
    const pid = pending.pop();
    const entry = table.get(pid);
    if (!entry) continue;
    ticks += entry.ticks;
    for (const [child, e] of table) if (e.ppid === pid) pending.push(child);
  }
  return ticks;
}

// CPU share (percent of one core) of the browser's processes over ms.
async function cpuShare(browserPid, ms) {
  const hz = 100;  // USER_HZ on Linux
  const before = treeTicks(browserPid);
  const start = Date.now();
  await sleep(ms);
  const used = (treeTicks(browserPid) - before) / hz;
  return 100 * used / ((Date.now() - start) / 1000);
}

// The browser this process started: its chromium child (the Debian launcher
// script execs the real binary).
function browserChild() {
  for (const [pid, entry] of processTable()) {
    if (entry.ppid !== process.pid) continue;
    try {
      if (/chromium/.test(fs.readFileSync(`/proc/${pid}/cmdline`, 'latin1').split('\0')[0])) return pid;
    } catch (e) {
      // gone meanwhile
    }
  }
  throw new Error('cannot find the browser process');
}

// ----------------------------------------------------------------- cases

async function weatherPage(t) {
  const page = await t.newPage({fakeClock: true});
  await page.goto(`${t.url}/weather/index.html?KV390_SEED=${SEED}`);
  await waitSettled(page);
  const first = await graphicsClient(page);
  expectSame(first, nativeWeatherPicture(t.opts, t.work, '', 'first'), 'first picture');

  await page.keyboard.press('Control+r');  // record everything from here on
  await page.keyboard.press('Control+h');
  await waitSettled(page);
  for (const point of [RAIN, BLUE_BOX, SKY]) {
    await clickClient(page, point);
    await waitSettled(page);
  }
  const drop = await graphicsClient(page);
  if (blueNear(first, SKY) || !blueNear(drop, SKY))
    throw new Error('no blue drop appeared where the sky was clicked');

  await page.clock.runFor(500);
  await waitSettled(page);
  if (differences(drop, await graphicsClient(page)) === '')
    ; // halted: nothing moves
  else
    throw new Error('the picture changed while halted');

  await page.keyboard.press('Control+a');
  await page.clock.runFor(1000);
  await waitSettled(page);
  const animated = await graphicsClient(page);
  if (differences(drop, animated) === '') throw new Error('Ctrl+A did not animate the picture');

  await page.keyboard.press('Control+r');  // stop recording
  await waitSettled(page);
  const [download] = await Promise.all([page.waitForEvent('download'),
                                        page.click('#kv390-download')]);
  if (download.suggestedFilename() !== 'KV390.SCR')
    throw new Error(`download named ${download.suggestedFilename()}`);
  const recorded = path.join(t.work, 'recorded.scr');
  await download.saveAs(recorded);
  const script = fs.readFileSync(recorded, 'latin1');
  if (!/KV390_MOUSE\(3, 188\);/.test(script) || !/KV390_PERIODIC\(\d+\);/.test(script))
    throw new Error(`the recorded script lacks the click or the ticks:\n${script}`);
  expectSame(animated, nativeWeatherPicture(t.opts, t.work, script, 'recorded'),
             'picture after the recorded input');

  await page.keyboard.press('Control+q');
  await waitUntil('the end of the program', async () =>
    /The program has ended\./.test(await page.textContent('#kv390-status')));
}

// A script chosen with the page's file chooser plays back (Run, Playback
// Script, in the drawn menu bar) to the same picture as the native playback
// of the same file.
async function uploadedPlayback(t) {
  const page = await t.newPage({fakeClock: true});
  await page.goto(`${t.url}/weather/index.html?KV390_SEED=${SEED}`);
  await waitSettled(page);
  const demo = path.join(t.opts.source, 'scripts', 'demo.scr');
  await page.setInputFiles('#kv390-upload', demo);
  await waitUntil('the upload', async () =>
    /Loaded demo\.scr as KV390\.SCR/.test(await page.textContent('#kv390-status')));
  // The playback hands out the script's events without waiting for the clock
  // (which stands still), so the program waits again only at its end.
  const before = await canvasPixels(page, GRAPHICS);
  await clickPicture(page, RUN_MENU);
  await waitSettled(page);
  if (differences(before, await canvasPixels(page, GRAPHICS)) === '')
    throw new Error('a click on Run did not open the drop-down');
  await clickPicture(page, PLAYBACK_ITEM);
  await waitSettled(page);
  expectSame(await graphicsClient(page),
             nativeWeatherPicture(t.opts, t.work, fs.readFileSync(demo, 'latin1'), 'demo'),
             'played-back scripts/demo.scr');
}

async function askNamePage(t) {
  const page = await t.newPage({});
  await page.goto(`${t.url}/ask_name/index.html`);
  await waitUntil('the line-input dialog', async () =>
    (await canvases(page)).some((c) => c.title === 'KV390_gets' && c.shown && c.floating &&
                                       c.width > 0));
  await waitSettled(page);
  await page.keyboard.type('Ada');
  await page.keyboard.press('Enter');
  await waitUntil('the dialog to close', async () =>
    !(await canvases(page)).some((c) => c.title === 'KV390_gets' && c.shown));
  await waitSettled(page);
  expectSame(await graphicsClient(page),
             nativeExamplePicture(t.opts, t.work, 'ask_name', 'at 0 type Ada\\n'),
             'greeting');
}

// Every page of the site starts and shows its graphics window.
async function everyPageStarts(t) {
  const names = fs.readdirSync(t.opts.site).filter((n) =>
    fs.existsSync(path.join(t.opts.site, n, 'index.html')));
  if (names.length === 0) throw new Error(`no pages in ${t.opts.site}`);
  for (const name of names) {
    const page = await t.newPage({});
    await page.goto(`${t.url}/${name}/index.html`);
    await waitUntil(`${name} to show its graphics window`, async () =>
      (await canvases(page)).some((c) => c.title === GRAPHICS && c.shown && c.width > 0));
  }
  t.note(`pages started: ${names.join(', ')}`);
}

async function idleCpu(t) {
  const page = await t.newPage({});
  await page.goto(`${t.url}/weather/index.html`);
  await waitSettled(page);
  for (const point of [RAIN, BLUE_BOX, SKY]) await clickClient(page, point);  // a falling drop
  await page.keyboard.press('Control+a');
  // Animating once the picture moves.
  const started = await graphicsClient(page);
  await waitUntil('the picture to move after Ctrl+A', async () =>
    differences(started, await graphicsClient(page)) !== '');
  const before = await graphicsClient(page);
  const animating = await cpuShare(t.browserPid, 4000);
  const start = Date.now();
  await page.evaluate(() => document.title);
  const latency = Date.now() - start;
  const after = await graphicsClient(page);
  if (differences(before, after) === '') throw new Error('the picture did not move while animating');
  await page.keyboard.press('Control+h');
  // Halted once the key is taken and the tick it may have left pending has
  // come: the program waits with no input and its picture stays as it is
  // for a second (ten ticks) of the program's own waiting.
  const halted = await waitHalted(page);
  const share = await cpuShare(t.browserPid, 5000);
  if (differences(halted, await graphicsClient(page)) !== '')
    throw new Error('the picture moved while halted');
  t.note(`CPU of the browser's processes: ${share.toFixed(1)} % of a core while halted, ` +
         `${animating.toFixed(1)} % while animating; the page answered in ${latency} ms ` +
         'while animating');
  // How fast it answers depends on the machine; a page that never gives the
  // browser control would not answer at all.
  if (latency > 20000) throw new Error(`the page took ${latency} ms to answer while animating`);
  if (share > 5) throw new Error(`the halted page uses ${share.toFixed(1)} % of a core`);
}

const CASES = [
  ['weather page: first picture, Rain + Blue + sky draw the blue drop, halted stays, ' +
   'Ctrl+A animates, recorded script downloads and its native picture equals the canvas, ' +
   'Ctrl+Q ends it',
   weatherPage],
  ['weather page: an uploaded script plays back (Run menu, Playback Script) to the native ' +
   'picture', uploadedPlayback],
  ['ask_name page: KV390_gets answered by typing, greeting equals the native picture', askNamePage],
  ['every page of the site starts and shows its graphics window', everyPageStarts],
  ['weather page in real time: moves while animating, answers at once, idles while halted',
   idleCpu],
];

async function main() {
  const opts = options();
  await runChecks({
    siteDir: opts.site, executablePath: opts.chromium, cases: CASES, label: 'browser',
    prepare: (t) => Object.assign(t, {opts, browserPid: browserChild(),
                                      note: (text) => console.log(`  ${text}`)}),
    // Each page in a context of its own: a context's clock is shared by its pages.
    preparePage: async (page, {fakeClock}) => {
      if (fakeClock) {
        await page.clock.install({time: 0});
        await page.clock.pauseAt(1000);
      }
    },
  });
}

main().catch((error) => {
  console.error(`browser_test: ${error.stack || error}`);
  process.exit(1);
});
