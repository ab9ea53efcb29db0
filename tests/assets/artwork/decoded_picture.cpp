// Decoding and writing helpers for the asset tests.
#include "decoded_picture.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <jpeglib.h>
#include <memory>

namespace assets_test {

namespace {

struct PngSource {
    const unsigned char* data;
    size_t size;
    size_t offset;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t count)
{
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (source->offset + count > source->size)
        png_error(png, "read past the end");
    std::memcpy(out, source->data + source->offset, count);
    source->offset += count;
}

struct JpegError {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void jpegFail(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1);
}

}  // namespace

DecodedPicture decodePng(velkaro::assets::Blob blob)
{
    DecodedPicture out;
    if (!blob.data || blob.size < 8 || png_sig_cmp(blob.data, 0, 8) != 0)
        return out;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    PngSource source{blob.data, blob.size, 0};
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return DecodedPicture{};
    }
    png_set_read_fn(png, &source, readFromMemory);
    png_read_info(png, info);
    int colourType = png_get_color_type(png, info);
    out.fileHasAlpha = (colourType & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);
    out.fileChannels = png_get_channels(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    out.width = int(png_get_image_width(png, info));
    out.height = int(png_get_image_height(png, info));
    out.pixels.resize(size_t(out.width) * out.height);
    rows.resize(size_t(out.height));
    for (int y = 0; y < out.height; ++y)
        rows[size_t(y)] = reinterpret_cast<png_bytep>(&out.pixels[size_t(y) * out.width]);
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    out.ok = true;
    return out;
}

DecodedPicture decodeJpeg(velkaro::assets::Blob blob)
{
    DecodedPicture out;
    if (!blob.data || blob.size < 4)
        return out;
    jpeg_decompress_struct cinfo;
    JpegError error;
    cinfo.err = jpeg_std_error(&error.base);
    error.base.error_exit = jpegFail;
    jpeg_create_decompress(&cinfo);
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return DecodedPicture{};
    }
    jpeg_mem_src(&cinfo, blob.data, static_cast<unsigned long>(blob.size));
    jpeg_read_header(&cinfo, TRUE);
    out.fileChannels = cinfo.num_components;
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    out.width = int(cinfo.output_width);
    out.height = int(cinfo.output_height);
    out.pixels.resize(size_t(out.width) * out.height);
    std::vector<unsigned char> row(size_t(out.width) * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        int y = int(cinfo.output_scanline);
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&cinfo, rows, 1);
        for (int x = 0; x < out.width; ++x)
            out.pixels[size_t(y) * out.width + x] = {row[size_t(x) * 3], row[size_t(x) * 3 + 1],
                                                     row[size_t(x) * 3 + 2], 255};
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    out.ok = true;
    return out;
}

void Sheet::checkerboard(int x0, int y0, int w, int h, int cell)
{
    for (int y = y0; y < y0 + h && y < height; ++y)
        for (int x = x0; x < x0 + w && x < width; ++x) {
            bool dark = ((x - x0) / cell + (y - y0) / cell) % 2;
            at(x, y) = dark ? Pixel{200, 200, 200, 255} : Pixel{245, 245, 245, 255};
        }
}

void Sheet::place(const DecodedPicture& picture, int x0, int y0, int scale)
{
    for (int y = 0; y < picture.height * scale; ++y)
        for (int x = 0; x < picture.width * scale; ++x) {
            int sx = x0 + x, sy = y0 + y;
            if (sx < 0 || sy < 0 || sx >= width || sy >= height)
                continue;
            const Pixel& p = picture.at(x / scale, y / scale);
            Pixel& d = at(sx, sy);
            auto blend = [&](std::uint8_t s, std::uint8_t t) {
                return std::uint8_t((s * p.a + t * (255 - p.a) + 127) / 255);
            };
            d = {blend(p.r, d.r), blend(p.g, d.g), blend(p.b, d.b), 255};
        }
}

bool writePng(const std::string& path, int width, int height, const std::vector<Pixel>& pixels)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, reinterpret_cast<png_const_bytep>(&pixels[size_t(y) * width]));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

std::vector<unsigned char> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace assets_test
