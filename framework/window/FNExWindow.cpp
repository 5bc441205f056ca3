#include "framework/window/FNExWindow.h"

#include "framework/core/FNFrameworkLock.h"
#include "framework/engine/FNEngine.h"
#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/scene/FN2DItem.h"
#include "framework/scene/FN2DScene.h"
#include "framework/stage/FNEmit.h"
#include "imaging/FNImage.h"
#include "imaging/text/FNStringStyle.h"

#include <algorithm>

// The frame: the top-level window around the client. A close request from
// the window system (the window manager's close) is the client's close
// request, since the application only knows the FNExWindow.
class FNExWindowFrame : public FN2DStage {
public:
    FNExWindowFrame(FNExWindow* client, const FNString& title)
        : FN2DStage(0, 0, 1, 1, title)
        , m_client(client)
    {
        FN_SET_CLASS_NAME(FNExWindowFrame);
    }

    void OnSystemCloseRequest() override { FNEmitToStage(m_client, FNEvent::CloseRequest); }

    // Keys belong to the client: activating the frame (as the engine does
    // for its main stage) activates the client inside it.
    void Activate() override
    {
        if (m_client->windowCreated)
            m_client->Activate();
        else
            FN2DStage::Activate();
    }

    // A move by the window system (a window manager dragging the frame)
    // moves the client rectangle with it.
    void OnSystemMoved(int newX, int newY) override
    {
        FN2DStage::OnSystemMoved(newX, newY);
        FNRect& client = m_client->m_client;
        int w = client.right - client.left;
        int h = client.bottom - client.top;
        const int top = m_client->TopHeight();
        client = FNRect { newX + FNFrameLeft, newY + top, newX + FNFrameLeft + w, newY + top + h };
    }

    // A size by the window system (a window manager, a tool): the client is
    // laid out to fill the frame again, its title bar and edges with it. The
    // frame's own sizes come back here too, and then change nothing.
    void OnSystemResized(int newWidth, int newHeight) override
    {
        const bool sized = newWidth != width || newHeight != height;
        FN2DStage::OnSystemResized(newWidth, newHeight);
        if (!sized)
            return;
        const FNRect& client = m_client->m_client;
        const int top = m_client->TopHeight();
        m_client->Layout(FNRect { client.left, client.top, client.left + newWidth - FNFrameLeft - FNFrameRight,
            client.top + newHeight - top - FNFrameBottom });
        m_client->PlaceFrameItems();
    }

private:
    FNExWindow* m_client;
};

namespace {

// Sizes of the title bar's pieces.
constexpr int kButtonWidth = 24;
constexpr int kButtonHeight = 20;
constexpr int kButtonGap = 2;
constexpr int kButtonTop = 4;
constexpr int kTitleTextLeft = 8;
constexpr int kTitleTextTop = 5;
constexpr int kTitleTextHeight = 20;

FNExWindowLooks& defaultLooks()
{
    static FNExWindowLooks looks = FNPlainExWindowLooks();
    return looks;
}

std::function<void(FNExWindow*)>& creditViewHook()
{
    static std::function<void(FNExWindow*)> hook;
    return hook;
}

} // namespace

void FNExWindow::SetDefaultLooks(const FNExWindowLooks& looks)
{
    defaultLooks() = looks;
}

void FNExWindow::SetCreditViewHook(std::function<void(FNExWindow*)> hook)
{
    creditViewHook() = std::move(hook);
}

