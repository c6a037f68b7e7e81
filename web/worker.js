// One worker of a run: its own instance of the core, one frame per message, the
// bytes handed back without a copy.
import createCore from './pestrolik_core.js';

const core = createCore();

self.onmessage = async ({ data: { file, frameNo } }) => {
  try {
    const instance = await core;
    const bytes = instance.frame(file, frameNo, (row) => self.postMessage({ frameNo, row }));
    self.postMessage({ frameNo, bytes: bytes.buffer }, [bytes.buffer]);
  } catch (error) {
    // Errors of an async handler never reach the page's error event: say it ourselves.
    self.postMessage({ failed: String(error?.message ?? error) });
  }
};
