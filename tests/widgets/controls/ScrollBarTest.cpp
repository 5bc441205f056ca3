// The scroll bars as a user and their owner see them: thumb lengths, paging
// by presses on the track, the arrows' repeat while held (timed by the
// virtual clock), and the lists' integer bar.

#include "framework/scene/FN2DItem.h"
#include "tests/widgets/controls/WidgetFixture.h"
#include "widgets/controls/FNFloatScroll.h"
#include "widgets/controls/FNVScroll.h"

#include <functional>

namespace {

class ScrollBarTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        for (FNEventConnector* listener : { &onHorizontal, &onList }) {
            listener->Connect(FNEvent::ValueChanged, &Counter::On, &heard);
            listener->Connect(FNEvent::ValueUnchanged, &Counter::On, &heard);
        }
    }
    // The length of the thumb item the stage shows at a client point.
    int ShownLengthAt(int clientX, int clientY, bool vertical)
    {
        const std::vector<FN2DItemBase*> hits = stage->HitTest(clientX, clientY);
        if (hits.empty())
            return -1;
        return static_cast<int>(vertical ? hits.front()->height : hits.front()->width);
    }

    // Client (20, 40) to (236, 56): arrows of 16, a track of 184.
    FNHFloatScroll horizontal;
    // Client (250, 10) to (266, 194): the same along y.
    FNVFloatScroll vertical;
    // Client (280, 10) to (296, 194).
    FNVScroll list { 280, 10, 16, 184 };
    FNEventConnector onHorizontal { &horizontal };
    FNEventConnector onList { &list };
    Counter heard;
};

TEST_F(ScrollBarTest, ThumbLengthFollowsTheRangeButNeverFallsBelowTen)
{
    horizontal.SetRect(20, 40, 216, 16);
    vertical.SetRect(250, 10, 16, 184 + 32);
    horizontal.PlaceIn(&scene);
    vertical.PlaceIn(&scene);
    const struct {
        double range;
        int length;
    } rows[] = {
        { 0, 184 }, // an empty range: the thumb fills the track
        { 184, 92 }, // L * L / (range + L)
        { 1656, 18 }, { 3496, 10 }, // 9.2 becomes the minimum
        { 18400, 10 }, // a range of 100 tracks: a hundredth, but at least 10
    };
    for (const auto& row : rows) {
        horizontal.SetRange(-row.range / 2, row.range / 2);
        horizontal.SetValue(-row.range);
        vertical.SetRange(0, row.range);
        vertical.SetValue(-1);
        Step();
        EXPECT_EQ(horizontal.ThumbLength(), row.length) << "range " << row.range;
        EXPECT_EQ(ShownLengthAt(20 + 16 + 3, 48, false), row.length) << "range " << row.range;
        EXPECT_EQ(vertical.ThumbLength(), row.length) << "range " << row.range;
        EXPECT_EQ(ShownLengthAt(258, 10 + 16 + 3, true), row.length) << "range " << row.range;
    }
    horizontal.SetRange(8, 2); // reversed: an empty range at its start
    horizontal.SetValue(100);
    EXPECT_EQ(horizontal.Value(), 8);
    EXPECT_EQ(horizontal.ThumbPosition(), 0);
    EXPECT_EQ(horizontal.ThumbLength(), 184);
    horizontal.SetRect(20, 40, 2032, 16);
    horizontal.SetRange(0, 200000);
    EXPECT_EQ(horizontal.ThumbLength(), 20) << "2000 * 2000 / 202000 = 19.8";
}

