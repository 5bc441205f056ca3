#include "app/canvas/q_TransformBox.h"

#include "framework/engine/FNEngine.h"
#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/platform/FNPlatform.h"
#include "framework/platform/FNVirtualKey.h"
#include "framework/stage/FNStageBase.h"

#include <cmath>

namespace {

// Angles in degrees become radians with pi taken as 3.141592.
constexpr double kPi = 3.141592;

double normalised(double degrees)
{
    degrees = std::fmod(degrees, 360.0);
    if (degrees < 0)
        degrees += 360.0;
    return degrees >= 360.0 ? degrees - 360.0 : degrees;
}

// The resize cursor for a 45-degree sector of t (degrees; 0 is straight
// below the centre, -90 to the right).
int resizeCursor(double t)
{
    if (t <= -157.5 || t > 157.5)
        return 30000;
    if (t <= -112.5)
        return 30003;
    if (t <= -67.5)
        return 30001;
    if (t <= -22.5)
        return 30002;
    if (t <= 22.5)
        return 30000;
    if (t <= 67.5)
        return 30003;
    if (t <= 112.5)
        return 30001;
    return 30002;
}

// Below this |cos| the edge handles' division by the cosine would throw the
// box to infinity.
constexpr double kSmallestCosine = 1e-6;
constexpr double kSnapDegrees = 15;

// The corner opposite each corner handle, as signs of half the box's width
// and height from its centre (0 for the edge handles).
constexpr int kOppositeCorner[8][2]
    = { { 1, 1 }, { 0, 0 }, { -1, 1 }, { 0, 0 }, { 0, 0 }, { 1, -1 }, { 0, 0 }, { -1, -1 } };

bool isCornerHandle(int handle)
{
    return kOppositeCorner[handle][0] != 0;
}

int rotateCursor(double t)
{
    if (t <= -90)
        return 30005;
    if (t <= 0)
        return 30007;
    if (t <= 90)
        return 30006;
    return 30004;
}

} // namespace

q_TransformBox::q_TransformBox()
    : FN2DItem(1, 1, 10, 10, 10)
{
    FN_SET_CLASS_NAME(q_TransformBox);
    solidHit = true;
    hitMargin = kHitMargin;
    // The box covers the whole view; its events go on to the canvas so that
    // the wheel zooms, hovering gives the canvas the keys, and Space pans
    // over a placed part.
    passEventsToParent = true;
    m_outline = std::make_unique<q_BorderBox>(0, 0, 1, 1, 10);
    m_outline->solidHit = true;
    m_outline->passEventsToParent = true;
    AddChild(m_outline.get());
    for (auto& handle : m_handles) {
        handle = std::make_unique<q_BorderBox>(-4, -4, kHandleSize, kHandleSize, 1000);
        handle->solidHit = true;
        handle->passEventsToParent = true;
        AddChild(handle.get());
    }
    m_connector = std::make_unique<FNEventConnector>(this);
    m_connector->Connect(FNEvent::LeftDown, &q_TransformBox::OnPress, this);
    m_connector->Connect(FNEvent::MouseMove, &q_TransformBox::OnMove, this);
    m_connector->Connect(FNEvent::LeftUp, &q_TransformBox::OnRelease, this);
    m_connector->Connect(FNEvent::MouseLeave, &q_TransformBox::OnLeave, this);
}

q_TransformBox::~q_TransformBox()
{
    m_connector.reset();
    RemoveChild(m_outline.get());
    for (auto& handle : m_handles)
        RemoveChild(handle.get());
}

// ---- Geometry ----------------------------------------------------------------------------

bool q_TransformBox::SetRect(double newX, double newY, double w, double h)
{
    m_outline->SetRect(0, 0, w, h);
    const double right = (w - 1) - 4, middleX = (w - 1) * 0.5 - 4;
    const double bottom = (h - 1) - 4, middleY = (h - 1) * 0.5 - 4;
    const Point at[8] = { { -4, -4 }, { middleX, -4 }, { right, -4 }, { -4, middleY }, { right, middleY },
        { -4, bottom }, { middleX, bottom }, { right, bottom } };
    for (int i = 0; i < 8; ++i)
        m_handles[i]->SetRect(at[i].x, at[i].y, kHandleSize, kHandleSize);
    return FN2DItem::SetRect(newX, newY, w, h);
}

void q_TransformBox::SetAngle(double degrees)
{
    const double angle = normalised(degrees);
    SetRotation(angle);
    for (auto& handle : m_handles)
        handle->SetRotation(normalised(-angle));
}

void q_TransformBox::SetFromPictureRect(
    const FN2DItemBase& pictureItem, double zoom, double pictureX, double pictureY, double w, double h)
{
    // Picture pixel -> buffer -> the box's parent.
    double bufferX, bufferY;
    pictureItem.WorldMatrix().apply(pictureItem.WorldX() + pictureX, pictureItem.WorldY() + pictureY, bufferX, bufferY);
    const Point at = InParent(bufferX, bufferY);
    SetRect(at.x, at.y, zoom * w, zoom * h);
}

