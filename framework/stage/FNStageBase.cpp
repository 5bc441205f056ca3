#include "framework/stage/FNStageBase.h"

#include "framework/core/FNFrameworkLock.h"
#include "framework/engine/FNEngine.h"
#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventSink.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

void sleepOneMillisecond()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

bool isFramedWindow(const FNStageBase* stage)
{
    return stage->className == "FNExWindow" || stage->className == "FNWindow";
}

} // namespace

FNStageBase::FNStageBase()
{
    FN_SET_CLASS_NAME(FNStageBase);
    dirty.reset(0, 0);
}

FNStageBase::~FNStageBase()
{
    // A stage deleted while open takes its window with it; a child also
    // leaves its parent's list.
    CloseBeforeDestruction();
    delete region;
}

// ---- Invalidation and presentation ---------------------------------------

void FNStageBase::InvalidateRect(int left, int top, int right, int bottom)
{
    if (!windowCreated)
        return;
    dirty.unite(FNRect { left, top, right, bottom });
}

void FNStageBase::Invalidate(bool all)
{
    if (all)
        InvalidateRect(0, 0, width, height);
    else
        InvalidateRect(dirty.left, dirty.top, dirty.right, dirty.bottom);
}

void FNStageBase::Present()
{
    // A plain stage has nothing of its own to copy: the window system is
    // asked to paint the area again, which comes back as OnSystemPaint.
    FNFrameworkLockGuard lock;
    FNPlatformConnection* platform = Platform();
    if (!platform || !windowCreated || dirty.isEmpty())
        return;
    platform->FillRect(window, FNPlatformRect { dirty.left, dirty.top, dirty.right, dirty.bottom },
        FNWindowClassRecordOf(windowClass).background < 0 ? 0 : FNWindowClassRecordOf(windowClass).background);
}

// ---- Showing, geometry -----------------------------------------------------

void FNStageBase::Show()
{
    FNFrameworkLockGuard lock;
    FNPlatformConnection* platform = Platform();
    if (!platform || !windowCreated || shown)
        return;
    platform->Show(window);
    shown = true;
    Invalidate(true);
}

void FNStageBase::Hide()
{
    FNFrameworkLockGuard lock;
    FNPlatformConnection* platform = Platform();
    if (!platform || !windowCreated || !shown)
        return;
    platform->Hide(window);
    shown = false;
    if (parent && !ownedTopLevel)
        parent->InvalidateRect(x, y, x + width, y + height);
}

void FNStageBase::MoveBy(int dx, int dy)
{
    SetRect(x + dx, y + dy, width, height);
}

void FNStageBase::MoveTo(int newX, int newY)
{
    SetRect(newX, newY, width, height);
}

void FNStageBase::Resize(int w, int h)
{
    SetRect(x, y, w, h);
}

bool FNStageBase::SetRect(int newX, int newY, int w, int h)
{
    if (newX == x && newY == y && w == width && h == height)
        return false;
    if ((w != width || h != height) && region) {
        delete region;
        region = nullptr;
        ApplyRegion();
    }
    x = newX;
    y = newY;
    width = w;
    height = h;
    // The engine thread fits the window to the new client rectangle; the
    // client area is the whole window here, so there is no frame to add.
    if (windowCreated && engine)
        engine->SendToThread(FN_MSG_FIT_CLIENT, this);
    return true;
}

// ---- Focus, enabling, alpha, cursor -------------------------------------------

void FNStageBase::Activate()
{
    if (!engine)
        return;
    if (engine->current.focusStage == this)
        return;
    if (windowCreated)
        engine->PostToThread(FN_MSG_SET_FOCUS, this);
    Invalidate(true);
    FNRequestFocus(this, nullptr, ownerWidget, ownerWidget);
}

void FNStageBase::SetEnabled(bool flag)
{
    // The window system has no disabled windows: the flag alone decides, and
    // dispatch drops input for stages that are not effectively enabled. The
    // engine thread is told so that it can refuse focus to the window.
    enabled = flag;
    if (windowCreated && engine)
        engine->PostToThread(flag ? FN_MSG_ENABLE : FN_MSG_DISABLE, this);
}

void FNStageBase::SetAlpha(int newAlpha)
{
    if (parent && !ownedTopLevel)
        return;
    alpha = newAlpha;
    if (!windowCreated)
        return;
    {
        FNFrameworkLockGuard lock;
        if (FNPlatformConnection* platform = Platform())
            platform->SetAlpha(window, alpha);
    }
    Invalidate(true);
}

void FNStageBase::SetRegion(FNRegion* newRegion)
{
    if (newRegion == region)
        return;
    delete region;
    region = newRegion;
    ApplyRegion();
}

void FNStageBase::ApplyRegion()
{
    FNFrameworkLockGuard lock;
    FNPlatformConnection* platform = Platform();
    if (!platform || !windowCreated)
        return;
    std::vector<FNPlatformRect> shape;
    if (region) {
        for (const FNRect& rect : region->Rects())
            shape.push_back(FNPlatformRect { rect.left, rect.top, rect.right, rect.bottom });
    }
    platform->SetShape(window, shape);
}

