// The KV390 playground page: an editor for the student's files, Run and
// Stop, the compiler in one worker and the program in another, the
// program's windows shown with the shared page screen (page_screen.js).
import {EditorView, basicSetup} from 'codemirror';
import {keymap} from '@codemirror/view';
import {EditorState, Prec} from '@codemirror/state';
import {cpp} from '@codemirror/lang-cpp';
import {setDiagnostics} from '@codemirror/lint';
import KV390Screen from '../../platform/src/web/page_screen.js';
import {parseDiagnostics, explainFailure} from './diagnostics.js';
import {encodeProject, decodeProject} from './share.js';
import {exerciseName, storageKey, exerciseProject, setupCheck} from './check.js';

const STORAGE_KEY = storageKey('kv390-playground-project');
const JSPI_MISSING = 'This browser cannot run KV390 programs yet: use Chrome, Edge or another ' +
                     'Chromium-based browser from version 137 (it needs WebAssembly JSPI).';
const STARTER = `#include "kv390.h"

int main(void) {
    int x = 0, y = 0, click_x, click_y;
    char key;
    int event = 0;

    KV390_begin(0, 0, "", 5);
    KV390_set_logging(0);
    while (event != KV390_QUIT) {
        KV390_clear();
        KV390_text(BLACK, -280, 220, 16, "Click somewhere. Close the window to end.");
        KV390_circle(BLUE, x, y, 30);
        event = KV390_wait_event(&click_x, &click_y, &key);
        if (event == KV390_MOUSE) {
            x = click_x;
            y = click_y;
        }
    }
    KV390_end();
    return 0;
}
`;

const $ = (id) => document.getElementById(id);
const jspi = typeof WebAssembly.Suspending === 'function' &&
             typeof WebAssembly.promising === 'function';

// ------------------------------------------------------------ the project

// The student's files, one of them in the editor.  Kept in local storage
// on every change, so nothing typed is lost to Stop, reload or a closed tab.
const project = {files: [{name: 'main.c', text: STARTER}], active: 0};
let editor = null;

function saveProject() {
  try {
    localStorage.setItem(STORAGE_KEY, JSON.stringify({files: project.files, active: project.active}));
  } catch (error) {
    status('Cannot keep the program in this browser\'s storage: ' + error.message);
  }
}

function loadStoredProject() {
  try {
    const stored = JSON.parse(localStorage.getItem(STORAGE_KEY) || 'null');
    if (stored && Array.isArray(stored.files) && stored.files.length > 0) return stored;
  } catch (error) { /* a damaged entry: start from the example */ }
  return null;
}

function setProject(files, active = 0) {
  project.files = files.map((f) => ({name: f.name, text: f.text}));
  project.active = Math.min(Math.max(0, active), files.length - 1);
  showActiveFile();
  saveProject();
}

function showActiveFile() {
  const file = project.files[project.active];
  editor.setState(EditorState.create({doc: file.text, extensions: editorExtensions()}));
  renderTabs();
  markDiagnostics();
}

function renderTabs() {
  const tabs = $('files');
  tabs.replaceChildren(...project.files.map((file, i) => {
    const tab = document.createElement('button');
    tab.type = 'button';
    tab.textContent = file.name;
    tab.className = 'file-tab' + (i === project.active ? ' active' : '');
    tab.setAttribute('aria-pressed', String(i === project.active));
    tab.addEventListener('click', () => {
      project.active = i;
      saveProject();
      showActiveFile();
    });
    return tab;
  }));
  tabs.hidden = project.files.length < 2;
}

function editorExtensions() {
  return [
    Prec.highest(keymap.of([{key: 'Mod-Enter', run: () => { run(); return true; }}])),
    basicSetup,
    cpp(),
    EditorView.updateListener.of((update) => {
      if (!update.docChanged) return;
      project.files[project.active].text = update.state.doc.toString();
      saveProject();
    }),
  ];
}

// ------------------------------------------------------------ status, diagnostics

function status(text) { $('status').textContent = text; }

let diagnostics = [];  // {file, line, column, severity, message}

