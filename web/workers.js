// The page's workers, one per core, kept from run to run. The browser first runs a
// worker's core unoptimised and optimises the code it runs most only as it goes, so a
// fresh worker makes its first large frames two or three times slower. These are made
// when the page opens and warmed on a few small frames while the page waits for START;
// a run that is stopped or fails ends them, and the next run makes new ones.

const warmUp = { code: '3,7,2,9,1,2,0,41,2,300', pictureSize: 300, frameCount: 100, still: false };

export function workerPool() {
  let workers = [];

  const idle = (worker) => {
    // A worker that breaks between runs is dropped; the next run makes another.
    const drop = () => {
      worker.terminate();
      workers = workers.filter((w) => w !== worker);
    };
    worker.onmessage = ({ data }) => { if (data.failed !== undefined) drop(); };
    worker.onerror = (event) => { event.preventDefault(); drop(); };
    worker.onmessageerror = drop;
  };

  const make = () => {
    const worker = new Worker(new URL('./worker.js', import.meta.url), { type: 'module' });
    idle(worker);
    workers.push(worker);
    return worker;
  };

  return {
    // Makes and warms a worker for each core.
    warm() {
      while (workers.length < (navigator.hardwareConcurrency || 1)) make().postMessage({ warm: warmUp });
    },
    // `count` workers for a run; they are the run's until it gives them back or ends them.
    take(count) {
      while (workers.length < count) make();
      return workers.slice(0, count);
    },
    giveBack(taken) { taken.forEach(idle); },
    endAll() {
      for (const worker of workers) worker.terminate();
      workers = [];
    },
  };
}
