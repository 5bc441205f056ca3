#include "imaging/FNImage.h"
#include "widgets/looks/FNLook.h"
#include "widgets/looks/FNLooks.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

TEST(Look, SetStoresTheCallbackAndInfoAndDrawPassesThem)
{
    FNLook look;
    EXPECT_TRUE(look.Empty());
    FNImage target;
    look.Draw(&target, 5, 5); // an empty look draws nothing
    EXPECT_EQ(target.width, 1);

    FNLookInfo info;
    info.value = 7;
    info.data = int64_t(1) << 40;
    info.text = "x";
    info.state = 2;
    FNLookInfo seen;
    int calls = 0, seenWidth = 0;
    look.Set(info, [&](FNImage* t, int w, int, FNLookInfo i) {
        ++calls;
        seen = i;
        seenWidth = w;
        EXPECT_EQ(t, &target);
    });
    look.Draw(&target, 9, 4);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seenWidth, 9);
    EXPECT_EQ(seen.value, 7);
    EXPECT_EQ(seen.data, int64_t(1) << 40);
    EXPECT_EQ(seen.text, "x");
    EXPECT_EQ(seen.state, 2);

    bool replaced = false;
    look.Set({}, [&](FNImage*, int, int, FNLookInfo) { replaced = true; });
    look.Draw(&target, 1, 1);
    EXPECT_TRUE(replaced);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(look.Info().value, 0);
}

TEST(Look, LockIsRecursivePerThread)
{
    EXPECT_EQ(FNLookLock::Depth(), 0);
    FNLook inner, outer;
    int innerDepth = 0, outerDepth = 0, otherThreadDepth = -1;
    inner.Set({}, [&](FNImage*, int, int, FNLookInfo) { innerDepth = FNLookLock::Depth(); });
    outer.Set({}, [&](FNImage* t, int w, int h, FNLookInfo) {
        outerDepth = FNLookLock::Depth();
        inner.Draw(t, w, h); // a look drawing another look does not deadlock
        std::thread([&] { otherThreadDepth = FNLookLock::Depth(); }).join();
    });
    FNImage target;
    outer.Draw(&target, 2, 2);
    EXPECT_EQ(outerDepth, 1);
    EXPECT_EQ(innerDepth, 2);
    EXPECT_EQ(otherThreadDepth, 0);
    EXPECT_EQ(FNLookLock::Depth(), 0);
}

TEST(Look, LooksOfDifferentThreadsNeverOverlap)
{
    std::atomic<int> inside { 0 };
    std::atomic<bool> overlapped { false };
    FNLook look;
    look.Set({}, [&](FNImage*, int, int, FNLookInfo) {
        if (inside.fetch_add(1) != 0)
            overlapped = true;
        for (int i = 0; i < 200; ++i)
            std::this_thread::yield();
        inside.fetch_sub(1);
    });
    auto work = [&] {
        FNImage target;
        for (int i = 0; i < 50; ++i)
            look.Draw(&target, 1, 1);
    };
    std::thread a(work), b(work), c(work);
    a.join(), b.join(), c.join();
    EXPECT_FALSE(overlapped.load());
}

namespace {

const FNLookFunc kAllLooks[] = { FNFaceLook, FNHoverFaceLook, FNPressedFaceLook, FNOnFaceLook, FNDisabledOverlayLook,
    FNLabelLook, FNFrameLook, FNSliderTrackLook, FNDropDownBoxLook, FNDropDownBoxHighlightLook, FNDropDownListLook,
    FNScrollTrackLook, FNScrollButtonLook, FNSelectorLook, FNTextBoxLook, FNTextBoxFocusedLook, FNTitleBarLook,
    FNFrameBorderLook, FNMinimiseButtonLook, FNMaximiseButtonLook, FNRestoreButtonLook, FNCloseButtonLook };

} // namespace

TEST(Looks, EveryLookResizesItsTargetAndIgnoresSizesNotPositive)
{
    for (size_t i = 0; i < std::size(kAllLooks); ++i) {
        FNImage target(3, 3);
        target.fill(1, 2, 3, 4);
        kAllLooks[i](&target, 0, 10, {});
        kAllLooks[i](&target, 10, -1, {});
        kAllLooks[i](nullptr, 10, 10, {});
        ASSERT_EQ(target.width, 3) << "look " << i;
        int r, g, b;
        target.getColor(1, 1, r, g, b);
        EXPECT_EQ(r + g + b + target.getAlpha(1, 1), 1 + 2 + 3 + 4) << "look " << i;
        kAllLooks[i](&target, 17, 9, {});
        EXPECT_EQ(target.width, 17) << "look " << i;
        EXPECT_EQ(target.height, 9) << "look " << i;
    }
}

TEST(Looks, TinyAndLargeSizesStayInsideTheTarget)
{
    // Every state and part value, at sizes where rules overlap or glyphs do
    // not fit; the sanitizer build catches any write outside the picture.
    const int sizes[][2]
        = { { 1, 1 }, { 2, 2 }, { 3, 3 }, { 4, 4 }, { 1, 40 }, { 40, 1 }, { 5, 3 }, { 19, 7 }, { 200, 40 } };
    for (const FNLookFunc& look : kAllLooks) {
        for (const auto& size : sizes) {
            for (int state = -1; state <= 3; ++state) {
                for (int value = -1; value <= 5; ++value) {
                    FNImage target;
                    FNLookInfo info;
                    info.state = state;
                    info.value = value;
                    look(&target, size[0], size[1], info);
                    ASSERT_EQ(target.width, size[0]);
                }
            }
        }
    }
}
