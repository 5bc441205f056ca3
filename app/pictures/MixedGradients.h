#pragma once

class FNImage;
class q_LaplacianImage;

// The guidance of the mixed-gradients blend (the compose tool's third
// mode): for every inner pixel of the part and each of its four neighbours,
// the difference neighbour - pixel of the part or of the canvas beneath it
// (the part placed at ox, oy), whichever is larger in absolute value (the
// part's on a tie), per colour channel, summed. With the part's differences
// alone this is q_LaplacianImage::build's Laplacian; taking the canvas's
// where they are stronger lets the canvas's texture through the part's flat
// areas (holes, a net, a window) while the part's own edges stay. Where the
// pixel or the neighbour lies off the canvas the part's difference is used.
// The outermost ring is 0, as in the Laplacian.
void q_BuildMixedGuidance(q_LaplacianImage& guidance, const FNImage& part, const FNImage& canvas, int ox, int oy);
