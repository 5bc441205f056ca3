#include "widgets/controls/FNListView.h"

#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/platform/FNVirtualKey.h"
#include "framework/scene/FN2DItem.h"
#include "framework/stage/FNEmit.h"
#include "imaging/FNImage.h"
#include "widgets/controls/FNTextBox.h"
#include "widgets/controls/FNVScroll.h"
#include "widgets/looks/FNLooks.h"

#include <algorithm>

namespace {

constexpr int kInset = 1; // rows lie one pixel inside the list's outline

} // namespace

FNListView::FNListView(int y, int height)
    : FNWidget(kX, y, kWidth, height)
    , m_face(std::make_unique<FNImage>(1, 1))
{
    FN_SET_CLASS_NAME(FNListView);
    m_look.Set(FNLookInfo(), &FNTextBoxLook);
}

FNListView::~FNListView()
{
    m_editorConnector.reset();
    m_barConnector.reset();
    m_connector.reset();
    m_editor.reset();
    m_rowWidgets.clear();
    m_bar.reset();
    if (item)
        item->SetPicture(nullptr);
}

void FNListView::OnItemCreated()
{
    m_connector = std::make_unique<FNEventConnector>(item);
    m_connector->Connect(FNEvent::LeftDown, &FNListView::OnPress, this);
    m_connector->Connect(FNEvent::LeftDoubleClick, &FNListView::OnDoubleClick, this);
    m_connector->Connect(FNEvent::KeyDown, &FNListView::OnKey, this);
    m_connector->Connect(FNEvent::Wheel, &FNListView::OnWheel, this);
    m_bar = std::make_unique<FNVScroll>(0, 0, kScrollBarWidth, 1);
    AddChild(m_bar.get());
    m_barConnector = std::make_unique<FNEventConnector>(static_cast<FNWidget*>(m_bar.get()));
    m_barConnector->Connect(FNEvent::ValueChanged, &FNListView::OnScrolled, this);
    Rebuild();
}

// ---- Rows ------------------------------------------------------------------------------------

void FNListView::AddRow(const FNString& rowText)
{
    m_rows.push_back(rowText);
    Rebuild();
}

void FNListView::SetRows(const std::vector<FNString>& rows)
{
    m_rows = rows;
    m_firstRow = 0;
    Rebuild();
}

void FNListView::Clear()
{
    SetRows({});
}

FNString FNListView::Row(int index) const
{
    return index >= 0 && index < RowCount() ? m_rows[index] : FNString();
}

int FNListView::Selected() const
{
    for (int i = 0; i < RowCount() && i < static_cast<int>(m_rowWidgets.size()); ++i) {
        if (m_rowWidgets[i]->IsSelected())
            return i;
    }
    return -1;
}

void FNListView::Select(int index)
{
    if (index < 0 || index >= RowCount() || index >= static_cast<int>(m_rowWidgets.size())) {
        m_group.Select(nullptr);
        return;
    }
    m_group.Select(m_rowWidgets[index].get());
    if (index < m_firstRow)
        ScrollTo(index);
    else if (index >= m_firstRow + VisibleRows())
        ScrollTo(index - VisibleRows() + 1);
}

void FNListView::SetPlaceholderShown(bool shown)
{
    m_placeholderShown = shown;
    Rebuild();
}

int FNListView::VisibleRows() const
{
    return std::max(1, (Height() - 2 * kInset) / kRowHeight);
}

int FNListView::IndexOfItem(const FN2DItemBase* hit) const
{
    for (size_t i = 0; i < m_rowWidgets.size(); ++i) {
        if (m_rowWidgets[i]->Item() == hit)
            return static_cast<int>(i);
    }
    return -1;
}

void FNListView::Rebuild()
{
    const int selected = Selected();
    StopEditing(false);
    m_rowWidgets.clear();
    if (!item)
        return;
    const int rowWidth = Width() - kScrollBarWidth - 2 * kInset;
    for (int i = 0; i < ShownCount(); ++i) {
        const bool placeholder = i == RowCount();
        auto row = std::make_unique<FNSelector>(kInset, 0, rowWidth, kRowHeight,
            placeholder ? PlaceholderText() : m_rows[i], placeholder ? nullptr : &m_group);
        // Rows hand their presses, keys and wheel on to the list.
        row->passToParent = true;
        AddChild(row.get());
        m_rowWidgets.push_back(std::move(row));
    }
    if (selected >= 0 && selected < RowCount())
        m_group.Select(m_rowWidgets[selected].get());
    Layout();
}

