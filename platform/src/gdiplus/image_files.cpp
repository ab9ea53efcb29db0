// Codec descriptions, and loading and saving pictures through files and
// streams.
#include "gdiplus/codecs.h"
#include "gdiplus/pixels.h"
#include "gdiplus/status.h"

#include "kernel/paths.h"

#include <objbase.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

using namespace Gdiplus;
using namespace vk::gdiplus;

namespace {

VK_GDIPLUS_GUID(kClsidBmp, 0x557cf400, 0x1a04, 0x11d3, 0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e);
VK_GDIPLUS_GUID(kClsidJpeg, 0x557cf401, 0x1a04, 0x11d3, 0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e);
VK_GDIPLUS_GUID(kClsidPng, 0x557cf406, 0x1a04, 0x11d3, 0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e);

const BYTE kBmpSig[] = {'B', 'M'};
const BYTE kBmpMask[] = {0xff, 0xff};
const BYTE kJpegSig[] = {0xff, 0xd8};
const BYTE kJpegMask[] = {0xff, 0xff};
const BYTE kPngSig[] = {0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a};
const BYTE kPngMask[] = {0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff};

constexpr DWORD kCodecFlags = ImageCodecFlagsEncoder | ImageCodecFlagsDecoder | ImageCodecFlagsSupportBitmap |
                              ImageCodecFlagsBuiltin;

const ImageCodecInfo kCodecs[] = {
    {kClsidBmp, ImageFormatBMP, u"Built-in BMP Codec", nullptr, u"BMP", u"*.BMP;*.DIB;*.RLE", u"image/bmp",
     kCodecFlags, 1, 1, sizeof kBmpSig, kBmpSig, kBmpMask},
    {kClsidJpeg, ImageFormatJPEG, u"Built-in JPEG Codec", nullptr, u"JPEG", u"*.JPG;*.JPEG;*.JPE;*.JFIF",
     u"image/jpeg", kCodecFlags, 1, 1, sizeof kJpegSig, kJpegSig, kJpegMask},
    {kClsidPng, ImageFormatPNG, u"Built-in PNG Codec", nullptr, u"PNG", u"*.PNG", u"image/png", kCodecFlags, 1, 1,
     sizeof kPngSig, kPngSig, kPngMask},
};
constexpr UINT kCodecCount = sizeof kCodecs / sizeof kCodecs[0];

size_t u16len(const WCHAR* s)
{
    size_t n = 0;
    while (s && s[n])
        ++n;
    return n;
}

// The codec table with its strings and signatures copied after it, in one
// caller-supplied block, as GDI+ hands it out.
UINT codecBlockSize()
{
    size_t total = sizeof kCodecs;
    for (const ImageCodecInfo& c : kCodecs) {
        for (const WCHAR* s : {c.CodecName, c.FormatDescription, c.FilenameExtension, c.MimeType})
            total += (u16len(s) + 1) * sizeof(WCHAR);
        total += 2 * c.SigSize;
    }
    return UINT(total);
}

void fillCodecBlock(ImageCodecInfo* out)
{
    auto* tail = reinterpret_cast<uint8_t*>(out + kCodecCount);
    auto copyString = [&](const WCHAR* s) -> const WCHAR* {
        if (!s)
            return nullptr;
        size_t bytes = (u16len(s) + 1) * sizeof(WCHAR);
        std::memcpy(tail, s, bytes);
        auto* r = reinterpret_cast<const WCHAR*>(tail);
        tail += bytes;
        return r;
    };
    auto copyBytes = [&](const BYTE* b, size_t n) -> const BYTE* {
        std::memcpy(tail, b, n);
        const BYTE* r = tail;
        tail += n;
        return r;
    };
    for (UINT i = 0; i < kCodecCount; ++i) {
        out[i] = kCodecs[i];
        out[i].CodecName = copyString(kCodecs[i].CodecName);
        out[i].FormatDescription = copyString(kCodecs[i].FormatDescription);
        out[i].FilenameExtension = copyString(kCodecs[i].FilenameExtension);
        out[i].MimeType = copyString(kCodecs[i].MimeType);
        out[i].SigPattern = copyBytes(kCodecs[i].SigPattern, kCodecs[i].SigSize);
        out[i].SigMask = copyBytes(kCodecs[i].SigMask, kCodecs[i].SigSize);
    }
}

// A UTF-16 Windows-style path as a host path, through the kernel's mapping.
std::string hostPath(const WCHAR* filename)
{
    std::string path = toUtf8(filename, -1);
    std::string host = vk::kernel::toHostPath(path.c_str());
    return host.empty() ? path : host;
}

// The rest of a stream from its current position.
Status readStream(IStream* stream, std::vector<uint8_t>& bytes)
{
    uint8_t chunk[65536];
    for (;;) {
        ULONG got = 0;
        HRESULT hr = stream->Read(chunk, sizeof chunk, &got);
        if (FAILED(hr))
            return Win32Error;
        if (bytes.size() + got > kMaxPixels * 4 + (1u << 20))
            return OutOfMemory;
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (got < sizeof chunk)
            return Ok;
    }
}

Status loadStream(IStream* stream, void** out)
{
    if (!stream || !out)
        return refuse(InvalidParameter);
    *out = nullptr;
    if (!started())
        return refuse(GdiplusNotInitialized);
    std::vector<uint8_t> bytes;
    Status st = readStream(stream, bytes);
    if (st != Ok)
        return refuse(st);
    std::unique_ptr<Bitmap> bmp;
    st = decodePicture(bytes.data(), bytes.size(), bmp);
    if (st != Ok)
        return refuse(st);
    void* h = publish(std::move(bmp));
    if (!h)
        return refuse(OutOfMemory);
    *out = h;
    return Ok;
}

Status readWholeFile(const std::string& path, std::vector<uint8_t>& bytes)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return errno == EACCES ? AccessDenied : FileNotFound;
    uint8_t chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
        // Nothing larger than the largest picture's worth of bytes is read.
        if (bytes.size() + n > kMaxPixels * 4 + (1u << 20)) {
            std::fclose(f);
            return OutOfMemory;
        }
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    bool failed = std::ferror(f);
    std::fclose(f);
    return failed ? Win32Error : Ok;
}

