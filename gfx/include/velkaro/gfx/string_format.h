// A GDI+ string format: alignment, wrapping and trimming of drawn text.
#ifndef VELKARO_GFX_STRING_FORMAT_H
#define VELKARO_GFX_STRING_FORMAT_H

#include <velkaro/gfx/gdip_object.h>

namespace velkaro::gfx {

class StringFormat : public GdipObject {
public:
    ~StringFormat() override { release(); }

    bool create(INT flags = 0, LANGID language = 0);
    bool setFlags(INT flags);
    bool setAlignment(Gdiplus::StringAlignment alignment);
    bool setLineAlignment(Gdiplus::StringAlignment alignment);
    bool setTrimming(Gdiplus::StringTrimming trimming);
    bool release();

    Gdiplus::GpStringFormat* native() const { return m_format; }

protected:
    void syncHandle(void* h) override { m_format = static_cast<Gdiplus::GpStringFormat*>(h); }

private:
    Gdiplus::GpStringFormat* m_format = nullptr;
};

} // namespace velkaro::gfx

#endif
