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


def syncsafe(size):
    return bytes([(size >> s) & 0x7F for s in (21, 14, 7, 0)])


def id3v2(frames, padding, major=3, flags=0):
    return (b"ID3" + bytes([major, 0, flags]) + syncsafe(len(frames) + padding) + frames +
            b"\0" * padding)


def frame24(fid, data, flags=0):
    return fid + syncsafe(len(data)) + bytes([0, flags]) + data


def utf16(text, order="le"):
    marks = {"le": b"\xff\xfe", "be": b"\xfe\xff", "bare": b""}
    return marks[order] + text.encode("utf-16-be" if order != "le" else "utf-16-le")


def unsynchronise(data):
    return data.replace(b"\xff", b"\xff\0")


def frames_of(header, length, count):
    return (bytes.fromhex(header) + b"\0" * (length - 4)) * count


def ape(items):
    """An APEv2 tag with its header: (key, flags, value) items."""
    body = b"".join(struct.pack("<II", len(v), f) + k + b"\0" + v for k, f, v in items)
    def part(flags):
        return b"APETAGEX" + struct.pack("<IIII", 2000, len(body) + 32, len(items), flags) + \
            b"\0" * 8
    return part(0xA0000000) + body + part(0x80000000)


# Audio behind a tag: frames that follow one another, as the reader checks.
audio = frames_of("FFFB9064", 417, 3)
mpeg2 = frames_of("FFF34064", 104, 4)
mpeg25 = frames_of("FFE38064", 417, 2)

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
    "id3v2-utf16-lame.mp3": id3v2(frame(b"TIT2", b"\1" + utf16("Gr\u00fc\u00dfe")) +
                                  frame(b"COMM", b"\1eng\0\0" + utf16("A comment")), 128) + audio,
    "id3v2-encodings.mp3": id3v2(frame(b"TIT2", b"\2" + utf16("\u00c5sa", "bare")) +
                                 frame(b"TPE1", b"\1" + utf16("BE", "be")) +
                                 frame(b"TALB", b"\3Caf\xc3\xa9") +
                                 frame(b"TCON", b"\1" + utf16("(17)") + b"\0\0"), 0, major=4) + mpeg2,
    "id3v2-priv-4k.mp3": id3v2(frame(b"PRIV", b"owner\0" + b"\xff" * 3000 + b"TIT2\0\0\0\5\0\0\0x") +
                               text(b"TIT2", b"Title"), 1000) + bytes.fromhex("FFFB9064") +
                         b"\0" * 500 + mpeg2,
    "id3v2-v24-flags.mp3": id3v2(b"\0\0\0\6\1\0" + frame24(b"TIT2", b"\0" + b"t" * 299) +
                                 b"TALB\0\0\1\x2c\0\0\0" + b"a" * 299 +
                                 frame24(b"TPE1", syncsafe(5) + b"\0A\xff\0\xe0z", 0x03) +
                                 frame24(b"TPE2", b"\7\0Band", 0x40) +
                                 frame24(b"TYER", b"\0\0\0\4x", 0x09), 0, major=4, flags=0x50) +
                           b"3DI\4\0\x50\0\0\0\0" + mpeg25,
    "id3v2-v23-unsync.mp3": id3v2(unsynchronise(b"\0\0\0\6" + b"\0" * 6 +
                                                text(b"TIT2", b"\xff\xe0\xff") +
                                                text(b"TALB", b"\xff")), 0, flags=0xC0) + audio,
    "id3v2-past-end.mp3": id3v2(text(b"TIT2", b"Short"), 100000)[:26],
    "id3v2-no-audio.mp3": id3v2(text(b"TIT2", b"Only a tag") + frame(b"PRIV", b"\xff" * 64), 16) +
                          b"not audio",
    "none-mpeg25.mp3": bytes.fromhex("FFE38064") + b"\0" * 600,
    "none-free-format.mp3": bytes.fromhex("FFFB0064") + b"\0" * 600,
    "none-reserved.mp3": bytes.fromhex("FFEBFC64") + b"\0" * 600,
    "none-text.mp3": b"just some text\n",
    # ID3v1.1's track byte; 2.4 values parted by NULs; a cover picture and an APEv2 tag
    # around the audio, which the length leaves out; FLAC named .mp3.
    "id3v1-track.mp3": audio + id3v1(b"Title", comment=b"Note" + b"\0" * 25 + b"\x07"),
    "id3v2-v24-values.mp3": id3v2(frame24(b"TPE1", b"\3One\0Two\0") +
                                  frame24(b"TCON", b"\0(17)\0Jazz"), 0, major=4) + audio,
    "both-cover-ape.mp3": id3v2(frame(b"APIC", b"\0image/jpeg\0\3\0" + b"\xff" * 20000), 0) +
                          audio + b"APETAGEX" + struct.pack("<IIII", 2000, 32, 0, 0) +
                          b"\0" * 8 + id3v1(b"Tail"),
    "none-flac.mp3": b"fLaC\0\0\0\x22" + b"\0" * 64,
    # An APEv2 tag alone: texts, one of two values, a binary cover. LAME's Info frame (no
    # sound) before tagged constant-rate audio; a Xing frame written as plain stereo.
    "ape-only.mp3": audio + ape([(b"Title", 0, b"Hello"), (b"Artist", 0, b"A\0B"),
                                 (b"Cover Art (Front)", 2, b"c.jpg\0\xff\xd8\xff")]),
    "id3v1-info-frame.mp3": (bytes.fromhex("FFFB9064") + b"\0" * 32 + b"Info" +
                             struct.pack(">III", 3, 1000, 320417) + b"\0" * 365 + audio +
                             id3v1(b"Info")),
    "id3v2-xing-stereo.mp3": id3v2(text(b"TIT2", b"Xing"), 0) + bytes.fromhex("FFFB9024") +
                             b"\0" * 32 + b"Xing" + struct.pack(">III", 3, 1000, 320417) +
                             b"\0" * 365 + audio,
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


def version_info(tables, translation=0x04B00409):
    fixed = struct.pack("<II", 0xFEEF04BD, 0x00010000) + b"\0" * 44
    sfi = block("StringFileInfo", 1, 0, b"",
                [block(name, 1, 0, b"", [string(k, v) for k, v in pairs])
                 for name, pairs in tables])
    var = block("VarFileInfo", 1, 0, b"",
                [block("Translation", 0, 4, struct.pack("<I", translation))])
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

british = version_info([("080904b0", [("CompanyName", "Colour Ltd"), ("FileVersion", "1.0")])],
                       0x04B00809)
dotnet = version_info([("007f04b0", [("CompanyName", "Neutral"), ("ProductName", "App")])],
                      0x04B00000)
user_wins = version_info([("040904B0", [("CompanyName", "Acme")]),
                          ("080904b0", [("CompanyName", "Acme UK"), ("FileVersion", "2")])],
                         0x04B00809)

pe_seeds = {
    "valid-british-only.dll": pe_file([(0x0809, british)]),
    "valid-neutral-only.dll": pe_file([(0x0000, dotnet)]),
    "valid-user-table-wins.dll": pe_file([(0x0409, user_wins)]),
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
