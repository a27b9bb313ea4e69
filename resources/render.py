#!/usr/bin/python3
"""Renders skin.bmp and OmbrivoBeta.ico from their SVG sources: rsvg-convert draws, Pillow writes,
byte for byte the same each time. The rendered files stay committed, so a build needs neither.
Usage: render.py [OUTPUT_DIR]  writes both files there (default: beside this script)
       render.py --check       fails where the committed files differ from what it renders;
                               exits 77 (skipped) where rsvg-convert or Pillow is missing"""
import io, shutil, struct, subprocess, sys
from pathlib import Path

try:  # Debian's python3-pil, for Debian's python3 (see the first line)
    from PIL import Image, ImageChops, ImageFilter
except ImportError:
    Image = None

HERE = Path(__file__).resolve().parent
# The icon group's images in order, (size, bits per pixel); the 256 px one is stored as PNG.
ICON_IMAGES = [(16, 8), (32, 1), (48, 4), (48, 8), (32, 8), (48, 32), (32, 32), (16, 32), (256, 32)]


def render(svg):
    png = subprocess.check_output(["rsvg-convert", HERE / svg])
    return Image.open(io.BytesIO(png)).convert("RGBA")


def encoded(image, form, **options):
    out = io.BytesIO()
    image.save(out, form, **options)  # Pillow writes no time or text of its own
    return out.getvalue()


def dib(image, rawmode, bits):
    """The image's rows bottom-up, each padded to 32 bits, as a DIB holds them."""
    return image.tobytes("raw", (rawmode, (image.width * bits + 31) // 32 * 4, -1))


def icon_image(image, bits):
    """One image of the icon: a PNG at 256 px, else a DIB (colours, then the AND mask)."""
    if image.width == 256:
        return encoded(image, "PNG", optimize=True)
    opaque = image.getchannel("A").point(lambda a: 255 if a >= 128 else 0)
    table = b""  # the colour table of a paletted image: blue, green, red, 0
    if bits == 32:
        colours = dib(image, "BGRA", 32)
    elif bits == 1:  # white pulse and outline on black, to read on any background
        pulse = image.getchannel("G").point(lambda g: 255 if g >= 150 else 0)
        edge = ImageChops.subtract(opaque, opaque.filter(ImageFilter.MinFilter(3)))
        white = ImageChops.multiply(ImageChops.lighter(pulse, edge), opaque)
        colours, table = dib(white.point(lambda v: v, "1"), "1", 1), bytes(4) + b"\xff\xff\xff\0"
    else:  # index 0 is black, for the pixels the mask clears; the rest share the others
        shown = Image.new("RGB", image.size)
        shown.paste(image, mask=opaque)
        quantised = shown.quantize((1 << bits) - 1, Image.Quantize.MEDIANCUT)  # no dithering
        indexes = Image.new("P", image.size, 0)
        indexes.paste(quantised.point(lambda i: i + 1), mask=opaque)
        colours = dib(indexes, "P;4" if bits == 4 else "P", bits)
        rgb = [0, 0, 0] + quantised.getpalette() + [0] * 768
        table = b"".join(bytes(rgb[i:i + 3][::-1] + [0]) for i in range(0, 3 << bits, 3))
    mask = dib(opaque.point(lambda a: 0 if a else 255, "1"), "1", 1)
    header = struct.pack("<IiiHHIIiiII", 40, image.width, image.height * 2, 1, bits, 0,
                         len(colours) + len(mask), 0, 0, 0, 0)
    return header + table + colours + mask


def ico():
    """An icon file: its header, one directory entry per image, then the images."""
    drawn = {size: render("icon-%d.svg" % size) for size, _ in ICON_IMAGES}
    images = [icon_image(drawn[size], bits) for size, bits in ICON_IMAGES]
    out, offset = struct.pack("<HHH", 0, 1, len(images)), 6 + 16 * len(images)
    for (size, bits), data in zip(ICON_IMAGES, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 1 << bits if bits < 8 else 0, 0,
                           1, bits, len(data), offset)  # 256 px is written as 0
        offset += len(data)
    return out + b"".join(images)


check = sys.argv[1:] == ["--check"]
if Image is None or not shutil.which("rsvg-convert"):
    print("render.py: needs rsvg-convert and Pillow (librsvg2-bin, python3-pil)")
    sys.exit(77 if check else 1)
# The skin as a 32-bit BI_RGB bitmap, drawn 1:1 by the window.
outputs = {"skin.bmp": encoded(render("skin.svg"), "BMP"), "OmbrivoBeta.ico": ico()}
if check:
    stale = [name for name, data in outputs.items() if (HERE / name).read_bytes() != data]
    if stale:
        sys.exit("render.py: %s not what the sources render; run render.py and commit"
                 % ", ".join(stale))
else:
    for name, data in outputs.items():
        Path(sys.argv[1] if sys.argv[1:] else HERE, name).write_bytes(data)
