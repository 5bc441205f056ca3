#pragma once

#include "framework/core/FNGUICoreObject.h"
#include "framework/core/FNRect.h"
#include "framework/core/FNRegion.h"
#include "framework/platform/FNPlatform.h"
#include "framework/scene/FN2DSceneHost.h"

#include <vector>

class FN2DScene;
class FNEngine;
class FNWidget;

// FNStageBase: a framework window. The application creates and configures
// stages on the application thread; the engine thread of the stage's engine
// creates the real window (taking the stage from the engine's create queue
// and asking it for WindowDesc()), receives the window system's events for it
// and destroys it. Everything else (geometry, showing, cursor, alpha,
// presentation) is done from the application thread through the engine's
// platform connection, which allows those calls from any thread.
//
// Fields written by the engine thread (window, windowCreated, shown, x, y,
// width, height after a move or size by the window system) are read by the
// application thread without a lock; it waits for them in 1 ms polls.
class FNStageBase : public FNGUICoreObject, public FN2DSceneHost {
public:
    FNStageBase();
    ~FNStageBase() override;

    FNStageBase(const FNStageBase&) = delete;
    FNStageBase& operator=(const FNStageBase&) = delete;

    // ---- Virtual operations ------------------------------------------------
    // Unites the rectangle into `dirty` while the window exists.
    virtual void InvalidateRect(int left, int top, int right, int bottom);
    // The whole client area when `all`, else the current dirty rectangle.
    virtual void Invalidate(bool all);
    virtual void Show();
    // The parent stage redraws the area the window covered.
    virtual void Hide();
    virtual void MoveBy(int dx, int dy);
    virtual void MoveTo(int x, int y);
    // False when nothing changes; otherwise stores the rectangle and fits the
    // window's client area to it.
    virtual bool SetRect(int x, int y, int w, int h);
    virtual void Resize(int w, int h);
    // Keyboard focus and raise, plus a focus request for the next step.
    virtual void Activate();
    virtual void SetEnabled(bool flag);
    // Requests the window on `engine` (the current engine when null) and
    // waits until the engine thread has made it. Ignored while the window
    // exists; refused once the engine stops.
    virtual void Open(bool show, FNStageBase* parent = nullptr, FNEngine* engine = nullptr);
    virtual void Close();
    virtual void OnWindowCreated() { }
    virtual void OnWindowDestroyed() { }
    // Base: asks the window system to repaint `dirty`.
    virtual void Present();

    // ---- Child stages ------------------------------------------------------
    // Refused without an engine and window here, or when the child's window
    // exists. Framed windows become owned top-level windows; other stages
    // become child windows, are listed in childStages and shown.
    bool AddChildStage(FNStageBase* child);
    void RemoveChildStage(FNStageBase* child);

    void SetAlpha(int alpha);
    void SetCursor(int cursorId);
    // Takes ownership of the region (null removes the shape) and shapes the
    // window with it while the window exists; Open applies it after creation.
    // A change of size drops the region, which was made for the old size.
    void SetRegion(FNRegion* newRegion);

    // ---- Engine thread -------------------------------------------------------
    // What the engine thread creates for this stage.
    FNWindowDesc WindowDesc() const;
    // Window-procedure reactions, called by the engine thread for events of
    // this stage's window: store the values and queue Moved / Resized. The
    // engine queues CloseRequest itself; the hook lets a stage pass it on.
    virtual void OnSystemMoved(int newX, int newY);
    virtual void OnSystemResized(int newWidth, int newHeight);
    virtual void OnSystemCloseRequest();
    virtual void OnSystemPaint(const FNPlatformRect& area);

    // The scene this stage shows, while it exists and is attached here; null
    // for plain stages.
    virtual FN2DScene* ShownScene() const { return nullptr; }
    // Own flag ANDed along the parent chain.
    bool IsEnabled() const;
    // As the host of a scene: this stage, and its engine's queue.
    FNStageBase* HostStage() override { return this; }
    FNEventSink* EventSink() const override;
    // Queues an event raised from code for this stage (code and stage set,
    // every other field zero); nothing without an engine.
    void Emit(int code);
    // Installs the stage layer's driver on the engines (FNStageDriver.h);
    // done the first time a stage asks for a window.
    static void InstallWindowDriver();
    // The engine's platform connection, or null before it exists.
    FNPlatformConnection* Platform() const;

    FNEngine* engine = nullptr; // engine that owns the window (set when opened)
    FNStageBase* parent = nullptr;
    FNWidget* ownerWidget = nullptr; // target of this stage's focus requests
    std::vector<FNStageBase*> childStages;
    int x = 0;
    int y = 0;
    int width = 300;
    int height = 300;
    int kind = 1; // 1 plain stage, 2 2D stage (has a scene)
    FNWindowId window = FNNoWindow;
    FNString title;
    FNWindowClass windowClass = FNWindowClass::Window;
    int cursor = FNCursorArrow;
    int alpha = 255;
    // Windows of this window system have no frame of their own: the client
    // area is the window, so these stay 0 (FNExWindow draws its own frame).
    int frameWidth = 0;
    int frameHeight = 0;
    volatile bool windowCreated = false;
    volatile bool shown = false;
    bool imeOpen = false;
    bool ownedTopLevel = false;
    bool enabled = true;
    bool passEventsToParent = false;
    FNRect dirty; // client-area part waiting to be presented; empty at start
    FNRegion* region = nullptr; // owned window shape, applied after creation

protected:
    // Pushes the stage on its engine's create queue and waits until the
    // engine thread reports the window made (or the engine stops).
    bool RequestWindow();
    // Likewise for destruction; calls OnWindowDestroyed() first.
    void RequestDestroy();
    // Close() for a stage that is open, whatever kind of parent it has.
    void CloseWindow();
    // For destructors: a child leaves its parent (which closes it), an open
    // stage closes. Derived stages call it first, while their own
    // OnWindowDestroyed still runs.
    void CloseBeforeDestruction();
    // Shapes the window with `region`, or gives it its whole rectangle back.
    void ApplyRegion();
};
