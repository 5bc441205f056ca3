// The slider as a user and its owner see it: values from thumb positions,
// presses on the groove, dragging the thumb, the events of each setting and
// the resize rule.

#include "tests/widgets/controls/WidgetFixture.h"
#include "widgets/controls/FNSlider.h"

namespace {

using Codes = std::vector<int>;

// The pen-size slider: 0 to 39, 45 wide, so the thumb travels 33 pixels.
// It lies at client (25, 50) to (70, 70).
class SliderTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        slider.maximum = 39;
        listener.Connect(FNEvent::ValueChanged, &Counter::On, &heard);
        listener.Connect(FNEvent::ValueUnchanged, &Counter::On, &heard);
    }
    void Place()
    {
        slider.PlaceIn(&scene);
        slider.SetValue(0);
        Step();
        heard.events.clear();
    }

    FNSlider slider { 50, 45, 20 };
    FNEventConnector listener { &slider };
    Counter heard;
};

TEST_F(SliderTest, ThumbPositionsGiveValuesByIntegerDivision)
{
    Place();
    EXPECT_EQ(slider.X(), 25);
    EXPECT_EQ(slider.Travel(), 33);
    const struct {
        int position, value, thumbX;
    } rows[] = {
        { 16, 18, 16 }, // 39 * 16 / 33 = 18.9
        { 0, 0, 0 },
        { 1, 1, 1 },
        { 32, 37, 32 },
        { 33, 39, 33 },
        { -7, 0, 0 },
        { 50, 39, 33 },
    };
    for (const auto& row : rows) {
        slider.SetThumbPosition(row.position);
        EXPECT_EQ(slider.Value(), row.value) << "position " << row.position;
        EXPECT_EQ(slider.ThumbX(), row.thumbX) << "position " << row.position;
    }
    slider.SetValue(18);
    EXPECT_EQ(slider.ThumbX(), 15) << "18 * 33 / 39 = 15.2";
}

TEST_F(SliderTest, APressOnTheGrooveCentresTheThumbOnThePointer)
{
    Place();
    const struct {
        int localX, thumbX, value;
    } rows[] = {
        { 22, 16, 18 },
        { 3, 0, 0 }, // the thumb cannot leave the groove
        { 44, 33, 39 },
        { 30, 24, 28 },
    };
    for (const auto& row : rows) {
        ClickAt(25 + row.localX, 60);
        EXPECT_EQ(slider.ThumbX(), row.thumbX) << "pressed at " << row.localX;
        EXPECT_EQ(slider.Value(), row.value) << "pressed at " << row.localX;
    }
    EXPECT_EQ(heard.Codes(), (Codes { 23, 23, 23, 23 }));
}

TEST_F(SliderTest, TheDraggedThumbFollowsThePointerUntilReleased)
{
    Place();
    PressAt(25 + 4, 60); // off the thumb's centre: it keeps that offset
    EXPECT_EQ(slider.ThumbX(), 0);
    MoveTo(25 + 4 + 16, 60);
    EXPECT_EQ(slider.ThumbX(), 16);
    EXPECT_EQ(slider.Value(), 18);
    MoveTo(280, 60);
    EXPECT_EQ(slider.Value(), 39) << "held at the end of the groove";
    MoveTo(25 + 4 + 5, 150); // off the slider, still held
    EXPECT_EQ(slider.ThumbX(), 5);
    EXPECT_EQ(slider.Value(), 5);
    Release();
    MoveTo(60, 60);
    EXPECT_EQ(slider.Value(), 5) << "released: moving no longer drags";
}

TEST_F(SliderTest, SettingsRaiseChangedOrUnchangedOnlyWhilePlaced)
{
    slider.SetValue(50);
    Step();
    EXPECT_EQ(slider.Value(), 39) << "unplaced: the limited value is stored";
    EXPECT_TRUE(heard.events.empty());

    slider.PlaceIn(&scene);
    EXPECT_EQ(slider.ThumbX(), 33) << "placed, the thumb shows the stored value";
    const struct {
        int set, value, code;
    } rows[] = {
        { 39, 39, FNEvent::ValueUnchanged },
        { 50, 39, FNEvent::ValueUnchanged }, // limited to what it already was
        { -3, 0, FNEvent::ValueChanged },
        { 0, 0, FNEvent::ValueUnchanged },
        { 20, 20, FNEvent::ValueChanged },
    };
    for (const auto& row : rows) {
        heard.events.clear();
        slider.SetValue(row.set);
        Step();
        EXPECT_EQ(slider.Value(), row.value) << "set " << row.set;
        EXPECT_EQ(heard.Codes(), (Codes { row.code })) << "set " << row.set;
    }
    EXPECT_EQ(heard.events[0].target, &slider);
}

TEST_F(SliderTest, AResizeLimitsTheValueAgainAndMovesTheThumb)
{
    Place();
    slider.SetValue(30);
    Step();
    slider.minimum = 20;
    slider.maximum = 10; // the resize raises the maximum to the minimum
    heard.events.clear();
    slider.Resize(81, 24);
    Step();
    EXPECT_EQ(slider.maximum, 20);
    EXPECT_EQ(slider.Value(), 20);
    EXPECT_EQ(heard.Codes(), (Codes { 23, 24 }));
    EXPECT_EQ(slider.ThumbRect().bottom, 24) << "the thumb takes the new height";

    slider.maximum = 89; // travel 69
    slider.SetValue(50);
    EXPECT_EQ(slider.ThumbX(), 30) << "(50 - 20) * 69 / 69";
}

} // namespace