FNExWindow::FNExWindow(int newX, int newY, int newWidth, int newHeight, const FNString& newTitle)
    : FN2DStage(FNFrameLeft, FNFrameTop, newWidth, newHeight, "2DStage")
    , m_looks(defaultLooks())
{
    FN_SET_CLASS_NAME(FNExWindow);
    m_frame = new FNExWindowFrame(this, newTitle);
    m_frameScene = new FN2DScene();
    m_titleStyle = new FNStringStyle();
    m_titleStyle->setColor((m_looks.titleText >> 16) & 255, (m_looks.titleText >> 8) & 255, m_looks.titleText & 255);
    BuildFrameScene();
    m_frame->SetScene(m_frameScene);
    m_clientScene = new FN2DScene();
    uint32_t bg = m_looks.background;
    m_clientScene->SetBackground((bg >> 16) & 255, (bg >> 8) & 255, bg & 255, 255);
    SetScene(m_clientScene);
    m_rootItem = new FN2DItem(newWidth, newHeight, 0, 0, 0);
    m_clientScene->AddItem(m_rootItem);
    m_client = FNRect { newX, newY, newX + newWidth, newY + newHeight };
    Layout(m_client);
}

FNExWindow::~FNExWindow()
{
    Close();
    // The bar's widgets lie on the frame scene: they go before it.
    m_menuBar.reset();
    for (FNEventConnector* connector : m_connectors)
        delete connector;
    SetScene(nullptr);
    m_frame->SetScene(nullptr);
    delete m_rootItem;
    delete m_clientScene;
    delete m_frame;
    delete m_frameScene;
    delete m_titleBar;
    delete m_titleText;
    delete m_leftBorder;
    delete m_rightBorder;
    delete m_bottomBorder;
    delete m_minimiseButton;
    delete m_maximiseButton;
    delete m_closeButton;
    delete m_titleStyle;
    parent = nullptr;
}

FN2DStage* FNExWindow::Frame() const
{
    return m_frame;
}

// ---- Frame scene -------------------------------------------------------------

void FNExWindow::BuildFrameScene()
{
    uint32_t bg = m_looks.background;
    m_frameScene->SetBackground((bg >> 16) & 255, (bg >> 8) & 255, bg & 255, 255);
    auto makeItem = [this](int depth) {
        auto* item = new FN2DItem(1, 1, 0, 0, depth);
        m_frameScene->AddItem(item);
        m_pictures.push_back(std::make_unique<FNImage>(1, 1));
        item->SetPicture(m_pictures.back().get());
        return item;
    };
    m_titleBar = makeItem(0);
    m_leftBorder = makeItem(0);
    m_rightBorder = makeItem(0);
    m_bottomBorder = makeItem(0);
    // The frame's pieces take presses on their whole rectangle: a look may
    // round the corners with transparent pixels, and the very corner pixel
    // of the window must still resize it.
    for (FN2DItem* piece : { m_titleBar, m_leftBorder, m_rightBorder, m_bottomBorder })
        piece->solidHit = true;
    m_minimiseButton = makeItem(2);
    m_maximiseButton = makeItem(2);
    m_closeButton = makeItem(2);
    m_titleText = new FN2DItem(1, 1, 0, 0, 1);
    m_frameScene->AddItem(m_titleText);
    m_titleText->SetTextStyle(m_titleStyle);
    m_titleText->SetText(m_frame->title);
}