function showDiagnostics(list) {
  diagnostics = list;
  const box = $('diagnostics');
  box.replaceChildren(...list.map((d) => {
    const item = document.createElement('li');
    item.className = d.severity;
    const where = document.createElement('a');
    where.href = '#';
    where.textContent = `${d.file}:${d.line}`;
    where.addEventListener('click', (event) => {
      event.preventDefault();
      goTo(d);
    });
    item.append(where, ` ${d.severity}: ${d.message}`);
    item.dataset.line = String(d.line);
    return item;
  }));
  markDiagnostics();
}

function goTo(d) {
  const i = project.files.findIndex((f) => f.name === d.file);
  if (i >= 0 && i !== project.active) {
    project.active = i;
    showActiveFile();
  }
  const doc = editor.state.doc;
  const line = doc.line(Math.min(Math.max(1, d.line), doc.lines));
  editor.dispatch({selection: {anchor: Math.min(line.from + Math.max(0, d.column - 1), line.to)},
                   scrollIntoView: true});
  editor.focus();
}

// Marks the active file's diagnostics in the editor.
function markDiagnostics() {
  const name = project.files[project.active].name;
  const doc = editor.state.doc;
  const marks = diagnostics.filter((d) => d.file === name && d.line >= 1).map((d) => {
    const line = doc.line(Math.min(d.line, doc.lines));
    // From the column to the end of the line; the whole line when the
    // column is at its end (a missing ';' is reported there).
    let from = Math.min(line.from + Math.max(0, d.column - 1), line.to);
    if (from === line.to) from = line.from;
    return {from, to: line.to, severity: d.severity === 'note' ? 'info' : d.severity,
            message: d.message};
  });
  editor.dispatch(setDiagnostics(editor.state, marks));
}

// ------------------------------------------------------------ compiler

let compiler = null;
let compilerReady = null;  // resolves when the toolchain is loaded
let building = null;       // {resolve} of the build in progress

function startCompiler() {
  compiler = new Worker('compile_worker.js', {type: 'module'});
  let loaded;
  compilerReady = new Promise((resolve, reject) => { loaded = {resolve, reject}; });
  const bar = $('progress');
  compiler.onmessage = (event) => {
    const m = event.data;
    if (m.type === 'progress') {
      bar.hidden = false;
      bar.max = m.total || 1;
      bar.value = m.done;
      if (m.done >= m.total) bar.hidden = true;
    } else if (m.type === 'loaded') {
      bar.hidden = true;
      loaded.resolve();
      playground.toolchainMs = performance.now() - playground.openedAt;
    } else if (m.type === 'warm') {
      playground.warmMs = performance.now() - playground.openedAt;
    } else if (m.type === 'helpers') {
      playground.compileHelpers = m.count;
    } else if (m.type === 'phase') {
      status(m.phase === 'compile' ? 'Compiling…' : 'Linking…');
    } else if (m.type === 'error') {
      bar.hidden = true;
      loaded.reject(new Error(m.message));
      if (building) building.resolve(m);
    } else if (building) {
      building.resolve(m);
    }
  };
  compiler.onerror = (event) => {
    const error = {type: 'error', message: event.message || 'the compiler could not start'};
    loaded.reject(new Error(error.message));
    if (building) building.resolve(error);
  };
  compiler.postMessage({type: 'load'});
  compilerReady.catch((error) => status('The compiler could not be loaded: ' + error.message));
}

function build(sources, backend) {
  return new Promise((resolve) => {
    building = {resolve};
    compiler.postMessage({type: 'build', sources, backend});
  }).finally(() => { building = null; });
}

// ------------------------------------------------------------ the program

let program = null;  // the running program's worker
let scriptFile = null;  // KV390.SCR while no program runs (an upload waits here)
let screen = null;

function programEnvironment() {
  const env = [];
  new URLSearchParams(location.search).forEach((value, name) => {
    if (/^KV390_[A-Z0-9_]+$/.test(name)) env.push(`${name}=${value}`);
  });
  return env;
}

