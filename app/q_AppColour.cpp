// q_App's part placement: the colour sliders (a live preview while one is
// dragged, composed at release), the compose mode, the compose itself and
// the application's side of a transform-box drag.
#include "app/q_App.h"

#include "app/canvas/q_Canvas.h"
#include "app/canvas/q_ItemVisibility.h"
#include "app/canvas/q_TransformBox.h"
#include "app/colour/q_ColourSliders.h"
#include "app/pictures/ColourAdjust.h"
#include "app/pictures/Compose.h"
#include "framework/events/FNEventState.h"
#include "framework/platform/FNPlatform.h"
#include "framework/scene/FN2DItem.h"
#include "framework/window/FNExWindow.h"
#include "imaging/FNImage.h"
#include "widgets/controls/FNDropDownList.h"

#include <ostream>
#include <sstream>

void q_App::Readjust()
{
    m_adjustedColour[0] = m_hue->Value();
    m_adjustedColour[1] = m_saturation->Value();
    m_adjustedColour[2] = m_value->Value();
    q_AdjustColour(*m_loadedPart, *m_adjustedPart, m_adjustedColour[0], m_adjustedColour[1], m_adjustedColour[2]);
}

void q_App::ApplyBoxToPart()
{
    m_box->ApplyToPart(
        *m_partItem, m_canvas->PictureItem(), m_canvas->Zoom(), m_loadedPart->width, m_loadedPart->height);
}

// The part's centre is its item position plus half the loaded size, its
// on-screen size the loaded size times its scale and the zoom.
void q_App::FitBoxToPart()
{
    if (!HasPart())
        return;
    const double w = m_loadedPart->width * m_partItem->scaleX, h = m_loadedPart->height * m_partItem->scaleY;
    const double centreX = m_partItem->x + m_loadedPart->width / 2.0;
    const double centreY = m_partItem->y + m_loadedPart->height / 2.0;
    m_box->SetFromPictureRect(m_canvas->PictureItem(), m_canvas->Zoom(), centreX - w / 2, centreY - h / 2, w, h);
    m_box->SetAngle(m_partItem->rotation);
}

void q_App::SetWaitCursor(bool waiting)
{
    m_mainWindow->SetCursor(waiting ? FNCursorWait : FNCursorArrow);
}

// The part as it floats is pasted (mode 0) or blended (mode 1) into a copy
// of the canvas, which the canvas then shows in place of the floating part.
void q_App::Compose()
{
    if (!HasPart())
        return;
    SetWaitCursor(true);
    q_Placement placement;
    placement.partX = m_partItem->x;
    placement.partY = m_partItem->y;
    placement.scaleX = m_partItem->scaleX;
    placement.scaleY = m_partItem->scaleY;
    placement.boxWidth = m_box->width;
    placement.boxHeight = m_box->height;
    placement.angle = m_box->Angle();
    placement.zoom = m_canvas->Zoom();
    placement.loadedWidth = m_loadedPart->width;
    placement.loadedHeight = m_loadedPart->height;
    LogPlacement(placement);
    const q_ComposeResult result = q_Compose(*m_base, *m_adjustedPart, placement, m_composeMode, *m_composed, *m_log);
    if (result.outcome != q_ComposeOutcome::NoMode) {
        m_canvas->ShowPicture(m_composed);
        m_canvas->PictureItem().Invalidate(true);
        q_HideItem(*m_partItem);
    }
    SetWaitCursor(false);
}

// Each compose says where the part goes, in the compose tool's own options
// and with every digit, so that the tool can redo it exactly:
//   Compose : --at X,Y --scale SX,SY --box W,H --angle A --hue H ...
void q_App::LogPlacement(const q_Placement& placement)
{
    std::ostringstream line;
    line.precision(17);
    line << "Compose : --at " << placement.partX << ',' << placement.partY << " --scale " << placement.scaleX << ','
         << placement.scaleY << " --box " << placement.boxWidth / placement.zoom << ','
         << placement.boxHeight / placement.zoom << " --angle " << placement.angle << " --hue " << m_hue->Value()
         << " --saturation " << m_saturation->Value() << " --value " << m_value->Value() << " --mode "
         << (m_composeMode == 1 ? "smart" : "normal");
    *m_log << line.str() << std::endl;
}

// ---- Colour sliders -------------------------------------------------------------------

void q_App::OnColourPress(FNEventState)
{
    BeginInfoStep();
    q_ShowItem(*m_box);
    m_partState = PartPlaced;
    ShowPlacedPart();
    HideCutOverlay();
    SetTool(MoveTransform);
}

// While a slider moves, the recoloured part floats over the plain canvas.
// Loading a part and undo and redo set the sliders too, and recolour the
// part themselves; their changes arrive later, when the part may already be
// composed, and must not take the composed picture off the canvas again.
void q_App::OnColourChange(FNEventState)
{
    if (m_hue->Value() == m_adjustedColour[0] && m_saturation->Value() == m_adjustedColour[1]
        && m_value->Value() == m_adjustedColour[2])
        return;
    m_canvas->ShowPicture(m_base);
    q_ShowItem(*m_partItem);
    Readjust();
    m_partItem->Invalidate(true);
}

void q_App::OnColourRelease(FNEventState)
{
    Compose();
    CommitInfoStep();
}

void q_App::OnComposeChoice(FNEventState)
{
    const FNString chosen = m_composeList->GetText();
    int mode;
    if (chosen == "通常合成")
        mode = 0;
    else if (chosen == "Smart合成")
        mode = 1;
    else
        return;
    BeginInfoStep();
    m_composeMode = mode;
    CommitInfoStep();
    Compose();
}

// ---- Transform-box drags ---------------------------------------------------------------
// The part follows the box live; one step per drag, composed at release.

void q_App::OnBoxPress(FNEventState)
{
    if (m_pressing || !HasPart() || m_canvas->NavigationMode() != q_Canvas::None)
        return;
    m_pressing = true;
    m_canvas->ShowPicture(m_base);
    q_ShowItem(*m_partItem);
    BeginInfoStep();
    ApplyBoxToPart();
}

void q_App::OnBoxMove(FNEventState)
{
    if (m_pressing && HasPart())
        ApplyBoxToPart();
}

void q_App::OnBoxRelease(FNEventState)
{
    if (!m_pressing || !HasPart())
        return;
    ApplyBoxToPart();
    CommitInfoStep();
    m_pressing = false;
    Compose();
}
