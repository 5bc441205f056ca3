#pragma once

#include "widgets/base/FNWidget.h"
#include "widgets/controls/FNSelector.h"
#include "widgets/looks/FNLook.h"

#include <memory>
#include <vector>

class FNEventConnector;
class FNTextBox;
class FNVScroll;
struct FNEventState;

// FNListView: rows of text with a vertical scroll bar. It always sits at
// x = 10 and is 480 wide (SetRect may change that afterwards); its last row
// is the placeholder "[新しい項目を追加]" unless the owner turns it off.
//
//   click on a row           selects it; SelectionSet (26)
//   double click / Return    chooses the selected row; SelectionChosen (27)
//   Up, Down, Home, End      move the selection (and scroll it into view)
//   wheel, scroll bar        scroll by rows
//   double click on the      a text box in its place: Return adds the typed
//   placeholder              text as a new row before it, Escape or the
//                            focus leaving drops it
class FNListView : public FNWidget {
public:
    static constexpr int kX = 10;
    static constexpr int kWidth = 480;
    static constexpr int kRowHeight = 18;
    static constexpr int kScrollBarWidth = 16;

    FNListView(int y, int height);
    ~FNListView() override;

    void AddRow(const FNString& text);
    void SetRows(const std::vector<FNString>& rows);
    void Clear();
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    FNString Row(int index) const;
    // The selected row, or -1.
    int Selected() const;
    void Select(int index);
    void SetPlaceholderShown(bool shown);
    bool IsEditing() const { return m_editor != nullptr; }
    int FirstShownRow() const { return m_firstRow; }
    int VisibleRows() const;
    void ScrollTo(int firstRow);

    void Repaint() override;
    void OnResized(int w, int h) override;

    void OnPress(FNEventState event);
    void OnDoubleClick(FNEventState event);
    void OnKey(FNEventState event);
    void OnWheel(FNEventState event);
    void OnScrolled(FNEventState event);
    void OnEditorKey(FNEventState event);
    void OnEditorFocusOut(FNEventState event);

    static const char* PlaceholderText() { return "[新しい項目を追加]"; }

protected:
    void OnItemCreated() override;

private:
    // Rows on the screen, the placeholder last; the scroll bar's range.
    void Rebuild();
    void Layout();
    int IndexOfItem(const FN2DItemBase* item) const;
    void StartEditing();
    void StopEditing(bool keep);
    int ShownCount() const { return RowCount() + (m_placeholderShown ? 1 : 0); }

    FNLook m_look;
    std::unique_ptr<FNImage> m_face;
    FNSelectorGroup m_group;
    std::vector<FNString> m_rows;
    std::vector<std::unique_ptr<FNSelector>> m_rowWidgets; // the rows shown, the placeholder last
    std::unique_ptr<FNVScroll> m_bar;
    std::unique_ptr<FNTextBox> m_editor;
    std::unique_ptr<FNEventConnector> m_connector;
    std::unique_ptr<FNEventConnector> m_barConnector;
    std::unique_ptr<FNEventConnector> m_editorConnector;
    bool m_placeholderShown = true;
    int m_firstRow = 0;
};
