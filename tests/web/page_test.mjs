// The browser edition in Debian's Chromium, driven as a user drives it: files the same
// byte for byte as pestrolik-render's, STOP, refusals, remembered settings, a broken
// core or worker, offline reload and a phone-sized screen.
// Usage: node page_test.mjs PAGE_FOLDER PESTROLIK_RENDER
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { chromium } from 'playwright-core';
import { serve } from './serve.mjs';

const [pageDir, renderExe] = process.argv.slice(2);
const cases = JSON.parse(readFileSync(new URL('data/cases.json', import.meta.url)));
const scratch = mkdtempSync(join(tmpdir(), 'pestrolik-web-'));
const flags = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];
const sha256 = (bytes) => createHash('sha256').update(bytes).digest('hex');

async function browse(name, options = {}) {
  return chromium.launchPersistentContext(join(scratch, name), {
    executablePath: '/usr/bin/chromium', args: flags, viewport: { width: 1280, height: 800 }, ...options,
  });
}

// Fills the boxes as a user would and presses START.
async function start(page, { count, size, code = '', still = false }) {
  await page.fill('#count', count);
  await page.fill('#size', size);
  await page.fill('#code', code);
  await page.setChecked('#still', still);
  await page.click('#start');
}

async function finished(page) {
  await page.waitForSelector('#download[href^="blob:"]', { timeout: 120000 });
  return page.evaluate(async () => {
    const bytes = new Uint8Array(await (await fetch(document.getElementById('download').href)).arrayBuffer());
    const digest = new Uint8Array(await crypto.subtle.digest('SHA-256', bytes));
    return { sha: [...digest].map((b) => b.toString(16).padStart(2, '0')).join(''),
      name: document.getElementById('download').download };
  });
}

function nativeSha({ code, size, count, still }) {
  const out = join(scratch, `native-${sha256(JSON.stringify([code, size, count, still]))}.gif`);
  execFileSync(renderExe, ['--params', code, '--size', size, '--count', count, '--quiet', '--out', out,
    ...(still ? ['--still'] : [])]);
  return sha256(readFileSync(out));
}

const text = (page, id) => page.$eval(`#${id}`, (e) => e.textContent);

async function sameBytesAndProgress(page) {
  // Every percentage and picture number shown, in order.
  await page.evaluate(() => {
    window.seen = [];
    new MutationObserver(() => window.seen.push([document.getElementById('progress').textContent,
      document.getElementById('frame').textContent])).observe(document.querySelector('.status'),
      { subtree: true, childList: true, characterData: true });
  });
  for (const [i, picture] of cases.sameBytes.entries()) {
    await start(page, picture);
    const file = await finished(page);
    assert.equal(file.sha, nativeSha(picture), `same bytes as pestrolik-render for ${JSON.stringify(picture)}`);
    assert.equal(file.name, `Kaleidrix_${i + 1}.GIF`);
    assert.equal(await text(page, 'shown-code'), picture.code);
    assert.equal(await text(page, 'start'), cases.startCaption);
  }
  // Runs are separated by the idle look's empty labels.
  const seen = await page.evaluate(() => window.seen);
  let run = [];
  const finishedRuns = [];
  for (const entry of [...seen, ['', '']]) {
    if (entry[0] !== '') { run.push(entry); continue; }
    if (run.length) finishedRuns.push(run);
    run = [];
  }
  assert.equal(finishedRuns.length, cases.sameBytes.length);
  for (const [i, shown] of finishedRuns.entries()) {
    const percents = shown.map(([p]) => Number(p.match(/^(\d+) %  готово$/)[1]));
    const frames = shown.map(([, f]) => Number(f.match(/^Создаётся картинка  №  (\d+)$/)[1]));
    assert.equal(percents[0], 0);
    for (let k = 1; k < shown.length; ++k) assert.ok(percents[k] >= percents[k - 1] && frames[k] >= frames[k - 1]);
    assert.deepEqual([...new Set(frames)], [...Array(Number(cases.sameBytes[i].count)).keys()].map((k) => k + 1),
      'every picture gets its number shown');
  }
}

