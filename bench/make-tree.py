#!/usr/bin/env python3
"""Builds the synthetic tree the scanner benchmark lists: at scale 1 about 200,000 files in
20,000 folders (225,000 entries), ten of them wide (5,000 files each), with a deterministic
spread of sizes. Scale N makes N times as many top folders of the same shape, so the tree
grows linearly: scale 4 holds about 900,000 entries.

usage: make-tree.py ROOT [SCALE]"""
import os
import sys

root = sys.argv[1]
scale = int(sys.argv[2]) if len(sys.argv) > 2 else 1
marker = os.path.join(root, ".complete")
if os.path.exists(marker):
    sys.exit(0)

files = 0
folders = 0
sizes = [0, 17, 512, 4096, 70000]


def make_file(path, n):
    global files
    fd = os.open(path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
    size = sizes[n % len(sizes)]
    if size:
        os.ftruncate(fd, size)
    os.close(fd)
    files += 1


os.makedirs(root, exist_ok=True)
for a in range(20 * scale):
    for b in range(10):
        for c in range(100):
            folder = os.path.join(root, f"top{a:02d}", f"mid{b}", f"Leaf {c:03d}")
            os.makedirs(folder, exist_ok=True)
            wide = a % 20 < 10 and b == 0 and c == 0
            count = 5000 if wide else 7 + (a + b + c) % 2
            for n in range(count):
                make_file(os.path.join(folder, f"file{n:05d}.dat"), n + c)
            folders += 1
        folders += 1
    folders += 1
open(marker, "w").close()
print(f"built {files} files in {folders} folders under {root}", file=sys.stderr)
