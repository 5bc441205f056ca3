#pragma once

#include <iosfwd>

class FNImage;

// Where and how the part is laid over the canvas, as the part item, the
// transform box and the view hold it.
struct q_Placement {
    double partX = 0, partY = 0; // part item position: top-left of the unscaled, unrotated part
    double scaleX = 1, scaleY = 1; // part item scale; negative means mirrored on that axis
    double boxWidth = 0, boxHeight = 0; // transform box size in view units (may be negative)
    double angle = 0; // box angle, degrees
    double zoom = 1; // view zoom z: view size / picture size
    int loadedWidth = 0, loadedHeight = 0; // the loaded part's size (fixes the part's centre)
};

enum q_ComposeMode : int {
    q_ComposeNormal = 0, // "通常合成": alpha paste
    q_ComposeSmart = 1, // "Smart合成": Poisson blend
};

// The largest transformed part compose accepts on either side. A box dragged
// near 90 degrees by an edge handle can ask for sizes far beyond any canvas.
constexpr int q_kMaxComposedPartSide = 16384;

enum class q_ComposeOutcome {
    NoPart, // the adjusted part holds no picture: nothing happened
    Pasted, // the part was composed
    Refused, // the transformed size was empty or too large: composed is the canvas copy
    NoMode, // a mode other than 0 or 1: nothing composed
};

struct q_ComposeResult {
    q_ComposeOutcome outcome = q_ComposeOutcome::NoPart;
    int x = 0, y = 0; // paste position of the transformed part
    int width = 0, height = 0; // transformed part size
    int poissonCount = -1; // the solver's count (Smart mode, when it ran)
};

// The compose operation: copies the adjusted part, mirrors it by the scale
// signs, resamples it to trunc(|box w / z|) x trunc(|box h / z|) rotated by
// the box angle, centres it on the part item's rectangle and pastes it into
// `composed` (mode 0) or blends it (mode 1, tau 0.001, with the solver's two
// diagnostic lines on `log`). The base canvas is never changed.
q_ComposeResult q_Compose(const FNImage& base, const FNImage& adjustedPart, const q_Placement& placement, int mode,
    FNImage& composed, std::ostream& log);

// The compose tool's third blend, not an editor mode: as Smart mode (the
// same solver, tau and diagnostics), with the mixed-gradients guidance of
// q_BuildMixedGuidance instead of the part's Laplacian, so that the canvas's
// texture shows through where it is stronger than the part's.
q_ComposeResult q_ComposeMixed(const FNImage& base, const FNImage& adjustedPart, const q_Placement& placement,
    FNImage& composed, std::ostream& log);
