#pragma once

#include "widgets/controls/FNSelector.h"
#include "widgets/menu/FNWindowMenu.h"

#include <functional>
#include <memory>
#include <vector>

class FN2DItem;
class FN2DItemBase;
class FN2DScene;
class FN2DStage;
class FNEventConnector;
class FNMenuFace;
class FNStageBase;
class FNStringStyle;
class FNWidget;
struct FNEventState;

// FNMenuPanel: the pop-up of one menu column, a top-level stage of its own
// kept above the window's frame. One row per item (FNMenuGeometry.h): an
// FNSelector for an item that can be chosen, the text alone, drawn lighter,
// for a disabled item, and an etched line for a separator. The current row
// carries the selection mark; the pointer and the keys move it.
//
//   pointer enters a choosable row    it becomes the current row
//   left up inside a choosable row    onChoose(row)
//   separators, disabled rows         take presses, never choose
//
// Every row passes its events on to the panel's body, so whoever watches
// BodyItem() hears the focus leave any part of the panel. Built once from a
// copy of its column; opened and closed as often as the menu wants.
// Thread: the application thread.
class FNMenuPanel {
public:
    FNMenuPanel(const FNWindowMenuColumn& column, FNStringStyle* style, FNStringStyle* disabledStyle);
    ~FNMenuPanel();

    FNMenuPanel(const FNMenuPanel&) = delete;
    FNMenuPanel& operator=(const FNMenuPanel&) = delete;

    // Opens the panel's window with its top-left corner at the screen point,
    // owned by `owner` and on its engine, with no current row.
    void Open(int screenX, int screenY, FNStageBase* owner);
    void Close();
    bool IsOpen() const;

    int CurrentRow() const { return m_current; }
    // Marks the row, which must be choosable (-1 or any other clears).
    void SetCurrentRow(int row);
    // Moves the mark to the next choosable row up (-1) or down (+1).
    void StepCurrentRow(int step);

    int RowWidth() const { return m_rowWidth; }
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    FN2DStage* Stage() const { return m_stage.get(); }
    FN2DItem* BodyItem() const;
    // The widget of a row: selector, lighter text or separator line.
    FNWidget* Row(size_t row) const { return m_rows[row].get(); }

    // Called with the row the user clicked.
    std::function<void(int row)> onChoose;

    void OnRowEnter(FNEventState event);
    void OnRowRelease(FNEventState event);

private:
    void Build(FNStringStyle* style, FNStringStyle* disabledStyle);
    FNWidget* MakeRow(size_t row, FNStringStyle* style, FNStringStyle* disabledStyle);
    static void PlaceLabelText(FN2DItem* row);
    int RowOf(const FN2DItemBase* item) const;

    FNWindowMenuColumn m_column;
    int m_rowWidth = 0;
    int m_current = -1;
    std::unique_ptr<FN2DScene> m_scene;
    std::unique_ptr<FN2DStage> m_stage;
    std::unique_ptr<FNMenuFace> m_body;
    std::unique_ptr<FNWidget> m_list;
    std::vector<std::unique_ptr<FNWidget>> m_rows;
    std::vector<FNSelector*> m_selectors; // per row; null where nothing can be chosen
    std::unique_ptr<FNSelectorGroup> m_group;
    std::vector<std::unique_ptr<FNEventConnector>> m_connectors;
};
