// One worker of the page: its own instance of the core, one message at a time. A frame
// goes into this worker's frame file (frame_files.js) and back as where it lies, or,
// where no such file can be kept, back inside a Blob made here straight from the
// module's memory.
import createCore from './pestrolik_core.js';
import { frameWriter } from './frame_files.js';

const core = createCore();
const writer = frameWriter();

// `warm`: a small picture's frames, both ways, nothing said back; they only get the
// browser to optimise the core before the frames a run waits for.
const warmFrames = 12;

async function answer({ file, frameNo, fileName, warm, close }) {
  const instance = await core;
  if (warm) {
    for (let f = 1; f <= warmFrames; ++f) {
      for (const small of [false, true]) instance.frame({ ...warm, small }, f, () => {});
    }
    return;
  }
  if (close) {
    writer.close();
    self.postMessage({ closed: true });
    return;
  }
  await writer.open(fileName);
  // The frame's bytes are a view into the module's memory, valid until the next frame.
  const bytes = instance.frame(file, frameNo, (row) => self.postMessage({ frameNo, row }));
  const stored = writer.write(fileName, bytes);
  self.postMessage(stored ? { frameNo, stored } : { frameNo, bytes: new Blob([bytes]) });
}

// One message at a time: a frame's bytes must be written before the next frame is made.
let queue = Promise.resolve();
self.onmessage = ({ data }) => {
  queue = queue.then(() => answer(data)).catch((error) => {
    // Errors of an async handler never reach the page's error event: say it ourselves.
    self.postMessage({ failed: String(error?.message ?? error) });
  });
};
