#include "widgets/controls/ButtonFaces.h"

#include "framework/scene/FN2DItem.h"
#include "imaging/FNImage.h"
#include "imaging/text/TextLayout.h"
#include "widgets/looks/FNLooks.h"

ButtonFaces::ButtonFaces(std::vector<FNLookFunc> looks)
{
    for (FNLookFunc& look : looks) {
        m_looks.emplace_back().Set(FNLookInfo(), std::move(look));
        m_faces.push_back(std::make_unique<FNImage>(1, 1));
    }
}

ButtonFaces::~ButtonFaces() = default;

void ButtonFaces::Paint(int width, int height, bool enabled)
{
    FNLook overlay;
    overlay.Set(FNLookInfo(), &FNDisabledOverlayLook);
    for (size_t i = 0; i < m_looks.size(); ++i) {
        m_looks[i].Draw(m_faces[i].get(), width, height);
        if (!enabled)
            overlay.Draw(m_faces[i].get(), width, height);
    }
}

void FNPlaceButtonText(FN2DItem* item, bool pressed)
{
    if (!item)
        return;
    const FNTextPosition at
        = centerString(item->textStyle, static_cast<int>(item->width), static_cast<int>(item->height), item->text);
    item->Invalidate(true);
    item->textImageX = at.x + (pressed ? 1 : 0);
    item->textImageY = at.y + (pressed ? 1 : 0);
    item->Invalidate(true);
}
