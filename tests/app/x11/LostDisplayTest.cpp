// The editor on a display that goes away under it: the program must end by
// itself, at once, with status 1 and one line saying why.

#include "tests/app/x11/ProgramHarness.h"

namespace {

using namespace program_harness;

class LostDisplay : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.Start()) << "no private Xvfb could be started";
        char path[] = "/tmp/tesserine-lost-display-XXXXXX";
        const int fd = mkstemp(path);
        ASSERT_GE(fd, 0);
        close(fd);
        errorPath = path;
    }
    void TearDown() override
    {
        program.Kill();
        server.Kill();
        if (!errorPath.empty())
            unlink(errorPath.c_str());
    }

    bool StartProgram()
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, errorPath.c_str(), O_WRONLY | O_TRUNC, 0);
        const bool spawned = program.Spawn({ TESSERINE_PROGRAM }, environmentWith("DISPLAY", server.name), &actions);
        posix_spawn_file_actions_destroy(&actions);
        return spawned;
    }

    // Watches the private display until the program shows a window; false
    // when the program ends first or the limit passes.
    bool WaitForWindow()
    {
        Display* display = XOpenDisplay(server.name.c_str());
        if (!display)
            return false;
        const auto end = Clock::now() + kStartLimit;
        bool shown = false;
        int status = 0;
        while (!(shown = windowShown(display)) && Clock::now() < end && !program.Ended(status))
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        // Closed before the server goes, so this process is not the one
        // that loses its display.
        XCloseDisplay(display);
        return shown;
    }

    PrivateServer server;
    Child program;
    std::string errorPath;
};

TEST_F(LostDisplay, TheEditorEndsWithStatusOneAndOneLine)
{
    ASSERT_TRUE(StartProgram());
    ASSERT_TRUE(WaitForWindow()) << "the editor showed no window on " << server.name << "; it wrote:\n"
                                 << fileText(errorPath);
    server.Kill();
    int status = 0;
    ASSERT_TRUE(program.WaitUntilEnded(status, kExitLimit))
        << "the editor was still running after its display went away; it wrote:\n"
        << fileText(errorPath);
    const std::string written = fileText(errorPath);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0)
                                   << "; it wrote:\n"
                                   << written;
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(written, "tesserine: lost the connection to the X display \"" + server.name + "\"\n");
}

} // namespace
