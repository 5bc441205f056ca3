#pragma once

#include "imaging/FNString.h"
#include "widgets/modal/FNModal.h"
#include "widgets/modal/FileFilterText.h"

#include <memory>
#include <string>
#include <vector>

class FNDropDownList;
class FNEventConnector;
class FNExWindow;
class FNFileDialog;
class FNTransParentLabel;
class FNListView;
class FNMessageWindow;
class FNPushButton;
class FNTextBox;
class FNWidget;
struct FNEventState;

// The window of a file dialog, run modally on a nested engine:
//
//   path line, "上へ"        the folder shown; the button goes to its parent
//   list                     the folders ("name/") first, then the files of
//                            the selected type, each in natural name order
//     click / Up, Down       a file's name goes into the name box
//     double click, Return   a folder opens, a file is chosen
//   name box, Return or OK   a name, a relative or an absolute path ("~/"
//                            is the home folder): a folder opens, a file is
//                            chosen; with an empty box, the selected row
//   type list                the file types in order; a new type lists the
//                            folder again, and when saving renames the name
//                            to the type's extension
//   キャンセル, Escape, the window's close control   cancel
//
// Choosing, when opening: the file must exist, else a message says so and
// the dialog stays. When saving: a name without an extension gets ".bmp",
// the folder must exist, and an existing file is overwritten only when the
// user confirms. A folder that cannot be read is reported and the dialog
// stays where it was.
class FNFileDialogWindow : public FNModal {
public:
    struct Setup {
        bool saving = false;
        FNString title;
        std::vector<FileFilterEntry> filters;
        int filterIndex = 1; // counting from 1
        std::string folder; // where the dialog opens
    };

    FNFileDialogWindow(FNFileDialog& dialog, Setup setup);
    ~FNFileDialogWindow() override;

    // Runs the window over `owner` (or none); true when a file was chosen.
    bool Run(FNStageBase* owner);

    const std::string& ChosenPath() const { return m_chosen; }
    // The type selected at the end, counting from 1.
    int ChosenFilterIndex() const { return m_filterIndex; }
    // The folder shown at the end.
    const std::string& Folder() const { return m_folder; }
    // The rows shown, as the list holds them.
    std::vector<FNString> Rows() const;

    // ---- The parts, for whoever drives the dialog --------------------------
    FNExWindow* Window() const { return m_window.get(); }
    FNTransParentLabel* PathLine() const { return m_pathLine.get(); }
    FNPushButton* UpButton() const { return m_up.get(); }
    FNListView* List() const { return m_list.get(); }
    FNTextBox* NameBox() const { return m_name.get(); }
    FNDropDownList* TypeList() const { return m_types.get(); }
    FNPushButton* OkButton() const { return m_ok.get(); }
    FNPushButton* CancelButton() const { return m_cancel.get(); }
    // The message or question the dialog shows now, or null.
    FNMessageWindow* Question() const { return m_question; }

    void OnOpen() override;
    void OnClose() override;
    void OnFrame() override;

    void OnUp(FNEventState event);
    void OnOk(FNEventState event);
    void OnCancel(FNEventState event);
    void OnKey(FNEventState event);
    void OnRowSelected(FNEventState event);
    void OnRowChosen(FNEventState event);
    void OnTypeChosen(FNEventState event);

    // The dialog's frame hook, also while a message or question is up.
    void FrameHook();

private:
    struct Row {
        std::string name;
        bool folder;
    };

    void Build();
    template <typename Target> void Connect(Target target, int code, void (FNFileDialogWindow::*handler)(FNEventState));
    // Lists a folder and shows it; false when it cannot be read (the dialog
    // stays where it was, and the user is told when `tellIfUnreadable`).
    bool Enter(const std::string& folder, bool tellIfUnreadable = true);
    void ShowPath();
    const std::string& Pattern() const;
    void AcceptTyped();
    void AcceptPath(const std::string& typed);
    bool AcceptForSaving(std::string& target);
    void Finish(const std::string& chosen);
    bool Ask(const FNString& text, bool withCancel);
    bool FocusIsOnList() const;

    FNFileDialog& m_dialog;
    Setup m_setup;
    FNStageBase* m_owner = nullptr;
    int m_filterIndex;
    std::string m_folder;
    std::string m_chosen;
    std::vector<Row> m_rows;
    FNMessageWindow* m_question = nullptr;

    std::unique_ptr<FNExWindow> m_window;
    std::unique_ptr<FNTransParentLabel> m_pathLine;
    std::unique_ptr<FNPushButton> m_up;
    std::unique_ptr<FNListView> m_list;
    std::unique_ptr<FNTransParentLabel> m_nameLabel;
    std::unique_ptr<FNTextBox> m_name;
    std::unique_ptr<FNTransParentLabel> m_typeLabel;
    std::unique_ptr<FNDropDownList> m_types;
    std::unique_ptr<FNPushButton> m_ok;
    std::unique_ptr<FNPushButton> m_cancel;
    std::vector<std::unique_ptr<FNEventConnector>> m_connectors;
};
