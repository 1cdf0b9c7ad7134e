// Check in the playground, in chromium: exercises opened with
// ?exercise=NAME, programs pasted into the editor and checked in the page,
// with every test's verdict compared with kv390-grade's for the same
// sources graded natively (status and reason line, the pixel counts too: the
// page's KV390 draws exactly what the native one draws).
//
//   node tests/playground/check_test.js --site DIR --native BUILD [--chromium PATH]
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const {execFileSync} = require('child_process');
const {chromium} = require('playwright-core');
const server = require('../web/static_server');
const {waitUntil} = require('./browser_test');

const LIMIT_MS = 600000;  // a cold compiler and tests that run into their time limit

// Submissions per exercise: the solution, and wrong ones that fail in each
// of the ways a run can (picture, log, crash, timeout, no picture).
const SUBMISSIONS = {
  checkerboard: ['solution.c', 'wrong/stripes', 'wrong/rounds_towards_zero', 'wrong/no_bounds_check'],
  recursive_tree: ['wrong/no_base_case'],
  click_dots: ['wrong/ignores_quit'],
  traffic_light: ['wrong/no_begin'],
};

function options() {
  const args = process.argv.slice(2);
  const value = (name, fallback) => {
    const i = args.indexOf(name);
    return i >= 0 && i + 1 < args.length ? args[i + 1] : fallback;
  };
  if (!value('--site') || !value('--native')) {
    console.error('usage: check_test.js --site DIR --native BUILD [--chromium PATH]');
    process.exit(2);
  }
  return {site: path.resolve(value('--site')), native: path.resolve(value('--native')),
          chromium: value('--chromium', '/usr/bin/chromium'),
          source: path.resolve(__dirname, '..', '..')};
}

// A pkg-config prefix for the build tree, so that kv390-grade builds the
// submissions as students build them, against this tree's headless library.
function buildTreePrefix(opts, work) {
  const dir = path.join(work, 'prefix', 'lib', 'pkgconfig');
  fs.mkdirSync(dir, {recursive: true});
  const lib = (p) => path.join(opts.native, p);
  fs.writeFileSync(path.join(dir, 'kv390-headless.pc'), [
    'Name: kv390-headless', 'Description: KV390 of the build tree', 'Version: 0',
    `Cflags: -I${path.join(opts.source, 'library', 'include')}`,
    `Libs: ${lib('library/libkv390.a')} ${lib('platform/libkv390_headless.a')} -lfreetype -lpng -lstdc++ -lm`,
    ''].join('\n'));
  return path.join(work, 'prefix');
}

const sourcesOf = (dir) => fs.statSync(dir).isDirectory()
  ? fs.readdirSync(dir).filter((f) => /\.(c|cpp)$/.test(f)).map((f) => path.join(dir, f)) : [dir];

// kv390-grade's verdicts, per submission: [{name, passed, output}].
function nativeVerdicts(opts, work, prefix, exercise, submissions) {
  const dir = path.join(opts.source, 'exercises', exercise);
  const folders = submissions.map((s, i) => {
    const folder = path.join(work, exercise, `s${i}`);
    fs.mkdirSync(folder, {recursive: true});
    for (const file of sourcesOf(path.join(dir, s))) fs.copyFileSync(file, path.join(folder, path.basename(file)));
    return folder;
  });
  const out = path.join(work, exercise, 'grades');
  execFileSync(path.join(opts.native, 'tools', 'kv390-grade'),
               [path.join(dir, 'exercise.toml'), ...folders, '--out', out, '--no-sandbox',
                '--kv390', prefix, '--jobs', '1'], {stdio: ['ignore', 'ignore', 'inherit']});
  return folders.map((folder) => {
    const results = JSON.parse(fs.readFileSync(path.join(out, path.basename(folder), 'results.json'), 'utf8'));
    return results.tests.map((t) => ({name: t.name, passed: t.status === 'passed',
                                      output: String(t.output).split('\n')[0]}));
  });
}

async function pasteAndCheck(page, text) {
  await page.click('.cm-content');
  await page.keyboard.press('Control+a');
  await page.keyboard.insertText(text);
  await page.click('#check');
  await waitUntil('Check to start', () => page.evaluate(() =>
    window.kv390playground.check.checking || window.kv390playground.check.results.length > 0));
  await waitUntil('Check to end', () => page.evaluate(() => !window.kv390playground.check.checking),
                  LIMIT_MS);
  const results = await page.evaluate(() => window.kv390playground.check.results);
  if (results.length === 0)
    throw new Error(`no results: ${await page.textContent('#status')}`);
  return results;
}

