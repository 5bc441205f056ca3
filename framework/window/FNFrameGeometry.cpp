#include "framework/window/FNFrameGeometry.h"

#include "framework/platform/FNPlatform.h"

#include <algorithm>

FNFrameZone FNFrameZoneAt(FNFramePart part, double localX, double localY, int width, int height, bool resizable)
{
    if (localX < 0 || localY < 0 || localX >= width || localY >= height)
        return FNFrameZone::None;
    if (!resizable)
        return part == FNFramePart::TitleBar ? FNFrameZone::Move : FNFrameZone::None;
    bool atLeft = localX < FNFrameResizeBand;
    bool atRight = localX >= width - FNFrameResizeBand;
    switch (part) {
    case FNFramePart::LeftBorder:
        return FNFrameZone::Left;
    case FNFramePart::RightBorder:
        return FNFrameZone::Right;
    case FNFramePart::TitleBar: {
        bool outer = localY < FNFrameResizeBand;
        if (outer && atLeft)
            return FNFrameZone::TopLeft;
        if (outer && atRight)
            return FNFrameZone::TopRight;
        if (atLeft)
            return FNFrameZone::Left;
        if (atRight)
            return FNFrameZone::Right;
        return outer ? FNFrameZone::Top : FNFrameZone::Move;
    }
    case FNFramePart::BottomBorder: {
        bool outer = localY >= height - FNFrameResizeBand;
        if (outer && atLeft)
            return FNFrameZone::BottomLeft;
        if (outer && atRight)
            return FNFrameZone::BottomRight;
        if (atLeft)
            return FNFrameZone::Left;
        if (atRight)
            return FNFrameZone::Right;
        return FNFrameZone::Bottom;
    }
    }
    return FNFrameZone::None;
}

int FNFrameZoneCursor(FNFrameZone zone)
{
    switch (zone) {
    case FNFrameZone::Left:
    case FNFrameZone::Right:
        return FNCursorSizeWE;
    case FNFrameZone::Top:
    case FNFrameZone::Bottom:
        return FNCursorSizeNS;
    case FNFrameZone::TopLeft:
    case FNFrameZone::BottomRight:
        return FNCursorSizeNWSE;
    case FNFrameZone::TopRight:
    case FNFrameZone::BottomLeft:
        return FNCursorSizeNESW;
    default:
        return FNCursorArrow;
    }
}

FNRect FNFrameDragged(FNFrameZone zone, const FNRect& start, int dx, int dy)
{
    if (zone == FNFrameZone::Move)
        return FNRect { start.left + dx, start.top + dy, start.right + dx, start.bottom + dy };
    FNRect r = start;
    bool left = zone == FNFrameZone::Left || zone == FNFrameZone::TopLeft || zone == FNFrameZone::BottomLeft;
    bool right = zone == FNFrameZone::Right || zone == FNFrameZone::TopRight || zone == FNFrameZone::BottomRight;
    bool top = zone == FNFrameZone::Top || zone == FNFrameZone::TopLeft || zone == FNFrameZone::TopRight;
    bool bottom = zone == FNFrameZone::Bottom || zone == FNFrameZone::BottomLeft || zone == FNFrameZone::BottomRight;
    // The moving edge stops where the client would become smaller than the
    // minimum; the opposite edge never moves.
    if (left)
        r.left = std::min(start.left + dx, start.right - FNFrameMinClientWidth);
    if (right)
        r.right = std::max(start.right + dx, start.left + FNFrameMinClientWidth);
    if (top)
        r.top = std::min(start.top + dy, start.bottom - FNFrameMinClientHeight);
    if (bottom)
        r.bottom = std::max(start.bottom + dy, start.top + FNFrameMinClientHeight);
    return r;
}

FNRect FNFrameLimited(const FNRect& client, const FNRect& workArea, int menuHeight)
{
    const int frameTop = FNFrameTopHeight(menuHeight);
    int maxWidth = std::max(FNFrameMinClientWidth, workArea.right - workArea.left - FNFrameLeft - FNFrameRight);
    int maxHeight = std::max(FNFrameMinClientHeight, workArea.bottom - workArea.top - frameTop - FNFrameBottom);
    int width = std::clamp(client.right - client.left, FNFrameMinClientWidth, maxWidth);
    int height = std::clamp(client.bottom - client.top, FNFrameMinClientHeight, maxHeight);
    // Frame's top-left corner, kept inside the work area.
    int frameX = client.left - FNFrameLeft;
    int frameY = client.top - frameTop;
    int frameWidth = width + FNFrameLeft + FNFrameRight;
    int frameHeight = height + frameTop + FNFrameBottom;
    frameX = std::max(workArea.left, std::min(frameX, workArea.right - frameWidth));
    frameY = std::max(workArea.top, std::min(frameY, workArea.bottom - frameHeight));
    int left = frameX + FNFrameLeft;
    int top = frameY + frameTop;
    return FNRect { left, top, left + width, top + height };
}
