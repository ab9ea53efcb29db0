// Picture decoders and encoders (PNG, JPEG, BMP) working on memory.
// Decoders validate everything they read: a bad picture gives a status and
// leaves nothing allocated.
#pragma once

#include "gdiplus/objects.h"

#include <cstdint>
#include <vector>

namespace vk::gdiplus {

// Owned bytes from malloc, so that C libraries can grow them.
struct ByteBuffer {
    uint8_t* data = nullptr;
    size_t size = 0;
    size_t capacity = 0;
    ByteBuffer() = default;
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;
    ~ByteBuffer();
    bool append(const void* bytes, size_t count);
};

gp::Status decodePng(const uint8_t* data, size_t size, std::unique_ptr<Bitmap>& out);
gp::Status decodeJpeg(const uint8_t* data, size_t size, std::unique_ptr<Bitmap>& out);
gp::Status decodeBmp(const uint8_t* data, size_t size, std::unique_ptr<Bitmap>& out);
// Recognises the format by its signature.
gp::Status decodePicture(const uint8_t* data, size_t size, std::unique_ptr<Bitmap>& out);

gp::Status encodePng(const Bitmap& bitmap, ByteBuffer& out);
gp::Status encodeJpeg(const Bitmap& bitmap, int quality, ByteBuffer& out);
gp::Status encodeBmp(const Bitmap& bitmap, ByteBuffer& out);

} // namespace vk::gdiplus
