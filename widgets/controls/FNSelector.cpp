#include "widgets/controls/FNSelector.h"

#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/scene/FN2DItem.h"
#include "imaging/FNImage.h"
#include "widgets/looks/FNLooks.h"

#include <algorithm>

// ---- FNSelector ----------------------------------------------------------------------

FNSelector::FNSelector(int x, int y, int w, int h, const FNString& newText, FNSelectorGroup* group)
    : FNTransParentLabel(x, y, w, h, newText)
    , m_group(group)
    , m_mark(std::make_unique<FNImage>(1, 1))
    , m_highlight(std::make_unique<FNImage>(1, 1))
{
    FN_SET_CLASS_NAME(FNSelector);
    m_markLook.Set(FNLookInfo(), &FNSelectorLook);
    FNLookInfo hover;
    hover.state = FNButtonHover;
    m_highlightLook.Set(hover, &FNSelectorLook);
    if (m_group)
        m_group->Add(this);
}

FNSelector::~FNSelector()
{
    m_connector.reset();
    if (m_group)
        m_group->Remove(this);
    if (item)
        item->SetPicture(nullptr);
}

void FNSelector::OnItemCreated()
{
    // The whole row chooses, not only the pixels of its text.
    item->solidHit = true;
    m_connector = std::make_unique<FNEventConnector>(item);
    m_connector->Connect(FNEvent::LeftDown, &FNSelector::OnPress, this);
    m_connector->Connect(FNEvent::MouseEnter, &FNSelector::OnEnter, this);
    m_connector->Connect(FNEvent::MouseLeave, &FNSelector::OnLeave, this);
}

void FNSelector::Repaint()
{
    m_markLook.Draw(m_mark.get(), Width(), Height());
    m_highlightLook.Draw(m_highlight.get(), Width(), Height());
    PlaceText();
    ShowBehind(m_selected ? m_mark.get() : nullptr);
}

void FNSelector::OnResized(int, int)
{
    Repaint();
}

void FNSelector::SetTextOffset(int newX, int newY)
{
    m_textX = newX;
    m_textY = newY;
    PlaceText();
}

void FNSelector::PlaceText()
{
    if (!item)
        return;
    item->Invalidate(true);
    item->textImageX = m_textX;
    const int textHeight = item->textImage ? item->textImage->height : 0;
    item->textImageY = m_textY >= 0 ? m_textY : (Height() - textHeight) / 2;
    item->Invalidate(true);
}

void FNSelector::ShowBehind(FNImage* shown)
{
    SetPicture(shown);
    Redraw();
}

void FNSelector::SetSelected(bool selected)
{
    m_selected = selected;
    markAlpha = selected ? 255 : 174;
    ShowBehind(selected ? m_mark.get() : nullptr);
}

void FNSelector::OnPress(FNEventState)
{
    if (m_group)
        m_group->Select(this);
}

void FNSelector::OnEnter(FNEventState)
{
    if (!m_selected)
        ShowBehind(m_highlight.get());
}

void FNSelector::OnLeave(FNEventState)
{
    if (!m_selected)
        ShowBehind(nullptr);
}

// ---- FNSelectorGroup -------------------------------------------------------------------

FNSelectorGroup::FNSelectorGroup()
{
    FN_SET_CLASS_NAME(FNSelectorGroup);
}

FNSelectorGroup::~FNSelectorGroup()
{
    for (FNSelector* selector : m_selectors)
        selector->m_group = nullptr;
}

void FNSelectorGroup::Add(FNSelector* selector)
{
    if (selector && std::find(m_selectors.begin(), m_selectors.end(), selector) == m_selectors.end())
        m_selectors.push_back(selector);
}

void FNSelectorGroup::Remove(FNSelector* selector)
{
    m_selectors.erase(std::remove(m_selectors.begin(), m_selectors.end(), selector), m_selectors.end());
    if (m_selected == selector)
        m_selected = nullptr;
}

void FNSelectorGroup::Select(FNSelector* selector)
{
    if (m_selected && m_selected != selector)
        m_selected->SetSelected(false);
    m_selected = selector;
    if (selector)
        selector->SetSelected(true);
}

FNString FNSelectorGroup::Text() const
{
    return m_selected ? m_selected->GetText() : FNString();
}
