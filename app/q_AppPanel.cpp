// q_App's window and command panel: the widgets in the order they are laid
// out, each added to its parent as soon as it exists, and what each one's
// events do.
#include "app/q_App.h"

#include "app/canvas/q_Canvas.h"
#include "app/canvas/q_TransformBox.h"
#include "app/colour/q_ColourSliders.h"
#include "framework/engine/FNEngine.h"
#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/scene/FN2DItem.h"
#include "framework/window/FNExWindow.h"
#include "imaging/FNImage.h"
#include "widgets/controls/FNDropDownList.h"
#include "widgets/controls/FNFrame.h"
#include "widgets/controls/FNLabel.h"
#include "widgets/controls/FNOnOffButton.h"
#include "widgets/controls/FNPushButton.h"

#include <string>

namespace {

constexpr int kSizeSliderMaximum = 39;
constexpr int kSizeSliderStart = 9; // sizes count from 1: the label shows 10

// A widget made and added to its parent in one step.
template <typename W, typename... Args> std::unique_ptr<W> addTo(FNWidget& parent, Args&&... args)
{
    auto widget = std::make_unique<W>(std::forward<Args>(args)...);
    parent.AddChild(widget.get());
    return widget;
}

template <typename W, typename... Args> std::unique_ptr<W> addTo(FNExWindow& window, Args&&... args)
{
    auto widget = std::make_unique<W>(std::forward<Args>(args)...);
    widget->PlaceIn(window.RootItem());
    return widget;
}

// A group frame whose title label straddles its top edge: the frame lets
// its children draw outside it, the title's text starts 10 pixels in.
void openGroupFrame(FNFrame& frame, FNLabel& title)
{
    frame.Item()->clipChildren = false;
    title.Item()->textImageX = 10;
    title.Redraw();
}

void setUpSizeSlider(FNSlider& slider)
{
    slider.maximum = std::max(kSizeSliderMaximum, slider.minimum);
    slider.SetValue(slider.Value());
    slider.SetValue(kSizeSliderStart);
}

} // namespace

template <typename Source> void q_App::Listen(Source* source, std::initializer_list<Binding> bindings)
{
    auto connector = std::make_unique<FNEventConnector>(source);
    for (const Binding& binding : bindings)
        connector->Connect(binding.code, binding.handler, this);
    m_connectors.push_back(std::move(connector));
}

void q_App::BuildWindow()
{
    m_mainWindow = std::make_unique<FNExWindow>(50, 50, 800, 600, "Tesserine");
    m_mainWindow->allowMaximise = true;
    m_mainWindow->allowMinimise = true;
    m_mainWindow->resizable = true;
    FNEngine* engine = FNEngine::Current();
    if (engine && !engine->IsStopping())
        m_mainWindow->Open(true, nullptr, engine);
    Listen(m_mainWindow.get(),
        { { FNEvent::CloseRequest, &q_App::OnCloseRequest }, { FNEvent::MenuCommand, &q_App::OnMenuCommand },
            { FNEvent::Resized, &q_App::OnResized }, { FNEvent::FilesDropped, &q_App::OnFilesDropped } });
}

void q_App::BuildPanel()
{
    FNExWindow& window = *m_mainWindow;
    m_undo = addTo<FNPushButton>(window, 10, 10, 40, 20, "戻す");
    m_redo = addTo<FNPushButton>(window, 55, 10, 40, 20, "進む");
    m_undo->SetEnabled(false);
    m_redo->SetEnabled(false);
    BuildCanvasGroup();
    BuildPartsGroup();
    BuildSaveGroup();
    WirePanel();
    EnablePartTools(false);
}

void q_App::BuildCanvasGroup()
{
    m_canvasFrame = addTo<FNFrame>(*m_mainWindow, 40, 220, 100);
    FNFrame& frame = *m_canvasFrame;
    m_blankCanvas = addTo<FNPushButton>(frame, 10, 10, 97, 20, "白紙キャンバス");
    m_loadCanvas = addTo<FNPushButton>(frame, 112, 10, 98, 20, "キャンバス読込");
    m_blurPen = addTo<FNOnOffButton>(frame, 10, 40, 60, 30, "ぼかしペン");
    m_blurSize = addTo<FNSlider>(frame, 75, 45, 13);
    setUpSizeSlider(*m_blurSize);
    m_blurSizeLabel = addTo<FNLabel>(frame, 10, 75, 15, 15, "10");
}

