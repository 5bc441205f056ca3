#pragma once

#include "framework/scene/FN2DItemBase.h"
#include "imaging/FNString.h"

class FNImage;
class FNStringStyle;

// FN2DItem: the item that shows things. It draws its picture (owned by the
// caller) and then its text image (rendered from `text` with `textStyle` and
// owned by the item) through the item rasteriser, and hit-tests against their
// pixels. Moving or resizing it raises Moved / Resized on its stage's engine.
class FN2DItem : public FN2DItemBase {
public:
    FN2DItem(int width, int height, double x, double y, int depth);
    ~FN2DItem() override;

    // Also re-renders the text image (disabled text is drawn lighter).
    void SetEnabled(bool flag) override;
    void HitTest(double x, double y, std::vector<FN2DItemBase*>& results, size_t limit) override;
    // Clears the rectangle, the picture, the text and its image first.
    void Detach() override;
    void DrawSelf(
        uint32_t* pixels, int width, int height, int rowLength, int left, int top, int right, int bottom) override;
    void DrawSelfClipped(
        uint32_t* pixels, int width, int height, int rowLength, int left, int top, int right, int bottom) override;
    virtual bool MoveBy(double dx, double dy);
    virtual bool MoveTo(double x, double y);
    // False when nothing changes; otherwise repositions the item (redrawing
    // old and new area) and raises Moved and/or Resized.
    virtual bool SetRect(double x, double y, double width, double height);
    virtual bool Resize(double width, double height);

    // Shows `image` (not owned) with its top-left corner at (offsetX, offsetY)
    // in item coordinates; null shows nothing.
    void SetPicture(FNImage* image, int offsetX = 0, int offsetY = 0);

    // Store the value and re-render the text image.
    void SetText(const FNString& text);
    void SetTextStyle(FNStringStyle* style);

    // The update rectangle widened for the filters' reach:
    // max(2, trunc(scale) + 1) on the left/top, max(4, trunc(scale) + 3) on
    // the right/bottom, limited to the buffer and, while the scene renders, to
    // the area it cleared (so that no pixel outside it is blended twice).
    FNRect WidenedUpdateRect(int width, int height, int left, int top, int right, int bottom) const;

    FNImage* picture = nullptr;
    int pictureX = 0;
    int pictureY = 0;
    FNString text;
    FNStringStyle* textStyle = nullptr;
    int textImageX = 0;
    int textImageY = 0;
    FNImage* textImage = nullptr; // owned
    int hitMargin = 0;

protected:
    // Deletes the old text image and renders the current text, if any.
    void RenderTextImage();

private:
    void DrawPictures(
        uint32_t* pixels, int width, int height, int rowLength, int left, int top, int right, int bottom, bool clipped);
    bool OpaqueAt(double localX, double localY) const;
    void DeleteTextImage();
};
