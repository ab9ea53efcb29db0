// Bitmaps: creation from memory, pixel access, locking, cloning and the
// image queries of the flat interface.
#include "gdiplus/objects.h"
#include "gdiplus/pixels.h"
#include "gdiplus/status.h"

#include <cstring>
#include <new>

namespace vk::gdiplus {

uint8_t* Bitmap::at(int x, int y) const
{
    return row(y) + ptrdiff_t(x) * bytesPerPixel(format);
}

uint32_t Bitmap::getArgb(int x, int y) const
{
    return readPixel(format, at(x, y));
}

void Bitmap::setArgb(int x, int y, uint32_t argb)
{
    writePixel(format, at(x, y), argb);
}

std::unique_ptr<Bitmap> newBitmap(int width, int height, gp::PixelFormat format, gp::Status& status)
{
    if (width <= 0 || height <= 0 || !isStorableFormat(format)) {
        status = gp::InvalidParameter;
        return nullptr;
    }
    if (uint64_t(width) * uint64_t(height) > kMaxPixels) {
        status = gp::OutOfMemory;
        return nullptr;
    }
    auto bmp = std::make_unique<Bitmap>();
    bmp->width = width;
    bmp->height = height;
    bmp->format = format;
    // Rows are padded to four bytes, as in a DIB.
    bmp->stride = (width * bytesPerPixel(format) + 3) & ~3;
    size_t bytes = size_t(bmp->stride) * size_t(height);
    bmp->owned.reset(new (std::nothrow) uint8_t[bytes]);
    if (!bmp->owned) {
        status = gp::OutOfMemory;
        return nullptr;
    }
    std::memset(bmp->owned.get(), 0, bytes);
    bmp->scan0 = bmp->owned.get();
    status = gp::Ok;
    return bmp;
}

std::unique_ptr<Bitmap> cloneBitmap(const Bitmap& src, gp::Status& status)
{
    auto bmp = newBitmap(src.width, src.height, src.format, status);
    if (!bmp)
        return nullptr;
    for (int y = 0; y < src.height; ++y)
        std::memcpy(bmp->row(y), src.row(y), size_t(src.width) * bytesPerPixel(src.format));
    bmp->rawFormat = src.rawFormat;
    bmp->dpiX = src.dpiX;
    bmp->dpiY = src.dpiY;
    return bmp;
}

SurfacePtr bitmapToSurface(const Bitmap& bitmap)
{
    SurfacePtr s(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, bitmap.width, bitmap.height));
    if (cairo_surface_status(s.get()) != CAIRO_STATUS_SUCCESS)
        return nullptr;
    cairo_surface_flush(s.get());
    uint8_t* data = cairo_image_surface_get_data(s.get());
    int stride = cairo_image_surface_get_stride(s.get());
    for (int y = 0; y < bitmap.height; ++y)
        rowToPremultiplied(bitmap.format, bitmap.row(y), reinterpret_cast<uint32_t*>(data + ptrdiff_t(y) * stride),
                           bitmap.width);
    cairo_surface_mark_dirty(s.get());
    return s;
}

cairo_surface_t* cachedSurface(const Bitmap& bitmap)
{
    if (!bitmap.cache || bitmap.cacheVersion != bitmap.version || bitmap.userMemory) {
        bitmap.cache = bitmapToSurface(bitmap);
        bitmap.cacheVersion = bitmap.version;
    }
    return bitmap.cache.get();
}

} // namespace vk::gdiplus

using namespace Gdiplus;
using namespace vk::gdiplus;

namespace {

Bitmap* bitmapOf(const void* image)
{
    return lookupAs<Bitmap>(image);
}

} // namespace