async function refusalsAndStop(page) {
  for (const refusal of cases.refusals) {
    await start(page, refusal);
    assert.equal(await text(page, 'message'), refusal.text);
    assert.equal(await text(page, 'start'), cases.startCaption);
  }
  for (const code of cases.badCodes) {
    await start(page, { count: '3', size: '200', code });
    assert.ok((await text(page, 'message')).startsWith(cases.badCodeStart), code);
    assert.equal(await page.inputValue('#code'), code, 'the settings stay as they were');
    assert.equal(await text(page, 'progress'), '', 'nothing started');
  }
  await start(page, { count: '100', size: '1000' });
  await page.waitForFunction(() => document.getElementById('frame').textContent !== '');
  await page.click('#start');
  assert.equal(await text(page, 'message'), cases.stopped);
  await page.waitForTimeout(1500);  // a worker left running would still report
  assert.equal(await text(page, 'progress'), '');
  assert.equal(await page.getAttribute('#download', 'href'), null);
  assert.equal(await text(page, 'start'), cases.startCaption);
}

async function settingsKept(page) {
  await start(page, { count: '7', size: '300', code: '', still: true });
  await page.click('#start');  // STOP at once
  await page.check('#mobile');
  assert.equal(await page.inputValue('#size'), '128');
  await page.fill('#size', '500');
  await page.click('#count');
  assert.equal(await page.inputValue('#size'), '128', 'the mobile size comes back on leaving the box');
  await page.uncheck('#mobile');
  assert.equal(await page.inputValue('#size'), '300');
  await page.check('#repeat');
  await page.reload();
  await page.waitForSelector('#start:enabled');
  assert.deepEqual([await page.inputValue('#count'), await page.inputValue('#size'), await page.isChecked('#still'),
    await page.isChecked('#repeat'), await page.isChecked('#mobile')], ['7', '300', true, true, false]);
}

// A phone screen: nothing wider than it, every control big enough for a finger.
async function phone(page) {
  await page.setViewportSize({ width: 390, height: 844 });
  await start(page, { count: '2', size: '400', code: cases.sameBytes[0].code });
  await finished(page);
  await page.click('#about summary');
  assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= document.documentElement.clientWidth));
  const small = await page.$$eval('button, input:not([type=checkbox]), label:has(input[type=checkbox]), a, summary',
    (all) => all.filter((e) => e.offsetParent && e.getBoundingClientRect().height < 44).map((e) => e.outerHTML));
  assert.deepEqual(small, []);
}

async function offline(context, page, server) {
  await page.evaluate(() => navigator.serviceWorker.ready);
  await server.close();
  await context.setOffline(true);
  await page.reload();
  await page.waitForSelector('#start:enabled');
  await start(page, { count: '1', size: '10', code: cases.sameBytes[0].code });
  await finished(page);
}

// A worker that cannot start and a core that cannot load each say so.
async function failures(url) {
  const context = await browse('failures', { serviceWorkers: 'block' });
  const page = context.pages()[0] ?? await context.newPage();
  await page.route('**/worker.js', (route) => route.fulfill({ contentType: 'text/javascript', body: 'throw 1;' }));
  await page.goto(url);
  await page.waitForSelector('#start:enabled');
  await start(page, { count: '3', size: '50' });
  await page.waitForFunction((t) => document.getElementById('message').textContent.startsWith(t), cases.workerFailed);
  assert.equal(await page.getAttribute('#download', 'href'), null);
  await page.route('**/pestrolik_core.wasm', (route) => route.abort());
  await page.reload();
  await page.waitForFunction((t) => document.getElementById('message').textContent.startsWith(t), cases.noCore);
  await context.close();
}

const server = await serve(pageDir);
const context = await browse('main');
try {
  await failures(server.url);
  const page = context.pages()[0] ?? await context.newPage();
  await page.goto(server.url);
  await page.waitForSelector('#start:enabled');
  for (const check of [sameBytesAndProgress, refusalsAndStop, settingsKept, phone]) {
    await check(page);
    console.log(`ok ${check.name}`);
  }
  await offline(context, page, server);
  console.log('ok offline');
} finally {
  await context.close();
  await server.close();
  rmSync(scratch, { recursive: true, force: true });
}
