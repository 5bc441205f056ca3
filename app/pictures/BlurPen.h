#pragma once

class FNImage;

// The blur pen: round dabs of 3 x 3 box means on the canvas picture. Size s
// is the pen size (1 .. 40 in the editor). Dabs reaching over the picture's
// edge use only the pixels inside it; alpha is never changed.

// Blurs the disc of offsets -s/2 <= d < (s+1)/2 with dx^2 + dy^2 <= (s/2)^2
// around (cx, cy). Every mean is taken from the picture as it was before
// this dab.
void q_BlurDab(FNImage& picture, int size, int cx, int cy);

// Walks from (x0, y0) to (x1, y1) and dabs every max(s/2, 1)-th point,
// starting with the first point after (x0, y0); the start is not dabbed.
void q_BlurLine(FNImage& picture, int size, int x0, int y0, int x1, int y1);
