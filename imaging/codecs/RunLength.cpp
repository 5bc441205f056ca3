#include "imaging/codecs/RunLength.h"

#include <algorithm>
#include <cassert>
#include <cstring>

// ---- BMP 8-bit run length ------------------------------------------------
//
// Packets are byte pairs:
//   c > 0, v        write v c times
//   0, 0            end of line: continue at the start of the next row
//   0, 1            end of bitmap
//   0, 2, dx, dy    move dx pixels right and dy rows down
//   0, k >= 3       k literal bytes follow, padded to an even count

namespace {

struct RunLength8Output {
    uint8_t* out;
    size_t size;
    size_t stride;
    size_t position = 0;
    size_t line = 0; // row the current position belongs to

    size_t room() const { return size - position; }

    void moveTo(size_t newPosition) { position = std::min(newPosition, size); }

    // A row written past its end (no end-of-line code) has spilled into the
    // next rows; end of line then continues after the last row touched.
    void endLine()
    {
        const size_t rowsTouched = (position + stride - 1) / stride;
        line = std::min(std::max(line + 1, rowsTouched), size / stride + 1);
        moveTo(line * stride);
    }

    void delta(uint8_t dx, uint8_t dy)
    {
        line = std::min(line + dy, size / stride + 1);
        moveTo(position + dx + size_t(dy) * stride);
    }
};

} // namespace

RunLength8End decodeBMPRunLength8(ByteCursor& input, uint8_t* out, size_t size, size_t stride)
{
    assert(stride > 0 && "a run-length row has at least one byte");
    RunLength8Output o { out, size, stride };
    uint8_t count = 0;
    uint8_t code = 0;
    while (input.u8(count) && input.u8(code)) {
        if (count > 0) {
            const size_t n = std::min<size_t>(count, o.room());
            std::memset(out + o.position, code, n);
            o.position += n;
            continue;
        }
        if (code == 0) {
            o.endLine();
        } else if (code == 1) {
            return { true, o.position };
        } else if (code == 2) {
            uint8_t dx = 0;
            uint8_t dy = 0;
            if (!input.u8(dx) || !input.u8(dy))
                break;
            o.delta(dx, dy);
        } else {
            const size_t available = std::min<size_t>(code, input.remaining());
            const uint8_t* literal = input.take(available);
            const size_t n = std::min(available, o.room());
            std::memcpy(out + o.position, literal, n);
            o.position += n;
            if (available < code)
                break;
            if (code & 1)
                input.skip(1);
        }
    }
    return { false, o.position };
}

// ---- TGA run length --------------------------------------------------------
//
// A packet header h holds the pixel count (h & 127) + 1; h >= 128 is a run
// (one pixel follows, repeated), otherwise a raw packet (count pixels follow).

TGARunDecoder::TGARunDecoder(ByteCursor& input, size_t pixelSize)
    : m_input(input)
    , m_pixelSize(pixelSize)
{
    assert(pixelSize >= 1 && pixelSize <= sizeof(m_pixel) && "TGA pixels are 1 to 4 bytes");
}

bool TGARunDecoder::readPixel()
{
    const uint8_t* p = m_input.take(m_pixelSize);
    if (!p) {
        m_left = 0;
        return false;
    }
    std::memcpy(m_pixel, p, m_pixelSize);
    return true;
}

size_t TGARunDecoder::decode(uint8_t* out, size_t count)
{
    size_t written = 0;
    while (count - written >= m_pixelSize) {
        if (m_left == 0) {
            uint8_t header = 0;
            if (!m_input.u8(header))
                break;
            m_left = (header & 127u) + 1;
            m_run = header >= 128;
            if (!readPixel())
                break;
        } else if (!m_run && !readPixel()) {
            break;
        }
        std::memcpy(out + written, m_pixel, m_pixelSize);
        written += m_pixelSize;
        --m_left;
    }
    return written;
}
