// Fonts: CreateFontA / CreateFontIndirectA, the Pango side of a font, text
// metrics and measuring.
#include "gdi/font.h"
#include "gdi/font_setup.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <mutex>
#include <strings.h>

namespace vk::gdi {

FontObj::FontObj() : GdiObject(ObjType::Font) {}
FontObj::~FontObj() = default;

FontImpl::~FontImpl()
{
    if (layout)
        g_object_unref(layout);
    if (attrs)
        pango_attr_list_unref(attrs);
    if (desc)
        pango_font_description_free(desc);
}

namespace {

const char kDefaultFace[] = "宋体";

PangoContext* sharedContext(bool antialias)
{
    static PangoContext* contexts[2] = {nullptr, nullptr};
    PangoContext*& c = contexts[antialias ? 1 : 0];
    if (!c) {
        c = pango_font_map_create_context(fontMap());
        cairo_font_options_t* o = cairo_font_options_create();
        // Classic GDI text: no anti-aliasing unless the font asks for it,
        // whole-pixel advances either way.
        cairo_font_options_set_antialias(o, antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
        cairo_font_options_set_hint_style(o, antialias ? CAIRO_HINT_STYLE_SLIGHT : CAIRO_HINT_STYLE_FULL);
        cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_ON);
        pango_cairo_context_set_font_options(c, o);
        cairo_font_options_destroy(o);
        pango_cairo_context_set_resolution(c, 96);
        pango_context_set_language(c, pango_language_from_string("zh-cn"));
    }
    return c;
}

// Whether fontconfig knows a face by this name (itself or an alias of it).
bool faceKnown(const std::string& name)
{
    static std::map<std::string, bool> cache;
    static std::mutex m;
    std::lock_guard<std::mutex> lock(m);
    auto it = cache.find(name);
    if (it != cache.end())
        return it->second;
    ensureFontSetup();
    bool known = false;
    FcPattern* pat = FcPatternCreate();
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    // The families fontconfig put before the name are its aliases.
    std::vector<std::string> accepted;
    FcChar8* fam = nullptr;
    for (int i = 0; FcPatternGetString(pat, FC_FAMILY, i, &fam) == FcResultMatch; ++i) {
        std::string f = reinterpret_cast<const char*>(fam);
        accepted.push_back(f);
        if (strcasecmp(f.c_str(), name.c_str()) == 0)
            break;
    }
    FcResult res;
    FcPattern* match = FcFontMatch(nullptr, pat, &res);
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &fam) == FcResultMatch)
        for (const std::string& a : accepted)
            if (strcasecmp(a.c_str(), reinterpret_cast<const char*>(fam)) == 0)
                known = true;
    if (match)
        FcPatternDestroy(match);
    FcPatternDestroy(pat);
    cache[name] = known;
    return known;
}

void measureMetrics(FontImpl& f)
{
    PangoFontMetrics* m = pango_context_get_metrics(f.context, f.desc, nullptr);
    f.ascent = PANGO_PIXELS_CEIL(pango_font_metrics_get_ascent(m));
    f.descent = PANGO_PIXELS_CEIL(pango_font_metrics_get_descent(m));
    pango_font_metrics_unref(m);
    f.height = f.ascent + f.descent;
    SIZE x = textExtent(f, "x", 0);
    SIZE wide = textExtent(f, "W", 0);
    SIZE han = textExtent(f, "中", 0);
    f.aveCharWidth = x.cx;
    f.maxCharWidth = std::max(wide.cx, han.cx);
}

void buildDesc(FontImpl& f, int emPx, const LOGFONTA& lf)
{
    if (f.desc)
        pango_font_description_free(f.desc);
    f.desc = pango_font_description_new();
    pango_font_description_set_family(f.desc, f.face.c_str());
    pango_font_description_set_absolute_size(f.desc, emPx * PANGO_SCALE);
    int weight = lf.lfWeight == FW_DONTCARE ? FW_NORMAL : int(lf.lfWeight);
    pango_font_description_set_weight(f.desc, PangoWeight(std::clamp(weight, 100, 1000)));
    pango_font_description_set_style(f.desc, lf.lfItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    f.emPx = emPx;
}

} // namespace

std::string cleanUtf8(const char* s, int len)
{
    std::string out(s, size_t(len));
    const char* end = nullptr;
    size_t pos = 0;
    while (!g_utf8_validate(out.data() + pos, gssize(out.size() - pos), &end)) {
        size_t bad = size_t(end - out.data());
        out[bad] = '?';
        pos = bad + 1;
    }
    return out;
}

