#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# Writes the seed inputs of the document reader's fuzzer into corpus/docfile/.
# The bytes are put together here, independently of the C++ writer. Run once; the
# files are committed.
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


standard = (0, 1, 1, 1, 1, 1, 1)
cd = (2, 1, 1, 0, 1, 0, 0)
rows = [
    ("[music]", "", "    2.3 Mb", "", " 12/18/2002 14:05:09"),
    ("comments:", "the live set", "", "", ""),
    ("track01.mp3", "", "    3.1 Mb", "A", " 12/18/2002 14:05:09"),
    ("  *** Title", "Intro", "", "", ""),
]
small = document("/home/ann/music", standard, rows, (5000000000, 300, 7))

seeds = {
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
