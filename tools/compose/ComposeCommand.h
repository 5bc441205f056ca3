#pragma once

#include <iosfwd>
#include <string>
#include <vector>

class FNImage;

// The command behind tesserine-compose, separated from main() so the tests
// can run it with pictures kept in memory.

// --mode mixed: the tool's mixed-gradients blend (q_ComposeMixed).
constexpr int kComposeMixed = 2;

struct ComposeOptions {
    std::string canvasPath, partPath, outputPath;
    double atX = 0, atY = 0; // the part's top-left corner before scaling and rotation
    double scaleX = 1, scaleY = 1; // negative mirrors
    bool hasBox = false; // the transformed size given as the editor's box
    double boxWidth = 0, boxHeight = 0; // canvas pixels; otherwise part size x scale
    double angle = 0; // degrees
    int hue = 0, saturation = 0, value = 0;
    int mode = 0; // 0 normal, 1 smart, kComposeMixed
    bool help = false;
};

// Where pictures come from and go to: the picture files in the tool, memory
// in the tests. A failing call leaves its reason in the picture's message.
class PictureFiles {
public:
    virtual ~PictureFiles() = default;
    virtual bool load(FNImage& picture, const std::string& path) = 0;
    virtual bool save(FNImage& picture, const std::string& path) = 0;
};

// Parses the arguments (without the program name). On failure returns false
// and sets `error` to a one-line reason.
bool parseComposeOptions(const std::vector<std::string>& args, ComposeOptions& options, std::string& error);

// The usage text printed by --help.
const char* composeUsage();

// Runs the whole command: parse, read both pictures, adjust, compose, write.
// The solver's diagnostics go to `out`, errors to `err`. Returns the exit
// status: 0 done, 1 a picture could not be read, composed or written, 2 bad
// arguments. Nothing is written unless everything before the write worked.
int runCompose(const std::vector<std::string>& args, PictureFiles& files, std::ostream& out, std::ostream& err);
