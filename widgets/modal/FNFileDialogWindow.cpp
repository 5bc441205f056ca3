#include "widgets/modal/FNFileDialogWindow.h"

#include "framework/engine/FNEngine.h"
#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/platform/FNVirtualKey.h"
#include "framework/scene/FN2DItem.h"
#include "framework/window/FNExWindow.h"
#include "imaging/text/TextLayout.h"
#include "imaging/text/Utf8.h"
#include "widgets/controls/FNDropDownList.h"
#include "widgets/controls/FNLabel.h"
#include "widgets/controls/FNListView.h"
#include "widgets/controls/FNPushButton.h"
#include "widgets/controls/FNTextBox.h"
#include "widgets/modal/FNFileDialog.h"
#include "widgets/modal/FNMessageBox.h"
#include "widgets/modal/FileDialogPaths.h"
#include "widgets/modal/FolderListing.h"
#include "widgets/modal/ModalPlacement.h"

#include <algorithm>
#include <filesystem>
#include <limits>

namespace {

// Whether the system refuses to say what `path` is, because a folder on the
// way may not be searched. Such a file may well be there: opening it is
// left to the caller, whose reading then tells the reason.
bool lookIsRefused(const std::string& path)
{
    std::error_code error;
    (void)std::filesystem::status(path, error);
    return error == std::errc::permission_denied;
}

// Client area 520 x 412: the path line, the list, the name and type rows and
// the buttons, 10 pixels from the edges.
constexpr int kWidth = 520;
constexpr int kHeight = 412;
constexpr int kMargin = 10;
constexpr int kRowHeight = 22;
constexpr int kUpWidth = 50;
constexpr int kButtonWidth = 84;
constexpr int kListTop = 40;
constexpr int kListHeight = 272; // fifteen rows
constexpr int kNameTop = 322;
constexpr int kTypeTop = 352;
constexpr int kButtonTop = 382;
constexpr const char* kDefaultExtension = "bmp";

// The path as it fits a line `width` pixels wide: whole, or its end after
// "…", cut at a letter boundary.
FNString fittedPath(const std::string& path, int width)
{
    if (measureString(path, nullptr).width <= width)
        return path;
    for (size_t from = utf8NextBoundary(path, 0); from < path.size(); from = utf8NextBoundary(path, from)) {
        const FNString tail = "…" + path.substr(from);
        if (measureString(tail, nullptr).width <= width)
            return tail;
    }
    return "…";
}

// A message or question of the dialog: the window FNMessageBox and
// FNConfirmBox show, with the dialog's frame hook running meanwhile.
class DialogQuestion : public FNMessageWindow {
public:
    DialogQuestion(FNFileDialogWindow& dialog, const FNString& caption, const FNString& text, bool withCancel)
        : FNMessageWindow(caption, text, withCancel)
        , m_dialog(dialog)
    {
    }
    void OnFrame() override { m_dialog.FrameHook(); }

private:
    FNFileDialogWindow& m_dialog;
};

} // namespace

FNFileDialogWindow::FNFileDialogWindow(FNFileDialog& dialog, Setup setup)
    : m_dialog(dialog)
    , m_setup(std::move(setup))
    , m_filterIndex(m_setup.filterIndex)
    , m_folder(m_setup.folder)
{
    FN_SET_CLASS_NAME(FNFileDialogWindow);
    if (m_filterIndex < 1 || m_filterIndex > static_cast<int>(m_setup.filters.size()))
        m_filterIndex = 1;
}

FNFileDialogWindow::~FNFileDialogWindow()
{
    if (open)
        OnClose();
}

bool FNFileDialogWindow::Run(FNStageBase* owner)
{
    m_owner = owner;
    m_chosen.clear();
    DoModal(owner);
    return !m_chosen.empty();
}

std::vector<FNString> FNFileDialogWindow::Rows() const
{
    std::vector<FNString> rows;
    for (int i = 0; m_list && i < m_list->RowCount(); ++i)
        rows.push_back(m_list->Row(i));
    return rows;
}

// ---- Building and tearing down -----------------------------------------------------

template <typename Target>
void FNFileDialogWindow::Connect(Target target, int code, void (FNFileDialogWindow::*handler)(FNEventState))
{
    m_connectors.push_back(std::make_unique<FNEventConnector>(target));
    m_connectors.back()->Connect(code, handler, this);
}

void FNFileDialogWindow::OnOpen()
{
    const FNRect where = modalPlacement(m_owner, kWidth, kHeight);
    m_window = std::make_unique<FNExWindow>(where.left, where.top, kWidth, kHeight, m_setup.title);
    m_window->allowMaximise = false;
    m_window->allowMinimise = false;
    m_window->resizable = false;
    Build();
    m_window->Open(true, nullptr, engine);
    m_window->Activate();
    m_name->RequestFocus();
    // A remembered folder that has gone since gives way to the working
    // folder, without a message: the user asked for none of them.
    if (!Enter(m_folder, false) && !Enter(workingFolder(), false))
        Enter("/", false);
}

