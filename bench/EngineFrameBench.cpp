// W8: one engine step that renders and presents a whole 800 x 600
// editor-shaped frame (menu bar, command panel of text buttons, a 1200 x 1200
// photo shown at half size in a clipped canvas view) on the virtual window
// system. The step's 1 ms pause is left out; the sampling, dispatch, render
// and present work is timed.

#include "BenchInputs.h"

#include "framework/engine/FNEngine.h"
#include "framework/platform/virtual/FNVirtualPlatform.h"
#include "framework/scene/FN2DItem.h"
#include "framework/scene/FN2DScene.h"
#include "framework/stage/FN2DStage.h"
#include "imaging/FNImage.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

struct EditorStage {
    FN2DScene scene;
    FN2DStage stage { 0, 0, 800, 600, "W8" };
    std::unique_ptr<FNImage> face = std::make_unique<FNImage>(96, 24);
    std::unique_ptr<FNImage> photo = makePhoto(1200, 1200, 7, PhotoLook::Canvas);
    std::vector<std::unique_ptr<FN2DItem>> items;
    FN2DItem canvasView { 580, 560, 212, 32, 1 };
    FN2DItem picture { 1200, 1200, 580 / 2 - 600, 560 / 2 - 600, 0 };

    EditorStage()
    {
        face->fill(0xE8, 0xEC, 0xF0, 255);
        for (int x = 0; x < 96; ++x) // a darker rim
            face->row(0)[x] = face->row(23)[x] = 0xFFA0A8B0;
        scene.SetBackground(0xF4, 0xF4, 0xF4, 255);
        for (int i = 0; i < 40; ++i) {
            // A menu bar of 8 entries, then a command panel of 32 buttons.
            const bool menu = i < 8;
            const double x = menu ? 4 + i * 100 : 8 + (i - 8) % 2 * 100;
            const double y = menu ? 4 : 32 + (i - 8) / 2 * 34;
            auto item = std::make_unique<FN2DItem>(96, 24, x, y, 2);
            item->SetPicture(face.get());
            item->SetText(FNString(menu ? "メニュー " : "コマンド ") + i);
            item->textImageX = 8;
            item->textImageY = 4;
            scene.AddItem(item.get());
            items.push_back(std::move(item));
        }
        canvasView.clipChildren = true;
        scene.AddItem(&canvasView);
        picture.SetPicture(photo.get());
        picture.sampling = 1;
        picture.scaleX = picture.scaleY = 0.5;
        canvasView.AddChild(&picture);
        picture.UpdateTransform();
        stage.SetScene(&scene);
    }
    ~EditorStage()
    {
        stage.Close();
        canvasView.RemoveChild(&picture);
        scene.RemoveItem(&canvasView);
        for (auto& item : items)
            scene.RemoveItem(item.get());
    }
};

void W8_engine_frame(benchmark::State& state)
{
    FNVirtualPlatform::Reset();
    FNEngine engine;
    if (!engine.Platform()) {
        state.SkipWithError("no virtual platform connection");
        return;
    }
    EditorStage editor;
    editor.stage.Open(true, nullptr, &engine);
    engine.Synchronise();
    engine.RunStep(false);
    for (auto _ : state) {
        editor.stage.Invalidate(true);
        engine.RunStep(false);
    }
    state.SetItemsProcessed(state.iterations() * 800 * 600);
}

} // namespace

BENCHMARK(W8_engine_frame)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
