#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# Writes the seed inputs of the document reader's fuzzer into corpus/docfile/, and from the
# documents among them those of the page export's (corpus/page/) and of an update's merge
# (corpus/merge/: each document followed by a small tree of the folder read again).
# The bytes are put together here, independently of the C++ writer. Run once; the
# files are committed.
import base64
import pathlib
import struct

out = pathlib.Path(__file__).resolve().parent / "corpus" / "docfile"
out.mkdir(parents=True, exist_ok=True)


def text(data):
    if isinstance(data, str):
        data = data.encode("utf-8")
    n = len(data)
    if n < 0xFF:
        return bytes([n]) + data
    if n < 0xFFFE:
        return b"\xff" + struct.pack("<H", n) + data
    return b"\xff\xff\xff" + struct.pack("<I", n) + data


def document(path, settings, rows, summary=(0, 0, 0), count=None):
    body = struct.pack("<Qii", *summary) + text(path)
    body += struct.pack("<7i", *settings)
    body += struct.pack("<i", len(rows) if count is None else count)
    for row in rows:
        for cell in row:
            body += text(cell)
    return body


def varint(n):
    out = b""
    while n >= 0x80:
        out += bytes([n & 0x7F | 0x80])
        n >>= 7
    return out + bytes([n])


# Extension block records: the kind (0 entry, 1 continuation, 2 details, 3 free) and marks;
# an entry with facts gives its level, the names it keeps of the last path, its new names.
KINDS = {"entry": 0, "continuation": 1, "details": 2, "free": 3}


def record(kind, gone=False, facts=None):
    flags = KINDS[kind] | (0x04 if gone else 0)
    if facts is None:
        return bytes([flags])
    level, kept, names, size, modified, attributes = facts
    encoded = [n if isinstance(n, bytes) else n.encode("utf-8") for n in names]
    plain = all(is_utf8(n) for n in encoded)
    flags |= 0x08 | (0 if plain else 0x20)
    body = bytes([flags]) + varint(level) + varint(kept) + varint(len(names))
    for n in encoded:
        body += text(n if plain else base64.b64encode(n))
    return body + varint(size) + struct.pack("<Q", modified) + varint(attributes)


def is_utf8(data):
    try:
        data.decode("utf-8")
        return True
    except UnicodeDecodeError:
        return False


def block(depth, content, records, count=None):
    head = b"DSCX" + struct.pack("<iiii", 1, depth, content,
                                 len(records) if count is None else count)
    return head + b"".join(records)


# Version 2 puts the volume record after the shape: flags (1: capacity and free known), the
# note, mount point, label, UUID and file system, the capacity, the free bytes, the date.
def block2(depth, content, volume, records, count=None):
    flags, texts, capacity, free, listed = volume
    head = b"DSCX" + struct.pack("<iii", 2, depth, content) + bytes([flags])
    head += b"".join(text(t) for t in texts) + varint(capacity) + varint(free)
    head += struct.pack("<Qi", listed, len(records) if count is None else count)
    return head + b"".join(records)


standard = (0, 1, 1, 1, 1, 1, 1)
cd = (2, 1, 1, 0, 1, 0, 0)
rows = [
    ("[music]", "", "    2.3 Mb", "", " 12/18/2002 14:05:09"),
    ("comments:", "the live set", "", "", ""),
    ("track01.mp3", "", "    3.1 Mb", "A", " 12/18/2002 14:05:09"),
    ("  *** Title", "Intro", "", "", ""),
]
small = document("/home/ann/music", standard, rows, (5000000000, 300, 7))

# A tree of all levels: the folder music with a comment row, its song.mp3 with details, a gone
# file whose name is not UTF-8, a row the user inserted and one of an older document.
TIME = 0x01C2A6B78E4D5C00
tree_rows = [
    ("| -[music]", "live set", "    2.3 Mb", "", ""),
    ("comments:", "second line", "", "", ""),
    ("|       song.mp3", "Id3v1 Tag:", "    2.3 Mb", "", ""),
    ("**Title:", "Intro", "", "", ""),
    ("   caf\u00e9 (gone)", "kept", "     1  b", "", ""),
    ("", "", "", "", ""),
    ("   old", "note", "", "", ""),
]
tree_records = [
    record("entry", facts=(1, 0, ["music"], 2400000, TIME, 0x10)),
    record("continuation"),
    record("entry", facts=(2, 1, ["song.mp3"], 2400000, TIME, 0x20)),
    record("details"),
    record("entry", gone=True, facts=(1, 0, [b"caf\xe9"], 1, TIME, 0x20)),
    record("free"),
    record("entry"),
]
tree = document("/home/ann", standard, tree_rows) + block(-1, 2, tree_records)
# Sorted by size, a file stands above its folder's row; a second file's folder has none.
orphan_rows = [("   b.txt", "", "", "", ""), ("[d]", "", "", "", ""), ("| -[x]", "", "", "", "")]
orphan = document("/srv", cd, orphan_rows) + block(0, 2, [
    record("entry", facts=(1, 0, ["d", "b.txt"], 9, TIME, 0x20)),
    record("entry", facts=(0, 0, ["d"], 9, TIME, 0x10)),
    record("entry", facts=(1, 0, ["e", "x"], 0, TIME, 0x10)),
])

