// A run's frames kept in files of the origin's private file system: each worker writes
// its frames straight from the module's memory into a file of its own, and the page
// joins slices of those files into the picture's Blob by reference. No frame passes
// through the page or through the browser's Blob storage (a third or more of a run's time
// at 1000 x 1000), and memory holds only the frames being made. Where that file system
// is missing or fails, a worker sends its frames in Blobs instead.

const folderName = 'frames';
// This page's files start with its name, made of the time it opened. While the page is
// open it holds a lock of that name, so another tab can tell its files from the
// left-overs of pages gone; where there are no locks, files a day old are left-overs.
const pageName = `${Date.now()}-${Math.random().toString(36).slice(2, 8)}`;
const lockPrefix = 'pestrolik-frames-';
const leftOverAfter = 24 * 60 * 60 * 1000;
let runs = 0;

const folder = () => navigator.storage.getDirectory().then((root) => root.getDirectoryHandle(folderName, { create: true }));

// A worker's writer: write(name, bytes) gives {name, at, length} where the bytes went,
// or null when they could not be kept (the caller then sends them itself); close()
// lets the page read the file.
export function frameWriter() {
  let file = null;  // {name, handle, at}
  let failed = !navigator.storage?.getDirectory || !globalThis.FileSystemSyncAccessHandle;
  const close = () => {
    try { file?.handle.close(); } catch { /* already closed */ }
    file = null;
  };
  return {
    // Opens the file `name` when it is new to this worker; async, so call it before a
    // frame is made, not between making and writing it.
    async open(name) {
      if (failed || file?.name === name) return;
      close();
      try {
        const entry = await (await folder()).getFileHandle(name, { create: true });
        file = { name, handle: await entry.createSyncAccessHandle(), at: 0 };
      } catch {
        failed = true;
      }
    },
    write(name, bytes) {
      if (failed || file?.name !== name) return null;
      try {
        if (file.handle.write(bytes, { at: file.at }) !== bytes.length) throw new Error('short write');
      } catch {
        failed = true;
        close();
        return null;
      }
      const kept = { name, at: file.at, length: bytes.length };
      file.at += bytes.length;
      return kept;
    },
    close() {
      try { file?.handle.flush(); } catch { /* nothing to flush */ }
      close();
    },
  };
}

// The files `names` as Files, by name, once their writers have closed them.
export async function framesFiles(names) {
  const files = new Map();
  const from = await folder();
  for (const name of names) files.set(name, await (await from.getFileHandle(name)).getFile());
  return files;
}

// The start of the names of a new run's files, one per worker.
export const newRunName = () => `${pageName}.${++runs}.`;

// Removes this page's frame files whose names start with `only` (any, if null) but not
// with `keep`. A file a worker still holds stays until the next time.
export async function removeFrameFiles({ only = null, keep = null } = {}) {
  await removeWhere((name) => name.startsWith(only ?? pageName) && !(keep && name.startsWith(keep)));
}

// Once, when the page opens: takes this page's lock for as long as it is open, and
// removes the files of pages that are gone.
export async function removeLeftOvers() {
  let open = null;  // names of open pages, where the browser can tell
  if (navigator.locks) {
    navigator.locks.request(lockPrefix + pageName, () => new Promise(() => {}));
    const { held = [] } = await navigator.locks.query();
    open = new Set(held.map((lock) => lock.name.slice(lockPrefix.length)));
  }
  await removeWhere((name) => {
    const page = name.slice(0, name.indexOf('.'));
    if (page === pageName) return false;
    return open ? !open.has(page) : Date.now() - Number.parseInt(name, 10) > leftOverAfter;
  });
}

async function removeWhere(gone) {
  try {
    const from = await folder();
    for await (const name of from.keys()) {
      if (gone(name)) await from.removeEntry(name).catch(() => {});
    }
  } catch { /* no such file system here */ }
}
