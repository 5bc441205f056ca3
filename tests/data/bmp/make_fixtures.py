#!/usr/bin/python3
# Writes the BMP fixtures of the codec tests with ImageMagick (convert) and
# Pillow, then records the pixels Pillow decodes from each file in
# expected.txt. Run once from this directory; the outputs are committed so
# the tests need neither tool.
#
# expected.txt: per file a line "name width height", then height lines of
# width pixels as 8 hex digits AARRGGBB (alpha ff where the file has none).
import os
import subprocess
from PIL import Image


def source(width, height, alpha=False):
    # A gradient with distinct corners: more than 16 colours, so ImageMagick
    # picks 8-bit palettes when asked for a palette.
    im = Image.new("RGBA", (width, height))
    for y in range(height):
        for x in range(width):
            im.putpixel((x, y), (x * 255 // (width - 1), y * 255 // (height - 1), (x * 37 + y * 91) % 256,
                                 (40 + x * 30 + y * 7) % 256 if alpha else 255))
    im.putpixel((0, 0), (255, 0, 0, 255))
    im.putpixel((width - 1, 0), (0, 255, 0, 255))
    im.putpixel((0, height - 1), (0, 0, 255, 255))
    im.putpixel((width - 1, height - 1), (255, 255, 0, 255))
    return im


def convert(src, *args):
    subprocess.run(["convert", src, *args], check=True)


def main():
    source(7, 5).save("/tmp/bmp_src.png")
    source(7, 5, alpha=True).save("/tmp/bmp_src_alpha.png")
    source(33, 3).convert("1").save("/tmp/bmp_src_bw.png")
    made = {
        "im_1bit.bmp": lambda n: convert("/tmp/bmp_src_bw.png", "-type", "bilevel", "BMP3:" + n),
        "im_4bit.bmp": lambda n: convert("/tmp/bmp_src.png", "-colors", "12", "-type", "palette", "BMP3:" + n),
        "im_8bit.bmp": lambda n: convert("/tmp/bmp_src.png", "-type", "palette", "-compress", "none", "BMP3:" + n),
        "im_rle8.bmp": lambda n: convert("/tmp/bmp_src.png", "-type", "palette", "-compress", "RLE", "BMP3:" + n),
        "im_24bit.bmp": lambda n: convert("/tmp/bmp_src.png", "-type", "truecolor", "BMP3:" + n),
        "im_v5_24bit.bmp": lambda n: convert("/tmp/bmp_src.png", "-type", "truecolor", "BMP:" + n),
        "im_v5_8bit.bmp": lambda n: convert("/tmp/bmp_src.png", "-type", "palette", "-compress", "none", "BMP:" + n),
        "im_v5_32bit_bitfields.bmp": lambda n: convert("/tmp/bmp_src_alpha.png", "-type", "truecoloralpha", "BMP:" + n),
        "pil_8bit.bmp": lambda n: source(7, 5).convert("RGB").quantize(40).save(n),
        "pil_24bit.bmp": lambda n: source(7, 5).convert("RGB").save(n),
    }
    with open("expected.txt", "w") as out:
        for name, make in made.items():
            make(name)
            im = Image.open(name)
            print(name, im.mode, im.info.get("compression"), os.path.getsize(name))
            im = im.convert("RGBA")
            out.write("%s %d %d\n" % (name, im.width, im.height))
            for y in range(im.height):
                row = [im.getpixel((x, y)) for x in range(im.width)]
                out.write(" ".join("%02x%02x%02x%02x" % (a, r, g, b) for r, g, b, a in row) + "\n")


main()
