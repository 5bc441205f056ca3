#pragma once

#include "widgets/looks/FNLook.h"

#include <memory>
#include <vector>

class FN2DItem;
class FNImage;

// The faces of a button: one picture per look, painted at the button's size,
// each covered by the disabled overlay while the button is disabled.
class ButtonFaces {
public:
    explicit ButtonFaces(std::vector<FNLookFunc> looks);
    ~ButtonFaces();

    void Paint(int width, int height, bool enabled);
    FNImage* Face(size_t index) const { return m_faces[index].get(); }

private:
    std::vector<FNLook> m_looks;
    std::vector<std::unique_ptr<FNImage>> m_faces;
};

// Centres the item's text in its rectangle, `pressed` one pixel right and
// down of that.
void FNPlaceButtonText(FN2DItem* item, bool pressed);
