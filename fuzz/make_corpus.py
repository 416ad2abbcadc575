#!/usr/bin/env python3
"""make_corpus.py SKIN_INI SKINPACK PNGSUITE OUT: writes the seed corpora and dictionaries of
the fuzz targets into OUT/corpus/<target>/ and OUT/dict/<target>.dict.

SKIN_INI is a generated skin description (build/skins/generated/skin0/skin.ini), SKINPACK the
built import tool, PNGSUITE the folder of the public PngSuite. Seeds are kept tiny so that every
target runs thousands of inputs a second from them: short descriptions (one record each),
packages of 2 x 2 pictures made by the import, the suite's basic PNGs, BMPs of every kind."""
import hashlib
import os
import pathlib
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

ini_path, skinpack, pngsuite, out = sys.argv[1:5]
out = pathlib.Path(out)
corpus = out / "corpus"
dicts = out / "dict"


def seed(target, data, name=None):
    d = corpus / target
    d.mkdir(parents=True, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("latin-1")
    name = name or hashlib.sha1(data).hexdigest()[:16]
    (d / name).write_bytes(data)


# ---- BMPs: 40-byte and larger headers, OS/2, every depth, bit fields, RLE, a gap ----

def bmp(width, height, bpp, pixels, table=b"", compression=0, header=40, masks=b"",
        gap=b"", clr_used=0, size_image=None):
    if header == 12:
        info = struct.pack("<IHHHH", 12, width, height & 0xFFFF, 1, bpp)
    else:
        info = struct.pack("<IiiHHIIiiII", header, width, height, 1, bpp, compression,
                           len(pixels) if size_image is None else size_image, 2835, 2835,
                           clr_used, 0)
        extra = masks if header > 40 else b""
        info += extra + bytes(header - len(info) - len(extra))
        if header == 40:
            info += masks
    offset = 14 + len(info) + len(table) + len(gap)
    body = info + table + gap + pixels
    return b"BM" + struct.pack("<IHHI", 14 + len(body), 0, 0, offset) + body


def rows(width, height, bpp, fill):
    stride = (width * bpp + 31) // 32 * 4
    return b"".join(bytes((fill + y * 7 + i * 13) & 0xFF for i in range(stride))
                    for y in range(height))


def quads(n):
    return b"".join(bytes((i * 40 % 256, i * 90 % 256, i * 150 % 256, 0)) for i in range(n))


def masks(*m):
    return b"".join(struct.pack("<I", v) for v in m)


T = "bmp_load_fuzz"
seed(T, bmp(5, 3, 1, rows(5, 3, 1, 1), quads(2), clr_used=2), "pal1")
seed(T, bmp(5, 3, 2, rows(5, 3, 2, 1), quads(4), clr_used=4), "pal2")
seed(T, bmp(5, 3, 4, bytes(b & 0x55 for b in rows(5, 3, 4, 2)), quads(6), clr_used=6), "pal4")
seed(T, bmp(5, 3, 8, bytes(b % 12 for b in rows(5, 3, 8, 3)), quads(12), clr_used=12), "pal8")
seed(T, bmp(5, -3, 8, rows(5, 3, 8, 3), quads(256)), "pal8-topdown")
seed(T, bmp(5, 3, 8, rows(5, 3, 8, 3), quads(256), gap=b"gap!"), "pal8-gap")
os2_table = b"".join(bytes((i, 255 - i, i * 3 % 256)) for i in range(256))
seed(T, bmp(5, 3, 8, rows(5, 3, 8, 4), os2_table, header=12), "pal8-os2")
seed(T, bmp(5, 3, 4, rows(5, 3, 4, 4), quads(16), header=64), "pal4-os2v2")
rle8 = bytes([0, 3, 1, 2, 3, 0, 2, 5, 0, 0, 0, 2, 1, 1, 4, 6, 0, 1])
seed(T, bmp(5, 3, 8, rle8, quads(8), compression=1, clr_used=8), "rle8")
rle4 = bytes([5, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 0, 2, 1, 0, 3, 0x77, 0, 1])
seed(T, bmp(5, 3, 4, rle4, quads(8), compression=2, clr_used=8), "rle4")
seed(T, bmp(5, 3, 16, rows(5, 3, 16, 5)), "rgb16-555")
seed(T, bmp(5, 3, 16, rows(5, 3, 16, 6), compression=3, masks=masks(0xF800, 0x7E0, 0x1F)),
     "rgb16-565")
seed(T, bmp(5, 3, 16, rows(5, 3, 16, 7), compression=3, header=108,
            masks=masks(0xF00, 0xF0, 0xF, 0xF000)), "rgba16-4444-v4")
seed(T, bmp(5, 3, 24, rows(5, 3, 24, 8)), "rgb24")
seed(T, bmp(5, 3, 32, rows(5, 3, 32, 9)), "rgb32")
seed(T, bmp(5, 3, 32, rows(5, 3, 32, 10), compression=3, header=124,
            masks=masks(0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000)), "rgba32-1010102-v5")
seed(T, bmp(5, 3, 32, rows(5, 3, 32, 11), compression=6,
            masks=masks(0xFF, 0xFF00, 0xFF0000, 0xFF000000)), "rgba32-alphabitfields")

# ---- PNGs: every colour type and depth, plain and interlaced, keys, palettes with alpha ----
T = "png_load_fuzz"
for f in sorted(os.listdir(pngsuite)):
    if re.match(r"bas[ni]\d[a-z]\d\d\.png$", f) or f in (
            "tbrn2c08.png", "tbbn2c16.png", "tbgn2c16.png", "tbwn0g16.png", "tbbn3p08.png",
            "tp1n3p08.png", "g03n2c08.png", "ctzn0g04.png", "cm0n0g04.png", "s01i3p01.png",
            "s09n3p02.png", "oi4n2c16.png", "f04n2c08.png", "z09n2c08.png"):
        seed(T, pathlib.Path(pngsuite, f).read_bytes(), f[:-4])

# ---- Descriptions: the global sections, then one record of each class ----
text = pathlib.Path(ini_path).read_bytes().decode("latin-1").replace("\r\n", "\n")
sections, order = {}, []
current = None
for line in text.split("\n"):
    m = re.match(r"\[(.*)\]$", line.strip())
    if m:
        current = m.group(1)
        sections[current] = []
        order.append(current)
    elif current is not None and line.strip():
        sections[current].append(line.strip())


def section(name, lines=None):
    return "[%s]\r\n%s\r\n" % (name, "\r\n".join(sections[name] if lines is None else lines))


def listed(name):
    entries = [l.split("=", 1)[1] for l in sections[name] if re.match(r"\d+=", l)]
    return [tuple(e.split(":", 1)) for e in entries if ":" in e]


globals_ = [s for s in ("VERSION", "FORMINFO", "POPUPWINDOW", "LAYERFRAME", "HINTWINDOW",
                        "SKINCOLORS") if s in sections]
T = "skin_description_fuzz"
seed(T, "".join(section(s) for s in globals_), "globals")
seed(T, section("VERSION") + section("PICTURES", ["picture=", "activepicturescount=2", "0=a",
                                                  "1=b"]), "pictures")
records = []
for list_name in ("SKINOBJECTS", "SKINCONTROLS"):
    seen = set()
    for name, kind in listed(list_name):
        if kind in seen or name not in sections:
            continue
        seen.add(kind)
        desc = section(list_name, ["count=1", "0=%s:%s" % (name, kind)]) + section(name)
        records.append(desc)
        seed(T, desc, "%s-%s" % (list_name.lower(), kind))

# ---- Packages: tiny skins through the import, plus the loader's other inputs ----
T = "skin_package_fuzz"
with tempfile.TemporaryDirectory() as tmp:
    tmp = pathlib.Path(tmp)
    pictures = {
        "main.bmp": bmp(2, 2, 24, rows(2, 2, 24, 1)),
        "mask.bmp": bmp(2, 2, 1, rows(2, 2, 1, 2), quads(2), clr_used=2),
        "a8.bmp": bmp(2, 2, 8, bytes(b % 4 for b in rows(2, 2, 8, 3)), quads(4), clr_used=4),
        "a32.bmp": bmp(2, 2, 32, rows(2, 2, 32, 4)),
        "a16.bmp": bmp(2, 2, 16, rows(2, 2, 16, 5)),
        "rle.bmp": bmp(2, 2, 8, bytes([2, 1, 0, 0, 2, 2, 0, 1]), quads(4), compression=1,
                       clr_used=4),
    }
    for n, data in pictures.items():
        (tmp / n).write_bytes(data)
    variants = {
        "plain": (["picture=main.bmp", "inactivepicture=", "mask=mask.bmp",
                   "activepicturescount=2", "0=a8.bmp", "1=a32.bmp"], records[:2]),
        "nomask": (["picture=main.bmp", "inactivepicture=main.bmp", "mask=",
                    "activepicturescount=1", "0=a16.bmp"], records[2:4]),
        "converted": (["picture=rle.bmp", "inactivepicture=", "mask=",
                       "activepicturescount=0"], records[4:6]),
        "nopictures": (["picture=", "inactivepicture=", "mask=", "activepicturescount=0"], []),
    }
    for n, (pics, recs) in variants.items():
        objects = [r for r in recs if r.startswith("[SKINOBJECTS]")]
        controls = [r for r in recs if r.startswith("[SKINCONTROLS]")]
        desc = section("VERSION") + section("PICTURES", pics) + section("FORMINFO")
        desc += objects[0] if objects else section("SKINOBJECTS", ["count=0"])
        desc += controls[0] if controls else section("SKINCONTROLS", ["count=0"])
        (tmp / (n + ".ini")).write_bytes(desc.encode("latin-1"))
        subprocess.run([skinpack, "import", str(tmp / (n + ".ini")), str(tmp / (n + ".skn"))],
                       check=True)
        stored = (tmp / (n + ".skn")).read_bytes()
        package = zlib.decompress(stored[8:])
        seed(T, b"\x00" + package, "package-" + n)
        if n == "plain":
            seed(T, b"\x02" + stored, "storedform-" + n)
            seed(T, b"\x01" + stored[8:], "zlib-" + n)
            # Version 2 carries two extra flagged pictures (absent here) before the count.
            count_at = 4 + 1 + len(pictures["main.bmp"]) + 1 + 1 + len(pictures["mask.bmp"])
            v2 = struct.pack("<i", 2) + package[4:count_at] + b"\x01\x01" + package[count_at:]
            seed(T, b"\x00" + v2, "package-v2")

# ---- Stored layouts: scripts of create, adopt, reference, finish and abandon ----
T = "stored_layout_fuzz"
for n, script in {
        "create-reference-finish": [0, 1, 0, 0, 2, 0, 3, 1, 1, 4, 0, 0],
        "owned-and-adopted": [1, 2, 1, 2, 3, 2, 3, 4, 2, 4, 0, 0],
        "duplicate-name": [0, 1, 0, 0, 1, 0, 4, 0, 0],
        "unresolved": [0, 1, 0, 3, 2, 1, 4, 0, 0],
        "abandoned": [0, 1, 0, 5, 0, 0],
}.items():
    seed(T, bytes(script), n)

# ---- Dictionaries ----
dicts.mkdir(parents=True, exist_ok=True)


def write_dict(target, tokens):
    lines = []
    for t in sorted(set(tokens)):
        lines.append('"%s"' % "".join(c if 32 <= ord(c) < 127 and c not in '"\\' else
                                      "\\x%02x" % ord(c) for c in t))
    (dicts / (target + ".dict")).write_text("\n".join(lines) + "\n")


words = ["[%s]" % s for s in order] + ["\r\n", "=", ":", ",", "count=", "-1", "0,0,0,0"]
for name, lines in sections.items():
    for l in lines:
        if "=" in l and not re.match(r"\d+=", l):
            words.append(l.split("=", 1)[0] + "=")
for list_name in ("SKINOBJECTS", "SKINCONTROLS"):
    words += [":" + kind for _, kind in listed(list_name)]
write_dict("skin_description_fuzz", words)
write_dict("skin_package_fuzz", words + ["BM", "\x28\x00\x00\x00", "\x01\x00\x18\x00"])
write_dict("png_load_fuzz", ["\x89PNG\r\n\x1a\n"] + [c for c in (
    "IHDR PLTE IDAT IEND tRNS gAMA cHRM sRGB iCCP tEXt zTXt iTXt bKGD pHYs sBIT sPLT hIST "
    "tIME").split()] + ["\x00\x00\x00\x0dIHDR", "\x78\x9c", "\x78\xda"])
write_dict("bmp_load_fuzz", ["BM", "\x0c\x00\x00\x00", "\x28\x00\x00\x00", "\x40\x00\x00\x00",
                             "\x6c\x00\x00\x00", "\x7c\x00\x00\x00", "\x00\x00", "\x00\x01",
                             "\x00\x02", "\x00\xf8\x00\x00", "\xe0\x07\x00\x00",
                             "\x1f\x00\x00\x00", "\x00\x00\xff\x00", "\x00\x00\x00\xff",
                             "\x01\x00\x08\x00", "\x01\x00\x10\x00", "\x01\x00\x20\x00"])
