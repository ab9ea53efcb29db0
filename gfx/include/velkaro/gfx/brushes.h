// GDI+ brushes: the common base (release, clone, type) and the four kinds
// the skin paints with.
#ifndef VELKARO_GFX_BRUSHES_H
#define VELKARO_GFX_BRUSHES_H

#include <velkaro/gfx/gdip_object.h>

#include <vector>

namespace velkaro::gfx {

class GraphicsPath;
class Image;

class Brush : public GdipObject {
public:
    ~Brush() override { release(); }

    bool release();
    // A copy of this brush's native object, stored in `out`.
    bool clone(Brush& out) const;
    // 0 (also BrushTypeSolidColor) on failure: look at lastStatus().
    Gdiplus::BrushType type() const;

    Gdiplus::GpBrush* native() const { return m_brush; }

protected:
    void syncHandle(void* h) override { m_brush = static_cast<Gdiplus::GpBrush*>(h); }

private:
    Gdiplus::GpBrush* m_brush = nullptr;
};

class SolidBrush : public Brush {
public:
    bool create(Gdiplus::ARGB colour);
};

class LinearGradientBrush : public Brush {
public:
    // Tiled past the end points.
    bool create(const Gdiplus::PointF& start, const Gdiplus::PointF& end, Gdiplus::ARGB colour1,
                Gdiplus::ARGB colour2);
    // One position per colour; fewer positions than colours is refused.
    bool setPresetBlend(const std::vector<Gdiplus::ARGB>& colours, const std::vector<float>& positions);
    bool setLinearBlend(float focus, float scale);

    Gdiplus::GpLineGradient* nativeGradient() const { return m_gradient; }

protected:
    void syncHandle(void* h) override
    {
        Brush::syncHandle(h);
        m_gradient = static_cast<Gdiplus::GpLineGradient*>(h);
    }

private:
    Gdiplus::GpLineGradient* m_gradient = nullptr;
};

class PathGradientBrush : public Brush {
public:
    bool fromPath(const GraphicsPath& path);
    bool setCenterColor(Gdiplus::ARGB colour);
    // All the colours, or the first `count` of them (more than given is refused).
    bool setSurroundColors(const std::vector<Gdiplus::ARGB>& colours);
    bool setSurroundColors(const std::vector<Gdiplus::ARGB>& colours, int count);
    bool setFocusScales(float xScale, float yScale);

    Gdiplus::GpPathGradient* nativeGradient() const { return m_gradient; }

protected:
    void syncHandle(void* h) override
    {
        Brush::syncHandle(h);
        m_gradient = static_cast<Gdiplus::GpPathGradient*>(h);
    }

private:
    Gdiplus::GpPathGradient* m_gradient = nullptr;
};

class TextureBrush : public Brush {
public:
    bool create(const Image& image, Gdiplus::WrapMode wrap = Gdiplus::WrapModeTile);
};

} // namespace velkaro::gfx

#endif