function stopProgram(why) {
  if (!program) return;
  program.terminate();
  program = null;
  playground.waiting = false;
  if (why) status(why);
  setRunning(false);
}

function startProgram(wasm) {
  screen.detach();
  screen = makeScreen();
  const worker = program = new Worker('run_worker.js', {type: 'module'});
  worker.onmessage = (event) => {
    if (worker !== program) return;
    const m = event.data;
    switch (m.type) {
      case 'window': screen.window(m.id, m.visible, m.floating, m.x, m.y, m.title); break;
      case 'present':
        screen.present(m.id, m.width, m.height, (target) => target.set(m.pixels));
        playground.frames += 1;
        if (playground.firstPictureMs === null) {
          playground.firstPictureMs = performance.now() - playground.runPressedAt;
          // Keys go to the program from its first picture on, as on the desktop.
          const canvas = screen.windows[m.id] && screen.windows[m.id].canvas;
          if (canvas) canvas.focus();
        }
        break;
      case 'title': break;  // the page keeps its own name
      case 'waiting': playground.waiting = true; break;
      case 'resumed': playground.waiting = false; break;
      case 'started': status('Running.'); break;
      case 'output': (m.kind === 'stderr' ? console.warn : console.log)(m.line); break;
      case 'script': if (pendingDownload) pendingDownload(m.bytes); pendingDownload = null; break;
      case 'ended':
        status('The program has ended' + (m.code ? ` (exit status ${m.code}).` : '.'));
        keepScript(worker, () => { program = null; setRunning(false); });
        break;
      case 'crashed':
        status('The program stopped: ' + m.message);
        keepScript(worker, () => { program = null; setRunning(false); });
        break;
    }
  };
  worker.onerror = (event) => {
    event.preventDefault();
    if (worker === program) stopProgram('The program could not start: ' + event.message);
  };
  worker.postMessage({type: 'run', module: wasm, env: programEnvironment(),
                      screenWidth: Math.min(1024, Math.max(640, screen.width())),
                      script: scriptFile,
                      clock: new URLSearchParams(location.search).get('clock')});
  setRunning(true);
}

// After the program ends, its KV390.SCR stays for downloads and the next run.
function keepScript(worker, then) {
  pendingDownload = (bytes) => {
    if (bytes) scriptFile = bytes;
    worker.terminate();
    then();
  };
  worker.postMessage({type: 'script-get'});
}

let pendingDownload = null;

function makeScreen() {
  const s = new KV390Screen($('kv390-screen'), {
    input: (record) => {
      if (!program) return;
      playground.waiting = false;
      program.postMessage({type: 'input', record});
    },
    download: (done) => {
      if (!program) return done(scriptFile);
      pendingDownload = done;
      program.postMessage({type: 'script-get'});
    },
    upload: (bytes) => {
      scriptFile = bytes;
      if (program) program.postMessage({type: 'script-put', bytes});
    },
    status,
  });
  // Ctrl+Enter runs the program again; the program gets the other keys.
  s.attach((event) => !((event.ctrlKey || event.metaKey) && event.key === 'Enter'));
  s.attachScriptFile($('kv390-download'), $('kv390-upload'));
  return s;
}

function setRunning(running) {
  $('stop').disabled = !running && !building;
  document.body.classList.toggle('running', running);
}

// ------------------------------------------------------------ Run

async function run() {
  if (!jspi) {
    status(JSPI_MISSING);
    return;
  }
  if (building) return;
  stopProgram();
  playground.runPressedAt = performance.now();
  playground.firstPictureMs = null;
  playground.frames = 0;
  showDiagnostics([]);
  $('stop').disabled = false;
  status('Loading the compiler…');
  try {
    await compilerReady;
  } catch (error) {
    status('The compiler could not be loaded: ' + error.message);
    setRunning(false);
    return;
  }
  const result = await build(project.files);
  if (result.type === 'stopped') return;
  playground.buildMs = result.ms;
  playground.compileMs = result.compileMs;
  playground.linkMs = result.linkMs;
  if (result.type === 'error') {
    status('The compiler failed: ' + result.message);
    setRunning(false);
    return;
  }
  const list = parseDiagnostics(result.log);
  showDiagnostics(list);
  if (result.type === 'failed') {
    status(explainFailure(result.log, list));
    setRunning(false);
    return;
  }
  status('Starting…');
  startProgram(result.wasm);
}

