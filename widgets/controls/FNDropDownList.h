#pragma once

#include "framework/core/FNRect.h"
#include "widgets/base/FNWidget.h"
#include "widgets/controls/FNSelector.h"
#include "widgets/looks/FNLook.h"

#include <memory>
#include <vector>

class FN2DItem;
class FN2DScene;
class FN2DStage;
class FNEventConnector;
class FNVScroll;
struct FNEventState;

// FNDropDownList: a closed box showing the chosen entry; a click opens the
// entries in a list window under the box (above it when the work area ends
// below), at most ten rows at a time, the rest reached with the scroll bar
// along the list's right edge or the wheel.
//
//   box: enter / leave      highlighted / normal face
//   box: left up            opens the list (closes it when open)
//   list: click on a row    the row's text becomes the box's text, then
//                           SelectionChosen (27); the list closes
//   list: Up, Down          move the mark; Return chooses it; Escape closes
//   list: wheel             scrolls by a row
//   a click anywhere else, or the focus leaving, closes the list
//   SelectByText (placed)   marks the first entry with that text, takes its
//                           text and raises SelectionSet (26)
//
// The box always sits at (10, 320), 95 x 20; its right 18 pixels are the
// arrow area. Thread: the application thread.
class FNDropDownList : public FNWidget {
public:
    static constexpr int kX = 10;
    static constexpr int kY = 320;
    static constexpr int kWidth = 95;
    static constexpr int kHeight = 20;
    static constexpr int kArrowArea = 18;
    static constexpr int kVisibleRows = 10;
    static constexpr int kScrollBarWidth = 16;

    FNDropDownList();
    ~FNDropDownList() override;

    void AddEntry(const FNString& text);
    void SelectByText(const FNString& text);
    const std::vector<std::unique_ptr<FNSelector>>& Entries() const { return m_entries; }
    const FNSelectorGroup& Group() const { return m_group; }
    bool IsOpen() const { return m_popup != nullptr; }
    // The open list's window, or null.
    FN2DStage* Popup() const { return m_popup.get(); }
    // The first entry row shown at the top of the open list.
    int FirstShownRow() const { return m_firstRow; }

    void Repaint() override;
    void OnResized(int w, int h) override;
    void OnDetach() override;

    void Open();
    void Close();
    // Closes the list and gives the keyboard back to the box's window.
    void CloseToBox();

    void OnBoxEnter(FNEventState event);
    void OnBoxLeave(FNEventState event);
    void OnBoxRelease(FNEventState event);
    void OnEntryRelease(FNEventState event);
    void OnListKey(FNEventState event);
    void OnListWheel(FNEventState event);
    void OnFocusLeft(FNEventState event);
    void OnScrolled(FNEventState event);

protected:
    void OnItemCreated() override;

private:
    void TakeText(const FNString& text);
    void PlaceText();
    void Choose(FNSelector* entry);
    void ScrollTo(int firstRow);
    void ShowBox(bool highlighted);
    // Where the list opens, on the screen.
    FNRect PopupRect() const;
    bool FocusIsInPopup() const;
    int IndexOf(const FNSelector* entry) const;

    FNLook m_boxLook;
    FNLook m_boxHighlightLook;
    FNLook m_listLook;
    std::unique_ptr<FNImage> m_box;
    std::unique_ptr<FNImage> m_boxHighlight;
    std::unique_ptr<FNImage> m_list;
    FNSelectorGroup m_group;
    std::vector<std::unique_ptr<FNSelector>> m_entries;
    std::unique_ptr<FNEventConnector> m_boxConnector;

    // The open list: a window with the list face and, one pixel inside, a
    // clipping item holding the entry rows.
    std::unique_ptr<FN2DScene> m_popupScene;
    std::unique_ptr<FN2DStage> m_popup;
    std::unique_ptr<FN2DItem> m_listFace;
    std::unique_ptr<FN2DItem> m_rows;
    std::unique_ptr<FNVScroll> m_bar; // with more than ten entries
    std::vector<std::unique_ptr<FNEventConnector>> m_popupConnectors;
    int m_firstRow = 0;
    // A press on the box closed the open list: its release must not open it
    // again.
    bool m_closedByBoxPress = false;
};