void q_App::BuildPartsGroup()
{
    m_partsFrame = addTo<FNFrame>(*m_mainWindow, m_canvasFrame->Y() + m_canvasFrame->Height() + 10, 220, 350);
    FNFrame& frame = *m_partsFrame;
    m_loadPart = addTo<FNPushButton>(frame, 10, 10, 200, 20, "パーツ読み込み");
    m_move = addTo<FNOnOffButton>(frame, 10, 50, 60, 40, "移動変形");
    BuildCutOutGroup();
    BuildColourGroup();
    m_composeCaption = addTo<FNLabel>(frame, 10, 300, 95, 20, "パーツの合成方法");
    m_composeList = addTo<FNDropDownList>(frame);
    m_composeList->AddEntry("通常合成");
    m_composeList->AddEntry("Smart合成");
    m_composeList->SelectByText("通常合成");
    m_composeMode = 0;
    m_paste = addTo<FNOnOffButton>(frame, 110, 300, 100, 40, "貼り付け");
}

void q_App::BuildCutOutGroup()
{
    m_cutFrame = addTo<FNFrame>(*m_partsFrame, 110, 200, 90);
    FNFrame& frame = *m_cutFrame;
    m_cutTitle = addTo<FNLabel>(frame, 5, -6, 110, 15, "パーツ切り取り機能");
    openGroupFrame(frame, *m_cutTitle);
    m_pen = addTo<FNOnOffButton>(frame, 10, 15, 29, 30, "ペン");
    m_eraser = addTo<FNOnOffButton>(frame, 41, 15, 29, 30, "消し");
    m_penSizeCaption = addTo<FNLabel>(frame, 10, 48, 60, 15, "ペンの太さ");
    m_penSize = addTo<FNSlider>(frame, 65, 45, 13);
    setUpSizeSlider(*m_penSize);
    m_penSizeLabel = addTo<FNLabel>(frame, 10, 66, 15, 15, "10");
    m_fill = addTo<FNOnOffButton>(frame, 80, 15, 50, 30, "流しこみ");
    m_optimise = addTo<FNOnOffButton>(frame, 80, 50, 50, 30, "最適化");
    m_cut = addTo<FNOnOffButton>(frame, 140, 15, 50, 65, "切り取り\n実行");
}

void q_App::BuildColourGroup()
{
    m_colourFrame = addTo<FNFrame>(*m_partsFrame, 212, 200, 78);
    FNFrame& frame = *m_colourFrame;
    m_colourTitle = addTo<FNLabel>(frame, 5, -6, 70, 15, "色調節機能");
    openGroupFrame(frame, *m_colourTitle);
    m_hue = addTo<q_HueSlider>(frame, 15, 170, 16);
    m_saturation = addTo<q_SaturationSlider>(frame, 33, 170, 16);
    m_value = addTo<q_ValueSlider>(frame, 51, 170, 16);
    m_hueCaption = addTo<FNLabel>(frame, 8, 16, 17, 16, "色");
    m_saturationCaption = addTo<FNLabel>(frame, 8, 34, 17, 16, "彩");
    m_valueCaption = addTo<FNLabel>(frame, 8, 52, 17, 16, "明");
}

void q_App::BuildSaveGroup()
{
    m_saveFrame = addTo<FNFrame>(*m_mainWindow, m_partsFrame->Y() + m_partsFrame->Height() + 10, 220, 50);
    FNFrame& frame = *m_saveFrame;
    m_saveTitle = addTo<FNLabel>(frame, 5, -6, 80, 15, "データの保存");
    openGroupFrame(frame, *m_saveTitle);
    m_saveCanvas = addTo<FNPushButton>(frame, 10, 15, 97, 25, "キャンバス保存");
    m_savePart = addTo<FNPushButton>(frame, 112, 15, 98, 25, "パーツ保存");
}

void q_App::WirePanel()
{
    FNWidget* const buttons[] = { m_undo.get(), m_redo.get(), m_blankCanvas.get(), m_loadCanvas.get(), m_blurPen.get(),
        m_loadPart.get(), m_move.get(), m_pen.get(), m_eraser.get(), m_fill.get(), m_optimise.get(), m_cut.get(),
        m_paste.get(), m_saveCanvas.get(), m_savePart.get() };
    for (FNWidget* button : buttons)
        Listen(button, { { FNEvent::LeftUp, &q_App::OnButton } });
    Listen(m_blurSize.get(), { { FNEvent::ValueChanged, &q_App::OnBlurSize } });
    Listen(m_penSize.get(), { { FNEvent::ValueChanged, &q_App::OnPenSize } });
    for (FNSlider* slider : std::initializer_list<FNSlider*> { m_hue.get(), m_saturation.get(), m_value.get() })
        Listen(slider,
            { { FNEvent::LeftDown, &q_App::OnColourPress }, { FNEvent::ValueChanged, &q_App::OnColourChange },
                { FNEvent::LeftUp, &q_App::OnColourRelease } });
    Listen(m_composeList.get(), { { FNEvent::SelectionChosen, &q_App::OnComposeChoice } });
}

