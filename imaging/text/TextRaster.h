#pragma once

#include <cstdint>
#include <string>

class FNFont;
class FNImage;

// Draws the text in black onto `picture` (normally opaque white), laid out
// in the whole picture with the format flags: each pixel's colour bytes
// become 255 minus the combined coverage of the letters over it. Letters
// that overlap (slanted or emboldened neighbours) combine as
// a + b - a b / 255, never beyond full coverage.
void rasterizeText(FNImage& picture, const std::string& text, FNFont& font, uint32_t format);
