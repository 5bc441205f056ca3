#include "widgets/window/FNWindowFrameLooks.h"

#include "widgets/looks/FNLooks.h"
#include "widgets/theme/FNTheme.h"

namespace {

FNLookInfo stateInfo(int value, int state)
{
    FNLookInfo info;
    info.value = value;
    info.state = state;
    return info;
}

} // namespace

FNExWindowLooks FNWindowFrameLooks()
{
    FNExWindowLooks looks;
    looks.titleBar = [](FNImage* t, int w, int h) { FNTitleBarLook(t, w, h, FNLookInfo()); };
    looks.border = [](FNImage* t, int w, int h, FNFrameEdge edge) { FNFrameBorderLook(t, w, h, stateInfo(edge, 0)); };
    looks.minimiseButton
        = [](FNImage* t, int w, int h, FNButtonState s) { FNMinimiseButtonLook(t, w, h, stateInfo(0, s)); };
    looks.maximiseButton
        = [](FNImage* t, int w, int h, FNButtonState s) { FNMaximiseButtonLook(t, w, h, stateInfo(0, s)); };
    looks.restoreButton
        = [](FNImage* t, int w, int h, FNButtonState s) { FNRestoreButtonLook(t, w, h, stateInfo(0, s)); };
    looks.closeButton = [](FNImage* t, int w, int h, FNButtonState s) { FNCloseButtonLook(t, w, h, stateInfo(0, s)); };
    looks.background = FNThemeColor(FNThemeKey::Background);
    looks.titleText = FNThemeColor(FNThemeKey::Title);
    return looks;
}
