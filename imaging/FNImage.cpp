#include "imaging/FNImage.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr std::align_val_t kPixelAlignment { 16 };

int limitByte(int value)
{
    return value < 0 ? 0 : (value > 255 ? 255 : value);
}

bool inside(const FNImage& image, int x, int y)
{
    return image.pixels && x >= 0 && y >= 0 && x < image.width && y < image.height;
}

} // namespace

FNImage::FNImage()
{
    resize(1, 1);
}

FNImage::FNImage(int width, int height)
{
    resize(width, height);
}

FNImage::~FNImage()
{
    clear();
}

void FNImage::releaseBuffer()
{
    if (pixels)
        ::operator delete(pixels, kPixelAlignment);
    pixels = nullptr;
    width = 0;
    height = 0;
}

void FNImage::create(int newWidth, int newHeight)
{
    created = false;
    releaseBuffer();
    width = newWidth;
    height = newHeight;
    // Allocation failure goes to the process's new handler, which reports
    // it and ends the program; callers cap file sizes before getting here.
    pixels = static_cast<uint8_t*>(::operator new(byteCount(), kPixelAlignment));
}

bool FNImage::tryCreate(int newWidth, int newHeight)
{
    const size_t bytes = size_t(newWidth) * size_t(newHeight) * 4;
    // The nothrow form still calls the new handler, which ends the program;
    // a picture from a file must fail instead, so the handler is set aside
    // for this one allocation. (The handler is process-wide: another thread
    // running out of memory in that moment gets std::bad_alloc instead,
    // which ends the program just the same.)
    const std::new_handler handler = std::set_new_handler(nullptr);
    void* memory = ::operator new(bytes, kPixelAlignment, std::nothrow);
    std::set_new_handler(handler);
    if (!memory)
        return false;
    created = false;
    releaseBuffer();
    width = newWidth;
    height = newHeight;
    pixels = static_cast<uint8_t*>(memory);
    return true;
}

void FNImage::takePixels(FNImage& source)
{
    releaseBuffer();
    pixels = source.pixels;
    width = source.width;
    height = source.height;
    source.pixels = nullptr;
    source.width = 0;
    source.height = 0;
    source.created = false;
    created = true;
}

bool FNImage::clear()
{
    created = false;
    message = "";
    failure = FNImageFailure::None;
    failureDetail = "";
    releaseBuffer();
    return true;
}

bool FNImage::resize(int newWidth, int newHeight)
{
    newWidth = std::max(newWidth, 1);
    newHeight = std::max(newHeight, 1);
    if (pixels && newWidth == width && newHeight == height)
        return true;
    // clear() empties the message too; a resize keeps no codec text.
    clear();
    create(newWidth, newHeight);
    std::memset(pixels, 255, byteCount());
    created = true;
    return true;
}

// ---- Pixel access -------------------------------------------------------

int FNImage::getAlpha(int x, int y) const
{
    if (!inside(*this, x, y))
        return 0;
    return pixels[(static_cast<size_t>(y) * width + x) * 4 + 3];
}

void FNImage::getColor(int x, int y, int& red, int& green, int& blue) const
{
    if (!inside(*this, x, y)) {
        red = green = blue = 0;
        return;
    }
    const uint8_t* p = pixels + (static_cast<size_t>(y) * width + x) * 4;
    blue = p[0];
    green = p[1];
    red = p[2];
}

void FNImage::setColor(int x, int y, int red, int green, int blue)
{
    if (!inside(*this, x, y))
        return;
    uint8_t* p = pixels + (static_cast<size_t>(y) * width + x) * 4;
    p[0] = static_cast<uint8_t>(limitByte(blue));
    p[1] = static_cast<uint8_t>(limitByte(green));
    p[2] = static_cast<uint8_t>(limitByte(red));
}

void FNImage::setColor(int x, int y, int red, int green, int blue, int alpha)
{
    if (!inside(*this, x, y))
        return;
    setColor(x, y, red, green, blue);
    pixels[(static_cast<size_t>(y) * width + x) * 4 + 3] = static_cast<uint8_t>(limitByte(alpha));
}

void FNImage::fill(int red, int green, int blue, int alpha)
{
    if (!created || !pixels)
        return;
    const uint32_t word = static_cast<uint32_t>(limitByte(alpha)) << 24 | static_cast<uint32_t>(limitByte(red)) << 16
        | static_cast<uint32_t>(limitByte(green)) << 8 | static_cast<uint32_t>(limitByte(blue));
    // Write one pixel, then double the filled span with block copies while
    // it fits, and copy the remainder from the start in one last block.
    const size_t total = byteCount();
    std::memcpy(pixels, &word, 4);
    size_t filled = 4;
    while (filled * 2 <= total) {
        std::memcpy(pixels + filled, pixels, filled);
        filled *= 2;
    }
    if (filled < total)
        std::memcpy(pixels + filled, pixels, total - filled);
}

bool FNImage::copyFrom(const FNImage* source)
{
    if (!source || !source->pixels)
        return false;
    if (source->width != width || source->height != height || !pixels)
        resize(source->width, source->height);
    std::memcpy(pixels, source->pixels, byteCount());
    return true;
}

// ---- Picture operations -------------------------------------------------

void FNImage::drawImage(const FNImage* source, int x, int y, int w, int h)
{
    if (!source || !source->pixels || !created || !pixels)
        return;
    const int x0 = std::max(x, 0), x1 = std::min(x + w, width);
    const int y0 = std::max(y, 0), y1 = std::min(y + h, height);
    for (int Y = y0; Y < y1; ++Y) {
        const int sy = Y - y;
        if (sy < 0 || sy >= source->height)
            continue;
        uint8_t* d = pixels + (static_cast<size_t>(Y) * width + x0) * 4;
        for (int X = x0; X < x1; ++X, d += 4) {
            const int sx = X - x;
            if (sx < 0 || sx >= source->width)
                continue;
            const uint8_t* s = source->pixels + (static_cast<size_t>(sy) * source->width + sx) * 4;
            const int a = s[3];
            if (a == 0)
                continue;
            if (a == 255) {
                d[0] = s[0], d[1] = s[1], d[2] = s[2];
                continue;
            }
            // D = ((255 - u) * D + u * S) >> 8 with u = (a * 255) >> 8
            const int u = (a * 255) >> 8;
            for (int c = 0; c < 3; ++c)
                d[c] = static_cast<uint8_t>(((255 - u) * d[c] + u * s[c]) >> 8);
        }
    }
}

bool FNImage::flip(bool horizontal, bool vertical)
{
    if (!pixels)
        return true;
    if (horizontal) {
        for (int y = 0; y < height; ++y)
            std::reverse(row(y), row(y) + width);
    }
    if (vertical) {
        for (int y = 0; y < height / 2; ++y)
            std::swap_ranges(row(y), row(y) + width, row(height - 1 - y));
    }
    return true;
}
