// GDI+ fonts through the flat table.
#include <velkaro/gfx/font.h>

#include <velkaro/gfx/font_family.h>
#include <velkaro/gfx/wide_text.h>

namespace velkaro::gfx {

namespace {

// The size of LOGFONTA in 32-bit Win32, which GetObjectA fills for a font.
constexpr int kLogFontBytes = 60;
static_assert(sizeof(LOGFONTA) == kLogFontBytes);

} // namespace

bool Font::create(const std::string& familyName, float emSize, INT style, Gdiplus::Unit unit)
{
    WideString name = toWide(familyName);
    Gdiplus::GpFontFamily* family = nullptr;
    Gdiplus::Status status = callFlat(&FlatApi::GdipCreateFontFamilyFromName, name.c_str(), nullptr, &family);
    if (status != Gdiplus::Ok)
        return adopt(status, static_cast<Gdiplus::GpFont*>(nullptr));
    Gdiplus::GpFont* font = nullptr;
    status = callFlat(&FlatApi::GdipCreateFont, family, emSize, style, unit, &font);
    // The font keeps what it needs of the family.
    callFlat(&FlatApi::GdipDeleteFontFamily, family);
    detail::g_lastStatus = status;
    return adopt(status, font);
}

bool Font::fromDc(HDC dc, HFONT font)
{
    Gdiplus::GpFont* created = nullptr;
    Gdiplus::Status status;
    if (font) {
        void* block = gdipAlloc(kLogFontBytes);
        if (block && GetObjectA(font, kLogFontBytes, block) != 0)
            status = callFlat(&FlatApi::GdipCreateFontFromLogfontA, dc, static_cast<const LOGFONTA*>(block),
                              &created);
        else
            status = callFlat(&FlatApi::GdipCreateFontFromDC, dc, &created);
        gdipFree(block);
    } else {
        status = callFlat(&FlatApi::GdipCreateFontFromDC, dc, &created);
    }
    return adopt(status, created);
}

bool Font::family(FontFamily& out) const
{
    Gdiplus::GpFontFamily* family = nullptr;
    Gdiplus::Status status = callFlat(&FlatApi::GdipGetFamily, m_font, &family);
    out.setHandle(status == Gdiplus::Ok ? family : nullptr);
    return status == Gdiplus::Ok;
}

INT Font::style() const
{
    INT style = 0;
    return callFlat(&FlatApi::GdipGetFontStyle, m_font, &style) == Gdiplus::Ok ? style : 0;
}

float Font::size() const
{
    Gdiplus::REAL size = 0;
    return callFlat(&FlatApi::GdipGetFontSize, m_font, &size) == Gdiplus::Ok ? size : 0.0f;
}

bool Font::release()
{
    return releaseWith(&FlatApi::GdipDeleteFont, m_font);
}

} // namespace velkaro::gfx
