#include "app/pictures/Compose.h"

#include "app/pictures/LaplacianImage.h"
#include "app/pictures/MixedGradients.h"
#include "app/pictures/PoissonSolver.h"
#include "imaging/FNImage.h"

#include <algorithm>
#include <cmath>
#include <ostream>

namespace {

constexpr double kPi = 3.141592; // the program's own pi, as transform uses
constexpr double kTau = 0.001;

// The size transform gives a w x h picture resampled to newWidth x newHeight
// and rotated by angle: the bounding box of the rotated corners, plus 2.
void transformedSize(int w, int h, int newWidth, int newHeight, double angle, double& outWidth, double& outHeight)
{
    const double sx = double(newWidth) / w, sy = double(newHeight) / h;
    const double theta = angle * kPi / 180.0;
    const double cs = std::cos(theta), sn = std::sin(theta);
    // Corners (0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1) under
    // x' = sx cos x - sy sin y, y' = sx sin x + sy cos y; size = extent + 2.
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (int k = 0; k < 4; ++k) {
        const double x = (k & 1) ? w - 1 : 0, y = (k & 2) ? h - 1 : 0;
        const double px = sx * cs * x + -sy * sn * y, py = sx * sn * x + sy * cs * y;
        minX = std::min(minX, px), maxX = std::max(maxX, px);
        minY = std::min(minY, py), maxY = std::max(maxY, py);
    }
    outWidth = std::trunc(maxX - minX + 2);
    outHeight = std::trunc(maxY - minY + 2);
}

// Rejects sizes the resample cannot produce sensibly: empty (a zero-width
// box has no scale) or beyond q_kMaxComposedPartSide after rotation.
bool acceptableSize(const FNImage& part, double newWidth, double newHeight, double angle)
{
    if (!(newWidth >= 1 && newHeight >= 1 && newWidth <= q_kMaxComposedPartSide && newHeight <= q_kMaxComposedPartSide))
        return false;
    if (!std::isfinite(angle))
        return false;
    double outWidth, outHeight;
    transformedSize(
        part.width, part.height, static_cast<int>(newWidth), static_cast<int>(newHeight), angle, outWidth, outHeight);
    return outWidth < q_kMaxComposedPartSide + 1 && outHeight < q_kMaxComposedPartSide + 1;
}

int pastePosition(double v)
{
    constexpr double kFar = 1 << 30;
    return static_cast<int>(std::clamp(v, -kFar, kFar));
}

enum class Blend { Alpha, Poisson, MixedGradients };

q_ComposeResult composeWith(const FNImage& base, const FNImage& adjustedPart, const q_Placement& placement, Blend blend,
    FNImage& composed, std::ostream& log)
{
    q_ComposeResult result;
    const double newWidth = std::trunc(std::fabs(placement.boxWidth / placement.zoom));
    const double newHeight = std::trunc(std::fabs(placement.boxHeight / placement.zoom));
    const bool placed = std::isfinite(placement.partX) && std::isfinite(placement.partY);
    if (!placed || !acceptableSize(adjustedPart, newWidth, newHeight, placement.angle)) {
        composed.copyFrom(&base);
        result.outcome = q_ComposeOutcome::Refused;
        return result;
    }

    FNImage part;
    part.copyFrom(&adjustedPart);
    part.flip(placement.scaleX < 0, placement.scaleY < 0);
    part.transform(static_cast<int>(newWidth), static_cast<int>(newHeight), placement.angle);
    // The transformed part is centred on the centre of the part item's
    // rectangle. Far-off positions are held within int range; they lie
    // wholly outside any canvas either way.
    result.x = pastePosition((placement.loadedWidth - part.width) * 0.5 + placement.partX);
    result.y = pastePosition((placement.loadedHeight - part.height) * 0.5 + placement.partY);
    result.width = part.width, result.height = part.height;
    result.outcome = q_ComposeOutcome::Pasted;

    if (blend == Blend::Alpha) {
        composed.copyFrom(&base);
        composed.drawImage(&part, result.x, result.y, part.width, part.height);
        return result;
    }
    q_LaplacianImage laplacian;
    if (blend == Blend::MixedGradients)
        q_BuildMixedGuidance(laplacian, part, base, result.x, result.y);
    else
        laplacian.build(part);
    const q_PoissonResult solve = q_PoissonSolve(
        laplacian, result.x, result.y, laplacian.width, laplacian.height, base, part, composed, kTau, log);
    result.poissonCount = solve.solved ? solve.count : -1;
    return result;
}

} // namespace

q_ComposeResult q_Compose(const FNImage& base, const FNImage& adjustedPart, const q_Placement& placement, int mode,
    FNImage& composed, std::ostream& log)
{
    if (!adjustedPart.pixels || !base.pixels)
        return {};
    if (mode != q_ComposeNormal && mode != q_ComposeSmart) {
        q_ComposeResult result;
        result.outcome = q_ComposeOutcome::NoMode;
        return result;
    }
    return composeWith(
        base, adjustedPart, placement, mode == q_ComposeNormal ? Blend::Alpha : Blend::Poisson, composed, log);
}

q_ComposeResult q_ComposeMixed(const FNImage& base, const FNImage& adjustedPart, const q_Placement& placement,
    FNImage& composed, std::ostream& log)
{
    if (!adjustedPart.pixels || !base.pixels)
        return {};
    return composeWith(base, adjustedPart, placement, Blend::MixedGradients, composed, log);
}
