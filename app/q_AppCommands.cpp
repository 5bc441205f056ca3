// q_App's document commands: new, open and save the canvas, load and save
// the part, combine the part into the canvas, the version information. Each
// command that changes pictures is one history step.
#include "app/q_App.h"

#include "app/canvas/q_Canvas.h"
#include "app/canvas/q_ItemVisibility.h"
#include "app/canvas/q_TransformBox.h"
#include "app/colour/q_ColourSliders.h"
#include "app/dialogs/q_NewCanvasDialog.h"
#include "app/pictures/CanvasLimit.h"
#include "framework/engine/FNEngine.h"
#include "framework/events/FNEventState.h"
#include "framework/scene/FN2DItem.h"
#include "framework/window/FNExWindow.h"
#include "imaging/FNImage.h"
#include "widgets/controls/FNDropDownList.h"
#include "widgets/modal/FNCreditView.h"
#include "widgets/modal/FNFileDialog.h"
#include "widgets/modal/FNMessageBox.h"

namespace {

// The file types the dialogs offer, in order; the last only for opening.
struct FileType {
    const char* extension;
    const char* description;
};
constexpr FileType kFileTypes[] = { { "bmp", "ビットマップ" }, { "jpg", "JPEG" }, { "png", "PNG" }, { "tga", "TARGA" },
    { "*", "すべてのファイル形式" } };
constexpr int kSavedTypes = 4; // saving offers the four formats, PNG first
constexpr int kPngFilter = 3;
constexpr int kAllFilesFilter = 5;

// What a failed load or save says: the codec's text with the file name, and
// the cause in a few words when one is known.
FNString failureMessage(const FNImage& picture)
{
    const FNString cause = picture.failureText();
    return cause.empty() ? picture.message : picture.message + "\n(" + cause + ")";
}

// Saves `picture` as `path`; on failure `told` is what to tell. Not every
// writer leaves a text of its own (the PNG writer keeps the picture's text
// as it was), so the text is cleared first and the file named here when the
// writer gave none.
bool savePicture(FNImage& picture, const FNString& path, FNString& told)
{
    picture.message = FNString();
    if (picture.save(path))
        return true;
    if (picture.message.empty())
        picture.message = "ファイルを保存できませんでした:\n" + path;
    told = failureMessage(picture);
    return false;
}

} // namespace

// ---- What the commands ask --------------------------------------------------------------

bool q_App::ChooseFile(bool saving, FNString& path)
{
    FNFileDialog dialog;
    const int types = saving ? kSavedTypes : static_cast<int>(std::size(kFileTypes));
    for (int i = 0; i < types; ++i)
        dialog.AddFilter(kFileTypes[i].description, kFileTypes[i].extension);
    dialog.filterIndex = saving ? kPngFilter : kAllFilesFilter;
    if (!(saving ? dialog.Save() : dialog.Open()))
        return false;
    path = dialog.Path();
    return true;
}

bool q_App::ChooseCanvasSize(int& width, int& height)
{
    return q_NewCanvasDialog::Run(m_mainWindow.get(), width, height);
}

void q_App::Tell(const FNString& caption, const FNString& message)
{
    FNMessageBox(caption, message);
}

bool q_App::Confirm(const FNString& caption, const FNString& message)
{
    return FNConfirmBox(caption, message);
}

// ---- The canvas ----------------------------------------------------------------------------

void q_App::NewCanvas()
{
    int width = 0, height = 0;
    if (ChooseCanvasSize(width, height))
        NewBlankCanvas(width, height);
}

// Every pixel white, even when the size stays the same.
void q_App::NewBlankCanvas(int width, int height)
{
    FNImage blank;
    blank.resize(width, height);
    blank.fill(255, 255, 255, 255);
    ReplaceCanvas(blank);
}

// A new canvas picture, as one step: the part being edited is left first (a
// step of its own) so that undoing the new canvas brings back the canvas as
// it was, part and all; then nothing is being edited.
void q_App::ReplaceCanvas(FNImage& picture)
{
    FinishPartEditing();
    OpenStep(StepBase | StepCutRegion | StepParts);
    m_base->takePixels(picture);
    m_composed->copyFrom(m_base);
    m_canvas->ShowPicture(m_base);
    m_partState = NoPart;
    SetPartItemPicture(nullptr);
    q_HideItem(*m_partItem);
    q_HideItem(*m_box);
    EnablePartTools(false);
    SetTool(NoTool);
    CloseStep();
}

void q_App::OpenCanvas()
{
    FNString path;
    if (ChooseFile(false, path))
        OpenCanvasFile(path);
}

