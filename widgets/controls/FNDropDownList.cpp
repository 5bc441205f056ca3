#include "widgets/controls/FNDropDownList.h"

#include "framework/engine/FNEngine.h"
#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/platform/FNVirtualKey.h"
#include "framework/scene/FN2DItem.h"
#include "framework/scene/FN2DScene.h"
#include "framework/stage/FN2DStage.h"
#include "framework/stage/FNEmit.h"
#include "imaging/FNImage.h"
#include "widgets/controls/FNVScroll.h"
#include "widgets/looks/FNLooks.h"
#include "widgets/theme/FNTheme.h"

#include <algorithm>

FNDropDownList::FNDropDownList()
    : FNWidget(kX, kY, kWidth, kHeight)
    , m_box(std::make_unique<FNImage>(1, 1))
    , m_boxHighlight(std::make_unique<FNImage>(1, 1))
    , m_list(std::make_unique<FNImage>(1, 1))
{
    FN_SET_CLASS_NAME(FNDropDownList);
    m_boxLook.Set(FNLookInfo(), &FNDropDownBoxLook);
    m_boxHighlightLook.Set(FNLookInfo(), &FNDropDownBoxHighlightLook);
    m_listLook.Set(FNLookInfo(), &FNDropDownListLook);
}

FNDropDownList::~FNDropDownList()
{
    Close();
    m_boxConnector.reset();
    if (item)
        item->SetPicture(nullptr);
}

void FNDropDownList::OnItemCreated()
{
    m_boxConnector = std::make_unique<FNEventConnector>(item);
    m_boxConnector->Connect(FNEvent::MouseEnter, &FNDropDownList::OnBoxEnter, this);
    m_boxConnector->Connect(FNEvent::MouseLeave, &FNDropDownList::OnBoxLeave, this);
    m_boxConnector->Connect(FNEvent::FocusOut, &FNDropDownList::OnBoxLeave, this);
    m_boxConnector->Connect(FNEvent::LeftUp, &FNDropDownList::OnBoxRelease, this);
}

// ---- Entries ---------------------------------------------------------------------------

void FNDropDownList::AddEntry(const FNString& entryText)
{
    const int row = static_cast<int>(m_entries.size());
    m_entries.push_back(
        std::make_unique<FNSelector>(0, row * Height(), Width() - kArrowArea, Height(), entryText, &m_group));
    if (m_rows)
        m_entries.back()->PlaceIn(m_rows.get());
}

void FNDropDownList::SelectByText(const FNString& wanted)
{
    if (!IsOnStage())
        return;
    for (const auto& entry : m_entries) {
        if (entry->GetText() == wanted) {
            m_group.Select(entry.get());
            TakeText(entry->GetText());
            FNEmitToWidget(this, FNEvent::SelectionSet);
            return;
        }
    }
}

int FNDropDownList::IndexOf(const FNSelector* entry) const
{
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].get() == entry)
            return static_cast<int>(i);
    }
    return -1;
}

void FNDropDownList::Choose(FNSelector* entry)
{
    m_group.Select(entry);
    TakeText(entry->GetText());
    CloseToBox();
    FNEmitToWidget(this, FNEvent::SelectionChosen);
}

// ---- The box -------------------------------------------------------------------------------

void FNDropDownList::Repaint()
{
    m_boxLook.Draw(m_box.get(), Width(), Height());
    m_boxHighlightLook.Draw(m_boxHighlight.get(), Width(), Height());
    PlaceText();
    ShowBox(false);
}

void FNDropDownList::TakeText(const FNString& newText)
{
    SetText(newText);
    PlaceText();
    Redraw();
}

// The chosen text sits in the box left of the arrow area, centred on its
// height.
void FNDropDownList::PlaceText()
{
    if (!item)
        return;
    item->textImageX = 4;
    item->textImageY = item->textImage ? (Height() - item->textImage->height) / 2 : 0;
}

