// GDI+ bitmaps through the flat table, and encoding them to bytes.
#include <velkaro/gfx/bitmap.h>

#include <velkaro/gfx/wide_text.h>

#include <cstddef>
#include <memory>

namespace velkaro::gfx {

namespace {

constexpr int kGuidTextUnits = 39; // {8-4-4-4-12} and the terminator

WideString guidText(const GUID& guid)
{
    WCHAR text[kGuidTextUnits] = {};
    int units = StringFromGUID2(guid, text, kGuidTextUnits);
    return units > 0 ? WideString(text) : WideString();
}

WCHAR upper(WCHAR c)
{
    return c >= 'a' && c <= 'z' ? WCHAR(c - 'a' + 'A') : c;
}

// GUID texts name the same GUID whatever the case of their hex digits.
bool sameGuidText(const WideString& a, const WideString& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i]))
            return false;
    return true;
}

// The encoder for a format, as the text of its CLSID; empty when none.
WideString encoderFor(const WideString& format)
{
    UINT count = 0;
    UINT size = 0;
    if (callFlat(&FlatApi::GdipGetImageEncodersSize, &count, &size) != Gdiplus::Ok || count == 0 || size == 0)
        return {};
    // The codec table is followed by the strings it points to, all in one block.
    auto block = std::make_unique<std::max_align_t[]>((size + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t));
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(block.get());
    if (callFlat(&FlatApi::GdipGetImageEncoders, count, size, codecs) != Gdiplus::Ok)
        return {};
    for (UINT i = 0; i < count; ++i)
        if (sameGuidText(guidText(codecs[i].FormatID), format))
            return guidText(codecs[i].Clsid);
    return {};
}

} // namespace

bool Bitmap::fromFile(const std::string& path, bool icm)
{
    WideString wide = toWide(path);
    Gdiplus::GpBitmap* bitmap = nullptr;
    auto entry = icm ? &FlatApi::GdipCreateBitmapFromFileICM : &FlatApi::GdipCreateBitmapFromFile;
    return adopt(callFlat(entry, wide.c_str(), &bitmap), bitmap);
}

bool Bitmap::fromBytes(std::span<const unsigned char> bytes, bool icm)
{
    IStream* stream = openStream(bytes);
    Gdiplus::GpBitmap* bitmap = nullptr;
    auto entry = icm ? &FlatApi::GdipCreateBitmapFromStreamICM : &FlatApi::GdipCreateBitmapFromStream;
    Gdiplus::Status status = stream ? callFlat(entry, stream, &bitmap) : Gdiplus::OutOfMemory;
    return adoptFromStream(status, bitmap);
}

bool Bitmap::create(int width, int height, Gdiplus::PixelFormat format)
{
    Gdiplus::GpBitmap* bitmap = nullptr;
    return adopt(callFlat(&FlatApi::GdipCreateBitmapFromScan0, width, height, 0, format, nullptr, &bitmap), bitmap);
}

bool Bitmap::fromIcon(HICON icon)
{
    Gdiplus::GpBitmap* bitmap = nullptr;
    return adopt(callFlat(&FlatApi::GdipCreateBitmapFromHICON, icon, &bitmap), bitmap);
}

HBITMAP Bitmap::toHBITMAP(Gdiplus::ARGB background) const
{
    HBITMAP result = nullptr;
    if (callFlat(&FlatApi::GdipCreateHBITMAPFromBitmap, m_bitmap, &result, background) != Gdiplus::Ok)
        return nullptr;
    return result;
}

Gdiplus::ARGB Bitmap::getPixel(int x, int y) const
{
    Gdiplus::ARGB colour = 0;
    return callFlat(&FlatApi::GdipBitmapGetPixel, m_bitmap, x, y, &colour) == Gdiplus::Ok ? colour : 0;
}

bool Bitmap::setPixel(int x, int y, Gdiplus::ARGB colour)
{
    return callFlatOk(&FlatApi::GdipBitmapSetPixel, m_bitmap, x, y, colour);
}

Bytes Bitmap::saveToBytes(const std::string& formatText, const Gdiplus::EncoderParameters* params) const
{
    WideString format;
    if (formatText.empty()) {
        GUID raw{};
        if (callFlat(&FlatApi::GdipGetImageRawFormat, nativeImage(), &raw) != Gdiplus::Ok)
            return {};
        format = guidText(raw);
    } else {
        format = toWide(formatText);
    }
    WideString encoder = encoderFor(format);
    if (encoder.empty())
        return {};
    CLSID clsid{};
    if (CLSIDFromString(encoder.c_str(), &clsid) != S_OK)
        return {};
    MemoryStream out;
    IStream* stream = out.open({}, 0);
    if (!stream)
        return {};
    if (callFlat(&FlatApi::GdipSaveImageToStream, nativeImage(), stream, &clsid, params) != Gdiplus::Ok)
        return {};
    return out.bytes();
}

} // namespace velkaro::gfx
