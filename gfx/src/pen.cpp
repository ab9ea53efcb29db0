// GDI+ pens through the flat table.
#include <velkaro/gfx/pen.h>

#include <velkaro/gfx/brushes.h>

namespace velkaro::gfx {

bool Pen::create(Gdiplus::ARGB colour, float width, Gdiplus::Unit unit)
{
    Gdiplus::GpPen* pen = nullptr;
    return adopt(callFlat(&FlatApi::GdipCreatePen1, colour, width, unit, &pen), pen);
}

bool Pen::fromBrush(const Brush& brush, float width, Gdiplus::Unit unit)
{
    Gdiplus::GpPen* pen = nullptr;
    return adopt(callFlat(&FlatApi::GdipCreatePen2, brush.native(), width, unit, &pen), pen);
}

bool Pen::setWidth(float width)
{
    return callFlatOk(&FlatApi::GdipSetPenWidth, m_pen, width);
}

bool Pen::release()
{
    return releaseWith(&FlatApi::GdipDeletePen, m_pen);
}

} // namespace velkaro::gfx
