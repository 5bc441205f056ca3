#include "tests/app/history/HistoryTestEditor.h"

#include <gtest/gtest.h>

namespace {

// Script letters: i, b, m, c, F one edit of each shape (info only, stroke,
// mark, cut, finish); u undo, r redo, f next frame, x destroy the history.
void run(HistoryTestEditor& editor, const std::string& script)
{
    const std::string shapes = "ibmcF";
    for (char step : script) {
        if (shapes.find(step) != std::string::npos)
            editor.edit(HistoryTestEditor::Shape(shapes.find(step)));
        else if (step == 'u' || step == 'r')
            step == 'u' ? editor.undo() : editor.redo();
        else
            step == 'f' ? editor.frame() : editor.history.reset();
    }
}

template <typename Case> std::string caseName(const testing::TestParamInfo<Case>& info)
{
    std::string name = info.param.name;
    for (char& ch : name)
        ch = isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    return name;
}

const std::string Count = "q_HistoryManager::commit() 履歴数:";

struct LogCase {
    const char* name;
    std::string setup, last; // only the lines of the last step are compared
    std::vector<std::string> lines;
    int count, cursor;
    bool canUndo, canRedo;
};
void PrintTo(const LogCase& c, std::ostream* out)
{
    *out << c.name;
}

const LogCase logCases[] = {
    { "31st edit overflows", std::string(30, 'i'), "i", { Count + "30", "commit()::あふれ消し:0", Count + "30" }, 30,
        -1, true, false },
    { "edit after two undos drops them newest first", "iiiiiufuf", "i",
        { "commit()::前方消し:4", "commit()::前方消し:3", Count + "3", Count + "4" }, 4, -1, true, false },
    { "redo after that edit", "iiiiiufufi", "r", { "最新のデータです" }, 4, -1, true, false },
    { "undo on an empty history", "", "u", { "すでに最古のデータです" }, 0, -1, false, false },
    { "undo past the oldest", "iiufuf", "u", { "すでに最古のデータです" }, 2, 1, false, true },
    { "edit in the frame of an undo", "iiu", "i", { "ロック中のため履歴は追加せず、無視します。" }, 2, 0, true, true },
    { "destroy with one undone", "iiiuf", "x",
        { "commit()::前方消し:2", "commit()::あふれ消し:1", "commit()::あふれ消し:0", Count + "0" }, 0, 0, 0, 0 },
};

class HistoryLog : public testing::TestWithParam<LogCase> { };

TEST_P(HistoryLog, WritesTheLinesOfTheLastStep)
{
    const LogCase& c = GetParam();
    HistoryTestEditor editor;
    run(editor, c.setup);
    editor.takeLines();
    run(editor, c.last);
    EXPECT_EQ(editor.takeLines(), c.lines);
    if (!editor.history)
        return;
    EXPECT_EQ(editor.history->count(), c.count);
    EXPECT_EQ(editor.history->cursor(), c.cursor);
    EXPECT_EQ(editor.history->canUndo(), c.canUndo);
    EXPECT_EQ(editor.history->canRedo(), c.canRedo);
}

INSTANTIATE_TEST_SUITE_P(Cases, HistoryLog, testing::ValuesIn(logCases), caseName<LogCase>);

TEST(HistoryManager, UndoWalksBackAndRedoForwardOverThePushedPackages)
{
    HistoryTestEditor editor;
    const q_HistoryPackege* p[] = { editor.edit(editor.Stroke), editor.edit(editor.Cut), editor.edit(editor.InfoOnly) };
    const std::string walk = "uuuurruurrr";
    const q_HistoryPackege* expected[] = { p[2], p[1], p[0], nullptr, p[0], p[1], p[1], p[0], p[0], p[1], p[2] };
    for (size_t i = 0; i < walk.size(); ++i) {
        EXPECT_EQ(walk[i] == 'u' ? editor.undo() : editor.redo(), expected[i]) << "step " << i;
        editor.frame();
    }
    EXPECT_EQ(editor.redo(), nullptr);
}

TEST(HistoryPackege, KeepsBaseCutPartsInfoOrderWhateverTheAddingOrder)
{
    q_HistoryPackege package;
    package.add(new q_HistoryInfo({}, {}));
    package.add(new q_HistoryPartsImage(nullptr, nullptr));
    package.add(new q_HistoryBaseImage(nullptr, nullptr));
    package.add(new q_HistoryCutRegion(nullptr, nullptr));
    std::vector<int> kinds;
    for (int i = 0; i < package.count(); ++i)
        kinds.push_back(package.object(i)->kind());
    EXPECT_EQ(kinds, (std::vector<int> { 4, 3, 2, 1 }));
    package.destroyObjects();
}

// A step recorded while locked, or packages dropped around one, must leave
// every picture the history can still restore alive, and free the rest.
struct KeepCase {
    const char* name;
    std::string script;
    int livePictures; // after the script and a frame
};
void PrintTo(const KeepCase& c, std::ostream* out)
{
    *out << c.name;
}

const KeepCase keepCases[] = {
    { "stroke while undo restores, then redo", "bubrf", 4 },
    { "stroke while redo restores, then undo", "bbufufrbuf", 5 },
    { "mark and cut while locked", "cmufrcfmuF", 10 },
    { "edit after a locked stroke drops the undone one", "bubfbf", 4 },
    { "overflow keeps the current picture", "b" + std::string(30, 'i') + "b", 4 },
};

class HistoryKeeps : public testing::TestWithParam<KeepCase> { };

TEST_P(HistoryKeeps, EveryRestorablePictureAndNothingElse)
{
    HistoryTestEditor editor;
    run(editor, GetParam().script);
    editor.frame();
    EXPECT_EQ(CountedPicture::live(), GetParam().livePictures);
    auto intact = [&editor] {
        for (int kind : HistoryTestEditor::PictureKinds)
            EXPECT_TRUE(CountedPicture::intact(editor.current(kind)));
    };
    intact();
    for (auto step : { &HistoryTestEditor::undo, &HistoryTestEditor::redo })
        while ((editor.*step)()) {
            editor.frame();
            intact();
        }
}

INSTANTIATE_TEST_SUITE_P(Cases, HistoryKeeps, testing::ValuesIn(keepCases), caseName<KeepCase>);

// A picture whose package overflowed while the editor still showed it is
// the history's to free once the editor lets go of it: the editor must not
// free it as well.
TEST(HistoryManager, APictureDroppedWhileStillShownIsFreedOnceByTheHistory)
{
    HistoryTestEditor editor;
    run(editor, "b" + std::string(30, 'i'));
    EXPECT_TRUE(editor.history->references(editor.current(4)));
    editor.replaceUnrecorded(4);
    editor.edit(HistoryTestEditor::InfoOnly);
    editor.frame();
    EXPECT_EQ(CountedPicture::live(), 3) << "the three current pictures alone";
}

} // namespace
