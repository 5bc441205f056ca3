// Undo and redo across random editing sessions: after every undo the editor
// must look exactly as it did before the undone edit, after every redo as it
// did after it, however the edits, undos and redos interleave and however
// many steps fall out of the 30-step history. Run under AddressSanitizer,
// this also proves that no picture the history can still restore is freed.
#include "tests/app/editor/EditorFixture.h"

#include "app/canvas/q_TransformBox.h"
#include "app/colour/q_ColourSliders.h"
#include "app/history/q_HistoryManager.h"
#include "widgets/controls/FNSlider.h"

#include <deque>
#include <optional>

namespace {

// What the user can see of the editor, and the pictures behind it.
struct Look {
    std::vector<uint32_t> shown, base, part, region;
    int partState = 0, tool = 0, hue = 0, saturation = 0, value = 0, composeMode = 0;
    bool operator==(const Look& other) const
    {
        return shown == other.shown && base == other.base && part == other.part && region == other.region
            && partState == other.partState && tool == other.tool && hue == other.hue && saturation == other.saturation
            && value == other.value && composeMode == other.composeMode;
    }
};

// Which parts of two looks differ, for the failure message.
std::string differences(const Look& a, const Look& b)
{
    std::string text;
    auto note = [&text](bool differs, const char* name) {
        if (differs)
            text += std::string(text.empty() ? "" : ", ") + name;
    };
    note(a.shown != b.shown, "shown picture");
    note(a.base != b.base, "base canvas");
    note(a.part != b.part, "loaded part");
    note(a.region != b.region, "cut region");
    note(a.partState != b.partState,
        ("part state " + std::to_string(a.partState) + " vs " + std::to_string(b.partState)).c_str());
    note(a.tool != b.tool, ("tool " + std::to_string(a.tool) + " vs " + std::to_string(b.tool)).c_str());
    note(a.hue != b.hue || a.saturation != b.saturation || a.value != b.value, "sliders");
    note(a.composeMode != b.composeMode, "compose mode");
    return text;
}

std::vector<uint32_t> wordsOf(const FNImage* picture)
{
    if (!picture || !picture->pixels)
        return {};
    std::vector<uint32_t> words { static_cast<uint32_t>(picture->width), static_cast<uint32_t>(picture->height) };
    for (int y = 0; y < picture->height; ++y)
        words.insert(words.end(), picture->row(y), picture->row(y) + picture->width);
    return words;
}

// One recorded edit: the looks before and after it (unknown when one action
// recorded two steps at once). Colour and box steps record the editor's
// state but no picture: undoing one back into cutting shows the mark as it
// is now, which a later entry into cutting may have started afresh.
struct Edit {
    std::optional<Look> before, after;
    bool infoOnly = false;
};

bool sameLook(Look seen, const Look& recorded, bool infoOnly)
{
    if (infoOnly)
        seen.region = recorded.region;
    return seen == recorded;
}

class EditorHistory : public EditorTest {
protected:
    // Packages handed to the history so far: each push commits twice, and
    // each commit logs the history's length.
    int Pushes() const
    {
        const std::string text = log.str(), line = "q_HistoryManager::commit() 履歴数:";
        int commits = 0;
        for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
            ++commits;
        return commits / 2;
    }

    Look Observe() const
    {
        Look look;
        look.shown = wordsOf(app->Canvas()->ShownPicture());
        look.base = wordsOf(app->BaseCanvas());
        look.part = wordsOf(app->LoadedPart());
        // The mark is only seen while cutting.
        if (app->CurrentPartState() == q_App::Cutting)
            look.region = wordsOf(app->CutRegion());
        look.partState = app->CurrentPartState();
        look.tool = app->CurrentTool();
        look.hue = app->HueSlider()->Value();
        look.saturation = app->SaturationSlider()->Value();
        look.value = app->ValueSlider()->Value();
        look.composeMode = app->ComposeMode();
        return look;
    }

    // A random point of the part, in its pixels.
    std::pair<int, int> PartPoint(TestRandom& random) const
    {
        return { random.range(0, app->AdjustedPart()->width - 1), random.range(0, app->AdjustedPart()->height - 1) };
    }

    void Stroke(TestRandom& random)
    {
        std::vector<std::pair<int, int>> points;
        for (int i = random.range(1, 4); i > 0; --i)
            points.push_back(PartPoint(random));
        DragOnPart(points);
    }

    void DragSlider(FNSlider& slider, TestRandom& random)
    {
        const auto from = ScreenOf(*slider.Item(), slider.ThumbX() + 6, 8);
        const auto to = ScreenOf(*slider.Item(), random.range(0, slider.Width()), 8);
        Drag({ from, to });
    }

    // Drags the box's outline (a move) or one of its handles (a resize).
    void DragBox(TestRandom& random)
    {
        q_TransformBox& box = *app->TransformBox();
        const int handle = random.range(-1, 7);
        const FN2DItemBase& grip = handle < 0 ? static_cast<const FN2DItemBase&>(*box.Outline()) : *box.Handle(handle);
        const auto from = handle < 0 ? ScreenOf(grip, 0, box.height / 2) : ScreenOf(grip, 4, 4);
        Drag({ from, { from.first + random.range(-15, 15), from.second + random.range(-15, 15) } });
    }

