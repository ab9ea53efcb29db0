// A GDI+ path: the outlines the skin strokes, fills and clips with.
#ifndef VELKARO_GFX_GRAPHICS_PATH_H
#define VELKARO_GFX_GRAPHICS_PATH_H

#include <velkaro/gfx/gdip_object.h>

namespace velkaro::gfx {

class GraphicsPath : public GdipObject {
public:
    ~GraphicsPath() override { release(); }

    bool create(Gdiplus::FillMode fillMode = Gdiplus::FillModeAlternate);
    bool release();
    bool reset();
    bool closeFigure();
    bool addLine(float x1, float y1, float x2, float y2);
    bool addArc(float x, float y, float w, float h, float startAngle, float sweepAngle);
    bool addRectangle(float x, float y, float w, float h);
    bool addEllipse(float x, float y, float w, float h);

    Gdiplus::GpPath* native() const { return m_path; }

protected:
    void syncHandle(void* h) override { m_path = static_cast<Gdiplus::GpPath*>(h); }

private:
    Gdiplus::GpPath* m_path = nullptr;
};

} // namespace velkaro::gfx

#endif
