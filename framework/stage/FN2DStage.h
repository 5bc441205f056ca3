#pragma once

#include "framework/stage/FNStageBase.h"

#include <vector>

class FN2DItemBase;
class FN2DScene;
class FNImage;

// FN2DStage: a stage that shows a scene. The scene is rendered into the
// stage's back buffer (an FNImage of the client size, owned by the stage) and
// Present() copies the dirty part of the buffer to the window.
//
// Every 2D stage is entered in a process-wide list (creation order). The back
// buffer is created, replaced and read under the framework lock because the
// engine step renders and presents under it. Application thread only, except
// what FNStageBase says about engine-thread fields.
class FN2DStage : public FNStageBase {
public:
    FN2DStage(int x = 0, int y = 0, int width = 300, int height = 300, const FNString& title = FNString());
    ~FN2DStage() override;

    void InvalidateRect(int left, int top, int right, int bottom) override;
    // Rebuilds the back buffer at the new size when a scene is attached.
    bool SetRect(int x, int y, int w, int h) override;
    void OnWindowCreated() override;
    void OnWindowDestroyed() override;
    // Copies the dirty rectangle, grown by 2 pixels up-left and 4 down-right
    // and clipped to the client area, from the back buffer to the window;
    // black without a ready scene. Empties `dirty`.
    void Present() override;

    // Attaches the scene (null only detaches). A scene already shown by
    // another stage is not taken.
    void SetScene(FN2DScene* scene);
    FN2DScene* Scene() const { return m_scene; }
    // The attached scene while it still exists and is attached here; null
    // once it has been deleted or detached behind the stage's back.
    FN2DScene* LiveScene() const;
    FN2DScene* ShownScene() const override { return LiveScene(); }
    // The scene's topmost item at the client position; empty without a scene.
    std::vector<FN2DItemBase*> HitTest(double x, double y);
    // The back buffer, or null while no scene is attached.
    const FNImage* BackBuffer() const { return m_backBuffer; }

    // The area Present() copies for the current dirty rectangle.
    FNRect PresentArea() const;

    static const std::vector<FN2DStage*>& List();

private:
    void DetachScene();
    // Makes the back buffer the given size (at least 1 x 1) and attaches the
    // scene to it.
    void AttachToBuffer(int bufferWidth, int bufferHeight);

    FN2DScene* m_scene = nullptr;
    FNImage* m_backBuffer = nullptr;
};
