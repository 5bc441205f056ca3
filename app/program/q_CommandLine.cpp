#include "app/program/q_CommandLine.h"

#include <cstring>

namespace {

constexpr size_t kMaxFiles = 2;

q_CommandLine refused(const std::string& problem)
{
    q_CommandLine line;
    line.action = q_CommandLine::Refuse;
    line.problem = problem;
    return line;
}

} // namespace

q_CommandLine q_ParseCommandLine(int argc, const char* const* argv)
{
    q_CommandLine line;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == "--help" || argument == "-h")) {
            line.action = q_CommandLine::Help;
            return line;
        } else if (!optionsEnded && argument == "--version") {
            line.action = q_CommandLine::Version;
            return line;
        } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            return refused("unknown option '" + argument + "'");
        } else if (line.files.size() == kMaxFiles) {
            return refused("too many files: a canvas and a part at most");
        } else {
            line.files.push_back(argument);
        }
    }
    return line;
}

std::string q_UsageText()
{
    return "usage: tesserine [CANVAS [PART]]\n"
           "  Opens the image-compositing editor, with CANVAS as the canvas picture and\n"
           "  PART loaded as the part when they are given (BMP, JPEG, PNG or TGA files).\n"
           "  --help     show this text\n"
           "  --version  show the program's version\n";
}