Status loadFile(const WCHAR* filename, void** out)
{
    if (!filename || !out)
        return refuse(InvalidParameter);
    *out = nullptr;
    if (!started())
        return refuse(GdiplusNotInitialized);
    std::vector<uint8_t> bytes;
    Status st = readWholeFile(hostPath(filename), bytes);
    if (st != Ok)
        return refuse(st);
    std::unique_ptr<Bitmap> bmp;
    st = decodePicture(bytes.data(), bytes.size(), bmp);
    if (st != Ok)
        return refuse(st);
    void* h = publish(std::move(bmp));
    if (!h)
        return refuse(OutOfMemory);
    *out = h;
    return Ok;
}

Status encodeWith(const Bitmap& b, const CLSID& clsid, const EncoderParameters* params, ByteBuffer& out)
{
    if (sameGuid(clsid, kClsidPng))
        return encodePng(b, out);
    if (sameGuid(clsid, kClsidBmp))
        return encodeBmp(b, out);
    if (sameGuid(clsid, kClsidJpeg)) {
        int quality = 90;
        if (params) {
            for (UINT i = 0; i < params->Count; ++i) {
                const EncoderParameter& p = params->Parameter[i];
                if (sameGuid(p.Guid, EncoderQuality)) {
                    if (p.Type != EncoderParameterValueTypeLong || p.NumberOfValues != 1 || !p.Value)
                        return InvalidParameter;
                    ULONG q = *static_cast<const ULONG*>(p.Value);
                    if (q > 100)
                        return InvalidParameter;
                    quality = int(q);
                }
            }
        }
        return encodeJpeg(b, quality, out);
    }
    return FileNotFound; // GDI+ answers an unknown encoder so
}

} // namespace

