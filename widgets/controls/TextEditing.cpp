#include "widgets/controls/TextEditing.h"

#include "imaging/text/Utf8.h"

#include <algorithm>

TextEditing::TextEditing(std::string text, size_t maxLength)
    : m_maxLength(maxLength)
{
    SetText(text);
}

void TextEditing::SetText(const std::string& text)
{
    m_text = utf8Cut(text, m_maxLength);
    m_caret = m_anchor = m_text.size();
}

void TextEditing::SetMaxLength(size_t maxLength)
{
    m_maxLength = maxLength;
    m_text = utf8Cut(m_text, m_maxLength);
    m_caret = std::min(m_caret, m_text.size());
    m_anchor = std::min(m_anchor, m_text.size());
}

void TextEditing::MoveTo(size_t offset, bool extend)
{
    // A position inside a letter moves to that letter's start.
    size_t boundary = 0;
    while (boundary < m_text.size()) {
        const size_t next = utf8NextBoundary(m_text, boundary);
        if (next > offset)
            break;
        boundary = next;
    }
    m_caret = boundary;
    if (!extend)
        m_anchor = boundary;
}

void TextEditing::SelectAll()
{
    m_anchor = 0;
    m_caret = m_text.size();
}

void TextEditing::EraseSelection()
{
    const size_t begin = SelectionBegin();
    m_text.erase(begin, SelectionEnd() - begin);
    m_caret = m_anchor = begin;
}

void TextEditing::Insert(const std::string& typed)
{
    if (HasSelection())
        EraseSelection();
    const size_t room = m_maxLength > m_text.size() ? m_maxLength - m_text.size() : 0;
    const std::string fitting = utf8Cut(typed, room);
    m_text.insert(m_caret, fitting);
    m_caret = m_anchor = m_caret + fitting.size();
}

void TextEditing::Backspace()
{
    if (HasSelection()) {
        EraseSelection();
    } else if (m_caret > 0) {
        const size_t start = utf8PreviousBoundary(m_text, m_caret);
        m_text.erase(start, m_caret - start);
        m_caret = m_anchor = start;
    }
}

void TextEditing::Delete()
{
    if (HasSelection()) {
        EraseSelection();
    } else if (m_caret < m_text.size()) {
        m_text.erase(m_caret, utf8NextBoundary(m_text, m_caret) - m_caret);
    }
}

void TextEditing::Left(bool extend)
{
    if (HasSelection() && !extend)
        MoveTo(SelectionBegin(), false);
    else
        MoveTo(utf8PreviousBoundary(m_text, m_caret), extend);
}

void TextEditing::Right(bool extend)
{
    if (HasSelection() && !extend)
        MoveTo(SelectionEnd(), false);
    else
        MoveTo(utf8NextBoundary(m_text, m_caret), extend);
}