FontImpl& fontImpl(FontObj& fo)
{
    if (fo.impl)
        return *fo.impl;
    ensureFontSetup();
    auto f = std::make_unique<FontImpl>();
    const LOGFONTA& lf = fo.lf;
    char face[LF_FACESIZE + 1]{};
    std::memcpy(face, lf.lfFaceName, LF_FACESIZE);
    std::string name = face;
    // Unknown faces fall back to the system's default face, as on Windows.
    f->face = (!name.empty() && faceKnown(name)) ? name : kDefaultFace;
    f->antialias = lf.lfQuality == ANTIALIASED_QUALITY || lf.lfQuality == CLEARTYPE_QUALITY ||
                   lf.lfQuality == CLEARTYPE_NATURAL_QUALITY;
    f->context = sharedContext(f->antialias);
    f->layout = pango_layout_new(f->context);
    if (lf.lfUnderline || lf.lfStrikeOut) {
        f->attrs = pango_attr_list_new();
        if (lf.lfUnderline)
            pango_attr_list_insert(f->attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        if (lf.lfStrikeOut)
            pango_attr_list_insert(f->attrs, pango_attr_strikethrough_new(TRUE));
    }
    int em = 12;
    if (lf.lfHeight < 0)
        em = -lf.lfHeight;
    buildDesc(*f, em, lf);
    pango_layout_set_font_description(f->layout, f->desc);
    pango_layout_set_attributes(f->layout, f->attrs);
    if (lf.lfHeight > 0) {
        // A positive height is the cell height: scale the em to fit it.
        measureMetrics(*f);
        int cell = std::max(1, f->height);
        em = std::max(1, int(std::lround(double(lf.lfHeight) * em / cell)));
        buildDesc(*f, em, lf);
        pango_layout_set_font_description(f->layout, f->desc);
    }
    measureMetrics(*f);
    fo.impl = std::move(f);
    return *fo.impl;
}

FontImpl& dcFont(DcObj& dc)
{
    FontObj* f = getFont(dc.st.font);
    if (!f)
        f = getFont(static_cast<HFONT>(stockObject(SYSTEM_FONT)));
    return fontImpl(*f);
}

PangoLayout* layoutFor(FontImpl& f, const std::string& text, int charExtra)
{
    if (charExtra) {
        PangoAttrList* a = f.attrs ? pango_attr_list_copy(f.attrs) : pango_attr_list_new();
        pango_attr_list_insert(a, pango_attr_letter_spacing_new(charExtra * PANGO_SCALE));
        pango_layout_set_attributes(f.layout, a);
        pango_attr_list_unref(a);
    } else {
        pango_layout_set_attributes(f.layout, f.attrs);
    }
    pango_layout_set_text(f.layout, text.data(), int(text.size()));
    return f.layout;
}

SIZE textExtent(FontImpl& f, const std::string& text, int charExtra)
{
    if (text.empty())
        return SIZE{0, f.height};
    PangoLayout* l = layoutFor(f, text, charExtra);
    PangoRectangle logical;
    pango_layout_get_pixel_extents(l, nullptr, &logical);
    return SIZE{logical.width, f.height};
}

} // namespace vk::gdi

using namespace vk;
using namespace vk::gdi;

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* lf)
{
    if (!lf)
        return failWith(ERROR_INVALID_PARAMETER, HFONT(nullptr));
    auto f = std::make_unique<FontObj>();
    f->lf = *lf;
    f->lf.lfFaceName[LF_FACESIZE - 1] = 0;
    return addObject<HFONT>(std::move(f));
}

HFONT WINAPI CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight, DWORD bItalic,
                         DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision, DWORD iClipPrecision,
                         DWORD iQuality, DWORD iPitchAndFamily, LPCSTR face)
{
    LOGFONTA lf{};
    lf.lfHeight = cHeight;
    lf.lfWidth = cWidth;
    lf.lfEscapement = cEscapement;
    lf.lfOrientation = cOrientation;
    lf.lfWeight = cWeight;
    lf.lfItalic = BYTE(bItalic ? 1 : 0);
    lf.lfUnderline = BYTE(bUnderline ? 1 : 0);
    lf.lfStrikeOut = BYTE(bStrikeOut ? 1 : 0);
    lf.lfCharSet = BYTE(iCharSet);
    lf.lfOutPrecision = BYTE(iOutPrecision);
    lf.lfClipPrecision = BYTE(iClipPrecision);
    lf.lfQuality = BYTE(iQuality);
    lf.lfPitchAndFamily = BYTE(iPitchAndFamily);
    if (face)
        std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectA(&lf);
}

