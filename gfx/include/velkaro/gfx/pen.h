// A GDI+ pen, of one colour or drawn with a brush.
#ifndef VELKARO_GFX_PEN_H
#define VELKARO_GFX_PEN_H

#include <velkaro/gfx/gdip_object.h>

namespace velkaro::gfx {

class Brush;

class Pen : public GdipObject {
public:
    ~Pen() override { release(); }

    bool create(Gdiplus::ARGB colour, float width = 1.0f, Gdiplus::Unit unit = Gdiplus::UnitWorld);
    bool fromBrush(const Brush& brush, float width = 1.0f, Gdiplus::Unit unit = Gdiplus::UnitWorld);
    bool setWidth(float width);
    bool release();

    Gdiplus::GpPen* native() const { return m_pen; }

protected:
    void syncHandle(void* h) override { m_pen = static_cast<Gdiplus::GpPen*>(h); }

private:
    Gdiplus::GpPen* m_pen = nullptr;
};

} // namespace velkaro::gfx

#endif
