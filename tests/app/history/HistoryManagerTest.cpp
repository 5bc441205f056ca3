#include "tests/app/history/HistoryTestEditor.h"

#include <gtest/gtest.h>

namespace {

using Shape = HistoryTestEditor::Shape;

// Script letters: i, b, m, c, F an edit of shape info, stroke, mark, cut,
// finish; u undo, r redo, f next frame, x destroy the history.
void run(HistoryTestEditor& editor, const std::string& script)
{
    for (char step : script) {
        switch (step) {
        case 'i':
            editor.edit(Shape::InfoOnly);
            break;
        case 'b':
            editor.edit(Shape::Stroke);
            break;
        case 'm':
            editor.edit(Shape::Mark);
            break;
        case 'c':
            editor.edit(Shape::Cut);
            break;
        case 'F':
            editor.edit(Shape::Finish);
            break;
        case 'u':
            editor.undo();
            break;
        case 'r':
            editor.redo();
            break;
        case 'f':
            editor.frame();
            break;
        case 'x':
            editor.destroyHistory();
            break;
        default:
            FAIL() << "unknown script letter " << step;
        }
    }
}

// Test names from the cases' own names.
template <typename Case> std::string caseName(const testing::TestParamInfo<Case>& info)
{
    std::string name = info.param.name;
    for (char& ch : name)
        if (!isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
}

const std::string Count = "q_HistoryManager::commit() 履歴数:";

struct LogCase {
    const char* name;
    std::string setup; // its log is not checked
    std::string last; // the step whose lines are compared
    std::vector<std::string> lines;
    int count, cursor;
    bool canUndo, canRedo;
};

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
        { "commit()::前方消し:2", "commit()::あふれ消し:1", "commit()::あふれ消し:0", Count + "0" }, -1, 0, false,
        false },
};

void PrintTo(const LogCase& c, std::ostream* out)
{
    *out << c.name;
}

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
    const q_HistoryPackege* pushed[]
        = { editor.edit(Shape::Stroke), editor.edit(Shape::Cut), editor.edit(Shape::InfoOnly) };
    const struct {
        char step;
        const q_HistoryPackege* expected;
    } walk[] = { { 'u', pushed[2] }, { 'u', pushed[1] }, { 'u', pushed[0] }, { 'u', nullptr }, { 'r', pushed[0] },
        { 'r', pushed[1] }, { 'u', pushed[1] }, { 'r', pushed[1] }, { 'r', pushed[2] }, { 'r', nullptr } };
    for (const auto& step : walk) {
        EXPECT_EQ(step.step == 'u' ? editor.undo() : editor.redo(), step.expected);
        editor.frame();
    }
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

// A step recorded while locked, or history dropped around one, must leave
// every picture the history can still restore alive, and free the rest.
struct KeepCase {
    const char* name;
    std::string script;
    int livePictures; // after the script, with the two or three untouched ones
};

const KeepCase keepCases[] = {
    { "stroke while undo restores, then redo", "bubrf", 4 },
    { "stroke while redo restores, then undo", "bbufufrbuf", 5 },
    { "mark and cut while locked", "cmufrcfmuF", 10 },
    { "edit after a locked stroke drops the undone one", "bubfbf", 4 },
    { "overflow keeps the current picture", "b" + std::string(30, 'i') + "b", 4 },
};

void PrintTo(const KeepCase& c, std::ostream* out)
{
    *out << c.name;
}

class HistoryKeeps : public testing::TestWithParam<KeepCase> { };

TEST_P(HistoryKeeps, EveryRestorablePictureAndNothingElse)
{
    HistoryTestEditor editor;
    run(editor, GetParam().script);
    editor.frame();
    EXPECT_EQ(CountedPicture::live(), GetParam().livePictures);
    auto expectIntact = [&editor] {
        for (int kind : HistoryTestEditor::PictureKinds)
            EXPECT_TRUE(intact(editor.current(kind)));
    };
    expectIntact();
    while (editor.undo()) {
        editor.frame();
        expectIntact();
    }
    while (editor.redo()) {
        editor.frame();
        expectIntact();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, HistoryKeeps, testing::ValuesIn(keepCases), caseName<KeepCase>);

TEST(HistoryManager, DestructionFreesEveryPictureTheApplicationDoesNotHold)
{
    {
        HistoryTestEditor editor;
        run(editor, "bcFufubfmuu");
        editor.destroyHistory();
        EXPECT_EQ(CountedPicture::live(), 3);
    }
    EXPECT_EQ(CountedPicture::live(), 0);
}

} // namespace
