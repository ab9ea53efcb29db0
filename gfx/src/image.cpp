// GDI+ images through the flat table.
#include <velkaro/gfx/image.h>

#include <velkaro/gfx/wide_text.h>

namespace velkaro::gfx {

bool Image::fromFile(const std::string& path, bool icm)
{
    WideString wide = toWide(path);
    Gdiplus::GpImage* image = nullptr;
    auto entry = icm ? &FlatApi::GdipLoadImageFromFileICM : &FlatApi::GdipLoadImageFromFile;
    return adopt(callFlat(entry, wide.c_str(), &image), image);
}

bool Image::fromBytes(std::span<const unsigned char> bytes, bool icm)
{
    IStream* stream = openStream(bytes);
    Gdiplus::GpImage* image = nullptr;
    auto entry = icm ? &FlatApi::GdipLoadImageFromStreamICM : &FlatApi::GdipLoadImageFromStream;
    Gdiplus::Status status = stream ? callFlat(entry, stream, &image) : Gdiplus::OutOfMemory;
    return adoptFromStream(status, image);
}

bool Image::adoptFromStream(Gdiplus::Status status, Gdiplus::GpImage* const& created)
{
    if (status != Gdiplus::Ok) {
        m_stream.close();
        detail::g_lastStatus = status;
    }
    return adopt(status, created);
}

UINT Image::width() const
{
    UINT w = 0;
    return callFlat(&FlatApi::GdipGetImageWidth, m_image, &w) == Gdiplus::Ok ? w : 0;
}

UINT Image::height() const
{
    UINT h = 0;
    return callFlat(&FlatApi::GdipGetImageHeight, m_image, &h) == Gdiplus::Ok ? h : 0;
}

bool Image::dispose()
{
    bool released = releaseWith(&FlatApi::GdipDisposeImage, m_image);
    m_stream.close();
    return released;
}

} // namespace velkaro::gfx
