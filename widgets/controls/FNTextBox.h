#pragma once

#include "widgets/base/FNWidget.h"
#include "widgets/controls/TextEditing.h"
#include "widgets/looks/FNLook.h"

#include <memory>

class FNAnimation;
class FNEventConnector;
struct FNAnimeData;
struct FNEventState;

// FNTextBox: one line of text entry. The box edits its text with the rules
// of TextEditing (never splitting a letter) on the key-down events it gets
// while focused; a click gives it the focus and puts the caret at the
// nearest letter boundary, a drag selects, a double click selects all.
//
//   typed text / input-method text   inserted at the caret (replacing the
//                                    selection), cut to the longest length
//   Backspace, Delete                the selection or one letter
//   Left, Right, Home, End           move the caret; with Shift, select
//   Ctrl+A                           select all
// While focused the box shows the focused look and a blinking caret (every
// 500 ms); the input method's composition window goes to the caret.
class FNTextBox : public FNWidget {
public:
    static constexpr int kTextLeft = 4;
    static constexpr uint32_t kBlinkMilliseconds = 500;

    FNTextBox(int x, int y, int w, int h, const FNString& text);
    ~FNTextBox() override;

    // The text, cut to the longest length; the caret goes to its end.
    void SetText(const FNString& text);
    FNString GetText() const { return FNString(m_editing.Text()); }
    // Longest text in bytes (1024 at first); the text is cut to it.
    void SetMaxLength(int maxLength);
    int MaxLength() const { return static_cast<int>(m_editing.MaxLength()); }
    const TextEditing& Editing() const { return m_editing; }
    bool IsFocused() const { return m_focused; }
    bool CaretShown() const;

    void Repaint() override;
    void OnResized(int w, int h) override;
    void OnEnabledChanged(bool enabled) override;

    void OnKeyDown(FNEventState event);
    void OnFocusIn(FNEventState event);
    void OnFocusOut(FNEventState event);
    void OnPress(FNEventState event);
    void OnDoubleClick(FNEventState event);
    void OnDrag(FNEventState event);
    void OnRelease(FNEventState event);
    bool OnBlink(FNAnimeData data);

protected:
    void OnItemCreated() override;

private:
    // After every change: the text rendered again, scrolled so the caret is
    // in view, the caret bar moved, the face repainted.
    void Changed();
    bool HandleKey(int key, bool shift, bool control);
    // Pixel position of a byte offset, from the text's left edge.
    int PixelAt(size_t offset) const;
    // The byte offset of the letter boundary nearest to a local x.
    size_t OffsetAt(double localX) const;
    void PlaceCaret();

    TextEditing m_editing;
    FNLook m_look;
    FNLook m_focusedLook;
    std::unique_ptr<FNImage> m_face;
    std::unique_ptr<FNImage> m_caretPicture;
    std::unique_ptr<FNWidget> m_caret;
    std::unique_ptr<FNAnimation> m_blink;
    std::unique_ptr<FNEventConnector> m_connector;
    bool m_focused = false;
    bool m_dragging = false;
    int m_scroll = 0; // pixels of text scrolled out on the left
};
