// JPEG through libjpeg. libjpeg reports errors by longjmp, so every call that
// may fail runs in a function without C++ objects of its own. Progressive and
// CMYK/YCCK files decode; a file that ends early is refused.
#include "gdiplus/codecs.h"
#include "gdiplus/pixels.h"

#include <cstdio>
// windef.h already names INT32; XMD_H keeps libjpeg from naming it again.
#define XMD_H
#include <jpeglib.h>
#include <jerror.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

namespace vk::gdiplus {

namespace {

struct JpegError {
    jpeg_error_mgr mgr;
    jmp_buf jump;
};

void jpegErrorExit(j_common_ptr cinfo)
{
    longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1);
}

void jpegEmitMessage(j_common_ptr cinfo, int level)
{
    // Data that ends before the picture does is refused rather than padded.
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1);
}

void jpegQuiet(j_common_ptr) {}

struct JpegReader {
    jpeg_decompress_struct cinfo;
    JpegError err;
    bool created;
    bool cmyk;
    bool adobeInverted;
};

bool jpegReadHeader(JpegReader* r, const uint8_t* data, size_t size)
{
    r->cinfo.err = jpeg_std_error(&r->err.mgr);
    r->err.mgr.error_exit = jpegErrorExit;
    r->err.mgr.emit_message = jpegEmitMessage;
    r->err.mgr.output_message = jpegQuiet;
    if (setjmp(r->err.jump))
        return false;
    jpeg_create_decompress(&r->cinfo);
    r->created = true;
    jpeg_mem_src(&r->cinfo, data, static_cast<unsigned long>(size));
    jpeg_save_markers(&r->cinfo, JPEG_APP0 + 14, 0xffff);
    if (jpeg_read_header(&r->cinfo, TRUE) != JPEG_HEADER_OK)
        return false;
    r->cmyk = r->cinfo.jpeg_color_space == JCS_CMYK || r->cinfo.jpeg_color_space == JCS_YCCK;
    // Adobe writes CMYK inverted; its APP14 marker says so.
    r->adobeInverted = r->cmyk && r->cinfo.saw_Adobe_marker;
    r->cinfo.out_color_space = r->cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_calc_output_dimensions(&r->cinfo);
    return true;
}

bool jpegReadRows(JpegReader* r, uint8_t* const* rows)
{
    if (setjmp(r->err.jump))
        return false;
    jpeg_start_decompress(&r->cinfo);
    while (r->cinfo.output_scanline < r->cinfo.output_height) {
        JSAMPROW row = rows[r->cinfo.output_scanline];
        if (jpeg_read_scanlines(&r->cinfo, &row, 1) != 1)
            return false;
    }
    jpeg_finish_decompress(&r->cinfo);
    return true;
}

struct JpegWriter {
    jpeg_compress_struct cinfo;
    JpegError err;
    bool created;
    unsigned char* buffer;
    unsigned long size;
};

bool jpegWriteImage(JpegWriter* w, int width, int height, int quality, uint8_t* const* rows)
{
    w->cinfo.err = jpeg_std_error(&w->err.mgr);
    w->err.mgr.error_exit = jpegErrorExit;
    w->err.mgr.output_message = jpegQuiet;
    if (setjmp(w->err.jump))
        return false;
    jpeg_create_compress(&w->cinfo);
    w->created = true;
    jpeg_mem_dest(&w->cinfo, &w->buffer, &w->size);
    w->cinfo.image_width = JDIMENSION(width);
    w->cinfo.image_height = JDIMENSION(height);
    w->cinfo.input_components = 3;
    w->cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&w->cinfo);
    jpeg_set_quality(&w->cinfo, quality, TRUE);
    jpeg_start_compress(&w->cinfo, TRUE);
    while (w->cinfo.next_scanline < w->cinfo.image_height) {
        JSAMPROW row = rows[w->cinfo.next_scanline];
        jpeg_write_scanlines(&w->cinfo, &row, 1);
    }
    jpeg_finish_compress(&w->cinfo);
    return true;
}

} // namespace

