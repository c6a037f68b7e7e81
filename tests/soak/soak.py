#!/usr/bin/env python3
"""Soak runs of pestrolik-render, too slow for ctest; run by hand, figures go in notes.

  soak.py signals  RENDER [RUNS]         RUNS (200) renders of 100 pictures of 1000 x 1000,
                                         each sent SIGTERM, SIGHUP, SIGINT or SIGKILL at a
                                         random moment; no file may be left that is not whole
  soak.py parallel RENDER [ROUNDS] [N]   N (8) renders at once into one folder, ROUNDS (25)
                                         times; all must succeed under distinct whole names

A whole file decodes with giflib and ends with the trailer 0x3B.
"""

import ctypes
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

giflib = ctypes.CDLL("libgif.so.7")
giflib.DGifOpenFileName.restype = ctypes.c_void_p
giflib.DGifOpenFileName.argtypes = [ctypes.c_char_p, ctypes.POINTER(ctypes.c_int)]
giflib.DGifSlurp.argtypes = [ctypes.c_void_p]
giflib.DGifCloseFile.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int)]
IMAGE_COUNT_OFFSET = 32  # GifFileType: four ints, a byte, the colour map pointer, then ImageCount


def whole(path, frames):
    with open(path, "rb") as f:
        f.seek(-1, os.SEEK_END)
        if f.read(1) != b"\x3b":
            return False
    error = ctypes.c_int(0)
    gif = giflib.DGifOpenFileName(path.encode(), ctypes.byref(error))
    if not gif:
        return False
    ok = giflib.DGifSlurp(gif) == 1
    count = ctypes.c_int.from_address(gif + IMAGE_COUNT_OFFSET).value
    giflib.DGifCloseFile(gif, ctypes.byref(error))
    return ok and count == frames


def judge(folder, frames):
    names = sorted(os.listdir(folder))
    pictures = [n for n in names if n.startswith("Kaleidrix_") and n.endswith(".GIF")]
    broken = [n for n in pictures if not whole(os.path.join(folder, n), frames)]
    others = [n for n in names if n not in pictures]
    return pictures, broken, others


def finished(folder, ok):
    """Keeps the folder of a failed soak for a look."""
    if ok:
        shutil.rmtree(folder)
    else:
        print(f"kept {folder}")
    return ok


def signals(render, runs):
    folder = tempfile.mkdtemp(prefix="pestrolik-soak-signals-", dir=os.getcwd())
    args = [render, "--count", "100", "--size", "1000", "--quiet", "--folder", folder]
    started = time.monotonic()
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL)
    full = time.monotonic() - started
    os.remove(os.path.join(folder, "Kaleidrix_1.GIF"))
    kinds = [signal.SIGTERM, signal.SIGHUP, signal.SIGINT, signal.SIGKILL]
    exits = {}
    for _ in range(runs):
        sig = random.choice(kinds)
        process = subprocess.Popen(args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(random.uniform(0, full * 1.1))
        process.send_signal(sig)
        code = process.wait()
        key = (sig.name, "completed" if code == 0 else str(code))
        exits[key] = exits.get(key, 0) + 1
    pictures, broken, others = judge(folder, 100)
    print(f"one whole run took {full:.2f} s; {runs} runs, exits by signal: {sorted(exits.items())}")
    print(f"Kaleidrix files: {len(pictures)}, not whole: {len(broken)} {broken}; other entries: {others}")
    expected = {(s.name, c) for s in kinds for c in ("completed", str(128 + s if s != signal.SIGKILL else -s))}
    unexpected = [k for k in exits if k not in expected]
    if unexpected:
        print(f"unexpected exits: {unexpected}")
    return finished(folder, not broken and not others and not unexpected)


def parallel(render, rounds, width):
    folder = tempfile.mkdtemp(prefix="pestrolik-soak-parallel-", dir=os.getcwd())
    args = [render, "--count", "2", "--size", "60", "--quiet", "--folder", folder]
    failed, names = 0, []
    for _ in range(rounds):
        processes = [subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
                     for _ in range(width)]
        for process in processes:
            out, err = process.communicate()
            if process.returncode != 0:
                failed += 1
                print(f"exit {process.returncode}: {err.strip()}")
            else:
                names.append(out.splitlines()[0])
    pictures, broken, others = judge(folder, 2)
    total = rounds * width
    print(f"{total - failed} of {total} succeeded, {len(set(names))} distinct names, "
          f"{len(pictures)} files, not whole: {len(broken)}, other entries: {others}")
    return finished(folder, failed == 0 and len(set(names)) == total == len(pictures) and not broken and not others)


def main():
    if len(sys.argv) < 3 or sys.argv[1] not in ("signals", "parallel"):
        sys.exit(__doc__)
    render = os.path.abspath(sys.argv[2])
    numbers = [int(a) for a in sys.argv[3:]]
    if sys.argv[1] == "signals":
        ok = signals(render, *(numbers[:1] or [200]))
    else:
        ok = parallel(render, *(numbers[:2] + [25, 8][len(numbers[:2]):]))
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
