// The file dialog on the virtual window system, used as a person would:
// rows clicked and double-clicked, names and paths typed, types picked from
// the drop-down and the dialog's questions answered, in folders made here.

#include "framework/core/FNInitialise.h"
#include "framework/platform/FNVirtualKey.h"
#include "framework/window/FNExWindow.h"
#include "tests/widgets/controls/WidgetFixture.h"
#include "tests/widgets/modal/ScriptedFileDialog.h"
#include "widgets/controls/FNDropDownList.h"
#include "widgets/controls/FNLabel.h"
#include "widgets/controls/FNListView.h"
#include "widgets/controls/FNPushButton.h"
#include "widgets/controls/FNTextBox.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using Window = FNFileDialogWindow;
using Script = FileDialogScript;
using ScriptedDialog = ScriptedFileDialog;

void clickScreen(int x, int y, int clicks = 1)
{
    V::AdvanceMilliseconds(1000);
    V::SetPointer(x, y);
    for (int i = 0; i < clicks; ++i)
        V::SetButtons(FNButtonLeft), V::SetButtons(0);
}

// A click at a point of one of the dialog's widgets.
Script Click(std::function<FNWidget*(Window&)> part, int x = 8, int y = 10, int clicks = 1)
{
    return { [=](Window& w) {
        const FNRect client = w.Window()->ClientRect();
        const FNWidget* widget = part(w);
        clickScreen(client.left + widget->X() + x, client.top + widget->Y() + y, clicks);
        return true;
    } };
}
const auto ok = [](Window& w) -> FNWidget* { return w.OkButton(); };
const auto cancel = [](Window& w) -> FNWidget* { return w.CancelButton(); };
const auto up = [](Window& w) -> FNWidget* { return w.UpButton(); };

Script ClickRow(int row, int clicks = 1)
{
    return Click([](Window& w) -> FNWidget* { return w.List(); }, 40, 1 + row * 18 + 9, clicks);
}

Script Press(int key)
{
    return { [=](Window&) { return V::PressKey(key), V::ReleaseKey(key), true; } };
}

// Into the name box: a click, Ctrl+A, then the text as the input method
// commits it.
Script Type(const std::string& text)
{
    Script script = Click([](Window& w) { return static_cast<FNWidget*>(w.NameBox()); });
    script.push_back([=](Window&) {
        V::PressKey(FNKeyControl), V::PressKey('A'), V::ReleaseKey('A'), V::ReleaseKey(FNKeyControl);
        V::TypeText(text);
        return true;
    });
    return script;
}

// Opens the type list and clicks one of its rows.
Script ChooseType(int row)
{
    Script script = Click([](Window& w) { return static_cast<FNWidget*>(w.TypeList()); }, 30);
    script.push_back([=](Window& w) {
        FN2DStage* popup = w.TypeList()->Popup();
        if (!popup)
            return false;
        const V::WindowInfo at = V::Window(popup->window);
        clickScreen(at.x + 30, at.y + 1 + row * 20 + 10);
        return true;
    });
    return script;
}

// A key on the message or question once it is up.
Script Answer(int key)
{
    return { [=](Window& w) { return w.Question() && (V::PressKey(key), V::ReleaseKey(key), true); } };
}

Script Check(std::function<void(Window&)> check)
{
    return { [=](Window& w) { return check(w), true; } };
}

Script CloseWindow()
{
    return { [](Window& w) { return V::RequestClose(w.Window()->Frame()->window), true; } };
}

class FileDialogTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        FNInitialise(); // enters the program's folder, as at a program's start
        saved = fs::current_path();
        root = fs::temp_directory_path() / ("fn-filedialog-" + std::to_string(getpid()));
        fs::remove_all(root);
        fs::create_directories(root);
        root = fs::canonical(root);
        fs::current_path(root);
        FNFileDialog::ForgetLastFolder();
    }
    void TearDown() override
    {
        fs::current_path(saved);
        for (const auto& entry : fs::recursive_directory_iterator(root))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(root);
        FNFileDialog::ForgetLastFolder();
        WidgetTest::TearDown();
    }
    // Files and, ending in "/", folders under the test's root.
    void Make(std::initializer_list<const char*> paths)
    {
        for (const std::string path : paths) {
            if (path.back() == '/')
                fs::create_directories(root / path);
            else
                fs::create_directories((root / path).parent_path()), std::ofstream(root / path) << "x";
        }
    }
    std::string At(const std::string& relative) const { return (root / relative).lexically_normal().string(); }
    // Runs each case's script in a new open or save dialog (the editor's
    // types, `index` preselected) and checks what the caller gets back.
    struct Case {
        const char* how;
        std::vector<Script> script;
        const char* chosen; // relative to the root; null: cancelled
        int filterIndex;
    };
    void RunCases(const std::vector<Case>& cases, bool saving, int index)
    {
        for (const Case& c : cases) {
            ScriptedDialog dialog(c.script);
            AddFilters(dialog, saving ? 4 : 5, index);
            EXPECT_EQ(saving ? dialog.Save() : dialog.Open(), c.chosen != nullptr) << c.how;
            EXPECT_TRUE(dialog.Finished()) << c.how;
            EXPECT_EQ(dialog.Path(), c.chosen ? At(c.chosen) : "") << c.how;
            EXPECT_EQ(dialog.Extension(), c.chosen ? FNString(c.chosen).extension() : "") << c.how;
            EXPECT_EQ(dialog.filterIndex, c.filterIndex) << c.how;
            EXPECT_EQ(fs::current_path(), root) << c.how << ": the working folder stays";
            EXPECT_TRUE(stage->enabled) << c.how;
            FNFileDialog::ForgetLastFolder();
        }
    }

    // A folder spoilt after it is listed: double-clicking it shows a message
    // and the dialog stays where it was.
    void ExpectUnreadable(const std::function<void(const fs::path&)>& spoil)
    {
        Make({ "folder/", "a.png" });
        ScriptedDialog dialog { Script { [&](Window&) { return spoil(root / "folder"), true; } }, ClickRow(0, 2),
            Answer(FNKeyReturn), Check([&](Window& w) {
                EXPECT_EQ(w.Folder(), root.string());
                EXPECT_EQ(w.Rows(), (std::vector<FNString> { "folder/", "a.png" }));
            }),
            Press(FNKeyEscape) };
        AddFilters(dialog, 5, 5);
        EXPECT_FALSE(dialog.Open());
        EXPECT_TRUE(dialog.Finished());
    }

    fs::path root, saved;
};

