#pragma once

// Running the editor program in tests: a child process, a private Xvfb of
// the test's own, and a look at the windows on it.

// gtest first: Xlib defines None as a macro.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace program_harness {

using Clock = std::chrono::steady_clock;

// Generous limits: they only keep a broken run from hanging the test suite.
constexpr auto kStartLimit = std::chrono::seconds(60);
constexpr auto kExitLimit = std::chrono::seconds(30);

// A process this test started; killed (only it) if the test leaves early.
class Child {
public:
    ~Child() { Kill(); }
    bool Spawn(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
        const posix_spawn_file_actions_t* actions)
    {
        std::vector<char*> argv, envp;
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        for (const std::string& entry : environment)
            envp.push_back(const_cast<char*>(entry.c_str()));
        envp.push_back(nullptr);
        return posix_spawnp(&m_pid, argv[0], actions, nullptr, argv.data(), envp.data()) == 0;
    }
    // Reaps the process if it has ended; true with its wait status then.
    bool Ended(int& status)
    {
        if (m_pid <= 0 || waitpid(m_pid, &status, WNOHANG) != m_pid)
            return false;
        m_pid = -1;
        return true;
    }
    bool WaitUntilEnded(int& status, Clock::duration limit)
    {
        const auto end = Clock::now() + limit;
        while (!Ended(status)) {
            if (Clock::now() > end)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return true;
    }
    void Kill()
    {
        if (m_pid <= 0)
            return;
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
};

inline std::vector<std::string> environmentWith(const std::string& name, const std::string& value)
{
    std::vector<std::string> result;
    for (char** entry = environ; *entry; ++entry) {
        if (std::strncmp(*entry, (name + "=").c_str(), name.size() + 1) != 0)
            result.push_back(*entry);
    }
    result.push_back(name + "=" + value);
    return result;
}

// Reads what a pipe carries until a newline, its end or the limit.
inline std::string readLine(int fd, Clock::duration limit)
{
    std::string text;
    const auto end = Clock::now() + limit;
    while (text.find('\n') == std::string::npos && Clock::now() < end) {
        pollfd ready { fd, POLLIN, 0 };
        if (poll(&ready, 1, 100) <= 0)
            continue;
        char buffer[64];
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        text.append(buffer, static_cast<size_t>(got));
    }
    return text;
}

// An Xvfb of this test's own on a display number nobody uses. Xvfb writes
// the number to the -displayfd descriptor once it accepts clients, and ends
// at once when another server holds the number.
class PrivateServer {
public:
    bool Start()
    {
        const int first = 300 + static_cast<int>(getpid() % 400);
        for (int number = first; number < first + 30; ++number) {
            if (access(("/tmp/.X" + std::to_string(number) + "-lock").c_str(), F_OK) == 0)
                continue;
            if (TryStart(number))
                return true;
        }
        return false;
    }
    void Kill() { m_server.Kill(); }
    std::string name;

private:
    bool TryStart(int number)
    {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0)
            return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
        const std::string display = ":" + std::to_string(number);
        const bool spawned
            = m_server.Spawn({ "Xvfb", display, "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-displayfd", "3" },
                environmentWith("DISPLAY", display), &actions);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        const std::string written = spawned ? readLine(fds[0], kStartLimit) : std::string();
        close(fds[0]);
        if (written.empty() || std::atoi(written.c_str()) != number) {
            m_server.Kill();
            return false;
        }
        name = display;
        return true;
    }

    Child m_server;
};

// Whether a top-level window is on the screen: with no window manager the
// program's windows are children of the root.
inline bool windowShown(Display* display)
{
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return false;
    bool shown = false;
    for (unsigned i = 0; i < count && !shown; ++i) {
        XWindowAttributes attributes;
        shown = XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable;
    }
    if (children)
        XFree(children);
    return shown;
}

inline std::string fileText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace program_harness
