#pragma once

#include <string>
#include <vector>

// What the program was asked on its command line:
//
//   tesserine                 the editor with a blank canvas
//   tesserine CANVAS [PART]   the editor with CANVAS opened (and PART loaded)
//   tesserine --help | -h     a short usage text, exit 0
//   tesserine --version       the name and version, exit 0
//   anything else             the usage text on the error stream, exit 2
//
// "--" ends the options, so a file whose name starts with "-" can be named.
struct q_CommandLine {
    enum Action { Run, Help, Version, Refuse };
    Action action = Run;
    std::vector<std::string> files; // canvas, then part
    std::string problem; // why it was refused
};

q_CommandLine q_ParseCommandLine(int argc, const char* const* argv);

// The usage text, ending in a newline.
std::string q_UsageText();
