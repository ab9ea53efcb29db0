// Canvas bridging, fixed-seed randomness and the blur the scenes use.
#include "picture.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace vkgen {

Canvas::Canvas(int width, int height)
    : m_width(width), m_height(height),
      m_surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      m_cr(cairo_create(m_surface))
{
    if (cairo_status(m_cr) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cairo: cannot make a canvas");
}

Canvas::~Canvas()
{
    cairo_destroy(m_cr);
    cairo_surface_destroy(m_surface);
}

Picture Canvas::toPicture()
{
    cairo_surface_flush(m_surface);
    const unsigned char* data = cairo_image_surface_get_data(m_surface);
    int stride = cairo_image_surface_get_stride(m_surface);
    Picture out(m_width, m_height);
    for (int y = 0; y < m_height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + size_t(y) * stride);
        for (int x = 0; x < m_width; ++x) {
            std::uint32_t p = row[x];
            unsigned a = p >> 24;
            Rgba& o = out.at(x, y);
            o.a = std::uint8_t(a);
            if (a == 0) {
                o.r = o.g = o.b = 0;
                continue;
            }
            auto un = [a](unsigned c) { return std::uint8_t(std::min(255u, (c * 255 + a / 2) / a)); };
            o.r = un((p >> 16) & 0xff);
            o.g = un((p >> 8) & 0xff);
            o.b = un(p & 0xff);
        }
    }
    return out;
}

FloatPicture Canvas::toFloat()
{
    cairo_surface_flush(m_surface);
    const unsigned char* data = cairo_image_surface_get_data(m_surface);
    int stride = cairo_image_surface_get_stride(m_surface);
    FloatPicture out(m_width, m_height);
    for (int y = 0; y < m_height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + size_t(y) * stride);
        for (int x = 0; x < m_width; ++x) {
            std::uint32_t p = row[x];
            size_t i = out.index(x, y);
            out.r[i] = float((p >> 16) & 0xff) / 255.0f;
            out.g[i] = float((p >> 8) & 0xff) / 255.0f;
            out.b[i] = float(p & 0xff) / 255.0f;
        }
    }
    return out;
}

static std::uint8_t toByte(float v)
{
    float c = std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f;
    return std::uint8_t(c);
}

void Canvas::fromFloat(const FloatPicture& picture)
{
    cairo_surface_flush(m_surface);
    unsigned char* data = cairo_image_surface_get_data(m_surface);
    int stride = cairo_image_surface_get_stride(m_surface);
    for (int y = 0; y < m_height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + size_t(y) * stride);
        for (int x = 0; x < m_width; ++x) {
            size_t i = picture.index(x, y);
            row[x] = 0xff000000u | std::uint32_t(toByte(picture.r[i])) << 16 |
                     std::uint32_t(toByte(picture.g[i])) << 8 | toByte(picture.b[i]);
        }
    }
    cairo_surface_mark_dirty(m_surface);
}

std::uint32_t Random::next()
{
    // PCG-XSH-RR.
    std::uint64_t old = m_state;
    m_state = old * 6364136223846793005ULL + 1442695040888963407ULL;
    auto shifted = std::uint32_t(((old >> 18) ^ old) >> 27);
    auto rot = unsigned(old >> 59);
    return (shifted >> rot) | (shifted << ((32 - rot) & 31));
}

static void blurPlane(std::vector<float>& plane, int w, int h, const std::vector<float>& kernel)
{
    int radius = int(kernel.size() / 2);
    std::vector<float> tmp(plane.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float sum = 0;
            for (int k = -radius; k <= radius; ++k) {
                int sx = std::clamp(x + k, 0, w - 1);
                sum += kernel[size_t(k + radius)] * plane[size_t(y) * w + sx];
            }
            tmp[size_t(y) * w + x] = sum;
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float sum = 0;
            for (int k = -radius; k <= radius; ++k) {
                int sy = std::clamp(y + k, 0, h - 1);
                sum += kernel[size_t(k + radius)] * tmp[size_t(sy) * w + x];
            }
            plane[size_t(y) * w + x] = sum;
        }
}

void gaussianBlur(FloatPicture& picture, double sigma)
{
    int radius = int(std::ceil(sigma * 3));
    std::vector<float> kernel(size_t(radius) * 2 + 1);
    double total = 0;
    for (int k = -radius; k <= radius; ++k)
        total += kernel[size_t(k + radius)] = float(std::exp(-(k * k) / (2 * sigma * sigma)));
    for (float& v : kernel)
        v = float(v / total);
    blurPlane(picture.r, picture.width, picture.height, kernel);
    blurPlane(picture.g, picture.width, picture.height, kernel);
    blurPlane(picture.b, picture.width, picture.height, kernel);
}

FloatPicture downsample(const FloatPicture& picture, int factor)
{
    FloatPicture out(picture.width / factor, picture.height / factor);
    float scale = 1.0f / float(factor * factor);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            float r = 0, g = 0, b = 0;
            for (int dy = 0; dy < factor; ++dy)
                for (int dx = 0; dx < factor; ++dx) {
                    size_t i = picture.index(x * factor + dx, y * factor + dy);
                    r += picture.r[i];
                    g += picture.g[i];
                    b += picture.b[i];
                }
            size_t o = out.index(x, y);
            out.r[o] = r * scale;
            out.g[o] = g * scale;
            out.b[o] = b * scale;
        }
    return out;
}

Picture toOpaquePicture(const FloatPicture& picture)
{
    Picture out(picture.width, picture.height);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            size_t i = picture.index(x, y);
            out.at(x, y) = {toByte(picture.r[i]), toByte(picture.g[i]), toByte(picture.b[i]), 255};
        }
    return out;
}

Picture fromArt(const std::vector<std::string>& rows, const std::vector<LegendEntry>& legend)
{
    int height = int(rows.size());
    int width = height ? int(rows[0].size()) : 0;
    Picture out(width, height);
    for (int y = 0; y < height; ++y) {
        if (int(rows[size_t(y)].size()) != width)
            throw std::runtime_error("art rows differ in length");
        for (int x = 0; x < width; ++x) {
            char key = rows[size_t(y)][size_t(x)];
            auto it = std::find_if(legend.begin(), legend.end(), [key](const LegendEntry& e) { return e.key == key; });
            if (it == legend.end())
                throw std::runtime_error(std::string("art uses an unknown key: ") + key);
            out.at(x, y) = it->colour;
        }
    }
    return out;
}

}  // namespace vkgen
