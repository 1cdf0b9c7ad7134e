// The lists the playground's page and workers load from the site:
//
//   node site-lists.mjs kv390 DIR LINK_FLAGS_FILE
//       DIR/manifest.json: every file under DIR (headers, archives) and the
//       link arguments, with the page backend chosen over the headless one.
//   node site-lists.mjs examples DIR WEATHER_FILE...
//       DIR/index.json: each example's title and files, the weather picture
//       last.  Titles come from DIR/titles.json when it exists.
import fs from 'node:fs';
import path from 'node:path';

function fail(message) {
  console.error(`site-lists: ${message}`);
  process.exit(1);
}

function filesUnder(dir, prefix = '') {
  return fs.readdirSync(dir, {withFileTypes: true}).flatMap((entry) => {
    const relative = prefix + entry.name;
    if (entry.isDirectory()) return filesUnder(path.join(dir, entry.name), relative + '/');
    return entry.name === 'manifest.json' ? [] : [relative];
  }).sort();
}

// Atomic: the list appears whole or not at all.
function writeJson(file, value) {
  fs.writeFileSync(file + '.partial', JSON.stringify(value, null, 1) + '\n');
  fs.renameSync(file + '.partial', file);
}

export function linkArguments(flags) {
  const link = ['-Lkv390/lib'];
  let placed = false;
  for (const flag of flags) {
    // The page backend's choice of backend comes before the headless one's.
    if (flag === '-lkv390_headless' && !placed) {
      link.push('-lkv390_page');
      placed = true;
    }
    link.push(flag);
  }
  if (!placed) link.push('-lkv390_page');
  return link;
}

// Titles a course may give in titles.json: {"file.c": "Title"}, or a list
// of {file, title}, or {examples: [...]}.
function readTitles(file) {
  if (!fs.existsSync(file)) return {};
  let data = JSON.parse(fs.readFileSync(file, 'utf8'));
  if (data && Array.isArray(data.examples)) data = data.examples;
  if (!Array.isArray(data)) return data && typeof data === 'object' ? data : {};
  const titles = {};
  for (const item of data) {
    const name = item && (item.file || item.path || item.name || item.source);
    if (typeof name === 'string' && typeof item.title === 'string') titles[path.basename(name)] = item.title;
  }
  return titles;
}

function titleOf(file) {
  const words = path.basename(file).replace(/\.[^.]+$/, '').replace(/_/g, ' ');
  return words.charAt(0).toUpperCase() + words.slice(1);
}

const [what, dir, ...rest] = process.argv.slice(2);
if (what === 'kv390' && dir && rest.length === 1) {
  const flags = fs.readFileSync(rest[0], 'utf8').split('\n').map((l) => l.trim()).filter(Boolean);
  writeJson(path.join(dir, 'manifest.json'), {files: filesUnder(dir), link: linkArguments(flags)});
} else if (what === 'examples' && dir) {
  const titles = readTitles(path.join(dir, 'titles.json'));
  const examples = fs.readdirSync(dir).filter((f) => /\.(c|cpp)$/.test(f)).sort()
      .map((f) => ({title: titles[f] || titleOf(f), files: [f]}));
  if (rest.length > 0) {
    examples.push({title: titles.weather || 'The weather picture (several files)',
                   files: rest.map((f) => `weather/${f}`)});
  }
  writeJson(path.join(dir, 'index.json'), {examples});
} else {
  fail('usage: site-lists.mjs kv390 DIR LINK_FLAGS_FILE | examples DIR WEATHER_FILE...');
}
