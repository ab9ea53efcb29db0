// Font families (resolved through fontconfig), fonts and string formats.
#include "gdiplus/objects.h"
#include "gdiplus/status.h"

#include <fontconfig/fontconfig.h>

#if __has_include("gdi/font_setup.h")
#include "gdi/font_setup.h"
#define VK_HAVE_FONT_SETUP 1
#endif

#include <cmath>
#include <cstring>
#include <strings.h>

namespace vk::gdiplus {

std::string toUtf8(const WCHAR* s, int length)
{
    std::string out;
    if (!s)
        return out;
    size_t n = 0;
    if (length < 0)
        while (s[n])
            ++n;
    else
        n = size_t(length);
    for (size_t i = 0; i < n; ++i) {
        uint32_t c = s[i];
        if (c >= 0xd800 && c < 0xdc00 && i + 1 < n && s[i + 1] >= 0xdc00 && s[i + 1] < 0xe000) {
            c = 0x10000 + ((c - 0xd800) << 10) + (s[i + 1] - 0xdc00);
            ++i;
        } else if (c >= 0xd800 && c < 0xe000) {
            c = 0xfffd; // a lone surrogate
        }
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xc0 | (c >> 6));
            out += char(0x80 | (c & 0x3f));
        } else if (c < 0x10000) {
            out += char(0xe0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3f));
            out += char(0x80 | (c & 0x3f));
        } else {
            out += char(0xf0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3f));
            out += char(0x80 | ((c >> 6) & 0x3f));
            out += char(0x80 | (c & 0x3f));
        }
    }
    return out;
}

std::u16string toU16(const WCHAR* s)
{
    std::u16string out;
    while (s && *s)
        out += *s++;
    return out;
}

static std::u16string utf8ToU16(const std::string& s)
{
    std::u16string out;
    for (size_t i = 0; i < s.size();) {
        uint8_t b = uint8_t(s[i]);
        uint32_t c;
        int extra;
        if (b < 0x80)
            c = b, extra = 0;
        else if ((b & 0xe0) == 0xc0)
            c = b & 0x1f, extra = 1;
        else if ((b & 0xf0) == 0xe0)
            c = b & 0x0f, extra = 2;
        else
            c = b & 0x07, extra = 3;
        ++i;
        for (int k = 0; k < extra && i < s.size(); ++k, ++i)
            c = (c << 6) | (uint8_t(s[i]) & 0x3f);
        if (c >= 0x10000) {
            c -= 0x10000;
            out += char16_t(0xd800 + (c >> 10));
            out += char16_t(0xdc00 + (c & 0x3ff));
        } else {
            out += char16_t(c);
        }
    }
    return out;
}

float fontPixelSize(const Font& font, float dpi)
{
    switch (font.unit) {
    case gp::UnitPoint:
        return font.size * dpi / 72.0f;
    case gp::UnitInch:
        return font.size * dpi;
    case gp::UnitDocument:
        return font.size * dpi / 300.0f;
    case gp::UnitMillimeter:
        return font.size * dpi / 25.4f;
    default:
        return font.size;
    }
}

void ensureFonts()
{
#ifdef VK_HAVE_FONT_SETUP
    vk::gdi::ensureFontSetup();
#endif
}

namespace {

// Families the product's texts name, for a fontconfig that lacks the alias.
struct BuiltinAlias {
    const char* name;
    const char* family;
};
const BuiltinAlias kAliases[] = {
    {"宋体", "AR PL UMing CN"},
    {"SimSun", "AR PL UMing CN"},
    {"新宋体", "AR PL UMing CN"},
    {"NSimSun", "AR PL UMing CN"},
};

// The family fontconfig picks for a name, or empty.
std::string matchedFamily(const std::string& name)
{
    FcPattern* pat = FcNameParse(reinterpret_cast<const FcChar8*>(""));
    if (!pat)
        return {};
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pat, &result);
    std::string family;
    if (match) {
        FcChar8* fam = nullptr;
        if (FcPatternGetString(match, FC_FAMILY, 0, &fam) == FcResultMatch && fam)
            family = reinterpret_cast<const char*>(fam);
        // A font that itself carries the name (in any language) is an exact hit.
        for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &fam) == FcResultMatch; ++i)
            if (strcasecmp(reinterpret_cast<const char*>(fam), name.c_str()) == 0) {
                family = reinterpret_cast<const char*>(fam);
                break;
            }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pat);
    return family;
}

