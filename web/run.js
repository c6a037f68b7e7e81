// One file made in the background: one worker per core (never more than frames), each
// with its own instance of the core, taken from the page's pool. Frames are handed out
// in order, in short runs of consecutive frames per worker (a small frame needs the
// picture before it, which the worker then has at hand). A frame comes back as where
// its worker wrote it (frame_files.js) or as a Blob, and the frames are joined strictly
// in order by reference; the page's thread copies no bytes.
import { framesFiles, newRunName, removeFrameFiles } from './frame_files.js';

const perWorker = 2;  // frames queued on a worker, so it never waits for the page
const longestRun = 8; // frames in a worker's run; shorter near the end, so no worker idles long

// `file`: {code, pictureSize, frameCount, still, small}. hooks.progress({frameNo, percent,
// share}) never goes back; hooks.end({outcome: 'done', blob, firstFrame} | {outcome:
// 'failed'}) comes once, unless stop() came first; firstFrame is a file of the first
// picture alone. Returns {stop}: ends the workers at once.
export function startRun(core, pool, file, hooks) {
  const { frameCount, pictureSize } = file;
  const workers = pool.take(Math.min(navigator.hardwareConcurrency || 1, frameCount));
  const inFlight = new Map();  // worker -> frames given and not yet back
  const ready = new Map();     // frameNo -> the frame, waiting for the frames before it
  const rowsBegun = new Map(); // frameNo -> last row reported
  // The head and the frames so far, in order: a frame is a Blob or {name, at, length} in
  // a frame file.
  const parts = [core.fileHead(file)];
  const runName = newRunName();  // each worker's frame file: this and its number
  const fileNames = new Map(workers.map((worker, i) => [worker, `${runName}${i}`]));
  let joined = 0;
  let nextOut = 1;
  let shown = { frameNo: 0, percent: -1, share: -1 };
  let over = false;

  const end = (result) => {
    if (over) return;
    over = true;
    // Done, every frame is back and the workers are idle; otherwise they may still be
    // busy with frames nobody wants.
    if (result?.outcome === 'done') {
      pool.giveBack(workers);
      // Earlier runs' files: their pictures are gone from the page, and any download
      // of them is long over.
      removeFrameFiles({ keep: runName });
    } else {
      pool.endAll();
      removeFrameFiles({ only: runName });
    }
    nextTask.port1.close();
    if (result) hooks.end(result);
  };

  const report = () => {
    const frameNo = Math.min(joined + 1, frameCount);
    const row = joined === frameCount ? pictureSize : (rowsBegun.get(frameNo) ?? 0);
    const percent = core.percentDone(frameNo, row, pictureSize, frameCount);
    const share = ((frameNo - 1) * pictureSize + row) / (frameCount * pictureSize);
    if (frameNo < shown.frameNo || percent < shown.percent || share <= shown.share) return;
    shown = { frameNo, percent, share };
    hooks.progress(shown);
  };

  const runs = new Map();  // worker -> {next, last}: the frames of its run not yet given
  const handOut = () => {
    for (const worker of workers) {
      const run = runs.get(worker);
      while (inFlight.get(worker) < perWorker) {
        if (run.next > run.last) {
          // Frames far ahead of the join would only wait in memory.
          if (nextOut > frameCount || nextOut > joined + workers.length * longestRun) break;
          const length = Math.min(longestRun, Math.ceil((frameCount - nextOut + 1) / (2 * workers.length)));
          Object.assign(run, { next: nextOut, last: nextOut + length - 1 });
          nextOut += length;
        }
        inFlight.set(worker, inFlight.get(worker) + 1);
        worker.postMessage({ file, frameNo: run.next++, fileName: fileNames.get(worker) });
      }
    }
  };

  // One frame per task, so every frame's progress reaches the page before the next.
  const nextTask = new MessageChannel();
  const join = () => {
    if (over || !ready.has(joined + 1)) return;
    parts.push(ready.get(joined + 1));
    ready.delete(++joined);
    rowsBegun.delete(joined);
    report();
    if (joined === frameCount) {
      for (const worker of workers) worker.postMessage({ close: true });
      return;
    }
    handOut();
    if (ready.has(joined + 1)) nextTask.port2.postMessage(null);
  };
  nextTask.port1.onmessage = join;

  const failed = () => end({ outcome: 'failed' });

  // Every frame is in and every frame file closed: one Blob of them all, slices of the
  // files by reference. The page is told in a task of its own, so the round trips of
  // making this Blob and the page's never add up.
  const finish = async () => {
    const trailer = core.trailer();
    const files = await framesFiles(new Set(parts.filter((p) => p.name).map((p) => p.name)));
    const part = (p) => (p.name ? files.get(p.name).slice(p.at, p.at + p.length) : p);
    // Frames that follow each other in one file are one slice: a Blob of a hundred
    // slices costs the page's thread about 60 ms.
    const pieces = [];
    for (const p of parts) {
      const last = pieces.at(-1);
      if (p.name && last?.name === p.name && last.at + last.length === p.at) last.length += p.length;
      else pieces.push(p.name ? { ...p } : p);
    }
    const blob = new Blob([...pieces.map(part), trailer], { type: 'image/gif' });
    const firstFrame = new Blob([parts[0], part(parts[1]), trailer], { type: 'image/gif' });
    setTimeout(() => end({ outcome: 'done', blob, firstFrame }));
  };
  let open = workers.length;  // workers whose frame files are not yet closed

  const received = (worker, { frameNo, row, bytes, stored, closed, failed: crash }) => {
    if (over) return;
    if (crash !== undefined) return failed();
    if (closed) {
      if (--open === 0) finish().catch(failed);
      return;
    }
    if (bytes === undefined && stored === undefined) {
      rowsBegun.set(frameNo, row);
      if (frameNo === joined + 1) report();
      return;
    }
    inFlight.set(worker, inFlight.get(worker) - 1);
    ready.set(frameNo, stored ?? bytes);
    if (frameNo === joined + 1) join();
    else handOut();
  };

  for (const worker of workers) {
    inFlight.set(worker, 0);
    runs.set(worker, { next: 1, last: 0 });
    worker.onmessage = ({ data }) => received(worker, data);
    worker.onerror = (event) => { event.preventDefault(); failed(); };
    worker.onmessageerror = failed;
  }
  report();
  handOut();
  return { stop: () => end(null) };
}
