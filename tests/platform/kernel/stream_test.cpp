// IStream on global memory: ownership of the block, reading, writing,
// seeking, sizes, clones and copies, reference counts.
#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <cstring>
#include <string>

namespace {

LARGE_INTEGER li(LONGLONG v)
{
    LARGE_INTEGER x;
    x.QuadPart = v;
    return x;
}
ULARGE_INTEGER uli(ULONGLONG v)
{
    ULARGE_INTEGER x;
    x.QuadPart = v;
    return x;
}

ULONGLONG sizeOf(IStream* s)
{
    STATSTG st;
    EXPECT_EQ(s->Stat(&st, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(st.type, DWORD(STGTY_STREAM));
    return st.cbSize.QuadPart;
}

std::string readAll(IStream* s)
{
    s->Seek(li(0), STREAM_SEEK_SET, nullptr);
    std::string out(size_t(sizeOf(s)), '\0');
    ULONG got = 0;
    EXPECT_EQ(s->Read(out.data(), ULONG(out.size()), &got), S_OK);
    out.resize(got);
    return out;
}

TEST(HGlobalStream, OwnBlockIsFreedWithTheStream)
{
    IStream* s = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &s), S_OK);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(sizeOf(s), 0u);
    ULONG n = 0;
    ASSERT_EQ(s->Write("hello", 5, &n), S_OK);
    EXPECT_EQ(n, 5u);
    HGLOBAL h = nullptr;
    ASSERT_EQ(GetHGlobalFromStream(s, &h), S_OK);
    EXPECT_EQ(GlobalSize(h), 5u);
    EXPECT_EQ(s->Release(), 0u);
    EXPECT_EQ(GlobalSize(h), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
}

TEST(HGlobalStream, CallersBlockOutlivesTheStreamWhenAsked)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 6);
    ASSERT_NE(h, nullptr);
    std::memcpy(GlobalLock(h), "abcdef", 6);
    GlobalUnlock(h);
    IStream* s = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(h, FALSE, &s), S_OK);
    EXPECT_EQ(readAll(s), "abcdef");
    HGLOBAL back = nullptr;
    ASSERT_EQ(GetHGlobalFromStream(s, &back), S_OK);
    EXPECT_EQ(back, h);
    EXPECT_EQ(s->Release(), 0u);
    EXPECT_EQ(GlobalSize(h), 6u);
    EXPECT_EQ(GlobalFree(h), nullptr);

    // A stream made on NULL without delete-on-release leaves its block to us.
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, FALSE, &s), S_OK);
    s->Write("x", 1, nullptr);
    ASSERT_EQ(GetHGlobalFromStream(s, &back), S_OK);
    s->Release();
    EXPECT_EQ(GlobalSize(back), 1u);
    EXPECT_EQ(GlobalFree(back), nullptr);
}

TEST(HGlobalStream, ReadWriteAndSeekFromEveryOrigin)
{
    IStream* s = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &s), S_OK);
    ASSERT_EQ(s->Write("0123456789", 10, nullptr), S_OK);
    struct Case {
        LONGLONG move;
        DWORD origin;
        HRESULT hr;
        ULONGLONG pos; // position afterwards
    };
    const Case cases[] = {
        {0, STREAM_SEEK_CUR, S_OK, 10},
        {2, STREAM_SEEK_SET, S_OK, 2},
        {3, STREAM_SEEK_CUR, S_OK, 5},
        {-2, STREAM_SEEK_CUR, S_OK, 3},
        {-1, STREAM_SEEK_END, S_OK, 9},
        {0, STREAM_SEEK_END, S_OK, 10},
        {5, STREAM_SEEK_END, S_OK, 15}, // past the end is allowed
        {-1, STREAM_SEEK_SET, STG_E_INVALIDFUNCTION, 15},
        {-16, STREAM_SEEK_CUR, STG_E_INVALIDFUNCTION, 15},
        {-11, STREAM_SEEK_END, STG_E_INVALIDFUNCTION, 15},
        {0, 3, STG_E_INVALIDFUNCTION, 15},
        {4, STREAM_SEEK_SET, S_OK, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.move) + " from " + std::to_string(c.origin));
        ULARGE_INTEGER pos = uli(12345);
        EXPECT_EQ(s->Seek(li(c.move), c.origin, &pos), c.hr);
        if (c.hr == S_OK) {
            EXPECT_EQ(pos.QuadPart, c.pos);
        }
        ULARGE_INTEGER now;
        ASSERT_EQ(s->Seek(li(0), STREAM_SEEK_CUR, &now), S_OK);
        EXPECT_EQ(now.QuadPart, c.pos);
    }
    char buf[4] = {};
    ULONG got = 0;
    ASSERT_EQ(s->Read(buf, 3, &got), S_OK);
    EXPECT_EQ(got, 3u);
    EXPECT_EQ(std::string(buf, 3), "456");
    // Reading at or past the end gives nothing and succeeds.
    s->Seek(li(20), STREAM_SEEK_SET, nullptr);
    got = 9;
    EXPECT_EQ(s->Read(buf, 3, &got), S_OK);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(sizeOf(s), 10u);
    // Writing past the end grows the stream and fills the gap with zeros.
    ASSERT_EQ(s->Write("Z", 1, nullptr), S_OK);
    EXPECT_EQ(sizeOf(s), 21u);
    EXPECT_EQ(readAll(s), std::string("0123456789") + std::string(10, '\0') + "Z");
    // Overwriting in the middle keeps the size.
    s->Seek(li(1), STREAM_SEEK_SET, nullptr);
    ASSERT_EQ(s->Write("ab", 2, nullptr), S_OK);
    EXPECT_EQ(sizeOf(s), 21u);
    EXPECT_EQ(readAll(s).substr(0, 4), "0ab3");
    EXPECT_EQ(s->Read(nullptr, 1, &got), STG_E_INVALIDPOINTER);
    EXPECT_EQ(s->Write(nullptr, 1, nullptr), STG_E_INVALIDPOINTER);
    s->Release();
}