bool familyHasName(const std::string& family, const std::string& name)
{
    FcPattern* pat = FcPatternCreate();
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcObjectSet* os = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* set = FcFontList(nullptr, pat, os);
    bool found = false;
    if (set) {
        for (int f = 0; f < set->nfont && !found; ++f) {
            FcChar8* fam = nullptr;
            for (int i = 0; FcPatternGetString(set->fonts[f], FC_FAMILY, i, &fam) == FcResultMatch; ++i)
                if (strcasecmp(reinterpret_cast<const char*>(fam), name.c_str()) == 0)
                    found = true;
        }
        FcFontSetDestroy(set);
    }
    FcObjectSetDestroy(os);
    FcPatternDestroy(pat);
    return found;
}

} // namespace

// The installed family for a name: the family itself, or what a fontconfig
// alias maps it to; empty when nothing installed answers to it.
std::string resolveFamily(const std::string& name)
{
    ensureFonts();
    if (name.empty())
        return {};
    std::string family = matchedFamily(name);
    if (!family.empty() && (strcasecmp(family.c_str(), name.c_str()) == 0 || familyHasName(family, name)))
        return family;
    // An alias maps the name somewhere other than where an unknown name falls back to.
    std::string fallback = matchedFamily("velkaro-no-such-family");
    if (!family.empty() && family != fallback)
        return family;
    for (const BuiltinAlias& a : kAliases)
        if (name == a.name && !matchedFamily(a.family).empty() && familyHasName(a.family, a.family))
            return a.family;
    return {};
}

} // namespace vk::gdiplus

using namespace Gdiplus;
using namespace vk::gdiplus;

namespace {

template <class T, class H>
Status publishTo(std::unique_ptr<T> obj, H** out)
{
    void* h = publish(std::move(obj));
    if (!h)
        return refuse(OutOfMemory);
    *out = static_cast<H*>(h);
    return Ok;
}

Status genericFamily(const char* generic, GpFontFamily** out)
{
    if (!out)
        return refuse(InvalidParameter);
    *out = nullptr;
    if (!started())
        return refuse(GdiplusNotInitialized);
    ensureFonts();
    std::string family = matchedFamily(generic);
    if (family.empty())
        return refuse(FontFamilyNotFound);
    auto f = std::make_unique<FontFamily>();
    f->name = utf8ToU16(family);
    f->fcFamily = family;
    return publishTo(std::move(f), out);
}

Status makeFont(const std::u16string& name, const std::string& fcFamily, REAL size, INT style, Unit unit, GpFont** out)
{
    auto f = std::make_unique<Font>();
    f->familyName = name;
    f->fcFamily = fcFamily;
    f->size = size;
    f->style = style;
    f->unit = unit;
    return publishTo(std::move(f), out);
}

constexpr INT kAllStyles = FontStyleBold | FontStyleItalic | FontStyleUnderline | FontStyleStrikeout;

} // namespace

