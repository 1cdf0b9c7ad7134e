// The exercises' files of the playground site (scripts/playground/exercise-site.sh):
//
//   node exercise-site.mjs --source REPO --native BUILD --out DIR
//
// For each REPO/exercises/<name>/exercise.toml: its tests as JSON (read by
// kv390-grade itself, so the playground checks what kv390-grade checks),
// its task and starter, and the reference's picture of each test, made by
// building the reference natively against BUILD's headless library and
// running it with kv390-run, with the test's input or script and time limit.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {execFileSync} from 'node:child_process';

let work = null;  // the scratch folder, removed on every way out

function fail(message) {
  if (work) fs.rmSync(work, {recursive: true, force: true});
  console.error(`exercise-site: ${message}`);
  process.exit(1);
}

function options() {
  const args = process.argv.slice(2);
  const value = (name) => {
    const i = args.indexOf(name);
    return i >= 0 && i + 1 < args.length ? path.resolve(args[i + 1]) : null;
  };
  const o = {source: value('--source'), native: value('--native'), out: value('--out')};
  if (!o.source || !o.native || !o.out) fail('usage: exercise-site.mjs --source REPO --native BUILD --out DIR');
  return o;
}

// The reference's sources: exercise.toml's reference (a file or a folder).
function referenceSources(dir) {
  const toml = fs.readFileSync(path.join(dir, 'exercise.toml'), 'utf8');
  const match = /^\s*reference\s*=\s*"([^"]+)"/m.exec(toml);
  const reference = path.resolve(dir, match ? match[1] : 'solution.c');
  if (!fs.existsSync(reference)) fail(`${dir}: no reference ${reference}`);
  if (!fs.statSync(reference).isDirectory()) return [reference];
  const sources = fs.readdirSync(reference).filter((f) => /\.(c|cpp)$/.test(f)).sort()
      .map((f) => path.join(reference, f));
  if (sources.length === 0) fail(`${reference}: no .c or .cpp file`);
  return sources;
}

function buildReference(o, sources, work) {
  const program = path.join(work, 'reference');
  const args = [];
  for (const s of sources) args.push(...(s.endsWith('.c') ? ['-x', 'c', '-std=c17'] : ['-x', 'c++', '-std=c++20']), s);
  const lib = (p) => path.join(o.native, p);
  execFileSync('g++', ['-O1', ...args, '-x', 'none', '-I', path.join(o.source, 'library', 'include'),
                       lib('library/libkv390.a'), lib('platform/libkv390_headless.a'),
                       '-lfreetype', '-lpng', '-lm', '-o', program], {stdio: ['ignore', 'inherit', 'inherit']});
  return program;
}

function exercisePage(o, name, dir, work) {
  const site = path.join(o.out, name);
  fs.mkdirSync(path.join(site, 'expected'), {recursive: true});
  const grade = path.join(o.native, 'tools', 'kv390-grade');
  execFileSync(grade, ['export-json', path.join(dir, 'exercise.toml'), path.join(site, 'exercise.json')],
               {stdio: ['ignore', 'inherit', 'inherit']});
  const exercise = JSON.parse(fs.readFileSync(path.join(site, 'exercise.json'), 'utf8'));
  for (const file of ['README.md', 'starter.c']) {
    if (!fs.existsSync(path.join(dir, file))) fail(`${dir}: no ${file}`);
    fs.copyFileSync(path.join(dir, file), path.join(site, file));
  }
  const program = buildReference(o, referenceSources(dir), work);
  for (const test of exercise.tests) {
    const args = ['--timeout', String(test.timeout),
                  '--out', path.join(site, 'expected', `${test.file_name}.png`)];
    if (test.input) {
      fs.writeFileSync(path.join(work, 'input'), test.input + '\n');
      args.push('--input', path.join(work, 'input'));
    }
    if (test.script !== null) {
      fs.writeFileSync(path.join(work, 'script.scr'), test.script);
      args.push('--script', path.join(work, 'script.scr'));
    }
    try {
      execFileSync(path.join(o.native, 'tools', 'kv390-run'), [...args, '--program', program],
                   {stdio: ['ignore', 'ignore', 'pipe']});
    } catch (error) {
      fail(`${name}: the reference fails test "${test.name}": ${String(error.stderr || error.message).trim()}`);
    }
  }
  return {name, title: exercise.title, tests: exercise.tests.length};
}

const o = options();
const all = path.join(o.source, 'exercises');
const names = fs.existsSync(all)
  ? fs.readdirSync(all).filter((n) => fs.existsSync(path.join(all, n, 'exercise.toml'))).sort() : [];
fs.mkdirSync(o.out, {recursive: true});
work = fs.mkdtempSync(path.join(os.tmpdir(), 'kv390-exercise-site-'));
try {
  const list = names.map((name) => exercisePage(o, name, path.join(all, name), work));
  fs.writeFileSync(path.join(o.out, 'index.json'), JSON.stringify({exercises: list}, null, 1) + '\n');
  console.error(`exercise-site: ${list.length} exercises`);
} catch (error) {
  fs.rmSync(work, {recursive: true, force: true});
  fail(String(error.message || error).split('\n')[0]);
} finally {
  fs.rmSync(work, {recursive: true, force: true});
}
