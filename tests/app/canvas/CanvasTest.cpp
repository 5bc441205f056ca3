// The canvas on a stage of the virtual window system: zoom and pan with the
// pointer, wheel and keys as a user would, the scroll bars, and the blur pen.

#include "app/canvas/q_BlurPenTool.h"
#include "app/canvas/q_Canvas.h"
#include "framework/engine/FNEngine.h"
#include "framework/platform/FNVirtualKey.h"
#include "framework/platform/virtual/FNVirtualPlatform.h"
#include "framework/scene/FN2DScene.h"
#include "framework/stage/FN2DStage.h"
#include "imaging/FNImage.h"
#include "widgets/controls/FNFloatScroll.h"

#include <gtest/gtest.h>

#include <memory>

namespace V = FNVirtualPlatform;

namespace {

// An 800 x 600 stage at the screen's origin; the canvas at (240, 10), 540 x
// 580, so its viewport is 524 x 564 and a 300 x 200 picture at zoom 1 lies
// centred in it: from (240 + 112, 10 + 182) to (652, 392).
class CanvasTest : public ::testing::Test, public q_BlurPenHost {
protected:
    void SetUp() override
    {
        V::Reset();
        V::SetMilliseconds(10000);
        engine = std::make_unique<FNEngine>();
        ASSERT_TRUE(engine->Platform());
        stage = std::make_unique<FN2DStage>(0, 0, 800, 600, "canvas");
        stage->SetScene(&scene);
        stage->Open(true, nullptr, engine.get());
        canvas = std::make_unique<q_Canvas>();
        scene.AddItem(canvas.get());
        canvas->LayOut(240, 10, 540, 580);
        base = std::make_unique<FNImage>(300, 200);
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 300; ++x)
                base->setColor(x, y, (x * 7) & 255, (y * 5) & 255, (x * y) & 255, 255);
        canvas->ShowPicture(base.get());
        Step(2);
    }
    void TearDown() override
    {
        pen.reset();
        scene.RemoveItem(canvas.get());
        canvas.reset();
        stage.reset();
        engine.reset();
    }
    void Step(int count = 1)
    {
        for (int i = 0; i < count; ++i) {
            engine->Synchronise();
            engine->RunStep(false);
        }
    }
    void Hover(int x, int y)
    {
        V::SetPointer(x, y);
        Step(3); // the canvas takes the focus on hover
    }
    void Notch(int delta)
    {
        V::Wheel(delta);
        Step(2);
    }
    void Click()
    {
        V::AdvanceMilliseconds(1000);
        V::SetButtons(FNButtonLeft), V::SetButtons(0);
        Step(3);
    }
    void Hold(int key) { V::PressKey(key), Step(2); }
    void Let(int key) { V::ReleaseKey(key), Step(2); }

    // ---- q_BlurPenHost ----
    int Tool() const override { return tool; }
    int PenSize() const override { return penSize; }
    FNImage* BasePicture() override { return base.get(); }
    void OpenBaseStep() override
    {
        ++opened;
        before = std::move(base);
        base = std::make_unique<FNImage>(1, 1);
        base->copyFrom(before.get());
    }
    void CloseBaseStep() override { ++closed; }

    FN2DScene scene;
    std::unique_ptr<FNEngine> engine;
    std::unique_ptr<FN2DStage> stage;
    std::unique_ptr<q_Canvas> canvas;
    std::unique_ptr<FNImage> base, before;
    std::unique_ptr<q_BlurPenTool> pen;
    int tool = 0, penSize = 9, opened = 0, closed = 0;
};

constexpr int kOnPicture[2] = { 500, 300 };
constexpr int kOnBackdrop[2] = { 260, 30 };

TEST_F(CanvasTest, WheelZoomStepsAndTheDoubleDispatchOverThePicture)
{
    Hover(kOnBackdrop[0], kOnBackdrop[1]);
    for (double expected : { 1.25, 1.5625, 1.953125, 2.44140625 }) {
        Notch(-120);
        EXPECT_DOUBLE_EQ(canvas->Zoom(), expected);
    }
    canvas->SetZoom(1.25);
    Notch(120); // away from the user: 1.25 / 1.25
    EXPECT_DOUBLE_EQ(canvas->Zoom(), 1);
    // Over the picture the canvas's handlers run twice: 1 -> 1.5625.
    Hover(kOnPicture[0], kOnPicture[1]);
    Notch(-120);
    EXPECT_DOUBLE_EQ(canvas->Zoom(), 1.5625);
}

TEST_F(CanvasTest, SpaceCtrlClicksZoomAndTheStepNearOneSnaps)
{
    Hover(kOnBackdrop[0], kOnBackdrop[1]);
    Hold(FNKeySpace);
    Hold(FNKeyLeftControl);
    Click();
    EXPECT_DOUBLE_EQ(canvas->Zoom(), 1.5);
    Let(FNKeyLeftControl);
    Let(FNKeySpace);
    Notch(120);
    EXPECT_DOUBLE_EQ(canvas->Zoom(), 1.2);
    Notch(120); // 0.96 is within (0.92, 1.08): exactly 1
    EXPECT_DOUBLE_EQ(canvas->Zoom(), 1);
    // With Alt too, a click zooms out.
    Hold(FNKeySpace);
    Hold(FNKeyLeftControl);
    Hold(FNKeyLeftAlt);
    Click();
    EXPECT_DOUBLE_EQ(canvas->Zoom(), 1 / 1.5);
    EXPECT_EQ(canvas->NavigationMode(), q_Canvas::ZoomOut);
}

