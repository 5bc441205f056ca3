#include "framework/platform/x11/X11PixelFormat.h"

#include <X11/Xutil.h>

namespace {

int lowestBit(unsigned long mask)
{
    return mask ? __builtin_ctzl(mask) : 0;
}

int bitCount(unsigned long mask)
{
    return __builtin_popcountl(mask);
}

X11ChannelMasks masksOf(const Visual* visual)
{
    return { visual->red_mask, visual->green_mask, visual->blue_mask };
}

} // namespace

X11ChannelMasks X11DefaultChannelMasks(Display* display)
{
    return masksOf(DefaultVisual(display, DefaultScreen(display)));
}

// Each channel scaled to its mask's width, c' = (c * (2^bits - 1) + 127) / 255,
// and shifted into place.
unsigned long X11TrueColorPixel(const X11ChannelMasks& masks, uint32_t rgb)
{
    auto channel = [](unsigned value, unsigned long mask) {
        const unsigned long top = (1ul << bitCount(mask)) - 1;
        return ((value * top + 127) / 255) << lowestBit(mask);
    };
    return channel((rgb >> 16) & 0xFF, masks.red) | channel((rgb >> 8) & 0xFF, masks.green)
        | channel(rgb & 0xFF, masks.blue);
}

unsigned long X11PixelFor(Display* display, uint32_t rgb)
{
    const int screen = DefaultScreen(display);
    Visual* visual = DefaultVisual(display, screen);
    if (visual->c_class == TrueColor || visual->c_class == DirectColor)
        return X11TrueColorPixel(masksOf(visual), rgb);
    XColor color {};
    color.red = static_cast<unsigned short>(((rgb >> 16) & 0xFF) * 257);
    color.green = static_cast<unsigned short>(((rgb >> 8) & 0xFF) * 257);
    color.blue = static_cast<unsigned short>((rgb & 0xFF) * 257);
    if (XAllocColor(display, DefaultColormap(display, screen), &color))
        return color.pixel;
    return (rgb & 0x808080) ? WhitePixel(display, screen) : BlackPixel(display, screen);
}

// True when the default visual is 8-8-8 true colour in 32-bit little-endian
// words.
bool X11WordsArePixels(Display* display)
{
    const int screen = DefaultScreen(display);
    const Visual* visual = DefaultVisual(display, screen);
    const int depth = DefaultDepth(display, screen);
    return visual->c_class == TrueColor && (depth == 24 || depth == 32) && visual->red_mask == 0xFF0000
        && visual->green_mask == 0xFF00 && visual->blue_mask == 0xFF && ImageByteOrder(display) == LSBFirst;
}
