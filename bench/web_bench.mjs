// The page against pestrolik-render: 100 pictures of 1000x1000 in headless Chromium and
// natively (its default jobs, one per core), alternated, 3 pairs; prints each pair, the
// median ratio page / native, the longest main-thread task during the page's runs and
// the page's peak JS heap.
// Usage: node bench/web_bench.mjs build-web/page build/app/pestrolik-render [CODE] [--small]
// (--small: small files on both sides; plain ones otherwise)
import { execFileSync, spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { chromium } from '../tests/web/node_modules/playwright-core/index.mjs';

const small = process.argv.includes('--small');
const [pageDir, renderExe, code = '3,7,2,9,1,2,0,41,2,1000'] = process.argv.slice(2).filter((a) => a !== '--small');
const [count, size, pairs] = ['100', '1000', 3];
const scratch = mkdtempSync(join(tmpdir(), 'pestrolik-web-bench-'));

function native(run) {
  const out = join(scratch, `native-${run}.gif`);
  const started = process.hrtime.bigint();
  execFileSync(renderExe, ['--params', code, '--size', size, '--count', count, '--quiet', '--out', out, ...(small ? ['--small'] : [])]);
  const seconds = Number(process.hrtime.bigint() - started) / 1e9;
  rmSync(out);
  return seconds;
}

// One run in the page, timed from the click to the download link; the page watches its
// own long tasks meanwhile, or its heap is sampled.
async function inPage(page, cdp, sampleHeap = false) {
  await page.evaluate(() => {
    window.bench = { longest: 0 };
    new PerformanceObserver((list) => {
      for (const task of list.getEntries()) window.bench.longest = Math.max(window.bench.longest, task.duration);
    }).observe({ type: 'longtask' });
  });
  await page.fill('#count', count);
  await page.fill('#size', size);
  await page.fill('#code', code);
  await page.setChecked('#small', small);
  // Asking for the heap (from inside or through the DevTools protocol) costs the page
  // main-thread tasks of a second or more on these pictures, so a run either times or
  // weighs, never both.
  let heap = 0, sampling = sampleHeap;
  const sampler = (async () => {
    while (sampling) {
      heap = Math.max(heap, (await cdp.send('Runtime.getHeapUsage')).usedSize);
      await new Promise((done) => setTimeout(done, 50));
    }
  })();
  const started = await page.evaluate(() => performance.now());
  await page.click('#start');
  await page.waitForFunction(() => document.getElementById('download').href.startsWith('blob:'),
    null, { timeout: 600000, polling: 20 });
  const finished = await page.evaluate(() => ({ at: performance.now(), ...window.bench }));
  sampling = false;
  await sampler;
  return { seconds: (finished.at - started) / 1000, longest: finished.longest, heap };
}

const port = 20000 + (process.pid % 20000);
const server = spawn('python3', ['-m', 'http.server', String(port), '--bind', '127.0.0.1', '--directory', pageDir], { stdio: 'ignore' });
await new Promise((done) => setTimeout(done, 500));
const context = await chromium.launchPersistentContext(join(scratch, 'profile'), {
  executablePath: '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
const ratios = [];
let longest = 0;
let heap = 0;
try {
  const page = context.pages()[0] ?? await context.newPage();
  await page.goto(`http://127.0.0.1:${port}/`);
  await page.waitForSelector('#start:enabled');
  const cdp = await context.newCDPSession(page);
  for (let pair = 1; pair <= pairs; ++pair) {
    const nativeSeconds = native(pair);
    const run = await inPage(page, cdp);
    ratios.push(run.seconds / nativeSeconds);
    longest = Math.max(longest, run.longest);
    console.log(`pair ${pair}: native ${nativeSeconds.toFixed(2)} s, page ${run.seconds.toFixed(2)} s, `
      + `ratio ${(run.seconds / nativeSeconds).toFixed(2)}`);
  }
  heap = (await inPage(page, cdp, true)).heap;  // one more run, weighed
} finally {
  await context.close();
  server.kill();
  rmSync(scratch, { recursive: true, force: true });
}
ratios.sort((a, b) => a - b);
console.log(`median ratio page / native: ${ratios[1].toFixed(2)} (target <= 2.0)`);
console.log(`longest main-thread task: ${longest ? `${longest.toFixed(0)} ms` : 'none over 50 ms'} (target <= 50 ms)`);
console.log(`peak JS heap of the page: ${(heap / 2 ** 20).toFixed(1)} MiB`);
