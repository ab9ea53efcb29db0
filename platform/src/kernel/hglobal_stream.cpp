// IStream on a global memory block (CreateStreamOnHGlobal). Clones share the
// block and keep their own seek position; the block is freed with the last
// stream when the creator asked for it.
#include "kernel/global_memory.h"

#include "core/last_error.h"

#include <objbase.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>

namespace {

struct SharedBlock {
    SharedBlock(HGLOBAL block, bool deleteOnRelease) : block(block), deleteOnRelease(deleteOnRelease) {}
    SharedBlock(const SharedBlock&) = delete;
    SharedBlock& operator=(const SharedBlock&) = delete;
    HGLOBAL block;
    bool deleteOnRelease;
    ~SharedBlock()
    {
        if (deleteOnRelease)
            GlobalFree(block);
    }
};

// Streams on global memory hold 32-bit sizes, as on Windows.
constexpr uint64_t kMaxStreamSize = 0xFFFFFFFFu;

class HGlobalStream final : public IStream {
public:
    HGlobalStream(std::shared_ptr<SharedBlock> shared, uint64_t pos) : m_shared(std::move(shared)), m_pos(pos) {}

    HGLOBAL block() const { return m_shared->block; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override
    {
        if (!ppvObject)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ISequentialStream) ||
            IsEqualIID(riid, IID_IStream)) {
            AddRef();
            *ppvObject = static_cast<IStream*>(this);
            return S_OK;
        }
        *ppvObject = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE Read(void* pv, ULONG cb, ULONG* pcbRead) override
    {
        if (pcbRead)
            *pcbRead = 0;
        if (!pv)
            return STG_E_INVALIDPOINTER;
        uint64_t size = GlobalSize(block());
        ULONG n = m_pos >= size ? 0 : ULONG(std::min<uint64_t>(cb, size - m_pos));
        if (n) {
            void* data = GlobalLock(block());
            if (!data)
                return STG_E_INVALIDFUNCTION;
            std::memcpy(pv, static_cast<const char*>(data) + m_pos, n);
            GlobalUnlock(block());
            m_pos += n;
        }
        if (pcbRead)
            *pcbRead = n;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Write(const void* pv, ULONG cb, ULONG* pcbWritten) override
    {
        if (pcbWritten)
            *pcbWritten = 0;
        if (!pv)
            return STG_E_INVALIDPOINTER;
        if (cb == 0)
            return S_OK;
        uint64_t end = m_pos + cb;
        if (end > kMaxStreamSize)
            return STG_E_MEDIUMFULL;
        if (end > GlobalSize(block()) && !vk::kernel::resizeGlobal(block(), size_t(end)))
            return STG_E_MEDIUMFULL;
        void* data = GlobalLock(block());
        if (!data)
            return STG_E_MEDIUMFULL;
        std::memcpy(static_cast<char*>(data) + m_pos, pv, cb);
        GlobalUnlock(block());
        m_pos = end;
        if (pcbWritten)
            *pcbWritten = cb;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition) override
    {
        int64_t base;
        switch (dwOrigin) {
        case STREAM_SEEK_SET:
            base = 0;
            break;
        case STREAM_SEEK_CUR:
            base = int64_t(m_pos);
            break;
        case STREAM_SEEK_END:
            base = int64_t(GlobalSize(block()));
            break;
        default:
            return STG_E_INVALIDFUNCTION;
        }
        int64_t target = base + dlibMove.QuadPart;
        // Seeking past the end is allowed; the stream grows on the next write.
        if (target < 0 || uint64_t(target) > kMaxStreamSize)
            return STG_E_INVALIDFUNCTION;
        m_pos = uint64_t(target);
        if (plibNewPosition)
            plibNewPosition->QuadPart = m_pos;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER libNewSize) override
    {
        if (libNewSize.QuadPart > kMaxStreamSize)
            return STG_E_INVALIDFUNCTION;
        if (libNewSize.QuadPart == GlobalSize(block()))
            return S_OK;
        if (!GlobalReAlloc(block(), SIZE_T(libNewSize.QuadPart), GMEM_MOVEABLE))
            return STG_E_MEDIUMFULL;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE CopyTo(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead,
                                    ULARGE_INTEGER* pcbWritten) override
    {
        if (pcbRead)
            pcbRead->QuadPart = 0;
        if (pcbWritten)
            pcbWritten->QuadPart = 0;
        if (!pstm)
            return STG_E_INVALIDPOINTER;
        uint64_t size = GlobalSize(block());
        uint64_t n = m_pos >= size ? 0 : std::min<uint64_t>(cb.QuadPart, size - m_pos);
        uint64_t written = 0;
        HRESULT hr = S_OK;
        char buf[8192];
        uint64_t done = 0;
        while (done < n) {
            ULONG chunk = ULONG(std::min<uint64_t>(sizeof buf, n - done));
            ULONG got = 0;
            Read(buf, chunk, &got);
            if (!got)
                break;
            done += got;
            ULONG put = 0;
            hr = pstm->Write(buf, got, &put);
            written += put;
            if (FAILED(hr) || put < got)
                break;
        }
        if (pcbRead)
            pcbRead->QuadPart = done;
        if (pcbWritten)
            pcbWritten->QuadPart = written;
        return FAILED(hr) ? hr : S_OK;
    }

    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override
    {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override
    {
        return STG_E_INVALIDFUNCTION;
    }

    HRESULT STDMETHODCALLTYPE Stat(STATSTG* pstatstg, DWORD grfStatFlag) override
    {
        if (!pstatstg)
            return STG_E_INVALIDPOINTER;
        if (grfStatFlag > (STATFLAG_NONAME | STATFLAG_NOOPEN))
            return STG_E_INVALIDFLAG;
        std::memset(pstatstg, 0, sizeof *pstatstg);
        pstatstg->type = STGTY_STREAM;
        pstatstg->cbSize.QuadPart = GlobalSize(block());
        pstatstg->grfMode = STGM_READWRITE;
        return S_OK; // memory streams have no name to return
    }

    HRESULT STDMETHODCALLTYPE Clone(IStream** ppstm) override
    {
        if (!ppstm)
            return STG_E_INVALIDPOINTER;
        *ppstm = new HGlobalStream(m_shared, m_pos);
        return S_OK;
    }

private:
    std::shared_ptr<SharedBlock> m_shared;
    uint64_t m_pos;
    std::atomic<ULONG> m_refs{1};
};

} // namespace

extern "C" {

HRESULT WINAPI CreateStreamOnHGlobal(HGLOBAL hGlobal, BOOL fDeleteOnRelease, LPSTREAM* ppstm)
{
    if (!ppstm)
        return E_INVALIDARG;
    *ppstm = nullptr;
    if (!hGlobal) {
        hGlobal = GlobalAlloc(GMEM_MOVEABLE | GMEM_NODISCARD, 0);
        if (!hGlobal)
            return E_OUTOFMEMORY;
    } else if (GlobalFlags(hGlobal) == GMEM_INVALID_HANDLE) {
        return E_INVALIDARG;
    }
    auto shared = std::make_shared<SharedBlock>(hGlobal, fDeleteOnRelease != FALSE);
    *ppstm = new HGlobalStream(std::move(shared), 0);
    return S_OK;
}

HRESULT WINAPI GetHGlobalFromStream(LPSTREAM pstm, HGLOBAL* phglobal)
{
    if (!phglobal)
        return E_INVALIDARG;
    *phglobal = nullptr;
    auto* s = dynamic_cast<HGlobalStream*>(pstm);
    if (!s)
        return E_INVALIDARG;
    *phglobal = s->block();
    return S_OK;
}

} // extern "C"
