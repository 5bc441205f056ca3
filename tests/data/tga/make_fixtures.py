#!/usr/bin/python3
# Writes the TGA fixtures of the codec tests with Pillow and ImageMagick
# (convert), then records the pixels Pillow decodes from each file in
# expected.txt. Run once from this directory; the outputs are committed so
# the tests need neither tool.
#
# expected.txt: per file a line "name width height", then height lines of
# width pixels as 8 hex digits AARRGGBB (alpha ff where the file has none).
import os
import subprocess
from PIL import Image


def source(width, height, alpha=False):
    # A gradient with distinct corners and (optionally) varying alpha.
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


def flat(width, height):
    # Long runs of one colour, so run-length packets span rows.
    im = Image.new("RGB", (width, height), (10, 200, 30))
    im.putpixel((0, 0), (255, 0, 0))
    im.putpixel((width - 1, height - 1), (0, 0, 255))
    return im


def convert(src, *args):
    subprocess.run(["convert", src, *args], check=True)


def main():
    rgb = source(7, 5).convert("RGB")
    rgba = source(7, 5, alpha=True)
    rgb.save("/tmp/tga_src.png")
    made = {
        "pil_type2_24.tga": lambda n: rgb.save(n),
        "pil_type2_32.tga": lambda n: rgba.save(n),
        "pil_type2_topdown.tga": lambda n: rgb.save(n, orientation=1),
        "pil_type2_id.tga": lambda n: rgb.save(n, id_section=b"made by Pillow"),
        "pil_type10_24.tga": lambda n: rgb.save(n, compression="tga_rle"),
        "pil_type10_32.tga": lambda n: rgba.save(n, compression="tga_rle"),
        "pil_type10_flat.tga": lambda n: flat(150, 3).save(n, compression="tga_rle"),
        "pil_type1.tga": lambda n: rgb.quantize(20).save(n),
        "im_type2.tga": lambda n: convert("/tmp/tga_src.png", "-type", "truecolor", "TGA:" + n),
        "im_type10.tga": lambda n: convert("/tmp/tga_src.png", "-type", "truecolor", "-compress", "RLE", "TGA:" + n),
        "im_type1.tga": lambda n: convert("/tmp/tga_src.png", "-type", "palette", "TGA:" + n),
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
