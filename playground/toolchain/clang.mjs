// Runs the playground's compiler (@yowasp/clang: clang and lld compiled to
// WebAssembly) from node on real files.  The compiler sees a virtual file
// system made of the folders it is given; what it writes there is copied
// back to the real folder afterwards.
//
//   node clang.mjs [-C DIR] [--mount VDIR=REALDIR]... TOOL ARG...
//       TOOL is clang, clang++, wasm-ld, ar, ...  DIR (default: the current
//       folder) is the compiler's root, so ARGs name files relative to it;
//       each --mount adds a real folder at VDIR, read only.  Files the tool
//       makes or changes under DIR are written back.  Prints the tool's
//       time on stderr with --time.
//
//   node clang.mjs build MANIFEST.json
//       Compiles the manifest's jobs two at a time (one worker thread
//       each), reusing each object whose source, flags and included files
//       are unchanged since it was made (the key is kept beside the object).
//       Manifest: {"mounts": {"/vdir": "/real/dir", ...}, "jobs": [{"tool":
//       "clang", "args": [...], "source": "/vdir/a.c", "output": "/real/a.o"}]}.
//       Job args name files by their virtual paths; the job's object is
//       written at "output" (through a temporary name).
//
// KV390_PLAYGROUND_NPM: the folder scripts/playground/toolchain.sh prints.
import { createHash } from 'node:crypto';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { Worker, isMainThread, parentPort, workerData } from 'node:worker_threads';

const SOURCE_EXTENSIONS = /\.(h|hh|hpp|hxx|c|cc|cpp|cxx|inc|def|inl|o|a|wasm|s|S)$|^[^.]+$/;

// The files under dir (those a compiler may read) as the package's tree.
export function loadTree(dir, { all = false } = {}) {
    const tree = {};
    for (const entry of fs.readdirSync(dir, { withFileTypes: true })) {
        if (entry.name === '.git' || entry.name === 'node_modules') continue;
        const full = path.join(dir, entry.name);
        const stat = fs.statSync(full);  // follows symbolic links
        if (stat.isDirectory()) tree[entry.name] = loadTree(full, { all });
        else if (stat.isFile() && (all || SOURCE_EXTENSIONS.test(entry.name)))
            tree[entry.name] = new Uint8Array(fs.readFileSync(full));
    }
    return tree;
}

// Puts subtree at the absolute virtual path vpath of tree.
export function mount(tree, vpath, subtree) {
    const parts = vpath.split('/').filter((p) => p !== '');
    let node = tree;
    for (const part of parts.slice(0, -1)) node = node[part] ??= {};
    node[parts[parts.length - 1]] = subtree;
    return tree;
}

export function lookup(tree, vpath) {
    let node = tree;
    for (const part of vpath.split('/').filter((p) => p !== '')) {
        if (node === undefined || node instanceof Uint8Array || typeof node === 'string')
            return undefined;
        node = node[part];
    }
    return node;
}

let toolchain = null;
async function loadToolchain() {
    // KV390_PLAYGROUND_NPM names the folder where scripts/playground/toolchain.sh
    // installed the package; without it node looks beside this file.
    const home = process.env.KV390_PLAYGROUND_NPM;
    toolchain ??= await import(home ? pathToFileURL(
        path.join(home, 'node_modules/@yowasp/clang/gen/bundle.js')).href : '@yowasp/clang');
    // Loads the compiler's files now, quietly (the package prints its
    // progress otherwise).
    await toolchain.runLLVM(null, {}, { fetchProgress: () => {} });
    return toolchain;
}

// Runs one tool on tree.  Returns {code, files, stderr}; files is the tree
// after the run (nothing decoded: every file stays bytes).
export async function runTool(tool, args, tree) {
    const { runClang, runLLVM } = await loadToolchain();
    const chunks = [];
    const collect = (bytes) => {
        if (bytes !== null) chunks.push(Buffer.from(bytes));
    };
    const options = { stdout: collect, stderr: collect, decodeASCII: false };
    const run = tool === 'clang' || tool === 'clang++' ? (a, t, o) => runClang([tool, ...a], t, o)
                                                       : (a, t, o) => runLLVM([tool, ...a], t, o);
    try {
        const files = await run(args, tree, options);
        return { code: 0, files, stderr: Buffer.concat(chunks).toString() };
    } catch (error) {
        if (error?.files === undefined) throw error;  // not the tool's exit
        return { code: error.code, files: error.files, stderr: Buffer.concat(chunks).toString() };
    }
}

