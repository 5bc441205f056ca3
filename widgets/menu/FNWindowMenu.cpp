#include "widgets/menu/FNWindowMenu.h"

#include <algorithm>

// ---- FNWindowMenuColumn ----------------------------------------------------------

FNWindowMenuColumn::FNWindowMenuColumn(const FNString& newTitle)
    : title(newTitle)
{
    FN_SET_CLASS_NAME(FNWindowMenuColumn);
}

bool FNWindowMenuColumn::IsSeparator(const FNString& text)
{
    return text == FNMenuSeparatorText;
}

bool FNWindowMenuColumn::HasItem(const FNString& text) const
{
    return std::find(items.begin(), items.end(), text) != items.end();
}

bool FNWindowMenuColumn::AddItem(int32_t id, bool itemEnabled, int position, const FNString& text)
{
    const bool separator = IsSeparator(text);
    if (!separator && HasItem(text))
        return false;
    const bool append = position < 0 || static_cast<size_t>(position) >= items.size();
    items.insert(append ? items.end() : items.begin() + position, text);
    if (!separator) {
        identifiers[text.c_str()] = id;
        enabled[text.c_str()] = itemEnabled;
    }
    return true;
}

int32_t FNWindowMenuColumn::IdOf(const FNString& text) const
{
    auto found = identifiers.find(text.c_str());
    return found == identifiers.end() ? 0 : found->second;
}

bool FNWindowMenuColumn::IsItemEnabled(const FNString& text) const
{
    auto found = enabled.find(text.c_str());
    return found != enabled.end() && found->second;
}

bool FNWindowMenuColumn::IsChoosable(size_t row) const
{
    return row < items.size() && !IsSeparator(items[row]) && IsItemEnabled(items[row]);
}

// ---- FNWindowMenu ----------------------------------------------------------------

FNWindowMenu::FNWindowMenu()
{
    FN_SET_CLASS_NAME(FNWindowMenu);
}

bool FNWindowMenu::AddColumn(const FNString& title)
{
    if (FindColumn(title))
        return false;
    columns.emplace_back(title);
    return true;
}

bool FNWindowMenu::AddItem(
    int32_t id, bool itemEnabled, int position, const FNString& text, const FNString& columnTitle)
{
    FNWindowMenuColumn* column = FindColumn(columnTitle);
    return column && column->AddItem(id, itemEnabled, position, text);
}

const FNWindowMenuColumn* FNWindowMenu::Column(const FNString& title) const
{
    auto found = std::find_if(
        columns.begin(), columns.end(), [&](const FNWindowMenuColumn& column) { return column.title == title; });
    return found == columns.end() ? nullptr : &*found;
}

FNWindowMenuColumn* FNWindowMenu::FindColumn(const FNString& title)
{
    return const_cast<FNWindowMenuColumn*>(static_cast<const FNWindowMenu*>(this)->Column(title));
}
