// q_App's menu bar and keyboard shortcuts: both end in RunCommand.
#include "app/q_App.h"

#include "framework/engine/FNEngine.h"
#include "framework/events/FNEventState.h"
#include "framework/platform/FNVirtualKey.h"

#include "framework/window/FNExWindow.h"
#include "widgets/menu/FNWindowMenu.h"
#include <algorithm>
#include <iterator>

namespace {

struct MenuEntry {
    const char* column;
    const char* text;
    int id;
};

constexpr MenuEntry kMenu[] = {
    { "ファイル", "新しいキャンバスを作成する (Ctrl+N)", q_App::NewCanvasCommand },
    { "ファイル", "キャンバスの絵を読み込む (Ctrl+O)", q_App::OpenCanvasCommand },
    { "ファイル", "キャンバスの絵を保存する (Ctrl+S)", q_App::SaveCanvasCommand },
    { "パーツ", "パーツ画像を読み込む (Ctrl+P)", q_App::LoadPartCommand },
    { "パーツ", "パーツ画像を保存する (Ctrl+D)", q_App::SavePartCommand },
    { "編集", "１つ戻る (Ctrl+Z)", q_App::UndoCommand },
    { "編集", "１つ進む (Ctrl+Y)", q_App::RedoCommand },
    { "情報", "バージョン情報", q_App::VersionCommand },
};

// With Ctrl held, the first of these keys that is down wins.
struct Shortcut {
    int key;
    int command;
};

constexpr Shortcut kShortcuts[] = {
    { 'N', q_App::NewCanvasCommand },
    { 'O', q_App::OpenCanvasCommand },
    { 'S', q_App::SaveCanvasCommand },
    { 'P', q_App::LoadPartCommand },
    { 'D', q_App::SavePartCommand },
    { 'Z', q_App::UndoCommand },
    { 'Y', q_App::RedoCommand },
};

bool keyDown(const FNEngine& engine, int key)
{
    return (engine.System().keys[key] & 0x80) != 0;
}

} // namespace

void q_App::BuildMenu()
{
    FNWindowMenu menu;
    for (const MenuEntry& entry : kMenu) {
        menu.AddColumn(entry.column);
        menu.AddItem(entry.id, true, -1, entry.text, entry.column);
    }
    m_mainWindow->SetMenu(menu);
}

void q_App::OnMenuCommand(FNEventState event)
{
    RunCommand(event.param);
}

// Only the down of a command letter runs a command. Ctrl and its letter
// pressed between two steps give Ctrl's down with the letter already down
// in the keyboard snapshot, then the letter's own down: acting on both
// would run the command twice.
void q_App::OnShortcut(FNEventState event)
{
    const FNEngine* engine = FNEngine::Current();
    const auto isLetter = [&event](const Shortcut& shortcut) { return shortcut.key == event.key; };
    if (!engine || !keyDown(*engine, FNKeyControl)
        || std::none_of(std::begin(kShortcuts), std::end(kShortcuts), isLetter))
        return;
    for (const Shortcut& shortcut : kShortcuts)
        if (keyDown(*engine, shortcut.key)) {
            RunCommand(shortcut.command);
            return;
        }
}

void q_App::RunCommand(int id)
{
    switch (id) {
    case NewCanvasCommand:
        return NewCanvas();
    case OpenCanvasCommand:
        return OpenCanvas();
    case SaveCanvasCommand:
        return SaveCanvas();
    case LoadPartCommand:
        return LoadPart();
    case SavePartCommand:
        return SavePart();
    case UndoCommand:
        return Undo();
    case RedoCommand:
        return Redo();
    case VersionCommand:
        return ShowVersion();
    default:
        return; // not one of ours
    }
}
