#include "framework/stage/FNDisplay.h"

#include "framework/core/FNBackgroundColor.h"

#include <algorithm>

FNDisplay::FNDisplay(int width, int height)
    : image(std::max(1, width), std::max(1, height))
    , red(kFNBackgroundColor >> 16 & 0xFF)
    , green(kFNBackgroundColor >> 8 & 0xFF)
    , blue(kFNBackgroundColor & 0xFF)
{
    FN_SET_CLASS_NAME(FNDisplay);
    Clear();
}

void FNDisplay::Clear()
{
    image.fill(red, green, blue, 255);
}
