// The file dialog on the X display in DISPLAY (Xvfb in CI), run to a chosen
// file as a person would: xdotool double-clicks a folder, opens the type
// list, types a Japanese name and presses Return; the save dialog's question
// is answered with the keyboard. With TESSERINE_SCREENSHOTS set to a folder,
// each stage of the run leaves a screenshot of the whole screen there.

#include "framework/core/FNInitialise.h"
#include "framework/scene/FN2DScene.h"
#include "framework/stage/FN2DStage.h"
#include "framework/window/FNExWindow.h"
#include "tests/framework/stage/shared/StageHarness.h"
#include "tests/widgets/modal/EditorFileTypes.h"
#include "widgets/controls/FNDropDownList.h"
#include "widgets/controls/FNListView.h"
#include "widgets/controls/FNTextBox.h"
#include "widgets/modal/FNFileDialog.h"
#include "widgets/modal/FNFileDialogWindow.h"
#include "widgets/modal/FNMessageBox.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using Window = FNFileDialogWindow;

// One step of the user: what they do, then what they wait to see.
struct UserStep {
    std::function<void(Window&)> act;
    std::function<bool(Window&)> until;
};

// A dialog whose user works through the steps; one that takes far longer
// than any display needs is ended and marked stuck.
class PlayedDialog : public FNFileDialog {
public:
    explicit PlayedDialog(std::vector<UserStep> userSteps)
        : steps(std::move(userSteps))
        , limit(std::chrono::steady_clock::now() + std::chrono::seconds(30))
    {
    }
    void OnDialogFrame(Window& w) override
    {
        if (std::chrono::steady_clock::now() > limit) {
            stuck = true;
            w.Question() ? w.Question()->EndModal() : w.EndModal();
            return;
        }
        if (done >= steps.size())
            return;
        if (!acted) {
            steps[done].act(w);
            acted = true;
        }
        // The focus and windows the step asked for are the display's before
        // the next xdotool input.
        FNEngine::Current()->Synchronise();
        if (steps[done].until(w))
            ++done, acted = false;
    }

    std::vector<UserStep> steps;
    std::chrono::steady_clock::time_point limit;
    size_t done = 0;
    bool acted = false;
    bool stuck = false;
};

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

TEST_F(FileDialogOnX11, OpenRunsToAFileTypedInAFolderEnteredByDoubleClick)
{
    const std::string folder = (root / "写真").string();
    PlayedDialog dialog({
        { [](Window&) {}, [](Window& w) { return w.Window()->windowCreated && w.Rows().size() == 2; } },
        { [&](Window& w) {
             Screenshot("1-opened");
             PointAt(w, w.List(), 40, 1 + 9); // "写真/"
             Click(2);
         },
            [&](Window& w) { return w.Folder() == folder; } },
        { [&](Window& w) {
             PointAt(w, w.TypeList(), 30, 10);
             Click();
         },
            [](Window& w) { return w.TypeList()->IsOpen(); } },
        { [&](Window& w) {
             Screenshot("2-types");
             int x = 0, y = 0;
             ScreenPosition(*w.TypeList()->Popup(), x, y);
             MovePointer(x + 30, y + 1 + 4 * 20 + 10); // "すべてのファイル形式(*.*)"
             Click();
         },
            [](Window& w) { return w.Rows().size() == 3; } },
        { [&](Window& w) {
             PointAt(w, w.NameBox(), 20, 11);
             Click();
         },
            [](Window& w) { return w.NameBox()->IsFocused(); } },
        { [&](Window&) { Type("写真 2.png"); }, [](Window& w) { return w.NameBox()->GetText() == "写真 2.png"; } },
        { [](Window&) {
             Screenshot("3-typed");
             Key("Return");
         },
            [](Window&) { return false; } }, // the dialog ends
    });
    AddFilters(dialog, 5, 3);
    EXPECT_TRUE(dialog.Open());
    EXPECT_FALSE(dialog.stuck) << "stopped at step " << dialog.done;
    EXPECT_EQ(dialog.done, dialog.steps.size() - 1);
    EXPECT_EQ(dialog.Path(), folder + "/写真 2.png");
    EXPECT_EQ(dialog.Extension(), "png");
}

TEST_F(FileDialogOnX11, SaveAsksBeforeOverwritingAndTheKeyboardAnswers)
{
    PlayedDialog dialog({
        { [](Window&) {}, [](Window& w) { return w.Window()->windowCreated && !w.Rows().empty(); } },
        { [&](Window& w) {
             PointAt(w, w.NameBox(), 20, 11);
             Click();
         },
            [](Window& w) { return w.NameBox()->IsFocused(); } },
        { [&](Window&) { Type("a"); }, [](Window& w) { return w.NameBox()->GetText() == "a"; } },
        { [&](Window& w) {
             PointAt(w, w.TypeList(), 30, 10);
             Click();
         },
            [](Window& w) { return w.TypeList()->IsOpen(); } },
        { [&](Window& w) {
             int x = 0, y = 0;
             ScreenPosition(*w.TypeList()->Popup(), x, y);
             MovePointer(x + 30, y + 1 + 2 * 20 + 10); // "PNG(*.png)"
             Click();
         },
            [](Window& w) { return w.NameBox()->GetText() == "a.png"; } },
        { [&](Window& w) {
             PointAt(w, w.NameBox(), 20, 11);
             Click();
         },
            [](Window& w) { return w.NameBox()->IsFocused(); } },
        { [](Window&) { Key("Return"); }, [](Window& w) { return w.Question() != nullptr; } },
        { [](Window&) {
             Screenshot("4-overwrite");
             Key("Return");
         },
            [](Window&) { return false; } },
    });
    AddFilters(dialog, 4, 1);
    EXPECT_TRUE(dialog.Save());
    EXPECT_FALSE(dialog.stuck) << "stopped at step " << dialog.done;
    EXPECT_EQ(dialog.Path(), (root / "a.png").string());
    EXPECT_EQ(dialog.filterIndex, 3);
}

} // namespace
