#include "app/program/q_CommandLine.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(CommandLine, FilesOptionsAndRefusals)
{
    using L = q_CommandLine;
    struct Case {
        std::vector<const char*> arguments;
        L::Action action;
        std::vector<std::string> files;
    } const cases[] = {
        { {}, L::Run, {} },
        { { "sea.png" }, L::Run, { "sea.png" } },
        { { "sea.png", "boat.png" }, L::Run, { "sea.png", "boat.png" } },
        { { "a", "b", "c" }, L::Refuse, {} },
        { { "--help" }, L::Help, {} },
        { { "sea.png", "-h" }, L::Help, {} },
        { { "--version" }, L::Version, {} },
        { { "--verbose" }, L::Refuse, {} },
        { { "--", "-odd name.png" }, L::Run, { "-odd name.png" } },
        { { "-" }, L::Run, { "-" } },
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv { "tesserine" };
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        const L line = q_ParseCommandLine(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(line.action, c.action) << c.arguments.size();
        if (c.action == L::Run) {
            EXPECT_EQ(line.files, c.files);
        }
        EXPECT_EQ(line.problem.empty(), c.action != L::Refuse);
    }
}

} // namespace
