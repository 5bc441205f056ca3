#!/usr/bin/python3
# Writes the PNG fixtures of every colour type and bit depth with ImageMagick
# (convert) and Pillow, and beside each <name>.png the pixels Pillow decodes
# from it as raw R, G, B, A bytes in <name>.rgba. Run from this directory;
# the outputs are committed so the tests need neither tool.
#
# Pillow keeps 8 bits of 16-bit colour and alpha samples by taking the high
# byte. Its 16-bit grey ("I" mode) it does not reduce to 8 bits at all, so
# for those files the high byte of each decoded sample is taken here, the
# same reduction. The files written earlier by hand (see README.md) are left
# as they are.
import subprocess
from PIL import Image

MAGICK = "-define", "png:exclude-chunks=date,time"


def magick(name, *args):
    subprocess.run(["convert", *args, *MAGICK, name], check=True)


def gradient(width, height, alpha):
    im = Image.new("RGBA", (width, height))
    for y in range(height):
        for x in range(width):
            im.putpixel((x, y), (x * 255 // (width - 1), y * 255 // (height - 1), (x * 37 + y * 91) % 256,
                                 (30 + x * 13 + y * 17) % 256 if alpha else 255))
    return im


def pillow_files():
    rgba = gradient(13, 9, True)
    quantised = rgba.convert("RGB").quantize(colors=4)
    grey = rgba.convert("L")
    return {
        "pillow_palette1": lambda n: rgba.convert("1").convert("P").save(n, bits=1),
        "pillow_palette2": lambda n: quantised.save(n, bits=2),
        "pillow_palette4_trns": lambda n: rgba.quantize(colors=16).save(n, bits=4),
        "pillow_greyalpha8": lambda n: rgba.convert("LA").save(n),
        "pillow_grey16": lambda n: Image.frombytes(
            "I;16", (13, 9), bytes((i * 97 + 11) % 256 for i in range(13 * 9 * 2))).save(n),
        "pillow_grey_trns": lambda n: grey.save(n, transparency=grey.getpixel((3, 3))),
        "pillow_rgb_trns": lambda n: rgba.convert("RGB").save(n, transparency=rgba.convert("RGB").getpixel((5, 2))),
    }


def magick_files():
    sky = ("-size", "16x12", "gradient:skyblue-navy")
    fade = ("-size", "16x12", "gradient:rgba(255,0,0,0.2)-rgba(0,0,255,0.9)")
    return {
        # ImageMagick's default for a gradient: 16-bit RGB.
        "magick_rgb16": lambda n: magick(n, *sky),
        # A single colour: a 1-bit palette.
        "magick_palette1": lambda n: magick(n, "-size", "24x10", "xc:skyblue"),
        "magick_palette4": lambda n: magick(n, *sky, "-colors", "12", "-define", "png:bit-depth=4",
                                            "-define", "png:color-type=3"),
        "magick_grey2": lambda n: magick(n, *sky, "-colorspace", "gray", "-depth", "2",
                                         "-define", "png:bit-depth=2", "-define", "png:color-type=0"),
        "magick_grey4": lambda n: magick(n, *sky, "-colorspace", "gray", "-depth", "4",
                                         "-define", "png:bit-depth=4", "-define", "png:color-type=0"),
        "magick_grey16": lambda n: magick(n, *sky, "-colorspace", "gray", "-define", "png:color-type=0"),
        "magick_greyalpha16": lambda n: magick(n, *fade, "-colorspace", "gray", "-define", "png:color-type=4"),
        "magick_rgba16": lambda n: magick("PNG64:" + n, *fade),
        "magick_interlaced16": lambda n: magick(n, *sky, "-interlace", "PNG"),
    }


def expected_rgba(name):
    im = Image.open(name + ".png")
    if im.mode in ("I", "I;16", "I;16B"):
        high = bytearray()
        for v in im.getdata():
            high += bytes([v >> 8] * 3 + [255])
        return bytes(high)
    return im.convert("RGBA").tobytes()


def main():
    made = {**magick_files(), **pillow_files()}
    for name, make in made.items():
        make(name + ".png")
        with open(name + ".rgba", "wb") as out:
            out.write(expected_rgba(name))


if __name__ == "__main__":
    main()
