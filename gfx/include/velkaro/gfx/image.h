// A GDI+ image loaded from a file or from bytes. An image from bytes reads
// them from a stream of its own, which lives as long as the image (GDI+ may
// read the stream again while drawing), so the caller's buffer is free as
// soon as fromBytes returns.
#ifndef VELKARO_GFX_IMAGE_H
#define VELKARO_GFX_IMAGE_H

#include <velkaro/gfx/gdip_object.h>
#include <velkaro/gfx/memory_stream.h>

#include <span>
#include <string>

namespace velkaro::gfx {

class Image : public GdipObject {
public:
    ~Image() override { dispose(); }

    // icm: apply the colour profile embedded in the file.
    virtual bool fromFile(const std::string& path, bool icm = false);
    virtual bool fromBytes(std::span<const unsigned char> bytes, bool icm = false);
    UINT width() const;
    UINT height() const;
    // Releases the image and closes its stream.
    bool dispose();

    Gdiplus::GpImage* nativeImage() const { return m_image; }

protected:
    void syncHandle(void* h) override { m_image = static_cast<Gdiplus::GpImage*>(h); }
    // Opens the image's stream on a copy of the bytes.
    IStream* openStream(std::span<const unsigned char> bytes) { return m_stream.open(bytes); }
    // After a failed load from the stream: nothing is left to read it.
    bool adoptFromStream(Gdiplus::Status status, Gdiplus::GpImage* const& created);

private:
    Gdiplus::GpImage* m_image = nullptr;
    MemoryStream m_stream;
};

} // namespace velkaro::gfx

#endif
