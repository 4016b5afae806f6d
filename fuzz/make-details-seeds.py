#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# Writes the seed inputs of the MP3 tag and program version fuzzers into corpus/media/ and
# corpus/pe/. The bytes are put together here, independently of the C++ test builders. Run
# once; the files are committed. Names tell the test that replays them what to expect.
import pathlib
import struct

root = pathlib.Path(__file__).resolve().parent / "corpus"
media = root / "media"
pe = root / "pe"
media.mkdir(parents=True, exist_ok=True)
pe.mkdir(parents=True, exist_ok=True)

# --- MP3 -------------------------------------------------------------------------------


def id3v1(title=b"", artist=b"", album=b"", year=b"", comment=b"", genre=255):
    def field(data, n):
        return data[:n].ljust(n, b"\0")

    return (b"TAG" + field(title, 30) + field(artist, 30) + field(album, 30) +
            field(year, 4) + field(comment, 30) + bytes([genre]))


def frame(fid, data, size=None):
    return fid + struct.pack(">I", len(data) if size is None else size) + b"\0\0" + data


def text(fid, value):
    return frame(fid, b"\0" + value)


def id3v2(frames, padding, major=3):
    size = len(frames) + padding
    syncsafe = bytes([(size >> s) & 0x7F for s in (21, 14, 7, 0)])
    return b"ID3" + bytes([major, 0, 0]) + syncsafe + frames + b"\0" * padding


MPEG1_L3_128 = bytes.fromhex("FFFB9064")
audio = MPEG1_L3_128 + b"\0" * 1200

full = (text(b"TIT2", b"Hello World") + text(b"TPE1", b"Soloist") + text(b"TPE2", b"Band") +
        text(b"TPE3", b"Conductor") + text(b"TALB", b"Album") + text(b"TYER", b"2001") +
        text(b"TRCK", b"7/12") + frame(b"COMM", b"\0eng" + b"desc\0" + b"the comment") +
        text(b"TCON", b"(17)(20)"))

seeds = {
    "id3v1-fields.mp3": b"x" * 64 + id3v1(b"Hello World", b" lead", b"Album  x", b"1999",
                                          b"Caf\xe9", 17),
    "id3v1-with-audio.mp3": audio + id3v1(b"Title", genre=147),
    "id3v2-all-frames.mp3": id3v2(full, 64) + audio,
    "id3v2-genre-text.mp3": id3v2(text(b"TCON", b"Rock") + text(b"TCON", b"(RX)"), 16) + audio,
    "id3v2-utf16.mp3": id3v2(frame(b"TIT2", b"\x01\xff\xfeH\0i\0") +
                             frame(b"COMM", b"\x01eng\0\0\xff\xfeA\0"), 8) + audio,
    "id3v2-lying-sizes.mp3": id3v2(frame(b"TIT2", b"", 0) + frame(b"TALB", b"\0", 1) +
                                   frame(b"COMM", b"\0eng\0x", 0x7E7E7E7E), 0),
    # The title's id ends on the last of the 4026 bytes searched for frames.
    "id3v2-id-at-head-end.mp3": id3v2(text(b"TALB", b"a" * 4001) + text(b"TIT2", b"Title"), 0),
    "id3v2-version-4.mp3": id3v2(text(b"TIT2", b"v2.4"), 4, major=4) + audio,
    "both-tags.mp3": id3v2(text(b"TIT2", b"From v2"), 16) + audio + id3v1(b"From v1"),
    "none-mpeg25.mp3": bytes.fromhex("FFE38064") + b"\0" * 600,
    "none-free-format.mp3": bytes.fromhex("FFFB0064") + b"\0" * 600,
    "none-reserved.mp3": bytes.fromhex("FFEBFC64") + b"\0" * 600,
    "none-text.mp3": b"just some text\n",
}
for name, data in seeds.items():
    (media / name).write_bytes(data)

# --- PE --------------------------------------------------------------------------------


def utf16z(s):
    return s.encode("utf-16-le") + b"\0\0"


def pad4(b):
    return b + b"\0" * (-len(b) % 4)


def block(key, vtype, vlen, value, children=()):
    body = pad4(b"\0" * 6 + utf16z(key)) + value
    for child in children:
        body = pad4(body) + child
    return struct.pack("<HHH", len(body), vlen, vtype) + body[6:]


