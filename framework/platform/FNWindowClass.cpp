#include "framework/platform/FNWindowClass.h"

#include "framework/core/FNBackgroundColor.h"

#include <cstring>

namespace {

// Two classes fill with the theme's "background" colour (without alpha).
constexpr int32_t kThemeBackground = static_cast<int32_t>(kFNBackgroundColor & 0xFFFFFF);

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
