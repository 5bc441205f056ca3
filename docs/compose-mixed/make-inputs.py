#!/usr/bin/env python3
"""Makes the two input pictures of the README's mixed-gradients example:
canvas.png, a brick wall, and part.png, a flat paper sign with dark
lettering (IPA Gothic, from fonts-ipafont-gothic). Seeded, so the pictures
come out the same every time."""
import random

from PIL import Image, ImageDraw, ImageFont

random.seed(7)

wall = Image.new("RGB", (240, 150))
draw = ImageDraw.Draw(wall)
draw.rectangle((0, 0, 239, 149), fill=(182, 176, 164))  # mortar
for row in range(0, 150, 15):
    shift = 0 if (row // 15) % 2 == 0 else -16
    for x in range(shift, 240, 32):
        shade = random.randint(-22, 22)
        colour = (150 + shade, 70 + shade // 2, 52 + shade // 3)
        draw.rectangle((x + 1, row + 1, x + 30, row + 12), fill=colour)
pixels = wall.load()
for y in range(150):
    for x in range(240):
        r, g, b = pixels[x, y]
        n = random.randint(-9, 9)
        pixels[x, y] = (max(0, min(255, r + n)), max(0, min(255, g + n)), max(0, min(255, b + n)))
wall.save("canvas.png")

sign = Image.new("RGBA", (150, 64), (232, 222, 192, 255))
draw = ImageDraw.Draw(sign)
font = ImageFont.truetype("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf", 30)
draw.text((75, 32), "TESSERINE", font=font, fill=(40, 30, 24, 255), anchor="mm")
draw.rectangle((3, 3, 146, 60), outline=(40, 30, 24, 255), width=2)
sign.save("part.png")
