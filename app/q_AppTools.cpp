// q_App's tool and part-state machines: which tool button is lit, which
// panel groups a part enables, and the moves between placing a part,
// cutting it out and having no part.
#include "app/q_App.h"

#include "app/canvas/q_Canvas.h"
#include "app/canvas/q_ItemVisibility.h"
#include "app/canvas/q_TransformBox.h"
#include "framework/events/FNEventState.h"
#include "framework/scene/FN2DItem.h"
#include "imaging/FNImage.h"
#include "widgets/controls/FNDropDownList.h"
#include "widgets/controls/FNFrame.h"
#include "widgets/controls/FNLabel.h"
#include "widgets/controls/FNOnOffButton.h"

// The tool buttons act as one radio group: exactly the button of the tool
// is lit.
void q_App::SetTool(int tool)
{
    const std::pair<FNOnOffButton*, int> buttons[] = { { m_move.get(), MoveTransform }, { m_pen.get(), CutPen },
        { m_eraser.get(), CutEraser }, { m_fill.get(), FloodFill }, { m_optimise.get(), Optimise },
        { m_cut.get(), Cut }, { m_paste.get(), Paste }, { m_blurPen.get(), BlurPen } };
    for (const auto& [button, value] : buttons) {
        if (!button)
            continue;
        button->on = tool == value;
        if (button->IsOnStage())
            button->Repaint();
    }
    m_tool = tool;
}

void q_App::EnablePartTools(bool enabled)
{
    FNWidget* const widgets[] = { m_move.get(), m_cutFrame.get(), m_colourFrame.get(), m_composeList.get(),
        m_composeCaption.get(), m_paste.get() };
    for (FNWidget* widget : widgets)
        widget->SetEnabled(enabled);
}

void q_App::SetPartItemPicture(FNImage* picture)
{
    m_partItem->Invalidate(true);
    m_partItem->SetPicture(picture);
    m_partItem->Invalidate(true);
}

void q_App::ShowPlacedPart()
{
    SetPartItemPicture(m_adjustedPart);
    q_ShowItem(*m_partItem);
    q_ShowItem(*m_box);
}

// Leaves the part (placed, cut or emptied) where it is without pasting it:
// the canvas shows the plain base picture again. Recorded as one step unless
// nothing was being edited; the step ends with the tool the caller goes on
// with, so that redoing it lights the same button.
void q_App::FinishPartEditing(int tool)
{
    const bool record = m_partState != NoPart && !HistoryLocked();
    if (record)
        OpenStep(StepBase | StepCutRegion | StepParts);
    m_partState = NoPart;
    m_canvas->ShowPicture(m_base);
    SetPartItemPicture(nullptr);
    q_HideItem(*m_partItem);
    q_HideItem(*m_box);
    EnablePartTools(false);
    if (tool >= 0)
        SetTool(tool);
    if (record)
        CloseStep();
}

// ---- The cut overlay ----------------------------------------------------------------

bool q_App::IsCutOverlayShown() const
{
    return m_cutOverlay->visible;
}

void q_App::ShowCutOverlay()
{
    m_cutOverlay->SetRect(0, 0, m_adjustedPart->width, m_adjustedPart->height);
    m_cutOverlay->SetPicture(m_cutRegion);
    q_ShowItem(*m_cutOverlay);
}

void q_App::HideCutOverlay()
{
    if (IsCutOverlayShown())
        q_HideItem(*m_cutOverlay);
}

// Cutting: the part floats over the plain canvas with the mark over it. A
// mark is started afresh only when the overlay is not already up, in a new
// picture: the old one may be what the history shows when an earlier cut is
// undone.
void q_App::EnterCutting()
{
    m_partState = Cutting;
    q_HideItem(*m_box);
    if (!IsCutOverlayShown()) {
        m_canvas->ShowPicture(m_base);
        q_ShowItem(*m_partItem);
        StartFreshMark();
        ShowCutOverlay();
    }
    m_canvas->ShowPicture(m_base);
    q_ShowItem(*m_partItem);
}

void q_App::StartFreshMark()
{
    auto* fresh = new FNImage();
    fresh->resize(m_adjustedPart->width, m_adjustedPart->height);
    fresh->fill(255, 255, 255, 0);
    FNImage* old = m_cutRegion;
    m_cutRegion = fresh;
    if (old != m_beforeCutRegion && !m_history->references(old))
        delete old;
}

// Back to moving the part: the mark as it stands is one step, then the part
// is composed where it is; the step ends with the move tool.
void q_App::LeaveCutting()
{
    const bool record = m_partState == Cutting && !HistoryLocked();
    if (record)
        OpenStep(StepCutRegion);
    m_partState = PartPlaced;
    ShowPlacedPart();
    HideCutOverlay();
    Compose();
    SetTool(MoveTransform);
    if (record)
        CloseStep();
}

// ---- Tool buttons --------------------------------------------------------------------

// The buttons of the part tools do nothing without a part; a press that
// does nothing leaves the lit button as it was.
void q_App::ToolButton(FNWidget* button)
{
    if (!HasPart()) {
        SetTool(m_tool);
        return;
    }
    if (button == m_move.get()) {
        q_ShowItem(*m_box);
        LeaveCutting();
        SetTool(MoveTransform);
    } else if (button == m_pen.get() || button == m_eraser.get() || button == m_fill.get()) {
        EnterCutting();
        SetTool(button == m_pen.get() ? CutPen : button == m_eraser.get() ? CutEraser : FloodFill);
    } else if (button == m_optimise.get()) {
        OptimiseCut();
    } else if (button == m_cut.get()) {
        CutOut();
    } else if (button == m_paste.get()) {
        Combine();
    }
    SetTool(m_tool);
}
