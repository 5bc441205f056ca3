#pragma once

#include "widgets/base/FNWidget.h"
#include "widgets/looks/FNLook.h"

#include <memory>

// FNMenuFace: a widget that shows one look painted at its size, repainted
// whenever the size changes: the menu bar behind the titles, a panel's body
// and its separator rows. Presses anywhere on it hit it.
class FNMenuFace : public FNWidget {
public:
    FNMenuFace(int x, int y, int w, int h, FNLookFunc look);
    ~FNMenuFace() override;

    void Repaint() override;
    void OnResized(int w, int h) override;

protected:
    void OnItemCreated() override;

private:
    FNLook m_look;
    std::unique_ptr<FNImage> m_face;
};
