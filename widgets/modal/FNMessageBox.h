#pragma once

#include "imaging/FNString.h"
#include "widgets/modal/FNModal.h"

#include <memory>
#include <vector>

class FNEventConnector;
class FNExWindow;
class FNLabel;
class FNPushButton;
struct FNEventState;

// A message, or a question to confirm, in a framework-drawn modal window:
// the caption as its title, the text (lines broken at "\n") and an "OK"
// button, or "OK" and "キャンセル". Return chooses OK, Escape and the
// window's close control cancel (for a message, both mean OK). The window is
// sized to its text and opens centred over the current engine's main stage,
// which it blocks meanwhile (or centred on the work area without one).
bool FNMessageBox(const FNString& caption, const FNString& text);
bool FNConfirmBox(const FNString& caption, const FNString& text);

// The window behind both; a program may also run one itself.
class FNMessageWindow : public FNModal {
public:
    FNMessageWindow(const FNString& caption, const FNString& text, bool withCancel);
    ~FNMessageWindow() override;

    // Runs the window modally over `owner` (or none) and returns true for OK.
    bool Run(FNStageBase* owner);
    bool Accepted() const { return m_accepted; }
    FNExWindow* Window() const { return m_window.get(); }

    void OnOpen() override;
    void OnClose() override;

    void OnOk(FNEventState event);
    void OnCancel(FNEventState event);
    void OnKey(FNEventState event);

private:
    void Finish(bool accepted);

    FNString m_caption;
    FNString m_text;
    bool m_withCancel;
    bool m_accepted = false;
    FNStageBase* m_owner = nullptr;
    std::unique_ptr<FNExWindow> m_window;
    std::unique_ptr<FNLabel> m_label;
    std::unique_ptr<FNPushButton> m_ok;
    std::unique_ptr<FNPushButton> m_cancel;
    std::vector<std::unique_ptr<FNEventConnector>> m_connectors;
};
