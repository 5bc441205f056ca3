#pragma once

// A file dialog whose user follows a script, and the editor's file types,
// for the tests on the virtual window system and on X11 alike.

#include "framework/engine/FNEngine.h"
#include "widgets/controls/FNListView.h"
#include "widgets/modal/FNFileDialog.h"
#include "widgets/modal/FNFileDialogWindow.h"
#include "widgets/modal/FNMessageBox.h"

#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

// One thing the user does, or waits to see, once the dialog is up; false:
// not yet (tried again on the next step).
using FileDialogAction = std::function<bool(FNFileDialogWindow&)>;
using FileDialogScript = std::vector<FileDialogAction>;

// The actions run one after another, a few steps apart. A dialog still up
// far longer than any working backend needs is ended and marked stuck.
class ScriptedFileDialog : public FNFileDialog {
public:
    static constexpr int kFrameLimit = 20000; // steps of 1 ms and more

    ScriptedFileDialog(std::initializer_list<FileDialogScript> parts)
        : ScriptedFileDialog(std::vector<FileDialogScript>(parts))
    {
    }
    explicit ScriptedFileDialog(const std::vector<FileDialogScript>& parts)
    {
        for (const FileDialogScript& part : parts)
            actions.insert(actions.end(), part.begin(), part.end());
    }
    void OnDialogFrame(FNFileDialogWindow& w) override
    {
        if (++frames > kFrameLimit) {
            stuck = true;
            w.Question() ? w.Question()->EndModal() : w.EndModal();
            return;
        }
        if (frames >= 3 && --pause <= 0 && done < actions.size() && actions[done](w)) {
            ++done;
            pause = 6;
        }
        // An engine step that finds nothing to do waits for input, and the
        // script counts steps and waits for states it did not cause by input
        // (a folder read, a list refilled): a step that draws is never idle,
        // so the list is drawn again while the script runs.
        if (done < actions.size())
            w.List()->Redraw();
        // What the step and the action asked of the window system is done
        // before the next step samples input.
        FNEngine::Current()->Synchronise();
    }
    bool Finished() const { return !stuck && done == actions.size(); }

    FileDialogScript actions;
    size_t done = 0;
    int frames = 0;
    int pause = 0;
    bool stuck = false;
};

// The editor's file types in its order: all five when opening, the first
// four when saving; `index` is preselected (counting from 1).
inline void AddFilters(FNFileDialog& dialog, int count, int index)
{
    const std::pair<const char*, const char*> types[] = { { "ビットマップ", "bmp" }, { "JPEG", "jpg" },
        { "PNG", "png" }, { "TARGA", "tga" }, { "すべてのファイル形式", "*" } };
    for (int i = 0; i < count; ++i)
        dialog.AddFilter(types[i].first, types[i].second);
    dialog.filterIndex = index;
}
