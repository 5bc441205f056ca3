#include "imaging/text/FNFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace {

// The process-wide FreeType library and the cache of made fonts. Never
// destroyed: styles held in static objects may release their fonts during
// exit in any order, and both stay reachable until the process ends.
struct TextSystem {
    FT_Library library = nullptr;
    std::recursive_mutex lock;
    using Key = std::tuple<std::string, int, bool, bool>;
    std::map<Key, std::shared_ptr<FNFont>> fonts;

    TextSystem() { FT_Init_FreeType(&library); }
    static TextSystem& get()
    {
        static TextSystem* system = new TextSystem;
        return *system;
    }
};

// Fonts no style holds any more are dropped once the cache grows past this.
constexpr size_t kFontCacheLimit = 48;

// A slant of about 11 degrees for synthetic italics: x' = x + 0.2 y (16.16).
constexpr FT_Fixed kItalicShear = 0x3333;

// Coverage from FreeType is linear; on the light faces of this theme thin
// stems then look washed out. A mild gamma lifts partial coverage so the
// grey text reads as solid as the platform's own rendering.
const uint8_t* coverageCurve()
{
    static const auto table = [] {
        std::vector<uint8_t> t(256);
        for (int i = 0; i < 256; ++i)
            t[i] = static_cast<uint8_t>(std::lround(255.0 * std::pow(i / 255.0, 1.0 / 1.35)));
        return t;
    }();
    return table.data();
}

void copyBitmap(const FT_Bitmap& bitmap, FNGlyph& glyph)
{
    glyph.width = static_cast<int>(bitmap.width);
    glyph.height = static_cast<int>(bitmap.rows);
    glyph.coverage.assign(static_cast<size_t>(glyph.width) * glyph.height, 0);
    const uint8_t* curve = coverageCurve();
    for (int y = 0; y < glyph.height; ++y) {
        const unsigned char* src = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
        uint8_t* dst = glyph.coverage.data() + static_cast<size_t>(y) * glyph.width;
        for (int x = 0; x < glyph.width; ++x) {
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
                dst[x] = (src[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
            else
                dst[x] = curve[src[x]];
        }
    }
}

} // namespace

struct FNFont::Face {
    FT_Face face = nullptr;
    bool embolden = false;
    bool slant = false;
    ~Face()
    {
        if (face)
            FT_Done_Face(face);
    }
};

std::recursive_mutex& FNFont::textLock()
{
    return TextSystem::get().lock;
}

std::shared_ptr<FNFont> FNFont::make(const FNString& face, int cellHeight, bool bold, bool italic)
{
    TextSystem& system = TextSystem::get();
    std::lock_guard<std::recursive_mutex> guard(system.lock);
    const TextSystem::Key key { face.str(), cellHeight, bold, italic };
    auto found = system.fonts.find(key);
    if (found != system.fonts.end())
        return found->second;
    if (system.fonts.size() >= kFontCacheLimit) {
        for (auto it = system.fonts.begin(); it != system.fonts.end();)
            it = it->second.use_count() == 1 ? system.fonts.erase(it) : std::next(it);
    }
    std::shared_ptr<FNFont> font(new FNFont(cellHeight, bold, italic));
    font->open(face);
    system.fonts.emplace(key, font);
    return font;
}

FNFont::FNFont(int cellHeight, bool bold, bool italic)
    : m_cellHeight(cellHeight)
    , m_bold(bold)
    , m_italic(italic)
{
}

FNFont::~FNFont()
{
    std::lock_guard<std::recursive_mutex> guard(textLock());
    m_faces.clear();
}

const std::string& FNFont::family() const
{
    return m_sources.empty() ? m_noFamily : m_sources.front().family;
}

// Resolves the face to font files and sizes the primary one so that its
// cell (winAscent + winDescent) is exactly m_cellHeight pixels; fallback
// fonts share the primary's em size so mixed letters match in scale.
void FNFont::open(const FNString& faceName)
{
    m_sources = resolveFontSources(faceName, m_bold, m_italic);
    m_faces.resize(m_sources.size());
    m_tried.assign(m_sources.size(), false);
    if (m_sources.empty() || !TextSystem::get().library)
        return;
    FT_Face primary = nullptr;
    if (FT_New_Face(TextSystem::get().library, m_sources[0].file.c_str(), m_sources[0].index, &primary) != 0)
        return;
    long winAscent = primary->ascender, cellUnits = primary->ascender - primary->descender;
    if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(primary, FT_SFNT_OS2))) {
        if (os2->usWinAscent + os2->usWinDescent > 0) {
            winAscent = os2->usWinAscent;
            cellUnits = os2->usWinAscent + os2->usWinDescent;
        }
    }
    const long unitsPerEm = primary->units_per_EM > 0 ? primary->units_per_EM : 1000;
    FT_Done_Face(primary);
    if (cellUnits <= 0)
        cellUnits = winAscent = unitsPerEm;
    // char size (26.6) = cell * 64 * unitsPerEm / cellUnits, rounded
    m_charSize = std::max(1L, (static_cast<long>(m_cellHeight) * 64 * unitsPerEm + cellUnits / 2) / cellUnits);
    m_ascent = std::clamp(static_cast<int>((winAscent * m_cellHeight + cellUnits / 2) / cellUnits), 0, m_cellHeight);
    // Synthetic bold widens each stem by about one pixel at the default size.
    m_boldStrength = std::max(64L, m_charSize / 14);
    openFace(0);
}

