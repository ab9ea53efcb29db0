// A stream on a block of global memory: what GDI+ reads pictures from and
// saves them into. The stream does not free the block; close() does.
#ifndef VELKARO_GFX_MEMORY_STREAM_H
#define VELKARO_GFX_MEMORY_STREAM_H

#include <windows.h>
#include <objbase.h>

#include <cstddef>
#include <span>
#include <vector>

namespace velkaro::gfx {

using Bytes = std::vector<unsigned char>;

class MemoryStream {
public:
    MemoryStream() = default;
    ~MemoryStream() { close(); }
    MemoryStream(const MemoryStream&) = delete;
    MemoryStream& operator=(const MemoryStream&) = delete;

    // A stream on a fresh block holding a copy of the bytes; count (when
    // given) sizes the block, zero-filled past the bytes. Closes the stream
    // held first. Null when the block or the stream cannot be made.
    IStream* open(std::span<const unsigned char> bytes);
    IStream* open(std::span<const unsigned char> bytes, size_t count);
    void close();
    // Takes over a stream on global memory (and its block); closes first.
    // False, holding nothing, when the stream has no block.
    bool attach(IStream* stream);

    IStream* stream() const { return m_stream; }
    HGLOBAL block() const { return m_block; }
    size_t size() const;
    // A copy of what the stream holds.
    Bytes bytes() const;

private:
    IStream* m_stream = nullptr;
    HGLOBAL m_block = nullptr;
};

} // namespace velkaro::gfx

#endif
