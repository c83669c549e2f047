#!/usr/bin/env python3
"""Builds res/idiom.ico, the program's icon.

    python3 scripts/make_icon.py [OUTPUT]

OUTPUT defaults to res/idiom.ico under the repository root. The icon holds two
16-colour images: 32x32 with 成语学习 set two by two, and 16x16 with a single
成, both yellow on navy. ImageMagick only rasterises the glyphs; the ICO is
packed here by hand, because its own ICO writer picks depth, palette and
headers for itself, and old shells and resource compilers want the classic
4-bit DIB layout. Nothing here depends on time or randomness, so a rerun on
the same toolchain gives the same bytes as the committed file.

Environment overrides: CONVERT (the ImageMagick convert program) and
ICON_FONT (the CJK font file).
"""

import os
import shutil
import struct
import subprocess
import sys

DEFAULT_FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"

# The standard 16-colour Windows VGA palette in its usual order, so the
# indices mean the same thing as in any 4-bit resource.
PALETTE = [
    (0x00, 0x00, 0x00),  # black
    (0x80, 0x00, 0x00),  # dark red
    (0x00, 0x80, 0x00),  # dark green
    (0x80, 0x80, 0x00),  # olive
    (0x00, 0x00, 0x80),  # navy
    (0x80, 0x00, 0x80),  # purple
    (0x00, 0x80, 0x80),  # teal
    (0xC0, 0xC0, 0xC0),  # silver
    (0x80, 0x80, 0x80),  # grey
    (0xFF, 0x00, 0x00),  # red
    (0x00, 0xFF, 0x00),  # lime
    (0xFF, 0xFF, 0x00),  # yellow
    (0x00, 0x00, 0xFF),  # blue
    (0xFF, 0x00, 0xFF),  # fuchsia
    (0x00, 0xFF, 0xFF),  # aqua
    (0xFF, 0xFF, 0xFF),  # white
]
BACKGROUND = (0x00, 0x00, 0x80)
INK = (0xFF, 0xFF, 0x00)

# Glyphs are drawn at 16 px, the size they end up at, rather than drawn big
# and shrunk: at the final size FreeType's hinter snaps the horizontal strokes
# to whole pixels, which keeps 语 and 学 readable. Shrinking a large render
# smears those strokes across two rows and the threshold then loses them.
POINT_SIZE = 16
# Coverage (0-255) from which a pixel counts as ink. Lower merges the
# middle strokes of 语 into a blob; higher drops the dots on top of 学.
INK_THRESHOLD = 96
# Scratch canvas for one glyph; the baseline sits well inside it so no
# stroke is clipped before the ink box is measured.
CANVAS = 48
BASELINE = 32
PEN_X = 8


def find_convert():
    """Returns a convert command that really is ImageMagick."""
    candidates = [os.environ.get("CONVERT"), "convert", "magick"]
    for cand in candidates:
        if not cand:
            continue
        path = shutil.which(cand)
        if not path:
            continue
        try:
            ver = subprocess.run([path, "-version"], capture_output=True,
                                 text=True, check=False).stdout
        except OSError:
            continue
        # GraphicsMagick also installs a convert, with different text options.
        if "ImageMagick" in ver:
            return path
    sys.exit("make_icon: ImageMagick's convert not found (set CONVERT)")


def render_glyph(convert, font, ch):
    """Draws one character white on black; returns rows of 0-255 coverage."""
    cmd = [
        convert, "-size", f"{CANVAS}x{CANVAS}", "xc:black",
        "-font", font, "-pointsize", str(POINT_SIZE), "-fill", "white",
        # An integer pen position keeps the hinted outline on the pixel grid.
        "-annotate", f"+{PEN_X}+{BASELINE}", ch,
        "-depth", "8", "gray:-",
    ]
    raw = subprocess.run(cmd, capture_output=True, check=True).stdout
    if len(raw) != CANVAS * CANVAS:
        sys.exit(f"make_icon: convert returned {len(raw)} bytes for {ch!r}")
    return [list(raw[r * CANVAS:(r + 1) * CANVAS]) for r in range(CANVAS)]


