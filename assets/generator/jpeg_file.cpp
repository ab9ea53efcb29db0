// Baseline JPEG writing with a fixed quality and the exact integer DCT, so
// every machine with the same libjpeg gives the same bytes.
#include "picture.h"

#include <cstdio>
#include <jpeglib.h>
#include <memory>

namespace vkgen {

bool writeJpeg(const std::string& path, const Picture& picture, int quality)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file)
        return false;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file.get());
    cinfo.image_width = JDIMENSION(picture.width);
    cinfo.image_height = JDIMENSION(picture.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    cinfo.dct_method = JDCT_ISLOW;
    cinfo.optimize_coding = TRUE;
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(size_t(picture.width) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        const Rgba* src = &picture.pixels[size_t(cinfo.next_scanline) * picture.width];
        for (int x = 0; x < picture.width; ++x) {
            row[size_t(x) * 3] = src[x].r;
            row[size_t(x) * 3 + 1] = src[x].g;
            row[size_t(x) * 3 + 2] = src[x].b;
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

}  // namespace vkgen
