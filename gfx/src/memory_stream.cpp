// Streams on global memory for the picture wrappers.
#include <velkaro/gfx/memory_stream.h>

#include <algorithm>
#include <cstring>

namespace velkaro::gfx {

IStream* MemoryStream::open(std::span<const unsigned char> bytes)
{
    return open(bytes, bytes.size());
}

IStream* MemoryStream::open(std::span<const unsigned char> bytes, size_t count)
{
    close();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, count);
    if (!block)
        return nullptr;
    IStream* stream = nullptr;
    if (CreateStreamOnHGlobal(block, FALSE, &stream) != S_OK || !stream) {
        GlobalFree(block);
        return nullptr;
    }
    size_t copied = std::min(count, bytes.size());
    if (copied > 0) {
        if (void* p = GlobalLock(block)) {
            memcpy(p, bytes.data(), copied);
            GlobalUnlock(block);
        }
    }
    m_block = block;
    m_stream = stream;
    return stream;
}

void MemoryStream::close()
{
    if (m_stream)
        m_stream->Release();
    if (m_block)
        GlobalFree(m_block);
    m_stream = nullptr;
    m_block = nullptr;
}

bool MemoryStream::attach(IStream* stream)
{
    close();
    HGLOBAL block = nullptr;
    if (!stream || GetHGlobalFromStream(stream, &block) != S_OK || !block)
        return false;
    m_stream = stream;
    m_block = block;
    return true;
}

size_t MemoryStream::size() const
{
    return m_block ? GlobalSize(m_block) : 0;
}

Bytes MemoryStream::bytes() const
{
    size_t length = size();
    // The block may be larger than what was written to the stream.
    if (m_stream) {
        STATSTG stat{};
        if (m_stream->Stat(&stat, STATFLAG_NONAME) == S_OK)
            length = std::min(length, size_t(stat.cbSize.QuadPart));
    }
    Bytes out;
    if (length == 0)
        return out;
    if (const void* p = GlobalLock(m_block)) {
        const auto* first = static_cast<const unsigned char*>(p);
        out.assign(first, first + length);
        GlobalUnlock(m_block);
    }
    return out;
}

} // namespace velkaro::gfx
