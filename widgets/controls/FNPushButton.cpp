#include "widgets/controls/FNPushButton.h"

#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/scene/FN2DItem.h"
#include "widgets/looks/FNLooks.h"

#include <utility>

FNPushButton::FNPushButton(int x, int y, int w, int h, const FNString& newText)
    : FNPushButton(x, y, w, h, newText, { &FNFaceLook, &FNHoverFaceLook, &FNPressedFaceLook })
{
}

FNPushButton::FNPushButton(int x, int y, int w, int h, const FNString& newText, std::vector<FNLookFunc> faces)
    : FNTransParentLabel(x, y, w, h, newText)
    , m_faces(std::move(faces))
{
    FN_SET_CLASS_NAME(FNPushButton);
}

FNPushButton::~FNPushButton()
{
    m_connector.reset();
    if (item)
        item->SetPicture(nullptr);
}

void FNPushButton::OnItemCreated()
{
    m_connector = std::make_unique<FNEventConnector>(item);
    m_connector->Connect(FNEvent::MouseEnter, &FNPushButton::OnEnter, this);
    m_connector->Connect(FNEvent::MouseLeave, &FNPushButton::OnLeave, this);
    m_connector->Connect(FNEvent::LeftDown, &FNPushButton::OnPress, this);
    m_connector->Connect(FNEvent::LeftUp, &FNPushButton::OnRelease, this);
}

void FNPushButton::Repaint()
{
    m_faces.Paint(Width(), Height(), IsEnabled());
    FNPlaceButtonText(item, false);
    ShowFace(Normal);
}

void FNPushButton::OnResized(int, int)
{
    Repaint();
}

void FNPushButton::OnEnabledChanged(bool)
{
    Repaint();
}

void FNPushButton::ShowFace(Face face)
{
    m_shown = face;
    SetPicture(m_faces.Face(face));
    Redraw();
}

void FNPushButton::OnEnter(FNEventState)
{
    ShowFace(Hover);
}

void FNPushButton::OnLeave(FNEventState)
{
    ShowFace(Normal);
}

void FNPushButton::OnPress(FNEventState)
{
    ShowFace(Pressed);
    FNPlaceButtonText(item, true);
}

void FNPushButton::OnRelease(FNEventState event)
{
    const bool inside = event.localX >= 0 && event.localX < Width() && event.localY >= 0 && event.localY < Height();
    ShowFace(inside ? Hover : Normal);
    FNPlaceButtonText(item, false);
}