def string(key, value):
    return block(key, 1, len(value) + 1, utf16z(value))


def version_info(tables):
    fixed = struct.pack("<II", 0xFEEF04BD, 0x00010000) + b"\0" * 44
    sfi = block("StringFileInfo", 1, 0, b"",
                [block(name, 1, 0, b"", [string(k, v) for k, v in pairs])
                 for name, pairs in tables])
    var = block("VarFileInfo", 1, 0, b"",
                [block("Translation", 0, 4, struct.pack("<I", 0x04B00409))])
    return block("VS_VERSION_INFO", 0, 52, fixed, [sfi, var])


def pe_file(resources, pe32plus=False, version_id=1):
    """resources: [(language, bytes)]; the resource section comes last in the file."""
    va = 0x1000
    n = len(resources)
    sec = struct.pack("<IIHHHH", 0, 0, 0, 0, 0, 1) + struct.pack("<II", 16, 0x80000018)
    sec += struct.pack("<IIHHHH", 0, 0, 0, 0, 0, 1) + struct.pack("<II", version_id, 0x80000030)
    sec += struct.pack("<IIHHHH", 0, 0, 0, 0, 0, n)
    data_entries = 0x30 + 16 + 8 * n
    for i, (lang, _) in enumerate(resources):
        sec += struct.pack("<II", lang, data_entries + 16 * i)
    entries = bytearray(16 * n)
    sec += bytes(entries)
    sec = bytearray(sec)
    for i, (_, data) in enumerate(resources):
        sec = bytearray(pad4(bytes(sec)))
        struct.pack_into("<II", sec, data_entries + 16 * i, va + len(sec), len(data))
        sec += data
    has = n > 0
    opt_size = 240 if pe32plus else 224
    f = bytearray(0x200)
    f[0:2] = b"MZ"
    struct.pack_into("<I", f, 0x3C, 0x40)
    f[0x40:0x44] = b"PE\0\0"
    struct.pack_into("<HHIIIHH", f, 0x44, 0x8664 if pe32plus else 0x14C, 1 if has else 0,
                     0, 0, 0, opt_size, 0x2102)
    opt = 0x58
    struct.pack_into("<H", f, opt, 0x20B if pe32plus else 0x10B)
    count_at = opt + (108 if pe32plus else 92)
    struct.pack_into("<I", f, count_at, 16)
    if has:
        struct.pack_into("<II", f, count_at + 4 + 16, va, len(sec))
        sh = opt + opt_size
        struct.pack_into("<8sIIIIIIHHI", f, sh, b".rsrc", len(sec), va, len(sec), 0x200,
                         0, 0, 0, 0, 0x40000040)
        f += sec
    return bytes(f)


english = version_info([("040904B0", [("CompanyName", "Acme Corp"), ("FileVersion", "1.2.3"),
                                      ("FileDescription", "Soci\u00e9t\u00e9 \U0001F600"),
                                      ("Comments", "")])])
latin = version_info([("040904e4", [("companyname", "Latin Ltd"), ("ProductName", "Tool")])])
german = version_info([("040704B0", [("CompanyName", "Firma")]),
                       ("080704B0", [("CompanyName", "Firma CH")])])
neutral = version_info([("040904B0", [("CompanyName", "Neutral")]),
                        ("080704B0", [("CompanyName", "Neutral CH")])])

pe_seeds = {
    "valid-pe32.dll": pe_file([(0x0409, english)]),
    "valid-pe32plus.dll": pe_file([(0x0409, english)], pe32plus=True),
    "valid-latin.dll": pe_file([(0x0409, latin)]),
    "valid-languages.dll": pe_file([(0x0407, german), (0x0007, german), (0x0000, neutral),
                                    (0x0409, english)]),
    "invalid-truncated.dll": pe_file([(0x0409, english)])[:-40],
    "invalid-no-resource.dll": pe_file([]),
    "invalid-id-2.dll": pe_file([(0x0409, english)], version_id=2),
    "invalid-not-pe.dll": b"MZ" + b"\0" * 58 + struct.pack("<I", 0x40) + b"NE\0\0" + b"\0" * 64,
    "block-english.bin": english,
    "block-latin.bin": latin,
}
for name, data in pe_seeds.items():
    (pe / name).write_bytes(data)
