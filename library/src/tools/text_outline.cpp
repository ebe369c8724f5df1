// Texte and Txt2Seq: a line of text turned into the outlines of its glyphs
// (fontconfig finds the font file, FreeType gives the outlines), then put into
// cutting order like a drawing.
#include "order/cutting_order.h"
#include "foundation/bezier.h"
#include "foundation/export_guard.h"
#include "order/fill.h"
#include "foundation/vx_array.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace vx {

namespace {

constexpr double kCellHeight = 57;          // pixels from the top of the cell to its bottom
constexpr size_t kFaceNameMax = 31;          // bytes of the face name that count
constexpr double kPenLimit = 2147483647.0;   // the pen position is kept in 32-bit integers
constexpr const char *kFallbackFace = "DejaVu Sans";

bool decodeUtf8(const std::string &s, std::vector<char32_t> &out)
{
    static constexpr char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        size_t extra = 0;
        char32_t cp = b;
        if ((b & 0xE0) == 0xC0)
            extra = 1, cp = b & 0x1F;
        else if ((b & 0xF0) == 0xE0)
            extra = 2, cp = b & 0x0F;
        else if ((b & 0xF8) == 0xF0)
            extra = 3, cp = b & 0x07;
        else if (b >= 0x80)
            return false;
        if (s.size() - i <= extra)
            return false;
        for (size_t k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        out.push_back(cp);
        i += extra + 1;
    }
    return true;
}

// The text as code points: UTF-8 when it is valid, else Windows-1252 bytes
// (text written on the older platform).
std::vector<char32_t> decodeText(const std::string &s)
{
    std::vector<char32_t> out;
    if (decodeUtf8(s, out))
        return out;
    static constexpr char16_t cp1252[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                            0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    out.clear();
    for (char c : s) {
        const auto b = static_cast<unsigned char>(c);
        out.push_back(b >= 0x80 && b < 0xA0 ? cp1252[b - 0x80] : b);
    }
    return out;
}

// The face name as the older platform took it: at most 31 bytes, not cutting
// a UTF-8 sequence in two.
std::string faceNameOf(char **faceName)
{
    std::string name = faceName && *faceName ? *faceName : "";
    if (name.size() > kFaceNameMax) {
        size_t cut = kFaceNameMax;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut;
        name.resize(cut);
    }
    return name;
}

struct FontChoice {
    std::string file;
    int index = 0;
    bool embolden = false;
    bool hasMatrix = false;
    FcMatrix matrix{};
};

class Pattern {
public:
    explicit Pattern(FcPattern *p) : m_p(p) {}
    ~Pattern()
    {
        if (m_p)
            FcPatternDestroy(m_p);
    }
    Pattern(const Pattern &) = delete;
    Pattern &operator=(const Pattern &) = delete;
    FcPattern *get() const { return m_p; }

private:
    FcPattern *m_p;
};

// The best match for a family (none: fontconfig's default), weight and slant.
FcPattern *match(const std::string *family, bool bold, bool italic)
{
    Pattern p(FcPatternCreate());
    if (!p.get())
        return nullptr;
    if (family)
        FcPatternAddString(p.get(), FC_FAMILY, reinterpret_cast<const FcChar8 *>(family->c_str()));
    FcPatternAddInteger(p.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(p.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(p.get(), FC_SCALABLE, FcTrue);
    if (!FcConfigSubstitute(nullptr, p.get(), FcMatchPattern))
        return nullptr;
    FcDefaultSubstitute(p.get());
    FcResult result = FcResultNoMatch;
    return FcFontMatch(nullptr, p.get(), &result);
}

bool hasFamily(FcPattern *font, const std::string &family)
{
    FcChar8 *name = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i)
        if (FcStrCmpIgnoreCase(name, reinterpret_cast<const FcChar8 *>(family.c_str())) == 0)
            return true;
    return false;
}

std::string fileOf(FcPattern *font)
{
    FcChar8 *file = nullptr;
    return font && FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch ? reinterpret_cast<char *>(file) : "";
}

// The requested face when fontconfig knows it (by name or by an alias such as
// a metric-compatible face); otherwise DejaVu Sans.
bool chooseFont(const std::string &family, bool bold, bool italic, FontChoice &out)
{
    Pattern font(family.empty() ? nullptr : match(&family, bold, italic));
    bool known = font.get() && hasFamily(font.get(), family);
    if (font.get() && !known) {
        // fontconfig falls back on its default face for an unknown name; a
        // different file means the name was an alias it resolved.
        Pattern fallback(match(nullptr, bold, italic));
        known = fileOf(font.get()) != fileOf(fallback.get());
    }
    const std::string dejavu = kFallbackFace;
    Pattern chosen(known ? nullptr : match(&dejavu, bold, italic));
    FcPattern *f = known ? font.get() : chosen.get();
    out.file = fileOf(f);
    if (out.file.empty())
        return false;
    FcPatternGetInteger(f, FC_INDEX, 0, &out.index);
    FcBool embolden = FcFalse;
    if (FcPatternGetBool(f, FC_EMBOLDEN, 0, &embolden) == FcResultMatch)
        out.embolden = embolden;
    FcMatrix *m = nullptr;
    if (FcPatternGetMatrix(f, FC_MATRIX, 0, &m) == FcResultMatch && m) {
        out.hasMatrix = true;
        out.matrix = *m;
    }
    return true;
}

class FreeTypeFace {
public:
    ~FreeTypeFace()
    {
        if (face)
            FT_Done_Face(face);
        if (library)
            FT_Done_FreeType(library);
    }
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

// Opens the face and scales it so that its cell (Windows ascent plus
// descent) is 57 pixels high.
bool openFace(const FontChoice &font, FreeTypeFace &ft)
{
    if (FT_Init_FreeType(&ft.library) != 0 || FT_New_Face(ft.library, font.file.c_str(), font.index, &ft.face) != 0)
        return false;
    if (!FT_IS_SCALABLE(ft.face) || ft.face->units_per_EM == 0)
        return false;
    double cell = 0;
    if (const auto *os2 = static_cast<const TT_OS2 *>(FT_Get_Sfnt_Table(ft.face, FT_SFNT_OS2)))
        cell = static_cast<double>(os2->usWinAscent) + os2->usWinDescent;
    if (!(cell > 0))
        cell = static_cast<double>(ft.face->ascender) - ft.face->descender;
    if (!(cell > 0))
        cell = ft.face->units_per_EM;
    const double em = kCellHeight * ft.face->units_per_EM / cell;
    return FT_Set_Char_Size(ft.face, 0, static_cast<FT_F26Dot6>(std::lround(em * 64)), 72, 72) == 0;
}

// Receives the outline of one glyph as polygons of the working list.
struct OutlineSink {
    PointList &list;
    int32_t &contour;
    double ox, oy;
    double cx = 0, cy = 0; // current point
    double sx = 0, sy = 0; // start of the polygon
    bool open = false;

    void add(double x, double y)
    {
        appendPoint(list, x, y, contour);
        cx = x;
        cy = y;
    }
    void close()
    {
        if (open && (cx != sx || cy != sy))
            add(sx, sy);
        open = false;
    }
    static double px(const FT_Vector *v, double o) { return static_cast<double>(v->x) / 64.0 + o; }
    static double py(const FT_Vector *v, double o) { return static_cast<double>(v->y) / 64.0 + o; }

    static int moveTo(const FT_Vector *to, void *user)
    {
        auto *s = static_cast<OutlineSink *>(user);
        s->close();
        ++s->contour;
        s->sx = px(to, s->ox);
        s->sy = py(to, s->oy);
        s->add(s->sx, s->sy);
        s->open = true;
        return 0;
    }
    static int lineTo(const FT_Vector *to, void *user)
    {
        auto *s = static_cast<OutlineSink *>(user);
        s->add(px(to, s->ox), py(to, s->oy));
        return 0;
    }
    // Both curve kinds become 11 points at t = 0, 0.1, ..., 1.
    static int conicTo(const FT_Vector *control, const FT_Vector *to, void *user)
    {
        auto *s = static_cast<OutlineSink *>(user);
        const double ax = s->cx, ay = s->cy, bx = px(control, s->ox), by = py(control, s->oy);
        const double qx = px(to, s->ox), qy = py(to, s->oy);
        for (int k = 0; k <= 10; ++k) {
            const double t = k / 10.0, u = 1 - t;
            s->add(u * u * ax + 2 * t * u * bx + t * t * qx, u * u * ay + 2 * t * u * by + t * t * qy);
        }
        return 0;
    }
    static int cubicTo(const FT_Vector *c1, const FT_Vector *c2, const FT_Vector *to, void *user)
    {
        auto *s = static_cast<OutlineSink *>(user);
        const double ax = s->cx, ay = s->cy, bx = px(c1, s->ox), by = py(c1, s->oy);
        const double dx = px(c2, s->ox), dy = py(c2, s->oy), qx = px(to, s->ox), qy = py(to, s->oy);
        sampleCubic(ax, ay, bx, by, dx, dy, qx, qy, 0, kBezierSteps, [s](double x, double y) { s->add(x, y); });
        return 0;
    }
};

// Appends the polygons of every glyph; 1, or a negative code.
int outlineText(const std::vector<char32_t> &text, const FontChoice &font, double spacing, PointList &list)
{
    FreeTypeFace ft;
    if (!openFace(font, ft))
        return VX_ERR_GLYPH_SIZE;
    FT_Matrix matrix{};
    if (font.hasMatrix) {
        matrix.xx = static_cast<FT_Fixed>(std::lround(font.matrix.xx * 65536));
        matrix.xy = static_cast<FT_Fixed>(std::lround(font.matrix.xy * 65536));
        matrix.yx = static_cast<FT_Fixed>(std::lround(font.matrix.yx * 65536));
        matrix.yy = static_cast<FT_Fixed>(std::lround(font.matrix.yy * 65536));
    }
    FT_Outline_Funcs funcs{};
    funcs.move_to = &OutlineSink::moveTo;
    funcs.line_to = &OutlineSink::lineTo;
    funcs.conic_to = &OutlineSink::conicTo;
    funcs.cubic_to = &OutlineSink::cubicTo;

    int32_t contour = 0;
    double penX = 0, penY = 0;       // kept as integers between characters
    double advanceX = 0, advanceY = 0; // of the previous glyph, whole pixels
    for (char32_t cp : text) {
        const FT_UInt glyph = FT_Get_Char_Index(ft.face, cp);
        if (glyph == 0)
            continue; // no glyph: nothing drawn, the pen stays
        const double ox = penX + advanceX * spacing;
        const double oy = penY + advanceY * spacing;
        if (!(std::fabs(ox) <= kPenLimit && std::fabs(oy) <= kPenLimit))
            return VX_ERR_NO_POINT;
        if (FT_Load_Glyph(ft.face, glyph, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0)
            return VX_ERR_GLYPH_OUTLINE;
        FT_GlyphSlot slot = ft.face->glyph;
        if (slot->format != FT_GLYPH_FORMAT_OUTLINE)
            return VX_ERR_GLYPH_FORMAT;
        if (font.embolden)
            FT_Outline_Embolden(&slot->outline, FT_MulFix(ft.face->units_per_EM, ft.face->size->metrics.y_scale) / 24);
        if (font.hasMatrix)
            FT_Outline_Transform(&slot->outline, &matrix);
        OutlineSink sink{list, contour, ox, oy};
        try {
            if (FT_Outline_Decompose(&slot->outline, &funcs, &sink) != 0)
                return VX_ERR_GLYPH_OUTLINE;
            sink.close();
        } catch (const std::bad_alloc &) {
            return VX_ERR_GLYPH_MEMORY;
        }
        penX = std::nearbyint(ox);
        penY = std::nearbyint(oy);
        advanceX = std::nearbyint(static_cast<double>(slot->advance.x) / 64.0);
        advanceY = std::nearbyint(static_cast<double>(slot->advance.y) / 64.0);
    }
    return 1;
}

// The outlines in cutting order, ready to fill; 1 or a negative code.
int textContours(char **text, char **faceName, const float *spacing, const int32_t *style, PointList &out)
{
    if (!text || !*text || !**text)
        return VX_ERR_NO_POINT;
    const double factor = spacing ? *spacing : 1.0f;
    if (!std::isfinite(factor))
        return VX_ERR_NO_POINT;
    const int32_t bits = style ? *style : 0;
    FontChoice font;
    if (!chooseFont(faceNameOf(faceName), (bits & 2) != 0, (bits & 1) != 0, font))
        return VX_ERR_GLYPH_SIZE;
    PointList raw;
    const int r = outlineText(decodeText(*text), font, factor, raw);
    if (r < 0)
        return r;
    if (raw.empty())
        return VX_ERR_NO_POINT;
    out = cuttingOrder(raw);
    return out.empty() ? VX_ERR_NO_POINT : 1;
}

} // namespace

} // namespace vx

extern "C" {

int32_t Texte(VxArray **points, char **text, char **faceName, float *spacing, int32_t *style)
{
    return vx::guarded([&] {
        vx::PointList list;
        const int r = vx::textContours(text, faceName, spacing, style, list);
        if (r < 0)
            return r;
        const vx::Bounds bounds = vx::removeRepeats(list);
        vx::addPenUpPartners(list);
        return vx::fillContourArray(points, list, bounds, nullptr, nullptr, nullptr, nullptr);
    });
}

int32_t Txt2Seq(VxArray **points, char **text, char **faceName, float *spacing, int32_t *style)
{
    return vx::guarded([&] {
        vx::PointList list;
        const int r = vx::textContours(text, faceName, spacing, style, list);
        if (r < 0)
            return r;
        const vx::Bounds bounds = vx::removeRepeats(list);
        return vx::fillSequenceArray(points, list, bounds, nullptr, nullptr, nullptr, nullptr);
    });
}

} // extern "C"
