// kv390-grade's report in a real browser (Debian's chromium through the
// pinned playwright-core of tests/web): no console errors, one row per
// submission, every thumbnail loaded, each linking its full-size picture.
//   node tests/grade/report_test.js OUT/index.html ROWS [--chromium PATH]
'use strict';
const path = require('path');
const {pathToFileURL} = require('url');
const {chromium} = require('playwright-core');

async function main() {
  const [report, rows] = process.argv.slice(2, 4);
  const at = process.argv.indexOf('--chromium');
  const executablePath = at > 0 ? process.argv[at + 1] : '/usr/bin/chromium';
  const browser = await chromium.launch({
    executablePath,
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  const problems = [];
  try {
    const page = await browser.newPage();
    page.on('console', (m) => { if (m.type() === 'error') problems.push(`console: ${m.text()}`); });
    page.on('pageerror', (e) => problems.push(`page error: ${e.message}`));
    await page.goto(pathToFileURL(path.resolve(report)).href, {waitUntil: 'load'});
    const seen = await page.evaluate(() => ({
      rows: document.querySelectorAll('tr.submission').length,
      images: [...document.images].map((i) => ({src: i.src, ok: i.complete && i.naturalWidth > 0,
                                                link: i.parentElement.href})),
      verdicts: document.querySelectorAll('.verdict').length,
    }));
    if (seen.rows !== Number(rows)) problems.push(`${seen.rows} rows, not ${rows}`);
    if (seen.images.length === 0) problems.push('no thumbnails');
    for (const image of seen.images) {
      if (!image.ok) problems.push(`thumbnail not loaded: ${image.src}`);
      if (image.link !== image.src) problems.push(`thumbnail ${image.src} links ${image.link}`);
    }
    // The full-size picture behind the first thumbnail.
    await page.click('img.thumb');
    await page.waitForURL(/\.png$/);
    const size = await page.evaluate(() => [document.images[0].naturalWidth,
                                            document.images[0].naturalHeight]);
    if (size[0] !== 595 || size[1] !== 497) problems.push(`full picture is ${size}`);
    console.log(`ok   report: ${seen.rows} rows, ${seen.images.length} thumbnails loaded, ` +
                `${seen.verdicts} verdicts, full picture ${size[0]} x ${size[1]}`);
  } finally {
    await browser.close();
  }
  for (const p of problems) console.log(`FAIL ${p}`);
  process.exit(problems.length ? 1 : 0);
}

main().catch((e) => { console.log(`FAIL ${e.message.split('\n')[0]}`); process.exit(1); });
