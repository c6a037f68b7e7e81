// The browser edition in Debian's Chromium, driven as a user drives it.
// Usage: node page_test.mjs PAGE_FOLDER PESTROLIK_RENDER
import assert from 'node:assert/strict';
import { execFileSync, spawn } from 'node:child_process';
import { createHash } from 'node:crypto';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { chromium } from 'playwright-core';

const [pageDir, renderExe] = process.argv.slice(2);
const cases = JSON.parse(readFileSync(new URL('data/cases.json', import.meta.url)));
const scratch = mkdtempSync(join(tmpdir(), 'pestrolik-web-'));
const port = 20000 + (process.pid % 20000);
const url = `http://127.0.0.1:${port}/`;
// Any static host will do; this is the one scripts/web uses.
const serve = () => spawn('python3', ['-m', 'http.server', String(port), '--bind', '127.0.0.1', '--directory', pageDir],
  { stdio: 'ignore' });
const browse = (name, options) => chromium.launchPersistentContext(join(scratch, name), {
  executablePath: '/usr/bin/chromium', viewport: { width: 1280, height: 800 }, ...options,
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'] });
const text = (page, id) => page.$eval(`#${id}`, (e) => e.textContent);
const says = (page, start) => page.waitForFunction((t) => document.getElementById('message').textContent.startsWith(t), start);

async function start(page, { count, size, code = '', still = false, small = false }) {
  for (const [id, value] of Object.entries({ count, size, code })) await page.fill(`#${id}`, value);
  await page.setChecked('#still', still);
  await page.setChecked('#small', small);
  await page.click('#start');
}

// The downloadable file, read inside the page: its name and SHA-256.
async function finished(page) {
  await page.waitForSelector('#download[href^="blob:"]', { timeout: 120000 });
  return page.$eval('#download', async (a) => {
    const digest = await crypto.subtle.digest('SHA-256', await (await fetch(a.href)).arrayBuffer());
    return [a.download, [...new Uint8Array(digest)].map((b) => b.toString(16).padStart(2, '0')).join('')];
  });
}

function nativeSha({ code, size, count, still, small }, out) {
  const flags = [...(still ? ['--still'] : []), ...(small ? ['--small'] : [])];
  execFileSync(renderExe, ['--params', code, '--size', size, '--count', count, '--quiet', '--out', out, ...flags]);
  return createHash('sha256').update(readFileSync(out)).digest('hex');
}

async function sameBytesAndProgress(page) {
  await page.evaluate(() => new MutationObserver(() => window.seen.push(['progress', 'frame'].map((id) =>
    Number(document.getElementById(id).textContent.match(/^(\d+) %  готово|№  (\d+)$/)?.slice(1).join(''))))
  ).observe(document.querySelector('.status'), { subtree: true, childList: true }));
  for (const [i, picture] of cases.sameBytes.entries()) {
    await page.evaluate(() => { window.seen = []; });
    await start(page, picture);
    assert.deepEqual(await finished(page), [`Kaleidrix_${i + 1}.GIF`, nativeSha(picture, join(scratch, `${i}.gif`))]);
    assert.equal(await text(page, 'shown-code'), picture.code);
    // Every percentage and picture number shown: never back, no picture skipped.
    const seen = (await page.evaluate(() => window.seen)).filter(([p]) => p === p);
    assert.ok(seen.every(([p, f], k) => k === 0 || (p >= seen[k - 1][0] && [0, 1].includes(f - seen[k - 1][1]))));
    assert.deepEqual([seen[0], seen.at(-1)[1]], [[0, 1], Number(picture.count)]);
  }
  // The workers' frame files: only the last run's are kept, the ones its file is made of,
  // and those go once the page that made them has.
  const frameFiles = () => page.evaluate(async () => {
    const names = [];
    for await (const name of (await (await navigator.storage.getDirectory()).getDirectoryHandle('frames')).keys()) names.push(name);
    return names;
  });
  const kept = await frameFiles();
  assert.ok(kept.length > 0 && new Set(kept.map((name) => name.replace(/\d+$/, ''))).size === 1, String(kept));
  await page.reload();
  await page.waitForSelector('#start:enabled');
  await page.waitForTimeout(500);
  assert.deepEqual(await frameFiles(), []);
}

async function refusalsAndStop(page) {
  for (const refusal of cases.refusals) {
    await start(page, refusal);
    assert.deepEqual([await text(page, 'message'), await text(page, 'start')], [refusal.text, cases.startCaption]);
  }
  for (const code of cases.badCodes) {
    await start(page, { count: '3', size: '200', code });
    assert.ok((await text(page, 'message')).startsWith(cases.badCodeStart), code);
    assert.deepEqual([await page.inputValue('#code'), await text(page, 'progress')], [code, '']);
  }
  await start(page, { count: '100', size: '1000' });
  await page.waitForFunction(() => document.getElementById('frame').textContent !== '');
  await page.click('#start');
  await page.waitForTimeout(1500);  // a worker left running would still report
  assert.deepEqual([await text(page, 'message'), await text(page, 'progress'), await text(page, 'start')],
    [cases.stopped, '', cases.startCaption]);
  assert.equal(await page.getAttribute('#download', 'href'), null);
}

async function settingsKept(page) {
  for (const [id, value] of [['count', '7'], ['size', '300'], ['still'], ['mobile'], ['size', '500'], ['count', '7']]) {
    await (value ? page.fill(`#${id}`, value) : page.check(`#${id}`));
  }
  assert.equal(await page.inputValue('#size'), '128', 'the mobile size comes back on leaving the box');
  await page.uncheck('#mobile');
  await page.check('#repeat');
  await page.reload();
  await page.waitForSelector('#start:enabled');
  const kept = await page.$$eval('#count, #size, #still, #repeat, #mobile', (all) => all.map((e) => e.value === 'on' ? e.checked : e.value));
  assert.deepEqual(kept, ['7', '300', false, true, true]);
}

// A phone: nothing wider than the screen, every control big enough for a finger.
async function phone(page) {
  await page.setViewportSize({ width: 390, height: 844 });
  await start(page, { count: '2', size: '400', code: cases.sameBytes[0].code });
  await finished(page);
  await page.click('#about summary');
  assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= document.documentElement.clientWidth));
  assert.deepEqual(await page.$$eval('button, input:not([type=checkbox]), label:has(input[type=checkbox]), a, summary',
    (all) => all.filter((e) => e.offsetParent && e.getBoundingClientRect().height < 44).map((e) => e.outerHTML)), []);
}

