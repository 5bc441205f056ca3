#pragma once

#include "framework/core/FNRect.h"
#include "imaging/FNString.h"

#include <vector>

class FNStringStyle;
class FNWindowMenuColumn;

// Where the parts of a menu bar and its panels lie. Pure functions of the
// measured text widths, so the layout rules are tested on their own.
//
//   bar     18 pixels high, between the title bar and the client area
//   titles  (w + 12) x 16 at (x, 1) of the bar, x from 5 and advancing by
//           w + 12 (w: the title's text width); the text at (6, 0) inside
//   panel   rows of the panel's row width x 20, one per item (separators
//           included), at (2, 20 x row) of the panel's list; the list lies
//           one pixel below the panel's top edge, inside a border of 2
//           pixels left and right and 1 pixel top and bottom
constexpr int FNMenuBarHeight = 18;
constexpr int FNMenuTitleFirstX = 5;
constexpr int FNMenuTitleTop = 1;
constexpr int FNMenuTitleHeight = 16;
constexpr int FNMenuTitlePadding = 12;
constexpr int FNMenuTitleTextX = 6;
constexpr int FNMenuTitleTextY = 0;
constexpr int FNMenuRowHeight = 20;
constexpr int FNMenuRowX = 2;
constexpr int FNMenuRowTextX = 5;
constexpr int FNMenuPanelMinWidth = 100;
constexpr int FNMenuPanelTextPadding = 10;
constexpr int FNMenuPanelBorderY = 1;

// The text's width in pixels in the style (null: the default style).
int FNMenuTextWidth(const FNStringStyle* style, const FNString& text);

// The titles' rectangles in bar coordinates, for titles of these widths.
std::vector<FNRect> FNMenuTitleRects(const std::vector<int>& titleWidths);

// A panel's row width: the widest item text (separators left out) plus 10,
// but at least 100.
int FNMenuPanelRowWidth(const std::vector<int>& itemTextWidths);
// The panel window's size around rows of that width.
int FNMenuPanelWidth(int rowWidth);
int FNMenuPanelHeight(int rowCount);

// The next row that can be chosen after `row` going by `step` (+1 down, -1
// up), wrapping round; from row -1 going down it is the first, going up the
// last. -1 when the column has no row that can be chosen.
int FNMenuNextChoosableRow(const FNWindowMenuColumn& column, int row, int step);