FNFont::Face* FNFont::openFace(size_t source)
{
    if (m_tried[source])
        return m_faces[source].get();
    m_tried[source] = true;
    auto face = std::make_unique<Face>();
    const FNFontSource& from = m_sources[source];
    if (FT_New_Face(TextSystem::get().library, from.file.c_str(), from.index, &face->face) != 0) {
        face->face = nullptr;
        return nullptr;
    }
    if (FT_Set_Char_Size(face->face, 0, m_charSize, 72, 72) != 0)
        return nullptr;
    face->embolden = m_bold && !from.isBold;
    face->slant = m_italic && !from.isSlanted;
    m_faces[source] = std::move(face);
    return m_faces[source].get();
}

// The primary font when it has the letter, else the first fallback font
// that has it; a letter no installed font has comes from the primary's
// missing-glyph shape.
FNFont::Face* FNFont::faceFor(uint32_t code, unsigned& glyphIndex)
{
    for (size_t i = 0; i < m_sources.size(); ++i) {
        if (i > 0 && !m_sources[i].covers(code))
            continue;
        Face* face = openFace(i);
        if (!face)
            continue;
        glyphIndex = FT_Get_Char_Index(face->face, code);
        if (glyphIndex != 0)
            return face;
    }
    glyphIndex = 0;
    return m_faces.empty() ? nullptr : m_faces.front().get();
}

const FNGlyph& FNFont::glyph(uint32_t code)
{
    std::lock_guard<std::recursive_mutex> guard(textLock());
    auto found = m_glyphs.find(code);
    if (found != m_glyphs.end())
        return found->second;
    FNGlyph& glyph = m_glyphs[code];
    // Control characters take no room and draw nothing; tabs and line
    // breaks are handled by the layout.
    if (code < 0x20 || code == 0x7F)
        return glyph;
    unsigned index = 0;
    if (Face* face = faceFor(code, index))
        rasterise(*face, index, glyph);
    return glyph;
}

void FNFont::rasterise(Face& face, unsigned glyphIndex, FNGlyph& glyph) const
{
    FT_Face ft = face.face;
    if (FT_Load_Glyph(ft, glyphIndex, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_NORMAL) != 0)
        return;
    FT_GlyphSlot slot = ft->glyph;
    FT_Pos advance = slot->advance.x;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (face.embolden) {
            FT_Outline_EmboldenXY(&slot->outline, m_boldStrength, 0);
            advance += m_boldStrength;
        }
        if (face.slant) {
            FT_Matrix shear { 0x10000, kItalicShear, 0, 0x10000 };
            FT_Outline_Transform(&slot->outline, &shear);
        }
    }
    glyph.advance = static_cast<int>((advance + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        return;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    copyBitmap(slot->bitmap, glyph);
}
