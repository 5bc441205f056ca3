#pragma once

#include "widgets/base/FNWidget.h"
#include "widgets/looks/FNLook.h"

#include <memory>

// FNFrame: an etched panel that groups widgets. It always sits at x = 10 of
// its parent; its children are placed inside it (and disabled with it).
class FNFrame : public FNWidget {
public:
    static constexpr int kX = 10;

    FNFrame(int y, int w, int h);
    ~FNFrame() override;

    void Repaint() override;
    void OnResized(int w, int h) override;

private:
    FNLook m_look;
    std::unique_ptr<FNImage> m_face;
};
