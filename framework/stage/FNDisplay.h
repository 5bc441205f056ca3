#pragma once

#include "framework/core/FNGUICoreObject.h"
#include "imaging/FNImage.h"

// FNDisplay: the drawing surface of a small stage that is drawn directly
// rather than through a scene. It holds a picture of the display size that
// starts filled with the theme's "background" colour, and that colour's
// components for refilling it.
class FNDisplay : public FNGUICoreObject {
public:
    // Sizes below 1 become 1.
    FNDisplay(int width, int height);

    // Fills the picture with the background colour (opaque).
    void Clear();

    FNImage image;
    int red;
    int green;
    int blue;
};
