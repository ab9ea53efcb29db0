// The contact sheet: every test that draws something adds its canvas; the
// sheet is written to VK_TEST_OUTPUT_DIR/gdi_contact_sheet.png at exit.
#include "gdi_test_util.h"

#include <dlfcn.h>
#include <png.h>

#include <algorithm>

namespace {

struct Entry {
    std::string label;
    int w, h;
    std::vector<uint32_t> px;
};

// libpng is already loaded by the layer; resolve its simplified writer.
using WriteFn = int (*)(png_imagep, const char*, int, const void*, png_int_32, const void*);

struct Sheet {
    std::vector<Entry> entries;
    ~Sheet()
    {
        if (entries.empty())
            return;
        const int gap = 8;
        int width = gap, height = 0, rowH = 0, x = gap, y = gap;
        const int maxW = 900;
        struct Place {
            int x, y;
        };
        std::vector<Place> places;
        for (const Entry& e : entries) {
            if (x + e.w + gap > maxW && x > gap) {
                y += rowH + gap;
                x = gap;
                rowH = 0;
            }
            places.push_back(Place{x, y});
            x += e.w + gap;
            width = std::max(width, x);
            rowH = std::max(rowH, e.h);
        }
        height = y + rowH + gap;
        std::vector<uint32_t> img(size_t(width) * size_t(height), 0xFF808080u);
        for (size_t i = 0; i < entries.size(); ++i)
            for (int yy = 0; yy < entries[i].h; ++yy)
                for (int xx = 0; xx < entries[i].w; ++xx)
                    img[size_t(places[i].y + yy) * size_t(width) + size_t(places[i].x + xx)] =
                        entries[i].px[size_t(yy) * size_t(entries[i].w) + size_t(xx)] | 0xFF000000u;
        void* lib = dlopen("libpng16.so.16", RTLD_NOW | RTLD_NOLOAD);
        if (!lib)
            lib = dlopen("libpng16.so.16", RTLD_NOW);
        auto write = lib ? reinterpret_cast<WriteFn>(dlsym(lib, "png_image_write_to_file")) : nullptr;
        if (!write)
            return;
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        image.width = png_uint_32(width);
        image.height = png_uint_32(height);
        image.format = PNG_FORMAT_BGRA;
        std::string path = std::string(VK_TEST_OUTPUT_DIR) + "/gdi_contact_sheet.png";
        write(&image, path.c_str(), 0, img.data(), width * 4, nullptr);
    }
};

Sheet& sheet()
{
    static Sheet s;
    return s;
}

} // namespace

void addToContactSheet(const std::string& label, const Canvas& c, int scale)
{
    Entry e{label, c.width() * scale, c.height() * scale, {}};
    e.px.resize(size_t(e.w) * size_t(e.h));
    for (int y = 0; y < e.h; ++y)
        for (int x = 0; x < e.w; ++x)
            e.px[size_t(y) * size_t(e.w) + size_t(x)] = c.px(x / scale, y / scale);
    sheet().entries.push_back(std::move(e));
}
