// tesserine-compose: see ComposeCommand.h and --help.
#include "imaging/FNImage.h"
#include "tools/compose/ComposeCommand.h"

#include <iostream>

namespace {

class DiskPictures final : public PictureFiles {
public:
    bool load(FNImage& picture, const std::string& path) override { return picture.load(FNString(path)); }
    bool save(FNImage& picture, const std::string& path) override { return picture.save(FNString(path)); }
};

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    DiskPictures files;
    return runCompose(args, files, std::cout, std::cerr);
}
