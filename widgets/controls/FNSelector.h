#pragma once

#include "widgets/controls/FNLabel.h"
#include "widgets/looks/FNLook.h"

#include <memory>
#include <vector>

class FNEventConnector;
class FNSelectorGroup;
struct FNEventState;

// FNSelector: one choice of a group (a drop-down entry, a menu title or
// item). Its text is always shown; behind it the selected one shows the
// selection mark, an unselected one under the pointer a lighter highlight.
//
//   left down    the group selects it (the previous one loses its mark)
//   enter        unselected: the highlight
//   leave        unselected: nothing behind the text
class FNSelector : public FNTransParentLabel {
public:
    FNSelector(int x, int y, int w, int h, const FNString& text, FNSelectorGroup* group);
    ~FNSelector() override;

    void Repaint() override;
    void OnResized(int w, int h) override;

    bool IsSelected() const { return m_selected; }
    FNSelectorGroup* Group() const { return m_group; }
    // Where the text image sits in the selector (default: 4 pixels in,
    // centred vertically).
    void SetTextOffset(int x, int y);

    void OnPress(FNEventState event);
    void OnEnter(FNEventState event);
    void OnLeave(FNEventState event);

    // The mark's opacity: 255 while selected, 174 after losing the mark.
    int markAlpha = 255;

protected:
    void OnItemCreated() override;

private:
    friend class FNSelectorGroup;
    void SetSelected(bool selected);
    void ShowBehind(FNImage* picture);
    void PlaceText();

    FNSelectorGroup* m_group;
    bool m_selected = false;
    FNLook m_markLook;
    FNLook m_highlightLook;
    std::unique_ptr<FNImage> m_mark;
    std::unique_ptr<FNImage> m_highlight;
    std::unique_ptr<FNEventConnector> m_connector;
    int m_textX = 4;
    int m_textY = -1; // -1: centred vertically
};

// FNSelectorGroup: the selectors of which at most one is selected.
class FNSelectorGroup : public FNGUICoreObject {
public:
    FNSelectorGroup();
    ~FNSelectorGroup() override;

    void Add(FNSelector* selector);
    void Remove(FNSelector* selector);
    // The previous selection loses its mark; null selects none.
    void Select(FNSelector* selector);
    FNSelector* Selected() const { return m_selected; }
    // The selected selector's text, or empty.
    FNString Text() const;
    const std::vector<FNSelector*>& Selectors() const { return m_selectors; }

private:
    std::vector<FNSelector*> m_selectors;
    FNSelector* m_selected = nullptr;
};
