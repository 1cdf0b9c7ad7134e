// Runs a list of browser checks against a static site: one Debian chromium
// (a fresh profile, no network beyond the local server), each check's pages
// in browser contexts of their own, closed after the check.  A console
// error on any page fails the run.  Prints one "ok"/"FAIL" line a check and
// exits non-zero when any failed.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const {chromium} = require('playwright-core');
const server = require('./static_server');

// cases: [[name, async (t) => {...}]]; label names the checks in the last
// line; only: the case numbers (from 1) to run, or null for all; prepare(t)
// adds to the checks' context t; preparePage(page, options, t) sets up each
// new page (t.newPage(options)); beforeEach(t) runs before each check.
async function runChecks({siteDir, executablePath, cases, label, only = null,
                          prepare = () => {}, preparePage = async () => {},
                          beforeEach = () => {}}) {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), `kv390-${label}-test-`));
  const site = await server.start(siteDir);
  const browser = await chromium.launch({
    executablePath,
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  const problems = [];
  const contexts = [];
  const t = {
    work, url: site.url,
    newPage: async (options = {}) => {
      const context = await browser.newContext({acceptDownloads: true});
      contexts.push(context);
      const page = await context.newPage();
      page.on('console', (m) => { if (m.type() === 'error') problems.push(`console: ${m.text()}`); });
      page.on('pageerror', (e) => problems.push(`page error: ${e.message}`));
      await preparePage(page, options, t);
      return page;
    },
  };
  prepare(t);
  let failed = 0;
  for (const [i, [name, run]] of cases.entries()) {
    if (only && !only.includes(i + 1)) continue;
    const start = Date.now();
    beforeEach(t);
    try {
      await run(t);
      console.log(`ok   ${name} (${Date.now() - start} ms)`);
    } catch (error) {
      ++failed;
      console.log(`FAIL ${name}: ${error.message}`);
    }
    for (const context of contexts.splice(0)) await context.close();
  }
  if (problems.length) {
    ++failed;
    console.log(`FAIL no console errors: ${problems.join('; ')}`);
  } else {
    console.log('ok   no console errors');
  }
  await browser.close();
  await site.close();
  fs.rmSync(work, {recursive: true, force: true});
  console.log(failed ? `${failed} ${label} check(s) failed` : `all ${label} checks passed`);
  process.exit(failed ? 1 : 0);
}

module.exports = {runChecks};