// A worker that cannot start and a core that cannot load each say so.
async function failures() {
  const context = await browse('failures', { serviceWorkers: 'block' });
  const page = context.pages()[0];
  await page.route('**/worker.js', (route) => route.fulfill({ contentType: 'text/javascript', body: 'throw 1;' }));
  await page.goto(url);
  await page.waitForSelector('#start:enabled');
  await start(page, { count: '3', size: '50' });
  await says(page, cases.workerFailed);
  assert.equal(await page.getAttribute('#download', 'href'), null);
  // Workers that cannot keep frame files send their frames themselves: the same file.
  await page.unroute('**/worker.js');
  const worker = readFileSync(join(pageDir, 'worker.js'), 'utf8');
  await page.route('**/worker.js', (route) => route.fulfill({ contentType: 'text/javascript',
    body: `Object.defineProperty(navigator, 'storage', { value: undefined });\n${worker}` }));
  const picture = { ...cases.sameBytes[4], count: '9' };
  await start(page, picture);
  assert.equal((await finished(page))[1], nativeSha(picture, join(scratch, 'no-files.gif')));
  await page.route('**/pestrolik_core.wasm', (route) => route.abort());
  await page.reload();
  await says(page, cases.noCore);
  await context.close();
}

const server = serve();
const context = await browse('main');
try {
  const page = context.pages()[0];
  await page.waitForTimeout(500);  // the server starting
  await page.goto(url);
  await page.waitForSelector('#start:enabled');
  for (const check of [failures, sameBytesAndProgress, refusalsAndStop, settingsKept, phone]) {
    await check(page);
    console.log(`ok ${check.name}`);
  }
  // Offline: the server gone, the page comes back from its cache and still makes a file.
  await page.evaluate(() => navigator.serviceWorker.ready);
  server.kill();
  await context.setOffline(true);
  await page.reload();
  await page.waitForSelector('#start:enabled');
  await start(page, { count: '1', size: '10', code: cases.sameBytes[0].code });
  await finished(page);
  console.log('ok offline');
} finally {
  await context.close();
  server.kill();
  rmSync(scratch, { recursive: true, force: true });
}
