// The whole editor (q_App) on the virtual window system, timed where the
// user waits:
//
//   W8_engine_frame_editor  one engine step that renders and presents the
//                           editor's whole 800 x 600 window: the full command
//                           panel, the menu bar and the canvas
//   BM_HueSlider_step       one value change of the hue slider with a
//                           512 x 512 part placed (recolour, show, render and
//                           present): it runs on every pointer move of a drag
//   BM_SmartRelease_512     a colour slider's release in Smart mode on the W1
//                           512 workload (compose and blend, one history
//                           step, render and present)
//   BM_BlurStrokes_rss      40 blur strokes across a 1200 x 1200 canvas; the
//                           resident memory after every tenth stroke, which
//                           must stop growing once the history holds its 30
//                           steps (counters, in MiB)

#include "app/canvas/q_Canvas.h"
#include "app/canvas/q_TransformBox.h"
#include "app/colour/q_ColourSliders.h"
#include "app/history/q_HistoryManager.h"
#include "app/q_App.h"
#include "bench/BenchInputs.h"
#include "framework/engine/FNEngine.h"
#include "framework/platform/virtual/FNVirtualPlatform.h"
#include "framework/scene/FN2DItem.h"
#include "framework/window/FNExWindow.h"
#include "imaging/FNImage.h"
#include "widgets/controls/FNDropDownList.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>

namespace V = FNVirtualPlatform;

namespace {

// Swallows the editor's diagnostic lines.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
};

struct Editor {
    NullBuffer sink;
    std::ostream log { &sink };
    FNEngine engine;
    q_App app;

    Editor()
    {
        app.SetLog(log);
        app.Initialise();
        Step(3);
    }
    void Step(int count = 1)
    {
        for (int i = 0; i < count; ++i) {
            engine.Synchronise();
            engine.RunStep(false);
            app.Frame();
        }
    }
    // The part written to a scratch PNG (it keeps alpha) and loaded.
    void LoadPart(const FNImage& part)
    {
        const std::string path = "/tmp/tesserine-bench-part-" + std::to_string(getpid()) + ".png";
        FNImage copy;
        copy.copyFrom(&part);
        copy.save(path);
        app.LoadPartFile(path);
        std::remove(path.c_str());
        Step(3);
    }
    void OpenCanvas(const FNImage& canvas)
    {
        const std::string path = "/tmp/tesserine-bench-canvas-" + std::to_string(getpid()) + ".bmp";
        FNImage copy;
        copy.copyFrom(&canvas);
        copy.save(path);
        app.OpenCanvasFile(path);
        std::remove(path.c_str());
        Step(3);
    }
    // Everything in the window drawn again at the next step.
    void InvalidateAll() { app.MainWindow()->RootItem()->Invalidate(true); }
};

double residentMiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

void W8_engine_frame_editor(benchmark::State& state)
{
    V::Reset();
    Editor editor;
    for (auto _ : state) {
        editor.InvalidateAll();
        editor.engine.RunStep(false);
    }
}
BENCHMARK(W8_engine_frame_editor)->Unit(benchmark::kMillisecond);

void BM_HueSlider_step(benchmark::State& state)
{
    V::Reset();
    Editor editor;
    editor.LoadPart(*makePhoto(512, 512, 2, PhotoLook::Part));
    q_HueSlider& hue = *editor.app.HueSlider();
    int value = 0;
    for (auto _ : state) {
        value = value == 40 ? -40 : value + 1;
        hue.SetValue(value);
        editor.app.OnColourChange(FNEventState {});
        editor.engine.RunStep(false);
    }
}
BENCHMARK(BM_HueSlider_step)->Unit(benchmark::kMillisecond);

void BM_SmartRelease_512(benchmark::State& state)
{
    V::Reset();
    Editor editor;
    editor.OpenCanvas(*makePhoto(1200, 900, 1, PhotoLook::Canvas));
    std::unique_ptr<FNImage> part = makePhoto(512, 512, 2, PhotoLook::Part);
    applyBorderAlpha(*part, 2);
    editor.LoadPart(*part);
    // The part placed at the workload's position: the box moved by the
    // offset from where a part is loaded, (10, 10).
    q_App& app = editor.app;
    const double zoom = app.Canvas()->Zoom();
    app.TransformBox()->SetFromPictureRect(
        app.Canvas()->PictureItem(), zoom, (1200 - 512) / 2, (900 - 512) / 2, 512, 512);
    app.ComposeList()->SelectByText("Smart合成");
    app.OnComposeChoice(FNEventState {});
    app.OnBoxPress(FNEventState {});
    app.OnBoxRelease(FNEventState {});
    editor.Step(2);
    for (auto _ : state) {
        app.OnColourPress(FNEventState {});
        app.OnColourRelease(FNEventState {});
        editor.engine.RunStep(false);
        app.Frame();
    }
}
BENCHMARK(BM_SmartRelease_512)->Unit(benchmark::kMillisecond);

// A stroke across the canvas as the pointer makes it.
void blurStroke(Editor& editor, int row)
{
    const FNRect& client = editor.app.MainWindow()->ClientRect();
    FN2DItem& picture = editor.app.Canvas()->PictureItem();
    auto screen = [&](double x, double y) {
        double sx, sy;
        picture.WorldMatrix().apply(picture.WorldX() + x, picture.WorldY() + y, sx, sy);
        return std::make_pair(client.left + static_cast<int>(sx), client.top + static_cast<int>(sy));
    };
    const auto start = screen(20, row);
    V::AdvanceMilliseconds(1000);
    V::SetPointer(start.first, start.second);
    editor.Step();
    V::SetButtons(FNButtonLeft);
    editor.Step(2);
    for (int x = 20; x < 1180; x += 40) {
        const auto at = screen(x, row);
        V::SetPointer(at.first, at.second);
        editor.Step();
    }
    V::SetButtons(0);
    editor.Step(2);
}

void BM_BlurStrokes_rss(benchmark::State& state)
{
    for (auto _ : state) {
        V::Reset();
        Editor editor;
        editor.app.NewBlankCanvas(1200, 1200);
        editor.app.Canvas()->SetZoom(0.25); // the whole canvas in view
        editor.Step(2);
        editor.app.OnButton([&] {
            FNEventState click;
            click.widget = editor.app.PanelWidget("ぼかしペン");
            return click;
        }());
        state.counters["rss_start"] = residentMiB();
        for (int stroke = 1; stroke <= 40; ++stroke) {
            blurStroke(editor, 20 + stroke * 28);
            if (stroke % 10 == 0)
                state.counters["rss_after_" + std::to_string(stroke)] = residentMiB();
        }
        state.counters["history_steps"] = editor.app.History()->count();
    }
}
BENCHMARK(BM_BlurStrokes_rss)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