void FNFileDialogWindow::Build()
{
    const int textHeight = measureString("ファイル名", nullptr).height;
    const int labelWidth
        = std::max(measureString("ファイル名:", nullptr).width, measureString("ファイルの種類:", nullptr).width) + 8;
    const int fieldX = kMargin + labelWidth;
    const int fieldWidth = kWidth - kMargin - fieldX;
    const int textDrop = (kRowHeight - textHeight) / 2; // labels sit level with the fields' text

    const int pathWidth = kWidth - 3 * kMargin - kUpWidth;
    m_pathLine = std::make_unique<FNTransParentLabel>(kMargin, kMargin + textDrop, pathWidth, textHeight, FNString());
    m_up = std::make_unique<FNPushButton>(kWidth - kMargin - kUpWidth, kMargin, kUpWidth, kRowHeight, "上へ");
    m_list = std::make_unique<FNListView>(kListTop, kListHeight);
    m_list->SetRect(kMargin, kListTop, kWidth - 2 * kMargin, kListHeight);
    m_nameLabel
        = std::make_unique<FNTransParentLabel>(kMargin, kNameTop + textDrop, labelWidth, textHeight, "ファイル名:");
    m_name = std::make_unique<FNTextBox>(fieldX, kNameTop, fieldWidth, kRowHeight, FNString());
    m_typeLabel
        = std::make_unique<FNTransParentLabel>(kMargin, kTypeTop + textDrop, labelWidth, textHeight, "ファイルの種類:");
    m_types = std::make_unique<FNDropDownList>();
    m_types->SetRect(fieldX, kTypeTop, fieldWidth, FNDropDownList::kHeight);
    for (const FileFilterEntry& entry : m_setup.filters)
        m_types->AddEntry(entry.display);
    m_ok = std::make_unique<FNPushButton>(
        kWidth - 2 * (kMargin + kButtonWidth), kButtonTop, kButtonWidth, kRowHeight, m_setup.saving ? "保存" : "開く");
    m_cancel = std::make_unique<FNPushButton>(
        kWidth - kMargin - kButtonWidth, kButtonTop, kButtonWidth, kRowHeight, "キャンセル");
    for (FNWidget* widget : std::initializer_list<FNWidget*> { m_pathLine.get(), m_up.get(), m_list.get(),
             m_nameLabel.get(), m_name.get(), m_typeLabel.get(), m_types.get(), m_ok.get(), m_cancel.get() })
        widget->PlaceIn(m_window->RootItem());
    m_list->SetPlaceholderShown(false);
    m_name->SetMaxLength(std::numeric_limits<int>::max()); // paths are never cut
    if (!m_setup.filters.empty())
        m_types->SelectByText(m_setup.filters[m_filterIndex - 1].display);

    Connect(static_cast<FNWidget*>(m_up.get()), FNEvent::LeftUp, &FNFileDialogWindow::OnUp);
    Connect(static_cast<FNWidget*>(m_ok.get()), FNEvent::LeftUp, &FNFileDialogWindow::OnOk);
    Connect(static_cast<FNWidget*>(m_cancel.get()), FNEvent::LeftUp, &FNFileDialogWindow::OnCancel);
    Connect(static_cast<FNWidget*>(m_list.get()), FNEvent::SelectionSet, &FNFileDialogWindow::OnRowSelected);
    Connect(static_cast<FNWidget*>(m_list.get()), FNEvent::SelectionChosen, &FNFileDialogWindow::OnRowChosen);
    Connect(static_cast<FNWidget*>(m_types.get()), FNEvent::SelectionChosen, &FNFileDialogWindow::OnTypeChosen);
    Connect(static_cast<FNStageBase*>(m_window.get()), FNEvent::CloseRequest, &FNFileDialogWindow::OnCancel);
    Connect(static_cast<FNStageBase*>(m_window.get()), FNEvent::StageKeyDown, &FNFileDialogWindow::OnKey);
}

void FNFileDialogWindow::OnClose()
{
    m_connectors.clear();
    m_cancel.reset();
    m_ok.reset();
    m_types.reset();
    m_typeLabel.reset();
    m_name.reset();
    m_nameLabel.reset();
    m_list.reset();
    m_up.reset();
    m_pathLine.reset();
    m_window.reset();
}

void FNFileDialogWindow::OnFrame()
{
    FrameHook();
}

void FNFileDialogWindow::FrameHook()
{
    m_dialog.OnDialogFrame(*this);
}

// ---- The folder shown --------------------------------------------------------------

const std::string& FNFileDialogWindow::Pattern() const
{
    static const std::string everything = "*.*";
    return m_setup.filters.empty() ? everything : m_setup.filters[m_filterIndex - 1].pattern;
}

