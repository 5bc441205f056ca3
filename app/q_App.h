#pragma once

#include "app/canvas/q_BlurPenTool.h"
#include "app/history/q_HistoryManager.h"
#include "app/history/q_InfoRecord.h"
#include "framework/events/FNEventState.h"
#include "imaging/FNString.h"

#include <initializer_list>
#include <iosfwd>
#include <memory>
#include <vector>

class FN2DItem;
class FNDropDownList;
class FNEventConnector;
class FNExWindow;
class FNFrame;
class FNImage;
class FNLabel;
class FNOnOffButton;
class FNPushButton;
class FNSlider;
class FNWidget;
class q_Canvas;
class q_HistoryPackege;
struct q_Placement;
class q_HueSlider;
class q_SaturationSlider;
class q_TransformBox;
class q_ValueSlider;

// q_App: the editor's one application object. The program's entry creates
// it, calls Initialise() once, calls Frame() once per main-loop pass after
// the engine step, and deletes it at exit.
//
// It builds the main window: the menu bar, the command panel on the left
// (canvas, part, cut-out, colour and save groups) and the canvas view on the
// right, with the part item, the cut overlay and the transform box over the
// canvas; it holds the five pictures (base canvas, loaded part, adjusted
// part, cut region, composed picture) and the editor's state:
//
//   tool        0 none, 1 blur pen, 2 move/transform, 3 cut pen, 4 eraser,
//               5 flood fill, 6 optimise shown, 7 cut, 8 paste done; at most
//               one tool button is lit
//   part state  3 no part being edited, 1 part placed, 2 cutting, 0 the part
//               was emptied by a cut
//   compose     0 "通常合成", 1 "Smart合成"
//
// Every edit is one history step: the current pictures it touches become the
// step's before-pictures and the edit goes on with copies, which become the
// after-pictures when the step closes (q_AppHistory.cpp).
//
// The member functions live in files by concern: q_App.cpp (life, frame,
// layout), q_AppPanel.cpp (widgets and wiring), q_AppMenu.cpp (menu and
// shortcuts), q_AppTools.cpp (tool and part-state machines), q_AppCutOut.cpp,
// q_AppColour.cpp (colour sliders, compose, transform-box drags),
// q_AppCommands.cpp (document commands), q_AppHistory.cpp.
//
// Ownership: the window, every widget and connector, the canvas and the
// items over it, and the current pictures; a picture an edit replaces passes
// to the history. Thread: the application thread.
class q_App : public q_BlurPenHost, public q_HistoryPictureHolder {
public:
    enum Tool { NoTool = 0, BlurPen, MoveTransform, CutPen, CutEraser, FloodFill, Optimise, Cut, Paste };
    enum PartState { PartEmptied = 0, PartPlaced = 1, Cutting = 2, NoPart = 3 };
    // The pictures a history step covers.
    enum StepPictures { StepBase = 1, StepCutRegion = 2, StepParts = 4 };
    // Menu command identifiers.
    enum Command {
        NewCanvasCommand = 11,
        OpenCanvasCommand = 12,
        SaveCanvasCommand = 13,
        LoadPartCommand = 21,
        SavePartCommand = 22,
        UndoCommand = 31,
        RedoCommand = 32,
        VersionCommand = 91
    };

    q_App();
    virtual ~q_App();

    q_App(const q_App&) = delete;
    q_App& operator=(const q_App&) = delete;

    // Builds everything; only the first call acts.
    void Initialise();
    // The per-frame update: the history's lock is cleared and the undo and
    // redo buttons follow the history position. Always true.
    bool Frame();

    // ---- The state machines --------------------------------------------------------
    void SetTool(int tool);
    void EnablePartTools(bool enabled);
    // Leaves the part as it is, unpasted; `tool`, when given, is the tool
    // the step ends with.
    void FinishPartEditing(int tool = -1);
    void EnterCutting();
    void LeaveCutting();
    // Composes the part into the canvas (wait cursor while it runs).
    void Compose();
    // Lays the canvas out for the window's client size.
    void ResizeLayout();
    // The cut-out tool's two buttons.
    void OptimiseCut();
    void CutOut();

    // ---- Document commands -------------------------------------------------------------
    // Each asks for what it needs (a file name, a size, a confirmation), then
    // does its work; the *File and NewBlankCanvas forms do the work alone.
    // A file that cannot be read or written is reported in a message box;
    // the open and load forms then return false having changed nothing.
    void NewCanvas();
    void NewBlankCanvas(int width, int height);
    void OpenCanvas();
    bool OpenCanvasFile(const FNString& path);
    void SaveCanvas();
    void SaveCanvasFile(const FNString& path);
    void LoadPart();
    bool LoadPartFile(const FNString& path);
    void SavePart();
    void SavePartFile(const FNString& path);
    void Combine();
    void ShowVersion();
    void Undo();
    void Redo();
    // Runs a menu command by its identifier; others are ignored.
    void RunCommand(int id);

