#pragma once

#include "widgets/modal/FNModal.h"

#include <memory>

class FNEventConnector;
class FNExWindow;
class FNLabel;
class FNPushButton;
class FNStageBase;
class FNTextBox;
struct FNEventState;

// q_NewCanvasDialog: asks for the width and height of a new blank canvas in
// a small modal window ("新しいキャンバスを作成") with two text boxes of at
// most 4 letters, starting at "400" and "500", and OK and Cancel buttons.
//
//   OK        both values read as decimal numbers (leading digits count, no
//             digits read as 0); each must lie in 50 .. 1200, else a message
//             says so and the dialog stays
//   Cancel    the button or the window's close control: not accepted
//
// Run() is the whole round: the owner is disabled while the dialog's own
// engine runs, and enabled and activated again afterwards.
class q_NewCanvasDialog : public FNModal {
public:
    static constexpr int kMinimumSide = 50;
    static constexpr int kMaximumSide = 1200;

    // True, with the size, when the user confirmed valid values; false with
    // 0 x 0 otherwise.
    static bool Run(FNStageBase* owner, int& width, int& height);

    q_NewCanvasDialog();
    ~q_NewCanvasDialog() override;

    void OnOpen() override;
    void OnClose() override;

    void OnOk(FNEventState event);
    void OnCancel(FNEventState event);

    // The size check of OK: a value below 50 or above 1200 is refused.
    static bool IsValidSide(int side);

    bool accepted = false;
    int width = 0;
    int height = 0;

    FNExWindow* Window() const { return m_window.get(); }
    FNTextBox* WidthBox() const { return m_widthBox.get(); }
    FNTextBox* HeightBox() const { return m_heightBox.get(); }
    FNPushButton* OkButton() const { return m_ok.get(); }
    FNPushButton* CancelButton() const { return m_cancel.get(); }

protected:
    // Says that a value is out of range; tests replace it.
    virtual void TellOutOfRange();

private:
    std::unique_ptr<FNExWindow> m_window;
    std::unique_ptr<FNEventConnector> m_windowConnector;
    std::unique_ptr<FNLabel> m_widthCaption, m_heightCaption;
    std::unique_ptr<FNTextBox> m_widthBox, m_heightBox;
    std::unique_ptr<FNLabel> m_widthHint, m_heightHint;
    std::unique_ptr<FNPushButton> m_ok, m_cancel;
    std::unique_ptr<FNEventConnector> m_okConnector, m_cancelConnector;
};