void FNDropDownList::OnResized(int, int)
{
    Repaint();
}

void FNDropDownList::OnDetach()
{
    Close();
}

void FNDropDownList::ShowBox(bool highlighted)
{
    SetPicture(highlighted ? m_boxHighlight.get() : m_box.get());
    Redraw();
}

void FNDropDownList::OnBoxEnter(FNEventState)
{
    ShowBox(true);
}

void FNDropDownList::OnBoxLeave(FNEventState)
{
    ShowBox(false);
}

void FNDropDownList::OnBoxRelease(FNEventState event)
{
    const bool inside = event.localX >= 0 && event.localX < Width() && event.localY >= 0 && event.localY < Height();
    if (!inside)
        return;
    if (m_closedByBoxPress) {
        m_closedByBoxPress = false;
        return;
    }
    if (IsOpen())
        Close();
    else
        Open();
}

// ---- The list ------------------------------------------------------------------------------

FNRect FNDropDownList::PopupRect() const
{
    FNStageBase* stage = item->StageOf();
    const int rows = std::min(static_cast<int>(m_entries.size()), kVisibleRows);
    const int h = Height();
    const int height = rows * h + 2;
    const int width = static_cast<int>(m_entries.size()) > kVisibleRows ? Width() : Width() - kScrollBarWidth;
    const FNRect box = item->ScreenBox(0, 0, Width(), Height());
    int left = box.left, top = box.top;
    FNPlatformRect workArea { 0, 0, 1 << 16, 1 << 16 };
    if (FNPlatformConnection* platform = stage ? stage->Platform() : nullptr) {
        platform->ClientToScreen(stage->window, left, top);
        workArea = platform->WorkArea();
    }
    int y = top + h;
    if (y + height > workArea.bottom)
        y = y - h - height; // no room below the box: above it
    return FNRect { left, y, left + width, y + height };
}

void FNDropDownList::Open()
{
    FNStageBase* stage = item ? item->StageOf() : nullptr;
    if (IsOpen() || !stage || !stage->engine || m_entries.empty())
        return;
    const FNRect at = PopupRect();
    const int width = at.right - at.left, height = at.bottom - at.top;
    m_popupScene = std::make_unique<FN2DScene>();
    m_listLook.Draw(m_list.get(), width, height);
    m_listFace = std::make_unique<FN2DItem>(width, height, 0, 0, 0);
    m_listFace->SetPicture(m_list.get());
    m_popupScene->AddItem(m_listFace.get());
    m_rows = std::make_unique<FN2DItem>(width - 2, height - 2, 1, 1, 1);
    m_rows->clipChildren = true;
    m_popupScene->AddItem(m_rows.get());
    for (const auto& entry : m_entries)
        entry->PlaceIn(m_rows.get());
    const int count = static_cast<int>(m_entries.size());
    if (count > kVisibleRows) {
        m_bar = std::make_unique<FNVScroll>(width - kScrollBarWidth, 0, kScrollBarWidth, height);
        m_bar->SetRange(count, kVisibleRows);
        m_bar->PlaceIn(m_popupScene.get());
    }

    m_popup = std::make_unique<FN2DStage>(at.left, at.top, width, height, "FNDropDownList");
    m_popup->SetScene(m_popupScene.get());
    auto connect = [this](auto target, int code, void (FNDropDownList::*handler)(FNEventState)) {
        m_popupConnectors.push_back(std::make_unique<FNEventConnector>(target));
        m_popupConnectors.back()->Connect(code, handler, this);
    };
    for (const auto& entry : m_entries) {
        FNWidget* row = entry.get();
        connect(row, FNEvent::LeftUp, &FNDropDownList::OnEntryRelease);
        connect(row, FNEvent::FocusOut, &FNDropDownList::OnFocusLeft);
        connect(row, FNEvent::Wheel, &FNDropDownList::OnListWheel);
    }
    FNStageBase* popup = m_popup.get();
    connect(popup, FNEvent::FocusOut, &FNDropDownList::OnFocusLeft);
    connect(popup, FNEvent::StageKeyDown, &FNDropDownList::OnListKey);
    connect(popup, FNEvent::Wheel, &FNDropDownList::OnListWheel);
    if (m_bar)
        connect(static_cast<FNWidget*>(m_bar.get()), FNEvent::ValueChanged, &FNDropDownList::OnScrolled);
    m_popup->Open(true, stage, stage->engine);
    // The chosen entry is in view when the list opens.
    const int chosen = IndexOf(m_group.Selected());
    ScrollTo(chosen < 0 ? 0 : chosen - kVisibleRows + 1);
    m_popup->Activate();
}

