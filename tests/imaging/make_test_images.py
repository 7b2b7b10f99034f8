"""Makes the image files the imaging tests read, with ImageMagick and Pillow, and decodes
each with Pillow into a reference of raw RGB bytes.

Usage: make_test_images.py OUTPUT_DIR
Writes OUTPUT_DIR/manifest.tsv: name, file, width, height, bit count, reference file.
"""
import os
import random
import struct
import subprocess
import sys

from PIL import Image

out = sys.argv[1]
manifest = []


def path(name):
    return os.path.join(out, name)


def pattern(width, height, seed, noise=0.3):
    """Gradients with noise: long runs and random stretches, so that LZW and the run-length
    coders see both."""
    rnd = random.Random(seed)
    data = bytearray(width * height * 3)
    i = 0
    for y in range(height):
        g = (y * 255) // max(height - 1, 1)
        for x in range(width):
            if rnd.random() < noise:
                data[i:i + 3] = rnd.randbytes(3)
            else:
                data[i] = (x * 255) // max(width - 1, 1)
                data[i + 1] = g
                data[i + 2] = ((x + y) * 7) & 255
            i += 3
    return Image.frombytes("RGB", (width, height), bytes(data))


def source(name, im):
    p = path(name + ".src.png")
    im.save(p)
    return p


pending = []


def magick(*args):
    """Starts ImageMagick; finish() waits for every started process."""
    pending.append(subprocess.Popen(["convert", *args]))


def finish():
    for p in pending:
        if p.wait() != 0:
            raise SystemExit("convert failed: " + " ".join(p.args))
    pending.clear()


def reference_pillow(file, frame=0):
    """Pillow's decoding of the file, taken once every file is written."""
    def decode():
        im = Image.open(path(file))
        im.seek(frame)
        return im.convert("RGB")
    return decode


def record(name, file, bits, ref):
    manifest.append((name, file, bits, ref))


# ---- GIF ----
def gif_magick(name, width, height, colors, *extra, seed=1):
    src = source(name, pattern(width, height, seed))
    file = name + ".gif"
    magick(src, "-colors", str(colors), *extra, path(file))
    record(name, file, 8, reference_pillow(file))


gif_magick("gif_1bit", 37, 23, 2)
gif_magick("gif_2bit", 40, 17, 4)
gif_magick("gif_4bit", 64, 48, 16)
gif_magick("gif_8bit", 200, 150, 256, seed=2)
gif_magick("gif_interlaced", 61, 45, 256, "-interlace", "GIF", seed=3)
gif_magick("gif_interlaced_short", 9, 3, 16, "-interlace", "GIF", seed=4)
gif_magick("gif_extensions", 50, 30, 64, "-set", "comment", "made for the tests", "-transparent", "black",
           "-set", "delay", "20", seed=5)
gif_magick("gif_wide", 2048, 4, 256, seed=6)
gif_magick("gif_odd_width", 3, 5, 8, seed=7)

# Several images: the first one counts. The file also has an application extension
# (the loop count) before the first image.
src1 = source("gif_multi_a", pattern(30, 20, 8))
src2 = source("gif_multi_b", pattern(30, 20, 9))
magick(src1, src2, "-colors", "32", "-loop", "0", path("gif_multi.gif"))
record("gif_multi", "gif_multi.gif", 8, reference_pillow("gif_multi.gif", 0))

# Pillow's own GIF writer, with a local colour table for the first image.
im = pattern(33, 21, 10).quantize(colors=100)
im.save(path("gif_pillow.gif"))
record("gif_pillow", "gif_pillow.gif", 8, reference_pillow("gif_pillow.gif"))
im.save(path("gif_pillow_interlaced.gif"), interlace=True)
record("gif_pillow_interlaced", "gif_pillow_interlaced.gif", 8, reference_pillow("gif_pillow_interlaced.gif"))

# ---- PCX ----
im = pattern(45, 19, 11).convert("1")
im.save(path("pcx_1bit.pcx"))
record("pcx_1bit", "pcx_1bit.pcx", 1, reference_pillow("pcx_1bit.pcx"))

