#pragma once

#include "app/canvas/q_BorderBox.h"

#include <memory>

class FNEventConnector;
struct FNEventState;

// q_TransformBox: the frame with eight handles the user drags to move,
// scale, mirror and rotate the part. It lives in the canvas's view group
// (screen-sized units above the zoomed picture); the application copies its
// geometry onto the part item while the user drags.
//
//   press on the outline        move
//   press on handle i           resize from that handle (0 top-left, 1 top,
//                               2 top-right, 3 left, 4 right, 5 bottom-left,
//                               6 bottom, 7 bottom-right); a width or height
//                               may turn negative: the part is then mirrored
//   press anywhere else         rotate about the centre (the box's hit
//                               margin is 20000 pixels, so it is everywhere)
//   hover                       the cursor of what a press would do
//   Shift on a corner handle    the box keeps its shape (aspect ratio), the
//                               opposite corner staying where it was
//   Ctrl while rotating         the angle snaps to multiples of 15 degrees
//
// The edge handles move their edge by the pointer's movement divided by the
// cosine of the angle; at 90 and 270 degrees (|cos| below 1e-6) they move
// nothing rather than throw the box to infinity.
//
// The outline and the handles pass their events to the box, whose one
// connector handles them; the event's item tells which was pressed. The angle
// is in degrees in [0, 360); the handles turn the other way so that they
// stay upright on the screen.
class q_TransformBox : public FN2DItem {
public:
    enum DragState { Idle = 0, Moving = 1, Resizing = 2, Rotating = 3 };
    static constexpr int kHandleSize = 9;
    static constexpr int kHitMargin = 20000;

    q_TransformBox();
    ~q_TransformBox() override;

    // The outline takes (0, 0, w, h) and the handles sit on its corners and
    // edge middles; then the box's own rectangle.
    bool SetRect(double x, double y, double w, double h) override;
    void SetAngle(double degrees);
    double Angle() const { return rotation; }
    // The box over a rectangle of the canvas picture (picture pixels): its
    // top-left corner from the picture item's coordinates to the box's
    // parent's, its size times the zoom.
    void SetFromPictureRect(const FN2DItemBase& pictureItem, double zoom, double x, double y, double w, double h);
    // The reverse: the box's rectangle in picture pixels.
    void PictureRect(const FN2DItemBase& pictureItem, double zoom, double& x, double& y, double& w, double& h) const;

    DragState State() const { return m_state; }
    int HandleIndex() const { return m_handle; }
    q_BorderBox* Outline() const { return m_outline.get(); }
    q_BorderBox* Handle(int index) const { return m_handles[index].get(); }
    // The cursor a hover at a stage point over `hovered` shows.
    int CursorAt(const FN2DItemBase* hovered, double stageX, double stageY) const;

    // The part item (a child of the canvas picture item, in picture pixels)
    // takes the box's place: scale = box size / zoom / part size, centre on
    // the box's centre, the box's angle.
    void ApplyToPart(FN2DItem& part, const FN2DItemBase& pictureItem, double zoom, int partWidth, int partHeight) const;

    void OnPress(FNEventState event);
    void OnMove(FNEventState event);
    void OnRelease(FNEventState event);
    void OnLeave(FNEventState event);

protected:
    // Whether a key is held now (the current engine's key table).
    virtual bool KeyHeld(int virtualKey) const;

private:
    struct Point {
        double x, y;
    };
    Point Centre() const;
    Point ParentOrigin() const;
    // A stage point in the parent's coordinates.
    Point InParent(double stageX, double stageY) const;
    void TakeCorners();
    void Resize(const Point& previous, const Point& current);
    void Rotate(const Point& previous, const Point& current);
    void RebuildFromCorners();
    // With Shift on a corner handle: the size brought back to the shape at
    // the press, the opposite corner kept in place.
    void KeepShape();

    std::unique_ptr<q_BorderBox> m_outline;
    std::unique_ptr<q_BorderBox> m_handles[8];
    std::unique_ptr<FNEventConnector> m_connector;
    DragState m_state = Idle;
    int m_handle = 0;
    Point m_previous { 0, 0 };
    Point m_cornerA { 0, 0 };
    Point m_cornerB { 0, 0 };
    // At the press: the size, and the corner opposite the pressed handle.
    double m_pressWidth = 0, m_pressHeight = 0;
    Point m_fixedCorner { 0, 0 };
    double m_rawAngle = 0; // the angle without snapping, while rotating
};