// The pictures a test shows: their kinds and sizes, once loaded.
function picturesOf(page, name) {
  return page.evaluate((name) => {
    const section = Array.from(document.querySelectorAll('.check-test')).find((s) => s.dataset.name === name);
    if (!section) return null;
    return Array.from(section.querySelectorAll('[data-picture]')).map((e) => ({
      kind: e.dataset.picture,
      width: e.tagName === 'IMG' ? e.naturalWidth : e.width,
      height: e.tagName === 'IMG' ? e.naturalHeight : e.height,
    }));
  }, name);
}

async function checkExercise(t, exercise, submissions) {
  const dir = path.join(t.opts.source, 'exercises', exercise);
  const native = nativeVerdicts(t.opts, t.work, t.prefix, exercise, submissions);
  const page = await t.context.newPage();
  page.on('pageerror', (e) => t.problems.push(`page error: ${e.message}`));
  await page.goto(`${t.url}/playground/index.html?exercise=${exercise}`);
  await waitUntil('the task and the starter', () => page.evaluate(() => {
    const task = document.getElementById('exercise');
    return task && task.querySelector('h2') !== null && window.kv390playground.check !== undefined;
  }));
  const starter = fs.readFileSync(path.join(dir, 'starter.c'), 'utf8');
  const opened = await page.evaluate(() => window.kv390playground.files[0].text);
  if (opened !== starter) throw new Error(`${exercise}: the editor does not hold starter.c`);
  for (const [i, submission] of submissions.entries()) {
    const text = sourcesOf(path.join(dir, submission)).map((f) => fs.readFileSync(f, 'utf8')).join('\n');
    const got = await pasteAndCheck(page, text);
    const want = native[i];
    const what = `${exercise}/${submission}`;
    if (got.length !== want.length) throw new Error(`${what}: ${got.length} tests in the page, ${want.length} natively`);
    for (const [j, w] of want.entries()) {
      const g = got[j];
      if (g.name !== w.name || g.passed !== w.passed || g.output !== w.output)
        throw new Error(`${what}, "${w.name}": the page says "${g.output}", kv390-grade "${w.output}"`);
      const pictures = await picturesOf(page, w.name);
      // A failed picture test shows the expected picture, the student's and the differences.
      if (!w.passed && /^picture differs in \d/.test(w.output)) {
        const kinds = (pictures || []).filter((p) => p.width === 595 && p.height === 497).map((p) => p.kind);
        if (kinds.join() !== 'expected,yours,differences')
          throw new Error(`${what}, "${w.name}": pictures shown: ${JSON.stringify(pictures)}`);
      }
    }
    if (submission === 'solution.c' && !got.every((r) => r.passed))
      throw new Error(`${what}: the solution does not pass: ${JSON.stringify(got)}`);
    console.log(`ok   ${what}: ${got.map((r) => r.output).join('; ')}`);
  }
  // The student's text is kept per exercise: a reload brings back the last one pasted.
  await page.reload();
  await waitUntil('the page after a reload', () => page.evaluate(() =>
    window.kv390playground && window.kv390playground.files.length > 0));
  const last = sourcesOf(path.join(dir, submissions[submissions.length - 1]))
      .map((f) => fs.readFileSync(f, 'utf8')).join('\n');
  if (await page.evaluate(() => window.kv390playground.files[0].text) !== last)
    throw new Error(`${exercise}: the pasted text is not kept over a reload`);
  await page.close();
}

async function main() {
  const opts = options();
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'kv390-check-test-'));
  const site = await server.start(opts.site);
  const browser = await chromium.launch({
    executablePath: opts.chromium, headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  const context = await browser.newContext();
  const t = {opts, work, url: site.url, context, problems: [], prefix: buildTreePrefix(opts, work)};
  let failed = 0;
  for (const [exercise, submissions] of Object.entries(SUBMISSIONS)) {
    const start = Date.now();
    try {
      await checkExercise(t, exercise, submissions);
      console.log(`ok   ${exercise}: the page's verdicts equal kv390-grade's (${Date.now() - start} ms)`);
    } catch (error) {
      ++failed;
      console.log(`FAIL ${exercise}: ${error.message}`);
    }
  }
  if (t.problems.length) {
    ++failed;
    console.log(`FAIL no page errors: ${t.problems.join('; ')}`);
  }
  await browser.close();
  await site.close();
  fs.rmSync(work, {recursive: true, force: true});
  console.log(failed ? `${failed} check test(s) failed` : 'all check tests passed');
  process.exit(failed ? 1 : 0);
}

main().catch((error) => {
  console.error(`check_test: ${error.stack || error}`);
  process.exit(1);
});
