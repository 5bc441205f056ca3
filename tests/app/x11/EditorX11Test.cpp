// The editor program under a real pointer and keyboard: xdotool clicks,
// drags and types on a private X server, and the test reads back what the
// screen shows.
#include "tests/app/x11/SessionHarness.h"

namespace {

using namespace session_harness;

// The canvas picture at client (257, 22) while the 500 x 540 start canvas
// fits the view; a part loads at picture (10, 10).
constexpr int kPictureX = kClientX + 257, kPictureY = kClientY + 22;

class EditorX11 : public EditorSession {
protected:
    void SetUp() override
    {
        EditorSession::SetUp();
        partPath = folder + "/part.bmp";
        ASSERT_TRUE(writePicture(partPath, 40, 30, [](int, int) { return 0xFF0000u; })); // opaque red
    }
    void Start()
    {
        EditorSession::Start();
        ASSERT_TRUE(WaitFor([this] { return Pixel(kPictureX + 200, kPictureY + 200) == 0xFFFFFF; }))
            << "the editor showed no canvas";
    }
    void LoadPartByHand() { OpenThrough(kLoadPartButton, partPath); }

    std::string partPath;
};

// The part red at its place once loaded; a drag on the hue slider recolours
// it; Ctrl+Z brings the red back.
TEST_F(EditorX11, LoadRecolourAndUndoByHand)
{
    Start();
    const int partX = kPictureX + 10 + 20, partY = kPictureY + 10 + 15;
    ASSERT_EQ(Pixel(partX, partY), 0xFFFFFFu);
    LoadPartByHand();
    ASSERT_TRUE(WaitFor([&] { return Pixel(partX, partY) == 0xFF0000; }))
        << "the loaded part is not on the canvas: " << std::hex << Pixel(partX, partY);

    // The hue slider's thumb sits in the middle of its track at 0.
    const int hueY = kClientY + 150 + 212 + 15 + 8, thumbX = kClientX + 10 + 10 + 25 + 85;
    DragBy(thumbX, hueY, 72, 0);
    ASSERT_TRUE(WaitFor([&] {
        const unsigned long pixel = Pixel(partX, partY);
        return pixel != 0xFF0000 && pixel != 0xFFFFFF && (pixel >> 16) < 0x80;
    })) << "the hue drag did not recolour the part: "
        << std::hex << Pixel(partX, partY);
    Screenshot("recoloured");

    Key("ctrl+z");
    EXPECT_TRUE(WaitFor([&] { return Pixel(partX, partY) == 0xFF0000; }))
        << "Ctrl+Z did not bring the red back: " << std::hex << Pixel(partX, partY);
    Screenshot("undone");
}

// The whole round: a canvas and a part through the file dialogs, the part
// moved, blended in Smart mode, combined and the canvas saved; the file must
// be exactly what tesserine-compose makes of the same placement. Then undo
// walks back through the combine and the blend.
TEST_F(EditorX11, ComposedCanvasIsSavedAsTheComposeToolMakesIt)
{
    const std::string canvasPath = folder + "/canvas.bmp", savedPath = folder + "/saved.png";
    const int w = 400, h = 300;
    ASSERT_TRUE(writePicture(canvasPath, w, h,
        [](int x, int y) { return static_cast<unsigned>((x * 255 / 399) << 16 | (y * 255 / 299) << 8 | 0x60); }));
    Start();
    OpenThrough(kLoadCanvasButton, canvasPath);
    // A 400 x 300 canvas sits in the middle of the 534 x 564 view.
    const int pictureX = kClientX + 240 + (534 - w) / 2, pictureY = kClientY + 10 + (564 - h) / 2;
    ASSERT_TRUE(WaitFor([&] { return Pixel(pictureX + 1, pictureY + 1) == 0x000060; }))
        << "the canvas did not open: " << std::hex << Pixel(pictureX + 1, pictureY + 1);
    LoadPartByHand();
    ASSERT_TRUE(WaitFor([&] { return Pixel(pictureX + 30, pictureY + 25) == 0xFF0000; })) << "no part";

    DragBy(pictureX + 30, pictureY + 25, 40, 30); // the box's inside moves it
    ASSERT_TRUE(WaitFor([&] { return Pixel(pictureX + 70, pictureY + 55) == 0xFF0000; })) << "the part did not move";
    ChooseSmartCompose();
    ASSERT_TRUE(WaitFor([&] { return Pixel(pictureX + 70, pictureY + 55) != 0xFF0000; })) << "no Smart blend";
    Paste();
    Screenshot("pasted");
    SaveCanvasAs(savedPath);

    const std::string expectedPath = folder + "/expected.png";
    const std::string command = std::string(TESSERINE_COMPOSE) + " --canvas " + canvasPath + " --part " + partPath
        + " --at 50,40 --mode smart -o " + expectedPath + " > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_TRUE(fileText(savedPath) == fileText(expectedPath)) << "the saved canvas differs from " << command;

    // Undo takes back the combine (the part floats again, still blended),
    // then the change to Smart mode: the part shows plainly red.
    ExpectPartToolsToggledBy([this] { Key("ctrl+z"); });
    Key("ctrl+z");
    EXPECT_TRUE(WaitFor([&] { return Pixel(pictureX + 70, pictureY + 55) == 0xFF0000; }))
        << "two undos did not bring back the plainly composed part: " << std::hex
        << Pixel(pictureX + 70, pictureY + 55);
    Screenshot("undone-twice");
}

// A whole editing round by hand: a canvas and a part through the dialogs,
// the part cut out with the pen, optimise and cut, moved, mirrored, turned
// and recoloured with the three sliders, blended in Smart mode; the cut part
// saved, pasted, the canvas saved. The saved canvas must be byte for byte
// what tesserine-compose makes of the saved part with the placement the
// editor printed for its last compose.
TEST_F(EditorX11, AWholeRoundEqualsTheComposeTool)
{
    const std::string canvasPath = folder + "/photo.bmp", objectPath = folder + "/object.bmp";
    const int w = 420, h = 320;
    ASSERT_TRUE(writePicture(canvasPath, w, h, [](int x, int y) {
        const unsigned r = 60 + x * 150 / w + (x * 7 + y * 3) % 11, g = 90 + y * 120 / h, b = 200 - x * 80 / w;
        return r << 16 | g << 8 | b;
    }));
    // A red disc on an even white ground: the pen marks roughly, optimise
    // takes the white away.
    ASSERT_TRUE(writePicture(objectPath, 60, 60, [](int x, int y) {
        const int dx = x - 30, dy = y - 30;
        return dx * dx + dy * dy <= 18 * 18 ? 0xD02020u : 0xFFFFFFu;
    }));
    Start();
    OpenThrough(kLoadCanvasButton, canvasPath);
    const int pictureX = kClientX + 240 + (534 - w) / 2, pictureY = kClientY + 10 + (564 - h) / 2;
    OpenThrough(kLoadPartButton, objectPath);
    ASSERT_TRUE(WaitFor([&] { return Pixel(pictureX + 40, pictureY + 40) == 0xD02020; })) << "no part";
    Screenshot("round-1-part-loaded");

    // The pen (size 10) over the whole part, row by row.
    Click(kClientX + 20 + 10 + 14, kClientY + 150 + 110 + 15 + 15); // "ペン"
    for (int row = 14; row <= 66; row += 8)
        DragBy(pictureX + 12, pictureY + row, 56, 0);
    Click(kClientX + 20 + 80 + 25, kClientY + 150 + 110 + 50 + 15); // "最適化"
    Click(kClientX + 20 + 140 + 25, kClientY + 150 + 110 + 15 + 32); // "切り取り 実行"
    Screenshot("round-2-cut");
    ASSERT_TRUE(WaitFor([&] { return LastPlacement().find("--box") != std::string::npos; })) << "no compose";
    ASSERT_TRUE(WaitFor([&] { return PairOf(LastPlacement(), "--box").first < 59; }))
        << "the cut did not crop the part: " << LastPlacement();

    // Moved by its inside, then mirrored: the middle-right handle dragged
    // across to the left, twice the width.
    std::string placement = LastPlacement();
    auto [boxW, boxH] = PairOf(placement, "--box");
    auto [atX, atY] = PairOf(placement, "--at");
    auto [scaleX, scaleY] = PairOf(placement, "--scale");
    double centreX = atX + boxW / (2 * scaleX), centreY = atY + boxH / (2 * scaleY);
    DragBy(pictureX + static_cast<int>(centreX), pictureY + static_cast<int>(centreY), 90, 60);
    ASSERT_TRUE(WaitFor([&] { return LastPlacement() != placement; })) << "the move did not compose";
    placement = LastPlacement();
    std::tie(atX, atY) = PairOf(placement, "--at");
    centreX = atX + boxW / (2 * scaleX), centreY = atY + boxH / (2 * scaleY);
    const int rightX = pictureX + static_cast<int>(centreX + boxW / 2) - 1,
              middleY = pictureY + static_cast<int>(centreY);
    DragBy(rightX, middleY, -2 * static_cast<int>(boxW), 0);
    ASSERT_TRUE(WaitFor([&] { return PairOf(LastPlacement(), "--box").first < 0; }))
        << "the part is not mirrored: " << LastPlacement();

    // Turned: a drag outside the box around its centre.
    placement = LastPlacement();
    const int cx = pictureX + static_cast<int>(centreX), cy = pictureY + static_cast<int>(centreY);
    Xdotool("mousemove " + std::to_string(cx + 70) + " " + std::to_string(cy) + " mousedown 1");
    for (int step = 1; step <= 6; ++step)
        Xdotool("mousemove " + std::to_string(cx + 70 - 6 * step) + " " + std::to_string(cy + 8 * step));
    Xdotool("mouseup 1");
    ASSERT_TRUE(WaitFor([&] { return LastPlacement().find("--angle 0 ") == std::string::npos; }))
        << "the part did not turn: " << LastPlacement();

    // Recoloured: each slider's thumb dragged a little.
    const int sliderX = kClientX + 10 + 10 + 25;
    const int thumbs[3] = { 79, 79, 79 }; // the middle of the 158-pixel travel at value 0
    const int moves[3] = { 40, -30, 20 };
    for (int i = 0; i < 3; ++i)
        DragBy(sliderX + thumbs[i] + 6, kClientY + 150 + 212 + 15 + 18 * i + 8, moves[i], 0);
    ASSERT_TRUE(WaitFor([&] { return LastPlacement().find("--value 0 ") == std::string::npos; }))
        << "the sliders did not recolour: " << LastPlacement();

    ChooseSmartCompose();
    ASSERT_TRUE(WaitFor([&] { return LastPlacement().find("--mode smart") != std::string::npos; }));
    placement = LastPlacement();
    Screenshot("round-3-placed");

    const std::string savedPart = folder + "/cut-part.png", savedCanvas = folder + "/round.png";
    SaveAs("ctrl+d", savedPart);
    Paste();
    SaveCanvasAs(savedCanvas);
    Screenshot("round-4-pasted");

    const std::string expected = folder + "/expected.png";
    const std::string command = std::string(TESSERINE_COMPOSE) + " --canvas " + canvasPath + " --part " + savedPart
        + " " + placement + " -o " + expected + " > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_TRUE(fileText(savedCanvas) == fileText(expected)) << "the saved canvas differs from " << command;
}

} // namespace
