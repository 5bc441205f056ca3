#pragma once

#include "framework/window/FNExWindowLooks.h"

// The framed window's painters made from the widget looks (title bar, edges
// and the four title buttons) in the colours of the current theme. The
// framework cannot call the looks itself (it sits below the widgets), so a
// program passes this set to FNExWindow::SetDefaultLooks() before it makes
// its windows.
FNExWindowLooks FNWindowFrameLooks();
