// GDI+ string formats through the flat table.
#include <velkaro/gfx/string_format.h>

namespace velkaro::gfx {

bool StringFormat::create(INT flags, LANGID language)
{
    Gdiplus::GpStringFormat* format = nullptr;
    return adopt(callFlat(&FlatApi::GdipCreateStringFormat, flags, language, &format), format);
}

bool StringFormat::setFlags(INT flags)
{
    return callFlatOk(&FlatApi::GdipSetStringFormatFlags, m_format, flags);
}

bool StringFormat::setAlignment(Gdiplus::StringAlignment alignment)
{
    return callFlatOk(&FlatApi::GdipSetStringFormatAlign, m_format, alignment);
}

bool StringFormat::setLineAlignment(Gdiplus::StringAlignment alignment)
{
    return callFlatOk(&FlatApi::GdipSetStringFormatLineAlign, m_format, alignment);
}

bool StringFormat::setTrimming(Gdiplus::StringTrimming trimming)
{
    return callFlatOk(&FlatApi::GdipSetStringFormatTrimming, m_format, trimming);
}

bool StringFormat::release()
{
    return releaseWith(&FlatApi::GdipDeleteStringFormat, m_format);
}

} // namespace velkaro::gfx
