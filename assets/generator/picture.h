// Pictures as the generator builds them: straight-alpha RGBA pixels, float
// RGB planes for the photographic scenes, and a Cairo canvas to draw on.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vkgen {

struct Rgba {
    std::uint8_t r, g, b, a;
    bool operator==(const Rgba&) const = default;
};

// Straight (not premultiplied) alpha, top row first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;

    Picture(int w, int h, Rgba fill = {0, 0, 0, 0}) : width(w), height(h), pixels(size_t(w) * h, fill) {}
    Rgba& at(int x, int y) { return pixels[size_t(y) * width + x]; }
    const Rgba& at(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

// Linear-light is not needed here: these planes hold display values 0..1.
struct FloatPicture {
    int width = 0;
    int height = 0;
    std::vector<float> r, g, b;

    FloatPicture(int w, int h) : width(w), height(h), r(size_t(w) * h), g(size_t(w) * h), b(size_t(w) * h) {}
    size_t index(int x, int y) const { return size_t(y) * width + x; }
};

// Owns an ARGB32 image surface and its context.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return m_cr; }
    int width() const { return m_width; }
    int height() const { return m_height; }

    // Un-premultiplies into straight alpha.
    Picture toPicture();
    // Drops alpha (the surface is expected to be opaque).
    FloatPicture toFloat();
    // Replaces the surface with opaque pixels.
    void fromFloat(const FloatPicture& picture);

private:
    int m_width;
    int m_height;
    cairo_surface_t* m_surface;
    cairo_t* m_cr;
};

// A small fixed-seed generator: the standard library's distributions differ
// between implementations, and the files must not.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed * 2 + 1) {}
    std::uint32_t next();
    // Uniform in [0, 1).
    double unit() { return next() / 4294967296.0; }
    double range(double lo, double hi) { return lo + (hi - lo) * unit(); }

private:
    std::uint64_t m_state;
};

void gaussianBlur(FloatPicture& picture, double sigma);
// Box-averages factor x factor blocks.
FloatPicture downsample(const FloatPicture& picture, int factor);
Picture toOpaquePicture(const FloatPicture& picture);

bool writePng(const std::string& path, const Picture& picture);
bool writeJpeg(const std::string& path, const Picture& picture, int quality);

// Character art: each character of rows maps to a colour through legend.
struct LegendEntry {
    char key;
    Rgba colour;
};
Picture fromArt(const std::vector<std::string>& rows, const std::vector<LegendEntry>& legend);

}  // namespace vkgen
