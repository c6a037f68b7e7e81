#!/usr/bin/env python3
"""Soak runs of pestrolik-render, too slow for ctest; run by hand, figures go in notes.

  soak.py signals  RENDER [RUNS]         RUNS (200) renders of 100 pictures of 1000 x 1000
                                         on the hidden-temporary path, each sent one of
                                         the signals below at a random moment once it
                                         writes; no file may be left that is not whole, no
                                         temporary after a caught signal, and none of a
                                         SIGKILLed run after the next run
  soak.py parallel RENDER [ROUNDS] [N]   N (8) renders at once into one folder, ROUNDS (25)
                                         times; all must succeed under distinct whole names

A whole file decodes with giflib and ends with the trailer 0x3B. The hidden path is
forced by no_unnamed_files.cpp, built here and preloaded: it refuses O_TMPFILE.
"""

import ctypes
import glob
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


CAUGHT = [signal.SIGINT, signal.SIGTERM, signal.SIGHUP, signal.SIGQUIT, signal.SIGALRM, signal.SIGPIPE,
          signal.SIGUSR1, signal.SIGUSR2]


def refusing_unnamed_files(folder):
    """The environment of a render that cannot make unnamed files."""
    shim = os.path.join(folder, "no_unnamed_files.so")
    source = os.path.join(os.path.dirname(os.path.abspath(__file__)), "no_unnamed_files.cpp")
    subprocess.run(["c++", "-shared", "-fPIC", "-O2", "-o", shim, source, "-ldl"], check=True)
    return dict(os.environ, LD_PRELOAD=shim)


def temporaries(folder, pid="*"):
    return glob.glob(os.path.join(folder, f".pestrolik-{pid}-*.part"))


def start_writing(args, env, folder):
    """A render with every signal at its default, once it has a file open in `folder`."""
    process = subprocess.Popen(args, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               preexec_fn=lambda: [signal.signal(s, signal.SIG_DFL) for s in CAUGHT])
    fds = f"/proc/{process.pid}/fd"
    deadline = time.monotonic() + 10
    while process.poll() is None and time.monotonic() < deadline:
        try:
            if any(os.readlink(os.path.join(fds, fd)).startswith(folder + "/") for fd in os.listdir(fds)):
                break
        except OSError:
            pass
        time.sleep(0.001)
    return process


def signals(render, runs):
    work = tempfile.mkdtemp(prefix="pestrolik-soak-signals-", dir=os.getcwd())
    folder = os.path.join(work, "pictures")
    os.mkdir(folder)
    env = refusing_unnamed_files(work)
    args = [render, "--count", "100", "--size", "1000", "--quiet", "--folder", folder]
    started = time.monotonic()
    subprocess.run(args, env=env, check=True, stdout=subprocess.DEVNULL)
    full = time.monotonic() - started
    os.remove(os.path.join(folder, "Kaleidrix_1.GIF"))
    exits, after_caught, killed_left, after_next, killed = {}, 0, 0, 0, []
    for _ in range(runs):
        sig = random.choice(CAUGHT + [signal.SIGKILL])
        process = start_writing(args, env, folder)
        time.sleep(random.uniform(0, full * 1.05))
        process.send_signal(sig)
        code = process.wait()
        after_next += sum(len(temporaries(folder, pid)) for pid in killed)
        killed = [process.pid] if sig == signal.SIGKILL else []
        left = len(temporaries(folder, process.pid))
        if sig == signal.SIGKILL:
            killed_left += left
        else:
            after_caught += left
        key = (sig.name, "completed" if code == 0 else str(code))
        exits[key] = exits.get(key, 0) + 1
    subprocess.run([render, "-c", "1", "-s", "10", "-q", "--out", os.path.join(folder, "sweep.GIF")], env=env, check=True,
                   stdout=subprocess.DEVNULL)
    after_next += sum(len(temporaries(folder, pid)) for pid in killed)
    os.remove(os.path.join(folder, "sweep.GIF"))
    pictures, broken, others = judge(folder, 100)
    print(f"one whole run took {full:.2f} s; {runs} runs, exits by signal: {sorted(exits.items())}")
    print(f"temporaries left: after a caught signal {after_caught}; by SIGKILL {killed_left}, "
          f"of those after the next run {after_next}")
    print(f"Kaleidrix files: {len(pictures)}, not whole: {len(broken)} {broken}; other entries: {others}")
    expected = {(s.name, c) for s in CAUGHT + [signal.SIGKILL]
                for c in ("completed", str(128 + s if s != signal.SIGKILL else -s))}
    unexpected = [k for k in exits if k not in expected]
    if unexpected:
        print(f"unexpected exits: {unexpected}")
    return finished(work, not broken and not others and not unexpected and after_caught == 0 and after_next == 0)


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
