#pragma once

// Colours as the server's pixels. Private to the X11 backend: only its .cpp
// files include this header.

#include <X11/Xlib.h>

#include <cstdint>

// The true-colour pixel of rgb (0xRRGGBB) for the visual's channel masks.
unsigned long X11TrueColorPixel(const Visual* visual, uint32_t rgb);
// The pixel of rgb on the default visual: computed for true colour, else
// allocated in the default colour map (black or white when that fails).
unsigned long X11PixelFor(Display* display, uint32_t rgb);
// Whether the picture's pixel words (0xAARRGGBB) are already the server's
// pixels, so presentation may copy rows as they are.
bool X11WordsArePixels(Display* display);
