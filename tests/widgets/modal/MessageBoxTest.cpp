// Modal message and confirmation windows: each way a user ends one, and the
// owner blocked meanwhile and usable again afterwards.

#include "framework/platform/FNVirtualKey.h"
#include "framework/window/FNExWindow.h"
#include "tests/widgets/controls/WidgetFixture.h"
#include "widgets/modal/FNMessageBox.h"

#include <functional>

namespace {

// A message window whose user acts, once it is up, through `act`.
class Scripted : public FNMessageWindow {
public:
    Scripted(bool withCancel, std::function<void(Scripted&)> act, const FNString& text = "上書きしますか?\n二行目")
        : FNMessageWindow("確認", text, withCancel)
        , m_act(std::move(act))
    {
    }
    void OnFrame() override
    {
        // Give the window a few steps to appear, then act once.
        if (++frames == 3)
            m_act(*this);
        if (frames > 200)
            EndModal(); // a stuck window ends the test instead of hanging it
    }
    // A click at a point of the window's client area.
    void ClickAt(int clientX, int clientY)
    {
        const FNRect client = Window()->ClientRect();
        V::AdvanceMilliseconds(1000);
        V::SetPointer(client.left + clientX, client.top + clientY);
        V::SetButtons(FNButtonLeft);
        V::SetButtons(0);
    }
    int frames = 0;
    bool ownerEnabledMeanwhile = true;

private:
    std::function<void(Scripted&)> m_act;
};

struct Ending {
    const char* how;
    bool withCancel;
    std::function<void(Scripted&)> act;
    bool accepted;
};

const Ending kEndings[] = {
    { "Return", true, [](Scripted&) { V::PressKey(FNKeyReturn), V::ReleaseKey(FNKeyReturn); }, true },
    { "Escape", true, [](Scripted&) { V::PressKey(FNKeyEscape), V::ReleaseKey(FNKeyEscape); }, false },
    { "close control", true, [](Scripted& s) { V::RequestClose(s.Window()->Frame()->window); }, false },
    { "OK button", true,
        [](Scripted& s) {
            const FNRect client = s.Window()->ClientRect();
            s.ClickAt(client.right - client.left - 16 - 88 - 8 - 44, client.bottom - client.top - 16 - 11);
        },
        true },
    { "Cancel button", true,
        [](Scripted& s) {
            const FNRect client = s.Window()->ClientRect();
            s.ClickAt(client.right - client.left - 16 - 44, client.bottom - client.top - 16 - 11);
        },
        false },
    { "message closed", false, [](Scripted& s) { V::RequestClose(s.Window()->Frame()->window); }, true },
};

TEST_F(WidgetTest, EveryWayOfEndingAModalWindowGivesItsAnswerAndFreesTheOwner)
{
    for (const Ending& ending : kEndings) {
        bool ownerBlocked = false;
        Scripted window(ending.withCancel, [&](Scripted& s) {
            ownerBlocked = !stage->enabled;
            ending.act(s);
        });
        const bool accepted = window.Run(stage.get());
        EXPECT_LT(window.frames, 200) << ending.how << ": the window never ended";
        EXPECT_EQ(accepted, ending.accepted) << ending.how;
        EXPECT_TRUE(ownerBlocked) << ending.how;
        EXPECT_TRUE(stage->enabled) << ending.how;
        EXPECT_EQ(FNEngine::Current(), engine.get()) << ending.how << ": the nested engine is gone";
        // The owner takes input again: keys at once, and clicks.
        Counter presses, keys;
        FNEventConnector connector(stage.get());
        connector.Connect(FNEvent::LeftDown, &Counter::On, &presses);
        connector.Connect(FNEvent::StageKeyDown, &Counter::On, &keys);
        Step();
        V::PressKey('K'), V::ReleaseKey('K');
        Step(3);
        EXPECT_EQ(keys.events.size(), 1u) << ending.how << ": the owner has the keyboard focus back";
        V::AdvanceMilliseconds(1000);
        MoveTo(150, 150);
        V::SetButtons(FNButtonLeft), V::SetButtons(0);
        Step(3);
        EXPECT_EQ(presses.events.size(), 1u) << ending.how;
    }
}

TEST_F(WidgetTest, AModalWindowOpensCentredOverItsOwner)
{
    stage->SetRect(400, 300, 300, 200);
    Step();
    FNRect client;
    Scripted probe(true, [&](Scripted& s) {
        client = s.Window()->ClientRect();
        s.EndModal();
    });
    probe.Run(stage.get());
    EXPECT_NEAR((client.left + client.right) / 2, 400 + 150, 1);
    EXPECT_NEAR((client.top + client.bottom) / 2, 300 + 100, 1);
}

TEST_F(WidgetTest, TheOwnerPaintsWhatTheSystemAsksForWhileAModalWindowRuns)
{
    const int before = V::Window(stage->window).presentCount;
    Scripted window(false, [&](Scripted&) {
        V::Expose(stage->window, { 0, 0, 50, 50 }); // uncovered by another window
        engine->Synchronise();
        V::PressKey(FNKeyReturn), V::ReleaseKey(FNKeyReturn);
    });
    window.Run(stage.get());
    EXPECT_GT(V::Window(stage->window).presentCount, before);
}

TEST_F(WidgetTest, AMessageWindowIsSizedToItsText)
{
    int oneLine = 0, twoLines = 0, wide = 0;
    for (const char* text : { "短い", "短い\n二行目", "とても長い一行のメッセージです、とても長い" }) {
        int height = 0, width = 0;
        Scripted probe(
            false,
            [&](Scripted& s) {
                width = s.Window()->width;
                height = s.Window()->height;
                s.EndModal();
            },
            text);
        probe.Run(nullptr);
        if (!oneLine)
            oneLine = height, wide = width;
        else if (!twoLines)
            twoLines = height;
        else
            EXPECT_GT(width, wide);
    }
    EXPECT_GT(twoLines, oneLine);
}

} // namespace
