#include "tests/app/history/HistoryTestEditor.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace {

// What the editor must show, kept the plain way: the recorded edits oldest
// first and how many of them are in effect.
struct ModelEdit {
    std::vector<int> kinds;
    std::array<FNImage*, 5> before {}, after {};
    q_InfoRecord infoBefore, infoAfter;
};

struct HistoryModel {
    std::vector<ModelEdit> edits;
    size_t applied = 0;
    std::array<FNImage*, 5> current {};
    q_InfoRecord info;
    bool locked = false;
    int overflows = 0, truncations = 0, lockedEdits = 0;

    void show(const ModelEdit& edit, bool forward)
    {
        for (int kind : edit.kinds)
            current[kind] = forward ? edit.after[kind] : edit.before[kind];
        info = forward ? edit.infoAfter : edit.infoBefore;
    }
    void edit(const ModelEdit& edit)
    {
        show(edit, true);
        if (locked) {
            ++lockedEdits;
            return;
        }
        truncations += applied < edits.size();
        edits.resize(applied);
        edits.push_back(edit);
        overflows += edits.size() > 30;
        if (edits.size() > 30)
            edits.erase(edits.begin());
        applied = edits.size();
    }
    void undo()
    {
        if (applied > 0)
            show(edits[--applied], false), locked = true;
    }
    void redo()
    {
        if (applied < edits.size())
            show(edits[applied++], true), locked = true;
    }
    std::set<const FNImage*> pictures() const
    {
        std::set<const FNImage*> all(current.begin() + 2, current.end());
        for (const ModelEdit& edit : edits)
            for (int kind : edit.kinds)
                all.insert({ edit.before[kind], edit.after[kind] });
        return all;
    }
};

ModelEdit recordEdit(HistoryTestEditor& editor, HistoryTestEditor::Shape shape)
{
    ModelEdit edit;
    edit.kinds = HistoryTestEditor::kindsOf(shape);
    edit.infoBefore = editor.info;
    for (int kind : edit.kinds)
        edit.before[kind] = editor.current(kind);
    editor.edit(shape);
    for (int kind : edit.kinds)
        edit.after[kind] = editor.current(kind);
    edit.infoAfter = editor.info;
    return edit;
}

// Empty when the editor shows the model's very picture objects and info
// record, and every picture the history may restore is alive and unchanged;
// once a frame has passed, nothing else is alive.
std::string mismatch(const HistoryTestEditor& editor, const HistoryModel& model, bool afterFrame)
{
    for (int kind : HistoryTestEditor::PictureKinds)
        if (editor.current(kind) != model.current[kind])
            return "current picture of kind " + std::to_string(kind);
    if (editor.info != model.info)
        return "info record";
    const int n = static_cast<int>(model.edits.size()), undone = n - static_cast<int>(model.applied);
    const q_HistoryManager& history = *editor.history;
    if (history.count() != n || history.cursor() != undone - 1 || history.canUndo() != (model.applied > 0)
        || history.canRedo() != (undone > 0))
        return "count, cursor or undo/redo availability";
    const std::set<const FNImage*> pictures = model.pictures();
    for (const FNImage* picture : pictures)
        if (!CountedPicture::intact(picture))
            return "a kept picture changed";
    if (afterFrame && CountedPicture::live() != static_cast<int>(pictures.size()))
        return "live pictures " + std::to_string(CountedPicture::live()) + ", model " + std::to_string(pictures.size());
    return {};
}

TEST(HistoryProperty, RandomEditsUndosRedosAndLockedEditsMatchTheModel)
{
    std::mt19937 random(20240614);
    int overflows = 0, truncations = 0, lockedEdits = 0;
    for (int sequence = 0; sequence < 2000; ++sequence) {
        {
            HistoryTestEditor editor;
            HistoryModel model;
            for (int kind : HistoryTestEditor::PictureKinds)
                model.current[kind] = editor.current(kind);
            const int length = std::uniform_int_distribution<int>(1, 200)(random);
            for (int step = 0; step < length; ++step) {
                // 45 % edits of the five shapes, 20 % undo, 15 % redo, 20 % frames.
                const int roll = std::uniform_int_distribution<int>(0, 99)(random);
                if (roll < 45)
                    model.edit(recordEdit(editor, HistoryTestEditor::Shape(roll % 5)));
                else if (roll < 65)
                    editor.undo(), model.undo();
                else if (roll < 80)
                    editor.redo(), model.redo();
                else
                    editor.frame(), model.locked = false;
                const std::string wrong = mismatch(editor, model, roll >= 80);
                ASSERT_TRUE(wrong.empty()) << "sequence " << sequence << " step " << step << ": " << wrong;
            }
            overflows += model.overflows, truncations += model.truncations, lockedEdits += model.lockedEdits;
        }
        ASSERT_EQ(CountedPicture::live(), 0) << "sequence " << sequence << " leaked pictures";
    }
    // The sequences must have reached every path that drops packages.
    EXPECT_GT(overflows, 100);
    EXPECT_GT(truncations, 100);
    EXPECT_GT(lockedEdits, 100);
}

} // namespace