void FNExWindow::PlaceFrameItems()
{
    int fw = m_frame->width;
    int fh = m_frame->height;
    int inner = std::max(1, fh - FNFrameTop - FNFrameBottom);
    auto place = [](FN2DItem* item, int x, int y, int w, int h) {
        item->SetRect(x, y, std::max(1, w), std::max(1, h));
        item->Invalidate(true);
    };
    m_looks.titleBar(m_titleBar->picture, fw, FNFrameTop);
    place(m_titleBar, 0, 0, fw, FNFrameTop);
    m_looks.border(m_leftBorder->picture, FNFrameLeft, inner, FNFrameEdgeLeft);
    place(m_leftBorder, 0, FNFrameTop, FNFrameLeft, inner);
    m_looks.border(m_rightBorder->picture, FNFrameRight, inner, FNFrameEdgeRight);
    place(m_rightBorder, fw - FNFrameRight, FNFrameTop, FNFrameRight, inner);
    m_looks.border(m_bottomBorder->picture, fw, FNFrameBottom, FNFrameEdgeBottom);
    place(m_bottomBorder, 0, fh - FNFrameBottom, fw, FNFrameBottom);
    // From the right: close, then maximise and minimise where the window
    // allows them (a dialog shows the close button alone).
    int buttonX = fw - FNFrameRight - kButtonWidth;
    const std::pair<FN2DItem*, bool> buttons[]
        = { { m_closeButton, true }, { m_maximiseButton, allowMaximise }, { m_minimiseButton, allowMinimise } };
    for (const auto& [button, shown] : buttons) {
        button->visible = shown;
        if (!shown)
            continue;
        PaintButton(button, FNButtonNormal);
        place(button, buttonX, kButtonTop, kButtonWidth, kButtonHeight);
        buttonX -= kButtonWidth + kButtonGap;
    }
    int textWidth = buttonX + kButtonWidth - kTitleTextLeft;
    place(m_titleText, kTitleTextLeft, kTitleTextTop, textWidth, kTitleTextHeight);
    if (m_menuBar)
        m_menuBar->Place(FNFrameLeft, FNFrameTop, fw - FNFrameLeft - FNFrameRight);
}

void FNExWindow::PaintButton(FN2DItem* button, FNButtonState state)
{
    if (button == m_closeButton)
        m_looks.closeButton(button->picture, kButtonWidth, kButtonHeight, state);
    else if (button == m_minimiseButton)
        m_looks.minimiseButton(button->picture, kButtonWidth, kButtonHeight, state);
    else if (m_maximised)
        m_looks.restoreButton(button->picture, kButtonWidth, kButtonHeight, state);
    else
        m_looks.maximiseButton(button->picture, kButtonWidth, kButtonHeight, state);
    button->Invalidate(true);
}

// ---- Layout -----------------------------------------------------------------

FNRect FNExWindow::WorkArea() const
{
    FNFrameworkLockGuard lock;
    if (FNPlatformConnection* platform = m_frame->engine ? m_frame->Platform() : Platform()) {
        FNPlatformRect area = platform->WorkArea();
        if (!area.Empty())
            return FNRect { area.left, area.top, area.right, area.bottom };
    }
    if (FNEngine* current = FNEngine::Current()) {
        if (FNPlatformConnection* platform = current->Platform()) {
            FNPlatformRect area = platform->WorkArea();
            if (!area.Empty())
                return FNRect { area.left, area.top, area.right, area.bottom };
        }
    }
    // No window system yet: nothing to keep inside.
    return FNRect { -(1 << 20), -(1 << 20), 1 << 20, 1 << 20 };
}

void FNExWindow::Layout(const FNRect& wanted)
{
    const int top = TopHeight();
    FNRect client = FNFrameLimited(wanted, WorkArea(), MenuHeight());
    // An open menu panel would stay behind where the window was.
    if (m_menuBar && !(client == m_client))
        m_menuBar->CloseMenus();
    m_client = client;
    int w = client.right - client.left;
    int h = client.bottom - client.top;
    bool sized = m_frame->width != w + FNFrameLeft + FNFrameRight || m_frame->height != h + top + FNFrameBottom;
    m_frame->SetRect(
        client.left - FNFrameLeft, client.top - top, w + FNFrameLeft + FNFrameRight, h + top + FNFrameBottom);
    if (sized)
        PlaceFrameItems();
    FN2DStage::SetRect(FNFrameLeft, top, w, h);
    m_rootItem->Resize(w, h);
}

void FNExWindow::InstallMenuBar(std::unique_ptr<FNExWindowMenuBar> bar)
{
    if (m_menuBar)
        m_menuBar->CloseMenus();
    const int before = TopHeight();
    m_menuBar = std::move(bar);
    // The frame keeps its place: the client moves down (or up) by the
    // difference in height.
    const int shift = TopHeight() - before;
    Layout(FNRect { m_client.left, m_client.top + shift, m_client.right, m_client.bottom + shift });
    PlaceFrameItems();
}

