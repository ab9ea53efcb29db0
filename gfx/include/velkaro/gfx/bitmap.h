// A GDI+ bitmap: an image with pixels the skin can read, write, draw on and
// encode.
#ifndef VELKARO_GFX_BITMAP_H
#define VELKARO_GFX_BITMAP_H

#include <velkaro/gfx/image.h>

#include <string>

namespace velkaro::gfx {

// The text form of the PNG image format, for saveToBytes.
inline constexpr const char* kPngFormatText = "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}";

class Bitmap : public Image {
public:
    bool fromFile(const std::string& path, bool icm = false) override;
    bool fromBytes(std::span<const unsigned char> bytes, bool icm = false) override;
    // Fully transparent pixels.
    bool create(int width, int height, Gdiplus::PixelFormat format = PixelFormat32bppARGB);
    bool fromIcon(HICON icon);
    // A GDI bitmap of the pixels over `background`; the caller deletes it.
    HBITMAP toHBITMAP(Gdiplus::ARGB background) const;
    Gdiplus::ARGB getPixel(int x, int y) const;
    bool setPixel(int x, int y, Gdiplus::ARGB colour);
    // The bitmap encoded in an image format given by its GUID's text (case
    // does not matter), or empty for the bitmap's own format. Empty bytes
    // when no encoder knows the format or the encoding fails.
    Bytes saveToBytes(const std::string& formatText = {},
                      const Gdiplus::EncoderParameters* params = nullptr) const;

    Gdiplus::GpBitmap* native() const { return m_bitmap; }

protected:
    void syncHandle(void* h) override
    {
        Image::syncHandle(h);
        m_bitmap = static_cast<Gdiplus::GpBitmap*>(h);
    }

private:
    Gdiplus::GpBitmap* m_bitmap = nullptr;
};

} // namespace velkaro::gfx

#endif