TEST_F(ScrollBarTest, PressesOnTheTrackPageByAThumbLengthTowardThePointer)
{
    horizontal.SetRect(20, 40, 216, 16);
    horizontal.SetRange(0, 1000);
    horizontal.SetValue(300);
    Step();
    EXPECT_TRUE(heard.events.empty()) << "unplaced: no events";
    horizontal.PlaceIn(&scene);
    horizontal.SetValue(0);
    Step();
    heard.events.clear();
    // Thumb 29 long (184 * 184 / 1184 = 28.6), so it travels 155 pixels.
    ASSERT_EQ(horizontal.ThumbLength(), 29);
    const struct {
        int clientX, position;
        double value;
    } rows[] = {
        { 200, 29, 1000.0 * 29 / 155 }, { 200, 58, 1000.0 * 58 / 155 },
        { 40, 29, 1000.0 * 29 / 155 }, // before the thumb: back
        { 230 - 16, 58, 1000.0 * 58 / 155 }, { 215, 87, 1000.0 * 87 / 155 }, { 215, 116, 1000.0 * 116 / 155 },
        { 215, 145, 1000.0 * 145 / 155 }, { 215, 155, 1000 }, // the end of the travel is the maximum
    };
    for (const auto& row : rows) {
        ClickAt(row.clientX, 48);
        EXPECT_EQ(horizontal.ThumbPosition(), row.position) << "at " << row.clientX;
        EXPECT_DOUBLE_EQ(horizontal.Value(), row.value) << "at " << row.clientX;
    }
    EXPECT_EQ(heard.Codes(), std::vector<int>(8, FNEvent::ValueChanged));
}

// Each bar's forward arrow held down and let go, then a click on its back
// arrow. The clock only moves when the test says so.
TEST_F(ScrollBarTest, AHeldArrowStepsAtOnceAfter300AndThenEvery50)
{
    horizontal.SetRect(20, 40, 216, 16);
    vertical.SetRect(250, 10, 16, 184);
    for (FNWidget* bar : std::initializer_list<FNWidget*> { &horizontal, &vertical, &list })
        bar->PlaceIn(&scene);
    horizontal.SetRange(0, 100);
    vertical.SetRange(0, 100);
    vertical.step = 2.5;
    list.SetRange(100, 10);
    const struct {
        const char* bar;
        std::function<double()> value;
        int forwardX, forwardY, backX, backY;
        double step;
    } bars[] = {
        { "horizontal", [&] { return horizontal.Value(); }, 228, 48, 28, 48, 1 },
        { "vertical", [&] { return vertical.Value(); }, 258, 186, 258, 18, 2.5 },
        { "list", [&] { return double(list.Value()); }, 288, 186, 288, 18, 1 },
    };
    const struct {
        uint32_t wait;
        int steps; // taken since the press
    } timeline[] = {
        { 0, 1 },
        { 299, 1 },
        { 1, 2 },
        { 49, 2 },
        { 1, 3 },
        { 50, 4 },
        { 30, 4 },
        { 20, 5 },
    };
    for (const auto& bar : bars) {
        PressAt(bar.forwardX, bar.forwardY);
        for (const auto& moment : timeline) {
            V::AdvanceMilliseconds(moment.wait);
            Step();
            EXPECT_DOUBLE_EQ(bar.value(), moment.steps * bar.step) << bar.bar << " after " << moment.wait;
        }
        Release();
        for (int i = 0; i < 4; ++i) {
            V::AdvanceMilliseconds(50);
            Step();
        }
        EXPECT_DOUBLE_EQ(bar.value(), 5 * bar.step) << bar.bar << ": released, it stops";
        ClickAt(bar.backX, bar.backY);
        EXPECT_DOUBLE_EQ(bar.value(), 4 * bar.step) << bar.bar << ": the back arrow";
    }
}

TEST_F(ScrollBarTest, TheListBarScrollsRowsByArrowPageAndThumb)
{
    list.PlaceIn(&scene);
    list.SetRange(50, 10); // first rows 0 to 40
    Step();
    // Track 152: thumb 152 * 10 / 50 = 30.4, so 30; travel 122.
    EXPECT_EQ(list.ThumbLength(), 30);
    ClickAt(288, 150);
    EXPECT_EQ(list.Value(), 10) << "a page of the visible rows";
    ClickAt(288, 186);
    EXPECT_EQ(list.Value(), 11);
    const int thumbTop = 10 + 16 + list.ThumbPosition();
    PressAt(288, thumbTop + 5);
    MoveTo(288, thumbTop + 5 + 61); // half the travel further
    EXPECT_EQ(list.Value(), 31) << "the nearest row to where the thumb lies";
    MoveTo(288, 199);
    Release();
    EXPECT_EQ(list.Value(), 40);
    heard.events.clear();
    list.SetRange(5, 10); // every row fits
    Step();
    EXPECT_EQ(list.Value(), 0);
    EXPECT_EQ(list.ThumbLength(), 152);
    EXPECT_EQ(heard.Codes(), (std::vector<int> { FNEvent::ValueChanged }));
}

} // namespace