bool FNExWindow::SetRect(int newX, int newY, int w, int h)
{
    FNRect before = m_client;
    Layout(FNRect { newX, newY, newX + w, newY + h });
    return !(before == m_client);
}

void FNExWindow::MoveBy(int dx, int dy)
{
    SetRect(m_client.left + dx, m_client.top + dy, width, height);
}

void FNExWindow::MoveTo(int newX, int newY)
{
    SetRect(newX, newY, width, height);
}

void FNExWindow::Resize(int w, int h)
{
    SetRect(m_client.left, m_client.top, w, h);
}

void FNExWindow::Maximise()
{
    if (m_maximised)
        return;
    m_restoreRect = m_client;
    m_maximised = true;
    FNRect work = WorkArea();
    Layout(FNRect {
        work.left + FNFrameLeft, work.top + TopHeight(), work.right - FNFrameRight, work.bottom - FNFrameBottom });
    PaintButton(m_maximiseButton, FNButtonNormal);
}

void FNExWindow::Restore()
{
    if (IsMinimised()) {
        m_frame->Platform()->SetWindowState(m_frame->window, FNWindowState::Normal);
        return;
    }
    if (!m_maximised)
        return;
    m_maximised = false;
    Layout(m_restoreRect);
    PaintButton(m_maximiseButton, FNButtonNormal);
}

void FNExWindow::Minimise()
{
    if (FNPlatformConnection* platform = m_frame->windowCreated ? m_frame->Platform() : nullptr)
        platform->SetWindowState(m_frame->window, FNWindowState::Minimised);
}

bool FNExWindow::IsMinimised() const
{
    FNPlatformConnection* platform = m_frame->windowCreated ? m_frame->Platform() : nullptr;
    return platform && platform->WindowState(m_frame->window) == FNWindowState::Minimised;
}

// ---- Opening, showing --------------------------------------------------------

void FNExWindow::Open(bool show, FNStageBase* newParent, FNEngine* newEngine)
{
    if (windowCreated)
        return;
    m_frame->Open(false, newParent, newEngine);
    if (!m_frame->windowCreated)
        return;
    Layout(m_client);
    PlaceFrameItems(); // the buttons the flags allow, set since construction
    // The client is a child window of the frame, opened by hand because
    // AddChildStage would open an FNExWindow as a top-level window.
    engine = m_frame->engine;
    parent = m_frame;
    ownedTopLevel = false;
    if (!RequestWindow())
        return;
    OnWindowCreated();
    m_frame->childStages.push_back(this);
    ConnectFrame();
    if (show)
        Show();
}