void q_TransformBox::PictureRect(
    const FN2DItemBase& pictureItem, double zoom, double& pictureX, double& pictureY, double& w, double& h) const
{
    // The box's parent -> buffer -> picture pixel.
    double bufferX = x, bufferY = y;
    if (parent)
        parent->WorldMatrix().apply(parent->WorldX() + x, parent->WorldY() + y, bufferX, bufferY);
    pictureItem.ToLocal(bufferX, bufferY, pictureX, pictureY);
    w = zoom > 0 ? width / zoom : 0;
    h = zoom > 0 ? height / zoom : 0;
}

q_TransformBox::Point q_TransformBox::ParentOrigin() const
{
    return parent ? Point { parent->WorldX(), parent->WorldY() } : Point { 0, 0 };
}

q_TransformBox::Point q_TransformBox::Centre() const
{
    const Point origin = ParentOrigin();
    return { origin.x + x + width / 2, origin.y + y + height / 2 };
}

q_TransformBox::Point q_TransformBox::InParent(double stageX, double stageY) const
{
    if (!parent)
        return { stageX, stageY };
    Point local;
    parent->ToLocal(stageX, stageY, local.x, local.y);
    return local;
}

// ---- Dragging -------------------------------------------------------------------------------

void q_TransformBox::TakeCorners()
{
    const Point c = Centre();
    const double r = rotation * kPi / 180.0, cs = std::cos(r), sn = std::sin(r);
    auto rotated = [&](double dx, double dy) { return Point { c.x + dx * cs - dy * sn, c.y + dx * sn + dy * cs }; };
    m_cornerA = rotated(-width / 2, -height / 2);
    m_cornerB = rotated(width / 2, height / 2);
}

void q_TransformBox::OnPress(FNEventState event)
{
    // With Space held the press belongs to the canvas: it pans or zooms.
    if (m_state != Idle || KeyHeld(FNKeySpace))
        return;
    m_previous = { event.clientX, event.clientY };
    if (event.item == this) {
        m_state = Rotating;
    } else if (event.item == m_outline.get()) {
        m_state = Moving;
    } else {
        for (int i = 0; i < 8; ++i) {
            if (event.item == m_handles[i].get()) {
                m_state = Resizing;
                m_handle = i;
            }
        }
    }
    TakeCorners();
    m_pressWidth = width;
    m_pressHeight = height;
    m_rawAngle = rotation;
    if (m_state == Resizing && isCornerHandle(m_handle)) {
        const Point c = Centre();
        const double r = rotation * kPi / 180.0, cs = std::cos(r), sn = std::sin(r);
        const double u = kOppositeCorner[m_handle][0] * width / 2, v = kOppositeCorner[m_handle][1] * height / 2;
        m_fixedCorner = { c.x + u * cs - v * sn, c.y + u * sn + v * cs };
    }
}

bool q_TransformBox::KeyHeld(int virtualKey) const
{
    FNEngine* engine = FNEngine::Current();
    return engine && (engine->System().keys[virtualKey] & 0x80) != 0;
}

void q_TransformBox::OnMove(FNEventState event)
{
    const Point current { event.clientX, event.clientY };
    if (m_state == Idle) {
        if (event.stage)
            event.stage->SetCursor(CursorAt(event.item, current.x, current.y));
    } else if (m_state == Moving) {
        const Point from = InParent(m_previous.x, m_previous.y), to = InParent(current.x, current.y);
        const double dx = (to.x - from.x) * (scaleX > 0 ? 1 : -1);
        const double dy = (to.y - from.y) * (scaleY > 0 ? 1 : -1);
        MoveBy(dx, dy);
    } else if (m_state == Resizing) {
        Resize(m_previous, current);
    } else if (m_state == Rotating) {
        Rotate(m_previous, current);
    }
    m_previous = current;
}

void q_TransformBox::OnRelease(FNEventState)
{
    m_state = Idle;
}

void q_TransformBox::OnLeave(FNEventState event)
{
    if (event.stage && m_state == Idle)
        event.stage->SetCursor(FNCursorArrow);
}

