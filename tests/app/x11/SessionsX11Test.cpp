// Whole editing sessions as a person has them: the editor program on a
// private X server, driven through the pointer and the keyboard only, its
// results read back from the screen and from the files it saves.
#include "tests/app/x11/SessionHarness.h"

#include "app/pictures/BlurPen.h"

namespace {

using namespace session_harness;
namespace fs = std::filesystem;

using EditorSessions = EditorSession;

// Where two pictures of one size first differ (-1, -1 where they do not).
Point firstDifference(const FNImage& a, const FNImage& b)
{
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            if (a.row(y)[x] != b.row(y)[x])
                return { x, y };
    return { -1, -1 };
}

// Two blur strokes on a striped canvas, then undo and redo by Ctrl+Z, the
// "戻す" button, Ctrl+Y and the "進む" button; the canvas saved after every
// step must be the picture the blur pen makes of the canvas at that point
// of the history.
TEST_F(EditorSessions, BlurStrokesUndoneAndRedoneByKeysAndButtons)
{
    const int w = 400, h = 300;
    const std::string canvasPath = folder + "/canvas.bmp";
    ASSERT_TRUE(
        writePicture(canvasPath, w, h, [](int x, int y) { return (x / 3 + y / 4) % 2 ? 0x2040C0u : 0xE0A030u; }));
    Start({ canvasPath });
    const Point origin = pictureOrigin(w, h);
    const auto onPicture = [&origin](int x, int y) { return Point { origin.x + x, origin.y + y }; };
    // The screen shows picture p wherever p differs from the picture before.
    const auto shows = [&](const FNImage& p, const FNImage& other) {
        const Point d = firstDifference(p, other);
        return Pixel(onPicture(d.x, d.y)) == (p.row(d.y)[d.x] & 0xFFFFFF);
    };
    FNImage states[3];
    ASSERT_TRUE(states[0].load(canvasPath.c_str()));
    ASSERT_TRUE(WaitFor([&] { return Pixel(onPicture(0, 0)) == (states[0].row(0)[0] & 0xFFFFFF); }))
        << "the canvas did not open";
    Screenshot("canvas-opened");

    Click(kBlurPenButton);
    struct StrokeCase {
        Point from, to;
    };
    const StrokeCase strokes[] = { { { 40, 100 }, { 260, 100 } }, { { 100, 40 }, { 300, 260 } } };
    for (int i = 0; i < 2; ++i) {
        const StrokeCase& stroke = strokes[i];
        states[i + 1].copyFrom(&states[i]);
        q_BlurLine(states[i + 1], 10, stroke.from.x, stroke.from.y, stroke.to.x, stroke.to.y); // size 10 at start
        Stroke(onPicture(stroke.from.x, stroke.from.y), onPicture(stroke.to.x, stroke.to.y));
        ASSERT_TRUE(WaitFor([&] { return shows(states[i + 1], states[i]); })) << "stroke " << i + 1 << " not shown";
        Screenshot("stroke-" + std::to_string(i + 1));
        const std::string saved = folder + "/stroke-" + std::to_string(i + 1) + ".png";
        SaveCanvasAs(saved);
        EXPECT_TRUE(fileShows(saved, states[i + 1])) << "after stroke " << i + 1;
    }

    struct HistoryCase {
        const char* name;
        std::function<void()> act;
        int state, from;
    };
    const HistoryCase steps[] = {
        { "ctrl-z", [&] { Key("ctrl+z"); }, 1, 2 },
        { "undo-button", [&] { Click(kUndoButton); }, 0, 1 },
        { "ctrl-y", [&] { Key("ctrl+y"); }, 1, 0 },
        { "redo-button", [&] { Click(kRedoButton); }, 2, 1 },
    };
    for (const HistoryCase& step : steps) {
        step.act();
        ASSERT_TRUE(WaitFor([&] { return shows(states[step.state], states[step.from]); }))
            << step.name << " did not show the expected canvas";
        ASSERT_FALSE(HasFailure());
        Screenshot(step.name);
        const std::string saved = folder + "/" + step.name + ".png";
        SaveCanvasAs(saved);
        EXPECT_TRUE(fileShows(saved, states[step.state])) << "after " << step.name;
    }
}

// The new-canvas dialog refuses 49, 1201, an empty box and -5 with its
// message, stays open with the texts as they were and changes nothing; a
// good size then makes the new white canvas.
TEST_F(EditorSessions, NewCanvasDialogRefusesBadSizesAndTakesAGoodOne)
{
    const std::string dialogTitle = "新しいキャンバスを作成", messageTitle = "サイズの値";
    Start({});
    const Point start = pictureOrigin(500, 540);
    ASSERT_EQ(Pixel(start), 0xFFFFFFu);
    Click(kBlankCanvasButton);
    const WindowBox dialog = AwaitWindow(dialogTitle);
    // The framed window's client area starts 6 pixels in and below its
    // 28-pixel title bar.
    const auto inDialog = [&dialog](int x, int y) { return Point { dialog.x + 6 + x, dialog.y + 28 + y }; };
    const Point widthBox = inDialog(90, 20), heightBox = inDialog(90, 50), ok = inDialog(105, 80);
    // A text box 60 x 20 around `box`: its text replaced by `text`, which
    // must then show in it.
    const auto setBox = [&](Point box, const std::string& text) {
        Click(box);
        Key("ctrl+a BackSpace");
        if (!text.empty())
            Type(text);
        const Point inside { box.x - 28, box.y - 8 };
        EXPECT_TRUE(WaitFor([&] { return (InkColumns(inside, 56, 16) > 3) == !text.empty(); }))
            << "the box does not show \"" << text << "\"";
    };
    const auto pressOkAndExpectRefusal = [&](const std::string& shot) {
        Click(ok);
        AwaitWindow(messageTitle);
        if (!shot.empty())
            Screenshot(shot);
        Key("Return");
        AwaitClosed(messageTitle);
    };

    struct SizeCase {
        const char* name;
        const char *width, *height;
    };
    const SizeCase bad[] = { { "width-49", "49", "500" }, { "height-1201", "400", "1201" },
        { "width-empty", "", "500" }, { "width-minus-5", "-5", "500" } };
    for (const SizeCase& size : bad) {
        SCOPED_TRACE(size.name);
        setBox(widthBox, size.width);
        setBox(heightBox, size.height);
        pressOkAndExpectRefusal(std::string(size.name) + "-refused");
        EXPECT_TRUE(Shown(dialogTitle)) << "the dialog closed";
        // The texts stay as they were: a second OK is refused again.
        pressOkAndExpectRefusal("");
        EXPECT_TRUE(Shown(dialogTitle)) << "the dialog closed";
        EXPECT_EQ(Pixel(start), 0xFFFFFFu) << "the canvas changed";
        EXPECT_EQ(Pixel({ start.x - 1, start.y }), kViewBackdrop) << "the canvas changed its size";
        ASSERT_FALSE(HasFailure());
    }

    setBox(widthBox, "300");
    setBox(heightBox, "200");
    Screenshot("good-size");
    Click(ok);
    AwaitClosed(dialogTitle);
    const Point made = pictureOrigin(300, 200);
    EXPECT_TRUE(WaitFor([&] { return Pixel(start) == kViewBackdrop; })) << "the old canvas is still shown";
    EXPECT_EQ(Pixel(made), 0xFFFFFFu);
    EXPECT_EQ(Pixel({ made.x + 299, made.y + 199 }), 0xFFFFFFu);
    EXPECT_EQ(Pixel({ made.x - 1, made.y }), kViewBackdrop);
    EXPECT_EQ(Pixel({ made.x + 300, made.y + 199 }), kViewBackdrop);
    EXPECT_EQ(Pixel({ made.x, made.y + 200 }), kViewBackdrop);
    Screenshot("new-canvas");
}

// Every failure a person can cause with files, the editor run as a user
// who may not read or write where the files are: each one is told in a
// message box, the canvas and the part stay as they were, and the editor
// goes on to save both unchanged.
TEST_F(EditorSessions, FileFailuresAreToldAndLoseNothing)
{
    // Root reads and writes everywhere: the editor then runs as nobody.
    const bool root = geteuid() == 0;
    const std::vector<std::string> asUser = root
        ? std::vector<std::string> { "setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--" }
        : std::vector<std::string> {};
    const int w = 300, h = 200;
    const std::string canvasPath = folder + "/canvas.png", partPath = folder + "/part.png";
    ASSERT_TRUE(writePicture(
        canvasPath, w, h, [](int x, int y) { return static_cast<uint32_t>(x * 255 / 299 << 16 | y << 8 | 0x40); }));
    ASSERT_TRUE(writePicture(partPath, 40, 30, [](int, int) { return 0xFF0000u; }));
    const std::string notPicture = folder + "/notes.png", truncated = folder + "/truncated.png";
    std::ofstream(notPicture) << "these are notes, not a picture\n";
    const std::string canvasBytes = fileText(canvasPath);
    std::ofstream(truncated, std::ios::binary) << canvasBytes.substr(0, canvasBytes.size() / 2);
    const std::string locked = folder + "/locked", readOnly = folder + "/read-only", out = folder + "/out";
    for (const std::string& made : { locked, readOnly, out })
        fs::create_directory(made);
    fs::copy_file(canvasPath, locked + "/inside.png");
    fs::permissions(locked, fs::perms::none);
    fs::permissions(readOnly, fs::perms(0555));
    if (root) {
        ASSERT_EQ(std::system(("chown 65534 " + out).c_str()), 0);
    }

    Start({ canvasPath, partPath }, asUser);
    const Point origin = pictureOrigin(w, h);
    const Point canvasPoint { origin.x + 200, origin.y + 150 }, partPoint { origin.x + 30, origin.y + 25 };
    const unsigned long canvasColour = 200 * 255 / 299 << 16 | 150 << 8 | 0x40;
    ASSERT_TRUE(WaitFor([&] { return Pixel(partPoint) == 0xFF0000; })) << "the part was not placed";
    ASSERT_EQ(Pixel(canvasPoint), canvasColour);
    Screenshot("started");

    struct FailureCase {
        const char* name;
        const char* keys;
        std::string dialog, path, message;
    };
    const FailureCase failures[] = {
        { "open-not-a-picture", "ctrl+o", kOpenTitle, notPicture, "読み込みの失敗" },
        { "part-truncated", "ctrl+p", kOpenTitle, truncated, "読み込みの失敗" },
        { "open-in-locked-folder", "ctrl+o", kOpenTitle, locked + "/inside.png", "読み込みの失敗" },
        { "save-canvas-read-only-folder", "ctrl+s", kSaveTitle, readOnly + "/canvas.png", "保存の失敗" },
        { "save-part-read-only-folder", "ctrl+d", kSaveTitle, readOnly + "/part.png", "保存の失敗" },
    };
    for (const FailureCase& failure : failures) {
        SCOPED_TRACE(failure.name);
        Key(failure.keys);
        AnswerFileDialog(failure.dialog, failure.path);
        AwaitWindow(failure.message);
        Screenshot(failure.name);
        Key("Return");
        AwaitClosed(failure.message);
        AwaitClosed(failure.dialog);
        int status = 0;
        ASSERT_FALSE(program.Ended(status)) << "the editor ended";
        EXPECT_EQ(Pixel(partPoint), 0xFF0000u) << "the part is lost";
        EXPECT_EQ(Pixel(canvasPoint), canvasColour) << "the canvas is lost";
        ASSERT_FALSE(HasFailure());
    }
    EXPECT_TRUE(fs::is_empty(readOnly));

    FNImage canvas, part;
    ASSERT_TRUE(canvas.load(canvasPath.c_str()));
    ASSERT_TRUE(part.load(partPath.c_str()));
    SaveCanvasAs(out + "/canvas.png");
    EXPECT_TRUE(fileShows(out + "/canvas.png", canvas));
    SaveAs("ctrl+d", out + "/part.png");
    EXPECT_TRUE(fileShows(out + "/part.png", part));
}

} // namespace