void FNDropDownList::Close()
{
    if (!m_popup)
        return;
    m_popupConnectors.clear();
    for (const auto& entry : m_entries) {
        if (entry->HasItem() && m_rows)
            m_rows->RemoveChild(entry->Item());
    }
    m_popup->Close();
    m_popup->SetScene(nullptr);
    m_popup.reset();
    m_bar.reset();
    m_rows.reset();
    m_listFace.reset();
    m_popupScene.reset();
    ShowBox(false);
}

// Closed by a choice or Escape, the list held the keyboard: the window of
// the box gets it back. Nothing else would give it (the list's window is
// gone, and without a window manager the keyboard then goes nowhere).
void FNDropDownList::CloseToBox()
{
    Close();
    if (FNStageBase* stage = item ? item->StageOf() : nullptr)
        stage->Activate();
}

void FNDropDownList::ScrollTo(int firstRow)
{
    const int count = static_cast<int>(m_entries.size());
    m_firstRow = std::clamp(firstRow, 0, std::max(0, count - kVisibleRows));
    for (int row = 0; row < count; ++row)
        m_entries[row]->MoveTo(0, (row - m_firstRow) * Height());
    if (m_bar)
        m_bar->SetValue(m_firstRow);
}

void FNDropDownList::OnScrolled(FNEventState)
{
    if (m_bar && m_bar->Value() != m_firstRow)
        ScrollTo(m_bar->Value());
}

void FNDropDownList::OnEntryRelease(FNEventState event)
{
    auto* entry = static_cast<FNSelector*>(event.widget);
    if (IndexOf(entry) < 0)
        return;
    const bool inside
        = event.localX >= 0 && event.localX < entry->Width() && event.localY >= 0 && event.localY < entry->Height();
    if (inside)
        Choose(entry);
}

void FNDropDownList::OnListKey(FNEventState event)
{
    const int count = static_cast<int>(m_entries.size());
    int marked = IndexOf(m_group.Selected());
    switch (event.key) {
    case FNKeyUp:
    case FNKeyDown:
        marked = std::clamp(marked + (event.key == FNKeyUp ? -1 : 1), 0, count - 1);
        m_group.Select(m_entries[marked].get());
        if (marked < m_firstRow)
            ScrollTo(marked);
        else if (marked >= m_firstRow + kVisibleRows)
            ScrollTo(marked - kVisibleRows + 1);
        break;
    case FNKeyReturn:
        if (marked >= 0)
            Choose(m_entries[marked].get());
        break;
    case FNKeyEscape:
        CloseToBox();
        break;
    default:
        break;
    }
}

void FNDropDownList::OnListWheel(FNEventState event)
{
    ScrollTo(m_firstRow - event.wheel / 120);
}

bool FNDropDownList::FocusIsInPopup() const
{
    FNEngine* engine = FNEngine::Current();
    return engine && m_popup && engine->current.focusStage == m_popup.get();
}

void FNDropDownList::OnFocusLeft(FNEventState)
{
    // The focus moving from the list to a row of it keeps it open.
    if (FocusIsInPopup())
        return;
    FNEngine* engine = FNEngine::Current();
    m_closedByBoxPress = engine && engine->current.focusItem == item;
    Close();
}
