#include "framework/scene/FN2DScene.h"

#include "framework/core/FNFrameworkLock.h"
#include "framework/events/FNEventSink.h"
#include "framework/scene/FN2DItemBase.h"
#include "framework/scene/FN2DSceneHost.h"
#include "imaging/FNImage.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int BackgroundWidth = 1024;
constexpr int BackgroundHeight = 16;
constexpr int DirtyMargin = 2;

std::vector<FN2DScene*>& sceneList()
{
    static std::vector<FN2DScene*> scenes;
    return scenes;
}

} // namespace

FN2DScene::FN2DScene()
{
    FN_SET_CLASS_NAME(FN2DScene);
    background = new FNImage(BackgroundWidth, BackgroundHeight);
    background->fill(0, 0, 0, 0);
    dirty.reset(0, 0);
    FNFrameworkLockGuard guard;
    sceneList().push_back(this);
}

FN2DScene::~FN2DScene()
{
    FNFrameworkLockGuard guard;
    auto& scenes = sceneList();
    scenes.erase(std::remove(scenes.begin(), scenes.end(), this), scenes.end());
    for (auto& entry : items)
        entry.second->scene = nullptr;
    items.clear();
    delete background;
}

const std::vector<FN2DScene*>& FN2DScene::List()
{
    return sceneList();
}

bool FN2DScene::AddItem(FN2DItemBase* item)
{
    if (!item || item->parent || item->scene)
        return false;
    items.emplace(item->depth, item); // after the equal depths already present
    item->scene = this;
    item->visible = true;
    item->UpdateTransform();
    item->Invalidate(true);
    return true;
}

bool FN2DScene::RemoveItem(FN2DItemBase* item)
{
    if (!item || item->scene != this)
        return false;
    auto isItem = [item](auto& entry) { return entry.second == item; };
    auto range = items.equal_range(item->depth);
    auto found = std::find_if(range.first, range.second, isItem);
    if (found == range.second) // depth was changed while placed
        found = std::find_if(items.begin(), items.end(), isItem);
    if (found == items.end())
        return false;
    item->Invalidate(true); // its area must be redrawn without it
    item->scene = nullptr;
    items.erase(found);
    return true;
}

void FN2DScene::SetBackground(int red, int green, int blue, int alpha)
{
    backgroundRed = red;
    backgroundGreen = green;
    backgroundBlue = blue;
    backgroundAlpha = alpha;
    background->fill(red, green, blue, alpha);
    MarkDirty(FNRect { 0, 0, targetWidth, targetHeight });
}

void FN2DScene::Attach(FNImage* targetImage, FNRect* stageDirtyRect, FN2DSceneHost* owner)
{
    FNFrameworkLockGuard guard;
    if (!targetImage || !targetImage->pixels)
        return;
    target = targetImage;
    targetPixels = targetImage->row(0);
    targetWidth = targetImage->width;
    targetHeight = targetImage->height;
    targetRowLength = targetImage->width;
    stageDirty = stageDirtyRect;
    host = owner;
    stage = owner ? owner->HostStage() : nullptr;
    attached = true;
    ready = true;
    background->fill(backgroundRed, backgroundGreen, backgroundBlue, backgroundAlpha);
    dirty = FNRect { 0, 0, targetWidth, targetHeight };
}

void FN2DScene::Detach()
{
    FNFrameworkLockGuard guard;
    attached = false;
    ready = false;
    target = nullptr;
    targetPixels = nullptr;
    targetWidth = targetHeight = targetRowLength = 0;
    stageDirty = nullptr;
    stage = nullptr;
    host = nullptr;
    dirty.reset(0, 0);
}

void FN2DScene::Emit(int code, FN2DItemBase* item, FNWidget* widget)
{
    FNEventSink* sink = host && stage ? host->EventSink() : nullptr;
    if (!sink)
        return;
    FNEventState event;
    event.code = code;
    event.stage = stage;
    event.item = item;
    event.target = widget;
    sink->QueueEvent(event);
}

std::vector<FN2DItemBase*> FN2DScene::HitTest(double x, double y)
{
    std::vector<FN2DItemBase*> results;
    // Highest depth first; among equal depths the one added last first.
    for (auto it = items.rbegin(); it != items.rend() && results.empty(); ++it)
        it->second->HitTest(x, y, results, 1);
    return results;
}

void FN2DScene::MarkDirty(const FNRect& rect)
{
    dirty.unite(rect);
}

// Row copies from the background strip, at most its width per copy.
void FN2DScene::FillBackground(const FNRect& area)
{
    const uint32_t* source = background->row(0);
    for (int y = area.top; y < area.bottom; ++y) {
        uint32_t* row = targetPixels + static_cast<size_t>(y) * targetRowLength;
        for (int x = area.left; x < area.right; x += BackgroundWidth) {
            const int count = std::min(BackgroundWidth, area.right - x);
            std::memcpy(row + x, source, static_cast<size_t>(count) * sizeof(uint32_t));
        }
    }
}

bool FN2DScene::Render()
{
    FNFrameworkLockGuard guard;
    // A scene without items still clears its dirty region: otherwise the last
    // item removed would stay on screen.
    if (!attached || !ready || !targetPixels)
        return false;
    FNRect area = dirty;
    if (!area.isEmpty()) {
        area.left -= DirtyMargin;
        area.top -= DirtyMargin;
        area.right += DirtyMargin;
        area.bottom += DirtyMargin;
        area.intersect(FNRect { 0, 0, targetWidth, targetHeight });
    }
    if (stageDirty)
        stageDirty->unite(area);
    if (!area.isEmpty()) {
        FillBackground(area);
        m_rendering = true;
        m_renderingArea = area;
        for (auto& entry : items) {
            entry.second->DrawTree(targetPixels, targetWidth, targetHeight, targetRowLength, area.left, area.top,
                area.right, area.bottom, attached);
        }
        m_rendering = false;
    }
    dirty.reset(targetWidth, targetHeight);
    return !area.isEmpty();
}

bool FN2DScene::RenderAll()
{
    FNFrameworkLockGuard guard;
    bool drew = false;
    for (FN2DScene* scene : sceneList())
        drew = scene->Render() || drew;
    return drew;
}
