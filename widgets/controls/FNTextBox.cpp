#include "widgets/controls/FNTextBox.h"

#include "framework/animation/FNAnimation.h"
#include "framework/engine/FNEngine.h"
#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/platform/FNVirtualKey.h"
#include "framework/scene/FN2DItem.h"
#include "imaging/FNImage.h"
#include "imaging/text/FNStringStyle.h"
#include "imaging/text/TextLayout.h"
#include "imaging/text/Utf8.h"
#include "widgets/looks/FNLooks.h"
#include "widgets/theme/FNTheme.h"

#include <algorithm>

namespace {

constexpr int kCaretWidth = 3;
constexpr int kCaretHeight = 14;

bool keyHeld(const FNSystemState& system, int key)
{
    return (system.keys[key] & 0x80) != 0;
}

} // namespace

FNTextBox::FNTextBox(int x, int y, int w, int h, const FNString& newText)
    : FNWidget(x, y, w, h)
    , m_face(std::make_unique<FNImage>(1, 1))
    , m_caretPicture(std::make_unique<FNImage>(kCaretWidth, kCaretHeight))
    , m_caret(std::make_unique<FNWidget>(0, 0, kCaretWidth, kCaretHeight))
    , m_blink(std::make_unique<FNAnimation>())
{
    FN_SET_CLASS_NAME(FNTextBox);
    m_editing.SetText(newText.c_str());
    text = m_editing.Text();
    m_look.Set(FNLookInfo(), &FNTextBoxLook);
    m_focusedLook.Set(FNLookInfo(), &FNTextBoxFocusedLook);
    // The caret: the mean of the highlight set's dark and middle tones.
    const FNRGB a = FNThemeRGB(FNThemeKey::Main0), b = FNThemeRGB(FNThemeKey::Main1);
    m_caretPicture->fill((a.red + b.red) / 2, (a.green + b.green) / 2, (a.blue + b.blue) / 2, 255);
    m_caret->SetPicture(m_caretPicture.get());
    m_blink->loop = true;
    m_blink->duration = kBlinkMilliseconds;
    m_blink->SetOnFinish(&FNTextBox::OnBlink, this);
}

FNTextBox::~FNTextBox()
{
    m_blink->Stop();
    m_connector.reset();
    if (item) {
        item->SetPicture(nullptr);
        RemoveChild(m_caret.get());
    }
}

void FNTextBox::OnItemCreated()
{
    // Presses anywhere on the box reach it, not only on its letters.
    item->solidHit = true;
    AddChild(m_caret.get(), false);
    m_connector = std::make_unique<FNEventConnector>(item);
    m_connector->Connect(FNEvent::KeyDown, &FNTextBox::OnKeyDown, this);
    m_connector->Connect(FNEvent::FocusIn, &FNTextBox::OnFocusIn, this);
    m_connector->Connect(FNEvent::FocusOut, &FNTextBox::OnFocusOut, this);
    m_connector->Connect(FNEvent::LeftDown, &FNTextBox::OnPress, this);
    m_connector->Connect(FNEvent::LeftDoubleClick, &FNTextBox::OnDoubleClick, this);
    m_connector->Connect(FNEvent::MouseMove, &FNTextBox::OnDrag, this);
    m_connector->Connect(FNEvent::LeftUp, &FNTextBox::OnRelease, this);
}

// ---- Text and length ----------------------------------------------------------------

void FNTextBox::SetText(const FNString& newText)
{
    m_editing.SetText(newText.c_str());
    Changed();
}

void FNTextBox::SetMaxLength(int maxLength)
{
    m_editing.SetMaxLength(static_cast<size_t>(std::max(0, maxLength)));
    Changed();
}

bool FNTextBox::CaretShown() const
{
    return m_caret->HasItem() && m_caret->Item()->visible;
}

// ---- Drawing -------------------------------------------------------------------------

void FNTextBox::Repaint()
{
    (m_focused ? m_focusedLook : m_look).Draw(m_face.get(), Width(), Height());
    if (m_editing.HasSelection() && Width() > 4 && Height() > 6) {
        // The selected letters lie on a band of the highlight set's tones.
        const FNRGB a = FNThemeRGB(FNThemeKey::Main1), b = FNThemeRGB(FNThemeKey::Main2);
        const int left = std::max(2, kTextLeft - m_scroll + PixelAt(m_editing.SelectionBegin()));
        const int right = std::min(Width() - 2, kTextLeft - m_scroll + PixelAt(m_editing.SelectionEnd()));
        for (int y = 3; y < Height() - 3; ++y) {
            for (int x = left; x < right; ++x)
                m_face->setColor(x, y, (a.red + b.red) / 2, (a.green + b.green) / 2, (a.blue + b.blue) / 2, 255);
        }
    }
    SetPicture(m_face.get());
    Redraw();
}

