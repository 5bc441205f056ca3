#include "tools/compose/ComposeCommand.h"

#include "app/pictures/CanvasLimit.h"
#include "app/pictures/ColourAdjust.h"
#include "app/pictures/Compose.h"
#include "imaging/FNImage.h"
#include "imaging/codecs/Extensions.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <ostream>

namespace {

constexpr const char* kProgram = "tesserine-compose";
constexpr double kMaxCoordinate = 1e7;

bool parseNumber(const std::string& text, double& value)
{
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0])))
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return errno == 0 && end == text.c_str() + text.size() && std::isfinite(value);
}

bool parseInteger(const std::string& text, int lo, int hi, int& value)
{
    double number;
    if (!parseNumber(text, number) || number != std::trunc(number) || number < lo || number > hi)
        return false;
    value = static_cast<int>(number);
    return true;
}

// "a,b" into two numbers; with allowSingle, "a" gives a for both.
bool parsePair(const std::string& text, bool allowSingle, double& a, double& b)
{
    const size_t comma = text.find(',');
    if (comma == std::string::npos)
        return allowSingle && parseNumber(text, a) && parseNumber(text, b);
    return parseNumber(text.substr(0, comma), a) && parseNumber(text.substr(comma + 1), b);
}

bool supportedOutput(const std::string& path)
{
    const FNString name(path);
    return extensionIs(name, kBMPExtensions) || extensionIs(name, kJPEGExtensions) || extensionIs(name, kPNGExtensions)
        || extensionIs(name, kTGAExtensions);
}

