#include "framework/stage/FN2DStage.h"

#include "framework/core/FNFrameworkLock.h"
#include "framework/scene/FN2DScene.h"
#include "imaging/FNImage.h"

#include <algorithm>

namespace {

std::vector<FN2DStage*>& stageList()
{
    static std::vector<FN2DStage*> list;
    return list;
}

} // namespace

FN2DStage::FN2DStage(int newX, int newY, int newWidth, int newHeight, const FNString& newTitle)
{
    FN_SET_CLASS_NAME(FN2DStage);
    kind = 2;
    windowClass = FNWindowClass::Owner;
    x = newX;
    y = newY;
    width = newWidth;
    height = newHeight;
    title = newTitle;
    FNFrameworkLockGuard lock;
    stageList().push_back(this);
}

FN2DStage::~FN2DStage()
{
    {
        FNFrameworkLockGuard lock;
        auto& list = stageList();
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    // The window goes first so that nothing presents from a freed buffer.
    CloseBeforeDestruction();
    DetachScene();
    FNFrameworkLockGuard lock;
    delete m_backBuffer;
    m_backBuffer = nullptr;
}

const std::vector<FN2DStage*>& FN2DStage::List()
{
    return stageList();
}

void FN2DStage::InvalidateRect(int left, int top, int right, int bottom)
{
    FNRect rect { left, top, right, bottom };
    FNFrameworkLockGuard lock;
    dirty = rect;
    if (FN2DScene* scene = LiveScene())
        scene->MarkDirty(rect);
}

bool FN2DStage::SetRect(int newX, int newY, int w, int h)
{
    if (newX == x && newY == y && w == width && h == height)
        return false;
    if (LiveScene() && (w != width || h != height)) {
        // The scene is drawn into a buffer of the client size: a new one is
        // made and the scene attached to it before the window changes.
        FNFrameworkLockGuard lock;
        m_scene->Detach();
        AttachToBuffer(w, h);
        InvalidateRect(0, 0, w, h);
    }
    return FNStageBase::SetRect(newX, newY, w, h);
}

void FN2DStage::OnWindowCreated()
{
    FNFrameworkLockGuard lock;
    if (LiveScene())
        AttachToBuffer(width, height);
    InvalidateRect(0, 0, width, height);
}

void FN2DStage::OnWindowDestroyed()
{
    FNFrameworkLockGuard lock;
    dirty.reset(width, height);
}

void FN2DStage::SetScene(FN2DScene* scene)
{
    DetachScene();
    if (!scene || scene->attached)
        return;
    {
        FNFrameworkLockGuard lock;
        m_scene = scene;
        AttachToBuffer(width, height);
    }
    InvalidateRect(0, 0, width, height);
}

void FN2DStage::DetachScene()
{
    FNFrameworkLockGuard lock;
    if (FN2DScene* scene = LiveScene())
        scene->Detach();
    m_scene = nullptr;
}

void FN2DStage::AttachToBuffer(int bufferWidth, int bufferHeight)
{
    int w = std::max(1, bufferWidth);
    int h = std::max(1, bufferHeight);
    if (!m_backBuffer || m_backBuffer->width != w || m_backBuffer->height != h) {
        delete m_backBuffer;
        m_backBuffer = new FNImage(w, h);
    }
    m_scene->Attach(m_backBuffer, &dirty, this);
}

FN2DScene* FN2DStage::LiveScene() const
{
    if (!m_scene)
        return nullptr;
    FNFrameworkLockGuard lock;
    const auto& scenes = FN2DScene::List();
    bool alive = std::find(scenes.begin(), scenes.end(), m_scene) != scenes.end();
    return alive && m_scene->stage == this ? m_scene : nullptr;
}

std::vector<FN2DItemBase*> FN2DStage::HitTest(double hitX, double hitY)
{
    FN2DScene* scene = LiveScene();
    return scene ? scene->HitTest(hitX, hitY) : std::vector<FN2DItemBase*>();
}

FNRect FN2DStage::PresentArea() const
{
    FNRect area { std::max(0, dirty.left - 2), std::max(0, dirty.top - 2), dirty.right + 4, dirty.bottom + 4 };
    area.intersect(FNRect { 0, 0, width, height });
    return area;
}

void FN2DStage::Present()
{
    FNFrameworkLockGuard lock;
    FNPlatformConnection* platform = windowCreated ? Platform() : nullptr;
    FNRect area = PresentArea();
    if (platform && !dirty.isEmpty() && !area.isEmpty()) {
        FNPlatformRect rect { area.left, area.top, area.right, area.bottom };
        FN2DScene* scene = LiveScene();
        if (scene && scene->ready && m_backBuffer)
            platform->Present(window, *m_backBuffer, rect);
        else
            platform->FillRect(window, rect, 0x000000);
    }
    dirty.reset(width, height);
}
