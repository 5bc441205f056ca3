// The menu description on its own: the rules for adding columns and items,
// and where the bar's titles and a panel's rows go.

#include "widgets/menu/FNMenuGeometry.h"
#include "widgets/menu/FNWindowMenu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> itemsOf(const FNWindowMenuColumn& column)
{
    std::vector<std::string> texts;
    for (const FNString& text : column.items)
        texts.push_back(text.c_str());
    return texts;
}

TEST(WindowMenuTest, ColumnTitlesAreUnique)
{
    FNWindowMenu menu;
    EXPECT_TRUE(menu.AddColumn("ファイル"));
    EXPECT_TRUE(menu.AddColumn("編集"));
    EXPECT_FALSE(menu.AddColumn("ファイル"));
    ASSERT_EQ(menu.columns.size(), 2u);
    EXPECT_EQ(menu.columns[0].title, "ファイル");
    EXPECT_EQ(menu.columns[1].title, "編集");
    EXPECT_EQ(menu.openColumn, -1);
}

TEST(WindowMenuTest, ItemsGoWhereTheirPositionSaysAndStayUnique)
{
    const std::string sep = FNMenuSeparatorText;
    struct Add {
        const char* column;
        std::string text;
        int id;
        int position;
        bool added;
    };
    const Add adds[] = {
        { "ファイル", "B", 2, -1, true }, { "ファイル", "D", 4, 99, true }, // past the end: appended
        { "ファイル", "A", 1, 0, true }, { "ファイル", "C", 3, 2, true },
        { "ファイル", "B", 9, -1, false }, // kept once, with its first id
        { "パーツ", "E", 5, -1, false }, // no such column
        { "ファイル", sep, 0, 1, true }, { "ファイル", sep, 0, -1, true }, // separators may repeat
    };
    FNWindowMenu menu;
    menu.AddColumn("ファイル");
    for (const Add& add : adds)
        EXPECT_EQ(menu.AddItem(add.id, true, add.position, add.text.c_str(), add.column), add.added) << add.text;
    const FNWindowMenuColumn& column = *menu.Column("ファイル");
    EXPECT_EQ(itemsOf(column), (std::vector<std::string> { "A", sep, "B", "C", "D", sep }));
    EXPECT_EQ(column.IdOf("B"), 2);
    EXPECT_EQ(column.IdOf("D"), 4);
    EXPECT_EQ(menu.Column("パーツ"), nullptr);
}

TEST(WindowMenuTest, SeparatorsAndDisabledItemsAreNotChoosable)
{
    FNWindowMenuColumn column("ファイル");
    column.AddItem(11, true, -1, "新規");
    column.AddItem(0, true, -1, FNMenuSeparatorText);
    column.AddItem(13, false, -1, "保存");
    column.AddItem(14, true, -1, "終了");
    const bool choosable[] = { true, false, false, true, false };
    for (size_t row = 0; row < 5; ++row)
        EXPECT_EQ(column.IsChoosable(row), choosable[row]) << row;
    // Up and down stop on choosable rows only, wrapping round.
    struct Move {
        int from;
        int step;
        int to;
    };
    const Move moves[] = { { -1, 1, 0 }, { 0, 1, 3 }, { 3, 1, 0 }, { -1, -1, 3 }, { 3, -1, 0 }, { 0, -1, 3 } };
    for (const Move& move : moves)
        EXPECT_EQ(FNMenuNextChoosableRow(column, move.from, move.step), move.to) << move.from << " " << move.step;
    EXPECT_EQ(FNMenuNextChoosableRow(FNWindowMenuColumn("空"), -1, 1), -1);
}

TEST(MenuGeometryTest, TitlesFollowEachOtherFromX5)
{
    const std::vector<FNRect> rects = FNMenuTitleRects({ 30, 48 });
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0], (FNRect { 5, 1, 47, 17 }));
    EXPECT_EQ(rects[1], (FNRect { 47, 1, 107, 17 }));
}

TEST(MenuGeometryTest, PanelRowsAreTheWidestTextPlus10AndAtLeast100)
{
    struct Case {
        std::vector<int> widths;
        int rowWidth;
    };
    const Case cases[] = { { {}, 100 }, { { 40, 90 }, 100 }, { { 91 }, 101 }, { { 200, 50 }, 210 } };
    for (const Case& c : cases)
        EXPECT_EQ(FNMenuPanelRowWidth(c.widths), c.rowWidth);
    EXPECT_EQ(FNMenuPanelWidth(100), 104);
    EXPECT_EQ(FNMenuPanelHeight(3), 62);
}

} // namespace
