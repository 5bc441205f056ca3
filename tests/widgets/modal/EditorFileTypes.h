#pragma once

#include "widgets/modal/FNFileDialog.h"

#include <utility>

// The editor's file types in its order: all five when opening, the first
// four when saving; `index` is preselected (counting from 1).
inline void AddFilters(FNFileDialog& dialog, int count, int index)
{
    const std::pair<const char*, const char*> types[] = { { "ビットマップ", "bmp" }, { "JPEG", "jpg" },
        { "PNG", "png" }, { "TARGA", "tga" }, { "すべてのファイル形式", "*" } };
    for (int i = 0; i < count; ++i)
        dialog.AddFilter(types[i].first, types[i].second);
    dialog.filterIndex = index;
}
