#pragma once

#include <cstdint>

// The colour text is drawn in unless a style says otherwise, as a pixel word
// 0xAARRGGBB. It is the "text" colour of the built-in theme; the theme table
// (widgets layer) takes its entry from here, so imaging never has to look
// upward for it and the two cannot drift apart.
constexpr uint32_t kFNDefaultTextColor = 0xFF050A05;
