#pragma once

#include "framework/events/FNEventState.h"
#include "framework/stage/FN2DStage.h"
#include "framework/window/FNExWindowLooks.h"
#include "framework/window/FNExWindowMenuBar.h"
#include "framework/window/FNFrameGeometry.h"

#include <functional>
#include <memory>
#include <vector>

class FN2DItem;
class FN2DScene;
class FNEventConnector;
class FNImage;
class FNStringStyle;
class FNExWindowFrame;
class FNWindowMenu; // widgets/menu/FNWindowMenu.h

// FNExWindow: a top-level window with the framework's own frame. The object
// itself is the client area, a 2D stage that shows the application's scene;
// it owns a second 2D stage, the frame, which is the top-level window and
// carries the title bar, edges and buttons as items of its own scene. The
// client is a child window of the frame at (6, 28), or lower by the height
// of a menu bar.
//
// Geometry: x, y, width and height given to the constructor, SetRect,
// MoveTo and Resize describe the client area on the screen; every change goes
// through one layout step that keeps the client at least 150 x 80 and the
// frame inside the work area. Maximising lays the frame over the work area
// and restoring lays out the remembered rectangle again; minimising asks the
// window system to iconify the frame.
//
// The client shows a scene of its own, filled with the frame background,
// until the application attaches another with SetScene().
//
// Menu bar: SetMenu() puts a bar between the title bar and the client; the
// frame keeps its place and the client moves down by the bar's height, and
// every layout rule above counts the bar as part of the frame's top.
//
// Threads: application thread, like every stage operation.
class FNExWindow : public FN2DStage {
public:
    FNExWindow(int x, int y, int width, int height, const FNString& title);
    ~FNExWindow() override;

    void Show() override;
    void Hide() override;
    void MoveBy(int dx, int dy) override;
    void MoveTo(int x, int y) override;
    // Screen position and size of the client area; false when the limited
    // rectangle equals the current one.
    bool SetRect(int x, int y, int w, int h) override;
    void Resize(int w, int h) override;
    void SetEnabled(bool flag) override;
    void Open(bool show, FNStageBase* parent = nullptr, FNEngine* engine = nullptr) override;
    void Close() override;

    // The client area on the screen (left, top, right, bottom).
    const FNRect& ClientRect() const { return m_client; }
    FN2DStage* Frame() const;
    // The scene the window made for its client area (owned by the window).
    FN2DScene* RootScene() const { return m_clientScene; }
    // The root scene's item of the client's size, under which widgets and
    // the application's items are placed (owned by the window). It shows
    // nothing itself and lets presses through to what lies under it.
    FN2DItem* RootItem() const { return m_rootItem; }
    bool IsMaximised() const { return m_maximised; }
    void Maximise();
    void Restore();
    void Minimise();
    bool IsMinimised() const;

    // Copies the menu into the window and shows it as the menu bar on the
    // frame, replacing any bar shown before; the window is laid out again.
    // Choosing an entry queues MenuCommand (25) on this window with param =
    // the entry's identifier. The bar is made of widgets, so this function
    // is defined in the widgets layer (widgets/menu/FNMenuBar.cpp): a
    // program that calls it links tesserine_widgets.
    void SetMenu(const FNWindowMenu& menu);
    // The bar SetMenu() made, or null.
    FNExWindowMenuBar* MenuBar() const { return m_menuBar.get(); }

    // The painters every FNExWindow made from now on uses.
    static void SetDefaultLooks(const FNExWindowLooks& looks);
    // Called on a right double click on the title bar (the credit view);
    // null does nothing.
    static void SetCreditViewHook(std::function<void(FNExWindow*)> hook);

    bool allowMaximise = true;
    bool allowMinimise = true;
    bool resizable = true;

    // ---- Frame handlers (connected to the frame's items) -------------------
    void OnTitlePress(FNEventState event);
    void OnTitleTextPress(FNEventState event);
    void OnLeftBorderPress(FNEventState event);
    void OnRightBorderPress(FNEventState event);
    void OnBottomBorderPress(FNEventState event);
    void OnFrameMove(FNEventState event);
    void OnFrameRelease(FNEventState event);
    void OnTitleRightDoubleClick(FNEventState event);
    void OnMinimiseUp(FNEventState event);
    void OnMaximiseUp(FNEventState event);
    void OnCloseUp(FNEventState event);
    void OnButtonEnter(FNEventState event);
    void OnButtonLeave(FNEventState event);
    void OnButtonDown(FNEventState event);

private:
    friend class FNExWindowFrame;

    void Layout(const FNRect& client);
    // Takes the bar (null removes it) and lays the window out around it.
    void InstallMenuBar(std::unique_ptr<FNExWindowMenuBar> bar);
    int MenuHeight() const { return m_menuBar ? m_menuBar->Height() : 0; }
    // Frame height above the client: the title bar and the menu bar.
    int TopHeight() const { return FNFrameTopHeight(MenuHeight()); }
    FNRect WorkArea() const;
    void BuildFrameScene();
    void PlaceFrameItems();
    void PaintButton(FN2DItem* button, FNButtonState state);
    void BeginDrag(FNFrameZone zone, const FNEventState& event);
    void ConnectFrame();
    FNFramePart PartOf(const FN2DItemBase* item) const;

    FNExWindowFrame* m_frame = nullptr;
    FN2DScene* m_frameScene = nullptr;
    FN2DScene* m_clientScene = nullptr; // the scene shown until SetScene() replaces it
    FN2DItem* m_rootItem = nullptr;
    FN2DItem* m_titleBar = nullptr;
    FN2DItem* m_titleText = nullptr;
    FN2DItem* m_leftBorder = nullptr;
    FN2DItem* m_rightBorder = nullptr;
    FN2DItem* m_bottomBorder = nullptr;
    FN2DItem* m_minimiseButton = nullptr;
    FN2DItem* m_maximiseButton = nullptr;
    FN2DItem* m_closeButton = nullptr;
    std::vector<std::unique_ptr<FNImage>> m_pictures;
    std::vector<FNEventConnector*> m_connectors;
    FNStringStyle* m_titleStyle = nullptr;
    FNExWindowLooks m_looks;
    std::unique_ptr<FNExWindowMenuBar> m_menuBar;

    FNRect m_client;
    bool m_maximised = false;
    FNRect m_restoreRect;
    FNFrameZone m_dragZone = FNFrameZone::None;
    double m_dragScreenX = 0;
    double m_dragScreenY = 0;
    FNRect m_dragStart;
};
