#pragma once

#include <cstdint>

// The built-in theme's "background" colour as a pixel word 0xAARRGGBB. The
// window classes and stage displays of the framework fill with it, and the
// theme table (widgets layer) takes its entry from here, so the framework
// never looks upward for it and the two cannot drift apart.
constexpr uint32_t kFNBackgroundColor = 0xFFF7FAFF;