VOLUME = (1, ["blue box, attic", "/media/ann/Backup 2019", "Backup 2019", "6A3B-11F2", "exfat"],
          2000398934016, 123456789, TIME)
volume = document("/media/ann/Backup 2019", standard, tree_rows) + block2(-1, 2, VOLUME, tree_records)

seeds = {
    "valid-block-volume.dsc": volume,
    "invalid-block-volume-free.dsc": document("/srv", cd, []) + block2(
        0, 2, (1, ["", "", "", "", ""], 5, 6, 0), []),
    "invalid-block-volume-bits.dsc": document("/srv", cd, []) + block2(
        0, 2, (2, ["", "", "", "", ""], 0, 0, 0), []),
    "valid-block-tree.dsc": tree,
    "valid-block-orphan.dsc": orphan,
    "invalid-block-row-count.dsc": document("/srv", cd, orphan_rows) + block(0, 2, [
        record("entry"), record("entry")], count=2),
    "invalid-block-bits.dsc": tree[:-1] + b"\x40",
    "invalid-block-truncated.dsc": tree[:-9],
    "invalid-block-trailing.dsc": tree + b"\x00",
    "invalid-block-slash.dsc": document("/srv", cd, orphan_rows[:1]) + block(0, 2, [
        record("entry", facts=(0, 0, ["a/b"], 1, TIME, 0x20))]),
    "invalid-block-kept.dsc": document("/srv", cd, orphan_rows[:1]) + block(0, 2, [
        record("entry", facts=(0, 1, ["a"], 1, TIME, 0x20))]),
    "invalid-block-level.dsc": document("/srv", cd, orphan_rows[:1]) + block(0, 2, [
        record("entry", facts=(100000000, 0, ["a"], 1, TIME, 0x20))]),
    "invalid-block-long-number.dsc": document("/srv", cd, orphan_rows[:1]) + block(0, 2, [
        record("entry", facts=(0, 0, ["a"], 1, TIME, 0x20))])[:-10] + b"\xff" * 10 + b"\x01",
    "invalid-long-path.dsc": b"\x00" * 16 + b"\xff\xff\xff" + struct.pack("<I", 32769),
    "valid-block-folder-twice.dsc": document("/srv", cd, [("[a]", "x", "", "", ""),
                                                          ("[a]", "y", "", "", "")]) + block(0, 2, [
        record("entry", facts=(0, 0, ["a"], 0, TIME, 0x10)),
        record("entry", facts=(0, 0, ["a"], 0, TIME, 0x10))]),
    "valid-deep-bars.dsc": document("/srv", standard, [("| " * 3000 + "-" * 3000 + "[x]", "", "", "", ""),
                                                       ("| " * 3 + " " * 9 + "f", "", "", "", "")]),

    "valid-empty-listing.dsc": document("/home/ann", cd, []),
    "valid-small-listing.dsc": small,
    "valid-size-only.dsc": document("/srv", cd, [("a.txt", "  1 Kb", "", "", "")]),
    "valid-255-byte-path.dsc": document("/" + "p" * 254, cd, []),
    "valid-long-cell.dsc": document("/", cd, [("n" * 300, "", "", "", "")]),
    "valid-windows-1252.dsc": document(b"/m\xfcsic", cd, [(b"caf\xe9", b"5 \x80", "", "", "")]),
    "valid-long-length-form.dsc": document("/", cd, [])[:16]
    + b"\xff\xff\xff\x01\x00\x00\x00/"
    + document("/", cd, [])[18:],
    "invalid-empty.dsc": b"",
    "invalid-truncated-row.dsc": small[:-7],
    "invalid-huge-row-count.dsc": document("/", cd, [("", "", "", "", "")], count=0x7FFFFFFF),
    "invalid-negative-row-count.dsc": document("/", cd, [], count=-1),
    "invalid-trailing-byte.dsc": small + b"\x00",
    "invalid-setting.dsc": document("/", (4, 1, 1, 0, 1, 0, 0), []),
    "invalid-text-report.dsc": (
        b"Dirscribe: Listing of   </home/ann/music> \r\n"
        b"Created on: Wed Dec 18 14:05:09 2002\r\n"
        b"Directory(Folder)  summary:  Size(bytes):                    1.5 Kb\r\n"
        b"SubFolders Total:....         0\r\n"
        b"Files Total:.........         1\r\n"
        b"Attributes: A - archive, H - hidden, S - system, R - read only\r\n"
    ),
}

for name, data in seeds.items():
    (out / name).write_bytes(data)

# The folder read again, a byte an entry (see MergeFuzz.cpp): a, the folder music with
# song.mp3 in it, a new file, then b one folder up.
new_read = bytes([0x00, 0x04 | 5 << 3, 0x01 | 1 << 3, 0x00 | 7 << 3, 0x02 | 1 << 3])
for corpus, suffix in (("page", b""), ("merge", new_read + bytes([len(new_read)]))):
    folder = out.parent / corpus
    folder.mkdir(exist_ok=True)
    for name, data in seeds.items():
        if name.startswith("valid-"):
            (folder / name).write_bytes(data + suffix)
