#pragma once

// The editor program on a private X server, driven only through the server
// (xdotool's pointer, buttons and keys) as a person drives it: the screen is
// read back with XGetImage, the files it saves are read back whole, and each
// test keeps its screenshots in the build folder's test artifacts.
// The picture type before Xlib, whose None macro would clash with its names.
#include "imaging/FNImage.h"

#include "tests/app/x11/ProgramHarness.h"

#include <X11/Xutil.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <utility>

namespace session_harness {

using namespace program_harness;

// Screen positions: the main window's client area starts at (50, 68) (its
// top at 50, the 18-pixel menu bar above the client area); the panel's
// widgets are where the command panel lays them out (group frames at x = 10
// of the window, their children relative to the frame).
struct Point {
    int x, y;
};
constexpr int kClientX = 50, kClientY = 68;
constexpr Point client(int x, int y)
{
    return { kClientX + x, kClientY + y };
}
constexpr Point kUndoButton = client(10 + 20, 10 + 10);
constexpr Point kRedoButton = client(55 + 20, 10 + 10);
constexpr Point kBlankCanvasButton = client(10 + 10 + 48, 40 + 10 + 10);
constexpr Point kLoadCanvasButton = client(10 + 112 + 49, 40 + 10 + 10);
constexpr Point kBlurPenButton = client(10 + 10 + 30, 40 + 40 + 15);
constexpr Point kLoadPartButton = client(10 + 10 + 100, 150 + 10 + 10);
constexpr Point kComposeList = client(10 + 10 + 47, 150 + 320 + 10);
constexpr Point kComposeListSmartRow = client(10 + 10 + 40, 150 + 320 + 20 + 30); // "Smart合成"
constexpr Point kPasteButton = client(10 + 110 + 50, 150 + 300 + 20);
constexpr Point kSaveCanvasButton = client(10 + 10 + 48, 510 + 15 + 12);
constexpr Point kSavePartButton = client(10 + 112 + 49, 510 + 15 + 12);

// A picture w x h centred in the 534 x 564 canvas view at client (240, 10):
// where its pixel (0, 0) is on the screen.
constexpr Point pictureOrigin(int w, int h)
{
    return client(240 + (534 - w) / 2, 10 + (564 - h) / 2);
}

constexpr unsigned long kViewBackdrop = 0xDCDCEB;
const std::string kOpenTitle = "開くファイルを選んでください";
const std::string kSaveTitle = "保存するファイル名を指定してください";

struct WindowBox {
    std::string id;
    int x = 0, y = 0, width = 0, height = 0;
};

// The pictures of a session compared as pixels: the same size and the same
// four bytes in every pixel.
inline ::testing::AssertionResult samePixels(const FNImage& a, const FNImage& b)
{
    if (a.width != b.width || a.height != b.height)
        return ::testing::AssertionFailure()
            << a.width << " x " << a.height << " against " << b.width << " x " << b.height;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            if (a.row(y)[x] != b.row(y)[x])
                return ::testing::AssertionFailure() << "first difference at (" << x << ", " << y << "): " << std::hex
                                                     << a.row(y)[x] << " against " << b.row(y)[x];
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult fileShows(const std::string& path, const FNImage& expected)
{
    FNImage saved;
    if (!saved.load(path))
        return ::testing::AssertionFailure() << "cannot read " << path << ": " << saved.failureText().str();
    return samePixels(saved, expected) << " (" << path << ")";
}

// A picture file made here; colour(x, y) gives 0xRRGGBB, the file's format
// follows its name.
inline ::testing::AssertionResult writePicture(
    const std::string& path, int w, int h, const std::function<uint32_t(int, int)>& colour)
{
    FNImage picture(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.row(y)[x] = 0xFF000000u | colour(x, y);
    if (!picture.save(path.c_str()))
        return ::testing::AssertionFailure() << "cannot write " << path;
    return ::testing::AssertionSuccess();
}

class EditorSession : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.Start()) << "no private Xvfb could be started";
        // Readable by all: a session may run the editor as another user.
        folder = "/tmp/tesserine-session-" + std::to_string(getpid());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        std::filesystem::permissions(folder, std::filesystem::perms(0755));
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        shots = std::string(TESSERINE_ARTIFACTS) + "/" + test->test_suite_name() + "." + test->name();
        std::filesystem::remove_all(shots);
        std::filesystem::create_directories(shots);
        display = XOpenDisplay(server.name.c_str());
        ASSERT_NE(display, nullptr);
    }
    void TearDown() override
    {
        if (HasFailure() && display)
            Screenshot("failed");
        program.Kill();
        if (display)
            XCloseDisplay(display);
        server.Kill();
        std::error_code ignored;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ignored))
            std::filesystem::permissions(
                entry.path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(folder, ignored);
    }

    // Starts the editor with `arguments`, run through the command `prefix`
    // (e.g. setpriv) when one is given, its standard output kept in
    // stdout.txt, and waits until its main window shows the canvas view.
    void Start(const std::vector<std::string>& arguments = {}, const std::vector<std::string>& prefix = {})
    {
        std::vector<std::string> command = prefix;
        command.push_back(TESSERINE_PROGRAM);
        command.insert(command.end(), arguments.begin(), arguments.end());
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(
            &actions, 1, (folder + "/stdout.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_TRUE(program.Spawn(command, environmentWith("DISPLAY", server.name), &actions));
        posix_spawn_file_actions_destroy(&actions);
        WindowBox main;
        ASSERT_TRUE(WaitFor([&] { return FindWindow("Tesserine", main); })) << "the editor showed no window";
        ASSERT_TRUE(WaitFor([&] { return Pixel(client(240, 10)) == kViewBackdrop; })) << "no canvas view";
    }

    // The colour on the screen at a point, 0xRRGGBB.
    unsigned long Pixel(Point at)
    {
        XImage* image = XGetImage(display, DefaultRootWindow(display), at.x, at.y, 1, 1, AllPlanes, ZPixmap);
        if (!image)
            return 0;
        const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
        XDestroyImage(image);
        return pixel;
    }
    unsigned long Pixel(int x, int y) { return Pixel(Point { x, y }); }
    // How many pixel columns of the w x h area at `corner` hold ink (a dark
    // pixel): text shows as several, an empty text box's caret as one or two.
    int InkColumns(Point corner, int w, int h)
    {
        XImage* image = XGetImage(display, DefaultRootWindow(display), corner.x, corner.y, w, h, AllPlanes, ZPixmap);
        if (!image)
            return -1;
        int columns = 0;
        for (int x = 0; x < w; ++x) {
            bool ink = false;
            for (int y = 0; y < h && !ink; ++y) {
                const unsigned long p = XGetPixel(image, x, y);
                ink = ((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF)) < 3 * 0x80;
            }
            columns += ink;
        }
        XDestroyImage(image);
        return columns;
    }

    // The whole screen as a PNG named by its place in the test.
    void Screenshot(const std::string& name)
    {
        XWindowAttributes root;
        XGetWindowAttributes(display, DefaultRootWindow(display), &root);
        XImage* image
            = XGetImage(display, DefaultRootWindow(display), 0, 0, root.width, root.height, AllPlanes, ZPixmap);
        if (!image)
            return;
        FNImage shot(root.width, root.height);
        for (int y = 0; y < root.height; ++y)
            for (int x = 0; x < root.width; ++x)
                shot.row(y)[x] = 0xFF000000u | static_cast<uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF);
        XDestroyImage(image);
        char number[16];
        std::snprintf(number, sizeof number, "%02d-", ++m_shotCount);
        shot.save((shots + "/" + number + name + ".png").c_str());
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
    static std::string at(Point p) { return std::to_string(p.x) + " " + std::to_string(p.y); }
    // A click as touchpads send it: press and release with no time between.
    void Click(Point p) { Xdotool("mousemove " + at(p) + " click 1"); }
    void Click(int x, int y) { Click(Point { x, y }); }
    void Key(const std::string& keys) { Xdotool("key " + keys); }
    void Type(const std::string& text) { Xdotool("type --delay 5 -- '" + text + "'"); }
    // A press at `from`, the pointer taken to `to` in one jump, a release.
    void Stroke(Point from, Point to)
    {
        Xdotool("mousemove " + at(from) + " mousedown 1 mousemove " + at(to) + " mouseup 1");
    }
    // A press, moves in five steps and a release, as a hand drags.
    void DragBy(int x, int y, int dx, int dy)
    {
        std::string moves = "mousemove " + at({ x, y }) + " mousedown 1";
        for (int step = 1; step <= 5; ++step)
            moves += " mousemove " + at({ x + dx * step / 5, y + dy * step / 5 });
        Xdotool(moves + " mouseup 1");
    }

    // The shown window titled `title` (xdotool's own name search does not
    // match non-ASCII titles, so every shown window's name is compared).
    bool FindWindow(const std::string& title, WindowBox& box)
    {
        std::istringstream windows(XdotoolOutput("search --onlyvisible --name ."));
        for (std::string id; windows >> id;) {
            if (XdotoolOutput("getwindowname " + id) != title + "\n")
                continue;
            const std::string geometry = XdotoolOutput("getwindowgeometry --shell " + id);
            const auto value = [&geometry](const char* name) {
                const size_t found = geometry.find(std::string("\n") + name + "=");
                return found == std::string::npos ? -1 : std::atoi(geometry.c_str() + found + std::strlen(name) + 2);
            };
            box = { id, value("X"), value("Y"), value("WIDTH"), value("HEIGHT") };
            return box.width > 0;
        }
        return false;
    }
    bool Shown(const std::string& title)
    {
        WindowBox ignored;
        return FindWindow(title, ignored);
    }
    // Waits for the window titled `title` to show and to hold the keyboard
    // focus, which the program gives every window it opens.
    WindowBox AwaitWindow(const std::string& title)
    {
        WindowBox box;
        EXPECT_TRUE(WaitFor([&] { return FindWindow(title, box); })) << "no window " << title;
        EXPECT_TRUE(WaitFor([&] { return FocusIsIn(std::stoul(box.id)); }))
            << "the window " << title << " has no focus";
        return box;
    }
    // Whether the keyboard focus is on the top-level window `top` or on a
    // window inside it.
    bool FocusIsIn(Window top)
    {
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(display, &focus, &revert);
        const Window rootWindow = DefaultRootWindow(display);
        while (focus != 0 && focus != PointerRoot && focus != rootWindow) {
            if (focus == top)
                return true;
            Window root = 0, parent = 0, *children = nullptr;
            unsigned count = 0;
            if (!XQueryTree(display, focus, &root, &parent, &children, &count))
                return false;
            if (children)
                XFree(children);
            focus = parent;
        }
        return false;
    }
    void AwaitClosed(const std::string& title)
    {
        EXPECT_TRUE(WaitFor([&] { return !Shown(title); })) << "the window " << title << " stayed open";
    }

    // Answers the file dialog titled `title`: the path typed into its name
    // box, then Return.
    void AnswerFileDialog(const std::string& title, const std::string& path)
    {
        const WindowBox dialog = AwaitWindow(title);
        Click(dialog.x + 400, dialog.y + 360); // the file name box
        Type(path);
        Key("Return");
    }
    // Opens through `button` and the open dialog, and waits for it to close.
    void OpenThrough(Point button, const std::string& path)
    {
        Click(button);
        AnswerFileDialog(kOpenTitle, path);
        AwaitClosed(kOpenTitle);
    }
    // Saves through the command on `keys` (Ctrl+S the canvas, Ctrl+D the
    // part) and the save dialog, and waits for the file: a save renames its
    // finished temporary file to the name, so the name appears whole.
    void SaveAs(const std::string& keys, const std::string& path)
    {
        Key(keys);
        AnswerFileDialog(kSaveTitle, path);
        AwaitClosed(kSaveTitle);
        EXPECT_TRUE(WaitFor([&] { return std::filesystem::exists(path); })) << "nothing saved as " << path;
    }
    void SaveCanvasAs(const std::string& path) { SaveAs("ctrl+s", path); }

    // "Smart合成" chosen in the compose list: the list opened, its second
    // row clicked once it shows.
    void ChooseSmartCompose()
    {
        const unsigned long closed = Pixel(kComposeListSmartRow);
        Click(kComposeList);
        EXPECT_TRUE(WaitFor([&] { return Pixel(kComposeListSmartRow) != closed; })) << "the compose list did not open";
        Click(kComposeListSmartRow);
    }
    // Waits until the part tools change between enabled and disabled (a
    // paste disables them, undoing it enables them): the compose list's face
    // shows which.
    template <typename Action> void ExpectPartToolsToggledBy(Action act)
    {
        const unsigned long before = Pixel(kComposeList);
        act();
        EXPECT_TRUE(WaitFor([&] { return Pixel(kComposeList) != before; })) << "the part tools did not change";
    }
    void Paste()
    {
        ExpectPartToolsToggledBy([this] { Click(kPasteButton); });
    }

    // The placement of the editor's last compose, as it prints it: the
    // compose tool's own options.
    std::string LastPlacement()
    {
        const std::string out = fileText(folder + "/stdout.txt"), mark = "Compose : ";
        const size_t found = out.rfind(mark);
        if (found == std::string::npos)
            return {};
        const size_t end = out.find('\n', found);
        return out.substr(found + mark.size(), end - found - mark.size());
    }
    // One option of a placement line: the two values after `option`.
    static std::pair<double, double> PairOf(const std::string& placement, const std::string& option)
    {
        const size_t found = placement.find(option + " ");
        double a = 0, b = 0;
        if (found != std::string::npos)
            std::sscanf(placement.c_str() + found + option.size() + 1, "%lf,%lf", &a, &b);
        return { a, b };
    }

    PrivateServer server;
    Child program;
    Display* display = nullptr;
    std::string folder, shots;

private:
    int m_shotCount = 0;
};

} // namespace session_harness
