#pragma once

#include "framework/core/FNGUICoreObject.h"
#include "imaging/FNString.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The item text that makes a row a separator: drawn as a line, never chosen,
// but it takes a row like any item.
constexpr const char FNMenuSeparatorText[] = "[Fern-Separator]";

// FNWindowMenuColumn: one column of a menu bar: its title and its items in
// display order, each with the command identifier it reports when chosen
// and whether it can be chosen. Items are known by their text, which is
// unique within the column (separators excepted: a column may have several).
class FNWindowMenuColumn : public FNGUICoreObject {
public:
    explicit FNWindowMenuColumn(const FNString& title = FNString());

    // Inserts the item at `position` (appended when it is -1 or past the
    // end). False, and nothing changes, when the column has that text already.
    bool AddItem(int32_t id, bool enabled, int position, const FNString& text);
    bool HasItem(const FNString& text) const;
    // The item's identifier; 0 for a text that is no item.
    int32_t IdOf(const FNString& text) const;
    bool IsItemEnabled(const FNString& text) const;
    // The row holds an enabled item that is not a separator.
    bool IsChoosable(size_t row) const;

    static bool IsSeparator(const FNString& text);

    FNString title;
    std::vector<FNString> items;
    std::map<std::string, int32_t> identifiers;
    std::map<std::string, bool> enabled;
};

// FNWindowMenu: the description of a window's menu bar, a value type built
// by the application (usually on the stack) and copied into the window by
// FNExWindow::SetMenu(). Column titles are unique.
class FNWindowMenu : public FNGUICoreObject {
public:
    FNWindowMenu();

    // Appends an empty column; false when a column has that title already.
    bool AddColumn(const FNString& title);
    // Adds an item to the column of that title (FNWindowMenuColumn::AddItem);
    // false when there is no such column or it has the item already.
    bool AddItem(int32_t id, bool enabled, int position, const FNString& text, const FNString& columnTitle);
    // The column of that title, or null.
    const FNWindowMenuColumn* Column(const FNString& title) const;

    std::vector<FNWindowMenuColumn> columns;
    int32_t openColumn = -1; // the column whose panel is open, -1 for none

private:
    FNWindowMenuColumn* FindColumn(const FNString& title);
};