void q_TransformBox::Resize(const Point& previous, const Point& current)
{
    const Point from = InParent(previous.x, previous.y), to = InParent(current.x, current.y);
    const double dx = (to.x - from.x) * (scaleX > 0 ? 1 : -1);
    const double dy = (to.y - from.y) * (scaleY > 0 ? 1 : -1);
    const double r = rotation * kPi / 180.0, c = std::cos(r), s = std::sin(r);
    const bool edge = m_handle == 1 || m_handle == 3 || m_handle == 4 || m_handle == 6;
    if (edge && std::fabs(c) < kSmallestCosine)
        return;
    const Point centre = Centre();
    const Point P { previous.x - centre.x, previous.y - centre.y }, Q { current.x - centre.x, current.y - centre.y };
    // The pointer's movement across (r) and along (t) the box's axes.
    const double across = (centre.y - Q.x * s + Q.y * c) - (centre.y - P.x * s + P.y * c);
    const double along = (centre.x + Q.x * c + Q.y * s) - (centre.x + P.x * c + P.y * s);
    Point& A = m_cornerA;
    Point& B = m_cornerB;
    switch (m_handle) {
    case 0:
        A.x += dx, A.y += dy;
        break;
    case 1:
        A.x -= dy * s / c, A.y += dy;
        break;
    case 2:
        A.x -= s * across, A.y += c * across;
        B.x += c * along, B.y += s * along;
        break;
    case 3:
        A.x += dx, A.y += dx * s / c;
        break;
    case 4:
        B.x += dx, B.y += dx * s / c;
        break;
    case 5:
        A.x += c * along, A.y += s * along;
        B.x -= s * across, B.y += c * across;
        break;
    case 6:
        B.x -= dy * s / c, B.y += dy;
        break;
    default:
        B.x += dx, B.y += dy;
        break;
    }
    RebuildFromCorners();
    if (isCornerHandle(m_handle) && KeyHeld(FNKeyShift))
        KeepShape();
}

void q_TransformBox::KeepShape()
{
    if (m_pressWidth == 0 || m_pressHeight == 0)
        return;
    const double grow = std::max(std::fabs(width / m_pressWidth), std::fabs(height / m_pressHeight));
    const double w = std::copysign(grow * std::fabs(m_pressWidth), width);
    const double h = std::copysign(grow * std::fabs(m_pressHeight), height);
    // The centre that puts the opposite corner back where it was.
    const double r = rotation * kPi / 180.0, cs = std::cos(r), sn = std::sin(r);
    const double u = kOppositeCorner[m_handle][0] * w / 2, v = kOppositeCorner[m_handle][1] * h / 2;
    const Point centre { m_fixedCorner.x - (u * cs - v * sn), m_fixedCorner.y - (u * sn + v * cs) };
    const Point origin = ParentOrigin();
    SetRect(centre.x - w / 2 - origin.x, centre.y - h / 2 - origin.y, w, h);
    TakeCorners();
}

void q_TransformBox::RebuildFromCorners()
{
    const double r = rotation * kPi / 180.0, c = std::cos(r), s = std::sin(r);
    const Point M { (m_cornerA.x + m_cornerB.x) / 2, (m_cornerA.y + m_cornerB.y) / 2 };
    // Turned back about M by the angle: the unrotated corners.
    auto unrotated = [&](const Point& p) {
        return Point { M.x + (p.x - M.x) * c + (p.y - M.y) * s, M.y - (p.x - M.x) * s + (p.y - M.y) * c };
    };
    Point a = unrotated(m_cornerA);
    const Point b = unrotated(m_cornerB);
    const Point origin = ParentOrigin();
    a.x -= origin.x;
    a.y -= origin.y;
    SetRect(a.x, a.y, b.x - origin.x - a.x, b.y - origin.y - a.y);
}

void q_TransformBox::Rotate(const Point& previous, const Point& current)
{
    const Point centre = Centre();
    const Point P { previous.x - centre.x, previous.y - centre.y }, Q { current.x - centre.x, current.y - centre.y };
    const double turned = std::atan2(P.x * Q.y - P.y * Q.x, P.y * Q.y + P.x * Q.x) * 180.0 / kPi;
    m_rawAngle += turned;
    if (KeyHeld(FNKeyControl))
        SetAngle(std::round(m_rawAngle / kSnapDegrees) * kSnapDegrees);
    else
        SetAngle(rotation + turned);
}

void q_TransformBox::ApplyToPart(
    FN2DItem& part, const FN2DItemBase& pictureItem, double zoom, int partWidth, int partHeight) const
{
    if (zoom <= 0 || partWidth <= 0 || partHeight <= 0)
        return;
    const double sx = width / zoom / partWidth, sy = height / zoom / partHeight;
    // The part's top-left corner before scaling, in the view group: the box
    // centre less half the part's size at this zoom.
    const double groupX = x + width / 2 - width / 2 / sx, groupY = y + height / 2 - height / 2 / sy;
    double worldX = groupX, worldY = groupY;
    if (parent)
        parent->WorldMatrix().apply(parent->WorldX() + groupX, parent->WorldY() + groupY, worldX, worldY);
    double localX, localY;
    pictureItem.ToLocal(worldX, worldY, localX, localY);
    part.Invalidate(true);
    part.scaleX = sx;
    part.UpdateTransform();
    part.Invalidate(true);
    part.scaleY = sy;
    part.UpdateTransform();
    part.Invalidate(true);
    part.MoveTo(localX, localY);
    part.SetRotation(rotation);
}

int q_TransformBox::CursorAt(const FN2DItemBase* hovered, double stageX, double stageY) const
{
    const Point centre = Centre();
    const double dx = stageX - centre.x, dy = stageY - centre.y;
    const double t = std::atan2(-dx, dy) * 180.0 / kPi;
    if (hovered == m_outline.get())
        return FNCursorSizeAll;
    for (const auto& handle : m_handles) {
        if (hovered == handle.get())
            return resizeCursor(t);
    }
    return rotateCursor(t);
}