// The canvas on the right, the transform box in its view group, the part
// item on its picture with the cut overlay on the part.
void q_App::BuildCanvas()
{
    m_canvas = std::make_unique<q_Canvas>();
    m_mainWindow->RootItem()->AddChild(m_canvas.get());
    m_canvas->zoomChanged = [this] { FitBoxToPart(); };

    m_box = std::make_unique<q_TransformBox>();
    m_canvas->ViewGroup().AddChild(m_box.get(), false);
    Listen(static_cast<FN2DItemBase*>(m_box.get()),
        { { FNEvent::LeftDown, &q_App::OnBoxPress }, { FNEvent::MouseMove, &q_App::OnBoxMove },
            { FNEvent::LeftUp, &q_App::OnBoxRelease } });

    // The part and the cut overlay pass their events on to the canvas (the
    // wheel, Space navigation), as the picture under them does.
    m_partItem = std::make_unique<FN2DItem>(0, 0, 0, 0, 0);
    m_partItem->sampling = FNSamplingBilinear;
    m_partItem->passEventsToParent = true;
    m_canvas->PictureItem().AddChild(m_partItem.get(), true);

    m_cutOverlay = std::make_unique<FN2DItem>(0, 0, 0, 0, 0);
    m_cutOverlay->alpha = 160;
    m_cutOverlay->solidHit = true;
    m_cutOverlay->passEventsToParent = true;
    m_partItem->AddChild(m_cutOverlay.get(), false);

    m_blurTool = std::make_unique<q_BlurPenTool>(*m_canvas, *this);
    Listen(static_cast<FN2DItemBase*>(m_cutOverlay.get()),
        { { FNEvent::LeftDown, &q_App::OnOverlayPress }, { FNEvent::MouseMove, &q_App::OnOverlayMove },
            { FNEvent::LeftUp, &q_App::OnOverlayRelease } });
    Listen(static_cast<FNStageBase*>(m_mainWindow.get()), { { FNEvent::StageKeyDown, &q_App::OnShortcut } });
    m_pressing = false;
}

// The canvas starts as a 500 x 540 opaque white picture, and the composed
// picture as its copy; the part pictures and the cut region start empty.
void q_App::BuildPictures()
{
    m_base = new FNImage();
    m_loadedPart = new FNImage();
    m_adjustedPart = new FNImage();
    m_cutRegion = new FNImage();
    m_composed = new FNImage();
    m_base->resize(500, 540);
    m_base->fill(255, 255, 255, 255);
    m_composed->copyFrom(m_base);
}

FNWidget* q_App::PanelWidget(const FNString& wanted) const
{
    FNWidget* const widgets[] = { m_undo.get(), m_redo.get(), m_blankCanvas.get(), m_loadCanvas.get(), m_blurPen.get(),
        m_blurSizeLabel.get(), m_loadPart.get(), m_move.get(), m_cutTitle.get(), m_pen.get(), m_eraser.get(),
        m_penSizeCaption.get(), m_penSizeLabel.get(), m_fill.get(), m_optimise.get(), m_cut.get(), m_colourTitle.get(),
        m_hueCaption.get(), m_saturationCaption.get(), m_valueCaption.get(), m_composeCaption.get(), m_paste.get(),
        m_saveTitle.get(), m_saveCanvas.get(), m_savePart.get() };
    for (FNWidget* widget : widgets)
        if (widget && widget->GetText() == wanted)
            return widget;
    return nullptr;
}

// ---- Panel handlers ---------------------------------------------------------------

// A release away from the button is no click; an on/off button it turned
// over goes back to the tool's state.
void q_App::OnButton(FNEventState event)
{
    FNWidget* button = event.widget;
    if (!button || !button->ContainsLocal(event.localX, event.localY)) {
        SetTool(m_tool);
        return;
    }
    if (button == m_undo.get())
        Undo();
    else if (button == m_redo.get())
        Redo();
    else if (button == m_blankCanvas.get())
        NewCanvas();
    else if (button == m_loadCanvas.get())
        OpenCanvas();
    else if (button == m_loadPart.get())
        LoadPart();
    else if (button == m_saveCanvas.get())
        SaveCanvas();
    else if (button == m_savePart.get())
        SavePart();
    else if (button == m_blurPen.get())
        FinishPartEditing(BlurPen);
    else
        ToolButton(button);
}

void q_App::OnBlurSize(FNEventState)
{
    m_blurSizeLabel->SetText(std::to_string(m_blurSize->Value() + 1));
}

void q_App::OnPenSize(FNEventState)
{
    m_penSizeLabel->SetText(std::to_string(m_penSize->Value() + 1));
}
