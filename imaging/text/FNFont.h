#pragma once

#include "imaging/FNString.h"
#include "imaging/text/FontResolver.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

// One rasterised letter: a coverage bitmap (0 = none, 255 = full) placed
// relative to the pen position on the baseline.
struct FNGlyph {
    int advance = 0; // pixels the pen moves after the letter
    int left = 0; // columns from the pen position to the bitmap's left edge
    int top = 0; // rows from the bitmap's top row up to the baseline
    int width = 0;
    int height = 0;
    std::vector<uint8_t> coverage; // width x height, rows top to bottom
};

// FNFont: a face resolved to font files at one cell height, with synthetic
// bold and slant where the files lack them, and a cache of its rasterised
// letters. Fonts are shared: make() returns the same object for the same
// face, size, weight and slant, so every style of a label shares one glyph
// cache.
//
// Size: `cellHeight` is the height of the font's character cell in pixels
// (OS/2 winAscent + winDescent scaled), which is also the line height.
// Thread: every operation is serialised by one process-wide text lock, so
// fonts may be used from looks drawn on any thread.
class FNFont {
public:
    static std::shared_ptr<FNFont> make(const FNString& face, int cellHeight, bool bold, bool italic);
    ~FNFont();

    FNFont(const FNFont&) = delete;
    FNFont& operator=(const FNFont&) = delete;

    int cellHeight() const { return m_cellHeight; }
    // Rows from the top of the cell down to the baseline.
    int ascent() const { return m_ascent; }
    // Family of the primary font file (for diagnostics and tests).
    const std::string& family() const;
    // True when no font file could be opened; such a font draws nothing and
    // every letter has advance 0.
    bool empty() const { return m_faces.empty() || !m_faces.front(); }

    // The letter for a code point, rasterised on first use. The reference
    // stays valid while the font lives. Callers hold textLock().
    const FNGlyph& glyph(uint32_t code);

    // The lock that serialises FreeType and the font caches.
    static std::recursive_mutex& textLock();

private:
    struct Face;
    FNFont(int cellHeight, bool bold, bool italic);
    void open(const FNString& face);
    Face* faceFor(uint32_t code, unsigned& glyphIndex);
    Face* openFace(size_t source);
    void rasterise(Face& face, unsigned glyphIndex, FNGlyph& glyph) const;

    int m_cellHeight = 0;
    int m_ascent = 0;
    long m_charSize = 0; // 26.6 pixels per em, shared by the fallback fonts
    long m_boldStrength = 0; // 26.6 pixels added to each letter's width
    bool m_bold = false;
    bool m_italic = false;
    std::vector<FNFontSource> m_sources; // primary first, then fallbacks
    std::vector<std::unique_ptr<Face>> m_faces; // one per source; null until opened
    std::vector<bool> m_tried; // whether opening the source was attempted
    std::unordered_map<uint32_t, FNGlyph> m_glyphs;
    std::string m_noFamily;
};
