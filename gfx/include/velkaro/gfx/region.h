// A GDI+ region; the skin only makes and releases them.
#ifndef VELKARO_GFX_REGION_H
#define VELKARO_GFX_REGION_H

#include <velkaro/gfx/gdip_object.h>

namespace velkaro::gfx {

class Region : public GdipObject {
public:
    ~Region() override { release(); }

    // An infinite region.
    bool create();
    bool release();

    Gdiplus::GpRegion* native() const { return m_region; }

protected:
    void syncHandle(void* h) override { m_region = static_cast<Gdiplus::GpRegion*>(h); }

private:
    Gdiplus::GpRegion* m_region = nullptr;
};

} // namespace velkaro::gfx

#endif
