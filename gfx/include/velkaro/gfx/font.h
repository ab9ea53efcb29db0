// A GDI+ font, made from a family name or from what a device context (or a
// GDI font) has selected.
#ifndef VELKARO_GFX_FONT_H
#define VELKARO_GFX_FONT_H

#include <velkaro/gfx/gdip_object.h>

#include <string>

namespace velkaro::gfx {

class FontFamily;

class Font : public GdipObject {
public:
    ~Font() override { release(); }

    // False, holding nothing, when no installed family has the name.
    bool create(const std::string& familyName, float emSize, INT style = Gdiplus::FontStyleRegular,
                Gdiplus::Unit unit = Gdiplus::UnitPoint);
    // The GDI font `font` as seen on `dc`, or the DC's own font when none is
    // given or it cannot be read.
    bool fromDc(HDC dc, HFONT font = nullptr);
    // The font's family, stored in `out`; release it when done (see
    // font_family.h).
    bool family(FontFamily& out) const;
    INT style() const;
    float size() const;
    bool release();

    Gdiplus::GpFont* native() const { return m_font; }

protected:
    void syncHandle(void* h) override { m_font = static_cast<Gdiplus::GpFont*>(h); }

private:
    Gdiplus::GpFont* m_font = nullptr;
};

} // namespace velkaro::gfx

#endif
