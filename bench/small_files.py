#!/usr/bin/env python3
"""Sizes and times of --small and --webp against the plain GIF, and of gifsicle -O3 of
the same plain file, over ten parameter codes, still and moving. Prints one line a case
and the medians.

    bench/small_files.py build/app/pestrolik-render [--cases 400x50,1000x100] [--codes 10] [--runs 2]

Times are the shortest of --runs runs of each file, the three kinds taken in turn, so
that a slow spell of the machine does not land on one kind alone.
"""
import argparse
import os
import random
import statistics
import subprocess
import tempfile
import time


def codes(count, size, seed=2026):
    rng = random.Random(seed)
    return [",".join(str(v) for v in (rng.randrange(10), rng.randrange(10), rng.randrange(10), rng.randrange(10),
                                        rng.randrange(4), rng.randrange(4), rng.randrange(4), rng.randrange(59),
                                        rng.randrange(3), size)) for _ in range(count)]


def render(exe, folder, name, size, count, code, still, extra):
    out = os.path.join(folder, name)
    args = [exe, "-q", "-s", str(size), "-c", str(count), "-p", code, "-o", out] + (["--still"] if still else []) + extra
    start = time.monotonic()
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL)
    return time.monotonic() - start


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("exe")
    parser.add_argument("--cases", default="400x50,1000x100")
    parser.add_argument("--codes", type=int, default=10)
    parser.add_argument("--runs", type=int, default=2)
    options = parser.parse_args()
    print("load average at start: %.2f %.2f %.2f, cores: %d" % (os.getloadavg() + (os.cpu_count(),)))
    for case in options.cases.split(","):
        size, count = (int(v) for v in case.split("x"))
        for still in (True, False):
            rows = []
            for code in codes(options.codes, size):
                with tempfile.TemporaryDirectory() as folder:
                    times = {"p.GIF": [], "s.GIF": [], "w.webp": []}
                    for _ in range(options.runs):
                        for name, extra in (("p.GIF", []), ("s.GIF", ["--small"]), ("w.webp", ["--webp"])):
                            path = os.path.join(folder, name)
                            if os.path.exists(path):
                                os.remove(path)
                            times[name].append(render(options.exe, folder, name, size, count, code, still, extra))
                    plain = os.path.join(folder, "p.GIF")
                    plain_bytes, plain_s = os.path.getsize(plain), min(times["p.GIF"])
                    small_bytes, small_s = os.path.getsize(os.path.join(folder, "s.GIF")), min(times["s.GIF"])
                    webp_bytes, webp_s = os.path.getsize(os.path.join(folder, "w.webp")), min(times["w.webp"])
                    squeezed = os.path.join(folder, "g.GIF")
                    subprocess.run(["gifsicle", "-O3", plain, "-o", squeezed], check=True)
                    gifsicle_bytes = os.path.getsize(squeezed)
                row = (small_bytes / plain_bytes, gifsicle_bytes / plain_bytes, webp_bytes / plain_bytes,
                       small_s / plain_s, webp_s / plain_s)
                rows.append(row)
                print("%dx%d %-6s %-24s small %.3f gifsicle %.3f%s webp %.3f  time small %.2fx webp %.2fx  (plain %d B, %.2f s)"
                      % (size, count, "still" if still else "moving", code, row[0], row[1],
                         "" if row[0] < row[1] else " (NOT SMALLER)", row[2], row[3], row[4], plain_bytes, plain_s),
                      flush=True)
            medians = [statistics.median(r[i] for r in rows) for i in range(5)]
            beaten = sum(r[0] < r[1] for r in rows)
            print("MEDIAN %dx%d %s: small/plain %.3f, gifsicle/plain %.3f, small below gifsicle in %d of %d, "
                  "webp/plain %.3f, time small %.2fx, webp %.2fx"
                  % (size, count, "still" if still else "moving", medians[0], medians[1], beaten, len(rows),
                     medians[2], medians[3], medians[4]), flush=True)
    print("load average at end: %.2f %.2f %.2f" % os.getloadavg())


if __name__ == "__main__":
    main()
