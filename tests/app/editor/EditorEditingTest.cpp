// Editing a part as a user does it on the panel and the canvas: loading,
// cutting out, recolouring, compositing, combining, saving, and what each
// step leaves in the history.
#include "tests/app/editor/EditorFixture.h"

#include "app/canvas/q_TransformBox.h"
#include "app/colour/q_ColourSliders.h"
#include "app/history/q_HistoryManager.h"
#include "app/pictures/CutRegion.h"
#include "framework/platform/FNVirtualKey.h"
#include "widgets/controls/FNDropDownList.h"
#include "widgets/controls/FNOnOffButton.h"

namespace {

constexpr uint32_t kRed = 0xFFFF0000u; // opaque red (bytes B, G, R, A)
constexpr uint32_t kWhite = 0xFFFFFFFFu;

class EditorEditing : public EditorTest {
protected:
    // A 20 x 20 red square with a 2-pixel transparent ring, placed.
    void PlaceRedPart()
    {
        LoadPart(WritePart(20, 2, kRed));
        ASSERT_TRUE(app->HasPart());
    }
    int Steps() const { return app->History()->count(); }
    // The hue slider dragged from its thumb to its right end.
    void DragHueToTheEnd()
    {
        q_HueSlider& hue = *app->HueSlider();
        const auto from = ScreenOf(*hue.Item(), hue.ThumbX() + 6, 8);
        const auto to = ScreenOf(*hue.Item(), hue.Width() + 20, 8);
        Drag({ from, { (from.first + to.first) / 2, from.second }, to });
    }
};

TEST_F(EditorEditing, LoadingAPartPlacesItAtTenTenAndComposesIt)
{
    PlaceRedPart();
    EXPECT_EQ(app->CurrentPartState(), q_App::PartPlaced);
    EXPECT_EQ(app->CurrentTool(), q_App::MoveTransform);
    EXPECT_EQ(app->PartItem()->x, 10);
    EXPECT_EQ(app->PartItem()->y, 10);
    EXPECT_TRUE(app->TransformBox()->visible);
    EXPECT_TRUE(app->PanelWidget("ペン")->IsEnabled());
    const FNImage& shown = *app->Canvas()->ShownPicture();
    EXPECT_EQ(&shown, app->ComposedPicture());
    EXPECT_EQ(pixelAt(shown, 12, 12), kRed);
    EXPECT_EQ(pixelAt(shown, 11, 11), kWhite) << "the transparent ring";
    EXPECT_EQ(pixelAt(*app->BaseCanvas(), 12, 12), kWhite) << "the canvas itself is untouched";
    EXPECT_EQ(Steps(), 1);
    EXPECT_TRUE(app->PanelWidget("戻す")->IsEnabled());

    // A second part starts uncoloured, unscaled and back at (10, 10).
    app->HueSlider()->SetValue(50);
    app->PartItem()->MoveTo(40, 40);
    app->PartItem()->scaleX = -2;
    PlaceRedPart();
    EXPECT_EQ(app->HueSlider()->Value(), 0);
    EXPECT_EQ(app->PartItem()->x, 10);
    EXPECT_EQ(app->PartItem()->scaleX, 1);
    EXPECT_EQ(app->ComposeList()->GetText(), "通常合成");
}

TEST_F(EditorEditing, PenStrokesAreOneStepEachAndTheCutCropsToTheMark)
{
    PlaceRedPart();
    Click("ペン");
    EXPECT_EQ(app->CurrentPartState(), q_App::Cutting);
    EXPECT_EQ(app->CurrentTool(), q_App::CutPen);
    EXPECT_TRUE(app->CutOverlay()->visible);
    EXPECT_FALSE(app->TransformBox()->visible);
    app->PenSizeSlider()->SetValue(2); // pen size 3
    Frame();
    EXPECT_NE(app->PanelWidget("3"), nullptr) << "the size label shows value + 1";
    const int before = Steps();
    DragOnPart({ { 6, 8 }, { 9, 8 }, { 12, 8 } });
    EXPECT_EQ(Steps(), before + 1);
    const FNImage& region = *app->CutRegion();
    EXPECT_TRUE(q_HasMarkColour(pixelAt(region, 9, 8)));
    EXPECT_EQ(region.getAlpha(9, 12), 0);

    Click("切り取り\n実行");
    EXPECT_EQ(Steps(), before + 2);
    EXPECT_EQ(app->CurrentPartState(), q_App::PartPlaced);
    EXPECT_EQ(app->CurrentTool(), q_App::MoveTransform);
    // The mark's box (x 6 .. 13, y 7 .. 9 for a size-3 pen along row 8)
    // plus 2 pixels each side.
    const FNImage& part = *app->LoadedPart();
    EXPECT_EQ(part.height, 3 + 4);
    EXPECT_GE(part.width, 7 + 4);
    EXPECT_EQ(app->AdjustedPart()->width, part.width);
    EXPECT_TRUE(app->TransformBox()->visible);
    EXPECT_FALSE(app->CutOverlay()->visible);
}

TEST_F(EditorEditing, ACutWithNoMarkEmptiesThePart)
{
    PlaceRedPart();
    Click("ペン");
    Click("切り取り\n実行");
    EXPECT_EQ(app->CurrentPartState(), q_App::PartEmptied);
    EXPECT_FALSE(app->HasPart());
    EXPECT_FALSE(app->PanelWidget("移動変形")->IsEnabled());
    EXPECT_FALSE(app->PartItem()->visible);
    EXPECT_FALSE(app->TransformBox()->visible);
}

TEST_F(EditorEditing, FillMarksTheOpenAreaAndOptimiseShrinksTheMarkOntoTheObject)
{
    // A red square on an opaque white ground inside a transparent ring.
    FNImage part(30, 30);
    part.fill(255, 255, 255, 0);
    for (int y = 2; y < 28; ++y)
        for (int x = 2; x < 28; ++x)
            part.row(y)[x] = kWhite;
    for (int y = 10; y < 20; ++y)
        for (int x = 10; x < 20; ++x)
            part.row(y)[x] = kRed;
    LoadPart(WritePicture("square.png", part));
    Click("流しこみ");
    const int before = Steps();
    DragOnPart({ { 3, 3 } });
    EXPECT_EQ(Steps(), before + 1) << "one step per press, at the press";
    EXPECT_TRUE(q_HasMarkColour(pixelAt(*app->CutRegion(), 29, 29)));

    Click("最適化");
    EXPECT_EQ(app->CurrentTool(), q_App::Optimise);
    EXPECT_NE(log.str().find("境界線対象色の数:"), std::string::npos);
    const FNImage& region = *app->CutRegion();
    EXPECT_EQ(region.getAlpha(4, 4), 0) << "the ground touching the mark's edge goes";
    EXPECT_TRUE(q_HasMarkColour(pixelAt(region, 15, 15))) << "the object stays";
    Click("切り取り\n実行");
    EXPECT_LT(app->LoadedPart()->width, 30);
    EXPECT_EQ(pixelAt(*app->LoadedPart(), app->LoadedPart()->width / 2, app->LoadedPart()->height / 2), kRed);
}

TEST_F(EditorEditing, AColourDragPreviewsLiveAndItsReleaseIsOneUndoableStep)
{
    PlaceRedPart();
    const std::vector<uint8_t> composedBefore(app->ComposedPicture()->pixels,
        app->ComposedPicture()->pixels + 4 * app->ComposedPicture()->width * app->ComposedPicture()->height);
    const int before = Steps();
    DragHueToTheEnd();
    EXPECT_EQ(app->HueSlider()->Value(), 180);
    EXPECT_EQ(Steps(), before + 1);
    // Red turned half way round the hue circle is cyan.
    EXPECT_EQ(pixelAt(*app->AdjustedPart(), 10, 10), 0xFF00FFFFu);
    EXPECT_EQ(pixelAt(*app->LoadedPart(), 10, 10), kRed) << "the loaded part keeps its colours";
    EXPECT_EQ(pixelAt(*app->ComposedPicture(), 20, 20), 0xFF00FFFFu);

    Click("戻す");
    EXPECT_EQ(app->HueSlider()->Value(), 0);
    EXPECT_EQ(pixelAt(*app->AdjustedPart(), 10, 10), kRed);
    const FNImage& composed = *app->ComposedPicture();
    EXPECT_TRUE(std::equal(composedBefore.begin(), composedBefore.end(), composed.pixels));
    Click("進む");
    EXPECT_EQ(app->HueSlider()->Value(), 180);
    EXPECT_EQ(pixelAt(*app->ComposedPicture(), 20, 20), 0xFF00FFFFu);
}

TEST_F(EditorEditing, ComposeModeChangesAreStepsAndRecompose)
{
    PlaceRedPart();
    const int before = Steps();
    FNDropDownList& list = *app->ComposeList();
    list.SelectByText("Smart合成");
    app->OnComposeChoice(FNEventState {});
    EXPECT_EQ(app->ComposeMode(), 1);
    EXPECT_EQ(Steps(), before + 1);
    EXPECT_NE(log.str().find("Poisson Count : "), std::string::npos);
    Click("戻す");
    EXPECT_EQ(app->ComposeMode(), 0);
    EXPECT_EQ(list.GetText(), "通常合成");
    EXPECT_EQ(Steps(), before + 1) << "restoring the list records nothing";
}

TEST_F(EditorEditing, CombiningWhileCuttingAsksFirst)
{
    PlaceRedPart();
    Click("ペン");
    const int before = Steps();
    app->confirmations = { false };
    Click("貼り付け");
    EXPECT_EQ(app->told,
        (std::vector<std::string> { "切り取りの確認: 切り取り処理が終了していません。\n切りとらずに結合しますか？",
            "結合の中止: 結合処理を中止しました" }));
    EXPECT_EQ(app->CurrentTool(), q_App::CutPen);
    EXPECT_EQ(app->CurrentPartState(), q_App::Cutting);
    EXPECT_EQ(Steps(), before);

    app->confirmations = { true };
    Click("貼り付け");
    EXPECT_EQ(app->CurrentPartState(), q_App::NoPart);
    EXPECT_EQ(app->CurrentTool(), q_App::Paste);
    EXPECT_EQ(Steps(), before + 1);
    EXPECT_EQ(pixelAt(*app->BaseCanvas(), 12, 12), kRed) << "the part as last composed";
    EXPECT_FALSE(app->PanelWidget("貼り付け")->IsEnabled());
}

TEST_F(EditorEditing, SavesWriteTheCanvasWithoutTheFloatingPartAndThePartWithoutItsColour)
{
    PlaceRedPart();
    app->HueSlider()->SetValue(120);
    app->OnColourChange(FNEventState {});
    const std::string canvasPath = (folder / "canvas.png").string();
    const std::string partPath = (folder / "part.bmp").string();
    app->files = { canvasPath, partPath };
    Click("キャンバス保存");
    Click("パーツ保存");
    FNImage canvas, part;
    ASSERT_TRUE(canvas.load(canvasPath));
    ASSERT_TRUE(part.load(partPath));
    EXPECT_EQ(pixelAt(canvas, 12, 12), kWhite);
    EXPECT_EQ(pixelAt(part, 10, 10), kRed);
}

TEST_F(EditorEditing, OpeningACanvasReplacesItAndUndoBringsBackTheVeryPicture)
{
    PlaceRedPart();
    FNImage* white = app->BaseCanvas();
    FNImage picture(64, 48);
    picture.fill(0, 0, 255, 255);
    app->files = { WritePicture("blue.png", picture) };
    Click("キャンバス読込");
    EXPECT_EQ(app->BaseCanvas()->width, 64);
    EXPECT_EQ(app->CurrentPartState(), q_App::NoPart);
    EXPECT_FALSE(app->PanelWidget("移動変形")->IsEnabled());
    Click("戻す");
    Click("戻す");
    EXPECT_EQ(app->BaseCanvas()->width, 500);
    EXPECT_EQ(app->CurrentPartState(), q_App::PartPlaced) << "the part left for the new canvas comes back";
    Click("戻す");
    EXPECT_EQ(app->BaseCanvas(), white);
}

TEST_F(EditorEditing, BlurStrokesChangeTheCanvasAndUndoRestoresThePictureObject)
{
    // A hard black edge to soften.
    FNImage picture(100, 100);
    picture.fill(255, 255, 255, 255);
    for (int y = 0; y < 100; ++y)
        for (int x = 50; x < 100; ++x)
            picture.row(y)[x] = 0xFF000000u;
    app->files = { WritePicture("edge.png", picture) };
    Click("キャンバス読込");
    FNImage* sharp = app->BaseCanvas();
    Click("ぼかしペン");
    FN2DItem& canvasPicture = app->Canvas()->PictureItem();
    Drag({ ScreenOf(canvasPicture, 50, 20), ScreenOf(canvasPicture, 50, 50), ScreenOf(canvasPicture, 50, 80) });
    FNImage* blurred = app->BaseCanvas();
    ASSERT_NE(blurred, sharp);
    EXPECT_NE(pixelAt(*blurred, 50, 50), pixelAt(*sharp, 50, 50));
    Click("戻す");
    EXPECT_EQ(app->BaseCanvas(), sharp);
    Click("進む");
    EXPECT_EQ(app->BaseCanvas(), blurred);
}

TEST_F(EditorEditing, ANewCanvasIsWhiteEvenAtTheSameSize)
{
    app->BaseCanvas()->setColor(3, 3, 0, 0, 0, 255);
    app->sizes = { { 500, 540 } };
    Click("白紙キャンバス");
    EXPECT_EQ(pixelAt(*app->BaseCanvas(), 3, 3), kWhite);
    app->sizes = { { 120, 80 } };
    Click("白紙キャンバス");
    EXPECT_EQ(app->BaseCanvas()->width, 120);
    EXPECT_EQ(app->BaseCanvas()->height, 80);
    Click("白紙キャンバス"); // cancelled
    EXPECT_EQ(Steps(), 2);
}

TEST_F(EditorEditing, UnreadableFilesAreReportedAndChangeNothing)
{
    PlaceRedPart();
    FNImage* base = app->BaseCanvas();
    FNImage* part = app->LoadedPart();
    const int before = Steps();
    const std::string missing = (folder / "missing.png").string();
    app->files = { missing, missing };
    Click("キャンバス読込");
    Click("パーツ読み込み");
    ASSERT_EQ(app->told.size(), 2u);
    for (const std::string& message : app->told) {
        EXPECT_EQ(message.rfind("読み込みの失敗: ", 0), 0u) << message;
        EXPECT_NE(message.find("missing.png"), std::string::npos) << message;
    }
    EXPECT_EQ(app->BaseCanvas(), base);
    EXPECT_EQ(app->LoadedPart(), part);
    EXPECT_EQ(app->CurrentPartState(), q_App::PartPlaced);
    EXPECT_EQ(Steps(), before);

    // Every writer's failure names the file, the PNG writer's too.
    for (const char* name : { "canvas.png", "canvas.bmp" }) {
        app->files = { (folder / "no such folder" / name).string() };
        Click("キャンバス保存");
        EXPECT_EQ(app->told.back().rfind("保存の失敗: ", 0), 0u) << app->told.back();
        EXPECT_NE(app->told.back().find(name), std::string::npos) << app->told.back();
    }
    app->files = { (folder / "no such folder" / "part.png").string() };
    Click("パーツ保存");
    EXPECT_NE(app->told.back().find("part.png"), std::string::npos) << app->told.back();
    EXPECT_EQ(app->told.size(), 5u);
}

TEST_F(EditorEditing, LargePicturesOpenAtMost1200PixelsOnASide)
{
    FNImage picture(2400, 1000);
    picture.fill(0, 128, 0, 255);
    app->files = { WritePicture("wide.bmp", picture) };
    Click("キャンバス読込");
    EXPECT_EQ(app->BaseCanvas()->width, 1200);
    EXPECT_EQ(app->BaseCanvas()->height, 500);
}

// Dropped on the canvas view a file becomes the part, on the panel the
// canvas.
TEST_F(EditorEditing, DroppedFilesLoadAsPartOrCanvasByWhereTheyLand)
{
    FNImage picture(64, 48);
    picture.fill(0, 0, 255, 255);
    const std::string canvasFile = WritePicture("blue.png", picture);
    const std::string partFile = WritePart(20, 2, kRed);
    const FNWindowId client = app->MainWindow()->window;
    const auto [canvasX, canvasY] = ScreenOf(app->Canvas()->PictureItem(), 100, 100);
    V::SetPointer(canvasX, canvasY);
    V::DropFiles(client, { partFile, canvasFile });
    Frame(3);
    EXPECT_TRUE(app->HasPart());
    EXPECT_EQ(app->LoadedPart()->width, 20);
    const auto [panelX, panelY] = CentreOf(*app->PanelWidget("パーツ読み込み"));
    V::SetPointer(panelX, panelY);
    V::DropFiles(client, { canvasFile });
    Frame(3);
    EXPECT_EQ(app->BaseCanvas()->width, 64);
    EXPECT_EQ(app->CurrentPartState(), q_App::NoPart);
}

// With a part placed the transform box covers the view, yet the wheel still
// zooms (the box then fits the part again) and Space with a drag pans
// without touching the part.
TEST_F(EditorEditing, TheCanvasZoomsAndPansOverAPlacedPart)
{
    PlaceRedPart();
    const auto [x, y] = ScreenOf(*app->PartItem(), 10, 10);
    V::SetPointer(x, y);
    Frame(2);
    V::Wheel(-120);
    Frame(3);
    EXPECT_GT(app->Canvas()->Zoom(), 1.0);
    double bx, by, bw, bh;
    app->TransformBox()->PictureRect(app->Canvas()->PictureItem(), app->Canvas()->Zoom(), bx, by, bw, bh);
    EXPECT_NEAR(bx, 10, 1e-9);
    EXPECT_NEAR(by, 10, 1e-9);
    EXPECT_NEAR(bw, 20, 1e-9);
    EXPECT_NEAR(bh, 20, 1e-9);

    const int steps = Steps();
    const double viewX = app->Canvas()->ViewGroup().x;
    V::PressKey(FNKeySpace);
    Frame(2);
    Drag({ { x, y }, { x - 30, y - 20 }, { x - 60, y - 40 } });
    V::ReleaseKey(FNKeySpace);
    Frame(2);
    EXPECT_NE(app->Canvas()->ViewGroup().x, viewX) << "Space and a drag pan the view";
    EXPECT_EQ(Steps(), steps) << "the part was not moved or turned";
    EXPECT_EQ(app->PartItem()->x, 10);
    EXPECT_TRUE(app->Canvas()->Viewport().clipChildren) << "a zoomed picture stays inside the view";
}

} // namespace