bool FNFileDialogWindow::Enter(const std::string& folder, bool tellIfUnreadable)
{
    const FolderListing listing = listFolder(folder, Pattern());
    if (!listing.readable) {
        if (tellIfUnreadable)
            Ask(FNString(folder) + "\nこのフォルダを開けません。", false);
        return false;
    }
    m_folder = folder;
    m_rows.clear();
    std::vector<FNString> shown;
    for (const std::string& name : listing.folders) {
        m_rows.push_back({ name, true });
        shown.push_back(FNString(name + "/"));
    }
    for (const std::string& name : listing.files) {
        m_rows.push_back({ name, false });
        shown.push_back(FNString(name));
    }
    m_list->SetRows(shown);
    m_list->Select(-1); // a row of the folder left behind marks nothing here
    ShowPath();
    return true;
}

void FNFileDialogWindow::ShowPath()
{
    m_pathLine->SetText(fittedPath(m_folder, m_pathLine->Width()));
    m_up->SetEnabled(m_folder != "/");
}

// ---- Choosing ------------------------------------------------------------------------

void FNFileDialogWindow::AcceptTyped()
{
    const FNString typed = m_name->GetText();
    if (!typed.empty())
        AcceptPath(typed.str());
    else if (m_list->Selected() >= 0)
        OnRowChosen(FNEventState());
}

void FNFileDialogWindow::AcceptPath(const std::string& typed)
{
    std::string target = resolveTypedPath(m_folder, typed);
    if (isFolder(target)) {
        if (Enter(target))
            m_name->SetText(FNString());
        return;
    }
    if (typed.back() == '/') {
        Ask(FNString(typed) + "\nフォルダが見つかりません。", false);
        return;
    }
    if (m_setup.saving ? AcceptForSaving(target) : isRegularFile(target) || lookIsRefused(target))
        Finish(target);
    else if (!m_setup.saving)
        Ask(FNString(typed) + "\nファイルが見つかりません。\nファイル名を確認してください。", false);
}

bool FNFileDialogWindow::AcceptForSaving(std::string& target)
{
    if (FNString(target).extension().empty())
        target += std::string(".") + kDefaultExtension;
    if (!isFolder(parentFolder(target))) {
        Ask(FNString(parentFolder(target)) + "\nフォルダが見つかりません。", false);
        return false;
    }
    if (isFolder(target)) {
        Enter(target);
        return false;
    }
    return !pathExists(target) || Ask(FNString(target) + " は既に存在します。\n上書きしますか?", true);
}

void FNFileDialogWindow::Finish(const std::string& chosen)
{
    m_chosen = chosen;
    m_folder = parentFolder(chosen);
    EndModal();
}

bool FNFileDialogWindow::Ask(const FNString& text, bool withCancel)
{
    DialogQuestion question(*this, m_setup.title, text, withCancel);
    m_question = &question;
    const bool accepted = question.Run(m_window.get());
    m_question = nullptr;
    return accepted;
}

// ---- Handlers --------------------------------------------------------------------------

void FNFileDialogWindow::OnUp(FNEventState event)
{
    if (m_up->ContainsLocal(event.localX, event.localY) && m_folder != "/")
        Enter(parentFolder(m_folder));
}

void FNFileDialogWindow::OnOk(FNEventState event)
{
    if (m_ok->ContainsLocal(event.localX, event.localY))
        AcceptTyped();
}

void FNFileDialogWindow::OnCancel(FNEventState event)
{
    if (event.code == FNEvent::LeftUp && !m_cancel->ContainsLocal(event.localX, event.localY))
        return;
    m_chosen.clear();
    EndModal();
}

bool FNFileDialogWindow::FocusIsOnList() const
{
    FNEngine* current = FNEngine::Current();
    const FNWidget* focus = current ? current->current.focusWidget : nullptr;
    return focus && (focus == m_list.get() || focus->ParentWidget() == m_list.get());
}

void FNFileDialogWindow::OnKey(FNEventState event)
{
    if (event.key == FNKeyEscape)
        OnCancel(event);
    else if (event.key == FNKeyReturn && !(FocusIsOnList() && m_list->Selected() >= 0))
        AcceptTyped(); // Return on the list chooses its row itself
}

void FNFileDialogWindow::OnRowSelected(FNEventState)
{
    const int index = m_list->Selected();
    if (index >= 0 && index < static_cast<int>(m_rows.size()) && !m_rows[index].folder)
        m_name->SetText(FNString(m_rows[index].name));
}

void FNFileDialogWindow::OnRowChosen(FNEventState)
{
    const int index = m_list->Selected();
    if (index < 0 || index >= static_cast<int>(m_rows.size()))
        return;
    const Row row = m_rows[index];
    if (row.folder)
        Enter(joinPath(m_folder, row.name));
    else
        AcceptPath(row.name);
}

void FNFileDialogWindow::OnTypeChosen(FNEventState)
{
    const auto& entries = m_types->Entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].get() == m_types->Group().Selected())
            m_filterIndex = static_cast<int>(i) + 1;
    }
    Enter(m_folder);
    if (m_setup.saving)
        m_name->SetText(FNString(renamedForType(m_name->GetText().str(), m_types->GetText().str())));
}
