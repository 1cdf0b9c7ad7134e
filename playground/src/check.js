// Exercises in the playground: ?exercise=NAME shows the exercise's task
// beside the editor, loads its starter (unless the student has a text of
// their own for it) and adds Check, which builds the program for the
// headless backend and runs each of the exercise's tests in a worker, as
// kv390-grade runs them natively, showing per test the verdict, the
// expected picture, the student's picture and the differences.
//
// The site holds, per exercise (scripts/playground/exercise-site.sh):
// exercises/NAME/exercise.json (the tests), README.md (the task),
// starter.c, and expected/TEST.png (the solution's pictures, made natively).
import {runReason, checkFailures, decodePng} from './check_verdict.js';

const NAME = /^[A-Za-z0-9_-]+$/;
const $ = (id) => document.getElementById(id);

export function exerciseName() {
  const name = new URLSearchParams(location.search).get('exercise');
  return name && NAME.test(name) ? name : null;
}

// Each exercise keeps the student's text under its own name.
export function storageKey(base) {
  const name = exerciseName();
  return name ? `${base}:exercise:${name}` : base;
}

const folder = () => `exercises/${exerciseName()}`;

async function fetchOk(url) {
  const response = await fetch(url);
  if (!response.ok) throw new Error(`Cannot open ${url} (${response.status} ${response.statusText}).`);
  return response;
}

// The student's kept text for this exercise, or its starter.
export async function exerciseProject(stored) {
  if (stored) return stored;
  const text = await (await fetchOk(`${folder()}/starter.c`)).text();
  return {files: [{name: `${exerciseName()}.c`, text}]};
}

// ------------------------------------------------------------ the task

// Enough Markdown for a task: headings, paragraphs, lists, code blocks,
// `code`, **bold** and *italics*.  Text is escaped before it is marked up.
const escape = (text) => text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');

function inline(text) {
  return text.split(/(`[^`]+`)/).map((part) => {
    if (/^`[^`]+`$/.test(part)) return `<code>${escape(part.slice(1, -1))}</code>`;
    return escape(part).replace(/\*\*([^*]+)\*\*/g, '<strong>$1</strong>')
        .replace(/(^|[^*])\*([^*\s][^*]*)\*/g, '$1<em>$2</em>');
  }).join('');
}

