// BMP: Windows bitmap files with 1, 4, 8, 16, 24 or 32 bits per pixel,
// uncompressed or with bit-field masks. Every size and offset in the file is
// checked against the bytes actually there.
#include "gdiplus/codecs.h"
#include "gdiplus/pixels.h"

#include <cstring>

namespace vk::gdiplus {

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;
constexpr size_t kFileHeaderSize = 14;

uint16_t le16(const uint8_t* p)
{
    return uint16_t(p[0] | (p[1] << 8));
}

uint32_t le32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

void put16(uint8_t* p, uint16_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

void put32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}

// The value of one masked field scaled to 0..255.
struct Field {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;
    explicit Field(uint32_t m) : mask(m)
    {
        if (!m)
            return;
        while (!((m >> shift) & 1))
            ++shift;
        max = m >> shift;
    }
    uint8_t get(uint32_t v) const { return max ? uint8_t(((v & mask) >> shift) * 255 / max) : 0; }
};

} // namespace

gp::Status decodeBmp(const uint8_t* data, size_t size, std::unique_ptr<Bitmap>& out)
{
    if (size < 2 || data[0] != 'B' || data[1] != 'M')
        return gp::UnknownImageFormat;
    if (size < kFileHeaderSize + 12)
        return gp::InvalidParameter;
    uint32_t offBits = le32(data + 10);
    const uint8_t* ih = data + kFileHeaderSize;
    uint32_t headerSize = le32(ih);
    if (headerSize < 12 || headerSize > size - kFileHeaderSize)
        return gp::InvalidParameter;
    int64_t width, height;
    uint32_t bitCount, compression = kBiRgb, colorsUsed = 0;
    uint32_t masks[4] = {0, 0, 0, 0};
    size_t paletteEntry = 4;
    if (headerSize == 12) {
        width = le16(ih + 4);
        height = int16_t(le16(ih + 6));
        bitCount = le16(ih + 10);
        paletteEntry = 3;
    } else {
        if (headerSize < 40)
            return gp::InvalidParameter;
        width = int32_t(le32(ih + 4));
        height = int32_t(le32(ih + 8));
        if (le16(ih + 12) != 1)
            return gp::InvalidParameter;
        bitCount = le16(ih + 14);
        compression = le32(ih + 16);
        colorsUsed = le32(ih + 32);
        if (headerSize >= 52)
            for (int i = 0; i < (headerSize >= 56 ? 4 : 3); ++i)
                masks[i] = le32(ih + 40 + 4 * i);
    }
    bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (width <= 0 || height <= 0)
        return gp::InvalidParameter;
    if (uint64_t(width) * uint64_t(height) > kMaxPixels)
        return gp::OutOfMemory;
    bool indexed = bitCount == 1 || bitCount == 4 || bitCount == 8;
    if (!indexed && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return gp::InvalidParameter;
    if (compression != kBiRgb && compression != kBiBitfields && compression != kBiAlphaBitfields)
        return gp::NotImplemented;
    if (compression != kBiRgb && bitCount != 16 && bitCount != 32)
        return gp::InvalidParameter;
    size_t afterHeader = kFileHeaderSize + headerSize;
    if (compression != kBiRgb && headerSize == 40) {
        // Masks follow a plain info header.
        size_t count = compression == kBiAlphaBitfields ? 4 : 3;
        if (afterHeader + 4 * count > size)
            return gp::InvalidParameter;
        for (size_t i = 0; i < count; ++i)
            masks[i] = le32(data + afterHeader + 4 * i);
        afterHeader += 4 * count;
    }
    if (compression == kBiRgb) {
        if (bitCount == 16)
            masks[0] = 0x7c00, masks[1] = 0x03e0, masks[2] = 0x001f, masks[3] = 0;
        else if (bitCount == 32)
            masks[0] = 0x00ff0000, masks[1] = 0x0000ff00, masks[2] = 0x000000ff, masks[3] = 0;
    }
    uint32_t palette[256] = {};
    if (indexed) {
        uint32_t maxColors = 1u << bitCount;
        uint32_t count = colorsUsed ? colorsUsed : maxColors;
        if (count > maxColors)
            return gp::InvalidParameter;
        if (afterHeader + size_t(count) * paletteEntry > size)
            return gp::InvalidParameter;
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* e = data + afterHeader + i * paletteEntry;
            palette[i] = 0xff000000u | (uint32_t(e[2]) << 16) | (uint32_t(e[1]) << 8) | e[0];
        }
    }
    uint64_t rowBytes = ((uint64_t(width) * bitCount + 31) / 32) * 4;
    if (offBits < afterHeader || offBits > size || rowBytes * uint64_t(height) > size - offBits)
        return gp::InvalidParameter;

    bool alpha = masks[3] != 0;
    gp::PixelFormat format = bitCount == 24 ? gp::PixelFormat(PixelFormat24bppRGB)
                             : alpha        ? gp::PixelFormat(PixelFormat32bppARGB)
                                            : gp::PixelFormat(PixelFormat32bppRGB);
    gp::Status st = gp::Ok;
    auto bmp = newBitmap(int(width), int(height), format, st);
    if (!bmp)
        return st;
    Field fr(masks[0]), fg(masks[1]), fb(masks[2]), fa(masks[3]);
    for (int64_t y = 0; y < height; ++y) {
        const uint8_t* src = data + offBits + rowBytes * uint64_t(y);
        uint8_t* dst = bmp->row(int(topDown ? y : height - 1 - y));
        if (bitCount == 24) {
            std::memcpy(dst, src, size_t(width) * 3);
            continue;
        }
        auto* d32 = reinterpret_cast<uint32_t*>(dst);
        for (int64_t x = 0; x < width; ++x) {
            uint32_t px;
            if (indexed) {
                uint32_t bitPos = uint32_t(x) * bitCount;
                uint32_t idx = (src[bitPos / 8] >> (8 - bitCount - bitPos % 8)) & ((1u << bitCount) - 1);
                px = palette[idx];
            } else {
                uint32_t v = bitCount == 16 ? le16(src + 2 * x) : le32(src + 4 * x);
                uint32_t a = alpha ? fa.get(v) : 0xff;
                px = (a << 24) | (uint32_t(fr.get(v)) << 16) | (uint32_t(fg.get(v)) << 8) | fb.get(v);
            }
            std::memcpy(&d32[x], &px, 4);
        }
    }
    bmp->rawFormat = gp::ImageFormatBMP;
    out = std::move(bmp);
    return gp::Ok;
}

