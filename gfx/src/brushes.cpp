// GDI+ brushes through the flat table.
#include <velkaro/gfx/brushes.h>

#include <velkaro/gfx/graphics_path.h>
#include <velkaro/gfx/image.h>

namespace velkaro::gfx {

bool Brush::release()
{
    return releaseWith(&FlatApi::GdipDeleteBrush, m_brush);
}

bool Brush::clone(Brush& out) const
{
    Gdiplus::GpBrush* copy = nullptr;
    Gdiplus::Status status = callFlat(&FlatApi::GdipCloneBrush, m_brush, &copy);
    out.setHandle(status == Gdiplus::Ok ? copy : nullptr);
    return status == Gdiplus::Ok;
}

Gdiplus::BrushType Brush::type() const
{
    Gdiplus::BrushType type = Gdiplus::BrushTypeSolidColor;
    if (callFlat(&FlatApi::GdipGetBrushType, m_brush, &type) != Gdiplus::Ok)
        return Gdiplus::BrushType(0);
    return type;
}

bool SolidBrush::create(Gdiplus::ARGB colour)
{
    Gdiplus::GpSolidFill* brush = nullptr;
    return adopt(callFlat(&FlatApi::GdipCreateSolidFill, colour, &brush), brush);
}

bool LinearGradientBrush::create(const Gdiplus::PointF& start, const Gdiplus::PointF& end, Gdiplus::ARGB colour1,
                                 Gdiplus::ARGB colour2)
{
    Gdiplus::GpLineGradient* brush = nullptr;
    return adopt(callFlat(&FlatApi::GdipCreateLineBrush, &start, &end, colour1, colour2, Gdiplus::WrapModeTile,
                          &brush),
                 brush);
}

bool LinearGradientBrush::setPresetBlend(const std::vector<Gdiplus::ARGB>& colours,
                                         const std::vector<float>& positions)
{
    if (positions.size() < colours.size())
        return refuseCall(Gdiplus::InvalidParameter);
    return callFlatOk(&FlatApi::GdipSetLinePresetBlend, m_gradient, colours.data(), positions.data(),
                      INT(colours.size()));
}

bool LinearGradientBrush::setLinearBlend(float focus, float scale)
{
    return callFlatOk(&FlatApi::GdipSetLineLinearBlend, m_gradient, focus, scale);
}

bool PathGradientBrush::fromPath(const GraphicsPath& path)
{
    Gdiplus::GpPathGradient* brush = nullptr;
    return adopt(callFlat(&FlatApi::GdipCreatePathGradientFromPath, path.native(), &brush), brush);
}

bool PathGradientBrush::setCenterColor(Gdiplus::ARGB colour)
{
    return callFlatOk(&FlatApi::GdipSetPathGradientCenterColor, m_gradient, colour);
}

bool PathGradientBrush::setSurroundColors(const std::vector<Gdiplus::ARGB>& colours)
{
    return setSurroundColors(colours, int(colours.size()));
}

bool PathGradientBrush::setSurroundColors(const std::vector<Gdiplus::ARGB>& colours, int count)
{
    if (count < 0 || size_t(count) > colours.size())
        return refuseCall(Gdiplus::InvalidParameter);
    INT n = count;
    return callFlatOk(&FlatApi::GdipSetPathGradientSurroundColorsWithCount, m_gradient, colours.data(), &n);
}

bool PathGradientBrush::setFocusScales(float xScale, float yScale)
{
    return callFlatOk(&FlatApi::GdipSetPathGradientFocusScales, m_gradient, xScale, yScale);
}

bool TextureBrush::create(const Image& image, Gdiplus::WrapMode wrap)
{
    Gdiplus::GpTexture* brush = nullptr;
    return adopt(callFlat(&FlatApi::GdipCreateTexture, image.nativeImage(), wrap, &brush), brush);
}

} // namespace velkaro::gfx
