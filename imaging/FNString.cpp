#include "imaging/FNString.h"

#include <limits.h>
#include <sstream>
#include <unistd.h>

namespace {

std::string decimal(int number)
{
    std::ostringstream out;
    out << number;
    return out.str();
}

} // namespace

FNString::FNString(const char* text)
    : m_text(text ? text : "")
{
}

FNString::FNString(int number)
    : m_text(decimal(number))
{
}

FNString::FNString(const std::string& text)
    : m_text(text)
{
}

FNString& FNString::operator=(const FNString& other)
{
    m_text = other.m_text;
    return *this;
}

FNString& FNString::operator=(const char* text)
{
    m_text = text ? text : "";
    return *this;
}

FNString FNString::operator+(const FNString& other) const
{
    return FNString(m_text + other.m_text);
}
FNString FNString::operator+(const char* text) const
{
    return FNString(m_text + (text ? text : ""));
}
FNString FNString::operator+(int number) const
{
    return FNString(m_text + decimal(number));
}

FNString FNString::operator+=(const char* text)
{
    if (text)
        m_text += text;
    return *this;
}

FNString FNString::operator+=(const FNString& other)
{
    m_text += other.m_text;
    return *this;
}

bool FNString::operator==(const FNString& other) const
{
    return m_text == other.m_text;
}
bool FNString::operator!=(const FNString& other) const
{
    return m_text != other.m_text;
}
bool FNString::operator==(const char* text) const
{
    return text && m_text == text;
}
bool FNString::operator!=(const char* text) const
{
    return text && m_text != text;
}

FNString operator+(const char* text, const FNString& string)
{
    return FNString(std::string(text ? text : "") + string.str());
}

FNString FNString::substr(int begin, int end) const
{
    const long long length = static_cast<long long>(m_text.size());
    long long from = begin < 0 ? 0 : begin;
    long long to = end > length ? length : end;
    if (from > length || to - from < 1)
        return FNString();
    return FNString(m_text.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)));
}

FNString FNString::extension() const
{
    // The original split the path with a 32-byte extension buffer (dot,
    // text and terminator), so longer extensions read as none at all.
    const size_t slash = m_text.find_last_of('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = m_text.find_last_of('.');
    if (dot == std::string::npos || dot < nameStart)
        return FNString();
    const size_t withDot = m_text.size() - dot;
    if (withDot >= 32)
        return FNString();
    return FNString(m_text.substr(dot + 1));
}

FNString programDirectory()
{
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (n <= 0)
        return FNString("./");
    std::string full(path, static_cast<size_t>(n));
    const size_t slash = full.find_last_of('/');
    return FNString(full.substr(0, slash + 1));
}