TEST(HGlobalStream, SetSizeAndStat)
{
    IStream* s = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &s), S_OK);
    s->Write("abcdef", 6, nullptr);
    ASSERT_EQ(s->SetSize(uli(3)), S_OK);
    EXPECT_EQ(sizeOf(s), 3u);
    EXPECT_EQ(readAll(s), "abc");
    ASSERT_EQ(s->SetSize(uli(1000)), S_OK);
    EXPECT_EQ(sizeOf(s), 1000u);
    HGLOBAL h = nullptr;
    GetHGlobalFromStream(s, &h);
    EXPECT_EQ(GlobalSize(h), 1000u);
    ASSERT_EQ(s->SetSize(uli(0)), S_OK);
    EXPECT_EQ(sizeOf(s), 0u);
    EXPECT_EQ(s->Write("q", 1, nullptr), S_OK);
    EXPECT_EQ(s->SetSize(uli(ULONGLONG(1) << 33)), STG_E_INVALIDFUNCTION);
    STATSTG st;
    EXPECT_EQ(s->Stat(nullptr, STATFLAG_DEFAULT), STG_E_INVALIDPOINTER);
    EXPECT_EQ(s->Stat(&st, 99), STG_E_INVALIDFLAG);
    ASSERT_EQ(s->Stat(&st, STATFLAG_DEFAULT), S_OK);
    EXPECT_EQ(st.pwcsName, nullptr);
    s->Release();
}

TEST(HGlobalStream, CloneSharesBytesButNotPosition)
{
    IStream* s = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &s), S_OK);
    s->Write("abcdef", 6, nullptr);
    s->Seek(li(2), STREAM_SEEK_SET, nullptr);
    IStream* c = nullptr;
    ASSERT_EQ(s->Clone(&c), S_OK);
    ULARGE_INTEGER pos;
    c->Seek(li(0), STREAM_SEEK_CUR, &pos);
    EXPECT_EQ(pos.QuadPart, 2u); // starts where the original was
    c->Write("XY", 2, nullptr);
    s->Seek(li(0), STREAM_SEEK_CUR, &pos);
    EXPECT_EQ(pos.QuadPart, 2u);
    EXPECT_EQ(readAll(s), "abXYef");
    // The block lives until the last of them goes.
    EXPECT_EQ(s->Release(), 0u);
    EXPECT_EQ(readAll(c), "abXYef");
    EXPECT_EQ(c->Release(), 0u);
}

TEST(HGlobalStream, CopyToAnotherStream)
{
    IStream* a = nullptr;
    IStream* b = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &a), S_OK);
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &b), S_OK);
    std::string big(20000, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = char('a' + i % 26);
    a->Write(big.data(), ULONG(big.size()), nullptr);
    a->Seek(li(100), STREAM_SEEK_SET, nullptr);
    ULARGE_INTEGER rd, wr;
    ASSERT_EQ(a->CopyTo(b, uli(15000), &rd, &wr), S_OK);
    EXPECT_EQ(rd.QuadPart, 15000u);
    EXPECT_EQ(wr.QuadPart, 15000u);
    EXPECT_EQ(readAll(b), big.substr(100, 15000));
    // Asking for more than is left copies what is left.
    b->SetSize(uli(0));
    b->Seek(li(0), STREAM_SEEK_SET, nullptr);
    a->Seek(li(-10), STREAM_SEEK_END, nullptr);
    ASSERT_EQ(a->CopyTo(b, uli(1000), &rd, &wr), S_OK);
    EXPECT_EQ(rd.QuadPart, 10u);
    EXPECT_EQ(readAll(b), big.substr(big.size() - 10));
    EXPECT_EQ(a->CopyTo(nullptr, uli(1), &rd, &wr), STG_E_INVALIDPOINTER);
    a->Release();
    b->Release();
}

TEST(HGlobalStream, ReferenceCountsAndInterfaces)
{
    IStream* s = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &s), S_OK);
    EXPECT_EQ(s->AddRef(), 2u);
    EXPECT_EQ(s->AddRef(), 3u);
    EXPECT_EQ(s->Release(), 2u);
    IUnknown* u = nullptr;
    ASSERT_EQ(s->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&u)), S_OK);
    EXPECT_EQ(u->Release(), 2u);
    ISequentialStream* q = nullptr;
    ASSERT_EQ(s->QueryInterface(IID_ISequentialStream, reinterpret_cast<void**>(&q)), S_OK);
    q->Release();
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(s->QueryInterface(GUID_NULL, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(s->QueryInterface(IID_IStream, nullptr), E_POINTER);
    EXPECT_EQ(s->Release(), 1u);
    EXPECT_EQ(s->Release(), 0u);
}

TEST(HGlobalStream, BadArguments)
{
    EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, nullptr), E_INVALIDARG);
    IStream* s = reinterpret_cast<IStream*>(1);
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 4);
    GlobalFree(h);
    EXPECT_EQ(CreateStreamOnHGlobal(h, TRUE, &s), E_INVALIDARG);
    EXPECT_EQ(s, nullptr);
    HGLOBAL out = reinterpret_cast<HGLOBAL>(1);
    EXPECT_EQ(GetHGlobalFromStream(nullptr, &out), E_INVALIDARG);
    EXPECT_EQ(out, nullptr);
}

} // namespace
