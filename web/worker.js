// One worker of the page: its own instance of the core, one frame per message. The bytes go
// back inside a Blob made here straight from the module's memory (one copy): a Blob
// passes to the page by reference, while making one there from a buffer would cost the
// page's own thread about 10 ms a frame of 1000 x 1000.
import createCore from './pestrolik_core.js';

const core = createCore();

// `warm`: a small picture's frames, both ways, nothing said back; they only get the
// browser to optimise the core before the frames a run waits for.
const warmFrames = 12;

self.onmessage = async ({ data: { file, frameNo, warm } }) => {
  try {
    const instance = await core;
    if (warm) {
      for (let f = 1; f <= warmFrames; ++f) {
        for (const small of [false, true]) instance.frame({ ...warm, small }, f, () => {});
      }
      return;
    }
    const bytes = instance.frame(file, frameNo, (row) => self.postMessage({ frameNo, row }));
    self.postMessage({ frameNo, bytes: new Blob([bytes]) });
  } catch (error) {
    // Errors of an async handler never reach the page's error event: say it ourselves.
    self.postMessage({ failed: String(error?.message ?? error) });
  }
};