def glyph_mask(coverage):
    """Thresholds coverage and crops to the ink box; returns rows of bools."""
    ink = [[v >= INK_THRESHOLD for v in row] for row in coverage]
    rows = [y for y, row in enumerate(ink) if any(row)]
    cols = [x for x in range(CANVAS) if any(row[x] for row in ink)]
    if not rows:
        return None
    # Ink on the canvas edge means the glyph was clipped and the box is a lie.
    if rows[0] == 0 or cols[0] == 0 or rows[-1] == CANVAS - 1 or cols[-1] == CANVAS - 1:
        return None
    return [row[cols[0]:cols[-1] + 1] for row in ink[rows[0]:rows[-1] + 1]]


def layout(masks, size, cell):
    """Centres each mask in its cell, left to right then top to bottom."""
    per_row = size // cell
    img = [[BACKGROUND] * size for _ in range(size)]
    for i, mask in enumerate(masks):
        h, w = len(mask), len(mask[0])
        if w > cell or h > cell:
            sys.exit(f"make_icon: glyph {i} is {w}x{h}, larger than its {cell}px cell")
        left = (i % per_row) * cell + (cell - w) // 2
        top = (i // per_row) * cell + (cell - h) // 2
        for y in range(h):
            for x in range(w):
                if mask[y][x]:
                    img[top + y][left + x] = INK
    return img


def nearest_index(rgb):
    """Index of the palette colour closest to rgb (squared RGB distance)."""
    return min(range(len(PALETTE)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(PALETTE[i], rgb)))


def pack_dib(img):
    """BITMAPINFOHEADER + colour table + 4-bit XOR + 1-bit AND, bottom-up."""
    size = len(img)
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    for row in reversed(img):
        idx = [nearest_index(p) for p in row]
        line = bytearray((idx[x] << 4) | (idx[x + 1] if x + 1 < size else 0)
                         for x in range(0, size, 2))
        xor += line + bytes(xor_stride - len(line))
    # Every pixel opaque, so the AND mask is all zero bits.
    and_mask = bytes(and_stride * size)
    header = struct.pack("<IiiHHIIiiII",
                         40,                        # biSize
                         size,                      # biWidth
                         size * 2,                  # biHeight: XOR and AND stacked
                         1,                         # biPlanes
                         4,                         # biBitCount
                         0,                         # biCompression: BI_RGB
                         len(xor) + len(and_mask),  # biSizeImage
                         0, 0,                      # pixels per metre
                         0, 0)                      # biClrUsed/Important: all 16
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + colours + bytes(xor) + and_mask


def pack_ico(images):
    """ICONDIR, one ICONDIRENTRY per image, then the DIBs in the same order."""
    dibs = [pack_dib(img) for img in images]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for img, dib in zip(images, dibs):
        size = len(img)
        out += struct.pack("<BBBBHHII",
                           size % 256, size % 256,  # 256 would be written as 0
                           16, 0,                   # colour count, reserved
                           1, 4,                    # planes, bits per pixel
                           len(dib), offset)
        offset += len(dib)
    for dib in dibs:
        out += dib
    return bytes(out)


def main(argv):
    if len(argv) > 2 or (len(argv) == 2 and argv[1] in ("-h", "--help")):
        asked = len(argv) == 2
        print(__doc__.strip(), file=sys.stdout if asked else sys.stderr)
        return 0 if asked else 2
    repo = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out_path = argv[1] if len(argv) == 2 else os.path.join(repo, "res", "idiom.ico")

    font = os.environ.get("ICON_FONT", DEFAULT_FONT)
    if not os.path.isfile(font):
        sys.exit(f"make_icon: font {font} missing (install fonts-wqy-microhei)")
    convert = find_convert()

    masks = {}
    for ch in "成语学习":
        mask = glyph_mask(render_glyph(convert, font, ch))
        # A font without the glyph gives nothing or a clipped box; a silent
        # blank icon would be worse than stopping here.
        if mask is None or len(mask) < 8 or len(mask[0]) < 8:
            sys.exit(f"make_icon: {font} did not draw {ch!r} usably")
        masks[ch] = mask

    large = layout([masks[c] for c in "成语学习"], 32, 16)
    small = layout([masks["成"]], 16, 16)
    data = pack_ico([large, small])

    os.makedirs(os.path.dirname(os.path.abspath(out_path)), exist_ok=True)
    tmp = out_path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, out_path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
