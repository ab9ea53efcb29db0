// A GDI+ font family. Unlike every other wrapper, a family is released only
// by release(), never by going out of scope: the engine releases its
// families explicitly, and a family obtained from a font with Font::family()
// is easily handed on or copied by handle, where an automatic release would
// free the native family twice.
#ifndef VELKARO_GFX_FONT_FAMILY_H
#define VELKARO_GFX_FONT_FAMILY_H

#include <velkaro/gfx/gdip_object.h>

#include <string>

namespace velkaro::gfx {

class FontFamily : public GdipObject {
public:
    // The family's name in the OEM code page (UTF-8 here); empty on failure.
    std::string name() const;
    bool release();

    Gdiplus::GpFontFamily* native() const { return m_family; }

protected:
    void syncHandle(void* h) override { m_family = static_cast<Gdiplus::GpFontFamily*>(h); }

private:
    Gdiplus::GpFontFamily* m_family = nullptr;
};

} // namespace velkaro::gfx

#endif
