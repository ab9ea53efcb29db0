// GDI+ font families through the flat table.
#include <velkaro/gfx/font_family.h>

namespace velkaro::gfx {

std::string FontFamily::name() const
{
    WCHAR wide[LF_FACESIZE] = {};
    if (callFlat(&FlatApi::GdipGetFamilyName, m_family, wide, LANGID(0)) != Gdiplus::Ok)
        return {};
    wide[LF_FACESIZE - 1] = 0;
    int needed = WideCharToMultiByte(CP_OEMCP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (needed <= 1)
        return {};
    std::string name(size_t(needed), '\0');
    int written = WideCharToMultiByte(CP_OEMCP, 0, wide, -1, name.data(), needed, nullptr, nullptr);
    name.resize(written > 0 ? size_t(written - 1) : 0);
    return name;
}

bool FontFamily::release()
{
    return releaseWith(&FlatApi::GdipDeleteFontFamily, m_family);
}

} // namespace velkaro::gfx