// The picture becomes the canvas, scaled down to 1200 pixels on its longer
// side. A file that cannot be read changes nothing and records nothing.
bool q_App::OpenCanvasFile(const FNString& path)
{
    FNImage opened;
    if (!opened.load(path)) {
        Tell("読み込みの失敗", failureMessage(opened));
        return false;
    }
    q_LimitCanvasSize(opened);
    ReplaceCanvas(opened);
    return true;
}

void q_App::SaveCanvas()
{
    FNString path;
    if (ChooseFile(true, path))
        SaveCanvasFile(path);
}

// The base canvas is written: a part placed but not combined is not in it.
void q_App::SaveCanvasFile(const FNString& path)
{
    if (FNString told; !savePicture(*m_base, path, told))
        Tell("保存の失敗", told);
}

// ---- The part ------------------------------------------------------------------------------

void q_App::LoadPart()
{
    FNString path;
    if (ChooseFile(false, path))
        LoadPartFile(path);
}

// The part is placed at (10, 10) of the canvas at its own size, unturned and
// uncoloured, composed normally. A file that cannot be read changes nothing
// and records nothing.
bool q_App::LoadPartFile(const FNString& path)
{
    FNImage loaded;
    if (!loaded.load(path)) {
        Tell("読み込みの失敗", failureMessage(loaded));
        return false;
    }
    OpenStep(StepCutRegion | StepParts);
    m_composed->copyFrom(m_base);
    for (double* scale : { &m_partItem->scaleX, &m_partItem->scaleY }) {
        m_partItem->Invalidate(true);
        *scale = 1.0;
        m_partItem->UpdateTransform();
        m_partItem->Invalidate(true);
    }
    m_partItem->SetRotation(0);
    for (FNSlider* slider : std::initializer_list<FNSlider*> { m_hue.get(), m_saturation.get(), m_value.get() })
        slider->SetValue(0);
    m_loadedPart->takePixels(loaded);
    Readjust(); // with the sliders at 0: an exact copy
    SetPartItemPicture(m_adjustedPart);
    m_partItem->SetRect(10.0, 10.0, m_adjustedPart->width, m_adjustedPart->height);
    q_ShowItem(*m_partItem);
    m_box->SetFromPictureRect(
        m_canvas->PictureItem(), m_canvas->Zoom(), 10, 10, m_loadedPart->width, m_loadedPart->height);
    m_box->SetAngle(0);
    m_composeMode = 0;
    m_composeList->SelectByText("通常合成");
    EnablePartTools(true);
    m_partState = PartPlaced;
    q_ShowItem(*m_box);
    HideCutOverlay();
    Compose();
    SetTool(MoveTransform);
    CloseStep();
    return true;
}

void q_App::SavePart()
{
    if (!HasPart()) {
        Tell("パーツの保存失敗", "パーツがないため保存できません。");
        return;
    }
    FNString path;
    if (ChooseFile(true, path))
        SavePartFile(path);
}

// The loaded part carries the cut but not the colour adjustment.
void q_App::SavePartFile(const FNString& path)
{
    if (FNString told; !savePicture(*m_loadedPart, path, told))
        Tell("保存の失敗", told);
}

// The part as last composed becomes part of the canvas.
void q_App::Combine()
{
    if (m_partState == Cutting
        && !Confirm("切り取りの確認", "切り取り処理が終了していません。\n切りとらずに結合しますか？")) {
        Tell("結合の中止", "結合処理を中止しました");
        SetTool(CutPen);
        return;
    }
    OpenStep(StepBase | StepCutRegion | StepParts);
    m_base->copyFrom(m_composed);
    m_partState = NoPart;
    m_canvas->ShowPicture(m_base);
    SetPartItemPicture(nullptr);
    q_HideItem(*m_partItem);
    q_HideItem(*m_box);
    SetTool(Paste);
    EnablePartTools(false);
    CloseStep();
    m_canvas->RequestFocus();
}

// A picture file dropped on the canvas view becomes the part, one dropped
// on the command panel the canvas; of several files the first counts.
void q_App::OnFilesDropped(FNEventState event)
{
    const FNEngine* engine = FNEngine::Current();
    if (!engine || engine->System().droppedFiles.empty())
        return;
    const FNString path = engine->System().droppedFiles.front();
    if (event.clientX >= m_canvas->x)
        LoadPartFile(path);
    else
        OpenCanvasFile(path);
}

// The credit view runs as its own modal loop; the main window stays usable,
// and a second request while it is open does nothing.
void q_App::ShowVersion()
{
    FNCreditView& view = FNCreditView::Instance();
    if (!view.engine)
        view.DoModal(nullptr);
}
