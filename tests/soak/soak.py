#!/usr/bin/env python3
# Soak runs of pestrolik-render, too slow for ctest; run by hand, figures go in notes.
#   signals: renders of one picture (100 of 1000 x 1000, the same code each time) on the
#     hidden-temporary path (no_unnamed_files.cpp, preloaded, refuses O_TMPFILE), each sent
#     a random ending signal or SIGKILL once it writes: every file left must be an
#     undisturbed run's bytes, no temporary may follow a caught signal, none of a SIGKILLed
#     run may outlive the next run.
"""usage: soak.py signals RENDER [RUNS=200]"""
import collections, filecmp, glob, os, random, shutil, signal, subprocess, sys, tempfile, time

CAUGHT = [getattr(signal, "SIG" + s) for s in "INT TERM HUP QUIT ALRM PIPE USR1 USR2".split()]


def temporaries(folder, pids):
    return sum(len(glob.glob(os.path.join(folder, f".pestrolik-{pid}-*.part"))) for pid in pids)


# A render with every signal at its default, once it has a file open in `folder`.
def start_writing(args, env, folder):
    p = subprocess.Popen(args, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                         preexec_fn=lambda: [signal.signal(s, signal.SIG_DFL) for s in CAUGHT])
    deadline = time.monotonic() + 10
    while p.poll() is None and time.monotonic() < deadline:
        try:
            fds = f"/proc/{p.pid}/fd"
            if any(os.readlink(f"{fds}/{fd}").startswith(folder + "/") for fd in os.listdir(fds)):
                break
        except OSError:
            pass
        time.sleep(0.001)
    return p


def signals(render, runs=200):
    folder = tempfile.mkdtemp(prefix="pestrolik-soak-signals-", dir=os.getcwd())
    shim = os.path.join(folder, ".shim.so")
    subprocess.run(["c++", "-shared", "-fPIC", "-O2", "-o", shim,
                    os.path.join(os.path.dirname(os.path.abspath(__file__)), "no_unnamed_files.cpp"), "-ldl"], check=True)
    env = dict(os.environ, LD_PRELOAD=shim)
    args = [render, "-c", "100", "-s", "1000", "-p", "3,7,2,9,1,2,0,41,2,1000", "-q", "--folder", folder]
    started = time.monotonic()
    subprocess.run(args, env=env, check=True, stdout=subprocess.DEVNULL)
    full = time.monotonic() - started
    reference = shutil.move(folder + "/Kaleidrix_1.GIF", folder + ".GIF")
    exits, left, killed = collections.Counter(), {"caught": 0, "SIGKILL": 0, "after the next run": 0}, []
    for _ in range(runs):
        sig = random.choice(CAUGHT + [signal.SIGKILL])
        p = start_writing(args, env, folder)
        time.sleep(random.uniform(0, full * 1.05))
        p.send_signal(sig)
        code = p.wait()
        left["after the next run"] += temporaries(folder, killed)
        killed = [p.pid] if sig == signal.SIGKILL else []
        left["SIGKILL" if killed else "caught"] += temporaries(folder, [p.pid])
        exits[(sig.name, "completed" if code == 0 else code)] += 1
    subprocess.run([render, "-c1", "-s10", "-q", "-o", folder + "/sweep.GIF"], env=env, check=True,
                   stdout=subprocess.DEVNULL)
    left["after the next run"] += temporaries(folder, killed)
    os.remove(shim), os.remove(folder + "/sweep.GIF")
    unexpected = [(s, c) for s, c in exits
                  if c not in ("completed", -signal.SIGKILL if s == "SIGKILL" else 128 + signal.Signals[s])]
    names = os.listdir(folder)
    wrong = [n for n in names if not (n.startswith("Kaleidrix_") and filecmp.cmp(folder + "/" + n, reference, False))]
    print(f"one whole run took {full:.2f} s; exits by signal: {sorted(exits.items(), key=str)}")
    print(f"temporaries left: {left}; unexpected exits: {unexpected}; files: {len(names)}, not whole or not ours: {wrong}")
    if unexpected or wrong or left["caught"] or left["after the next run"]:
        return print(f"kept {folder} and {reference}")
    os.remove(reference)
    shutil.rmtree(folder)
    return True


if __name__ == "__main__":
    if len(sys.argv) < 3 or sys.argv[1] != "signals":
        sys.exit(__doc__)
    sys.exit(0 if signals(os.path.abspath(sys.argv[2]), *map(int, sys.argv[3:])) else 1)