    // ---- Reading the state (tests, diagnostics) ---------------------------------------
    FNExWindow* MainWindow() const { return m_mainWindow.get(); }
    bool IsReady() const { return ready; }
    int CurrentTool() const { return m_tool; }
    int CurrentPartState() const { return m_partState; }
    int ComposeMode() const { return m_composeMode; }
    q_Canvas* Canvas() const { return m_canvas.get(); }
    FN2DItem* PartItem() const { return m_partItem.get(); }
    FN2DItem* CutOverlay() const { return m_cutOverlay.get(); }
    q_TransformBox* TransformBox() const { return m_box.get(); }
    q_HistoryManager* History() const { return m_history.get(); }
    FNImage* BaseCanvas() const { return m_base; }
    FNImage* LoadedPart() const { return m_loadedPart; }
    FNImage* AdjustedPart() const { return m_adjustedPart; }
    FNImage* CutRegion() const { return m_cutRegion; }
    FNImage* ComposedPicture() const { return m_composed; }
    q_HueSlider* HueSlider() const { return m_hue.get(); }
    q_SaturationSlider* SaturationSlider() const { return m_saturation.get(); }
    q_ValueSlider* ValueSlider() const { return m_value.get(); }
    FNSlider* PenSizeSlider() const { return m_penSize.get(); }
    FNSlider* BlurSizeSlider() const { return m_blurSize.get(); }
    FNDropDownList* ComposeList() const { return m_composeList.get(); }
    // A widget of the panel by its text ("戻す", "ペン", ...), or null.
    FNWidget* PanelWidget(const FNString& text) const;
    // The editor's state as a history step records it.
    q_InfoRecord CaptureInfo() const;
    bool HasPart() const;

    // Where the diagnostic lines go (the standard output by default); set
    // before Initialise.
    void SetLog(std::ostream& log) { m_log = &log; }

    // ---- q_HistoryPictureHolder ------------------------------------------------------------
    // The current pictures and the open step's before-pictures.
    bool holdsPicture(const FNImage* picture) const override;

    // ---- q_BlurPenHost ---------------------------------------------------------------------
    int Tool() const override { return m_tool; }
    int PenSize() const override;
    FNImage* BasePicture() override { return m_base; }
    void OpenBaseStep() override;
    void CloseBaseStep() override;

    // ---- Handlers ----------------------------------------------------------------------------
    void OnCloseRequest(FNEventState event);
    void OnResized(FNEventState event);
    void OnMenuCommand(FNEventState event);
    void OnShortcut(FNEventState event);
    void OnFilesDropped(FNEventState event);
    // A click (a release over the button it was pressed on) of any panel
    // button.
    void OnButton(FNEventState event);
    void OnBlurSize(FNEventState event);
    void OnPenSize(FNEventState event);
    void OnColourPress(FNEventState event);
    void OnColourChange(FNEventState event);
    void OnColourRelease(FNEventState event);
    void OnComposeChoice(FNEventState event);
    void OnOverlayPress(FNEventState event);
    void OnOverlayMove(FNEventState event);
    void OnOverlayRelease(FNEventState event);
    void OnBoxPress(FNEventState event);
    void OnBoxMove(FNEventState event);
    void OnBoxRelease(FNEventState event);

    FNString text; // empty at creation
    bool ready = false;

protected:
    // What the commands ask the user; tests replace them to answer.
    // A file name from the open or save dialog; false when cancelled.
    virtual bool ChooseFile(bool saving, FNString& path);
    // The size from the new-canvas dialog; false when cancelled.
    virtual bool ChooseCanvasSize(int& width, int& height);
    // A message with an OK button, and a question with OK and Cancel.
    virtual void Tell(const FNString& caption, const FNString& message);
    virtual bool Confirm(const FNString& caption, const FNString& message);

private:
    // Initialise's parts (q_AppPanel.cpp, q_AppMenu.cpp).
    void BuildWindow();
    void BuildMenu();
    void BuildPanel();
    void BuildCanvasGroup();
    void BuildPartsGroup();
    void BuildCutOutGroup();
    void BuildColourGroup();
    void BuildSaveGroup();
    void BuildCanvas();
    void BuildPictures();
    void WirePanel();
    using Handler = void (q_App::*)(FNEventState);
    struct Binding {
        int code;
        Handler handler;
    };
    // One connector on the source with the given handlers.
    template <typename Source> void Listen(Source* source, std::initializer_list<Binding> bindings);

    // The seven part-tool buttons: inert without a part.
    void ToolButton(FNWidget* button);

