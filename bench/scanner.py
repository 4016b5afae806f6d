#!/usr/bin/env python3
"""Times `dirscribe list` against `du -sb` on the synthetic trees of make-tree.py, warm cache.

For each scale the three commands run in turn, round after round, so that a busy moment of
a shared machine falls on all of them alike; the table gives each one's median wall time,
its ratio to du's, and the most memory it held (peak resident set) per listed entry.

usage: scanner.py DIRSCRIBE TREE_PREFIX [SCALE...]   (BENCH_RUNS rounds, default 5)"""
import os
import statistics
import subprocess
import sys
import tempfile

here = os.path.dirname(os.path.abspath(__file__))
program = sys.argv[1]
prefix = sys.argv[2]
scales = [int(s) for s in sys.argv[3:]] or [1, 2, 4]
rounds = int(os.environ.get("BENCH_RUNS", "5"))
profile = os.path.join(tempfile.gettempdir(), f"dirscribe-bench-profile-{os.getpid()}.ini")


def listing(tree, depth):
    return [program, "list", tree, "--profile", profile, "--layout", "standard",
            "--columns", "comments,size,attr,date", "--depth", depth, "--txt", "-"]


def run(command):
    """Wall seconds and peak resident bytes of one run, its output thrown away. GNU time
    reports the peak: a child started from here directly would inherit this process's."""
    result = subprocess.run(["/usr/bin/time", "-f", "%e %M"] + command,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    if result.returncode != 0:
        sys.exit(f"failed: {' '.join(command)}\n{result.stderr}")
    seconds, kib = result.stderr.split()[-2:]
    return float(seconds), int(kib) * 1024


def listed_rows(tree):
    with subprocess.Popen(listing(tree, "all"), stdout=subprocess.PIPE) as child:
        # Every record's second line, the one with its values, starts with a blank.
        return sum(1 for line in child.stdout if line.startswith(b" "))


print(f"\nScanner: medians of {rounds} alternating runs, warm cache, output to /dev/null")
print(f"{'entries':>9} {'command':<16} {'seconds':>8} {'/ du -sb':>9} {'peak MiB':>9} "
      f"{'bytes/entry':>12}")
for scale in scales:
    tree = f"{prefix}-{scale}"
    subprocess.run([sys.executable, os.path.join(here, "make-tree.py"), tree, str(scale)],
                   check=True)
    commands = {"du -sb": ["du", "-sb", tree], "depth 0": listing(tree, "0"),
                "depth all": listing(tree, "all")}
    for command in commands.values():  # warms the cache
        run(command)
    rows = listed_rows(tree)
    times = {name: [] for name in commands}
    peaks = {name: 0 for name in commands}
    for _ in range(rounds):
        for name, command in commands.items():
            seconds, peak = run(command)
            times[name].append(seconds)
            peaks[name] = max(peaks[name], peak)
    du = statistics.median(times["du -sb"])
    for name in commands:
        median = statistics.median(times[name])
        per_entry = f"{peaks[name] / rows:12.0f}" if name == "depth all" else f"{'':12}"
        print(f"{rows:9d} {name:<16} {median:8.3f} {median / du:9.2f} "
              f"{peaks[name] / 2**20:9.1f} {per_entry}")
