#include "widgets/base/FNWidget.h"

#include "framework/events/FNEventConnector.h"
#include "framework/scene/FN2DItem.h"
#include "framework/scene/FN2DScene.h"

#include <algorithm>

namespace {

constexpr int kWidgetDepth = 1000;

// Where connectors bound to a widget find its item.
FN2DItemBase* itemOfWidget(FNWidget* widget)
{
    return widget ? widget->Item() : nullptr;
}

} // namespace

FNWidget::FNWidget(int newX, int newY, int newWidth, int newHeight)
    : x(newX)
    , y(newY)
    , width(newWidth)
    , height(newHeight)
{
    FN_SET_CLASS_NAME(FNWidget);
    FNEventConnector::SetWidgetItemLookup(&itemOfWidget);
}

FNWidget::~FNWidget()
{
    if (parentWidget)
        parentWidget->children.erase(std::remove(parentWidget->children.begin(), parentWidget->children.end(), this),
            parentWidget->children.end());
    for (FNWidget* child : children)
        child->parentWidget = nullptr;
    children.clear();
    delete item;
    item = nullptr;
}

// ---- Realisation ----------------------------------------------------------------

FN2DItem* FNWidget::Realise()
{
    if (item)
        return item;
    item = new FN2DItem(width, height, x, y, kWidgetDepth);
    item->ownerWidget = this;
    state = 4;
    item->SetPicture(picture);
    item->Invalidate(true);
    item->SetText(text);
    if (stringStyle)
        item->SetTextStyle(stringStyle);
    item->SetEnabled(enabled);
    item->passEventsToParent = passToParent;
    item->clipChildren = true;
    OnItemCreated();
    OnEnabledChanged(enabled);
    Repaint();
    item->Invalidate(true);
    return item;
}

void FNWidget::AddChild(FNWidget* child, bool show)
{
    if (!item || !child || child == this)
        return;
    FN2DItem* childItem = child->Realise();
    if (childItem->parent || childItem->scene)
        return;
    item->AddChild(childItem, show);
    child->parentWidget = this;
    children.push_back(child);
    // A child placed under a disabled parent is disabled with it.
    if (!IsEnabled())
        child->SetEnabled(child->enabled);
}

void FNWidget::RemoveChild(FNWidget* child)
{
    auto found = std::find(children.begin(), children.end(), child);
    if (found == children.end())
        return;
    child->OnDetach();
    if (item && child->item)
        item->RemoveChild(child->item);
    child->parentWidget = nullptr;
    children.erase(found);
}

void FNWidget::PlaceIn(FN2DScene* scene)
{
    if (scene)
        scene->AddItem(Realise());
}

void FNWidget::PlaceIn(FN2DItemBase* parentItem, bool show)
{
    if (parentItem)
        parentItem->AddChild(Realise(), show);
}

// ---- Slots ------------------------------------------------------------------------

void FNWidget::RequestFocus()
{
    if (item)
        item->RequestFocus();
}

void FNWidget::SetEnabled(bool flag)
{
    enabled = flag;
    if (!item)
        return;
    item->SetEnabled(flag);
    OnEnabledChanged(IsEnabled());
    for (FNWidget* child : children)
        child->SetEnabled(child->enabled);
}

void FNWidget::MoveBy(int dx, int dy)
{
    if (item)
        item->MoveBy(dx, dy);
    else
        x += dx, y += dy;
}

void FNWidget::MoveTo(int newX, int newY)
{
    if (item)
        item->MoveTo(newX, newY);
    else
        x = newX, y = newY;
}

void FNWidget::SetRect(int newX, int newY, int w, int h)
{
    if (!item) {
        x = newX, y = newY, width = w, height = h;
        return;
    }
    item->SetRect(newX, newY, w, h);
    OnResized(w, h);
    Redraw();
}

void FNWidget::Resize(int w, int h)
{
    SetRect(X(), Y(), w, h);
}

// ---- Showing --------------------------------------------------------------------

void FNWidget::Show()
{
    OnShow();
    if (!item)
        return;
    item->visible = true;
    Redraw();
}

void FNWidget::Hide()
{
    OnHide();
    if (!item)
        return;
    Redraw();
    item->visible = false;
}

void FNWidget::Redraw()
{
    if (!item)
        return;
    item->Invalidate(true);
    for (FNWidget* child : children)
        child->Redraw();
}

void FNWidget::SetText(const FNString& newText)
{
    text = newText;
    if (item)
        item->SetText(newText);
}

FNString FNWidget::GetText() const
{
    return item ? item->text : text;
}

void FNWidget::SetStringStyle(FNStringStyle* style)
{
    stringStyle = style;
    if (item)
        item->SetTextStyle(style);
}

void FNWidget::SetPicture(FNImage* newPicture)
{
    picture = newPicture;
    if (item)
        item->SetPicture(newPicture);
}

// ---- State --------------------------------------------------------------------------

bool FNWidget::IsOnStage() const
{
    return item && item->StageOf() != nullptr;
}

bool FNWidget::IsEnabled() const
{
    return item ? item->IsEnabled() : enabled;
}

int FNWidget::X() const
{
    return item ? static_cast<int>(item->x) : x;
}

int FNWidget::Y() const
{
    return item ? static_cast<int>(item->y) : y;
}

int FNWidget::Width() const
{
    return item ? static_cast<int>(item->width) : width;
}

int FNWidget::Height() const
{
    return item ? static_cast<int>(item->height) : height;
}

bool FNWidget::ContainsLocal(double localX, double localY) const
{
    return localX >= 0 && localY >= 0 && localX < Width() && localY < Height();
}
