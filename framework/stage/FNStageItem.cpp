#include "framework/stage/FNStageItem.h"

#include "framework/core/FNFrameworkLock.h"
#include "framework/stage/FNDisplay.h"
#include "imaging/text/TextLayout.h"

#include <algorithm>

namespace {

// Where the text's box goes in a display of width x height: the style's
// horizontal alignment always, its vertical alignment for single lines.
FNTextPosition textOrigin(const FNStringStyle& style, int width, int height, const FNString& text)
{
    const FNTextSize size = measureString(text, style.font.get());
    FNTextPosition origin;
    if (style.format & FNTextCenter)
        origin.x = (width - size.width) / 2;
    else if (style.format & FNTextRight)
        origin.x = width - size.width;
    if (style.format & FNTextSingleLine) {
        if (style.format & FNTextVCenter)
            origin.y = (height - size.height) / 2;
        else if (style.format & FNTextBottom)
            origin.y = height - size.height;
    }
    return origin;
}

// A colour component moved halfway to white, as disabled text is shown.
int towardWhite(int component)
{
    return (component + 255) / 2;
}

} // namespace

FNStageItem::FNStageItem(int newX, int newY, int newWidth, int newHeight)
{
    FN_SET_CLASS_NAME(FNStageItem);
    kind = 1;
    windowClass = FNWindowClass::Toumei;
    x = newX;
    y = newY;
    width = std::max(1, newWidth);
    height = std::max(1, newHeight);
}

FNStageItem::~FNStageItem()
{
    // The window goes before the display it shows.
    CloseBeforeDestruction();
    FNFrameworkLockGuard lock;
    m_display.reset();
}

bool FNStageItem::SetRect(int newX, int newY, int w, int h)
{
    w = std::max(1, w);
    h = std::max(1, h);
    const bool resized = w != width || h != height;
    if (!FNStageBase::SetRect(newX, newY, w, h))
        return false;
    if (resized && windowCreated) {
        {
            FNFrameworkLockGuard lock;
            m_display = std::make_unique<FNDisplay>(width, height);
        }
        Redraw();
    }
    return true;
}

void FNStageItem::SetEnabled(bool flag)
{
    FNStageBase::SetEnabled(flag);
    Redraw();
}

void FNStageItem::OnWindowCreated()
{
    {
        FNFrameworkLockGuard lock;
        m_display = std::make_unique<FNDisplay>(width, height);
    }
    Redraw();
}

void FNStageItem::OnWindowDestroyed()
{
    FNFrameworkLockGuard lock;
    m_display.reset();
    dirty.reset(width, height);
}

void FNStageItem::Present()
{
    FNFrameworkLockGuard lock;
    FNPlatformConnection* platform = windowCreated ? Platform() : nullptr;
    FNRect area = dirty;
    area.intersect(FNRect { 0, 0, width, height });
    if (platform && m_display && !area.isEmpty())
        platform->Present(window, m_display->image, FNPlatformRect { area.left, area.top, area.right, area.bottom });
    dirty.reset(width, height);
}

void FNStageItem::SetBackground(const FNImage* picture, int offsetX, int offsetY)
{
    {
        FNFrameworkLockGuard lock;
        m_background.reset();
        if (picture && picture->created) {
            m_background = std::make_unique<FNImage>();
            m_background->copyFrom(picture);
        }
        m_backgroundX = offsetX;
        m_backgroundY = offsetY;
    }
    Redraw();
}

void FNStageItem::SetText(const FNString& newText)
{
    m_text = newText;
    Redraw();
}

void FNStageItem::Redraw()
{
    FNFrameworkLockGuard lock;
    if (!m_display)
        return;
    DrawDisplay();
    InvalidateRect(0, 0, width, height);
}

void FNStageItem::DrawDisplay()
{
    m_display->Clear();
    DrawBackground();
    DrawText();
}

void FNStageItem::DrawBackground()
{
    if (!m_background)
        return;
    FNImage& target = m_display->image;
    // Display pixel (x, y) shows picture pixel (x + offsetX, y + offsetY);
    // display pixels beyond the picture keep the background colour.
    const int64_t firstX = std::max<int64_t>(0, -static_cast<int64_t>(m_backgroundX));
    const int64_t endX = std::min<int64_t>(target.width, static_cast<int64_t>(m_background->width) - m_backgroundX);
    for (int y = 0; y < target.height; ++y) {
        const int64_t sourceY = static_cast<int64_t>(y) + m_backgroundY;
        if (sourceY < 0 || sourceY >= m_background->height || firstX >= endX)
            continue;
        const uint32_t* source = m_background->row(static_cast<int>(sourceY));
        std::copy(source + (firstX + m_backgroundX), source + (endX + m_backgroundX), target.row(y) + firstX);
    }
}

void FNStageItem::DrawText()
{
    if (m_text.empty())
        return;
    const FNTextPosition origin = textOrigin(style, width, height, m_text);
    if (IsEnabled()) {
        m_display->image.drawString(&style, origin.x, origin.y, -1, -1, -1, -1, false, m_text);
        return;
    }
    FNStringStyle disabled;
    disabled.copyFrom(style);
    disabled.setColor(towardWhite(style.red), towardWhite(style.green), towardWhite(style.blue));
    m_display->image.drawString(&disabled, origin.x, origin.y, -1, -1, -1, -1, false, m_text);
}
