#include "widgets/menu/FNMenuGeometry.h"

#include "imaging/text/FNStringStyle.h"
#include "imaging/text/TextLayout.h"
#include "widgets/menu/FNWindowMenu.h"

#include <algorithm>

int FNMenuTextWidth(const FNStringStyle* style, const FNString& text)
{
    const FNStringStyle& used = style ? *style : FNDefaultStringStyle();
    return measureString(text, used.font.get()).width;
}

std::vector<FNRect> FNMenuTitleRects(const std::vector<int>& titleWidths)
{
    std::vector<FNRect> rects;
    int x = FNMenuTitleFirstX;
    for (int width : titleWidths) {
        const int w = width + FNMenuTitlePadding;
        rects.push_back(FNRect { x, FNMenuTitleTop, x + w, FNMenuTitleTop + FNMenuTitleHeight });
        x += w;
    }
    return rects;
}

int FNMenuPanelRowWidth(const std::vector<int>& itemTextWidths)
{
    int widest = 0;
    for (int width : itemTextWidths)
        widest = std::max(widest, width);
    return std::max(FNMenuPanelMinWidth, widest + FNMenuPanelTextPadding);
}

int FNMenuPanelWidth(int rowWidth)
{
    return rowWidth + 2 * FNMenuRowX;
}

int FNMenuPanelHeight(int rowCount)
{
    return rowCount * FNMenuRowHeight + 2 * FNMenuPanelBorderY;
}

int FNMenuNextChoosableRow(const FNWindowMenuColumn& column, int row, int step)
{
    const int count = static_cast<int>(column.items.size());
    if (count == 0)
        return -1;
    if (row < 0)
        row = step > 0 ? -1 : count;
    for (int tried = 0; tried < count; ++tried) {
        row = ((row + step) % count + count) % count;
        if (column.IsChoosable(static_cast<size_t>(row)))
            return row;
    }
    return -1;
}