TEST_F(CanvasTest, ZoomStaysBetweenAQuarterAndEight)
{
    Hover(kOnBackdrop[0], kOnBackdrop[1]);
    for (int i = 0; i < 20; ++i)
        Notch(-120);
    EXPECT_DOUBLE_EQ(canvas->Zoom(), 8);
    for (int i = 0; i < 30; ++i)
        Notch(120);
    EXPECT_DOUBLE_EQ(canvas->Zoom(), 0.25);
}

TEST_F(CanvasTest, ScrollRangesAndTheViewFollowTheZoomAndTheBars)
{
    struct Row {
        double zoom;
        double halfWidth, halfHeight; // of the zoomed picture
    };
    for (const Row& row : { Row { 1, 150, 100 }, Row { 2, 300, 200 }, Row { 0.5, 75, 50 } }) {
        canvas->SetZoom(row.zoom);
        const double* limits = canvas->ScrollLimits();
        EXPECT_DOUBLE_EQ(limits[0], -row.halfWidth - 524 / 2.0) << row.zoom;
        EXPECT_DOUBLE_EQ(limits[1], row.halfWidth + 524 / 2.0) << row.zoom;
        EXPECT_DOUBLE_EQ(limits[2], -row.halfHeight - 564 / 2.0) << row.zoom;
        EXPECT_DOUBLE_EQ(limits[3], row.halfHeight + 564 / 2.0) << row.zoom;
        EXPECT_DOUBLE_EQ(canvas->HorizontalBar().Minimum(), limits[0]);
        EXPECT_DOUBLE_EQ(canvas->VerticalBar().Maximum(), limits[3]);
    }
    // At scroll values 0 the picture is centred; a bar moves the view.
    EXPECT_DOUBLE_EQ(canvas->ViewGroup().x, (524 - 300) * 0.5);
    EXPECT_DOUBLE_EQ(canvas->ViewGroup().y, (564 - 200) * 0.5);
    canvas->HorizontalBar().SetValue(40);
    Step();
    EXPECT_DOUBLE_EQ(canvas->ViewGroup().x, (524 - 300) * 0.5 - 40);
    // A new size keeps the view at its value.
    canvas->LayOut(240, 10, 440, 480);
    EXPECT_EQ(canvas->Viewport().width, 424);
    EXPECT_DOUBLE_EQ(canvas->ViewGroup().x, (424 - 300) * 0.5 - 40);
    EXPECT_EQ(canvas->Backdrop().width, 424);
    EXPECT_EQ(canvas->Backdrop().row(100)[100], q_Canvas::kBackdrop);
}

TEST_F(CanvasTest, SpaceDragPansAndKeepsPanningUntilTheRelease)
{
    Hover(kOnPicture[0], kOnPicture[1]);
    Hold(FNKeySpace);
    EXPECT_EQ(canvas->NavigationMode(), q_Canvas::Pan);
    const double startX = canvas->ViewGroup().x, startY = canvas->ViewGroup().y;
    V::SetButtons(FNButtonLeft);
    Step(2);
    V::SetPointer(kOnPicture[0] + 30, kOnPicture[1] + 12);
    Step(2);
    Let(FNKeySpace); // released mid-drag: still panning
    EXPECT_EQ(canvas->NavigationMode(), q_Canvas::Pan);
    V::SetPointer(kOnPicture[0] + 50, kOnPicture[1] + 20);
    Step(2);
    V::SetButtons(0);
    Step(3);
    EXPECT_DOUBLE_EQ(canvas->ViewGroup().x, startX + 50);
    EXPECT_DOUBLE_EQ(canvas->ViewGroup().y, startY + 20);
    EXPECT_DOUBLE_EQ(canvas->HorizontalBar().Value(), -50);
    EXPECT_DOUBLE_EQ(canvas->VerticalBar().Value(), -20);
    EXPECT_EQ(canvas->NavigationMode(), q_Canvas::None) << "the release reads the keys again";
}

TEST_F(CanvasTest, ABlurStrokeIsOneStepAndBlursAlongThePointer)
{
    pen = std::make_unique<q_BlurPenTool>(*canvas, *this);
    tool = 1;
    penSize = 0; // size 1: one pixel per dab, a dab every step
    Hover(kOnPicture[0], kOnPicture[1]);
    const int px = kOnPicture[0] - 352, py = kOnPicture[1] - 192; // picture pixel under the pointer
    V::SetButtons(FNButtonLeft);
    Step(2);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(canvas->ShownPicture(), base.get()) << "the canvas shows the new base picture";
    V::SetPointer(kOnPicture[0] + 4, kOnPicture[1]);
    Step(2);
    V::SetButtons(0);
    Step(3);
    EXPECT_EQ(closed, 1);
    for (int x = px + 1; x <= px + 4; ++x)
        EXPECT_NE(base->row(py)[x], before->row(py)[x]) << x;
    EXPECT_EQ(base->row(py)[px], before->row(py)[px]) << "the start is not dabbed";
    EXPECT_EQ(base->row(py + 1)[px + 2], before->row(py + 1)[px + 2]) << "size 1 touches one row";
    // A press and a release without a move still make one step.
    V::AdvanceMilliseconds(1000);
    V::SetButtons(FNButtonLeft), V::SetButtons(0);
    Step(4);
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(closed, 2);
}

} // namespace
