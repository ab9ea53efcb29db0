// PNG through libpng. libpng reports errors by longjmp, so every call that
// may fail runs in a function without C++ objects of its own.
#include "gdiplus/codecs.h"
#include "gdiplus/pixels.h"

#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

namespace vk::gdiplus {

ByteBuffer::~ByteBuffer()
{
    std::free(data);
}

bool ByteBuffer::append(const void* bytes, size_t count)
{
    if (size + count > capacity) {
        size_t cap = capacity ? capacity : 4096;
        while (cap < size + count)
            cap *= 2;
        void* grown = std::realloc(data, cap);
        if (!grown)
            return false;
        data = static_cast<uint8_t*>(grown);
        capacity = cap;
    }
    std::memcpy(data + size, bytes, count);
    size += count;
    return true;
}

namespace {

struct PngReader {
    const uint8_t* data;
    size_t size;
    size_t pos;
    png_structp png;
    png_infop info;
    png_uint_32 width;
    png_uint_32 height;
};

void pngRead(png_structp png, png_bytep out, png_size_t count)
{
    auto* r = static_cast<PngReader*>(png_get_io_ptr(png));
    if (count > r->size - r->pos)
        png_error(png, "truncated");
    std::memcpy(out, r->data + r->pos, count);
    r->pos += count;
}

void pngQuietError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void pngQuietWarning(png_structp, png_const_charp) {}

bool pngReadHeader(PngReader* r)
{
    if (setjmp(png_jmpbuf(r->png)))
        return false;
    png_set_read_fn(r->png, r, pngRead);
    png_read_info(r->png, r->info);
    r->width = png_get_image_width(r->png, r->info);
    r->height = png_get_image_height(r->png, r->info);
    int colorType = png_get_color_type(r->png, r->info);
    png_set_expand(r->png);
    png_set_strip_16(r->png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(r->png);
    if (!(colorType & PNG_COLOR_MASK_ALPHA) && !png_get_valid(r->png, r->info, PNG_INFO_tRNS))
        png_set_add_alpha(r->png, 0xff, PNG_FILLER_AFTER);
    png_set_bgr(r->png);
    png_set_interlace_handling(r->png);
    png_read_update_info(r->png, r->info);
    return png_get_rowbytes(r->png, r->info) == size_t(r->width) * 4;
}

bool pngReadRows(PngReader* r, png_bytepp rows)
{
    if (setjmp(png_jmpbuf(r->png)))
        return false;
    png_read_image(r->png, rows);
    png_read_end(r->png, nullptr);
    return true;
}

struct PngWriter {
    png_structp png;
    png_infop info;
    ByteBuffer* out;
    bool overflow;
};

void pngWrite(png_structp png, png_bytep bytes, png_size_t count)
{
    auto* w = static_cast<PngWriter*>(png_get_io_ptr(png));
    if (!w->out->append(bytes, count)) {
        w->overflow = true;
        png_error(png, "out of memory");
    }
}

void pngFlush(png_structp) {}

bool pngWriteImage(PngWriter* w, png_uint_32 width, png_uint_32 height, int colorType, png_bytepp rows)
{
    if (setjmp(png_jmpbuf(w->png)))
        return false;
    png_set_write_fn(w->png, w, pngWrite, pngFlush);
    // A fast zlib level: pictures are saved interactively.
    png_set_compression_level(w->png, 1);
    png_set_filter(w->png, 0, PNG_FILTER_SUB);
    png_set_IHDR(w->png, w->info, width, height, 8, colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(w->png, w->info);
    png_set_bgr(w->png);
    png_write_image(w->png, rows);
    png_write_end(w->png, nullptr);
    return true;
}

} // namespace

gp::Status decodePng(const uint8_t* data, size_t size, std::unique_ptr<Bitmap>& out)
{
    if (size < 8 || png_sig_cmp(data, 0, 8) != 0)
        return gp::UnknownImageFormat;
    PngReader r{data, size, 0, nullptr, nullptr, 0, 0};
    r.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngQuietError, pngQuietWarning);
    if (!r.png)
        return gp::OutOfMemory;
    r.info = png_create_info_struct(r.png);
    if (!r.info) {
        png_destroy_read_struct(&r.png, nullptr, nullptr);
        return gp::OutOfMemory;
    }
    // The pixel limit is checked before anything that size is allocated.
    png_set_user_limits(r.png, 0x7fffffff, 0x7fffffff);
    gp::Status st = gp::Ok;
    std::unique_ptr<Bitmap> bmp;
    std::vector<png_bytep> rows;
    if (!pngReadHeader(&r)) {
        st = gp::InvalidParameter;
    } else if (r.width == 0 || r.height == 0) {
        st = gp::InvalidParameter;
    } else if (uint64_t(r.width) * r.height > kMaxPixels) {
        st = gp::OutOfMemory;
    } else {
        bmp = newBitmap(int(r.width), int(r.height), PixelFormat32bppARGB, st);
        if (bmp) {
            rows.resize(r.height);
            for (png_uint_32 y = 0; y < r.height; ++y)
                rows[y] = bmp->row(int(y));
            if (!pngReadRows(&r, rows.data())) {
                st = gp::InvalidParameter;
                bmp.reset();
            }
        }
    }
    png_destroy_read_struct(&r.png, &r.info, nullptr);
    if (bmp) {
        bmp->rawFormat = gp::ImageFormatPNG;
        out = std::move(bmp);
    }
    return st;
}

gp::Status encodePng(const Bitmap& bitmap, ByteBuffer& out)
{
    bool alpha = gp::IsAlphaPixelFormat(bitmap.format);
    int channels = alpha ? 4 : 3;
    size_t rowBytes = size_t(bitmap.width) * channels;
    std::unique_ptr<uint8_t[]> pixels(new (std::nothrow) uint8_t[rowBytes * size_t(bitmap.height)]);
    std::vector<png_bytep> rows(size_t(bitmap.height));
    if (!pixels)
        return gp::OutOfMemory;
    gp::PixelFormat rowFormat = alpha ? gp::PixelFormat(PixelFormat32bppARGB) : gp::PixelFormat(PixelFormat24bppRGB);
    for (int y = 0; y < bitmap.height; ++y) {
        rows[y] = pixels.get() + rowBytes * y;
        convertRow(bitmap.format, bitmap.row(y), rowFormat, rows[y], bitmap.width);
    }
    PngWriter w{nullptr, nullptr, &out, false};
    w.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, pngQuietError, pngQuietWarning);
    if (!w.png)
        return gp::OutOfMemory;
    w.info = png_create_info_struct(w.png);
    bool ok = w.info && pngWriteImage(&w, png_uint_32(bitmap.width), png_uint_32(bitmap.height),
                                      alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, rows.data());
    png_destroy_write_struct(&w.png, &w.info);
    if (!ok)
        return w.overflow ? gp::OutOfMemory : gp::GenericError;
    return gp::Ok;
}

} // namespace vk::gdiplus
