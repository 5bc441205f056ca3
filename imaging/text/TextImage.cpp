#include "imaging/text/TextImage.h"

#include "imaging/FNImage.h"
#include "imaging/text/FNStringStyle.h"
#include "imaging/text/TextLayout.h"

FNImage* FNMakeTextImage(const FNStringStyle* style, const FNString& text, bool enabled)
{
    if (text.empty())
        return nullptr;
    const FNStringStyle* used = style ? style : &FNDefaultStringStyle();
    const FNTextSize size = measureString(text, used->font.get());
    auto* image = new FNImage(size.width + 1, size.height);
    if (!enabled)
        used = &FNLightenedStringStyle(used);
    // Filled with the text colour at alpha 0: drawing leaves the colour as
    // it is (blending a colour into itself) and writes the coverage as alpha.
    image->fill(used->red, used->green, used->blue, 0);
    image->drawString(used, 0, 0, 0, 0, size.width + 1, size.height, true, text);
    return image;
}
