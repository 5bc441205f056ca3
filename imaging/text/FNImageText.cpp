// FNImage::drawString: lays the text out with FreeType glyphs into a
// temporary picture of black text on white, then blends that picture into
// the image in the style's colour.
#include "imaging/FNImage.h"
#include "imaging/text/FNStringStyle.h"
#include "imaging/text/TextBlend.h"
#include "imaging/text/TextLayout.h"
#include "imaging/text/TextRaster.h"

void FNImage::drawString(const FNStringStyle* style, int x, int y, int clipX, int clipY, int clipWidth, int clipHeight,
    bool writeAlpha, const FNString& text)
{
    if (text.empty() || !created || !pixels)
        return;
    const FNStringStyle& used = style ? *style : FNDefaultStringStyle();
    if (!used.font)
        return;
    // -1 stands for the image's own edge.
    const FNTextClip clip { clipX == -1 ? 0 : clipX, clipY == -1 ? 0 : clipY, clipWidth == -1 ? width : clipWidth,
        clipHeight == -1 ? height : clipHeight };
    const FNTextSize size = measureString(text, used.font.get());
    if (size.width <= 0 || size.height + 2 <= 0)
        return;
    FNImage picture(size.width, size.height + 2);
    rasterizeText(picture, text.str(), *used.font, used.format);
    blendTextPicture(*this, picture, x, y, clip, used.red, used.green, used.blue, writeAlpha);
}