bool knownOption(const std::string& name)
{
    static const char* const names[] = { "--canvas", "--part", "-o", "--output", "--at", "--scale", "--box", "--angle",
        "--hue", "--saturation", "--value", "--mode" };
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

bool namesAFile(const std::string& name)
{
    return name == "--canvas" || name == "--part" || name == "-o" || name == "--output";
}

bool applyOption(const std::string& name, const std::string& value, ComposeOptions& o, std::string& error)
{
    const auto fail = [&](const char* what) {
        error = "invalid " + name + " '" + value + "': " + what;
        return false;
    };
    if (name == "--canvas")
        o.canvasPath = value;
    else if (name == "--part")
        o.partPath = value;
    else if (name == "-o" || name == "--output")
        o.outputPath = value;
    else if (name == "--at") {
        if (!parsePair(value, false, o.atX, o.atY) || std::fabs(o.atX) > kMaxCoordinate
            || std::fabs(o.atY) > kMaxCoordinate)
            return fail("expected X,Y (two numbers within +-10000000)");
    } else if (name == "--scale") {
        if (!parsePair(value, true, o.scaleX, o.scaleY) || o.scaleX == 0 || o.scaleY == 0)
            return fail("expected S or SX,SY (non-zero numbers)");
    } else if (name == "--box") {
        if (!parsePair(value, false, o.boxWidth, o.boxHeight) || std::fabs(o.boxWidth) > kMaxCoordinate
            || std::fabs(o.boxHeight) > kMaxCoordinate)
            return fail("expected W,H (two numbers within +-10000000)");
        o.hasBox = true;
    } else if (name == "--angle") {
        if (!parseNumber(value, o.angle))
            return fail("expected a number of degrees");
    } else if (name == "--hue") {
        if (!parseInteger(value, -180, 180, o.hue))
            return fail("expected an integer from -180 to 180");
    } else if (name == "--saturation") {
        if (!parseInteger(value, -100, 100, o.saturation))
            return fail("expected an integer from -100 to 100");
    } else if (name == "--value") {
        if (!parseInteger(value, -100, 100, o.value))
            return fail("expected an integer from -100 to 100");
    } else if (name == "--mode") {
        if (value == "normal")
            o.mode = q_ComposeNormal;
        else if (value == "smart")
            o.mode = q_ComposeSmart;
        else if (value == "mixed")
            o.mode = kComposeMixed;
        else
            return fail("expected normal, smart or mixed");
    } else {
        error = "unknown option '" + name + "'";
        return false;
    }
    return true;
}

bool checkRequired(const ComposeOptions& o, std::string& error)
{
    if (o.canvasPath.empty())
        error = "missing --canvas FILE";
    else if (o.partPath.empty())
        error = "missing --part FILE";
    else if (o.outputPath.empty())
        error = "missing -o FILE";
    else if (!supportedOutput(o.outputPath))
        error = "cannot tell the output format of '" + o.outputPath + "': use .png, .bmp, .jpg, .jpeg or .tga";
    else
        return true;
    return false;
}

// A codec's message puts the file name on a line of its own; an error of
// this command is one line.
std::string oneLine(const FNString& message)
{
    std::string text = message.str();
    for (char& c : text) {
        if (c == '\n')
            c = ' ';
    }
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

// "file is truncated (PNGファイルを読み込めませんでした sea.png)": the cause in
// English, then the picture's own message; either alone when the other is
// empty.
std::string reasonOf(const FNImage& picture)
{
    const std::string cause = picture.failureText().str();
    const std::string text = oneLine(picture.message);
    if (cause.empty() || text.empty())
        return cause + text;
    return cause + " (" + text + ")";
}

bool loadPicture(PictureFiles& files, FNImage& picture, const std::string& path, std::ostream& err)
{
    if (files.load(picture, path))
        return true;
    err << kProgram << ": cannot read '" << path << "': " << reasonOf(picture) << "\n";
    return false;
}

} // namespace

bool parseComposeOptions(const std::vector<std::string>& args, ComposeOptions& options, std::string& error)
{
    for (size_t n = 0; n < args.size(); ++n) {
        std::string name = args[n], value;
        if (name == "-h" || name == "--help") {
            options.help = true;
            continue;
        }
        if (name.empty() || name[0] != '-') {
            error = "unexpected argument '" + name + "'";
            return false;
        }
        const size_t equals = name.find('=');
        const bool joined = name.compare(0, 2, "--") == 0 && equals != std::string::npos;
        if (joined) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        if (!knownOption(name)) {
            error = "unknown option '" + name + "'";
            return false;
        }
        if (!joined && n + 1 < args.size()) {
            value = args[++n];
        } else if (!joined) {
            error = "option " + name + " needs a value";
            return false;
        }
        // An option where a file name should be is a slip, not a file: a file
        // whose name starts with '-' is written ./-name.
        if (namesAFile(name) && !value.empty() && value[0] == '-') {
            error = "invalid " + name + " '" + value + "': a file name cannot start with '-' (write ./" + value + ")";
            return false;
        }
        if (!applyOption(name, value, options, error))
            return false;
    }
    return options.help || checkRequired(options, error);
}

const char* composeUsage()
{
    return "Usage: tesserine-compose --canvas FILE --part FILE -o FILE [options]\n"
           "\n"
           "Composes a part picture into a canvas picture with the editor's own compose\n"
           "code and writes the result. Formats follow the file extensions: .png, .bmp,\n"
           ".jpg/.jpeg, .tga (as the editor reads and writes them); a picture whose\n"
           "content is PNG, JPEG or BMP is read as such whatever its extension.\n"
           "\n"
           "  --canvas FILE        the canvas picture. A canvas wider or higher than 1200\n"
           "                       pixels is scaled down to 1200 as the editor opens it.\n"
           "  --part FILE          the part picture; its alpha is the cut (pixels with\n"
           "                       alpha 0 are not pasted; Smart mode blends where alpha\n"
           "                       is 128 or more).\n"
           "  -o, --output FILE    the picture to write (same size as the canvas).\n"
           "  --at X,Y             the part's top-left corner in canvas pixels before\n"
           "                       scaling and rotation (default 0,0). Scaling and\n"
           "                       rotation keep the part's centre in place.\n"
           "  --scale S | SX,SY    scale factors (default 1); a negative factor mirrors\n"
           "                       the part on that axis. The box is the part size times\n"
           "                       the scale, at view zoom 1.\n"
           "  --box W,H            the transformed part's size in canvas pixels, as the\n"
           "                       editor's transform box holds it (the editor prints it\n"
           "                       with every compose); default the part size times the\n"
           "                       scale.\n"
           "  --angle DEGREES      rotation, clockwise on screen (default 0).\n"
           "  --hue H              hue shift in degrees, -180 to 180 (default 0).\n"
           "  --saturation S       saturation change in percent, -100 to 100 (default 0).\n"
           "  --value V            brightness change in percent, -100 to 100 (default 0).\n"
           "  --mode normal|smart|mixed\n"
           "                       normal: alpha paste (default); smart: gradient-domain\n"
           "                       (Poisson) blend that takes on the canvas colours at the\n"
           "                       part's border; mixed: the same blend following, at each\n"
           "                       pixel, the stronger of the part's and the canvas's\n"
           "                       differences, so the canvas's texture shows through the\n"
           "                       part's flat areas (this tool's own; not an editor mode).\n"
           "  -h, --help           show this text.\n"
           "\n"
           "Options also accept --name=value. Smart and mixed modes print the solver's\n"
           "\"Poisson Count : \" and \"Poisson Time Cost : \" lines. On bad input the\n"
           "command prints an error, writes nothing and exits with status 1 (a picture\n"
           "could not be read, composed or written) or 2 (bad arguments). An existing\n"
           "output file is replaced only once the whole new picture is written.\n";
}

int runCompose(const std::vector<std::string>& args, PictureFiles& files, std::ostream& out, std::ostream& err)
{
    ComposeOptions o;
    std::string error;
    if (!parseComposeOptions(args, o, error)) {
        err << kProgram << ": " << error << "\nTry '" << kProgram << " --help'.\n";
        return 2;
    }
    if (o.help) {
        out << composeUsage();
        return 0;
    }
    FNImage canvas, part;
    if (!loadPicture(files, canvas, o.canvasPath, err) || !loadPicture(files, part, o.partPath, err))
        return 1;
    q_LimitCanvasSize(canvas);

    FNImage adjusted;
    q_AdjustColour(part, adjusted, o.hue, o.saturation, o.value);
    q_Placement placement;
    placement.partX = o.atX, placement.partY = o.atY;
    placement.scaleX = o.scaleX, placement.scaleY = o.scaleY;
    placement.boxWidth = o.hasBox ? o.boxWidth : part.width * o.scaleX;
    placement.boxHeight = o.hasBox ? o.boxHeight : part.height * o.scaleY;
    placement.angle = o.angle;
    placement.zoom = 1;
    placement.loadedWidth = part.width, placement.loadedHeight = part.height;

    FNImage composed;
    const q_ComposeResult result = o.mode == kComposeMixed
        ? q_ComposeMixed(canvas, adjusted, placement, composed, out)
        : q_Compose(canvas, adjusted, placement, o.mode, composed, out);
    if (result.outcome != q_ComposeOutcome::Pasted) {
        err << kProgram << ": the scaled and rotated part would be empty or larger than " << q_kMaxComposedPartSide
            << " pixels on a side; nothing written\n";
        return 1;
    }
    if (!files.save(composed, o.outputPath)) {
        err << kProgram << ": cannot write '" << o.outputPath << "': " << reasonOf(composed) << "\n";
        return 1;
    }
    return 0;
}