void FNStageBase::SetCursor(int cursorId)
{
    cursor = cursorId;
    if (windowCreated && engine)
        engine->PostToThread(FN_MSG_SET_CURSOR, this);
}

// ---- Opening and closing -------------------------------------------------------

void FNStageBase::Open(bool show, FNStageBase* newParent, FNEngine* newEngine)
{
    if (windowCreated)
        return;
    engine = newEngine ? newEngine : FNEngine::Current();
    parent = newParent;
    ownedTopLevel = true;
    if (!RequestWindow())
        return;
    OnWindowCreated();
    if (alpha != 255)
        SetAlpha(alpha);
    if (region)
        ApplyRegion();
    if (show)
        Show();
}

bool FNStageBase::AddChildStage(FNStageBase* child)
{
    if (!child || !engine || !windowCreated || child->windowCreated)
        return false;
    if (isFramedWindow(child)) {
        child->Open(true, this, engine);
        return child->windowCreated;
    }
    child->parent = this;
    child->engine = engine;
    child->ownedTopLevel = false;
    if (!child->RequestWindow())
        return false;
    child->OnWindowCreated();
    if (child->region)
        child->ApplyRegion();
    childStages.push_back(child);
    child->Show();
    return true;
}

void FNStageBase::RemoveChildStage(FNStageBase* child)
{
    if (!child)
        return;
    if (isFramedWindow(child)) {
        child->Close();
        return;
    }
    while (!child->childStages.empty())
        child->RemoveChildStage(child->childStages.back());
    child->RequestDestroy();
    child->parent = nullptr;
    childStages.erase(std::remove(childStages.begin(), childStages.end(), child), childStages.end());
}

void FNStageBase::Close()
{
    CloseWindow();
}

void FNStageBase::CloseBeforeDestruction()
{
    if ((parent && !ownedTopLevel) || windowCreated)
        CloseWindow();
}

void FNStageBase::CloseWindow()
{
    if (parent && !ownedTopLevel) {
        parent->RemoveChildStage(this);
        return;
    }
    while (!childStages.empty())
        RemoveChildStage(childStages.back());
    RequestDestroy();
    parent = nullptr;
    ownedTopLevel = false;
}

bool FNStageBase::RequestWindow()
{
    InstallWindowDriver();
    if (!engine || !engine->RequestCreate(this))
        return false;
    // The engine thread works the queue under the framework lock, so no lock
    // may be held while waiting here.
    while (!windowCreated) {
        if (engine->IsStopping())
            return false;
        engine->PostToThread(FN_MSG_CREATE_STAGES, nullptr);
        sleepOneMillisecond();
    }
    return true;
}

void FNStageBase::RequestDestroy()
{
    if (!windowCreated || !engine)
        return;
    OnWindowDestroyed();
    if (!engine->RequestDestroy(this))
        return;
    while (windowCreated && !engine->IsStopping()) {
        engine->PostToThread(FN_MSG_DESTROY_STAGES, nullptr);
        sleepOneMillisecond();
    }
    shown = false;
}

// ---- Engine thread -----------------------------------------------------------

FNWindowDesc FNStageBase::WindowDesc() const
{
    FNWindowDesc desc;
    desc.windowClass = windowClass;
    desc.parent = parent ? parent->window : FNNoWindow;
    desc.child = parent && parent->window != FNNoWindow && !ownedTopLevel;
    desc.x = x;
    desc.y = y;
    desc.width = std::max(1, width);
    desc.height = std::max(1, height);
    desc.title = title.c_str();
    return desc;
}

void FNStageBase::OnSystemMoved(int newX, int newY)
{
    x = newX;
    y = newY;
    Emit(FNEvent::Moved);
}

void FNStageBase::OnSystemResized(int newWidth, int newHeight)
{
    width = newWidth;
    height = newHeight;
    Emit(FNEvent::Resized);
}

void FNStageBase::OnSystemCloseRequest() { }

void FNStageBase::OnSystemPaint(const FNPlatformRect& area)
{
    dirty.unite(FNRect { area.left, area.top, area.right, area.bottom });
}

// ---- Queries -----------------------------------------------------------------

bool FNStageBase::IsEnabled() const
{
    for (const FNStageBase* stage = this; stage; stage = stage->parent) {
        if (!stage->enabled)
            return false;
    }
    return true;
}

FNPlatformConnection* FNStageBase::Platform() const
{
    return engine ? engine->Platform() : nullptr;
}

FNEventSink* FNStageBase::EventSink() const
{
    return engine;
}

void FNStageBase::Emit(int code)
{
    FNEventSink* sink = EventSink();
    if (!sink)
        return;
    FNEventState event;
    event.code = code;
    event.stage = this;
    sink->QueueEvent(event);
}
