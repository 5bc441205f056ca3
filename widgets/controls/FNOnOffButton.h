#pragma once

#include "widgets/controls/ButtonFaces.h"
#include "widgets/controls/FNLabel.h"

#include <memory>

class FNEventConnector;
struct FNEventState;

// FNOnOffButton: a button that stays on or off; a press turns it over.
//
//   enter        on face when on, else hover face
//   leave        on face when on, else normal face
//   left down    the flag turns over, then the pressed face, text (1, 1)
//   left up      on face when on, else normal face; text centred again
//   disabled     normal and on faces under the disabled overlay
// Setting `on` from outside and calling Repaint() shows the matching face.
class FNOnOffButton : public FNTransParentLabel {
public:
    enum Face { Normal = 0, On, Hover, Pressed };

    FNOnOffButton(int x, int y, int w, int h, const FNString& text);
    ~FNOnOffButton() override;

    void Repaint() override;
    void OnResized(int w, int h) override;
    void OnEnabledChanged(bool enabled) override;

    Face Shown() const { return m_shown; }

    void OnEnter(FNEventState event);
    void OnLeave(FNEventState event);
    void OnPress(FNEventState event);
    void OnRelease(FNEventState event);

    bool on = false;

protected:
    void OnItemCreated() override;
    void ShowFace(Face face);

private:
    ButtonFaces m_faces;
    Face m_shown = Normal;
    std::unique_ptr<FNEventConnector> m_connector;
};