void FNTextBox::OnResized(int, int)
{
    Changed();
}

void FNTextBox::OnEnabledChanged(bool)
{
    Repaint();
}

int FNTextBox::PixelAt(size_t offset) const
{
    const FNStringStyle* style = stringStyle ? stringStyle : &FNDefaultStringStyle();
    return textWidth(m_editing.Text(), 0, std::min(offset, m_editing.Text().size()), *style->font);
}

size_t FNTextBox::OffsetAt(double localX) const
{
    const double x = localX - kTextLeft + m_scroll;
    const std::string& all = m_editing.Text();
    size_t best = 0;
    for (size_t at = 0; at < all.size();) {
        const size_t next = utf8NextBoundary(all, at);
        // Past the middle of a letter: the boundary after it.
        if (x < (PixelAt(at) + PixelAt(next)) / 2.0)
            return at;
        best = at = next;
    }
    return best;
}

void FNTextBox::Changed()
{
    text = m_editing.Text();
    if (!item)
        return;
    item->SetText(text);
    const int caretPixel = PixelAt(m_editing.Caret());
    const int room = std::max(1, Width() - 2 * kTextLeft);
    // Scrolled just far enough that the caret stays in the box.
    m_scroll = std::clamp(m_scroll, std::max(0, caretPixel - room), caretPixel);
    const int textHeight = item->textImage ? item->textImage->height : 0;
    item->textImageX = kTextLeft - m_scroll;
    item->textImageY = (Height() - textHeight) / 2;
    PlaceCaret();
    Repaint();
}

void FNTextBox::PlaceCaret()
{
    const int caretX = kTextLeft - m_scroll + PixelAt(m_editing.Caret()) - 1;
    const int caretY = (Height() - kCaretHeight) / 2;
    m_caret->MoveTo(caretX, caretY);
    if (m_focused) {
        if (FNEngine* engine = FNEngine::Current()) {
            // The input method's composition window opens at the caret.
            const FNRect box = item->ScreenBounds();
            engine->imePosition[0] = box.left + caretX;
            engine->imePosition[1] = box.top + caretY;
        }
    }
}

// ---- Focus and caret -----------------------------------------------------------------

void FNTextBox::OnFocusIn(FNEventState)
{
    m_focused = true;
    m_caret->Show();
    m_blink->Start();
    Changed();
}

void FNTextBox::OnFocusOut(FNEventState)
{
    m_focused = false;
    m_dragging = false;
    m_blink->Stop();
    m_caret->Hide();
    Repaint();
}

bool FNTextBox::OnBlink(FNAnimeData)
{
    if (!m_focused)
        return true;
    if (CaretShown())
        m_caret->Hide();
    else
        m_caret->Show();
    return false;
}

// ---- Keys ------------------------------------------------------------------------------

void FNTextBox::OnKeyDown(FNEventState event)
{
    FNEngine* engine = FNEngine::Current();
    if (!engine)
        return;
    const FNSystemState system = engine->System();
    const bool handled = HandleKey(event.key, keyHeld(system, FNKeyShift), keyHeld(system, FNKeyControl));
    if (!handled && engine->current.textInput)
        m_editing.Insert(engine->current.text.c_str());
    // Every key shows the caret at once, as a typist expects.
    m_caret->Show();
    Changed();
}

bool FNTextBox::HandleKey(int key, bool shift, bool control)
{
    switch (key) {
    case FNKeyBackspace:
        m_editing.Backspace();
        return true;
    case FNKeyDelete:
        m_editing.Delete();
        return true;
    case FNKeyLeft:
        m_editing.Left(shift);
        return true;
    case FNKeyRight:
        m_editing.Right(shift);
        return true;
    case FNKeyHome:
        m_editing.Home(shift);
        return true;
    case FNKeyEnd:
        m_editing.End(shift);
        return true;
    case 'A':
        if (!control)
            return false;
        m_editing.SelectAll();
        return true;
    default:
        return false;
    }
}

// ---- Pointer ------------------------------------------------------------------------------

void FNTextBox::OnPress(FNEventState event)
{
    m_dragging = true;
    m_editing.MoveTo(OffsetAt(event.localX), false);
    Changed();
}

void FNTextBox::OnDoubleClick(FNEventState)
{
    m_dragging = false;
    m_editing.SelectAll();
    Changed();
}

void FNTextBox::OnDrag(FNEventState event)
{
    if (!m_dragging)
        return;
    m_editing.MoveTo(OffsetAt(event.localX), true);
    Changed();
}

void FNTextBox::OnRelease(FNEventState)
{
    m_dragging = false;
}
