// Text of FN2DItem: the item keeps its text as a picture (the text in the
// style's colour over full transparency, made by the text renderer) and draws
// it over its picture. The picture is remade whenever the text, the style or
// the enabled state changes.

#include "framework/scene/FN2DItem.h"

#include "imaging/FNImage.h"
#include "imaging/text/TextImage.h"

void FN2DItem::SetText(const FNString& newText)
{
    text = newText;
    RenderTextImage();
}

void FN2DItem::SetTextStyle(FNStringStyle* style)
{
    textStyle = style;
    RenderTextImage();
}

void FN2DItem::SetEnabled(bool flag)
{
    FN2DItemBase::SetEnabled(flag);
    RenderTextImage();
}

// A disabled item (own flag or an ancestor's) shows its text halfway to white.
void FN2DItem::RenderTextImage()
{
    Invalidate(true);
    DeleteTextImage();
    textImage = FNMakeTextImage(textStyle, text, IsEnabled());
    Invalidate(true);
}
