#include "app/canvas/q_BlurPenTool.h"

#include "app/canvas/q_Canvas.h"
#include "app/pictures/BlurPen.h"
#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "imaging/FNImage.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kBlurPen = 1;

int pixel(double v)
{
    return static_cast<int>(std::trunc(v));
}

} // namespace

q_BlurPenTool::q_BlurPenTool(q_Canvas& canvas, q_BlurPenHost& host)
    : m_canvas(canvas)
    , m_host(host)
{
    m_connector = std::make_unique<FNEventConnector>(&canvas.PictureItem());
    m_connector->Connect(FNEvent::LeftDown, &q_BlurPenTool::OnPress, this);
    m_connector->Connect(FNEvent::MouseMove, &q_BlurPenTool::OnMove, this);
    m_connector->Connect(FNEvent::LeftUp, &q_BlurPenTool::OnRelease, this);
}

q_BlurPenTool::~q_BlurPenTool() = default;

void q_BlurPenTool::OnPress(FNEventState event)
{
    m_pressing = true;
    m_lastX = pixel(event.localX);
    m_lastY = pixel(event.localY);
    if (m_host.Tool() != kBlurPen)
        return;
    m_host.OpenBaseStep();
    m_canvas.ShowPicture(m_host.BasePicture());
}

void q_BlurPenTool::OnMove(FNEventState event)
{
    if (!m_pressing)
        return;
    const int x = pixel(event.localX), y = pixel(event.localY);
    if (m_host.Tool() == kBlurPen) {
        if (FNImage* base = m_host.BasePicture()) {
            const int v = m_host.PenSize();
            q_BlurLine(*base, v + 1, m_lastX, m_lastY, x, y);
            // Only the stroke's neighbourhood is drawn again: around the new
            // point, and back to the last one, which a fast pointer (or a
            // busy step) may leave far behind.
            m_canvas.PictureItem().InvalidateRect(std::min(x, m_lastX) - v - 5, std::min(y, m_lastY) - v - 5,
                std::max(x, m_lastX) + v + 5, std::max(y, m_lastY) + v + 5);
        }
    }
    m_lastX = x;
    m_lastY = y;
}

void q_BlurPenTool::OnRelease(FNEventState)
{
    if (!m_pressing)
        return;
    m_pressing = false;
    if (m_host.Tool() == kBlurPen)
        m_host.CloseBaseStep();
}
