#pragma once

#include "framework/stage/FNStageBase.h"
#include "imaging/FNImage.h"
#include "imaging/text/FNStringStyle.h"

#include <memory>

class FNDisplay;

// FNStageItem: a small child window drawn directly into an FNDisplay instead
// of through a scene: a background picture, seen through a window onto it,
// and one text on top. Its window class paints nothing of its own, so the
// display is all that is seen.
//
// Drawing: the display is filled with the "background" colour, the part of
// the background picture that starts at the offset is copied to the
// display's top-left corner, and the text is drawn with the string style
// (placed in the display by the style's alignment flags). While the stage is
// not effectively enabled the text colour is moved halfway to white. The
// display is then copied to the window.
//
// Application thread; the display is drawn and presented under the framework
// lock, since the engine step presents it.
class FNStageItem : public FNStageBase {
public:
    FNStageItem(int x = 0, int y = 0, int width = 200, int height = 200);
    ~FNStageItem() override;

    // Sizes below 1 become 1; the display is rebuilt at the new size.
    bool SetRect(int x, int y, int w, int h) override;
    // Redraws, since the text colour depends on the enabled state.
    void SetEnabled(bool flag) override;
    // Builds the display and draws it.
    void OnWindowCreated() override;
    // Releases the display.
    void OnWindowDestroyed() override;
    // Copies the dirty part of the display to the window.
    void Present() override;

    // The picture is copied; null removes it. The offset is the point of the
    // picture shown at the display's top-left corner.
    void SetBackground(const FNImage* picture, int offsetX = 0, int offsetY = 0);
    void SetText(const FNString& newText);
    // Draws the display again and marks all of it for presenting. Call after
    // changing the style.
    void Redraw();

    // The display while the window exists, else null.
    const FNDisplay* Display() const { return m_display.get(); }
    const FNString& Text() const { return m_text; }

    FNStringStyle style;

private:
    void DrawDisplay();
    void DrawBackground();
    void DrawText();

    std::unique_ptr<FNDisplay> m_display;
    std::unique_ptr<FNImage> m_background;
    int m_backgroundX = 0;
    int m_backgroundY = 0;
    FNString m_text;
};
