#pragma once

#include <string>

// FNString: the framework's 8-bit text value. Text is multi-byte (UTF-8 on
// Linux) and is treated purely as bytes here; nothing in this class looks at
// lead bytes. A plain value: copied on assignment and when passed by value.
class FNString {
public:
    FNString() = default;
    FNString(const char* text);
    FNString(int number);
    FNString(const std::string& text);
    virtual ~FNString() = default;

    FNString(const FNString&) = default;
    FNString& operator=(const FNString& other);
    FNString& operator=(const char* text);

    FNString operator+(const FNString& other) const;
    FNString operator+(const char* text) const;
    FNString operator+(int number) const;
    FNString operator+=(const char* text);
    FNString operator+=(const FNString& other);

    bool operator==(const FNString& other) const;
    bool operator==(const char* text) const;
    bool operator!=(const FNString& other) const;
    bool operator!=(const char* text) const;

    const char* c_str() const { return m_text.c_str(); }
    const std::string& str() const { return m_text; }
    size_t length() const { return m_text.size(); }
    bool empty() const { return m_text.empty(); }

    // Bytes begin .. end - 1; end is limited to the length and begin raised
    // to 0. Empty when begin lies past the end or the range is empty.
    FNString substr(int begin, int end) const;

    // Text after the last dot of the final path component, without the dot.
    // Empty when there is no dot, or when the dot and extension need 31 bytes
    // or more (the fixed-size extension field of the original file API).
    FNString extension() const;

private:
    std::string m_text;
};

FNString operator+(const char* text, const FNString& string);

// Directory of the running program file, ending in '/'.
FNString programDirectory();