// Writes the files of after that are new or differ from before into dir.
function writeBack(dir, before, after) {
    for (const [name, entry] of Object.entries(after)) {
        const full = path.join(dir, name);
        const old = before?.[name];
        if (entry instanceof Uint8Array || typeof entry === 'string') {
            const bytes = typeof entry === 'string' ? Buffer.from(entry) : entry;
            if (old instanceof Uint8Array && Buffer.compare(Buffer.from(old), Buffer.from(bytes)) === 0)
                continue;
            const temporary = `${full}.tmp-${process.pid}`;
            fs.writeFileSync(temporary, bytes);
            fs.renameSync(temporary, full);
        } else {
            fs.mkdirSync(full, { recursive: true });
            writeBack(full, old instanceof Uint8Array ? undefined : old, entry);
        }
    }
}

// ---- build: cached objects, two compiles at a time ----

const sha256 = (...parts) => {
    const hash = createHash('sha256');
    for (const part of parts) hash.update(part);
    return hash.digest('hex');
};

// The files a depfile names (make syntax: "target: dep dep \").
function depfileInputs(text) {
    const body = text.replace(/\\\n/g, ' ');
    const colon = body.search(/:(\s|$)/);
    return body.slice(colon + 1).trim().split(/(?<!\\)\s+/).filter(Boolean)
        .map((name) => name.replace(/\\ /g, ' '));
}

// The bytes of the virtual file vpath, or null when it does not exist.
function virtualBytes(tree, vpath) {
    const entry = lookup(tree, vpath);
    return entry instanceof Uint8Array ? entry : null;
}

// The key of a job: its command line and the content of every file it read
// the last time (the sysroot's headers come with the toolchain's version,
// which names the cache).  null when a file it read is gone.
function jobKey(job, tree, inputs) {
    const parts = [JSON.stringify([job.tool, job.args])];
    for (const input of inputs) {
        const bytes = virtualBytes(tree, path.posix.resolve('/', input));
        if (bytes === null && input.startsWith('/usr/')) continue;  // sysroot: versioned
        if (bytes === null) return null;
        parts.push(input, '\0', sha256(bytes), '\0');
    }
    return sha256(...parts);
}

// The stamp beside an object: its key and the files its compile read.
const stampOf = (output) => `${output}.key`;

function upToDate(job, tree) {
    try {
        const stamp = JSON.parse(fs.readFileSync(stampOf(job.output), 'utf8'));
        return fs.existsSync(job.output) && jobKey(job, tree, stamp.inputs) === stamp.key;
    } catch {
        return false;
    }
}

async function compileJob(job, tree) {
    // Not /tmp: the compiler package keeps a /tmp of its own, which it does not hand back.
    const depfile = `/job/kv390-job.d`;
    const object = `/job/kv390-job.o`;
    const args = [...job.args, '-c', job.source, '-o', object, '-MD', '-MF', depfile];
    mount(tree, '/job', {});
    const started = performance.now();
    const { code, files, stderr } = await runTool(job.tool, args, tree);
    const seconds = (performance.now() - started) / 1000;
    if (code !== 0) return { ok: false, stderr, seconds };
    const inputs = depfileInputs(Buffer.from(lookup(files, depfile)).toString());
    fs.mkdirSync(path.dirname(job.output), { recursive: true });
    const temporary = `${job.output}.tmp-${process.pid}-${Math.random().toString(36).slice(2)}`;
    fs.writeFileSync(temporary, lookup(files, object));
    fs.renameSync(temporary, job.output);
    const key = jobKey(job, tree, inputs);
    fs.writeFileSync(stampOf(job.output), JSON.stringify({ key, inputs }));
    return { ok: true, stderr, seconds };
}

function mountedTree(mounts) {
    const tree = {};
    for (const [vdir, real] of Object.entries(mounts)) mount(tree, vdir, loadTree(real));
    return tree;
}

async function workerMain() {
    const tree = mountedTree(workerData.mounts);
    parentPort.on('message', async (job) => {
        if (job === null) return parentPort.close();
        try {
            parentPort.postMessage(await compileJob(job, tree));
        } catch (error) {
            parentPort.postMessage({ ok: false, stderr: String(error?.stack ?? error), seconds: 0 });
        }
    });
    parentPort.postMessage('ready');
}