im = pattern(70, 33, 12).quantize(colors=256)
im.save(path("pcx_8bit.pcx"))
record("pcx_8bit", "pcx_8bit.pcx", 8, reference_pillow("pcx_8bit.pcx"))

src = source("pcx_8bit_magick", pattern(52, 31, 13))
magick(src, "-colors", "200", path("pcx_8bit_magick.pcx"))
record("pcx_8bit_magick", "pcx_8bit_magick.pcx", 8, reference_pillow("pcx_8bit_magick.pcx"))

im = pattern(61, 27, 14)
im.save(path("pcx_24bit.pcx"))
record("pcx_24bit", "pcx_24bit.pcx", 24, reference_pillow("pcx_24bit.pcx"))
src = source("pcx_24bit_magick", pattern(1000, 3, 15))
magick(src, "-type", "TrueColor", path("pcx_24bit_magick.pcx"))
record("pcx_24bit_magick", "pcx_24bit_magick.pcx", 24, reference_pillow("pcx_24bit_magick.pcx"))

# An older 8-bit file has no 256-colour trailer: only the 16 header colours are defined
# and the other indices show black.
finish()
data = bytearray(open(path("pcx_8bit.pcx"), "rb").read())
indices = Image.open(path("pcx_8bit.pcx")).tobytes()
data[1] = 3
data = data[:-769]
header_colors = [tuple(data[16 + 3 * i:19 + 3 * i]) for i in range(16)]
with open(path("pcx_8bit_v3.pcx"), "wb") as f:
    f.write(data)
ref = Image.new("RGB", (70, 33))
ref.putdata([header_colors[i] if i < 16 else (0, 0, 0) for i in indices])
record("pcx_8bit_v3", "pcx_8bit_v3.pcx", 8, ref)


def pcx_rle(line):
    out = bytearray()
    i = 0
    while i < len(line):
        run = 1
        while i + run < len(line) and run < 63 and line[i + run] == line[i]:
            run += 1
        if run > 1 or line[i] >= 0xC0:
            out += bytes([0xC0 | run, line[i]])
        else:
            out.append(line[i])
        i += run
    return out


