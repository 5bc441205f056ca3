#include "framework/platform/FNWindowClass.h"

#include <cstring>

namespace {

// The built-in theme's "background" colour (247, 250, 255); the theme lives
// in a layer above this one, so the two window classes that use it carry
// the value here.
constexpr int32_t kThemeBackground = 0xF7FAFF;

// Indexed by FNWindowClass.
const FNWindowClassRecord kClasses[FNWindowClassCount] = {
    { FNWindowClass::Owner, "FN_OWNER", true, FNNoBackground },
    { FNWindowClass::Toumei, "FN_TOUMEI", false, FNNoBackground },
    { FNWindowClass::Black, "FN_BLACK", false, 0x000000 },
    { FNWindowClass::White, "FN_WHITE", false, 0xFFFFFF },
    { FNWindowClass::Window, "FN_WINDOW", false, kThemeBackground },
    { FNWindowClass::GLWindow, "FN_GLWINDOW", true, kThemeBackground },
};

} // namespace

const FNWindowClassRecord& FNWindowClassRecordOf(FNWindowClass windowClass)
{
    const int index = static_cast<int>(windowClass);
    return kClasses[index >= 0 && index < FNWindowClassCount ? index : 0];
}

const FNWindowClassRecord* FNFindWindowClass(const char* name)
{
    if (!name)
        return nullptr;
    for (const FNWindowClassRecord& record : kClasses) {
        if (std::strcmp(record.name, name) == 0)
            return &record;
    }
    return nullptr;
}
