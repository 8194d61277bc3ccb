#!/usr/bin/env python3
"""Prints the CPU time (user + system) and wall time a start of the program
costs: answering --version, and a start that hands over to a running instance.

    tools/measure_start_cpu.py [--runs N] build/rondelix [build/rondelix-app ...]

Starts the first program given once under a private home and runtime folder on
the current display (DISPLAY must be set) and waits until it is ready; then
times each kind of start N times (default 25) for every program given, the
programs taking turns, and prints the medians."""

import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time


def timed(program, arguments, environment):
    started = time.perf_counter()
    child = subprocess.Popen([program] + arguments, env=environment,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - started
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{program} {' '.join(arguments)} ended with status {os.waitstatus_to_exitcode(status)}")
    return (usage.ru_utime + usage.ru_stime) * 1000, wall * 1000


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--runs", type=int, default=25)
    parser.add_argument("programs", nargs="+")
    options = parser.parse_args()
    if not os.environ.get("DISPLAY"):
        sys.exit("DISPLAY is not set")
    programs = [os.path.abspath(p) for p in options.programs]
    with tempfile.TemporaryDirectory(prefix="rondelix-start-") as folder:
        runtime = os.path.join(folder, "runtime")
        os.mkdir(runtime, 0o700)
        environment = {"HOME": folder, "DISPLAY": os.environ["DISPLAY"], "PATH": os.environ.get("PATH", ""),
                       "XDG_RUNTIME_DIR": runtime, "TMPDIR": runtime}
        log_path = os.path.join(folder, "first.log")
        with open(log_path, "w") as log:
            first = subprocess.Popen([programs[0], "--verbose"], env=environment, stdout=log, stderr=log)
        try:
            deadline = time.monotonic() + 20
            while "Rondelix: ready." not in open(log_path).read():
                if time.monotonic() > deadline or first.poll() is not None:
                    sys.exit("the first instance did not get ready:\n" + open(log_path).read())
                time.sleep(0.1)
            for kind, arguments in (("--version", ["--version"]), ("hand-over", [])):
                samples = {p: [] for p in programs}
                for _ in range(options.runs):
                    for program in programs:
                        samples[program].append(timed(program, arguments, environment))
                for program in programs:
                    cpu = statistics.median(s[0] for s in samples[program])
                    wall = statistics.median(s[1] for s in samples[program])
                    print(f"{kind:<10} {os.path.basename(program):<14} CPU median {cpu:6.1f} ms   "
                          f"wall median {wall:6.1f} ms   ({options.runs} runs)")
        finally:
            first.terminate()
            first.wait(10)


if __name__ == "__main__":
    main()
