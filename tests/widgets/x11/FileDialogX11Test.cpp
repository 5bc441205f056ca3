// The file dialog on the X display in DISPLAY (Xvfb in CI), run to a chosen
// file as a person would: xdotool double-clicks a folder, opens the type
// list and picks a type, types a relative path and presses Return. With
// TESSERINE_SCREENSHOTS set to a folder, each stage of the run leaves a
// screenshot of the whole screen there.

#include "framework/core/FNInitialise.h"
#include "framework/scene/FN2DScene.h"
#include "framework/stage/FN2DStage.h"
#include "framework/window/FNExWindow.h"
#include "tests/framework/stage/shared/StageHarness.h"
#include "tests/widgets/modal/ScriptedFileDialog.h"
#include "widgets/controls/FNDropDownList.h"
#include "widgets/controls/FNListView.h"
#include "widgets/controls/FNTextBox.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using Window = FNFileDialogWindow;

// Something the user does; what they then wait to see follows as a plain
// condition.
FileDialogScript Do(std::function<void(Window&)> act)
{
    return { [=](Window& w) { return act(w), true; } };
}
FileDialogScript Until(std::function<bool(Window&)> condition)
{
    return { std::move(condition) };
}

class FileDialogOnX11 : public StageHarness {
protected:
    void SetUp() override
    {
        StageHarness::SetUp();
        if (HasFatalFailure())
            return;
        FNInitialise();
        owner.SetScene(&scene);
        owner.Open(true, nullptr, engine.get());
        ASSERT_TRUE(owner.windowCreated);
        saved = fs::current_path();
        root = fs::temp_directory_path() / ("fn-filedialog-x11-" + std::to_string(getpid()));
        fs::remove_all(root);
        for (const char* file : { "a.png", "写真/写真 10.png", "写真/写真 2.png", "写真/メモ.txt" }) {
            fs::create_directories((root / file).parent_path());
            std::ofstream(root / file) << "x";
        }
        root = fs::canonical(root);
        fs::current_path(root);
        FNFileDialog::ForgetLastFolder();
    }
    void TearDown() override
    {
        fs::current_path(saved);
        fs::remove_all(root);
        owner.Close();
        StageHarness::TearDown();
    }

    // The pointer to a point of a widget of the dialog.
    void PointAt(Window& w, const FNWidget* widget, int x, int y)
    {
        const FNRect client = w.Window()->ClientRect();
        MovePointer(client.left + widget->X() + x, client.top + widget->Y() + y);
    }
    static void Key(const char* name) { std::system((std::string("xdotool key ") + name).c_str()); }
    static void Screenshot(const std::string& stage)
    {
        if (const char* folder = std::getenv("TESSERINE_SCREENSHOTS"))
            std::system(("import -window root " + std::string(folder) + "/FileDialog-" + stage + ".png").c_str());
    }

    FN2DScene scene;
    FN2DStage owner { 100, 100, 700, 560, "the editor" };
    fs::path root, saved;
};

TEST_F(FileDialogOnX11, OpenRunsToAFileTypedAfterAFolderWasEnteredByDoubleClick)
{
    const std::string folder = (root / "写真").string();
    std::string typed;
    ScriptedFileDialog dialog {
        Until([](Window& w) { return w.Window()->windowCreated && w.Rows().size() == 2; }),
        Do([&](Window& w) {
            Screenshot("1-opened");
            PointAt(w, w.List(), 40, 1 + 9); // "写真/"
            Click(2);
        }),
        Until([&](Window& w) { return w.Folder() == folder; }),
        Do([&](Window& w) {
            PointAt(w, w.TypeList(), 30, 10);
            Click();
        }),
        Until([](Window& w) { return w.TypeList()->IsOpen(); }),
        Do([&](Window& w) {
            Screenshot("2-types");
            int x = 0, y = 0;
            ScreenPosition(*w.TypeList()->Popup(), x, y);
            MovePointer(x + 30, y + 1 + 4 * 20 + 10); // "すべてのファイル形式(*.*)"
            Click();
        }),
        Until([](Window& w) { return w.Rows().size() == 3; }),
        Do([&](Window& w) {
            PointAt(w, w.NameBox(), 20, 11);
            Click();
        }),
        Until([](Window& w) { return w.NameBox()->IsFocused(); }),
        // Letters of the keyboard map only: xdotool types others by mapping a
        // spare key for a moment, which a loaded machine may read too late.
        Do([&](Window&) { Type("../a.png"); }),
        Until([&](Window& w) { return (typed = w.NameBox()->GetText().str()) == "../a.png"; }),
        Do([](Window&) {
            Screenshot("3-typed");
            Key("Return");
        }),
    };
    AddFilters(dialog, 5, 3);
    EXPECT_TRUE(dialog.Open());
    EXPECT_TRUE(dialog.Finished()) << "stopped after action " << dialog.done << ", the name box held " << typed;
    EXPECT_EQ(dialog.Path(), (root / "a.png").string());
    EXPECT_EQ(dialog.Extension(), "png");
}

} // namespace