    // The part item shows the adjusted part and the box its frame.
    void ShowPlacedPart();
    void ApplyBoxToPart();
    // The reverse: the box around the part as it lies (after a zoom).
    void FitBoxToPart();
    // The adjusted part from the loaded one and the colour sliders.
    void Readjust();
    void SetPartItemPicture(FNImage* picture);
    // The cut overlay shows the cut region at the adjusted part's size.
    void ShowCutOverlay();
    void HideCutOverlay();
    // The cut region becomes a new clear picture of the part's size.
    void StartFreshMark();
    bool IsCutOverlayShown() const;
    void SetWaitCursor(bool waiting);
    // The picture's pixels become the canvas (the picture is left empty).
    void ReplaceCanvas(FNImage& picture);
    void LogPlacement(const q_Placement& placement);

    // ---- History (q_AppHistory.cpp) ------------------------------------------------------
    // Opens a step over the given pictures: each becomes the step's
    // before-picture and is replaced by a copy; the info record is captured.
    void OpenStep(int pictures);
    // Closes the open step: the current pictures become the after-pictures
    // and one package is handed to the history.
    void CloseStep();
    // An info-only step from the before-record captured earlier.
    void BeginInfoStep();
    void CommitInfoStep();
    bool HistoryLocked() const;
    void Restore(q_HistoryPackege& package, bool before);
    void RestoreInfo(const q_InfoRecord& info);
    void RestorePartState(int partState);

    // ---- Window and panel ------------------------------------------------------------
    std::unique_ptr<FNExWindow> m_mainWindow;
    std::unique_ptr<FNPushButton> m_undo, m_redo;
    std::unique_ptr<FNFrame> m_canvasFrame;
    std::unique_ptr<FNPushButton> m_blankCanvas, m_loadCanvas;
    std::unique_ptr<FNOnOffButton> m_blurPen;
    std::unique_ptr<FNSlider> m_blurSize;
    std::unique_ptr<FNLabel> m_blurSizeLabel;
    std::unique_ptr<FNFrame> m_partsFrame;
    std::unique_ptr<FNPushButton> m_loadPart;
    std::unique_ptr<FNOnOffButton> m_move;
    std::unique_ptr<FNFrame> m_cutFrame;
    std::unique_ptr<FNLabel> m_cutTitle;
    std::unique_ptr<FNOnOffButton> m_pen, m_eraser;
    std::unique_ptr<FNLabel> m_penSizeCaption;
    std::unique_ptr<FNSlider> m_penSize;
    std::unique_ptr<FNLabel> m_penSizeLabel;
    std::unique_ptr<FNOnOffButton> m_fill, m_optimise, m_cut;
    std::unique_ptr<FNFrame> m_colourFrame;
    std::unique_ptr<FNLabel> m_colourTitle;
    std::unique_ptr<q_HueSlider> m_hue;
    std::unique_ptr<q_SaturationSlider> m_saturation;
    std::unique_ptr<q_ValueSlider> m_value;
    std::unique_ptr<FNLabel> m_hueCaption, m_saturationCaption, m_valueCaption;
    std::unique_ptr<FNLabel> m_composeCaption;
    std::unique_ptr<FNDropDownList> m_composeList;
    std::unique_ptr<FNOnOffButton> m_paste;
    std::unique_ptr<FNFrame> m_saveFrame;
    std::unique_ptr<FNLabel> m_saveTitle;
    std::unique_ptr<FNPushButton> m_saveCanvas, m_savePart;

    // ---- Canvas and the items over it --------------------------------------------------
    std::unique_ptr<q_Canvas> m_canvas;
    std::unique_ptr<q_BlurPenTool> m_blurTool;
    std::unique_ptr<FN2DItem> m_partItem;
    std::unique_ptr<FN2DItem> m_cutOverlay;
    std::unique_ptr<q_TransformBox> m_box;

    // Every connector, deleted before the widgets and items they listen to.
    std::vector<std::unique_ptr<FNEventConnector>> m_connectors;

    // ---- Pictures and history -------------------------------------------------------------
    FNImage* m_base = nullptr;
    FNImage* m_loadedPart = nullptr;
    FNImage* m_adjustedPart = nullptr;
    FNImage* m_cutRegion = nullptr;
    FNImage* m_composed = nullptr;
    std::unique_ptr<q_HistoryManager> m_history;
    q_InfoRecord m_infoBefore, m_infoAfter;
    int m_stepPictures = 0; // the pictures of the open step, 0 when none is open
    FNImage* m_beforeBase = nullptr; // the open step's before-pictures (history-owned)
    FNImage* m_beforeCutRegion = nullptr;
    FNImage* m_beforeParts = nullptr;
    std::ostream* m_log;

    // ---- State -------------------------------------------------------------------------------
    bool m_pressing = false; // a stroke or drag on the overlay or the box
    int m_lastX = 0, m_lastY = 0; // the stroke's last point, picture pixels
    bool m_initialised = false;
    bool m_versionShown = false; // the credit view is open
    int m_tool = NoTool;
    int m_partState = NoPart;
    int m_composeMode = 0;
    int m_adjustedColour[3] = { 0, 0, 0 }; // the slider values the adjusted part was made with
};
