// GDI+ paths through the flat table.
#include <velkaro/gfx/graphics_path.h>

namespace velkaro::gfx {

bool GraphicsPath::create(Gdiplus::FillMode fillMode)
{
    Gdiplus::GpPath* path = nullptr;
    return adopt(callFlat(&FlatApi::GdipCreatePath, fillMode, &path), path);
}

bool GraphicsPath::release()
{
    return releaseWith(&FlatApi::GdipDeletePath, m_path);
}

bool GraphicsPath::reset()
{
    return callFlatOk(&FlatApi::GdipResetPath, m_path);
}

bool GraphicsPath::closeFigure()
{
    return callFlatOk(&FlatApi::GdipClosePathFigure, m_path);
}

bool GraphicsPath::addLine(float x1, float y1, float x2, float y2)
{
    return callFlatOk(&FlatApi::GdipAddPathLine, m_path, x1, y1, x2, y2);
}

bool GraphicsPath::addArc(float x, float y, float w, float h, float startAngle, float sweepAngle)
{
    return callFlatOk(&FlatApi::GdipAddPathArc, m_path, x, y, w, h, startAngle, sweepAngle);
}

bool GraphicsPath::addRectangle(float x, float y, float w, float h)
{
    return callFlatOk(&FlatApi::GdipAddPathRectangle, m_path, x, y, w, h);
}

bool GraphicsPath::addEllipse(float x, float y, float w, float h)
{
    return callFlatOk(&FlatApi::GdipAddPathEllipse, m_path, x, y, w, h);
}

} // namespace velkaro::gfx
