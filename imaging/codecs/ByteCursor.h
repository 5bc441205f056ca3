#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// A read position over bytes that knows where they end. Every read of file
// data in the codecs goes through one, so nothing reads past what the file
// actually held: a take that does not fit fails and reads nothing.
class ByteCursor {
public:
    ByteCursor(const uint8_t* data, size_t size)
        : m_data(data)
        , m_size(size)
    {
    }

    size_t position() const { return m_position; }
    size_t remaining() const { return m_size - m_position; }
    bool atEnd() const { return m_position >= m_size; }

    // Moves to an absolute offset; false (and no move) past the end.
    bool seek(size_t offset)
    {
        if (offset > m_size)
            return false;
        m_position = offset;
        return true;
    }

    bool skip(size_t count)
    {
        if (count > remaining())
            return false;
        m_position += count;
        return true;
    }

    // Pointer to the next count bytes, or null when fewer remain.
    const uint8_t* take(size_t count)
    {
        if (count > remaining())
            return nullptr;
        const uint8_t* p = m_data + m_position;
        m_position += count;
        return p;
    }

    bool u8(uint8_t& out)
    {
        const uint8_t* p = take(1);
        if (!p)
            return false;
        out = *p;
        return true;
    }

    bool u16le(uint16_t& out)
    {
        const uint8_t* p = take(2);
        if (!p)
            return false;
        out = static_cast<uint16_t>(p[0] | p[1] << 8);
        return true;
    }

    bool u32le(uint32_t& out)
    {
        const uint8_t* p = take(4);
        if (!p)
            return false;
        out = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
        return true;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_position = 0;
};
