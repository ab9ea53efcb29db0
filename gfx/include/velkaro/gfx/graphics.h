// A GDI+ drawing surface on a device context or on an image.
#ifndef VELKARO_GFX_GRAPHICS_H
#define VELKARO_GFX_GRAPHICS_H

#include <velkaro/gfx/gdip_object.h>

#include <string>

namespace velkaro::gfx {

class Brush;
class Font;
class GraphicsPath;
class Image;
class Pen;
class StringFormat;

class Graphics : public GdipObject {
public:
    ~Graphics() override { release(); }

    bool release();
    // With a device handle, the DC's pixels are taken as that device's.
    bool fromHdc(HDC dc, HANDLE device = nullptr);
    bool fromImage(const Image& image);

    bool setCompositingQuality(Gdiplus::CompositingQuality quality);
    bool setSmoothingMode(Gdiplus::SmoothingMode mode);
    bool setInterpolationMode(Gdiplus::InterpolationMode mode);
    bool setPixelOffsetMode(Gdiplus::PixelOffsetMode mode);

    bool clear(Gdiplus::ARGB colour);
    bool drawLine(const Pen& pen, float x1, float y1, float x2, float y2);
    bool drawRectangle(const Pen& pen, float x, float y, float w, float h);
    bool drawPath(const Pen& pen, const GraphicsPath& path);
    bool fillRectangle(const Brush& brush, float x, float y, float w, float h);
    bool fillPath(const Brush& brush, const GraphicsPath& path);
    // A format holding nothing means GDI+'s default format.
    bool drawString(const std::string& text, const Font& font, const Brush& brush, const Gdiplus::RectF& layoutRect,
                    const StringFormat& format);
    bool measureString(const std::string& text, const Font& font, const Gdiplus::RectF& layoutRect,
                       const StringFormat& format, Gdiplus::RectF& bounds);
    bool drawImage(const Image& image, float x, float y);
    // The whole image scaled into the rectangle (the source is always all of
    // it, measured in pixels unless `unit` says otherwise).
    bool drawImageRect(const Image& image, float x, float y, float w, float h, Gdiplus::Unit unit = Gdiplus::UnitPixel,
                       Gdiplus::DrawImageAbort abort = nullptr, void* abortData = nullptr);

    bool setClipPath(const GraphicsPath& path, Gdiplus::CombineMode mode = Gdiplus::CombineModeReplace);
    bool setClipRect(float x, float y, float w, float h, Gdiplus::CombineMode mode = Gdiplus::CombineModeReplace);
    bool resetClip();

    Gdiplus::GpGraphics* native() const { return m_graphics; }

protected:
    void syncHandle(void* h) override { m_graphics = static_cast<Gdiplus::GpGraphics*>(h); }

private:
    Gdiplus::GpGraphics* m_graphics = nullptr;
};

} // namespace velkaro::gfx

#endif
