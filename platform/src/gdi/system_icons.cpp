// The system icons (IDI_*), drawn from simple shapes at 32 x 32 with
// anti-aliased edges, in the colours of the classic set.
#include "gdi/icon_object.h"

#include <cmath>
#include <functional>
#include <map>

namespace vk::gdi {

namespace {

constexpr int kSize = 32;
constexpr int kSamples = 4;

// Colour of a point of the icon (0 alpha where nothing is).
using Shader = std::function<uint32_t(double x, double y)>;

Picture render(const Shader& shade)
{
    Picture p;
    p.width = p.height = kSize;
    p.pixels.resize(size_t(kSize * kSize));
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            double a = 0, r = 0, g = 0, b = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx) {
                    uint32_t c = shade(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples);
                    double ca = (c >> 24) / 255.0;
                    a += ca;
                    r += ((c >> 16) & 0xFF) * ca;
                    g += ((c >> 8) & 0xFF) * ca;
                    b += (c & 0xFF) * ca;
                }
            double n = kSamples * kSamples;
            uint32_t out = 0;
            if (a > 0)
                out = (uint32_t(a / n * 255 + 0.5) << 24) | (uint32_t(r / a + 0.5) << 16) | (uint32_t(g / a + 0.5) << 8) |
                      uint32_t(b / a + 0.5);
            p.pixels[size_t(y * kSize + x)] = out;
        }
    return p;
}

bool inCircle(double x, double y, double cx, double cy, double r) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; }
bool inBox(double x, double y, double l, double t, double r, double b) { return x >= l && x < r && y >= t && y < b; }

uint32_t hand(double x, double y)
{
    if (!inCircle(x, y, 16, 16, 14.5))
        return 0;
    if (!inCircle(x, y, 16, 16, 13.5))
        return 0xFF800000;
    // A white X across the red disc.
    double u = x - 16, v = y - 16;
    if (std::fabs(u) < 7.5 && std::fabs(v) < 7.5 && (std::fabs(u - v) < 2.6 || std::fabs(u + v) < 2.6))
        return 0xFFFFFFFF;
    return 0xFFFF0000;
}

uint32_t bubble(double x, double y, uint32_t glyph, const std::function<bool(double, double)>& mark)
{
    if (!inCircle(x, y, 16, 15, 14.5))
        return 0;
    if (!inCircle(x, y, 16, 15, 13.5))
        return 0xFF000080;
    return mark(x, y) ? glyph : 0xFFFFFFFF;
}

uint32_t question(double x, double y)
{
    return bubble(x, y, 0xFF0000FF, [](double x, double y) {
        bool arc = inCircle(x, y, 16, 11, 6) && !inCircle(x, y, 16, 11, 3.2) && !(y > 11 && x < 16);
        bool stem = inBox(x, y, 14.5, 15, 17.5, 20);
        bool dot = inBox(x, y, 14.5, 22, 17.5, 25);
        return arc || stem || dot;
    });
}

uint32_t asterisk(double x, double y)
{
    return bubble(x, y, 0xFF0000FF, [](double x, double y) {
        return inBox(x, y, 14.5, 6, 17.5, 9) || inBox(x, y, 14.5, 12, 17.5, 24) || inBox(x, y, 12.5, 12, 17.5, 14) ||
               inBox(x, y, 12.5, 22, 19.5, 24);
    });
}

uint32_t exclamation(double x, double y)
{
    // A yellow warning triangle with a black border and mark.
    double top = 2, bottom = 29, half = (y - top) * 15 / (bottom - top);
    if (y < top || y > bottom || std::fabs(x - 16) > half)
        return 0;
    if (y > bottom - 1.2 || std::fabs(x - 16) > half - 1.4)
        return 0xFF000000;
    if (inBox(x, y, 14.5, 10, 17.5, 21) || inBox(x, y, 14.5, 23, 17.5, 26))
        return 0xFF000000;
    return 0xFFFFFF00;
}

uint32_t application(double x, double y)
{
    if (!inBox(x, y, 2, 4, 30, 28))
        return 0;
    if (!inBox(x, y, 3, 5, 29, 27))
        return 0xFF000000;
    if (y < 9)
        return 0xFF0A246A;
    return 0xFFFFFFFF;
}

uint32_t winLogo(double x, double y)
{
    if (inBox(x, y, 3, 3, 15, 15)) return 0xFFFF0000;
    if (inBox(x, y, 17, 3, 29, 15)) return 0xFF00A000;
    if (inBox(x, y, 3, 17, 15, 29)) return 0xFF0000FF;
    if (inBox(x, y, 17, 17, 29, 29)) return 0xFFFFC000;
    return 0;
}

} // namespace

const Picture* systemIconPicture(int id)
{
    static std::map<int, Picture> cache;
    auto it = cache.find(id);
    if (it != cache.end())
        return &it->second;
    Shader s;
    switch (id) {
    case 32512: s = application; break;
    case 32513: s = hand; break;
    case 32514: s = question; break;
    case 32515: s = exclamation; break;
    case 32516: s = asterisk; break;
    case 32517: s = winLogo; break;
    default: return nullptr;
    }
    return &(cache[id] = render(s));
}

} // namespace vk::gdi