function stop() {
  if (building) {
    // A compile cannot be interrupted: a fresh compiler takes over.
    compiler.terminate();
    building.resolve({type: 'stopped'});
    startCompiler();
    status('Stopped.');
    setRunning(false);
    return;
  }
  stopProgram('Stopped.');
}

// ------------------------------------------------------------ examples, links

async function loadExamples() {
  const select = $('examples');
  let list = [];
  try {
    const response = await fetch('examples/index.json');
    if (response.ok) list = (await response.json()).examples;
  } catch (error) { /* no examples shipped */ }
  for (const example of list) {
    const option = document.createElement('option');
    option.value = JSON.stringify(example.files);
    option.textContent = example.title;
    select.append(option);
  }
  select.addEventListener('change', async () => {
    if (!select.value) return;
    const files = JSON.parse(select.value);
    select.value = '';
    try {
      setProject(await Promise.all(files.map(async (path) =>
        ({name: path.split('/').pop(), text: await fetchText(`examples/${path}`)}))));
      status('Opened an example.');
    } catch (error) {
      status(error.message);
    }
  });
}

async function fetchText(url) {
  const response = await fetch(url);
  if (!response.ok) throw new Error(`Cannot open ${url} (${response.status} ${response.statusText}).`);
  return response.text();
}

async function share() {
  const link = new URL(location.href);
  link.hash = 'code=' + await encodeProject(project.files);
  link.searchParams.delete('file');
  link.searchParams.delete('run');
  $('share-link').value = link.href;
  $('share-link').hidden = false;
  $('share-link').select();
  try {
    await navigator.clipboard.writeText(link.href);
    status('The link is copied: it holds the program itself.');
  } catch (error) {
    status('Copy the link beside Share: it holds the program itself.');
  }
}

// What the page opens with: a shared program, a linked file, or the kept one.
async function openingProject() {
  const params = new URLSearchParams(location.search);
  const hash = new URLSearchParams(location.hash.slice(1));
  if (hash.get('code')) {
    try {
      return {files: await decodeProject(hash.get('code'))};
    } catch (error) {
      status('The shared link is damaged: ' + error.message);
    }
  }
  if (exerciseName()) return exerciseProject(loadStoredProject());
  const file = params.get('file');
  if (file) {
    try {
      return {files: [{name: file.split('/').pop(), text: await fetchText(file)}]};
    } catch (error) {
      status(error.message);
    }
  }
  return loadStoredProject();
}

// ------------------------------------------------------------ start

const playground = window.kv390playground = {
  openedAt: performance.now(), toolchainMs: null, warmMs: null, compileHelpers: null,
  runPressedAt: 0,
  firstPictureMs: null, buildMs: null, compileMs: null, linkMs: null, frames: 0, waiting: false,
  get running() { return program !== null; },
  get building() { return building !== null; },
  get files() { return project.files; },
  run, stop,
  open: (files) => setProject(files),
};

async function start() {
  editor = new EditorView({parent: $('editor')});
  screen = makeScreen();
  const opening = await openingProject();
  if (opening) setProject(opening.files, opening.active || 0);
  else showActiveFile();
  $('run').addEventListener('click', run);
  $('stop').addEventListener('click', stop);
  $('share').addEventListener('click', share);
  document.addEventListener('keydown', (event) => {
    if ((event.ctrlKey || event.metaKey) && event.key === 'Enter' && !editor.hasFocus) {
      event.preventDefault();
      run();
    }
  });
  loadExamples();
  setupCheck({build: (sources) => build(sources, 'headless'), compilerReady: () => compilerReady,
              files: () => project.files, status, busy: () => building !== null});
  if (!jspi) {
    status(JSPI_MISSING);
    $('run').disabled = true;
    return;
  }
  startCompiler();
  if (new URLSearchParams(location.search).has('run')) run();
}

start();
