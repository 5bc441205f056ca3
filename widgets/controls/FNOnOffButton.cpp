#include "widgets/controls/FNOnOffButton.h"

#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/scene/FN2DItem.h"
#include "widgets/looks/FNLooks.h"

FNOnOffButton::FNOnOffButton(int x, int y, int w, int h, const FNString& newText)
    : FNTransParentLabel(x, y, w, h, newText)
    , m_faces({ &FNFaceLook, &FNOnFaceLook, &FNHoverFaceLook, &FNPressedFaceLook })
{
    FN_SET_CLASS_NAME(FNOnOffButton);
}

FNOnOffButton::~FNOnOffButton()
{
    m_connector.reset();
    if (item)
        item->SetPicture(nullptr);
}

void FNOnOffButton::OnItemCreated()
{
    m_connector = std::make_unique<FNEventConnector>(item);
    m_connector->Connect(FNEvent::MouseEnter, &FNOnOffButton::OnEnter, this);
    m_connector->Connect(FNEvent::MouseLeave, &FNOnOffButton::OnLeave, this);
    m_connector->Connect(FNEvent::LeftDown, &FNOnOffButton::OnPress, this);
    m_connector->Connect(FNEvent::LeftUp, &FNOnOffButton::OnRelease, this);
}

void FNOnOffButton::Repaint()
{
    m_faces.Paint(Width(), Height(), IsEnabled());
    FNPlaceButtonText(item, false);
    ShowFace(on ? On : Normal);
}

void FNOnOffButton::OnResized(int, int)
{
    Repaint();
}

void FNOnOffButton::OnEnabledChanged(bool)
{
    Repaint();
}

void FNOnOffButton::ShowFace(Face face)
{
    m_shown = face;
    SetPicture(m_faces.Face(face));
    Redraw();
}

void FNOnOffButton::OnEnter(FNEventState)
{
    ShowFace(on ? On : Hover);
}

void FNOnOffButton::OnLeave(FNEventState)
{
    ShowFace(on ? On : Normal);
}

void FNOnOffButton::OnPress(FNEventState)
{
    on = !on;
    ShowFace(Pressed);
    FNPlaceButtonText(item, true);
}

void FNOnOffButton::OnRelease(FNEventState)
{
    ShowFace(on ? On : Normal);
    FNPlaceButtonText(item, false);
}
