// q_App's side of the edit history: steps are opened and closed around
// every edit, and undo and redo put recorded pictures and state back.
//
// A step never copies at its end: when it opens, each picture it covers
// becomes the step's before-picture and the editor goes on with a copy,
// which becomes the after-picture when it closes. The current picture is
// therefore always the newest package's after-picture of its kind.
#include "app/q_App.h"

#include "app/canvas/q_Canvas.h"
#include "app/canvas/q_ItemVisibility.h"
#include "app/canvas/q_TransformBox.h"
#include "app/colour/q_ColourSliders.h"
#include "app/history/q_HistoryManager.h"
#include "app/history/q_HistoryObject.h"
#include "app/history/q_HistoryPackege.h"
#include "framework/scene/FN2DItem.h"
#include "imaging/FNImage.h"
#include "widgets/controls/FNDropDownList.h"

namespace {

FNImage* copyOf(const FNImage* picture)
{
    auto* copy = new FNImage();
    copy->copyFrom(picture);
    return copy;
}

FNImage* pictureOf(const q_HistoryObject& object, bool before)
{
    const auto& images = static_cast<const q_HistoryPictureObject&>(object);
    return before ? images.before() : images.after();
}

} // namespace

bool q_App::holdsPicture(const FNImage* picture) const
{
    return picture
        && (picture == m_base || picture == m_loadedPart || picture == m_cutRegion || picture == m_beforeBase
            || picture == m_beforeCutRegion || picture == m_beforeParts);
}

bool q_App::HistoryLocked() const
{
    return m_history && m_history->IsLocked();
}

q_InfoRecord q_App::CaptureInfo() const
{
    q_InfoRecord info;
    info.partState = m_partState;
    info.tool = m_tool;
    info.partVisible = m_partItem->visible;
    info.partX = m_partItem->x;
    info.partY = m_partItem->y;
    info.partWidth = m_partItem->width;
    info.partHeight = m_partItem->height;
    info.partScaleX = m_partItem->scaleX;
    info.partScaleY = m_partItem->scaleY;
    info.partAngle = m_partItem->rotation;
    info.hue = m_hue->Value();
    info.saturation = m_saturation->Value();
    info.value = m_value->Value();
    info.composeMode = m_composeMode;
    m_box->PictureRect(m_canvas->PictureItem(), m_canvas->Zoom(), info.boxX, info.boxY, info.boxWidth, info.boxHeight);
    info.boxAngle = m_box->Angle();
    return info;
}

// ---- Recording -----------------------------------------------------------------------------

// A step left open (a stroke whose release never came) is closed first, so
// that no before-picture is lost.
void q_App::OpenStep(int pictures)
{
    if (m_stepPictures != 0)
        CloseStep();
    m_stepPictures = pictures;
    m_infoBefore = CaptureInfo();
    if (pictures & StepBase) {
        m_beforeBase = m_base;
        m_base = copyOf(m_beforeBase);
        if (m_canvas->ShownPicture() == m_beforeBase)
            m_canvas->ShowPicture(m_base);
    }
    if (pictures & StepCutRegion) {
        m_beforeCutRegion = m_cutRegion;
        m_cutRegion = copyOf(m_beforeCutRegion);
        if (m_cutOverlay->picture == m_beforeCutRegion)
            m_cutOverlay->SetPicture(m_cutRegion);
    }
    if (pictures & StepParts) {
        m_beforeParts = m_loadedPart;
        m_loadedPart = copyOf(m_beforeParts);
    }
}

void q_App::CloseStep()
{
    if (m_stepPictures == 0)
        return;
    m_infoAfter = CaptureInfo();
    auto* package = new q_HistoryPackege();
    if (m_stepPictures & StepBase)
        package->add(new q_HistoryBaseImage(m_beforeBase, m_base));
    if (m_stepPictures & StepCutRegion)
        package->add(new q_HistoryCutRegion(m_beforeCutRegion, m_cutRegion));
    if (m_stepPictures & StepParts)
        package->add(new q_HistoryPartsImage(m_beforeParts, m_loadedPart));
    package->add(new q_HistoryInfo(m_infoBefore, m_infoAfter));
    m_stepPictures = 0;
    m_beforeBase = m_beforeCutRegion = m_beforeParts = nullptr;
    m_history->push(package);
}

void q_App::BeginInfoStep()
{
    m_infoBefore = CaptureInfo();
}