async function build(manifestFile) {
    const manifest = JSON.parse(fs.readFileSync(manifestFile, 'utf8'));
    const tree = mountedTree(manifest.mounts);
    const todo = manifest.jobs.filter((job) => !upToDate(job, tree));
    const lanes = Math.max(1, Math.min(Number(process.env.KV390_JOBS ?? 2), todo.length));
    let failed = 0, next = 0, compiled = 0, total = 0;
    const lane = () => new Promise((resolve, reject) => {
        const worker = new Worker(fileURLToPath(import.meta.url), { workerData: { mounts: manifest.mounts } });
        let current = null;
        const feed = () => {
            if (next >= todo.length || failed > 0) {
                worker.postMessage(null);
                return;
            }
            current = todo[next++];
            worker.postMessage(current);
        };
        worker.on('message', (result) => {
            if (result === 'ready') return feed();
            if (result.stderr) process.stderr.write(result.stderr);
            if (!result.ok) {
                failed++;
                console.error(`playground-build: compiling ${current.source} failed`);
            } else {
                compiled++;
                total += result.seconds;
                if (process.env.KV390_VERBOSE)
                    console.error(`  ${result.seconds.toFixed(2)} s  ${current.source}`);
            }
            feed();
        });
        worker.on('error', reject);
        worker.on('exit', resolve);
    });
    await Promise.all(Array.from({ length: todo.length ? lanes : 0 }, lane));
    const average = compiled ? (total / compiled).toFixed(2) : '0';
    console.error(`playground-build: ${manifest.jobs.length} files, ${compiled} compiled ` +
                  `(${average} s each), ${manifest.jobs.length - todo.length} reused`);
    if (failed > 0) return false;
    for (const archive of manifest.archives ?? [])
        if (!(await buildArchive(archive))) return false;
    return true;
}

// An archive is made again only when one of its members' keys changed.  Its
// members are named by their path under the archive's object folder, so two
// sources of one name in different folders both stay.
async function buildArchive({ output, members }) {
    const key = sha256(...members.map((member) => fs.readFileSync(stampOf(member))));
    try {
        if (fs.readFileSync(stampOf(output), 'utf8') === key && fs.existsSync(output)) return true;
    } catch {}
    const common = members.reduce((prefix, member) => {
        while (!member.startsWith(prefix)) prefix = prefix.slice(0, prefix.lastIndexOf('/', prefix.length - 2) + 1);
        return prefix;
    }, path.dirname(members[0]) + '/');
    const names = members.map((member) => member.slice(common.length).replaceAll('/', '_'));
    const tree = { members: Object.fromEntries(names.map((name, i) => [name, fs.readFileSync(members[i])])) };
    const archive = '/out.a';
    const { code, files, stderr } = await runTool('ar', ['rcs', archive, ...names.map((n) => `members/${n}`)], tree);
    process.stderr.write(stderr);
    if (code !== 0) {
        console.error(`playground-build: archiving ${output} failed`);
        return false;
    }
    fs.mkdirSync(path.dirname(output), { recursive: true });
    const temporary = `${output}.tmp-${process.pid}`;
    fs.writeFileSync(temporary, lookup(files, archive));
    fs.renameSync(temporary, output);
    fs.writeFileSync(stampOf(output), key);
    return true;
}

async function main(argv) {
    if (argv[0] === 'build') {
        if (argv.length !== 2) throw new Error('usage: clang.mjs build MANIFEST.json');
        return (await build(argv[1])) ? 0 : 1;
    }
    let dir = '.', time = false;
    const mounts = {};
    while (argv.length && argv[0].startsWith('-')) {
        const option = argv.shift();
        if (option === '-C') dir = argv.shift();
        else if (option === '--mount') {
            const [vdir, real] = argv.shift().split('=');
            mounts[vdir] = real;
        } else if (option === '--time') time = true;
        else throw new Error(`unknown option ${option}`);
    }
    const [tool, ...args] = argv;
    if (tool === undefined) throw new Error('usage: clang.mjs [-C DIR] [--mount V=R]... TOOL ARG...');
    const own = loadTree(dir, { all: true });
    const tree = { ...own };
    for (const [vdir, real] of Object.entries(mounts)) mount(tree, vdir, loadTree(real));
    const started = performance.now();
    const { code, files, stderr } = await runTool(tool, args, tree);
    const seconds = (performance.now() - started) / 1000;
    process.stderr.write(stderr);
    for (const vdir of Object.keys(mounts)) {
        const top = vdir.split('/').filter(Boolean)[0];
        if (!(top in own)) delete files[top];
    }
    if (code === 0) writeBack(dir, own, files);
    if (time) console.error(`clang.mjs: ${tool} took ${seconds.toFixed(2)} s`);
    return code;
}

if (!isMainThread) {
    await workerMain();
} else if (process.argv[1] === fileURLToPath(import.meta.url)) {
    try {
        process.exitCode = await main(process.argv.slice(2));
    } catch (error) {
        console.error(`clang.mjs: ${error.message}`);
        process.exitCode = 1;
    }
}
