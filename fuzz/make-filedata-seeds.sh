#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Writes the seed inputs of the File Data fuzzer into corpus/filedata/: the smallest real
# files of each kind that Debian's tools make (sox, flac, vorbis-tools, opus-tools, ffmpeg,
# ImageMagick, exiftool), a PDF written here, and damaged ones. Run once; the files are
# committed. Names tell the test that replays them what to expect ("valid-" files give
# rows, "invalid-" ones the no-data text).
set -euo pipefail
out=$(cd "$(dirname "$0")" && pwd)/corpus/filedata
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

sox -n -r 8000 -c 1 -b 16 tone.wav synth 0.2 sine 440
sox -n -r 8000 -c 1 -b 8 "$out/valid-audio.wav" synth 0.05 sine 440
flac -s --no-padding --tag=TITLE=Seed --tag=ARTIST=Fuzz tone.wav -o "$out/valid-audio.flac"
oggenc -Q -t Seed tone.wav -o "$out/valid-audio.ogg"
opusenc --quiet --title Seed tone.wav "$out/valid-audio.opus"
ffmpeg -v error -i tone.wav -metadata title=Seed -b:a 16k "$out/valid-audio.m4a"
convert -size 8x6 xc:red "$out/valid-photo.png"
convert -size 8x6 xc:red -quality 50 photo.jpg
exiftool -q -overwrite_original -Make=Canon -Model=EOS -DateTimeOriginal='2020:01:02 03:04:05' \
  -ExposureTime=1/125 -FNumber=2.8 -ISO=200 -FocalLength=50 -Orientation#=6 photo.jpg
cp photo.jpg "$out/valid-photo.jpg"
ffmpeg -v error -f lavfi -i testsrc=size=16x16:rate=1 -t 1 -pix_fmt yuv420p -c:v libx264 \
  -preset ultrafast "$out/valid-video.mp4"
ffmpeg -v error -f lavfi -i testsrc=size=16x16:rate=1 -f lavfi -i sine -t 1 -c:v libvpx-vp9 \
  -c:a libopus -b:a 6k "$out/valid-video.mkv"

# A one-page PDF with a title, its cross-reference offsets counted here.
python3 - "$out/valid-document.pdf" <<'PY'
import sys
objects = [b"<< /Type /Catalog /Pages 2 0 R >>",
           b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
           b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] >>",
           b"<< /Title (Seed) /Author (Fuzz) /Producer (Dirscribe seeds) >>"]
pdf = b"%PDF-1.4\n"
offsets = []
for number, body in enumerate(objects, 1):
    offsets.append(len(pdf))
    pdf += b"%d 0 obj\n%s\nendobj\n" % (number, body)
xref = len(pdf)
pdf += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
pdf += b"".join(b"%010d 00000 n \n" % offset for offset in offsets)
pdf += b"trailer\n<< /Size %d /Root 1 0 R /Info 4 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (
    len(objects) + 1, xref)
open(sys.argv[1], "wb").write(pdf)
PY

ffmpeg -v error -i tone.wav -c:a aac -b:a 16k -f adts "$out/valid-audio.aac"
ffmpeg -v error -i tone.wav -metadata title=Seed -metadata artist=Fuzz "$out/valid-info.wav"
qpdf --encrypt secret owner 256 -- "$out/valid-document.pdf" "$out/valid-locked.pdf"
# Ogg FLAC (TagLib's FLAC reader took it for its own); AAC at 96 kHz, which the sample
# entry's field cannot hold.
flac -s --ogg --serial-number=1 --tag=TITLE=Seed tone.wav -o "$out/valid-audio.oga"
ffmpeg -v error -i tone.wav -ar 96000 -c:a aac -b:a 16k "$out/valid-audio-96k.m4a"

head -c 40 "$out/valid-audio.flac" >"$out/invalid-cut.flac"
head -c 2000 /dev/zero >"$out/invalid-zeros.mp4"
printf '%%PDF-1.4\n%%%%EOF\n' >"$out/invalid-empty.pdf"