gp::Status encodeBmp(const Bitmap& bitmap, ByteBuffer& out)
{
    bool alpha = gp::IsAlphaPixelFormat(bitmap.format);
    int bpp = alpha ? 4 : 3;
    gp::PixelFormat rowFormat = alpha ? gp::PixelFormat(PixelFormat32bppARGB) : gp::PixelFormat(PixelFormat24bppRGB);
    uint32_t rowBytes = (uint32_t(bitmap.width) * bpp + 3) & ~3u;
    uint32_t imageBytes = rowBytes * uint32_t(bitmap.height);
    uint8_t header[kFileHeaderSize + 40] = {};
    header[0] = 'B';
    header[1] = 'M';
    put32(header + 2, uint32_t(sizeof header) + imageBytes);
    put32(header + 10, uint32_t(sizeof header));
    uint8_t* ih = header + kFileHeaderSize;
    put32(ih, 40);
    put32(ih + 4, uint32_t(bitmap.width));
    put32(ih + 8, uint32_t(bitmap.height)); // bottom-up rows, as most readers expect
    put16(ih + 12, 1);
    put16(ih + 14, uint16_t(bpp * 8));
    put32(ih + 16, kBiRgb);
    put32(ih + 20, imageBytes);
    put32(ih + 24, 3780); // 96 dpi in pixels per metre
    put32(ih + 28, 3780);
    if (!out.append(header, sizeof header))
        return gp::OutOfMemory;
    std::vector<uint8_t> row(rowBytes, 0);
    for (int y = bitmap.height - 1; y >= 0; --y) {
        convertRow(bitmap.format, bitmap.row(y), rowFormat, row.data(), bitmap.width);
        if (!out.append(row.data(), rowBytes))
            return gp::OutOfMemory;
    }
    return gp::Ok;
}

gp::Status decodePicture(const uint8_t* data, size_t size, std::unique_ptr<Bitmap>& out)
{
    if (!data || size == 0)
        return gp::UnknownImageFormat;
    if (size >= 8 && std::memcmp(data, "\x89PNG\r\n\x1a\n", 8) == 0)
        return decodePng(data, size, out);
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
        return decodeJpeg(data, size, out);
    if (size >= 2 && data[0] == 'B' && data[1] == 'M')
        return decodeBmp(data, size, out);
    return gp::UnknownImageFormat;
}

} // namespace vk::gdiplus
