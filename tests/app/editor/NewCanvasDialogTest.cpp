// The new-canvas dialog run as the editor runs it, over its owner, with the
// user typing into the boxes and clicking OK, or closing the window.
#include "app/dialogs/q_NewCanvasDialog.h"
#include "framework/window/FNExWindow.h"
#include "tests/widgets/controls/WidgetFixture.h"
#include "widgets/controls/FNPushButton.h"
#include "widgets/controls/FNTextBox.h"

#include <string>

namespace {

// The user at the dialog: each frame of its loop does the next move.
class UserAtDialog : public q_NewCanvasDialog {
public:
    std::string widthText, heightText;
    bool closeInstead = false;
    bool retype = true; // false: OK on the texts the dialog starts with
    int refusals = 0;

    void OnFrame() override
    {
        ++frame;
        if (closeInstead) {
            if (frame == 2)
                V::RequestClose(Window()->Frame()->window);
            return;
        }
        // A click into each box, then its text replaced by typing.
        if (retype) {
            if (frame == 2)
                ClickCentre(*WidthBox());
            if (frame == 5)
                Type(*WidthBox(), widthText);
            if (frame == 8)
                ClickCentre(*HeightBox());
            if (frame == 11)
                Type(*HeightBox(), heightText);
        }
        if (frame == 15)
            ClickCentre(*OkButton());
        if (frame == 30) // still open after a refused OK
            V::RequestClose(Window()->Frame()->window);
    }

protected:
    void TellOutOfRange() override { ++refusals; }

private:
    void Type(FNTextBox& box, const std::string& text)
    {
        box.SetText("");
        if (!text.empty())
            V::TypeText(text);
    }
    void ClickCentre(const FNWidget& widget)
    {
        const FNRect& client = Window()->ClientRect();
        V::AdvanceMilliseconds(1000);
        V::SetPointer(client.left + widget.X() + widget.Width() / 2, client.top + widget.Y() + widget.Height() / 2);
        V::SetButtons(FNButtonLeft), V::SetButtons(0);
    }
    int frame = 0;
};

class NewCanvasDialog : public VirtualScreenTest {
protected:
    void SetUp() override
    {
        VirtualScreenTest::SetUp();
        owner = std::make_unique<FNExWindow>(50, 50, 400, 300, "owner");
        owner->Open(true, nullptr, engine.get());
        Step(2);
    }
    void TearDown() override
    {
        owner.reset();
        VirtualScreenTest::TearDown();
    }
    std::unique_ptr<FNExWindow> owner;
};

TEST_F(NewCanvasDialog, AcceptsSidesFrom50To1200AndRefusesTheRest)
{
    struct Case {
        const char *width, *height;
        bool accepted;
        int acceptedWidth, acceptedHeight;
    } const cases[] = {
        { "400", "500", true, 400, 500 }, { "50", "1200", true, 50, 1200 },
        { "12a", "300", false, 0, 0 }, // leading digits count: 12 is too small
        { "120x", "99", true, 120, 99 }, { "49", "500", false, 0, 0 }, { "1201", "500", false, 0, 0 },
        { "-5", "500", false, 0, 0 }, { "", "500", false, 0, 0 },
        { "99999", "500", false, 0, 0 }, // the box takes four letters: 9999
    };
    for (const Case& c : cases) {
        UserAtDialog dialog;
        dialog.widthText = c.width;
        dialog.heightText = c.height;
        dialog.DoModal(owner.get());
        EXPECT_EQ(dialog.accepted, c.accepted) << c.width << " x " << c.height;
        EXPECT_EQ(dialog.refusals, c.accepted ? 0 : 1) << c.width << " x " << c.height;
        if (c.accepted) {
            EXPECT_EQ(dialog.width, c.acceptedWidth);
            EXPECT_EQ(dialog.height, c.acceptedHeight);
        }
        EXPECT_TRUE(owner->enabled) << "the owner is enabled again";
    }
}

TEST_F(NewCanvasDialog, ClosingTheWindowCancels)
{
    UserAtDialog dialog;
    dialog.closeInstead = true;
    dialog.DoModal(owner.get());
    EXPECT_FALSE(dialog.accepted);
    EXPECT_EQ(dialog.refusals, 0);
}

TEST_F(NewCanvasDialog, StartsFromFourHundredByFiveHundredEachTime)
{
    UserAtDialog first;
    first.widthText = "60";
    first.heightText = "70";
    first.DoModal(owner.get());
    EXPECT_EQ(first.width, 60);
    UserAtDialog second;
    second.retype = false;
    second.DoModal(owner.get());
    EXPECT_TRUE(second.accepted);
    EXPECT_EQ(second.width, 400);
    EXPECT_EQ(second.height, 500);
}

} // namespace
