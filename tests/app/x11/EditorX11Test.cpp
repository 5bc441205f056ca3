// The editor program under a real pointer and keyboard: xdotool clicks,
// drags and types on a private X server, and the test reads back what the
// screen shows.
#include "tests/app/x11/ProgramHarness.h"

#include <X11/Xutil.h>

#include <cstdio>

namespace {

using namespace program_harness;

// Where things are on the screen: the main window's client area starts at
// (50, 68) (the title and menu bars above it), the canvas picture at client
// (257, 22) while the canvas fits the view, and a part loads at picture
// (10, 10).
constexpr int kClientX = 50, kClientY = 68;
constexpr int kPictureX = kClientX + 257, kPictureY = kClientY + 22;

class EditorX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.Start()) << "no private Xvfb could be started";
        folder = "/tmp/tesserine-editor-x11-" + std::to_string(getpid());
        mkdir(folder.c_str(), 0700);
        partPath = folder + "/part.bmp";
        WriteRedPart(partPath);
        display = XOpenDisplay(server.name.c_str());
        ASSERT_NE(display, nullptr);
    }
    void TearDown() override
    {
        program.Kill();
        if (display)
            XCloseDisplay(display);
        server.Kill();
        std::system(("rm -rf " + folder).c_str());
    }

    // A 24-bit BMP written byte by byte; colour(x, y) gives 0xRRGGBB.
    template <typename Colour> void WriteBmp(const std::string& path, int w, int h, Colour colour)
    {
        const int row = (w * 3 + 3) / 4 * 4, size = 54 + row * h;
        std::vector<unsigned char> file(size, 0);
        auto put = [&file](int at, unsigned value, int bytes) {
            for (int i = 0; i < bytes; ++i)
                file[at + i] = static_cast<unsigned char>(value >> (8 * i));
        };
        file[0] = 'B', file[1] = 'M';
        put(2, size, 4), put(10, 54, 4), put(14, 40, 4), put(18, w, 4), put(22, h, 4), put(26, 1, 2), put(28, 24, 2);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                put(54 + (h - 1 - y) * row + x * 3, colour(x, y), 3); // rows bottom-up, B G R
        FILE* out = std::fopen(path.c_str(), "wb");
        ASSERT_NE(out, nullptr);
        std::fwrite(file.data(), 1, file.size(), out);
        std::fclose(out);
    }
    // A 40 x 30 opaque red part.
    void WriteRedPart(const std::string& path)
    {
        WriteBmp(path, 40, 30, [](int, int) { return 0xFF0000u; });
    }

    void Start()
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, (folder + "/stdout.txt").c_str(), O_WRONLY | O_CREAT, 0600);
        ASSERT_TRUE(program.Spawn({ TESSERINE_PROGRAM }, environmentWith("DISPLAY", server.name), &actions));
        posix_spawn_file_actions_destroy(&actions);
        ASSERT_TRUE(WaitFor([this] { return Pixel(kPictureX + 200, kPictureY + 200) == 0xFFFFFF; }))
            << "the editor showed no canvas";
    }

    // The colour on the screen at a point, 0xRRGGBB.
    unsigned long Pixel(int x, int y)
    {
        XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image)
            return 0;
        const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
        XDestroyImage(image);
        return pixel;
    }

    template <typename Condition> bool WaitFor(Condition condition)
    {
        const auto end = Clock::now() + kStartLimit;
        while (Clock::now() < end) {
            if (condition())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    int Xdotool(const std::string& arguments)
    {
        return std::system(("DISPLAY=" + server.name + " xdotool " + arguments).c_str());
    }
    // A click as touchpads send it: press and release with no time between.
    void Click(int x, int y) { Xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1"); }

    // What an xdotool command prints.
    std::string XdotoolOutput(const std::string& arguments)
    {
        FILE* pipe = popen(("DISPLAY=" + server.name + " xdotool " + arguments + " 2>/dev/null").c_str(), "r");
        if (!pipe)
            return {};
        std::string text;
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            text += buffer;
        pclose(pipe);
        return text;
    }

    // The top-left corner of the shown window whose title is `title`.
    // (xdotool's own name search does not match non-ASCII titles.)
    bool WindowAt(const std::string& title, int& x, int& y)
    {
        std::istringstream windows(XdotoolOutput("search --onlyvisible --name ."));
        for (std::string id; windows >> id;) {
            if (XdotoolOutput("getwindowname " + id) != title + "\n")
                continue;
            const std::string geometry = XdotoolOutput("getwindowgeometry --shell " + id);
            const size_t at = geometry.find("X="), atY = geometry.find("Y=");
            if (at == std::string::npos || atY == std::string::npos)
                return false;
            x = std::atoi(geometry.c_str() + at + 2);
            y = std::atoi(geometry.c_str() + atY + 2);
            return true;
        }
        return false;
    }

    // Answers the file dialog titled `title`: the file name typed into its
    // name box, then Return.
    void AnswerFileDialog(const std::string& title, const std::string& path)
    {
        int x = 0, y = 0;
        ASSERT_TRUE(WaitFor([&] { return WindowAt(title, x, y); })) << "no dialog " << title;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        Click(x + 400, y + 360); // the file name box
        Xdotool("type --delay 5 '" + path + "'");
        Xdotool("key Return");
        ASSERT_TRUE(WaitFor([&] { return !WindowAt(title, x, y); })) << "the dialog stayed open";
    }
    // Loads the part through the panel's button and the open dialog.
    void LoadPartByHand()
    {
        Click(kClientX + 120, kClientY + 170); // "パーツ読み込み"
        AnswerFileDialog("開くファイルを選んでください", partPath);
    }
    // A press, moves in steps and a release, as a hand drags.
    void DragBy(int x, int y, int dx, int dy)
    {
        Xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " mousedown 1");
        for (int step = 1; step <= 5; ++step)
            Xdotool("mousemove " + std::to_string(x + dx * step / 5) + " " + std::to_string(y + dy * step / 5));
        Xdotool("mouseup 1");
    }
    std::string FileBytes(const std::string& path) { return fileText(path); }

    // The placement of the editor's last compose, as it prints it: the
    // compose tool's own options.
    std::string LastPlacement()
    {
        const std::string out = fileText(folder + "/stdout.txt"), mark = "Compose : ";
        const size_t at = out.rfind(mark);
        if (at == std::string::npos)
            return {};
        const size_t end = out.find('\n', at);
        return out.substr(at + mark.size(), end - at - mark.size());
    }
    // One number of a placement line: the two values after `option`.
    static std::pair<double, double> PairOf(const std::string& placement, const std::string& option)
    {
        const size_t at = placement.find(option + " ");
        double a = 0, b = 0;
        if (at != std::string::npos)
            std::sscanf(placement.c_str() + at + option.size() + 1, "%lf,%lf", &a, &b);
        return { a, b };
    }
    // A screenshot kept with the build's test artifacts.
    void Screenshot(const std::string& name)
    {
        mkdir(TESSERINE_ARTIFACTS, 0755);
        std::system((
            "import -display " + server.name + " -window root " + TESSERINE_ARTIFACTS + "/" + name + ".png 2>/dev/null")
                        .c_str());
    }

    PrivateServer server;
    Child program;
    Display* display = nullptr;
    std::string folder, partPath;
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

    Xdotool("key ctrl+z");
    EXPECT_TRUE(WaitFor([&] { return Pixel(partX, partY) == 0xFF0000; }))
        << "Ctrl+Z did not bring the red back: " << std::hex << Pixel(partX, partY);
}

// The whole round: a canvas and a part through the file dialogs, the part
// moved, blended in Smart mode, combined and the canvas saved; the file must
// be exactly what tesserine-compose makes of the same placement. Then undo
// walks back through the combine and the blend.
TEST_F(EditorX11, ComposedCanvasIsSavedAsTheComposeToolMakesIt)
{
    const std::string canvasPath = folder + "/canvas.bmp", savedPath = folder + "/saved.png";
    const int w = 400, h = 300;
    WriteBmp(canvasPath, w, h,
        [](int x, int y) { return static_cast<unsigned>((x * 255 / 399) << 16 | (y * 255 / 299) << 8 | 0x60); });
    Start();
    Click(kClientX + 20 + 159, kClientY + 40 + 20); // "キャンバス読込"
    AnswerFileDialog("開くファイルを選んでください", canvasPath);
    // A 400 x 300 canvas sits in the middle of the 534 x 564 view.
    const int pictureX = kClientX + 240 + (534 - w) / 2, pictureY = kClientY + 10 + (564 - h) / 2;
    ASSERT_TRUE(WaitFor([&] { return Pixel(pictureX + 1, pictureY + 1) == 0x000060; }))
        << "the canvas did not open: " << std::hex << Pixel(pictureX + 1, pictureY + 1);
    LoadPartByHand();
    ASSERT_TRUE(WaitFor([&] { return Pixel(pictureX + 30, pictureY + 25) == 0xFF0000; })) << "no part";

    DragBy(pictureX + 30, pictureY + 25, 40, 30); // the box's inside moves it
    ASSERT_TRUE(WaitFor([&] { return Pixel(pictureX + 70, pictureY + 55) == 0xFF0000; })) << "the part did not move";
    Click(kClientX + 10 + 10 + 47, kClientY + 150 + 320 + 10); // the compose list
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    Click(kClientX + 10 + 10 + 40, kClientY + 150 + 320 + 20 + 30); // its second row, "Smart合成"
    ASSERT_TRUE(WaitFor([&] { return Pixel(pictureX + 70, pictureY + 55) != 0xFF0000; })) << "no Smart blend";
    Click(kClientX + 10 + 110 + 50, kClientY + 150 + 300 + 20); // "貼り付け"
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    Click(kClientX + 10 + 10 + 48, kClientY + 510 + 15 + 12); // "キャンバス保存"
    AnswerFileDialog("保存するファイル名を指定してください", savedPath);
    ASSERT_TRUE(WaitFor([&] { return !FileBytes(savedPath).empty(); })) << "nothing saved";

    const std::string expectedPath = folder + "/expected.png";
    const std::string command = std::string(TESSERINE_COMPOSE) + " --canvas " + canvasPath + " --part " + partPath
        + " --at 50,40 --mode smart -o " + expectedPath + " > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_TRUE(FileBytes(savedPath) == FileBytes(expectedPath)) << "the saved canvas differs from " << command;

    // Undo takes back the combine (the part floats again, still blended),
    // then the change to Smart mode: the part shows plainly red.
    Xdotool("key ctrl+z");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    Xdotool("key ctrl+z");
    EXPECT_TRUE(WaitFor([&] { return Pixel(pictureX + 70, pictureY + 55) == 0xFF0000; }))
        << "two undos did not bring back the plainly composed part: " << std::hex
        << Pixel(pictureX + 70, pictureY + 55);
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
    WriteBmp(canvasPath, w, h, [](int x, int y) {
        const unsigned r = 60 + x * 150 / w + (x * 7 + y * 3) % 11, g = 90 + y * 120 / h, b = 200 - x * 80 / w;
        return r << 16 | g << 8 | b;
    });
    // A red disc on an even white ground: the pen marks roughly, optimise
    // takes the white away.
    WriteBmp(objectPath, 60, 60, [](int x, int y) {
        const int dx = x - 30, dy = y - 30;
        return dx * dx + dy * dy <= 18 * 18 ? 0xD02020u : 0xFFFFFFu;
    });
    Start();
    Click(kClientX + 20 + 159, kClientY + 40 + 20); // "キャンバス読込"
    AnswerFileDialog("開くファイルを選んでください", canvasPath);
    const int pictureX = kClientX + 240 + (534 - w) / 2, pictureY = kClientY + 10 + (564 - h) / 2;
    Click(kClientX + 120, kClientY + 170); // "パーツ読み込み"
    AnswerFileDialog("開くファイルを選んでください", objectPath);
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

    Click(kClientX + 10 + 10 + 47, kClientY + 150 + 320 + 10); // the compose list
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    Click(kClientX + 10 + 10 + 40, kClientY + 150 + 320 + 20 + 30); // "Smart合成"
    ASSERT_TRUE(WaitFor([&] { return LastPlacement().find("--mode smart") != std::string::npos; }));
    placement = LastPlacement();
    Screenshot("round-3-placed");

    const std::string savedPart = folder + "/cut-part.png", savedCanvas = folder + "/round.png";
    Click(kClientX + 10 + 112 + 49, kClientY + 510 + 15 + 12); // "パーツ保存"
    AnswerFileDialog("保存するファイル名を指定してください", savedPart);
    Click(kClientX + 10 + 110 + 50, kClientY + 150 + 300 + 20); // "貼り付け"
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    Click(kClientX + 10 + 10 + 48, kClientY + 510 + 15 + 12); // "キャンバス保存"
    AnswerFileDialog("保存するファイル名を指定してください", savedCanvas);
    ASSERT_TRUE(WaitFor([&] { return !FileBytes(savedCanvas).empty(); })) << "nothing saved";
    Screenshot("round-4-pasted");

    const std::string expected = folder + "/expected.png";
    const std::string command = std::string(TESSERINE_COMPOSE) + " --canvas " + canvasPath + " --part " + savedPart
        + " " + placement + " -o " + expected + " > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_TRUE(FileBytes(savedCanvas) == FileBytes(expected)) << "the saved canvas differs from " << command;
}

} // namespace
