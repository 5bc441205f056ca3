#include "widgets/modal/FNFileDialog.h"

#include "framework/engine/FNEngine.h"
#include "widgets/modal/FNFileDialogWindow.h"
#include "widgets/modal/FileDialogPaths.h"

namespace {

// The folder the last dialog of this run ended in (empty: none yet).
std::string& lastFolder()
{
    static std::string folder;
    return folder;
}

} // namespace

FNFileDialog::FNFileDialog()
{
    FN_SET_CLASS_NAME(FNFileDialog);
}

void FNFileDialog::ForgetLastFolder()
{
    lastFolder().clear();
}

bool FNFileDialog::AddFilter(const FNString& description, const FNString& extensionText)
{
    const size_t added = description.length() + 2 * extensionText.length() + 8;
    if (static_cast<size_t>(filterLength) + added > kFilterLimit)
        return false;
    filter += description + "(*." + extensionText + ");*." + extensionText + ";";
    filterLength = static_cast<int>(filter.length());
    return true;
}

bool FNFileDialog::Open()
{
    return Run(false);
}

bool FNFileDialog::Save()
{
    return Run(true);
}

bool FNFileDialog::Run(bool saving)
{
    path = FNString();
    FNFileDialogWindow::Setup setup;
    setup.saving = saving;
    setup.title = saving ? "保存するファイル名を指定してください" : "開くファイルを選んでください";
    setup.filters = splitFilterText(filter.str());
    setup.filterIndex = filterIndex;
    setup.folder = lastFolder().empty() ? workingFolder() : lastFolder();
    FNEngine* engine = FNEngine::Current();
    FNFileDialogWindow window(*this, setup);
    const bool chosen = window.Run(engine ? engine->MainStage() : nullptr);
    lastFolder() = window.Folder();
    if (!chosen)
        return false;
    path = FNString(window.ChosenPath());
    extension = path.extension();
    filterIndex = window.ChosenFilterIndex();
    return true;
}
