#include "app/q_App.h"

#include "app/canvas/q_Canvas.h"
#include "app/canvas/q_TransformBox.h"
#include "app/colour/q_ColourSliders.h"
#include "app/history/q_HistoryManager.h"
#include "app/pictures/PoissonSolver.h"
#include "framework/engine/FNEngine.h"
#include "framework/events/FNEventConnector.h"
#include "framework/window/FNExWindow.h"
#include "imaging/FNImage.h"
#include "widgets/controls/FNDropDownList.h"
#include "widgets/controls/FNFrame.h"
#include "widgets/controls/FNLabel.h"
#include "widgets/controls/FNOnOffButton.h"
#include "widgets/controls/FNPushButton.h"

#include <iostream>

q_App::q_App()
    : m_log(&std::cout)
{
}

q_App::~q_App()
{
    ready = false;
    if (!m_initialised)
        return;
    // Connectors go before what they listen to; the history before the
    // pictures (it frees only the pictures it alone holds); the items over
    // the canvas before the canvas; the panel's widgets before the window.
    // The solver's work buffers are process-wide and go with the process.
    m_connectors.clear();
    m_blurTool.reset();
    m_history.reset();
    for (FNImage** picture : { &m_base, &m_loadedPart, &m_adjustedPart, &m_cutRegion, &m_composed }) {
        delete *picture;
        *picture = nullptr;
    }
    m_box.reset();
    m_cutOverlay.reset();
    m_partItem.reset();
    m_canvas.reset();
    m_saveCanvas.reset(), m_savePart.reset(), m_saveTitle.reset(), m_saveFrame.reset();
    m_hueCaption.reset(), m_saturationCaption.reset(), m_valueCaption.reset();
    m_hue.reset(), m_saturation.reset(), m_value.reset(), m_colourTitle.reset(), m_colourFrame.reset();
    m_composeList.reset(), m_composeCaption.reset(), m_paste.reset();
    m_fill.reset(), m_optimise.reset(), m_cut.reset(), m_penSizeLabel.reset(), m_penSize.reset();
    m_penSizeCaption.reset(), m_pen.reset(), m_eraser.reset(), m_cutTitle.reset(), m_cutFrame.reset();
    m_move.reset(), m_loadPart.reset(), m_partsFrame.reset();
    m_blurSizeLabel.reset(), m_blurSize.reset(), m_blurPen.reset(), m_loadCanvas.reset(), m_blankCanvas.reset();
    m_canvasFrame.reset();
    m_undo.reset(), m_redo.reset();
    m_mainWindow.reset();
}

void q_App::Initialise()
{
    if (m_initialised)
        return;
    m_partState = NoPart;
    m_tool = NoTool;
    BuildWindow();
    BuildMenu();
    BuildPanel();
    BuildCanvas();
    BuildPictures();
    m_canvas->ShowPicture(m_base);
    FinishPartEditing();
    SetTool(NoTool);
    m_history = std::make_unique<q_HistoryManager>(*this, *m_log);
    q_PoissonWorkCapacity(); // the solver's work buffers, 65536 cells
    m_initialised = true;
    ready = true;
    ResizeLayout();
}

// The history's lock lasts one frame; the undo and redo buttons follow the
// history position, touched only when their state changes.
bool q_App::Frame()
{
    if (!m_initialised)
        return true;
    m_history->Unlock();
    const bool undoable = m_history->canUndo();
    const bool redoable = m_history->canRedo();
    if (m_undo->IsEnabled() != undoable)
        m_undo->SetEnabled(undoable);
    if (m_redo->IsEnabled() != redoable)
        m_redo->SetEnabled(redoable);
    return true;
}

int q_App::PenSize() const
{
    return m_blurSize ? m_blurSize->Value() : 0;
}

bool q_App::HasPart() const
{
    return m_partItem && m_partItem->picture != nullptr;
}

// ---- Window events ----------------------------------------------------------------

void q_App::OnCloseRequest(FNEventState)
{
    FNQuit();
}

void q_App::OnResized(FNEventState)
{
    ResizeLayout();
}

// The canvas takes the window's client area right of the panel, less a
// 10-pixel margin.
void q_App::ResizeLayout()
{
    if (!m_canvas || !m_partsFrame)
        return;
    const int x = m_partsFrame->X() + m_partsFrame->Width() + 10;
    const FNRect& client = m_mainWindow->ClientRect();
    const int clientWidth = client.right - client.left, clientHeight = client.bottom - client.top;
    m_canvas->LayOut(x, 10, clientWidth - x - 10, clientHeight - 20);
}
