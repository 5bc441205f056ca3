// The main window as the user first meets it: the panel's start state, the
// tool buttons' radio behaviour, the size labels, the layout on resize, the
// menu and the keyboard shortcuts.
#include "tests/app/editor/EditorFixture.h"

#include "app/canvas/q_TransformBox.h"
#include "framework/platform/FNVirtualKey.h"
#include "widgets/controls/FNOnOffButton.h"
#include "widgets/controls/FNSlider.h"

namespace {

using EditorPanel = EditorTest;

TEST_F(EditorPanel, StartsWithAWhiteCanvasAndNothingToEdit)
{
    EXPECT_TRUE(app->IsReady());
    EXPECT_EQ(app->CurrentTool(), q_App::NoTool);
    EXPECT_EQ(app->CurrentPartState(), q_App::NoPart);
    EXPECT_EQ(app->ComposeMode(), 0);
    const FNImage& base = *app->BaseCanvas();
    ASSERT_EQ(base.width, 500);
    ASSERT_EQ(base.height, 540);
    EXPECT_EQ(pixelAt(base, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(pixelAt(base, 499, 539), 0xFFFFFFFFu);
    EXPECT_EQ(app->Canvas()->ShownPicture(), app->BaseCanvas());
    EXPECT_FALSE(app->PartItem()->visible);
    EXPECT_FALSE(app->TransformBox()->visible);

    // Undo and redo have nothing to do; the part tools wait for a part.
    for (const char* text : { "戻す", "進む", "移動変形", "ペン", "消し", "流しこみ", "最適化", "貼り付け" })
        EXPECT_FALSE(app->PanelWidget(text)->IsEnabled()) << text;
    for (const char* text :
        { "白紙キャンバス", "キャンバス読込", "ぼかしペン", "パーツ読み込み", "キャンバス保存", "パーツ保存" })
        EXPECT_TRUE(app->PanelWidget(text)->IsEnabled()) << text;
    EXPECT_EQ(app->BlurSizeSlider()->Value(), 9);
    EXPECT_EQ(app->PenSizeSlider()->Value(), 9);
}

TEST_F(EditorPanel, SizeLabelsShowTheSliderValuePlusOne)
{
    app->BlurSizeSlider()->SetValue(app->BlurSizeSlider()->maximum);
    Frame();
    EXPECT_EQ(app->BlurSizeSlider()->Value(), 39);
    ASSERT_NE(app->PanelWidget("40"), nullptr);
    EXPECT_EQ(app->PanelWidget("40")->ParentWidget(), app->BlurSizeSlider()->ParentWidget());
}

TEST_F(EditorPanel, TheCanvasTakesTheRestOfTheWindow)
{
    EXPECT_EQ(app->Canvas()->x, 240);
    EXPECT_EQ(app->Canvas()->width, 800 - 240 - 10);
    EXPECT_EQ(app->Canvas()->height, 600 - 20);
    app->MainWindow()->Resize(300, 400);
    Frame(3);
    EXPECT_EQ(app->Canvas()->width, 50);
    EXPECT_EQ(app->Canvas()->height, 380);
}

TEST_F(EditorPanel, BlurPenButtonLightsAloneAndToolButtonsNeedAPart)
{
    Click("ぼかしペン");
    EXPECT_EQ(app->CurrentTool(), q_App::BlurPen);
    EXPECT_TRUE(static_cast<FNOnOffButton*>(app->PanelWidget("ぼかしペン"))->on);
    // A second click keeps it lit: the buttons are a radio group.
    Click("ぼかしペン");
    EXPECT_TRUE(static_cast<FNOnOffButton*>(app->PanelWidget("ぼかしペン"))->on);

    // Without a part the part tools do nothing, even when reached.
    FNEventState click;
    click.code = FNEvent::LeftUp;
    click.widget = app->PanelWidget("ペン");
    app->OnButton(click);
    EXPECT_EQ(app->CurrentTool(), q_App::BlurPen);
    EXPECT_EQ(app->CurrentPartState(), q_App::NoPart);
    EXPECT_FALSE(static_cast<FNOnOffButton*>(app->PanelWidget("ペン"))->on);
}

TEST_F(EditorPanel, AReleaseOffTheButtonIsNoClick)
{
    const auto [x, y] = CentreOf(*app->PanelWidget("ぼかしペン"));
    Drag({ { x, y }, { x + 200, y + 200 } });
    EXPECT_EQ(app->CurrentTool(), q_App::NoTool);
    EXPECT_FALSE(static_cast<FNOnOffButton*>(app->PanelWidget("ぼかしペン"))->on) << "the lit state follows the tool";
}

// Ctrl with a letter runs a command; N is tested before O, so O pressed
// while N is held asks for a new canvas again, not for a file. Keys pressed
// together (between two steps) run their command once.
TEST_F(EditorPanel, ShortcutsNeedCtrlAndTheFirstLetterWins)
{
    struct Case {
        std::vector<int> keys;
        bool together;
        int sizeDialogs, fileDialogs;
    };
    const Case cases[] = {
        { { FNKeyControl, 'N', 'O' }, false, 2, 0 },
        { { FNKeyControl, 'O' }, false, 0, 1 },
        { { FNKeyControl, 'P' }, false, 0, 1 },
        { { 'N' }, false, 0, 0 },
        { { FNKeyControl, 'Q' }, false, 0, 0 },
        { { FNKeyControl, 'S' }, true, 0, 1 },
        { { FNKeyControl, 'N' }, true, 1, 0 },
    };
    for (const Case& c : cases) {
        app->sizeDialogs = app->fileDialogs = 0;
        for (int key : c.keys) {
            V::PressKey(key);
            if (!c.together)
                Frame(2);
        }
        Frame(2);
        for (auto key = c.keys.rbegin(); key != c.keys.rend(); ++key) {
            V::ReleaseKey(*key);
            Frame(2);
        }
        EXPECT_EQ(app->sizeDialogs, c.sizeDialogs) << c.keys.size() << (c.together ? " together" : "");
        EXPECT_EQ(app->fileDialogs, c.fileDialogs) << c.keys.size() << (c.together ? " together" : "");
    }
}

TEST_F(EditorPanel, MenuCommandsRouteToTheirCommands)
{
    app->RunCommand(q_App::OpenCanvasCommand);
    app->RunCommand(q_App::SaveCanvasCommand);
    app->RunCommand(q_App::NewCanvasCommand);
    app->RunCommand(77);
    EXPECT_EQ(app->fileDialogs, 2);
    EXPECT_EQ(app->dialogsSaving, (std::vector<bool> { false, true }));
    EXPECT_EQ(app->sizeDialogs, 1);
    app->RunCommand(q_App::SavePartCommand);
    EXPECT_EQ(app->told, (std::vector<std::string> { "パーツの保存失敗: パーツがないため保存できません。" }));
    EXPECT_EQ(app->fileDialogs, 2) << "no part, no dialog";
}

TEST_F(EditorPanel, ClosingTheWindowStopsTheEngine)
{
    V::RequestClose(app->MainWindow()->Frame()->window);
    Frame(3);
    EXPECT_TRUE(engine->IsStopping());
}

} // namespace
