// One worker of a run: its own instance of the core, one frame per message. The bytes go
// back inside a Blob made here straight from the module's memory (one copy): a Blob
// passes to the page by reference, while making one there from a buffer would cost the
// page's own thread about 10 ms a frame of 1000 x 1000.
import createCore from './pestrolik_core.js';

const core = createCore();

self.onmessage = async ({ data: { file, frameNo } }) => {
  try {
    const instance = await core;
    const bytes = instance.frame(file, frameNo, (row) => self.postMessage({ frameNo, row }));
    self.postMessage({ frameNo, bytes: new Blob([bytes]) });
  } catch (error) {
    // Errors of an async handler never reach the page's error event: say it ourselves.
    self.postMessage({ failed: String(error?.message ?? error) });
  }
};
