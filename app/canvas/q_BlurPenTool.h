#pragma once

#include <memory>

class FNEventConnector;
class FNImage;
class q_Canvas;
struct FNEventState;

// What the blur pen needs of the application: the selected tool, the pen
// size and the base canvas picture, and the edit history's step around a
// stroke.
class q_BlurPenHost {
public:
    virtual int Tool() const = 0; // 1 is the blur pen
    virtual int PenSize() const = 0; // the size slider's value, 0 .. 39
    // The base canvas picture now.
    virtual FNImage* BasePicture() = 0;
    // A stroke starts: the current base picture is kept as the step's
    // "before" picture and replaced by a copy of itself, the new base.
    virtual void OpenBaseStep() = 0;
    // It ends: the base picture is the step's "after" picture.
    virtual void CloseBaseStep() = 0;

protected:
    ~q_BlurPenHost() = default;
};

// q_BlurPenTool: the blur pen on the canvas's picture item. A press opens
// one base-picture step and shows the new base picture; each move blurs
// along the line from the last point (size = slider + 1) and redraws only
// the stroke's neighbourhood; the release closes the step. Positions are
// picture pixels, truncated toward zero. One step per stroke, even when the
// pointer never moved. (Other tools only follow the last point.)
class q_BlurPenTool {
public:
    q_BlurPenTool(q_Canvas& canvas, q_BlurPenHost& host);
    ~q_BlurPenTool();

    bool IsPressing() const { return m_pressing; }
    int LastX() const { return m_lastX; }
    int LastY() const { return m_lastY; }

    void OnPress(FNEventState event);
    void OnMove(FNEventState event);
    void OnRelease(FNEventState event);

private:
    q_Canvas& m_canvas;
    q_BlurPenHost& m_host;
    std::unique_ptr<FNEventConnector> m_connector;
    bool m_pressing = false;
    int m_lastX = 0, m_lastY = 0;
};