void FNExWindow::Close()
{
    if (m_menuBar)
        m_menuBar->CloseMenus();
    if (windowCreated) {
        RequestDestroy();
        auto& siblings = m_frame->childStages;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    m_frame->Close();
    parent = nullptr;
}

void FNExWindow::Show()
{
    m_frame->Show();
    FN2DStage::Show();
}

void FNExWindow::Hide()
{
    if (m_menuBar)
        m_menuBar->CloseMenus();
    FN2DStage::Hide();
    m_frame->Hide();
}

void FNExWindow::SetEnabled(bool flag)
{
    if (m_menuBar && !flag)
        m_menuBar->CloseMenus();
    FN2DStage::SetEnabled(flag);
    m_frame->SetEnabled(flag);
}

// ---- Frame behaviour -----------------------------------------------------------
//
//   press (2) on title bar / edges  -> remember press point and client rect
//   move (1) while remembered       -> lay out start rect dragged by the offset
//   release (3)                     -> final layout, activate the window
//   press with doubleClick on title -> maximise / restore (allowMaximise)
//   while maximised a press on the title bar or edges does nothing else

void FNExWindow::ConnectFrame()
{
    if (!m_connectors.empty())
        return;
    auto connect
        = [this](FN2DItem* item, std::initializer_list<std::pair<int, void (FNExWindow::*)(FNEventState)>> list) {
              auto* connector = new FNEventConnector(item);
              for (const auto& entry : list)
                  connector->Connect(entry.first, entry.second, this);
              m_connectors.push_back(connector);
          };
    connect(m_titleBar,
        { { FNEvent::LeftDown, &FNExWindow::OnTitlePress }, { FNEvent::MouseMove, &FNExWindow::OnFrameMove },
            { FNEvent::LeftUp, &FNExWindow::OnFrameRelease },
            { FNEvent::RightDoubleClick, &FNExWindow::OnTitleRightDoubleClick } });
    connect(m_titleText,
        { { FNEvent::LeftDown, &FNExWindow::OnTitleTextPress }, { FNEvent::MouseMove, &FNExWindow::OnFrameMove },
            { FNEvent::LeftUp, &FNExWindow::OnFrameRelease },
            { FNEvent::RightDoubleClick, &FNExWindow::OnTitleRightDoubleClick } });
    connect(m_leftBorder,
        { { FNEvent::LeftDown, &FNExWindow::OnLeftBorderPress }, { FNEvent::MouseMove, &FNExWindow::OnFrameMove },
            { FNEvent::LeftUp, &FNExWindow::OnFrameRelease } });
    connect(m_rightBorder,
        { { FNEvent::LeftDown, &FNExWindow::OnRightBorderPress }, { FNEvent::MouseMove, &FNExWindow::OnFrameMove },
            { FNEvent::LeftUp, &FNExWindow::OnFrameRelease } });
    connect(m_bottomBorder,
        { { FNEvent::LeftDown, &FNExWindow::OnBottomBorderPress }, { FNEvent::MouseMove, &FNExWindow::OnFrameMove },
            { FNEvent::LeftUp, &FNExWindow::OnFrameRelease } });
    connect(m_minimiseButton,
        { { FNEvent::LeftUp, &FNExWindow::OnMinimiseUp }, { FNEvent::MouseEnter, &FNExWindow::OnButtonEnter },
            { FNEvent::MouseLeave, &FNExWindow::OnButtonLeave }, { FNEvent::LeftDown, &FNExWindow::OnButtonDown } });
    connect(m_maximiseButton,
        { { FNEvent::LeftUp, &FNExWindow::OnMaximiseUp }, { FNEvent::MouseEnter, &FNExWindow::OnButtonEnter },
            { FNEvent::MouseLeave, &FNExWindow::OnButtonLeave }, { FNEvent::LeftDown, &FNExWindow::OnButtonDown } });
    connect(m_closeButton,
        { { FNEvent::LeftUp, &FNExWindow::OnCloseUp }, { FNEvent::MouseEnter, &FNExWindow::OnButtonEnter },
            { FNEvent::MouseLeave, &FNExWindow::OnButtonLeave }, { FNEvent::LeftDown, &FNExWindow::OnButtonDown } });
}

FNFramePart FNExWindow::PartOf(const FN2DItemBase* item) const
{
    if (item == m_leftBorder)
        return FNFramePart::LeftBorder;
    if (item == m_rightBorder)
        return FNFramePart::RightBorder;
    if (item == m_bottomBorder)
        return FNFramePart::BottomBorder;
    return FNFramePart::TitleBar;
}

void FNExWindow::BeginDrag(FNFrameZone zone, const FNEventState& event)
{
    m_dragZone = zone;
    m_dragScreenX = event.screenX;
    m_dragScreenY = event.screenY;
    m_dragStart = m_client;
}

void FNExWindow::OnTitlePress(FNEventState event)
{
    if (event.doubleClick) {
        m_dragZone = FNFrameZone::None;
        if (allowMaximise)
            m_maximised ? Restore() : Maximise();
        return;
    }
    if (m_maximised)
        return;
    BeginDrag(FNFrameZoneAt(FNFramePart::TitleBar, event.localX, event.localY, static_cast<int>(m_titleBar->width),
                  static_cast<int>(m_titleBar->height), resizable),
        event);
}

void FNExWindow::OnTitleTextPress(FNEventState event)
{
    if (event.doubleClick) {
        m_dragZone = FNFrameZone::None;
        if (allowMaximise)
            m_maximised ? Restore() : Maximise();
        return;
    }
    if (!m_maximised)
        BeginDrag(FNFrameZone::Move, event);
}

void FNExWindow::OnLeftBorderPress(FNEventState event)
{
    if (!m_maximised && resizable)
        BeginDrag(FNFrameZone::Left, event);
}

void FNExWindow::OnRightBorderPress(FNEventState event)
{
    if (!m_maximised && resizable)
        BeginDrag(FNFrameZone::Right, event);
}

void FNExWindow::OnBottomBorderPress(FNEventState event)
{
    if (m_maximised || !resizable)
        return;
    BeginDrag(FNFrameZoneAt(FNFramePart::BottomBorder, event.localX, event.localY,
                  static_cast<int>(m_bottomBorder->width), static_cast<int>(m_bottomBorder->height), resizable),
        event);
}

void FNExWindow::OnFrameMove(FNEventState event)
{
    if (m_dragZone == FNFrameZone::None) {
        // Hover: the cursor says what a press here would do.
        FNFrameZone zone = m_maximised ? FNFrameZone::None
                                       : FNFrameZoneAt(PartOf(event.item), event.localX, event.localY,
                                           event.item ? static_cast<int>(event.item->width) : 0,
                                           event.item ? static_cast<int>(event.item->height) : 0, resizable);
        if (event.item == m_titleText)
            zone = FNFrameZone::Move;
        int cursorId = FNFrameZoneCursor(zone);
        if (cursorId != m_frame->cursor)
            m_frame->SetCursor(cursorId);
        return;
    }
    int dx = static_cast<int>(event.screenX - m_dragScreenX);
    int dy = static_cast<int>(event.screenY - m_dragScreenY);
    Layout(FNFrameDragged(m_dragZone, m_dragStart, dx, dy));
}

void FNExWindow::OnFrameRelease(FNEventState event)
{
    if (m_dragZone == FNFrameZone::None)
        return;
    OnFrameMove(event);
    m_dragZone = FNFrameZone::None;
    Activate();
}

void FNExWindow::OnTitleRightDoubleClick(FNEventState)
{
    if (creditViewHook()) {
        creditViewHook()(this);
        m_frame->Activate();
    }
}

void FNExWindow::OnMinimiseUp(FNEventState event)
{
    PaintButton(m_minimiseButton, FNButtonHover);
    (void)event;
    if (!allowMinimise)
        return;
    IsMinimised() ? Restore() : Minimise();
}

void FNExWindow::OnMaximiseUp(FNEventState)
{
    if (allowMaximise)
        m_maximised ? Restore() : Maximise();
    PaintButton(m_maximiseButton, FNButtonHover);
}

void FNExWindow::OnCloseUp(FNEventState)
{
    PaintButton(m_closeButton, FNButtonHover);
    FNEmitToStage(this, FNEvent::CloseRequest);
}

void FNExWindow::OnButtonEnter(FNEventState event)
{
    PaintButton(static_cast<FN2DItem*>(event.item), FNButtonHover);
}

void FNExWindow::OnButtonLeave(FNEventState event)
{
    PaintButton(static_cast<FN2DItem*>(event.item), FNButtonNormal);
}

void FNExWindow::OnButtonDown(FNEventState event)
{
    PaintButton(static_cast<FN2DItem*>(event.item), FNButtonPressed);
}
