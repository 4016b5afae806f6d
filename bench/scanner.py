#!/usr/bin/env python3
"""Times `dirscribe list` against `du -sb` on the synthetic trees of make-tree.py, warm cache.

For each scale the commands run in turn, round after round, so that a busy moment of a
shared machine falls on all of them alike; the table gives each one's median wall time,
its ratio to du's, and the most memory it held (peak resident set) per listed entry. With
the view benchmark given, the window reads the tree too (its own time from the refresh
until the table is painted, against the command line's). At the largest scale the document
file and the PDF of the listing are written once each, for their memory.

usage: scanner.py DIRSCRIBE TREE_PREFIX [VIEW_BENCH] (BENCH_SCALES, default "1 2 4";
       BENCH_RUNS rounds, default 5)"""
import os
import re
import statistics
import struct
import subprocess
import sys
import tempfile

here = os.path.dirname(os.path.abspath(__file__))
program = sys.argv[1]
prefix = sys.argv[2]
view = sys.argv[3] if len(sys.argv) > 3 and os.access(sys.argv[3], os.X_OK) else None
scales = [int(s) for s in os.environ.get("BENCH_SCALES", "1 2 4").split()]
rounds = int(os.environ.get("BENCH_RUNS", "5"))
# An empty profile: every setting at its default.
profile_file = tempfile.NamedTemporaryFile(prefix="dirscribe-bench-profile-", suffix=".ini")
profile = profile_file.name


def listing(tree, depth, output=("--txt", "-")):
    return [program, "list", tree, "--profile", profile, "--layout", "standard",
            "--columns", "comments,size,attr,date", "--depth", depth, *output]


def run(command):
    """Wall seconds, peak resident bytes and output of one run. GNU time reports the peak:
    a child started from here directly would inherit this process's."""
    result = subprocess.run(["/usr/bin/time", "-f", "%e %M"] + command,
                            stdout=subprocess.PIPE if command[0] == view else subprocess.DEVNULL,
                            stderr=subprocess.PIPE, text=True)
    if result.returncode != 0:
        sys.exit(f"failed: {' '.join(command)}\n{result.stderr}")
    seconds, kib = result.stderr.split()[-2:]
    return float(seconds), int(kib) * 1024, result.stdout


def listed_rows(tree):
    """The row count a document file of the listing announces."""
    with tempfile.TemporaryDirectory() as folder:
        document = os.path.join(folder, "listing.dsc")
        subprocess.run(listing(tree, "all", ("--dsc", document)), check=True)
        with open(document, "rb") as file:
            data = file.read()
    at = 16
    length = data[at]
    at += 1
    if length == 0xFF:
        length = struct.unpack_from("<H", data, at)[0]
        at += 2
    return struct.unpack_from("<i", data, at + length + 7 * 4)[0]


def window_seconds(output):
    return float(re.search(r"until painted\s+([0-9.]+) s", output).group(1))


print(f"\nScanner: medians of {rounds} alternating runs, warm cache, report to /dev/null")
print(f"{'entries':>9} {'command':<28} {'seconds':>8} {'ratio':>8} {'peak MiB':>9} "
      f"{'bytes/entry':>12}")
for scale in scales:
    tree = f"{prefix}-{scale}"
    subprocess.run([sys.executable, os.path.join(here, "make-tree.py"), tree, str(scale)],
                   check=True)
    commands = {"du -sb": ["du", "-sb", tree], "list --depth 0": listing(tree, "0"),
                "list --depth all": listing(tree, "all")}
    if view:
        commands["window, depth all"] = [view, tree]
    for command in commands.values():  # warms the cache
        run(command)
    rows = listed_rows(tree)
    times = {name: [] for name in commands}
    peaks = {name: 0 for name in commands}
    for _ in range(rounds):
        for name, command in commands.items():
            seconds, peak, output = run(command)
            times[name].append(window_seconds(output) if command[0] == view else seconds)
            peaks[name] = max(peaks[name], peak)
    medians = {name: statistics.median(values) for name, values in times.items()}
    for name in commands:
        # The window is measured against the command line, everything else against du.
        base = medians["list --depth all" if name.startswith("window") else "du -sb"]
        listed = name.endswith("all")
        per_entry = f"{peaks[name] / rows:12.0f}" if listed else f"{'':12}"
        print(f"{rows:9d} {name:<28} {medians[name]:8.3f} {medians[name] / base:8.2f} "
              f"{peaks[name] / 2**20:9.1f} {per_entry}")
    if scale == max(scales):
        for name, output in (("--dsc, once", ("--dsc", "/dev/null")),
                             ("--pdf, once", ("--pdf", "/dev/null"))):
            seconds, peak, _ = run(listing(tree, "all", output))
            print(f"{rows:9d} {name:<28} {seconds:8.3f} {'':8} {peak / 2**20:9.1f} "
                  f"{peak / rows:12.0f}")
print("ratio: to du -sb; the window's to the command line at depth all")
