#include "imaging/text/TextRaster.h"

#include "imaging/FNImage.h"
#include "imaging/text/FNFont.h"
#include "imaging/text/TextLayout.h"
#include "imaging/text/Utf8.h"

#include <algorithm>

namespace {

// Puts one letter's coverage into the picture with its pen at (penX,
// baseline), clipped to the picture.
void placeGlyph(FNImage& picture, const FNGlyph& glyph, int penX, int baseline)
{
    const int left = penX + glyph.left, top = baseline - glyph.top;
    const int x0 = std::max(0, -left), x1 = std::min(glyph.width, picture.width - left);
    const int y0 = std::max(0, -top), y1 = std::min(glyph.height, picture.height - top);
    for (int gy = y0; gy < y1; ++gy) {
        const uint8_t* c = glyph.coverage.data() + static_cast<size_t>(gy) * glyph.width;
        uint8_t* row = picture.pixels + static_cast<size_t>(top + gy) * picture.width * 4;
        for (int gx = x0; gx < x1; ++gx) {
            if (c[gx] == 0)
                continue;
            uint8_t* p = row + static_cast<size_t>(left + gx) * 4;
            // covered = e + c - e c / 255 with e the coverage already there
            const int e = 255 - p[0];
            const int covered = e + c[gx] - e * c[gx] / 255;
            p[0] = p[1] = p[2] = static_cast<uint8_t>(255 - covered);
        }
    }
}

} // namespace

void rasterizeText(FNImage& picture, const std::string& text, FNFont& font, uint32_t format)
{
    if (!picture.pixels)
        return;
    std::lock_guard<std::recursive_mutex> guard(FNFont::textLock());
    for (const FNTextLine& line : layoutText(text, font, format, picture.width, picture.height)) {
        const int baseline = line.y + font.ascent();
        int pen = 0;
        for (size_t pos = line.begin; pos < line.end;) {
            const uint32_t code = utf8Decode(text, pos);
            if (code == '\t') {
                pen = nextTabStop(pen, font);
                continue;
            }
            const FNGlyph& glyph = font.glyph(code);
            placeGlyph(picture, glyph, line.x + pen, baseline);
            pen += glyph.advance;
        }
    }
}
