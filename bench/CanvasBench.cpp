// The canvas under the hand: one engine step (render and present) after a
// pan step and after a wheel notch, with a 1200 x 1200 photo in an 800 x 600
// window on the virtual window system. The step's 1 ms pause is left out.
//
//   BM_CanvasPan_frame    zoom 1.5; the view moves 3 pixels each step
//                         (back and forth), as a Space drag moves it
//   BM_CanvasZoom_frame   at zoom 4, one notch in and one out in turn

#include "app/canvas/q_Canvas.h"
#include "bench/BenchInputs.h"
#include "framework/engine/FNEngine.h"
#include "framework/events/FNEventState.h"
#include "framework/platform/FNVirtualKey.h"
#include "framework/platform/virtual/FNVirtualPlatform.h"
#include "framework/scene/FN2DScene.h"
#include "framework/stage/FN2DStage.h"
#include "imaging/FNImage.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A canvas whose Space key is held, so that a drag pans.
class PanningCanvas : public q_Canvas {
protected:
    bool KeyHeld(int virtualKey) const override { return virtualKey == FNKeySpace; }
};

struct CanvasWindow {
    FNEngine engine;
    FN2DScene scene;
    FN2DStage stage { 0, 0, 800, 600, "canvas" };
    PanningCanvas canvas;
    std::unique_ptr<FNImage> photo = makePhoto(1200, 1200, 7, PhotoLook::Canvas);

    explicit CanvasWindow(double zoom)
    {
        stage.SetScene(&scene);
        scene.AddItem(&canvas);
        canvas.LayOut(240, 10, 550, 580);
        canvas.ShowPicture(photo.get());
        canvas.SetZoom(zoom);
        stage.Open(true, nullptr, &engine);
        engine.Synchronise();
        engine.RunStep(false);
    }
    ~CanvasWindow()
    {
        stage.Close();
        scene.RemoveItem(&canvas);
    }
};

FNEventState at(double x, double y)
{
    FNEventState event;
    event.clientX = x;
    event.clientY = y;
    return event;
}

void BM_CanvasPan_frame(benchmark::State& state)
{
    FNVirtualPlatform::Reset();
    CanvasWindow window(1.5);
    window.canvas.OnRelease(at(0, 0)); // reads the keys: pan mode
    window.canvas.OnPress(at(500, 300));
    double x = 500;
    int direction = 3;
    for (auto _ : state) {
        x += direction;
        if (x > 560 || x < 440)
            direction = -direction;
        window.canvas.OnMove(at(x, 300));
        window.engine.RunStep(false);
    }
}

void BM_CanvasZoom_frame(benchmark::State& state)
{
    FNVirtualPlatform::Reset();
    CanvasWindow window(4);
    FNEventState notch = at(500, 300);
    for (auto _ : state) {
        notch.wheel = notch.wheel == -120 ? 120 : -120;
        window.canvas.OnWheel(notch);
        window.engine.RunStep(false);
    }
}

} // namespace

BENCHMARK(BM_CanvasPan_frame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CanvasZoom_frame)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
