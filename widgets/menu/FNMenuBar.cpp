#include "widgets/menu/FNMenuBar.h"

#include "framework/core/FNFrameworkLock.h"
#include "framework/engine/FNEngine.h"
#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/platform/FNVirtualKey.h"
#include "framework/scene/FN2DItem.h"
#include "framework/stage/FN2DStage.h"
#include "framework/window/FNExWindow.h"
#include "imaging/text/FNStringStyle.h"
#include "widgets/menu/FNMenuFace.h"
#include "widgets/menu/FNMenuGeometry.h"
#include "widgets/menu/FNMenuLooks.h"
#include "widgets/menu/FNMenuPanel.h"

#include <algorithm>

// The framework declares SetMenu but cannot name the widgets the bar is
// made of; it is defined here, on the layer that can.
void FNExWindow::SetMenu(const FNWindowMenu& menu)
{
    InstallMenuBar(std::make_unique<FNMenuBar>(*this, *m_frameScene, m_titleStyle, menu));
}

namespace {

// The title style with each colour byte moved halfway to white.
std::unique_ptr<FNStringStyle> lighterStyle(const FNStringStyle* style)
{
    auto lighter = std::make_unique<FNStringStyle>();
    const FNStringStyle& from = style ? *style : FNDefaultStringStyle();
    lighter->copyFrom(from);
    lighter->setColor((from.red + 255) / 2, (from.green + 255) / 2, (from.blue + 255) / 2);
    return lighter;
}

} // namespace

FNMenuBar::FNMenuBar(FNExWindow& window, FN2DScene& frameScene, FNStringStyle* titleStyle, const FNWindowMenu& menu)
    : m_window(window)
    , m_frameScene(frameScene)
    , m_menu(menu)
    , m_disabledStyle(lighterStyle(titleStyle))
    , m_titleGroup(std::make_unique<FNSelectorGroup>())
{
    m_menu.openColumn = -1;
    BuildTitles(titleStyle);
    for (size_t column = 0; column < m_menu.columns.size(); ++column) {
        auto panel = std::make_unique<FNMenuPanel>(m_menu.columns[column], titleStyle, m_disabledStyle.get());
        const int index = static_cast<int>(column);
        panel->onChoose = [this, index](int row) { Choose(index, row); };
        Connect(panel->BodyItem(), { { FNEvent::FocusOut, &FNMenuBar::OnPanelFocusOut } });
        auto keys = std::make_unique<FNEventConnector>(panel->Stage());
        keys->Connect(FNEvent::StageKeyDown, &FNMenuBar::OnKey, this);
        m_connectors.push_back(std::move(keys));
        m_panels.push_back(std::move(panel));
    }
    auto frameKeys = std::make_unique<FNEventConnector>(window.Frame());
    frameKeys->Connect(FNEvent::StageKeyDown, &FNMenuBar::OnKey, this);
    m_connectors.push_back(std::move(frameKeys));
}

FNMenuBar::~FNMenuBar()
{
    m_connectors.clear();
    CloseMenus();
    m_panels.clear();
    m_titles.clear();
}

void FNMenuBar::BuildTitles(FNStringStyle* titleStyle)
{
    m_face = std::make_unique<FNMenuFace>(FNFrameLeft, FNFrameTop, 1, Height(), &FNMenuBarLook);
    m_face->PlaceIn(&m_frameScene);
    std::vector<int> widths;
    for (const FNWindowMenuColumn& column : m_menu.columns)
        widths.push_back(FNMenuTextWidth(titleStyle, column.title));
    const std::vector<FNRect> rects = FNMenuTitleRects(widths);
    for (size_t column = 0; column < rects.size(); ++column) {
        const FNRect& r = rects[column];
        auto title = std::make_unique<FNSelector>(
            r.left, r.top, r.right - r.left, r.bottom - r.top, m_menu.columns[column].title, m_titleGroup.get());
        title->SetStringStyle(titleStyle);
        title->SetTextOffset(FNMenuTitleTextX, FNMenuTitleTextY);
        m_face->AddChild(title.get());
        Connect(title->Item(),
            { { FNEvent::LeftDown, &FNMenuBar::OnTitlePress }, { FNEvent::MouseEnter, &FNMenuBar::OnTitleEnter },
                { FNEvent::FocusIn, &FNMenuBar::OnTitleFocusIn }, { FNEvent::FocusOut, &FNMenuBar::OnTitleFocusOut } });
        m_titles.push_back(std::move(title));
    }
}

void FNMenuBar::Connect(
    FN2DItemBase* item, std::initializer_list<std::pair<int, void (FNMenuBar::*)(FNEventState)>> list)
{
    auto connector = std::make_unique<FNEventConnector>(item);
    for (const auto& entry : list)
        connector->Connect(entry.first, entry.second, this);
    m_connectors.push_back(std::move(connector));
}

// ---- The window's side --------------------------------------------------------------

int FNMenuBar::Height() const
{
    return FNMenuBarHeight;
}

void FNMenuBar::Place(int x, int y, int width)
{
    m_face->SetRect(x, y, std::max(1, width), Height());
}

void FNMenuBar::CloseMenus()
{
    const int open = m_menu.openColumn;
    if (open < 0)
        return;
    m_menu.openColumn = -1;
    m_panels[open]->Close();
    m_titleGroup->Select(nullptr);
}

// ---- Opening, choosing ----------------------------------------------------------------