    void BlurStroke(TestRandom& random)
    {
        FN2DItem& picture = app->Canvas()->PictureItem();
        const int w = app->BaseCanvas()->width, h = app->BaseCanvas()->height;
        Drag({ ScreenOf(picture, random.range(0, w - 1), random.range(0, h - 1)),
            ScreenOf(picture, random.range(0, w - 1), random.range(0, h - 1)) });
    }

    // An action's clicks that record nothing are done: what follows is the
    // edit.
    void Prepared() { prepared = Observe(); }

    // One random action of the user; some only make sense in some states,
    // and the ones that cannot run do nothing.
    void Act(TestRandom& random, const std::vector<std::string>& parts)
    {
        const bool part = app->HasPart(), cutting = app->CurrentPartState() == q_App::Cutting;
        const int choice = random.range(0, 12);
        trace += std::to_string(choice) + " ";
        infoOnly = choice == 6 || choice == 7;
        switch (choice) {
        case 0:
            LoadPart(parts[random.range(0, static_cast<int>(parts.size()) - 1)]);
            break;
        case 1:
            if (part) {
                Click(random.range(0, 1) ? "ペン" : "消し");
                Prepared();
                Stroke(random);
            }
            break;
        case 2:
            if (part) {
                Click("流しこみ");
                Prepared();
                DragOnPart({ PartPoint(random) });
            }
            break;
        case 3:
            if (cutting)
                Click("最適化");
            break;
        case 4:
            if (cutting)
                Click("切り取り\n実行");
            break;
        case 5:
            if (part)
                Click("移動変形");
            break;
        case 6:
            if (part) {
                FNSlider* sliders[] = { app->HueSlider(), app->SaturationSlider(), app->ValueSlider() };
                DragSlider(*sliders[random.range(0, 2)], random);
            }
            break;
        case 7:
            if (part && app->TransformBox()->visible)
                DragBox(random);
            break;
        case 8:
            if (app->CurrentTool() == q_App::BlurPen)
                BlurStroke(random);
            else
                Click("ぼかしペン");
            break;
        case 9:
            if (part) {
                app->confirmations = { random.range(0, 1) == 1 };
                Click("貼り付け");
            }
            break;
        case 10:
            app->sizes = { { random.range(50, 160), random.range(50, 160) } };
            Click("白紙キャンバス");
            break;
        default:
            break; // undo and redo are chosen by the caller
        }
    }

    Look prepared;
    bool infoOnly = false; // the last action records no picture
    std::string trace; // the actions taken, for a failure message
};

TEST_F(EditorHistory, UndoAndRedoRestoreExactlyWhatTheUserSaw)
{
    TestRandom random(20261209);
    std::vector<std::string> parts;
    for (int i = 0; i < 3; ++i) {
        FNImage picture(random.range(8, 30), random.range(8, 30));
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x)
                picture.row(y)[x] = static_cast<uint32_t>(random.next()) | (random.range(0, 3) ? 0xFF000000u : 0);
        parts.push_back(WritePicture("part" + std::to_string(i) + ".png", picture));
    }
    // The model: recorded edits, oldest first, and how many are undone.
    std::deque<Edit> edits;
    int undone = 0;
    int undos = 0, redos = 0;

    for (int action = 0; action < 160; ++action) {
        const int choice = random.range(0, 9);
        if (choice < 2) { // undo
            trace += "U ";
            const Look before = Observe();
            Click("戻す");
            if (undone < static_cast<int>(edits.size())) {
                const Edit& edit = edits[edits.size() - 1 - undone];
                ++undone, ++undos;
                if (edit.before) {
                    ASSERT_TRUE(sameLook(Observe(), *edit.before, edit.infoOnly))
                        << "undo at action " << action << ": " << differences(Observe(), *edit.before) << "\nafter "
                        << trace;
                }
            } else {
                ASSERT_TRUE(Observe() == before) << "undo with nothing left changed the editor, action " << action;
            }
            continue;
        }
        if (choice < 3) { // redo
            trace += "R ";
            const Look before = Observe();
            Click("進む");
            if (undone > 0) {
                const Edit& edit = edits[edits.size() - undone];
                --undone, ++redos;
                if (edit.after) {
                    ASSERT_TRUE(sameLook(Observe(), *edit.after, edit.infoOnly))
                        << "redo at action " << action << ": " << differences(Observe(), *edit.after) << "\nafter "
                        << trace;
                }
            } else {
                ASSERT_TRUE(Observe() == before) << "redo at the newest changed the editor, action " << action;
            }
            continue;
        }
        prepared = Observe();
        const int pushesBefore = Pushes();
        Act(random, parts);
        const int recorded = Pushes() - pushesBefore;
        trace += "(" + std::to_string(prepared.partState) + std::to_string(prepared.tool) + ">"
            + std::to_string(app->CurrentPartState()) + std::to_string(app->CurrentTool()) + "+"
            + std::to_string(recorded) + ") ";
        if (recorded == 0)
            continue;
        ASSERT_EQ(app->History()->cursor(), -1) << "a new step ends the redo branch";
        edits.resize(edits.size() - undone);
        undone = 0;
        for (int i = 0; i < recorded; ++i)
            edits.push_back(Edit {});
        if (recorded == 1)
            edits.back() = Edit { prepared, Observe(), infoOnly };
        while (static_cast<int>(edits.size()) > app->History()->count())
            edits.pop_front();
        ASSERT_EQ(static_cast<int>(edits.size()), app->History()->count());
    }
    EXPECT_GT(undos, 20) << trace;
    EXPECT_GT(redos, 5);
}

} // namespace