extern "C" {

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateBitmapFromScan0(INT width, INT height, INT stride, PixelFormat format,
                                                                   BYTE* scan0, GpBitmap** bitmap)
{
    VK_GDIP_LOCK();
    if (!bitmap)
        return refuse(InvalidParameter);
    *bitmap = nullptr;
    if (!started())
        return refuse(GdiplusNotInitialized);
    if (format == 0)
        format = PixelFormat32bppARGB;
    if (width <= 0 || height <= 0 || !isStorableFormat(format))
        return refuse(InvalidParameter);
    Status st = Ok;
    std::unique_ptr<Bitmap> bmp;
    if (scan0) {
        // The caller's memory becomes the bitmap's pixels; the stride must hold a
        // row and be a multiple of four, and may be negative for bottom-up rows.
        int rowBytes = width * bytesPerPixel(format);
        if (stride % 4 != 0 || (stride >= 0 ? stride : -stride) < rowBytes)
            return refuse(InvalidParameter);
        if (uint64_t(width) * uint64_t(height) > kMaxPixels)
            return refuse(OutOfMemory);
        bmp = std::make_unique<Bitmap>();
        bmp->width = width;
        bmp->height = height;
        bmp->format = format;
        bmp->stride = stride;
        bmp->scan0 = scan0;
        bmp->userMemory = true;
    } else {
        if (stride != 0 && stride % 4 != 0)
            return refuse(InvalidParameter);
        bmp = newBitmap(width, height, format, st);
        if (!bmp)
            return refuse(st);
    }
    void* h = publish(std::move(bmp));
    if (!h)
        return refuse(OutOfMemory);
    *bitmap = static_cast<GpBitmap*>(h);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCloneImage(GpImage* image, GpImage** cloneImage)
{
    VK_GDIP_LOCK();
    Bitmap* src = bitmapOf(image);
    if (!src || !cloneImage)
        return refuse(InvalidParameter);
    Status st = Ok;
    auto copy = cloneBitmap(*src, st);
    if (!copy)
        return refuse(st);
    void* h = publish(std::move(copy));
    if (!h)
        return refuse(OutOfMemory);
    *cloneImage = static_cast<GpImage*>(h);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCloneBitmapAreaI(INT x, INT y, INT width, INT height, PixelFormat format,
                                                              GpBitmap* srcBitmap, GpBitmap** dstBitmap)
{
    VK_GDIP_LOCK();
    Bitmap* src = bitmapOf(srcBitmap);
    if (!src || !dstBitmap || x < 0 || y < 0 || width <= 0 || height <= 0 || x > src->width - width ||
        y > src->height - height)
        return refuse(InvalidParameter);
    if (format == 0)
        format = src->format;
    Status st = Ok;
    auto copy = newBitmap(width, height, format, st);
    if (!copy)
        return refuse(st);
    for (int r = 0; r < height; ++r)
        convertRow(src->format, src->at(x, y + r), format, copy->row(r), width);
    copy->rawFormat = src->rawFormat;
    void* h = publish(std::move(copy));
    if (!h)
        return refuse(OutOfMemory);
    *dstBitmap = static_cast<GpBitmap*>(h);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipDisposeImage(GpImage* image)
{
    VK_GDIP_LOCK();
    if (!bitmapOf(image))
        return refuse(InvalidParameter);
    destroy(image);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetImageType(GpImage* image, ImageType* type)
{
    VK_GDIP_LOCK();
    if (!bitmapOf(image) || !type)
        return refuse(InvalidParameter);
    *type = ImageTypeBitmap;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetImageWidth(GpImage* image, UINT* width)
{
    VK_GDIP_LOCK();
    Bitmap* b = bitmapOf(image);
    if (!b || !width)
        return refuse(InvalidParameter);
    *width = UINT(b->width);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetImageHeight(GpImage* image, UINT* height)
{
    VK_GDIP_LOCK();
    Bitmap* b = bitmapOf(image);
    if (!b || !height)
        return refuse(InvalidParameter);
    *height = UINT(b->height);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetImageDimension(GpImage* image, REAL* width, REAL* height)
{
    VK_GDIP_LOCK();
    Bitmap* b = bitmapOf(image);
    if (!b || !width || !height)
        return refuse(InvalidParameter);
    *width = REAL(b->width);
    *height = REAL(b->height);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetImageBounds(GpImage* image, GpRectF* srcRect, GpUnit* srcUnit)
{
    VK_GDIP_LOCK();
    Bitmap* b = bitmapOf(image);
    if (!b || !srcRect || !srcUnit)
        return refuse(InvalidParameter);
    *srcRect = RectF(0, 0, REAL(b->width), REAL(b->height));
    *srcUnit = UnitPixel;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetImageHorizontalResolution(GpImage* image, REAL* resolution)
{
    VK_GDIP_LOCK();
    Bitmap* b = bitmapOf(image);
    if (!b || !resolution)
        return refuse(InvalidParameter);
    *resolution = b->dpiX;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetImageVerticalResolution(GpImage* image, REAL* resolution)
{
    VK_GDIP_LOCK();
    Bitmap* b = bitmapOf(image);
    if (!b || !resolution)
        return refuse(InvalidParameter);
    *resolution = b->dpiY;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetImageFlags(GpImage* image, UINT* flags)
{
    VK_GDIP_LOCK();
    Bitmap* b = bitmapOf(image);
    if (!b || !flags)
        return refuse(InvalidParameter);
    UINT f = ImageFlagsColorSpaceRGB;
    if (IsAlphaPixelFormat(b->format))
        f |= ImageFlagsHasAlpha;
    if (!sameGuid(b->rawFormat, ImageFormatMemoryBMP))
        f |= ImageFlagsReadOnly | ImageFlagsHasRealPixelSize;
    *flags = f;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetImagePixelFormat(GpImage* image, PixelFormat* format)
{
    VK_GDIP_LOCK();
    Bitmap* b = bitmapOf(image);
    if (!b || !format)
        return refuse(InvalidParameter);
    *format = b->format;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetImageRawFormat(GpImage* image, GUID* format)
{
    VK_GDIP_LOCK();
    Bitmap* b = bitmapOf(image);
    if (!b || !format)
        return refuse(InvalidParameter);
    *format = b->rawFormat;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipBitmapGetPixel(GpBitmap* bitmap, INT x, INT y, ARGB* color)
{
    VK_GDIP_LOCK();
    Bitmap* b = bitmapOf(bitmap);
    if (!b || !color || x < 0 || y < 0 || x >= b->width || y >= b->height)
        return refuse(InvalidParameter);
    if (b->lock.active)
        return refuse(WrongState);
    *color = b->getArgb(x, y);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipBitmapSetPixel(GpBitmap* bitmap, INT x, INT y, ARGB color)
{
    VK_GDIP_LOCK();
    Bitmap* b = bitmapOf(bitmap);
    if (!b || x < 0 || y < 0 || x >= b->width || y >= b->height)
        return refuse(InvalidParameter);
    if (b->lock.active)
        return refuse(WrongState);
    b->setArgb(x, y, color);
    ++b->version;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipBitmapLockBits(GpBitmap* bitmap, GDIPCONST GpRect* rect, UINT flags,
                                                            PixelFormat format, BitmapData* data)
{
    VK_GDIP_LOCK();
    Bitmap* b = bitmapOf(bitmap);
    if (!b || !data)
        return refuse(InvalidParameter);
    Rect r = rect ? *rect : Rect(0, 0, b->width, b->height);
    if (r.X < 0 || r.Y < 0 || r.Width <= 0 || r.Height <= 0 || r.X > b->width - r.Width || r.Y > b->height - r.Height)
        return refuse(InvalidParameter);
    if ((flags & (ImageLockModeRead | ImageLockModeWrite)) == 0 || (flags & ~7u) != 0)
        return refuse(InvalidParameter);
    if (!isStorableFormat(format))
        return refuse(InvalidParameter);
    if (b->lock.active)
        return refuse(WrongState);
    Bitmap::Lock& lk = b->lock;
    int bpp = bytesPerPixel(format);
    if (flags & ImageLockModeUserInputBuf) {
        if (!data->Scan0 || (data->Stride >= 0 ? data->Stride : -data->Stride) < r.Width * bpp)
            return refuse(InvalidParameter);
        lk.scan0 = data->Scan0;
        lk.stride = data->Stride;
        lk.buffer.reset();
    } else if (format == b->format) {
        lk.scan0 = b->at(r.X, r.Y);
        lk.stride = b->stride;
        lk.buffer.reset();
    } else {
        lk.stride = (r.Width * bpp + 3) & ~3;
        lk.buffer.reset(new (std::nothrow) uint8_t[size_t(lk.stride) * size_t(r.Height)]);
        if (!lk.buffer)
            return refuse(OutOfMemory);
        std::memset(lk.buffer.get(), 0, size_t(lk.stride) * size_t(r.Height));
        lk.scan0 = lk.buffer.get();
    }
    bool direct = lk.scan0 == b->at(r.X, r.Y);
    if ((flags & ImageLockModeRead) && !direct)
        for (int y = 0; y < r.Height; ++y)
            convertRow(b->format, b->at(r.X, r.Y + y), format,
                       static_cast<uint8_t*>(lk.scan0) + ptrdiff_t(y) * lk.stride, r.Width);
    lk.active = true;
    lk.rect = r;
    lk.flags = flags;
    lk.format = format;
    data->Width = UINT(r.Width);
    data->Height = UINT(r.Height);
    data->Stride = lk.stride;
    data->PixelFormat = format;
    data->Scan0 = lk.scan0;
    data->Reserved = 0;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipBitmapUnlockBits(GpBitmap* bitmap, BitmapData* data)
{
    VK_GDIP_LOCK();
    Bitmap* b = bitmapOf(bitmap);
    if (!b || !data)
        return refuse(InvalidParameter);
    Bitmap::Lock& lk = b->lock;
    if (!lk.active)
        return refuse(WrongState);
    const Rect& r = lk.rect;
    bool direct = lk.scan0 == b->at(r.X, r.Y);
    if ((lk.flags & ImageLockModeWrite) && !direct)
        for (int y = 0; y < r.Height; ++y)
            convertRow(lk.format, static_cast<const uint8_t*>(lk.scan0) + ptrdiff_t(y) * lk.stride, b->format,
                       b->at(r.X, r.Y + y), r.Width);
    if (lk.flags & ImageLockModeWrite)
        ++b->version;
    lk.buffer.reset();
    lk.active = false;
    lk.scan0 = nullptr;
    return Ok;
}

} // extern "C"
