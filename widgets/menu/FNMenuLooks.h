#pragma once

#include "widgets/looks/FNLook.h"

// The looks of the window menu (FNLookFunc). The panel body is the
// drop-down list's (FNDropDownListLook); titles and rows are selectors.

// The bar behind the titles: the window background with an etched line
// along its bottom, which parts the bar from the client area.
void FNMenuBarLook(FNImage* target, int width, int height, FNLookInfo info);
// A separator row: transparent, with an etched line across its middle.
void FNMenuSeparatorLook(FNImage* target, int width, int height, FNLookInfo info);
