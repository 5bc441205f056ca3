#include "tests/app/history/HistoryTestEditor.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace {

using Shape = HistoryTestEditor::Shape;

// What the editor must show, kept the plain way: the recorded edits oldest
// first and how many of them are in effect.
struct ModelEdit {
    std::array<FNImage*, 5> before {}, after {};
    q_InfoRecord infoBefore, infoAfter;
    std::vector<int> kinds;
};

struct HistoryModel {
    std::vector<ModelEdit> edits;
    size_t applied = 0;
    std::array<FNImage*, 5> current {};
    q_InfoRecord info;
    bool locked = false;
    int overflows = 0, truncations = 0, lockedEdits = 0;

    void edit(const ModelEdit& edit)
    {
        for (int kind : edit.kinds)
            current[kind] = edit.after[kind];
        info = edit.infoAfter;
        if (locked) {
            ++lockedEdits;
            return;
        }
        truncations += applied < edits.size();
        edits.resize(applied);
        edits.push_back(edit);
        if (edits.size() > 30) {
            edits.erase(edits.begin());
            ++overflows;
        }
        applied = edits.size();
    }
    void undo()
    {
        if (applied == 0)
            return;
        const ModelEdit& edit = edits[--applied];
        for (int kind : edit.kinds)
            current[kind] = edit.before[kind];
        info = edit.infoBefore;
        locked = true;
    }
    void redo()
    {
        if (applied == edits.size())
            return;
        const ModelEdit& edit = edits[applied++];
        for (int kind : edit.kinds)
            current[kind] = edit.after[kind];
        info = edit.infoAfter;
        locked = true;
    }
    std::set<const FNImage*> pictures() const
    {
        std::set<const FNImage*> all;
        for (int kind : HistoryTestEditor::PictureKinds)
            all.insert(current[kind]);
        for (const ModelEdit& edit : edits)
            for (int kind : edit.kinds)
                all.insert({ edit.before[kind], edit.after[kind] });
        return all;
    }
};

ModelEdit recordEdit(HistoryTestEditor& editor, Shape shape)
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

// Empty when the editor shows what the model says and every picture the
// history may restore is alive and unchanged.
std::string mismatch(const HistoryTestEditor& editor, const HistoryModel& model, bool afterFrame)
{
    for (int kind : HistoryTestEditor::PictureKinds)
        if (editor.current(kind) != model.current[kind])
            return "current picture of kind " + std::to_string(kind);
    if (editor.info != model.info)
        return "info record";
    const q_HistoryManager& history = *editor.history;
    const int n = static_cast<int>(model.edits.size());
    if (history.count() != n || history.cursor() != n - static_cast<int>(model.applied) - 1)
        return "count or cursor";
    if (history.canUndo() != (model.applied > 0) || history.canRedo() != (model.applied < model.edits.size()))
        return "undo or redo availability";
    const std::set<const FNImage*> pictures = model.pictures();
    for (const FNImage* picture : pictures)
        if (!intact(picture))
            return "a kept picture changed";
    // Pictures let go of during a frame are freed by its end.
    if (afterFrame && CountedPicture::live() != static_cast<int>(pictures.size()))
        return "live pictures " + std::to_string(CountedPicture::live()) + ", model " + std::to_string(pictures.size());
    return {};
}

TEST(HistoryProperty, RandomEditsUndosRedosAndLockedEditsMatchTheModel)
{
    const Shape shapes[] = { Shape::InfoOnly, Shape::Stroke, Shape::Mark, Shape::Cut, Shape::Finish };
    std::mt19937 random(20240614);
    HistoryModel totals;
    for (int sequence = 0; sequence < 2000; ++sequence) {
        {
            HistoryTestEditor editor;
            HistoryModel model;
            for (int kind : HistoryTestEditor::PictureKinds)
                model.current[kind] = editor.current(kind);
            const int length = std::uniform_int_distribution<int>(1, 200)(random);
            for (int step = 0; step < length; ++step) {
                const int roll = std::uniform_int_distribution<int>(0, 99)(random);
                bool frame = false;
                if (roll < 45) {
                    model.edit(recordEdit(editor, shapes[roll % 5]));
                } else if (roll < 65) {
                    editor.undo();
                    model.undo();
                } else if (roll < 80) {
                    editor.redo();
                    model.redo();
                } else {
                    editor.frame();
                    model.locked = false;
                    frame = true;
                }
                const std::string wrong = mismatch(editor, model, frame);
                ASSERT_TRUE(wrong.empty()) << "sequence " << sequence << " step " << step << ": " << wrong;
            }
            totals.overflows += model.overflows;
            totals.truncations += model.truncations;
            totals.lockedEdits += model.lockedEdits;
        }
        ASSERT_EQ(CountedPicture::live(), 0) << "sequence " << sequence << " leaked pictures";
    }
    // The sequences must have reached every path that drops packages.
    EXPECT_GT(totals.overflows, 100);
    EXPECT_GT(totals.truncations, 100);
    EXPECT_GT(totals.lockedEdits, 100);
}

} // namespace
