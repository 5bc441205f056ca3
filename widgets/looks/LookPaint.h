#pragma once

#include "widgets/theme/FNTheme.h"

class FNImage;

// Small painting helpers shared by the looks. Colours are FNRGB triples;
// every write limits channels to 0..255.
namespace FNLookPaint {

// Makes the target width x height when both are positive and the size
// differs; false (paint nothing) for a null target or a size that is not
// positive.
bool prepare(FNImage* target, int width, int height);

// (wa a + wb b) / (wa + wb) per channel.
FNRGB mix(FNRGB a, FNRGB b, int wa = 1, int wb = 1);
// num c / den per channel.
FNRGB scale(FNRGB c, int num, int den);
FNRGB add(FNRGB c, int red, int green, int blue);

void put(FNImage& target, int x, int y, FNRGB c, int alpha = 255);
// Alpha-blends c over the pixel's colour with weight a / 255; the pixel's
// alpha becomes the larger of the two.
void blend(FNImage& target, int x, int y, FNRGB c, int alpha);

// The three tones of a set plus the background.
struct Tones {
    FNRGB c0;
    FNRGB c1;
    FNRGB c2;
    FNRGB bg;
};
Tones themeTones(const char* key0, const char* key1, const char* key2);
Tones baseTones();
Tones mainTones();
Tones accentTones();

// A box in the style of the faces: a tone-0 outline whose corner pixel is
// transparent and whose corner neighbours fade toward the background, a
// light inner ring, and a body shaded from `top` to `bottom` (along y, or
// along x when `horizontal`) with a faint sheen on the first half.
struct Box {
    FNRGB outline;
    FNRGB ring;
    FNRGB top;
    FNRGB bottom;
    FNRGB bg;
    bool horizontal = false;
    bool sheen = true;
};
void paintBox(FNImage& target, int x, int y, int w, int h, const Box& box);

// Crisp glyphs, pixel aligned, no anti-aliasing.
enum class Direction { Up, Down, Left, Right };
// A solid triangle about `span` pixels across (made odd), centred on (cx, cy).
void paintArrow(FNImage& target, int cx, int cy, int span, Direction direction, FNRGB c);

} // namespace FNLookPaint
