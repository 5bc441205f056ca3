#pragma once

#include "widgets/base/FNWidget.h"
#include "widgets/looks/FNLook.h"

#include <memory>

// FNTransParentLabel: text and nothing else; whatever lies behind shows
// through. The base of the text-carrying widgets (labels, buttons,
// selectors).
class FNTransParentLabel : public FNWidget {
public:
    FNTransParentLabel(int x, int y, int w, int h, const FNString& text);
};

// FNLabel: text over a face painted with the label look (the background
// colour), repainted for every new size.
class FNLabel : public FNTransParentLabel {
public:
    FNLabel(int x, int y, int w, int h, const FNString& text);
    ~FNLabel() override;

    void Repaint() override;
    void OnResized(int w, int h) override;

private:
    FNLook m_look;
    std::unique_ptr<FNImage> m_face;
};