void q_App::CommitInfoStep()
{
    m_infoAfter = CaptureInfo();
    auto* package = new q_HistoryPackege();
    package->add(new q_HistoryInfo(m_infoBefore, m_infoAfter));
    m_history->push(package);
}

void q_App::OpenBaseStep()
{
    OpenStep(StepBase);
}

void q_App::CloseBaseStep()
{
    CloseStep();
}

// ---- Undo and redo ---------------------------------------------------------------------------
// Both wait while a stroke or drag is under way: the edit being made would
// otherwise go on in a picture the history holds.

void q_App::Undo()
{
    if (m_stepPictures != 0 || m_pressing || m_blurTool->IsPressing())
        return;
    if (q_HistoryPackege* package = m_history->undo())
        Restore(*package, true);
}

void q_App::Redo()
{
    if (m_stepPictures != 0 || m_pressing || m_blurTool->IsPressing())
        return;
    if (q_HistoryPackege* package = m_history->redo())
        Restore(*package, false);
}

// The handlers that restoring fires record nothing: the history stays
// locked until the next frame.
void q_App::Restore(q_HistoryPackege& package, bool before)
{
    m_history->Lock();
    for (int i = 0; i < package.count(); ++i) {
        q_HistoryObject* object = package.object(i);
        switch (object->kind()) {
        case q_HistoryObject::BaseImage: {
            m_base = pictureOf(*object, before);
            m_composed->copyFrom(m_base);
            m_canvas->ShowPicture(m_composed);
            break;
        }
        case q_HistoryObject::CutRegion: {
            m_cutRegion = pictureOf(*object, before);
            m_cutOverlay->SetPicture(m_cutRegion);
            m_cutOverlay->Invalidate(true);
            break;
        }
        case q_HistoryObject::PartsImage: {
            m_loadedPart = pictureOf(*object, before);
            m_adjustedPart->copyFrom(m_loadedPart);
            SetPartItemPicture(m_adjustedPart);
            break;
        }
        case q_HistoryObject::Info: {
            auto& info = static_cast<q_HistoryInfo&>(*object);
            RestoreInfo(before ? info.before() : info.after());
            break;
        }
        }
    }
    m_canvas->PictureItem().Invalidate(true);
    m_canvas->RequestFocus();
}

void q_App::RestoreInfo(const q_InfoRecord& info)
{
    if (info.partVisible)
        q_ShowItem(*m_partItem);
    else
        q_HideItem(*m_partItem);
    m_partItem->Resize(info.partWidth, info.partHeight);
    for (auto [scale, value] :
        { std::pair { &m_partItem->scaleX, info.partScaleX }, { &m_partItem->scaleY, info.partScaleY } }) {
        m_partItem->Invalidate(true);
        *scale = value;
        m_partItem->UpdateTransform();
        m_partItem->Invalidate(true);
    }
    m_partItem->SetRotation(info.partAngle);
    m_hue->SetValue(info.hue);
    m_saturation->SetValue(info.saturation);
    m_value->SetValue(info.value);
    Readjust();
    m_box->SetAngle(info.boxAngle);
    m_box->SetFromPictureRect(
        m_canvas->PictureItem(), m_canvas->Zoom(), info.boxX, info.boxY, info.boxWidth, info.boxHeight);
    ApplyBoxToPart();
    m_composeMode = info.composeMode;
    m_composeList->SelectByText(info.composeMode == 0 ? "通常合成" : "Smart合成");
    RestorePartState(info.partState);
    EnablePartTools(HasPart());
    SetTool(info.tool);
}

void q_App::RestorePartState(int partState)
{
    switch (partState) {
    case NoPart:
        m_partState = NoPart;
        m_canvas->ShowPicture(m_base);
        SetPartItemPicture(nullptr);
        q_HideItem(*m_partItem);
        q_HideItem(*m_box);
        break;
    case PartPlaced:
        m_partState = PartPlaced;
        ShowPlacedPart();
        HideCutOverlay();
        Compose();
        Readjust();
        break;
    case Cutting:
        m_partState = Cutting;
        q_HideItem(*m_box);
        ShowCutOverlay();
        m_canvas->ShowPicture(m_base);
        q_ShowItem(*m_partItem);
        Readjust();
        break;
    case PartEmptied:
        // As the cut left it: the plain canvas, no part, nothing to move.
        m_partState = PartEmptied;
        m_canvas->ShowPicture(m_base);
        SetPartItemPicture(nullptr);
        q_HideItem(*m_partItem);
        q_HideItem(*m_box);
        break;
    }
}
