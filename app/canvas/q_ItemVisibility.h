#pragma once

#include "framework/scene/FN2DItemBase.h"

// Showing and hiding a scene item so that the area it covers is drawn again:
// the item's area is marked while it is visible, before hiding and after
// showing.
inline void q_ShowItem(FN2DItemBase& item)
{
    item.visible = true;
    item.Invalidate(true);
}

inline void q_HideItem(FN2DItemBase& item)
{
    item.Invalidate(true);
    item.visible = false;
}
