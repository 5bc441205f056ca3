#pragma once

#include "framework/core/FNGUICoreObject.h"
#include "imaging/FNString.h"

#include <vector>

class FN2DItem;
class FN2DItemBase;
class FN2DScene;
class FNImage;
class FNStringStyle;

// FNWidget: the base of every control. A widget is a rectangle until it is
// placed; placing it (on a scene, under an item such as a window's root item,
// or under a placed parent widget) creates its one scene item, which shows
// the widget's picture and text from then on and receives its events.
//
//   state     0 until the item exists, 4 afterwards
//   geometry  x, y, width, height are used until the item exists; afterwards
//             the item's values count and X(), Y(), Width(), Height() read
//             them back
//   tree      a child's item is a child of its parent's item; disabling a
//             widget disables its children
//
// Subclasses paint their faces with looks (widgets/looks) into pictures of
// their own and hand the one for their state to the item. The item is made
// at depth 1000, clips its children and passes events to its parent when the
// widget says so.
//
// Ownership: the widget owns its item; it does not own its children (whoever
// made a widget deletes it; deleting a parent first detaches nothing else).
// Connectors bound to a widget before it is placed wait and bind to its item
// once it exists. Thread: the application thread.
class FNWidget : public FNGUICoreObject {
public:
    FNWidget(int x, int y, int width, int height);
    ~FNWidget() override;

    FNWidget(const FNWidget&) = delete;
    FNWidget& operator=(const FNWidget&) = delete;

    // ---- Operations subclasses may change -----------------------------------
    virtual void RequestFocus();
    // Before the item exists the flag is only stored; afterwards the item
    // takes it, OnEnabledChanged hears the effective state (own flag and every
    // ancestor item's) and every child widget gets the flag too.
    virtual void SetEnabled(bool flag);
    virtual void MoveBy(int dx, int dy);
    virtual void MoveTo(int x, int y);
    // With the item: moves and sizes it, tells OnResized and redraws the
    // tree; without: stores the four values for the item to come.
    virtual void SetRect(int x, int y, int w, int h);
    virtual void Resize(int w, int h);
    // Paints the faces and hands the shown one to the item (nothing here).
    virtual void Repaint() { }
    virtual void OnDetach() { }
    virtual void OnShow() { }
    virtual void OnHide() { }
    virtual void OnResized(int /*w*/, int /*h*/) { }
    virtual void OnEnabledChanged(bool /*enabled*/) { }

    // ---- Tree and placement ------------------------------------------------
    // Only when this widget's item exists: the child's item is made if need
    // be and added under this item, visible when `show`.
    void AddChild(FNWidget* child, bool show = true);
    void RemoveChild(FNWidget* child);
    // Places the widget's item as a top-level item of a scene, or under an
    // item (a window's root item, an item of the application's own).
    void PlaceIn(FN2DScene* scene);
    void PlaceIn(FN2DItemBase* parentItem, bool show = true);
    void Show();
    void Hide();
    // Invalidates the item and its whole subtree.
    void Redraw();

    void SetText(const FNString& newText);
    FNString GetText() const;
    // The style the item renders the text with (not owned; null: default).
    void SetStringStyle(FNStringStyle* style);
    // The picture the item shows (not owned).
    void SetPicture(FNImage* newPicture);

    // ---- State -----------------------------------------------------------------
    FN2DItem* Item() const { return item; }
    bool HasItem() const { return item != nullptr; }
    // The item exists and lies in a scene shown by a stage.
    bool IsOnStage() const;
    bool IsEnabled() const;
    // Whether a point in the widget's own coordinates (an event's local
    // position) lies on it: a release away from a button is no click.
    bool ContainsLocal(double localX, double localY) const;
    int X() const;
    int Y() const;
    int Width() const;
    int Height() const;
    FNWidget* ParentWidget() const { return parentWidget; }
    const std::vector<FNWidget*>& Children() const { return children; }

    int x = 0, y = 0, width = 0, height = 0;
    FNImage* picture = nullptr;
    FNString text;
    FNStringStyle* stringStyle = nullptr;
    bool enabled = true;
    bool passToParent = false;
    int state = 0;

protected:
    // Makes the item when it does not exist yet (see the class comment).
    FN2DItem* Realise();
    // Called once the item exists, before the first repaint: subclasses make
    // their connectors on the item here.
    virtual void OnItemCreated() { }

    FN2DItem* item = nullptr;
    FNWidget* parentWidget = nullptr;
    std::vector<FNWidget*> children;
};
