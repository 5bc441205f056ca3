#pragma once

#include "framework/platform/FNPlatform.h"
#include "framework/window/FNExWindowMenuBar.h"
#include "widgets/controls/FNSelector.h"
#include "widgets/menu/FNWindowMenu.h"

#include <memory>
#include <vector>

class FN2DItemBase;
class FN2DScene;
class FNEventConnector;
class FNExWindow;
class FNMenuFace;
class FNMenuPanel;
class FNStageBase;
class FNStringStyle;
struct FNEventState;

// FNMenuBar: the menu bar FNExWindow::SetMenu() puts on a window's frame:
// one selector per column title on a bar between the title bar and the
// client, and per column a panel (FNMenuPanel) that pops up below its title.
//
//   title gains the focus (a click)     its panel opens, any other closes
//   pointer enters another title        while a panel is open: that one opens
//   press on the title of the open one  it closes (unless the pointer opened
//                                       it on its way to this press)
//   click on a choosable row, Return    the panel closes, MenuCommand (25)
//                                       with the item's id is queued on the
//                                       window, and the window is activated
//   focus goes anywhere else            the panel closes
//   Up / Down                           the previous / next choosable row
//   Left / Right                        the panel of the previous / next column
//   Escape                              the panel closes, the window is active
//
// The open column is the copied menu's openColumn. Keys are heard on the
// frame and on the panels, whichever has the focus (a disabled row never
// takes it from them). Thread: the application thread.
class FNMenuBar : public FNExWindowMenuBar {
public:
    FNMenuBar(FNExWindow& window, FN2DScene& frameScene, FNStringStyle* titleStyle, const FNWindowMenu& menu);
    ~FNMenuBar() override;

    FNMenuBar(const FNMenuBar&) = delete;
    FNMenuBar& operator=(const FNMenuBar&) = delete;

    int Height() const override;
    void Place(int x, int y, int width) override;
    void CloseMenus() override;

    // Opens the column's panel below its title (closing any other); with
    // `firstRow` its first choosable row becomes the current one.
    void OpenColumn(int column, bool firstRow = false);
    int OpenColumnIndex() const { return m_menu.openColumn; }
    const FNWindowMenu& Menu() const { return m_menu; }
    FNSelector* Title(size_t column) const { return m_titles[column].get(); }
    FNMenuPanel* Panel(size_t column) const { return m_panels[column].get(); }

    void OnTitlePress(FNEventState event);
    void OnTitleEnter(FNEventState event);
    void OnTitleFocusIn(FNEventState event);
    void OnTitleFocusOut(FNEventState event);
    void OnPanelFocusOut(FNEventState event);
    void OnKey(FNEventState event);

private:
    void BuildTitles(FNStringStyle* titleStyle);
    void Connect(FN2DItemBase* item, std::initializer_list<std::pair<int, void (FNMenuBar::*)(FNEventState)>> list);
    void Choose(int column, int row);
    void CloseAndActivate();
    void CloseUnlessFocusStays();
    FNPlatformRect WorkArea() const;
    bool IsMenuPart(const FNStageBase* stage, const FN2DItemBase* item) const;
    int ColumnOfTitle(const FN2DItemBase* item) const;

    FNExWindow& m_window;
    FN2DScene& m_frameScene;
    FNWindowMenu m_menu;
    std::unique_ptr<FNStringStyle> m_disabledStyle;
    std::unique_ptr<FNMenuFace> m_face;
    std::unique_ptr<FNSelectorGroup> m_titleGroup;
    std::vector<std::unique_ptr<FNSelector>> m_titles;
    std::vector<std::unique_ptr<FNMenuPanel>> m_panels;
    std::vector<std::unique_ptr<FNEventConnector>> m_connectors;
    // The column whose panel a press on its title closed; the focus that the
    // same press gives the title must not open it again.
    int m_closedByPress = -1;
    // The column the pointer opened by entering its title, until a press.
    int m_openedByHover = -1;
};