export function markdownToHtml(markdown) {
  const html = [];
  let paragraph = [], list = null, code = null;
  const flush = () => {
    if (paragraph.length) html.push(`<p>${inline(paragraph.join(' '))}</p>`);
    paragraph = [];
    if (list) html.push(`<ul>${list.map((item) => `<li>${inline(item)}</li>`).join('')}</ul>`);
    list = null;
  };
  for (const line of markdown.split('\n')) {
    if (code !== null) {
      if (/^```/.test(line)) {
        html.push(`<pre><code>${escape(code.join('\n'))}</code></pre>`);
        code = null;
      } else {
        code.push(line);
      }
      continue;
    }
    const heading = /^(#{1,4})\s+(.*)$/.exec(line);
    const item = /^\s*[-*]\s+(.*)$/.exec(line);
    if (/^```/.test(line)) {
      flush();
      code = [];
    } else if (heading) {
      flush();
      const level = Math.min(4, heading[1].length + 1);
      html.push(`<h${level}>${inline(heading[2])}</h${level}>`);
    } else if (item) {
      if (paragraph.length) flush();
      list = list || [];
      list.push(item[1]);
    } else if (line.trim() === '') {
      flush();
    } else if (list && /^\s+/.test(line)) {
      list[list.length - 1] += ' ' + line.trim();
    } else {
      if (list) flush();
      paragraph.push(line.trim());
    }
  }
  flush();
  return html.join('\n');
}

const STYLE = `
#exercise { flex: 1 1 360px; max-width: 560px; background: #fff; border: 1px solid #808080;
            padding: 0 12px; max-height: 80vh; overflow: auto; }
#exercise pre { background: #f0f0f0; padding: 4px; overflow: auto; }
#check-results { flex: 1 1 100%; }
.check-summary { font-weight: bold; }
.check-test { background: #fff; border: 1px solid #808080; margin: 6px 0; padding: 4px 8px; }
.check-test[data-passed="true"] h3 { color: #006000; }
.check-test[data-passed="false"] h3 { color: #a00000; }
.check-test h3 { margin: 4px 0; font-size: 15px; }
.check-reason { font-family: monospace; margin: 2px 0; }
.check-pictures { display: flex; gap: 8px; flex-wrap: wrap; }
.check-pictures figure { margin: 0; }
.check-pictures figcaption { font-size: 12px; }
.check-pictures img, .check-pictures canvas { width: 298px; border: 1px solid #808080;
                                               image-rendering: pixelated; cursor: zoom-in; }
.check-pictures .full { width: 595px; cursor: zoom-out; }
`;

// ------------------------------------------------------------ Check

let exercise = null;  // exercise.json, once loaded
let hooks = null;     // the page's: build, compilerReady, files, status, busy
let checking = false;
const results = [];   // the last check's per test {name, passed, output, details}

function runTest(module, test) {
  return new Promise((resolve) => {
    const worker = new Worker('check_worker.js', {type: 'module'});
    let timer = 0;
    const end = (outcome) => {
      clearTimeout(timer);
      worker.terminate();
      resolve(outcome);
    };
    worker.onmessage = (event) => {
      const m = event.data;
      // The wall clock counts from the program's start, as kv390-run's does.
      if (m.type === 'started') timer = setTimeout(() => end({wallTimeout: true}), test.timeout * 1000);
      else if (m.type === 'done') end(m);
      else if (m.type === 'failed') end({failed: m.message});
    };
    worker.onerror = (event) => {
      event.preventDefault();
      end({failed: event.message || 'the test could not start'});
    };
    worker.postMessage({type: 'run', module, test});
  });
}

const expectedPictures = new Map();  // file_name -> {picture, url}

async function expectedPicture(test) {
  if (!expectedPictures.has(test.file_name)) {
    const url = `${folder()}/expected/${encodeURIComponent(test.file_name)}.png`;
    const bytes = new Uint8Array(await (await fetchOk(url)).arrayBuffer());
    expectedPictures.set(test.file_name, {picture: await decodePng(bytes), url});
  }
  return expectedPictures.get(test.file_name);
}

async function judge(test, outcome) {
  if (outcome.failed) return {passed: false, output: `run failed: ${outcome.failed}`, details: []};
  const reason = runReason({code: outcome.code ?? 0, trap: outcome.trap ?? null,
                            report: outcome.report || '', wallTimeout: !!outcome.wallTimeout}, test);
  if (reason) {
    return {passed: false, output: reason, details: [outcome.trap || outcome.messages || ''].filter(Boolean)};
  }
  const expected = test.picture ? await expectedPicture(test) : null;
  let got = null;
  if (outcome.picture) {
    try {
      got = await decodePng(outcome.picture);
    } catch (error) {
      return {passed: false, output: `picture unreadable: ${error.message}`, details: []};
    }
  }
  const {failures, diff} = checkFailures(test, {expected: expected && expected.picture, got,
                                                log: outcome.log || ''});
  return {passed: failures.length === 0, output: failures.length ? failures[0] : 'passed',
          details: failures, got, diff, expected};
}

function pictureCanvas(picture) {
  const canvas = document.createElement('canvas');
  canvas.width = picture.width;
  canvas.height = picture.height;
  const image = new ImageData(picture.width, picture.height);
  const u32 = new Uint32Array(image.data.buffer);
  for (let i = 0; i < picture.pixels.length; ++i) {
    const p = picture.pixels[i];
    u32[i] = 0xFF000000 | ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
  }
  canvas.getContext('2d').putImageData(image, 0, 0);
  return canvas;
}

function figure(caption, element, kind) {
  const box = document.createElement('figure');
  const label = document.createElement('figcaption');
  label.textContent = caption;
  element.dataset.picture = kind;
  element.title = caption;
  element.addEventListener('click', () => element.classList.toggle('full'));
  box.append(element, label);
  return box;
}

function showResult(box, test, verdict) {
  const section = document.createElement('section');
  section.className = 'check-test';
  section.dataset.name = test.name;
  section.dataset.passed = String(verdict.passed);
  const title = document.createElement('h3');
  title.textContent = `${verdict.passed ? '✓' : '✗'} ${test.name} (${verdict.passed ? test.points : 0}` +
                      ` of ${test.points} point${test.points === 1 ? '' : 's'})`;
  const reason = document.createElement('p');
  reason.className = 'check-reason';
  reason.textContent = verdict.output;
  section.append(title, reason);
  for (const more of verdict.details.slice(1)) {
    const line = document.createElement('p');
    line.className = 'check-reason';
    line.textContent = more;
    section.append(line);
  }
  if (test.picture && verdict.expected) {
    const pictures = document.createElement('div');
    pictures.className = 'check-pictures';
    const img = document.createElement('img');
    img.src = verdict.expected.url;
    img.alt = 'expected picture';
    pictures.append(figure('expected', img, 'expected'));
    if (verdict.got) pictures.append(figure('yours', pictureCanvas(verdict.got), 'yours'));
    if (verdict.diff) pictures.append(figure('differences (red)', pictureCanvas(verdict.diff), 'differences'));
    section.append(pictures);
  }
  box.append(section);
}

async function check() {
  const status = hooks.status;
  if (checking) return;
  if (hooks.busy()) {
    status('A build is going on: press Check again when it has ended.');
    return;
  }
  if (!exercise) {
    status('The exercise\'s checks are not loaded.');
    return;
  }
  checking = true;
  results.length = 0;
  const box = $('check-results');
  box.replaceChildren();
  try {
    const ready = hooks.compilerReady();
    if (!ready) {
      status('This browser cannot run the compiler: use a Chromium-based browser from version 137.');
      return;
    }
    status('Loading the compiler…');
    await ready;
    const built = await hooks.build(hooks.files());
    if (built.type !== 'built') {
      status(built.type === 'failed' ? 'The program does not compile: press Run to see the messages.'
                                     : `The program could not be built: ${built.message || built.type}`);
      return;
    }
    const module = await WebAssembly.compile(built.wasm);
    const summary = document.createElement('p');
    summary.className = 'check-summary';
    box.append(summary);
    let points = 0, total = 0;
    for (const [i, test] of exercise.tests.entries()) {
      status(`Checking ${i + 1} of ${exercise.tests.length}: ${test.name}…`);
      const verdict = await judge(test, await runTest(module, test));
      results.push({name: test.name, passed: verdict.passed, output: verdict.output,
                    details: verdict.details});
      total += test.points;
      if (verdict.passed) points += test.points;
      showResult(box, test, verdict);
    }
    const passed = results.filter((r) => r.passed).length;
    summary.textContent = `${passed} of ${results.length} tests passed: ${points} of ${total} points.`;
    status(passed === results.length ? 'Every test passed.' : 'Checked: see the tests below.');
  } catch (error) {
    status('Check failed: ' + error.message);
  } finally {
    checking = false;
  }
}

// Adds the task, the Check button and the results to the page.
export async function setupCheck(pageHooks) {
  const name = exerciseName();
  if (!name) return;
  hooks = pageHooks;
  const style = document.createElement('style');
  style.textContent = STYLE;
  document.head.append(style);
  const button = document.createElement('button');
  button.type = 'button';
  button.id = 'check';
  button.textContent = 'Check';
  button.title = 'Run the exercise\'s tests on your program';
  $('run').after(button);
  const task = document.createElement('aside');
  task.id = 'exercise';
  const resultsBox = document.createElement('section');
  resultsBox.id = 'check-results';
  resultsBox.setAttribute('aria-label', 'Check results');
  document.querySelector('main').prepend(task);
  document.querySelector('main').append(resultsBox);
  button.addEventListener('click', check);
  window.kv390playground.check = {
    run: check,
    get checking() { return checking; },
    get results() { return results.slice(); },
  };
  try {
    exercise = await (await fetchOk(`exercises/${name}/exercise.json`)).json();
    const readme = await (await fetchOk(`exercises/${name}/README.md`)).text();
    task.innerHTML = markdownToHtml(readme);
    document.title = `${exercise.title} – KV390 playground`;
  } catch (error) {
    task.textContent = `This exercise cannot be opened: ${error.message}`;
    button.disabled = true;
  }
}
