#pragma once

#include <string>

// The editing rules of a one-line text box, on the text alone: a caret and
// an optional selection as byte offsets, always on letter boundaries
// (imaging/text/Utf8.h knows where letters start), and a longest length in
// bytes. Nothing here draws.
//
//   Backspace      the selection, else the letter before the caret
//   Delete         the selection, else the letter after the caret
//   Left / Right   one letter; with `extend` the selection grows from its
//                  anchor, without it a selection collapses to its edge
//   Home / End     to the start or the end, likewise
//   Insert         replaces the selection; what does not fit the longest
//                  length is cut at the last whole letter that fits
class TextEditing {
public:
    explicit TextEditing(std::string text = std::string(), size_t maxLength = 1024);

    const std::string& Text() const { return m_text; }
    size_t Caret() const { return m_caret; }
    bool HasSelection() const { return m_anchor != m_caret; }
    size_t SelectionBegin() const { return m_anchor < m_caret ? m_anchor : m_caret; }
    size_t SelectionEnd() const { return m_anchor < m_caret ? m_caret : m_anchor; }
    size_t MaxLength() const { return m_maxLength; }

    // The text, cut to the longest length; the caret goes to its end.
    void SetText(const std::string& text);
    // Cuts the text to the new longest length.
    void SetMaxLength(size_t maxLength);
    // The caret to `offset` (moved back to a letter start), the selection
    // reaching to it from its anchor when `extend`.
    void MoveTo(size_t offset, bool extend);
    void SelectAll();

    void Insert(const std::string& typed);
    void Backspace();
    void Delete();
    void Left(bool extend);
    void Right(bool extend);
    void Home(bool extend) { MoveTo(0, extend); }
    void End(bool extend) { MoveTo(m_text.size(), extend); }

private:
    void EraseSelection();

    std::string m_text;
    size_t m_maxLength;
    size_t m_caret = 0;
    size_t m_anchor = 0; // the selection's other end; equal to the caret without one
};
