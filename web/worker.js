// One worker of a run: its own instance of the core, one frame per message. The bytes go
// back inside a Blob made here: a Blob passes to the page by reference, while making one
// from a buffer copies it out, which would cost the page's own thread tens of ms a frame.
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