extern "C" {

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateFontFamilyFromName(GDIPCONST WCHAR* name, GpFontCollection* fontCollection,
                                                                      GpFontFamily** fontFamily)
{
    VK_GDIP_LOCK();
    if (!name || !fontFamily)
        return refuse(InvalidParameter);
    *fontFamily = nullptr;
    if (!started())
        return refuse(GdiplusNotInitialized);
    std::string family = resolveFamily(toUtf8(name, -1));
    if (family.empty())
        return refuse(FontFamilyNotFound);
    auto f = std::make_unique<FontFamily>();
    f->name = toU16(name);
    f->fcFamily = family;
    return publishTo(std::move(f), fontFamily);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCloneFontFamily(GpFontFamily* fontFamily, GpFontFamily** clonedFontFamily)
{
    VK_GDIP_LOCK();
    FontFamily* f = lookupAs<FontFamily>(fontFamily);
    if (!f || !clonedFontFamily)
        return refuse(InvalidParameter);
    return publishTo(std::make_unique<FontFamily>(*f), clonedFontFamily);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipDeleteFontFamily(GpFontFamily* fontFamily)
{
    VK_GDIP_LOCK();
    if (!lookupAs<FontFamily>(fontFamily))
        return refuse(InvalidParameter);
    destroy(fontFamily);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetGenericFontFamilySansSerif(GpFontFamily** nativeFamily)
{
    VK_GDIP_LOCK();
    return genericFamily("sans-serif", nativeFamily);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetGenericFontFamilySerif(GpFontFamily** nativeFamily)
{
    VK_GDIP_LOCK();
    return genericFamily("serif", nativeFamily);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetGenericFontFamilyMonospace(GpFontFamily** nativeFamily)
{
    VK_GDIP_LOCK();
    return genericFamily("monospace", nativeFamily);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetFamilyName(GDIPCONST GpFontFamily* family, WCHAR name[LF_FACESIZE], LANGID language)
{
    VK_GDIP_LOCK();
    FontFamily* f = lookupAs<FontFamily>(family);
    if (!f)
        return refuse(InvalidParameter);
    // GDI+ accepts a null buffer and writes nothing.
    if (!name)
        return Ok;
    size_t n = std::min<size_t>(f->name.size(), LF_FACESIZE - 1);
    std::memcpy(name, f->name.data(), n * sizeof(WCHAR));
    name[n] = 0;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipIsStyleAvailable(GDIPCONST GpFontFamily* family, INT style, BOOL* isStyleAvailable)
{
    VK_GDIP_LOCK();
    if (!lookupAs<FontFamily>(family) || !isStyleAvailable)
        return refuse(InvalidParameter);
    // Fontconfig and Cairo synthesise bold and italic when a face lacks them.
    *isStyleAvailable = TRUE;
    return Ok;
}

#define VK_GDIP_FAMILY_METRIC(Name, value)                                                                    \
    GpStatus WINGDIPAPI Gdiplus::DllExports::Gdip##Name(GDIPCONST GpFontFamily* family, INT style, UINT16* out) \
    {                                                                                                         \
        VK_GDIP_LOCK();                                                                                       \
        if (!lookupAs<FontFamily>(family) || !out)                                                           \
            return refuse(InvalidParameter);                                                                  \
        *out = value;                                                                                         \
        return Ok;                                                                                            \
    }

// Design units of a typical TrueType face: a 2048 em.
VK_GDIP_FAMILY_METRIC(GetEmHeight, 2048)
VK_GDIP_FAMILY_METRIC(GetCellAscent, 1854)
VK_GDIP_FAMILY_METRIC(GetCellDescent, 434)
VK_GDIP_FAMILY_METRIC(GetLineSpacing, 2355)

#undef VK_GDIP_FAMILY_METRIC

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateFont(GDIPCONST GpFontFamily* fontFamily, REAL emSize, INT style, Unit unit,
                                                        GpFont** font)
{
    VK_GDIP_LOCK();
    FontFamily* f = lookupAs<FontFamily>(fontFamily);
    if (!f || !font)
        return refuse(InvalidParameter);
    *font = nullptr;
    if (!(emSize > 0) || !std::isfinite(emSize) || unit == UnitDisplay || unit < UnitWorld || unit > UnitMillimeter)
        return refuse(InvalidParameter);
    return makeFont(f->name, f->fcFamily, emSize, style & kAllStyles, unit, font);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateFontFromDC(HDC hdc, GpFont** font)
{
    VK_GDIP_LOCK();
    if (!hdc || !font)
        return refuse(InvalidParameter);
    *font = nullptr;
    HGDIOBJ hfont = GetCurrentObject(hdc, OBJ_FONT);
    LOGFONTA lf{};
    if (!hfont || GetObjectA(hfont, sizeof lf, &lf) != int(sizeof lf))
        return refuse(InvalidParameter);
    return GdipCreateFontFromLogfontA(hdc, &lf, font);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateFontFromLogfontA(HDC hdc, GDIPCONST LOGFONTA* logfont, GpFont** font)
{
    VK_GDIP_LOCK();
    if (!hdc || !logfont || !font)
        return refuse(InvalidParameter);
    *font = nullptr;
    if (!started())
        return refuse(GdiplusNotInitialized);
    char face[LF_FACESIZE + 1] = {};
    std::memcpy(face, logfont->lfFaceName, LF_FACESIZE);
    std::string name = face;
    std::string family = resolveFamily(name);
    if (family.empty()) {
        // GDI maps an unknown face to a default one; so does GDI+ here.
        family = matchedFamily("sans-serif");
        name = family;
    }
    // A negative height is the em size; a positive one the cell height.
    REAL size = logfont->lfHeight < 0 ? REAL(-logfont->lfHeight) : REAL(logfont->lfHeight) * (2048.0f / 2288.0f);
    if (logfont->lfHeight == 0)
        size = 12.0f;
    INT style = 0;
    if (logfont->lfWeight >= 600)
        style |= FontStyleBold;
    if (logfont->lfItalic)
        style |= FontStyleItalic;
    if (logfont->lfUnderline)
        style |= FontStyleUnderline;
    if (logfont->lfStrikeOut)
        style |= FontStyleStrikeout;
    return makeFont(utf8ToU16(name), family, size, style, UnitWorld, font);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateFontFromLogfontW(HDC hdc, GDIPCONST LOGFONTW* logfont, GpFont** font)
{
    VK_GDIP_LOCK();
    if (!logfont)
        return refuse(InvalidParameter);
    LOGFONTA a;
    std::memcpy(&a, logfont, offsetof(LOGFONTA, lfFaceName));
    WCHAR face[LF_FACESIZE + 1] = {};
    std::memcpy(face, logfont->lfFaceName, sizeof logfont->lfFaceName);
    std::string utf8 = toUtf8(face, -1);
    std::memset(a.lfFaceName, 0, LF_FACESIZE);
    std::memcpy(a.lfFaceName, utf8.data(), std::min<size_t>(utf8.size(), LF_FACESIZE - 1));
    return GdipCreateFontFromLogfontA(hdc, &a, font);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCloneFont(GpFont* font, GpFont** cloneFont)
{
    VK_GDIP_LOCK();
    Font* f = lookupAs<Font>(font);
    if (!f || !cloneFont)
        return refuse(InvalidParameter);
    return publishTo(std::make_unique<Font>(*f), cloneFont);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipDeleteFont(GpFont* font)
{
    VK_GDIP_LOCK();
    if (!lookupAs<Font>(font))
        return refuse(InvalidParameter);
    destroy(font);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetFamily(GpFont* font, GpFontFamily** family)
{
    VK_GDIP_LOCK();
    Font* f = lookupAs<Font>(font);
    if (!f || !family)
        return refuse(InvalidParameter);
    auto fam = std::make_unique<FontFamily>();
    fam->name = f->familyName;
    fam->fcFamily = f->fcFamily;
    return publishTo(std::move(fam), family);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetFontStyle(GpFont* font, INT* style)
{
    VK_GDIP_LOCK();
    Font* f = lookupAs<Font>(font);
    if (!f || !style)
        return refuse(InvalidParameter);
    *style = f->style;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetFontSize(GpFont* font, REAL* size)
{
    VK_GDIP_LOCK();
    Font* f = lookupAs<Font>(font);
    if (!f || !size)
        return refuse(InvalidParameter);
    *size = f->size;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetFontUnit(GpFont* font, Unit* unit)
{
    VK_GDIP_LOCK();
    Font* f = lookupAs<Font>(font);
    if (!f || !unit)
        return refuse(InvalidParameter);
    *unit = f->unit;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetFontHeightGivenDPI(GDIPCONST GpFont* font, REAL dpi, REAL* height)
{
    VK_GDIP_LOCK();
    Font* f = lookupAs<Font>(font);
    if (!f || !height)
        return refuse(InvalidParameter);
    // Line spacing over em height of the design metrics above.
    *height = fontPixelSize(*f, dpi) * (2355.0f / 2048.0f);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetFontHeight(GDIPCONST GpFont* font, GDIPCONST GpGraphics* graphics, REAL* height)
{
    VK_GDIP_LOCK();
    return GdipGetFontHeightGivenDPI(font, 96.0f, height);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetLogFontA(GpFont* font, GpGraphics* graphics, LOGFONTA* logfontA)
{
    VK_GDIP_LOCK();
    Font* f = lookupAs<Font>(font);
    if (!f || !logfontA || !lookupAs<Graphics>(graphics))
        return refuse(InvalidParameter);
    std::memset(logfontA, 0, sizeof *logfontA);
    logfontA->lfHeight = -LONG(std::lround(fontPixelSize(*f, 96.0f)));
    logfontA->lfWeight = (f->style & FontStyleBold) ? 700 : 400;
    logfontA->lfItalic = (f->style & FontStyleItalic) ? 1 : 0;
    logfontA->lfUnderline = (f->style & FontStyleUnderline) ? 1 : 0;
    logfontA->lfStrikeOut = (f->style & FontStyleStrikeout) ? 1 : 0;
    std::string name = toUtf8(f->familyName.c_str(), int(f->familyName.size()));
    std::memcpy(logfontA->lfFaceName, name.data(), std::min<size_t>(name.size(), LF_FACESIZE - 1));
    return Ok;
}

// --- String formats ---------------------------------------------------------

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateStringFormat(INT formatAttributes, LANGID language, GpStringFormat** format)
{
    VK_GDIP_LOCK();
    if (!format)
        return refuse(InvalidParameter);
    *format = nullptr;
    if (!started())
        return refuse(GdiplusNotInitialized);
    auto f = std::make_unique<StringFormat>();
    f->flags = formatAttributes;
    f->language = language;
    return publishTo(std::move(f), format);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipStringFormatGetGenericDefault(GpStringFormat** format)
{
    return GdipCreateStringFormat(0, 0, format);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipStringFormatGetGenericTypographic(GpStringFormat** format)
{
    VK_GDIP_LOCK();
    Status st = GdipCreateStringFormat(StringFormatFlagsNoFitBlackBox | StringFormatFlagsLineLimit | StringFormatFlagsNoClip,
                                       0, format);
    if (st != Ok)
        return st;
    StringFormat* f = lookupAs<StringFormat>(*format);
    f->trimming = StringTrimmingNone;
    f->typographic = true;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCloneStringFormat(GDIPCONST GpStringFormat* format, GpStringFormat** newFormat)
{
    VK_GDIP_LOCK();
    StringFormat* f = lookupAs<StringFormat>(format);
    if (!f || !newFormat)
        return refuse(InvalidParameter);
    return publishTo(std::make_unique<StringFormat>(*f), newFormat);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipDeleteStringFormat(GpStringFormat* format)
{
    VK_GDIP_LOCK();
    if (!lookupAs<StringFormat>(format))
        return refuse(InvalidParameter);
    destroy(format);
    return Ok;
}

#define VK_GDIP_FORMAT_FIELD(Name, Type, field, valid)                                                        \
    GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetStringFormat##Name(GpStringFormat* format, Type value)    \
    {                                                                                                         \
        VK_GDIP_LOCK();                                                                                       \
        StringFormat* f = lookupAs<StringFormat>(format);                                                    \
        if (!f || !(valid))                                                                                   \
            return refuse(InvalidParameter);                                                                  \
        f->field = value;                                                                                     \
        return Ok;                                                                                            \
    }                                                                                                         \
    GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetStringFormat##Name(GDIPCONST GpStringFormat* format, Type* value) \
    {                                                                                                         \
        VK_GDIP_LOCK();                                                                                       \
        StringFormat* f = lookupAs<StringFormat>(format);                                                    \
        if (!f || !value)                                                                                     \
            return refuse(InvalidParameter);                                                                  \
        *value = f->field;                                                                                    \
        return Ok;                                                                                            \
    }

VK_GDIP_FORMAT_FIELD(Flags, INT, flags, true)
VK_GDIP_FORMAT_FIELD(Align, StringAlignment, align, value >= StringAlignmentNear && value <= StringAlignmentFar)
VK_GDIP_FORMAT_FIELD(LineAlign, StringAlignment, lineAlign, value >= StringAlignmentNear && value <= StringAlignmentFar)
VK_GDIP_FORMAT_FIELD(Trimming, StringTrimming, trimming,
                     value >= StringTrimmingNone && value <= StringTrimmingEllipsisPath)
VK_GDIP_FORMAT_FIELD(HotkeyPrefix, INT, hotkeyPrefix, value >= HotkeyPrefixNone && value <= HotkeyPrefixHide)

#undef VK_GDIP_FORMAT_FIELD

} // extern "C"