void FNListView::Layout()
{
    if (!item)
        return;
    const int most = std::max(0, ShownCount() - VisibleRows());
    m_firstRow = std::clamp(m_firstRow, 0, most);
    for (size_t i = 0; i < m_rowWidgets.size(); ++i)
        m_rowWidgets[i]->MoveTo(kInset, kInset + (static_cast<int>(i) - m_firstRow) * kRowHeight);
    m_bar->SetRect(Width() - kScrollBarWidth, 0, kScrollBarWidth, Height());
    m_bar->SetRange(ShownCount(), VisibleRows());
    m_bar->SetValue(m_firstRow);
}

void FNListView::ScrollTo(int firstRow)
{
    m_firstRow = firstRow;
    Layout();
}

// ---- Drawing ---------------------------------------------------------------------------------

void FNListView::Repaint()
{
    m_look.Draw(m_face.get(), Width(), Height());
    SetPicture(m_face.get());
    Redraw();
}

void FNListView::OnResized(int, int)
{
    Repaint();
    Rebuild();
}

// ---- Input ------------------------------------------------------------------------------------

void FNListView::OnPress(FNEventState event)
{
    const int index = IndexOfItem(event.item);
    if (index < 0 || index >= RowCount())
        return;
    m_group.Select(m_rowWidgets[index].get());
    FNEmitToWidget(this, FNEvent::SelectionSet);
}

void FNListView::OnDoubleClick(FNEventState event)
{
    const int index = IndexOfItem(event.item);
    if (index == RowCount() && m_placeholderShown)
        StartEditing();
    else if (index >= 0)
        FNEmitToWidget(this, FNEvent::SelectionChosen);
}

void FNListView::OnKey(FNEventState event)
{
    const int last = RowCount() - 1;
    int index = Selected();
    switch (event.key) {
    case FNKeyUp:
        index = std::max(0, index - 1);
        break;
    case FNKeyDown:
        index = std::min(last, index + 1);
        break;
    case FNKeyHome:
        index = 0;
        break;
    case FNKeyEnd:
        index = last;
        break;
    case FNKeyReturn:
        if (index >= 0)
            FNEmitToWidget(this, FNEvent::SelectionChosen);
        return;
    default:
        return;
    }
    if (last < 0 || index == Selected())
        return;
    Select(index);
    FNEmitToWidget(this, FNEvent::SelectionSet);
}

void FNListView::OnWheel(FNEventState event)
{
    ScrollTo(m_firstRow - event.wheel / 120);
}

void FNListView::OnScrolled(FNEventState)
{
    if (m_bar->Value() != m_firstRow)
        ScrollTo(m_bar->Value());
}

// ---- Adding through the placeholder ----------------------------------------------------

void FNListView::StartEditing()
{
    if (m_editor || !item)
        return;
    FNSelector* placeholder = m_rowWidgets.back().get();
    m_editor = std::make_unique<FNTextBox>(
        placeholder->X(), placeholder->Y(), placeholder->Width(), placeholder->Height(), FNString());
    AddChild(m_editor.get());
    m_editorConnector = std::make_unique<FNEventConnector>(static_cast<FNWidget*>(m_editor.get()));
    m_editorConnector->Connect(FNEvent::KeyDown, &FNListView::OnEditorKey, this);
    m_editorConnector->Connect(FNEvent::FocusOut, &FNListView::OnEditorFocusOut, this);
    m_editor->RequestFocus();
}

void FNListView::StopEditing(bool keep)
{
    if (!m_editor)
        return;
    const FNString typed = m_editor->GetText();
    m_editorConnector.reset();
    RemoveChild(m_editor.get());
    m_editor.reset();
    if (keep && !typed.empty()) {
        m_rows.push_back(typed);
        Rebuild();
        Select(RowCount() - 1);
    }
}

void FNListView::OnEditorKey(FNEventState event)
{
    if (event.key == FNKeyReturn)
        StopEditing(true);
    else if (event.key == FNKeyEscape)
        StopEditing(false);
}

void FNListView::OnEditorFocusOut(FNEventState)
{
    StopEditing(false);
}