extern "C" {

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetImageEncodersSize(UINT* numEncoders, UINT* size)
{
    VK_GDIP_LOCK();
    if (!numEncoders || !size)
        return refuse(InvalidParameter);
    *numEncoders = kCodecCount;
    *size = codecBlockSize();
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetImageEncoders(UINT numEncoders, UINT size, ImageCodecInfo* encoders)
{
    VK_GDIP_LOCK();
    if (!encoders || numEncoders != kCodecCount || size != codecBlockSize())
        return refuse(numEncoders != kCodecCount || !encoders ? InvalidParameter : InsufficientBuffer);
    fillCodecBlock(encoders);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetImageDecodersSize(UINT* numDecoders, UINT* size)
{
    return GdipGetImageEncodersSize(numDecoders, size);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetImageDecoders(UINT numDecoders, UINT size, ImageCodecInfo* decoders)
{
    return GdipGetImageEncoders(numDecoders, size, decoders);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipLoadImageFromFile(GDIPCONST WCHAR* filename, GpImage** image)
{
    VK_GDIP_LOCK();
    void* h = nullptr;
    if (!image)
        return refuse(InvalidParameter);
    Status st = loadFile(filename, &h);
    *image = static_cast<GpImage*>(h);
    return st;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipLoadImageFromFileICM(GDIPCONST WCHAR* filename, GpImage** image)
{
    return GdipLoadImageFromFile(filename, image);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateBitmapFromFile(GDIPCONST WCHAR* filename, GpBitmap** bitmap)
{
    VK_GDIP_LOCK();
    void* h = nullptr;
    if (!bitmap)
        return refuse(InvalidParameter);
    Status st = loadFile(filename, &h);
    *bitmap = static_cast<GpBitmap*>(h);
    return st;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateBitmapFromFileICM(GDIPCONST WCHAR* filename, GpBitmap** bitmap)
{
    return GdipCreateBitmapFromFile(filename, bitmap);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSaveImageToFile(GpImage* image, GDIPCONST WCHAR* filename,
                                                             GDIPCONST CLSID* clsidEncoder,
                                                             GDIPCONST EncoderParameters* encoderParams)
{
    VK_GDIP_LOCK();
    Bitmap* b = lookupAs<Bitmap>(image);
    if (!b || !filename || !clsidEncoder)
        return refuse(InvalidParameter);
    if (b->lock.active)
        return refuse(WrongState);
    ByteBuffer bytes;
    Status st = encodeWith(*b, *clsidEncoder, encoderParams, bytes);
    if (st != Ok)
        return refuse(st);
    FILE* f = std::fopen(hostPath(filename).c_str(), "wb");
    if (!f)
        return refuse(errno == EACCES ? AccessDenied : Win32Error);
    bool ok = std::fwrite(bytes.data, 1, bytes.size, f) == bytes.size;
    ok = std::fclose(f) == 0 && ok;
    return ok ? Ok : refuse(Win32Error);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSaveImageToStream(GpImage* image, IStream* stream,
                                                               GDIPCONST CLSID* clsidEncoder,
                                                               GDIPCONST EncoderParameters* encoderParams)
{
    VK_GDIP_LOCK();
    Bitmap* b = lookupAs<Bitmap>(image);
    if (!b || !stream || !clsidEncoder)
        return refuse(InvalidParameter);
    if (b->lock.active)
        return refuse(WrongState);
    ByteBuffer bytes;
    Status st = encodeWith(*b, *clsidEncoder, encoderParams, bytes);
    if (st != Ok)
        return refuse(st);
    size_t done = 0;
    while (done < bytes.size) {
        ULONG written = 0;
        ULONG chunk = ULONG(std::min<size_t>(bytes.size - done, 1u << 30));
        if (FAILED(stream->Write(bytes.data + done, chunk, &written)) || written == 0)
            return refuse(Win32Error);
        done += written;
    }
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipLoadImageFromStream(IStream* stream, GpImage** image)
{
    VK_GDIP_LOCK();
    void* h = nullptr;
    if (!image)
        return refuse(InvalidParameter);
    Status st = loadStream(stream, &h);
    *image = static_cast<GpImage*>(h);
    return st;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipLoadImageFromStreamICM(IStream* stream, GpImage** image)
{
    return GdipLoadImageFromStream(stream, image);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateBitmapFromStream(IStream* stream, GpBitmap** bitmap)
{
    VK_GDIP_LOCK();
    void* h = nullptr;
    if (!bitmap)
        return refuse(InvalidParameter);
    Status st = loadStream(stream, &h);
    *bitmap = static_cast<GpBitmap*>(h);
    return st;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateBitmapFromStreamICM(IStream* stream, GpBitmap** bitmap)
{
    return GdipCreateBitmapFromStream(stream, bitmap);
}

// A top-down 32-bit DIB section of the bitmap's size; bits receives its pixels.
static HBITMAP createDib(int width, int height, uint32_t** bits)
{
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* p = nullptr;
    HBITMAP hbm = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
    *bits = static_cast<uint32_t*>(p);
    return hbm;
}

// The pixels of a GDI bitmap as top-down 32-bit words; false when unreadable.
static bool readDib(HBITMAP hbm, int& width, int& height, std::vector<uint32_t>& pixels)
{
    BITMAP info{};
    if (!hbm || GetObjectA(hbm, sizeof info, &info) == 0 || info.bmWidth <= 0 || info.bmHeight <= 0)
        return false;
    if (uint64_t(info.bmWidth) * uint64_t(info.bmHeight) > kMaxPixels)
        return false;
    width = info.bmWidth;
    height = info.bmHeight;
    pixels.assign(size_t(width) * size_t(height), 0);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC dc = CreateCompatibleDC(nullptr);
    int lines = GetDIBits(dc, hbm, 0, UINT(height), pixels.data(), &bi, DIB_RGB_COLORS);
    DeleteDC(dc);
    return lines == height;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateBitmapFromHICON(HICON hicon, GpBitmap** bitmap)
{
    VK_GDIP_LOCK();
    if (!hicon || !bitmap)
        return refuse(InvalidParameter);
    *bitmap = nullptr;
    ICONINFO ii{};
    if (!GetIconInfo(hicon, &ii))
        return refuse(InvalidParameter);
    int cw = 0, ch = 0, mw = 0, mh = 0;
    std::vector<uint32_t> color, mask;
    bool haveColor = readDib(ii.hbmColor, cw, ch, color);
    bool haveMask = readDib(ii.hbmMask, mw, mh, mask);
    if (ii.hbmColor)
        DeleteObject(ii.hbmColor);
    if (ii.hbmMask)
        DeleteObject(ii.hbmMask);
    if (!haveMask && !haveColor)
        return refuse(InvalidParameter);
    // A monochrome icon keeps its AND mask over its XOR image in one bitmap.
    int w = haveColor ? cw : mw, h = haveColor ? ch : mh / 2;
    if (w <= 0 || h <= 0)
        return refuse(InvalidParameter);
    Status st = Ok;
    auto bmp = newBitmap(w, h, PixelFormat32bppARGB, st);
    if (!bmp)
        return refuse(st);
    bool anyAlpha = false;
    if (haveColor)
        for (uint32_t p : color)
            anyAlpha |= (p >> 24) != 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t px;
            bool transparent = haveMask && y < mh && x < mw && (mask[size_t(y) * mw + x] & 0xffffff) != 0;
            if (haveColor) {
                px = color[size_t(y) * w + x];
                if (!anyAlpha)
                    px = transparent ? 0 : (px | 0xff000000u);
            } else {
                uint32_t xorPx = mask[size_t(y + h) * mw + x] & 0xffffff;
                px = transparent ? 0 : (0xff000000u | xorPx);
            }
            bmp->setArgb(x, y, px);
        }
    void* hnd = publish(std::move(bmp));
    if (!hnd)
        return refuse(OutOfMemory);
    *bitmap = static_cast<GpBitmap*>(hnd);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(HBITMAP hbm, HPALETTE hpal, GpBitmap** bitmap)
{
    VK_GDIP_LOCK();
    if (!hbm || !bitmap)
        return refuse(InvalidParameter);
    *bitmap = nullptr;
    int w = 0, h = 0;
    std::vector<uint32_t> pixels;
    if (!readDib(hbm, w, h, pixels))
        return refuse(InvalidParameter);
    Status st = Ok;
    // GDI ignores alpha: the bitmap comes out as RGB, as in GDI+.
    auto bmp = newBitmap(w, h, PixelFormat32bppRGB, st);
    if (!bmp)
        return refuse(st);
    for (int y = 0; y < h; ++y)
        std::memcpy(bmp->row(y), &pixels[size_t(y) * w], size_t(w) * 4);
    void* hnd = publish(std::move(bmp));
    if (!hnd)
        return refuse(OutOfMemory);
    *bitmap = static_cast<GpBitmap*>(hnd);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateHBITMAPFromBitmap(GpBitmap* bitmap, HBITMAP* hbmReturn, ARGB background)
{
    VK_GDIP_LOCK();
    Bitmap* b = lookupAs<Bitmap>(bitmap);
    if (!b || !hbmReturn)
        return refuse(InvalidParameter);
    *hbmReturn = nullptr;
    if (b->lock.active)
        return refuse(WrongState);
    uint32_t* bits = nullptr;
    HBITMAP hbm = createDib(b->width, b->height, &bits);
    if (!hbm || !bits)
        return refuse(OutOfMemory);
    // The picture composed over the background, premultiplied as a DIB for AlphaBlend.
    uint32_t bg = premultiply(background);
    for (int y = 0; y < b->height; ++y)
        for (int x = 0; x < b->width; ++x) {
            uint32_t s = premultiply(b->getArgb(x, y));
            uint32_t inv = 255 - (s >> 24), out = 0;
            for (int sh = 0; sh < 32; sh += 8) {
                uint32_t v = ((s >> sh) & 0xff) + (((bg >> sh) & 0xff) * inv + 127) / 255;
                out |= std::min<uint32_t>(v, 255) << sh;
            }
            bits[size_t(y) * b->width + x] = out;
        }
    *hbmReturn = hbm;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateBitmapFromGraphics(INT width, INT height, GpGraphics* target, GpBitmap** bitmap)
{
    VK_GDIP_LOCK();
    if (!lookupAs<Graphics>(target) || !bitmap)
        return refuse(InvalidParameter);
    return GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppPARGB, nullptr, bitmap);
}

} // extern "C"
