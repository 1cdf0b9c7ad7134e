// Where the page's compiles run: in the compiler's own worker and in helper
// workers that start once it has loaded, each file on the first lane that is
// free.  A file compiled before, with the same text and the same headers of
// the program, is not compiled again: Run after an edit compiles what the
// edit changed.

const CACHED_OBJECTS = 64;  // enough for a few programs' files

// The files a program's build compiles (the others are headers).
export const isCompiled = (name) => /\.(c|cpp|cc|cxx)$/.test(name);

// The file's own text and every header of the program (any of them may be
// included); KV390's headers and the flags are the same for the page's life.
function cacheKey(name, sources) {
  return JSON.stringify([name, sources.filter((s) => s.name === name || !isCompiled(s.name))
                                   .map((s) => [s.name, s.text])]);
}

// A helper worker as a lane: compile() posts the file and resolves with
// the helper's answer, or with {laneFailed} when the helper is gone.  ready
// resolves once it has loaded and warmed up.
function helperLane(worker) {
  const waiting = new Map();  // id -> resolve
  let nextId = 0, onReady = null, onFailed = null;
  const ready = new Promise((resolve, reject) => { onReady = resolve; onFailed = reject; });
  const lane = {ready, alive: true};
  // The files it was compiling go back to the other lanes.
  const failAll = (message) => {
    lane.alive = false;
    onFailed(new Error(message));
    for (const resolve of waiting.values()) resolve({laneFailed: true});
    waiting.clear();
  };
  worker.onmessage = (event) => {
    const m = event.data;
    if (m.type === 'ready') onReady();
    else if (m.type === 'compiled') {
      waiting.get(m.id)({ok: m.ok, object: m.object, log: m.log});
      waiting.delete(m.id);
    } else if (m.type === 'error') failAll(`a compiler helper failed: ${m.message}`);
  };
  worker.onerror = (event) => {
    event.preventDefault();
    failAll(`a compiler helper could not run: ${event.message || 'unknown error'}`);
  };
  worker.postMessage({type: 'load'});
  lane.compile = (name, sources) => new Promise((resolve) => {
    if (!lane.alive) return resolve({laneFailed: true});
    const id = nextId++;
    waiting.set(id, resolve);
    worker.postMessage({type: 'compile', id, name, sources});
  });
  return lane;
}

export function compileLanes(compileHere, newHelperWorker) {
  const objects = new Map();  // cacheKey -> {ok, object, log}, oldest first
  const free = [{compile: compileHere, alive: true}];
  const queued = [];  // resolvers of compiles waiting for a lane

  const release = (lane) => {
    if (!lane.alive) return;
    if (queued.length) queued.shift()(lane);
    else free.push(lane);
  };
  const acquire = () => free.length ? Promise.resolve(free.shift())
                                    : new Promise((resolve) => queued.push(resolve));

  const remember = (key, result) => {
    if (!result.ok) return;
    objects.set(key, result);
    if (objects.size > CACHED_OBJECTS) objects.delete(objects.keys().next().value);
  };

  return {
    // Starts count helpers; each becomes a lane once it has warmed up.  A
    // helper that fails to load is left out: its files go to other lanes.
    // Resolves with the number of helpers that became lanes.
    async startHelpers(count) {
      const started = Array.from({length: count}, () => {
        const lane = helperLane(newHelperWorker());
        return lane.ready.then(() => (release(lane), 1), () => 0);
      });
      return (await Promise.all(started)).reduce((a, b) => a + b, 0);
    },
    // Resolves with {ok, object, log}.  The object is a copy: linking may
    // hand its bytes away.
    async compile(name, sources) {
      const key = cacheKey(name, sources);
      let result = objects.get(key);
      while (!result || result.laneFailed) {
        const lane = await acquire();
        try {
          result = await lane.compile(name, sources);
        } finally {
          release(lane);
        }
        remember(key, result);
      }
      return {...result, object: result.object && result.object.slice()};
    },
  };
}
