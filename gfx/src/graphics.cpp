// GDI+ drawing through the flat table.
#include <velkaro/gfx/graphics.h>

#include <velkaro/gfx/brushes.h>
#include <velkaro/gfx/font.h>
#include <velkaro/gfx/graphics_path.h>
#include <velkaro/gfx/image.h>
#include <velkaro/gfx/pen.h>
#include <velkaro/gfx/string_format.h>
#include <velkaro/gfx/wide_text.h>

namespace velkaro::gfx {

bool Graphics::release()
{
    return releaseWith(&FlatApi::GdipDeleteGraphics, m_graphics);
}

bool Graphics::fromHdc(HDC dc, HANDLE device)
{
    Gdiplus::GpGraphics* graphics = nullptr;
    Gdiplus::Status status = device ? callFlat(&FlatApi::GdipCreateFromHDC2, dc, device, &graphics)
                                    : callFlat(&FlatApi::GdipCreateFromHDC, dc, &graphics);
    return adopt(status, graphics);
}

bool Graphics::fromImage(const Image& image)
{
    Gdiplus::GpGraphics* graphics = nullptr;
    return adopt(callFlat(&FlatApi::GdipGetImageGraphicsContext, image.nativeImage(), &graphics), graphics);
}

bool Graphics::setCompositingQuality(Gdiplus::CompositingQuality quality)
{
    return callFlatOk(&FlatApi::GdipSetCompositingQuality, m_graphics, quality);
}

bool Graphics::setSmoothingMode(Gdiplus::SmoothingMode mode)
{
    return callFlatOk(&FlatApi::GdipSetSmoothingMode, m_graphics, mode);
}

bool Graphics::setInterpolationMode(Gdiplus::InterpolationMode mode)
{
    return callFlatOk(&FlatApi::GdipSetInterpolationMode, m_graphics, mode);
}

bool Graphics::setPixelOffsetMode(Gdiplus::PixelOffsetMode mode)
{
    return callFlatOk(&FlatApi::GdipSetPixelOffsetMode, m_graphics, mode);
}

bool Graphics::clear(Gdiplus::ARGB colour)
{
    return callFlatOk(&FlatApi::GdipGraphicsClear, m_graphics, colour);
}

bool Graphics::drawLine(const Pen& pen, float x1, float y1, float x2, float y2)
{
    return callFlatOk(&FlatApi::GdipDrawLine, m_graphics, pen.native(), x1, y1, x2, y2);
}

bool Graphics::drawRectangle(const Pen& pen, float x, float y, float w, float h)
{
    return callFlatOk(&FlatApi::GdipDrawRectangle, m_graphics, pen.native(), x, y, w, h);
}

bool Graphics::drawPath(const Pen& pen, const GraphicsPath& path)
{
    return callFlatOk(&FlatApi::GdipDrawPath, m_graphics, pen.native(), path.native());
}

bool Graphics::fillRectangle(const Brush& brush, float x, float y, float w, float h)
{
    return callFlatOk(&FlatApi::GdipFillRectangle, m_graphics, brush.native(), x, y, w, h);
}

bool Graphics::fillPath(const Brush& brush, const GraphicsPath& path)
{
    return callFlatOk(&FlatApi::GdipFillPath, m_graphics, brush.native(), path.native());
}

bool Graphics::drawString(const std::string& text, const Font& font, const Brush& brush,
                          const Gdiplus::RectF& layoutRect, const StringFormat& format)
{
    WideString wide = toWide(text);
    return callFlatOk(&FlatApi::GdipDrawString, m_graphics, wide.c_str(), INT(wide.size()), font.native(),
                      &layoutRect, format.native(), brush.native());
}

bool Graphics::measureString(const std::string& text, const Font& font, const Gdiplus::RectF& layoutRect,
                             const StringFormat& format, Gdiplus::RectF& bounds)
{
    WideString wide = toWide(text);
    return callFlatOk(&FlatApi::GdipMeasureString, m_graphics, wide.c_str(), INT(wide.size()), font.native(),
                      &layoutRect, format.native(), &bounds, nullptr, nullptr);
}

bool Graphics::drawImage(const Image& image, float x, float y)
{
    return callFlatOk(&FlatApi::GdipDrawImage, m_graphics, image.nativeImage(), x, y);
}

bool Graphics::drawImageRect(const Image& image, float x, float y, float w, float h, Gdiplus::Unit unit,
                             Gdiplus::DrawImageAbort abort, void* abortData)
{
    Gdiplus::REAL sourceWidth = Gdiplus::REAL(image.width());
    Gdiplus::REAL sourceHeight = Gdiplus::REAL(image.height());
    return callFlatOk(&FlatApi::GdipDrawImageRectRect, m_graphics, image.nativeImage(), x, y, w, h, 0.0f, 0.0f,
                      sourceWidth, sourceHeight, unit, nullptr, abort, abortData);
}

bool Graphics::setClipPath(const GraphicsPath& path, Gdiplus::CombineMode mode)
{
    return callFlatOk(&FlatApi::GdipSetClipPath, m_graphics, path.native(), mode);
}

bool Graphics::setClipRect(float x, float y, float w, float h, Gdiplus::CombineMode mode)
{
    return callFlatOk(&FlatApi::GdipSetClipRect, m_graphics, x, y, w, h, mode);
}

bool Graphics::resetClip()
{
    return callFlatOk(&FlatApi::GdipResetClip, m_graphics);
}

} // namespace velkaro::gfx