def pcx_planar(name, width, height, seed):
    """16 colours in 4 planes of 1 bit: neither tool writes this layout, so the file is
    put together here and Pillow decodes it."""
    rnd = random.Random(seed)
    palette = [rnd.randrange(256) for _ in range(48)]
    # Pillow takes the planes to be (width + 7) div 8 bytes apart, so the lines carry no
    # padding byte.
    bpl = (width + 7) // 8
    header = struct.pack("<BBBBHHHHHH", 0x0A, 5, 1, 1, 0, 0, width - 1, height - 1, 72, 72)
    header += bytes(palette) + bytes([0, 4]) + struct.pack("<HH", bpl, 1)
    header += bytes(128 - len(header))
    body = bytearray()
    for y in range(height):
        pixels = [(x * 3 + y * 5 + (rnd.random() < 0.2) * rnd.randrange(16)) % 16 for x in range(width)]
        line = bytearray()
        for p in range(4):
            plane = bytearray(bpl)
            for x, v in enumerate(pixels):
                if v & (1 << p):
                    plane[x // 8] |= 0x80 >> (x % 8)
            line += plane
        body += pcx_rle(line)
    with open(path(name + ".pcx"), "wb") as f:
        f.write(header + body)
    record(name, name + ".pcx", 4, reference_pillow(name + ".pcx"))


pcx_planar("pcx_4planes", 53, 21, 16)
pcx_planar("pcx_4planes_w3", 3, 2, 17)


# ---- TIFF ----
def tiff_magick(name, width, height, bits, *args, seed=20):
    src = source(name, pattern(width, height, seed))
    file = name + ".tif"
    magick(src, *args, path(file))
    record(name, file, bits, reference_pillow(file))


for o in ("lsb", "msb"):
    order = ["-define", "tiff:endian=" + o]
    for comp in ("None", "LZW", "RLE"):
        c = {"None": "raw", "LZW": "lzw", "RLE": "packbits"}[comp]
        # ImageMagick adds the horizontal predictor to LZW unless told otherwise.
        compress = ["-compress", comp] + (["-define", "tiff:predictor=1"] if comp == "LZW" else [])
        tiff_magick(f"tif_24_{c}_{o}", 57, 41, 24, *order, *compress, seed=21)
        tiff_magick(f"tif_8grey_{c}_{o}", 45, 33, 8, "-colorspace", "Gray", *order, *compress, seed=22)
        tiff_magick(f"tif_8pal_{c}_{o}", 39, 29, 8, "-colors", "200", "-type", "Palette", *order,
                    *compress, seed=23)
        tiff_magick(f"tif_4pal_{c}_{o}", 43, 19, 4, "-colors", "16", "-depth", "4", "-type", "Palette",
                    *order, *compress, seed=24)
        tiff_magick(f"tif_1bit_{c}_{o}", 77, 23, 1, "-type", "bilevel", "-depth", "1", *order, *compress, seed=25)
        tiff_magick(f"tif_1bit_white_{c}_{o}", 35, 9, 1, "-type", "bilevel", "-depth", "1", "-define",
                    "tiff:photometric=min-is-white", *order, *compress, seed=25)
    tiff_magick(f"tif_24_lzw_predictor_{o}", 64, 50, 24, *order, "-compress", "LZW",
                "-define", "tiff:predictor=2", seed=26)
    tiff_magick(f"tif_8grey_lzw_predictor_{o}", 64, 50, 8, "-colorspace", "Gray", *order,
                "-compress", "LZW", "-define", "tiff:predictor=2", seed=27)
    tiff_magick(f"tif_strips_raw_{o}", 30, 37, 24, *order, "-compress", "None",
                "-define", "tiff:rows-per-strip=5", seed=28)
    tiff_magick(f"tif_strips_lzw_{o}", 30, 37, 24, *order, "-compress", "LZW",
                "-define", "tiff:rows-per-strip=4", seed=29)
    tiff_magick(f"tif_strips_packbits_{o}", 30, 37, 8, "-colorspace", "Gray", *order, "-compress",
                "RLE", "-define", "tiff:rows-per-strip=6", seed=30)

# Large LZW images fill the table and need clear codes.
tiff_magick("tif_lzw_large", 700, 300, 24, "-compress", "LZW", seed=31)
im = pattern(150, 90, 32)
im.save(path("tif_pillow_lzw.tif"), compression="tiff_lzw")
record("tif_pillow_lzw", "tif_pillow_lzw.tif", 24, reference_pillow("tif_pillow_lzw.tif"))
im.save(path("tif_pillow_raw.tif"))
record("tif_pillow_raw", "tif_pillow_raw.tif", 24, reference_pillow("tif_pillow_raw.tif"))
im.convert("1").save(path("tif_pillow_1bit.tif"), compression="packbits")
record("tif_pillow_1bit", "tif_pillow_1bit.tif", 1, reference_pillow("tif_pillow_1bit.tif"))

# ---- CorelDRAW previews: a BMP image whose file header stands 20 bytes into the file ----
def cdr(name, im, bits):
    im.save(path(name + ".bmp"))
    bmp = open(path(name + ".bmp"), "rb").read()
    with open(path(name + ".cdr"), "wb") as f:
        f.write(b"drawing header......" + bmp)
    record(name, name + ".cdr", bits, reference_pillow(name + ".bmp"))


cdr("cdr_8bit", pattern(90, 70, 40).quantize(colors=256), 8)
cdr("cdr_24bit", pattern(61, 53, 41), 24)
cdr("cdr_1bit", pattern(99, 37, 42).convert("1"), 1)

finish()
with open(path("manifest.tsv"), "w") as f:
    for name, file, bits, ref in manifest:
        image = ref() if callable(ref) else ref
        with open(path(name + ".rgb"), "wb") as raw:
            raw.write(image.tobytes())
        f.write("\t".join(str(v) for v in (name, file, image.width, image.height, bits, name + ".rgb")) + "\n")
