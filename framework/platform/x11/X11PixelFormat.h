#pragma once

// Colours as the server's pixels. Private to the X11 backend: only its .cpp
// files and tests include this header.

#include "framework/platform/x11/X11Handles.h"

#include <cstdint>

// Where a true-colour visual keeps each channel of a pixel.
struct X11ChannelMasks {
    unsigned long red = 0, green = 0, blue = 0;
};

// The channel masks of the default visual.
X11ChannelMasks X11DefaultChannelMasks(_XDisplay* display);
// The true-colour pixel of rgb (0xRRGGBB) for the channel masks.
unsigned long X11TrueColorPixel(const X11ChannelMasks& masks, uint32_t rgb);
// The pixel of rgb on the default visual: computed for true colour, else
// allocated in the default colour map (black or white when that fails).
unsigned long X11PixelFor(_XDisplay* display, uint32_t rgb);
// Whether the picture's pixel words (0xAARRGGBB) are already the server's
// pixels, so presentation may copy rows as they are.
bool X11WordsArePixels(_XDisplay* display);