TEST_F(FileDialogTest, OpenChoosesAFileEveryWayAUserWouldOrCancels)
{
    Make({ "a.png", "b.jpg", "sub/c.png", "写真 1.png" });
    RunCases(
        {
            { "double click", { ClickRow(2, 2) }, "b.jpg", 5 },
            { "typed name", { Type("写真 1.png"), Press(FNKeyReturn) }, "写真 1.png", 5 },
            { "typed relative path", { Type("sub/../sub/c.png"), Click(ok) }, "sub/c.png", 5 },
            { "typed absolute path", { Type(At("sub/c.png")), Press(FNKeyReturn) }, "sub/c.png", 5 },
            { "Cancel", { Click(cancel) }, nullptr, 5 },
            { "Escape", { Type("a.png"), Press(FNKeyEscape) }, nullptr, 5 },
            { "close control", { CloseWindow() }, nullptr, 5 },
            { "a missing file is refused",
                { Type("missing.png"), Press(FNKeyReturn), Answer(FNKeyReturn),
                    Check([](Window& w) { EXPECT_EQ(w.Question(), nullptr) << "the dialog stays open"; }),
                    Click(cancel) },
                nullptr, 5 },
        },
        false, 5);
}

TEST_F(FileDialogTest, FoldersComeFirstThenTheFilesOfTheChosenTypeInNaturalOrder)
{
    Make({ "img10.png", "img2.png", "Img1.png", "notes.txt", "photo.JPG", ".hidden.png", "zeta/", "Alpha/", ".git/" });
    const std::vector<FNString> folders = { "Alpha/", "zeta/" };
    auto rows = [&](std::vector<FNString> files) {
        files.insert(files.begin(), folders.begin(), folders.end());
        return files;
    };
    ScriptedDialog dialog {
        Check([&](Window& w) {
            EXPECT_EQ(w.TypeList()->GetText(), "PNG(*.png)") << "the preselected type";
            ASSERT_EQ(w.TypeList()->Entries().size(), 5u);
            EXPECT_EQ(w.TypeList()->Entries()[4]->GetText(), "すべてのファイル形式(*.*)");
            EXPECT_EQ(w.Rows(), rows({ "Img1.png", "img2.png", "img10.png" }));
        }),
        ChooseType(1),
        Check([&](Window& w) { EXPECT_EQ(w.Rows(), rows({ "photo.JPG" })); }),
        ChooseType(4),
        Check([&](Window& w) {
            EXPECT_EQ(w.Rows(), rows({ "Img1.png", "img2.png", "img10.png", "notes.txt", "photo.JPG" }));
            EXPECT_EQ(w.NameBox()->GetText(), "") << "opening renames nothing";
        }),
        ClickRow(4, 2),
    };
    AddFilters(dialog, 5, 3);
    EXPECT_TRUE(dialog.Open());
    EXPECT_TRUE(dialog.Finished());
    EXPECT_EQ(dialog.Path(), At("img10.png"));
    EXPECT_EQ(dialog.filterIndex, 5) << "the type the user chose last";
}