void FNMenuBar::OpenColumn(int column, bool firstRow)
{
    if (column < 0 || column >= static_cast<int>(m_panels.size()))
        return;
    FNMenuPanel& panel = *m_panels[column];
    if (m_menu.openColumn != column) {
        CloseMenus();
        m_menu.openColumn = column;
        m_openedByHover = -1;
        m_titleGroup->Select(m_titles[column].get());
        FN2DStage* frame = m_window.Frame();
        // An empty column marks its title but has no rows to show.
        if (frame->windowCreated && panel.RowCount() > 0) {
            const FNSelector& title = *m_titles[column];
            const FNPlatformRect area = WorkArea();
            // Below the title, kept on the work area: moved left, or up, as
            // far as needed.
            int x = frame->x + m_face->X() + title.X();
            int y = frame->y + m_face->Y() + title.Y() + title.Height();
            if (!area.Empty()) {
                x = std::max(area.left, std::min(x, area.right - panel.Stage()->width));
                y = std::max(area.top, std::min(y, area.bottom - panel.Stage()->height));
            }
            panel.Open(x, y, frame);
        }
    }
    if (firstRow)
        panel.SetCurrentRow(FNMenuNextChoosableRow(m_menu.columns[column], -1, 1));
}

FNPlatformRect FNMenuBar::WorkArea() const
{
    // The window system is asked under the framework lock, which must not
    // be held while a panel's window is made.
    FNFrameworkLockGuard lock;
    FNPlatformConnection* platform = m_window.Frame()->Platform();
    return platform ? platform->WorkArea() : FNPlatformRect {};
}

void FNMenuBar::Choose(int column, int row)
{
    const FNWindowMenuColumn& chosen = m_menu.columns[column];
    if (!chosen.IsChoosable(static_cast<size_t>(row)))
        return;
    FNEventState event;
    event.code = FNEvent::MenuCommand;
    event.stage = &m_window;
    event.param = chosen.IdOf(chosen.items[row]);
    CloseMenus();
    if (FNEventSink* sink = m_window.EventSink())
        sink->QueueEvent(event);
    m_window.Activate();
}

void FNMenuBar::CloseAndActivate()
{
    CloseMenus();
    m_window.Activate();
}

// ---- Focus --------------------------------------------------------------------------

int FNMenuBar::ColumnOfTitle(const FN2DItemBase* item) const
{
    for (size_t column = 0; column < m_titles.size(); ++column) {
        if (item && m_titles[column]->Item() == item)
            return static_cast<int>(column);
    }
    return -1;
}

bool FNMenuBar::IsMenuPart(const FNStageBase* stage, const FN2DItemBase* item) const
{
    if (ColumnOfTitle(item) >= 0)
        return true;
    return std::any_of(m_panels.begin(), m_panels.end(),
        [stage](const std::unique_ptr<FNMenuPanel>& panel) { return stage && panel->Stage() == stage; });
}

// Focus events come in pairs, the old focus's FocusOut first; by then the
// engine's focus block already names the new focus.
void FNMenuBar::CloseUnlessFocusStays()
{
    FNEngine* engine = m_window.Frame()->engine;
    if (m_menu.openColumn < 0 || !engine)
        return;
    if (!IsMenuPart(engine->current.focusStage, engine->current.focusItem))
        CloseMenus();
}

void FNMenuBar::OnTitlePress(FNEventState event)
{
    const int column = ColumnOfTitle(event.item);
    if (column < 0 || column != m_menu.openColumn)
        return;
    // The pointer on its way to press this title opened it: the press
    // means "this one", not "close".
    if (m_openedByHover == column) {
        m_openedByHover = -1;
        return;
    }
    CloseAndActivate();
    m_closedByPress = column;
}

void FNMenuBar::OnTitleEnter(FNEventState event)
{
    const int column = ColumnOfTitle(event.item);
    if (column < 0 || m_menu.openColumn < 0 || column == m_menu.openColumn)
        return;
    OpenColumn(column);
    m_openedByHover = column;
    m_titles[column]->RequestFocus();
}

void FNMenuBar::OnTitleFocusIn(FNEventState event)
{
    const int column = ColumnOfTitle(event.item);
    if (column >= 0 && column == m_closedByPress) {
        m_closedByPress = -1;
        return;
    }
    OpenColumn(column);
}

void FNMenuBar::OnTitleFocusOut(FNEventState event)
{
    if (ColumnOfTitle(event.item) == m_closedByPress)
        m_closedByPress = -1;
    CloseUnlessFocusStays();
}

void FNMenuBar::OnPanelFocusOut(FNEventState)
{
    CloseUnlessFocusStays();
}

// ---- Keys ------------------------------------------------------------------------------

void FNMenuBar::OnKey(FNEventState event)
{
    const int open = m_menu.openColumn;
    if (open < 0)
        return;
    FNMenuPanel& panel = *m_panels[open];
    const int count = static_cast<int>(m_panels.size());
    switch (event.key) {
    case FNKeyUp:
    case FNKeyDown:
        panel.StepCurrentRow(event.key == FNKeyUp ? -1 : 1);
        break;
    case FNKeyReturn:
        if (panel.CurrentRow() >= 0)
            Choose(open, panel.CurrentRow());
        break;
    case FNKeyEscape:
        CloseAndActivate();
        break;
    case FNKeyLeft:
    case FNKeyRight: {
        const int next = (open + (event.key == FNKeyLeft ? count - 1 : 1)) % count;
        OpenColumn(next, true);
        m_titles[next]->RequestFocus();
        break;
    }
    default:
        break;
    }
}