gp::Status decodeJpeg(const uint8_t* data, size_t size, std::unique_ptr<Bitmap>& out)
{
    if (size < 3 || data[0] != 0xFF || data[1] != 0xD8 || data[2] != 0xFF)
        return gp::UnknownImageFormat;
    JpegReader r;
    std::memset(&r, 0, sizeof r);
    gp::Status st = gp::Ok;
    std::unique_ptr<Bitmap> bmp;
    std::unique_ptr<uint8_t[]> cmykRows;
    std::vector<uint8_t*> rows;
    if (!jpegReadHeader(&r, data, size)) {
        st = gp::InvalidParameter;
    } else if (r.cinfo.output_width == 0 || r.cinfo.output_height == 0) {
        st = gp::InvalidParameter;
    } else if (uint64_t(r.cinfo.output_width) * r.cinfo.output_height > kMaxPixels) {
        st = gp::OutOfMemory;
    } else {
        int w = int(r.cinfo.output_width), h = int(r.cinfo.output_height);
        bmp = newBitmap(w, h, PixelFormat24bppRGB, st);
        if (bmp && r.cmyk) {
            cmykRows.reset(new (std::nothrow) uint8_t[size_t(w) * 4 * size_t(h)]);
            if (!cmykRows) {
                st = gp::OutOfMemory;
                bmp.reset();
            }
        }
        if (bmp) {
            rows.resize(size_t(h));
            for (int y = 0; y < h; ++y)
                rows[y] = r.cmyk ? cmykRows.get() + size_t(w) * 4 * y : bmp->row(y);
            if (!jpegReadRows(&r, rows.data())) {
                st = gp::InvalidParameter;
                bmp.reset();
            } else if (r.cmyk) {
                for (int y = 0; y < h; ++y) {
                    const uint8_t* src = rows[y];
                    uint8_t* dst = bmp->row(y);
                    for (int x = 0; x < w; ++x, src += 4, dst += 3) {
                        int c = src[0], m = src[1], ye = src[2], k = src[3];
                        if (!r.adobeInverted)
                            c = 255 - c, m = 255 - m, ye = 255 - ye, k = 255 - k;
                        // Inverted CMYK: each channel times K gives the colour.
                        dst[0] = uint8_t((ye * k + 127) / 255);
                        dst[1] = uint8_t((m * k + 127) / 255);
                        dst[2] = uint8_t((c * k + 127) / 255);
                    }
                }
            }
        }
    }
    if (r.created)
        jpeg_destroy_decompress(&r.cinfo);
    if (bmp) {
        bmp->rawFormat = gp::ImageFormatJPEG;
        out = std::move(bmp);
    }
    return st;
}

gp::Status encodeJpeg(const Bitmap& bitmap, int quality, ByteBuffer& out)
{
    size_t rowBytes = size_t(bitmap.width) * 3;
    std::unique_ptr<uint8_t[]> pixels(new (std::nothrow) uint8_t[rowBytes * size_t(bitmap.height)]);
    if (!pixels)
        return gp::OutOfMemory;
    std::vector<uint8_t*> rows(size_t(bitmap.height));
    for (int y = 0; y < bitmap.height; ++y) {
        rows[y] = pixels.get() + rowBytes * y;
        convertRow(bitmap.format, bitmap.row(y), PixelFormat24bppRGB, rows[y], bitmap.width);
    }
    JpegWriter w;
    std::memset(&w, 0, sizeof w);
    bool ok = jpegWriteImage(&w, bitmap.width, bitmap.height, quality, rows.data());
    if (w.created)
        jpeg_destroy_compress(&w.cinfo);
    gp::Status st = gp::Ok;
    if (!ok)
        st = gp::GenericError;
    else if (!out.append(w.buffer, w.size))
        st = gp::OutOfMemory;
    std::free(w.buffer);
    return st;
}

} // namespace vk::gdiplus