BOOL WINAPI GetTextMetricsA(HDC hdc, LPTEXTMETRICA tm)
{
    DcObj* dc = getDc(hdc);
    if (!dc)
        return failWith(ERROR_INVALID_HANDLE, FALSE);
    if (!tm)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    FontImpl& f = dcFont(*dc);
    FontObj* fo = getFont(dc->st.font);
    const LOGFONTA* lf = fo ? &fo->lf : nullptr;
    *tm = TEXTMETRICA{};
    tm->tmHeight = f.height;
    tm->tmAscent = f.ascent;
    tm->tmDescent = f.descent;
    tm->tmInternalLeading = std::max(0, f.height - f.emPx);
    tm->tmExternalLeading = 0;
    tm->tmAveCharWidth = f.aveCharWidth;
    tm->tmMaxCharWidth = f.maxCharWidth;
    tm->tmWeight = lf && lf->lfWeight ? lf->lfWeight : FW_NORMAL;
    tm->tmDigitizedAspectX = 96;
    tm->tmDigitizedAspectY = 96;
    tm->tmFirstChar = 0x20;
    tm->tmLastChar = 0xFF;
    tm->tmDefaultChar = '?';
    tm->tmBreakChar = ' ';
    tm->tmItalic = lf ? lf->lfItalic : 0;
    tm->tmUnderlined = lf ? lf->lfUnderline : 0;
    tm->tmStruckOut = lf ? lf->lfStrikeOut : 0;
    tm->tmPitchAndFamily = FF_MODERN | TMPF_VECTOR | TMPF_TRUETYPE;
    tm->tmCharSet = GB2312_CHARSET;
    return TRUE;
}

int WINAPI GetTextFaceA(HDC hdc, int c, LPSTR name)
{
    DcObj* dc = getDc(hdc);
    if (!dc)
        return failWith(ERROR_INVALID_HANDLE, 0);
    const std::string& face = dcFont(*dc).face;
    if (!name)
        return int(face.size()) + 1;
    if (c <= 0)
        return failWith(ERROR_INVALID_PARAMETER, 0);
    size_t n = std::min(face.size(), size_t(c - 1));
    std::memcpy(name, face.data(), n);
    name[n] = 0;
    return int(n) + 1;
}

BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR s, int c, LPSIZE size)
{
    DcObj* dc = getDc(hdc);
    if (!dc)
        return failWith(ERROR_INVALID_HANDLE, FALSE);
    if (!size || c < 0 || (!s && c > 0))
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    *size = textExtent(dcFont(*dc), cleanUtf8(s ? s : "", c), dc->st.charExtra);
    return TRUE;
}

BOOL WINAPI GetTextExtentPointA(HDC hdc, LPCSTR s, int c, LPSIZE size) { return GetTextExtentPoint32A(hdc, s, c, size); }

BOOL WINAPI GetTextExtentExPointA(HDC hdc, LPCSTR s, int c, int maxExtent, LPINT fit, LPINT dx, LPSIZE size)
{
    DcObj* dc = getDc(hdc);
    if (!dc)
        return failWith(ERROR_INVALID_HANDLE, FALSE);
    if (c < 0 || (!s && c > 0))
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    FontImpl& f = dcFont(*dc);
    std::string text = cleanUtf8(s ? s : "", c);
    PangoLayout* l = layoutFor(f, text, dc->st.charExtra);
    PangoRectangle logical;
    pango_layout_get_pixel_extents(l, nullptr, &logical);
    // Partial extents per byte: every byte of a character reports the extent
    // up to that character's end, as double-byte code pages do.
    int fitted = 0;
    for (int i = 0; i < c;) {
        int len = int(g_utf8_next_char(text.data() + i) - (text.data() + i));
        int end = i + len;
        int ext;
        if (end >= c) {
            ext = logical.width;
        } else {
            PangoRectangle pos;
            pango_layout_index_to_pos(l, end, &pos);
            ext = PANGO_PIXELS(pos.x);
        }
        if (maxExtent >= 0 && ext > maxExtent && fit)
            break;
        for (int k = i; k < end && k < c; ++k)
            if (dx)
                dx[k] = ext;
        fitted = end;
        i = end;
    }
    if (fit)
        *fit = maxExtent >= 0 ? fitted : c;
    if (size)
        *size = SIZE{logical.width, f.height};
    return TRUE;
}

static BOOL charWidths(HDC hdc, UINT first, UINT last, LPINT widths, LPABC abc)
{
    DcObj* dc = getDc(hdc);
    if (!dc)
        return failWith(ERROR_INVALID_HANDLE, FALSE);
    if (last < first || (!widths && !abc))
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    FontImpl& f = dcFont(*dc);
    for (UINT ch = first; ch <= last; ++ch) {
        char buf[8];
        int n = g_unichar_to_utf8(gunichar(ch), buf);
        int w = textExtent(f, std::string(buf, size_t(n)), 0).cx;
        if (widths)
            widths[ch - first] = w;
        if (abc)
            abc[ch - first] = ABC{0, UINT(w), 0};
    }
    return TRUE;
}

BOOL WINAPI GetCharWidth32A(HDC hdc, UINT first, UINT last, LPINT w) { return charWidths(hdc, first, last, w, nullptr); }
BOOL WINAPI GetCharWidthA(HDC hdc, UINT first, UINT last, LPINT w) { return charWidths(hdc, first, last, w, nullptr); }
BOOL WINAPI GetCharABCWidthsA(HDC hdc, UINT first, UINT last, LPABC abc) { return charWidths(hdc, first, last, nullptr, abc); }