TEST_F(FileDialogTest, FoldersAreEnteredAndLeftAndTheLastOneIsRemembered)
{
    Make({ "sub/inner/deep.png", "sub/s.png", "top.png" });
    ScriptedDialog first {
        Check([&](Window& w) { EXPECT_EQ(w.Folder(), root.string()) << "the working folder first"; }),
        ClickRow(0, 2),
        Check([&](Window& w) {
            EXPECT_EQ(w.Folder(), At("sub"));
            EXPECT_EQ(w.PathLine()->GetText(), At("sub"));
            EXPECT_EQ(w.Rows(), (std::vector<FNString> { "inner/", "s.png" }));
            EXPECT_EQ(w.List()->Selected(), -1) << "no row of the folder left is marked here";
        }),
        Click(up),
        Check([&](Window& w) { EXPECT_EQ(w.Folder(), root.string()); }),
        Type("sub/inner/"),
        Press(FNKeyReturn),
        Check([&](Window& w) {
            EXPECT_EQ(w.Folder(), At("sub/inner"));
            EXPECT_EQ(w.NameBox()->GetText(), "") << "the folder's name is not kept as a file name";
        }),
        Press(FNKeyEscape),
    };
    AddFilters(first, 5, 5);
    EXPECT_FALSE(first.Open());
    ScriptedDialog second {
        Check([&](Window& w) { EXPECT_EQ(w.Folder(), At("sub/inner")) << "the last folder of the run"; }),
        Click(up),
        ClickRow(0), // "inner/" selected; Return on the list opens it
        Press(FNKeyReturn),
        Check([&](Window& w) { EXPECT_EQ(w.Folder(), At("sub/inner")); }),
        Click(cancel),
    };
    AddFilters(second, 5, 5);
    EXPECT_FALSE(second.Open());
    EXPECT_TRUE(first.Finished() && second.Finished());
    EXPECT_EQ(fs::current_path(), root);
}

TEST_F(FileDialogTest, ALongPathIsShownByItsEndAndKeptWhole)
{
    std::string half[2]; // 720 bytes each: the input method hands over at most 1024 at once
    for (int level = 0; level < 6; ++level)
        half[level / 3] += std::string(level % 3 ? "/" : "") + std::string(239, 'a' + level);
    const std::string deep = half[0] + "/" + half[1];
    Make({ (deep + "/写真.png").c_str() });
    ScriptedDialog dialog { Type(half[0]), Press(FNKeyReturn), Type(half[1]), Press(FNKeyReturn), Check([&](Window& w) {
                               const std::string shown = w.PathLine()->GetText().str();
                               ASSERT_EQ(shown.rfind("…", 0), 0u) << "the line starts with an ellipsis";
                               EXPECT_EQ(At(deep).substr(At(deep).size() - (shown.size() - 3)), shown.substr(3))
                                   << "and shows the end";
                           }),
        Type("写真.png"), Press(FNKeyReturn) };
    AddFilters(dialog, 5, 5);
    EXPECT_TRUE(dialog.Open());
    EXPECT_EQ(dialog.Path(), At(deep + "/写真.png"));
}

TEST_F(FileDialogTest, SaveAddsTheDefaultExtensionRenamesOnATypeChangeAndAsksBeforeOverwriting)
{
    Make({ "exists.png" });
    auto name
        = [](const char* expected) { return Check([=](Window& w) { EXPECT_EQ(w.NameBox()->GetText(), expected); }); };
    RunCases(
        {
            { "no extension", { Type("新しい絵"), Press(FNKeyReturn) }, "新しい絵.bmp", 3 },
            { "type change, empty name", { ChooseType(1), name("名称未設定.jpg"), Click(ok) }, "名称未設定.jpg", 2 },
            { "type change, typed name", { Type("絵.png"), ChooseType(3), name("絵.tga"), Click(ok) }, "絵.tga", 4 },
            { "overwrite confirmed", { Type("exists.png"), Press(FNKeyReturn), Answer(FNKeyReturn) }, "exists.png", 3 },
            { "overwrite refused",
                { ClickRow(0, 2), Answer(FNKeyEscape),
                    Check([](Window& w) { EXPECT_EQ(w.Question(), nullptr) << "the dialog stays open"; }),
                    name("exists.png"), Press(FNKeyEscape) },
                nullptr, 3 },
        },
        true, 3);
    EXPECT_FALSE(fs::exists(root / "新しい絵.bmp")) << "the dialog only names the file";
}

TEST_F(FileDialogTest, AFolderRemovedAfterItWasListedIsReportedAndNotEntered)
{
    ExpectUnreadable([](const fs::path& folder) { fs::remove(folder); });
}

TEST_F(FileDialogTest, AFolderWithoutReadPermissionIsReportedAndNotEntered)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every folder";
    ExpectUnreadable([](const fs::path& folder) { fs::permissions(folder, fs::perms::none); });
}

// A file typed by its path inside a folder that may not be searched cannot
// be seen, but may be there: the path is handed on, so that opening it tells
// the real reason instead of the dialog calling the file missing.
TEST_F(FileDialogTest, ATypedPathTheSystemWillNotLookIntoIsHandedOn)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root searches every folder";
    Make({ "locked/inside.png" });
    fs::permissions(root / "locked", fs::perms::none);
    RunCases(
        { { "typed path", { Type(At("locked/inside.png")), Press(FNKeyReturn) }, "locked/inside.png", 5 },
            { "a missing file beside it is still refused",
                { Type(At("missing.png")), Press(FNKeyReturn), Answer(FNKeyReturn), Click(cancel) }, nullptr, 5 } },
        false, 5);
}

} // namespace
