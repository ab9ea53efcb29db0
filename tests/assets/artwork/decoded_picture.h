// Test helpers: decode the embedded PNG and JPEG files with libpng and
// libjpeg directly, and write PNG files for people to look at.
#pragma once

#include <velkaro/assets.h>

#include <cstdint>
#include <string>
#include <vector>

namespace assets_test {

struct Pixel {
    std::uint8_t r, g, b, a;
    bool operator==(const Pixel&) const = default;
};

struct DecodedPicture {
    bool ok = false;
    int width = 0;
    int height = 0;
    bool fileHasAlpha = false;  // what the file itself stores
    int fileChannels = 0;
    std::vector<Pixel> pixels;  // straight alpha, top row first

    const Pixel& at(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

DecodedPicture decodePng(velkaro::assets::Blob blob);
DecodedPicture decodeJpeg(velkaro::assets::Blob blob);

// A canvas the tests compose pictures on.
struct Sheet {
    int width, height;
    std::vector<Pixel> pixels;
    Sheet(int w, int h, Pixel fill) : width(w), height(h), pixels(size_t(w) * h, fill) {}
    Pixel& at(int x, int y) { return pixels[size_t(y) * width + x]; }
    void checkerboard(int x, int y, int w, int h, int cell);
    // Blends picture over the sheet, scaled up by an integer factor.
    void place(const DecodedPicture& picture, int x, int y, int scale);
};

bool writePng(const std::string& path, int width, int height, const std::vector<Pixel>& pixels);

std::vector<unsigned char> readFile(const std::string& path);

}  // namespace assets_test
