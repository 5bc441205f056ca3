// q_App's cut-out tool: the pen, eraser and fill on the cut overlay, the
// optimise button and the cut itself. Every press on the overlay, every
// optimise and every cut is one history step.
#include "app/q_App.h"

#include "app/canvas/q_Canvas.h"
#include "app/canvas/q_ItemVisibility.h"
#include "app/canvas/q_TransformBox.h"
#include "app/pictures/CutCrop.h"
#include "app/pictures/CutOptimise.h"
#include "app/pictures/CutRegion.h"
#include "app/pictures/FloodFill.h"
#include "framework/events/FNEventState.h"
#include "framework/scene/FN2DItem.h"
#include "imaging/FNImage.h"
#include "widgets/controls/FNSlider.h"

namespace {

// Overlay coordinates are part pixels, truncated toward zero.
int pixelOf(double local)
{
    return static_cast<int>(local);
}

} // namespace

void q_App::OnOverlayPress(FNEventState event)
{
    if (m_canvas->NavigationMode() != q_Canvas::None)
        return; // Space held: the press pans or zooms the canvas
    m_pressing = true;
    m_lastX = pixelOf(event.localX);
    m_lastY = pixelOf(event.localY);
    if (!HasPart())
        return;
    OpenStep(StepCutRegion);
    if (m_tool == FloodFill) {
        q_FloodFill(*m_cutRegion, m_lastX, m_lastY, q_kMarkValue);
        m_cutOverlay->Invalidate(true);
        CloseStep();
    }
    m_cutOverlay->SetPicture(m_cutRegion);
    m_cutOverlay->Invalidate(true);
}

// The pen size is read at every move, so a change of the slider during a
// stroke takes effect at once.
void q_App::OnOverlayMove(FNEventState event)
{
    if (!m_pressing || !HasPart())
        return;
    const int x = pixelOf(event.localX), y = pixelOf(event.localY);
    const int size = m_penSize->Value() + 1;
    if (m_tool == CutPen || m_tool == CutEraser) {
        if (m_tool == CutPen)
            q_PenLine(*m_cutRegion, size, m_lastX, m_lastY, x, y);
        else
            q_EraserLine(*m_cutRegion, size, m_lastX, m_lastY, x, y);
        m_cutOverlay->Invalidate(true);
    }
    m_lastX = x;
    m_lastY = y;
}

void q_App::OnOverlayRelease(FNEventState)
{
    if (!m_pressing)
        return;
    m_pressing = false;
    if (m_tool != FloodFill && m_stepPictures != 0)
        CloseStep();
}

// Shrinks a rough mark onto the object: the mark's edge colours are cleared
// as far as they reach, then the mark is smoothed and grown by two pixels.
void q_App::OptimiseCut()
{
    EnterCutting();
    OpenStep(StepCutRegion);
    q_OptimiseCutRegion(*m_cutRegion, *m_loadedPart, *m_log);
    m_cutOverlay->SetPicture(m_cutRegion);
    q_ShowItem(*m_cutOverlay);
    SetTool(Optimise); // within the step: redoing it lights the same button
    CloseStep();
}

// Everything outside the mark becomes transparent and the part is cropped to
// the mark plus a 2-pixel margin; the box is fitted to the smaller part. An
// empty mark empties the part.
void q_App::CutOut()
{
    if (m_partState != Cutting)
        return;
    OpenStep(StepCutRegion | StepParts);
    if (IsCutOverlayShown()) {
        const q_CutBounds bounds = q_CropToCutRegion(*m_loadedPart, *m_cutRegion);
        if (bounds.count > 0) {
            m_partItem->Resize(bounds.width, bounds.height);
            SetPartItemPicture(m_adjustedPart);
            m_box->SetFromPictureRect(m_canvas->PictureItem(), m_canvas->Zoom(), m_partItem->x + bounds.minX - 2,
                m_partItem->y + bounds.minY - 2, bounds.width * m_partItem->scaleX, bounds.height * m_partItem->scaleY);
            ApplyBoxToPart();
        } else {
            SetPartItemPicture(nullptr);
            q_HideItem(*m_box);
            EnablePartTools(false);
        }
        q_HideItem(*m_cutOverlay);
        Readjust();
    }
    if (HasPart()) {
        m_partState = PartPlaced;
        q_ShowItem(*m_partItem);
        q_ShowItem(*m_box);
    } else {
        m_partState = PartEmptied;
        q_HideItem(*m_partItem);
        q_HideItem(*m_box);
    }
    Compose();
    SetTool(MoveTransform);
    CloseStep();
}
