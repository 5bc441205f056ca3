#pragma once

#include "widgets/controls/ButtonFaces.h"
#include "widgets/controls/FNLabel.h"

#include <memory>

class FNEventConnector;
struct FNEventState;

// FNPushButton: a button with a normal, a hover and a pressed face.
//
//   enter        hover face
//   leave        normal face
//   left down    pressed face, text one pixel right and down
//   left up      hover face when released over the button, else normal; the
//                text centred again. The application's own connector on the
//                button gets the same LeftUp and takes it as a click.
//   disabled     the faces under the disabled overlay (and no events)
class FNPushButton : public FNTransParentLabel {
public:
    enum Face { Normal = 0, Hover, Pressed };

    FNPushButton(int x, int y, int w, int h, const FNString& text);
    // A button that paints its normal, hover and pressed faces with other
    // looks (the arrows and thumbs of scroll bars), in that order.
    FNPushButton(int x, int y, int w, int h, const FNString& text, std::vector<FNLookFunc> faces);
    ~FNPushButton() override;

    void Repaint() override;
    void OnResized(int w, int h) override;
    void OnEnabledChanged(bool enabled) override;

    // The face the item shows now.
    Face Shown() const { return m_shown; }

    void OnEnter(FNEventState event);
    void OnLeave(FNEventState event);
    void OnPress(FNEventState event);
    void OnRelease(FNEventState event);

protected:
    void OnItemCreated() override;
    void ShowFace(Face face);

private:
    ButtonFaces m_faces;
    Face m_shown = Normal;
    std::unique_ptr<FNEventConnector> m_connector;
};
