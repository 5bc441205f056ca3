#pragma once

#include "imaging/codecs/ByteCursor.h"

#include <cstddef>
#include <cstdint>

// Run-length decoders of the BMP and TGA readers. Both read their input
// only through a ByteCursor, check the input left before each packet and
// clamp every run to the room left in the output, so truncated or hostile
// data can neither read nor write out of bounds.

// Expands BMP 8-bit run-length data into out (size bytes, zero-filled by the
// caller), a continuous stream of rows of stride bytes each: row r starts at
// r * stride. End of line moves to the start of the next row and a delta
// moves right and down, as the run-length format defines them; bytes skipped
// that way keep their zero. Decoding ends at the end-of-bitmap code, at the
// end of the input, or when the output is full.
struct RunLength8End {
    bool endOfBitmap; // stopped at the end-of-bitmap code (complete data do)
    size_t reached; // output position where decoding stopped
};
RunLength8End decodeBMPRunLength8(ByteCursor& input, uint8_t* out, size_t size, size_t stride);

// TGA run-length packets of pixelSize-byte pixels. The decoder keeps its
// packet state between calls, so a picture can be expanded one row at a
// time while packets run across row ends.
class TGARunDecoder {
public:
    TGARunDecoder(ByteCursor& input, size_t pixelSize);

    // Writes whole pixels to out until count bytes are filled or the input
    // ends; returns the number of bytes written.
    size_t decode(uint8_t* out, size_t count);

private:
    bool readPixel();

    ByteCursor& m_input;
    size_t m_pixelSize;
    uint8_t m_pixel[4] = {};
    size_t m_left = 0; // pixels left in the current packet
    bool m_run = false; // run packet (one pixel repeated) or raw packet
};
