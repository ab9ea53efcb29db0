// Text: UTF-8/UTF-16 conversions and their size rules, the lstr* family,
// MulDiv rounding, GUID text.
#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct ToWideCase {
    const char* name;
    std::string bytes;
    DWORD flags;
    std::u16string wide; // empty with error != 0: refused
    DWORD error;
};

TEST(CodePages, MultiByteToWideCharTable)
{
    const ToWideCase cases[] = {
        {"ascii", "Skin", 0, u"Skin", 0},
        {"songti", "\xE5\xAE\x8B\xE4\xBD\x93", 0, u"\u5B8B\u4F53", 0},
        {"emoji", "\xF0\x9F\x98\x80", 0, u"\xD83D\xDE00", 0},
        {"latin1", "caf\xC3\xA9", 0, u"caf\u00E9", 0},
        {"bad-lead", "a\xFF" "b", 0, u"a\uFFFDb", 0},
        {"truncated", "a\xE5\xAE", 0, u"a\uFFFD", 0},
        {"overlong", "\xC0\xAF", 0, u"\uFFFD\uFFFD", 0},
        {"surrogate-in-utf8", "\xED\xA0\x80", 0, u"\uFFFD\uFFFD\uFFFD", 0},
        {"bad-strict", "a\xFF", MB_ERR_INVALID_CHARS, u"", ERROR_NO_UNICODE_TRANSLATION},
        {"truncated-strict", "\xE5\xAE", MB_ERR_INVALID_CHARS, u"", ERROR_NO_UNICODE_TRANSLATION},
        {"good-strict", "\xE5\xAE\x8B", MB_ERR_INVALID_CHARS, u"\u5B8B", 0},
    };
    for (const ToWideCase& c : cases) {
        SCOPED_TRACE(c.name);
        const int len = int(c.bytes.size());
        SetLastError(0);
        const int need = MultiByteToWideChar(CP_UTF8, c.flags, c.bytes.data(), len, nullptr, 0);
        if (c.error) {
            EXPECT_EQ(need, 0);
            EXPECT_EQ(GetLastError(), c.error);
            WCHAR w[16];
            EXPECT_EQ(MultiByteToWideChar(CP_UTF8, c.flags, c.bytes.data(), len, w, 16), 0);
            EXPECT_EQ(GetLastError(), c.error);
            continue;
        }
        ASSERT_EQ(need, int(c.wide.size()));
        std::vector<WCHAR> w(size_t(need) + 1, 0x7777);
        EXPECT_EQ(MultiByteToWideChar(CP_UTF8, c.flags, c.bytes.data(), len, w.data(), need), need);
        EXPECT_EQ(std::u16string(w.begin(), w.begin() + need), c.wide);
        EXPECT_EQ(w[size_t(need)], 0x7777); // no terminator written for a counted input
        // -1 counts and writes the terminator.
        std::vector<WCHAR> z(size_t(need) + 2, 0x7777);
        EXPECT_EQ(MultiByteToWideChar(CP_UTF8, c.flags, c.bytes.c_str(), -1, nullptr, 0), need + 1);
        EXPECT_EQ(MultiByteToWideChar(CP_UTF8, c.flags, c.bytes.c_str(), -1, z.data(), need + 1), need + 1);
        EXPECT_EQ(z[size_t(need)], 0);
        // One unit short is refused.
        if (need > 0) {
            SetLastError(0);
            EXPECT_EQ(MultiByteToWideChar(CP_UTF8, c.flags, c.bytes.c_str(), -1, z.data(), need), 0);
            EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
        }
        // The active code page is UTF-8.
        EXPECT_EQ(MultiByteToWideChar(CP_ACP, c.flags, c.bytes.data(), len, nullptr, 0), need);
    }
}

struct ToBytesCase {
    const char* name;
    std::u16string wide;
    DWORD flags;
    std::string bytes;
    DWORD error;
};

TEST(CodePages, WideCharToMultiByteTable)
{
    const ToBytesCase cases[] = {
        {"ascii", u"Skin", 0, "Skin", 0},
        {"songti", u"\u5B8B\u4F53", 0, "\xE5\xAE\x8B\xE4\xBD\x93", 0},
        {"emoji", u"\xD83D\xDE00", 0, "\xF0\x9F\x98\x80", 0},
        {"lone-high", u"a\xD83D" "b", 0, "a\xEF\xBF\xBD" "b", 0},
        {"lone-low", u"\xDE00", 0, "\xEF\xBF\xBD", 0},
        {"high-at-end", u"a\xD83D", 0, "a\xEF\xBF\xBD", 0},
        {"lone-strict", u"a\xD83D", WC_ERR_INVALID_CHARS, "", ERROR_NO_UNICODE_TRANSLATION},
        {"good-strict", u"\u00E9", WC_ERR_INVALID_CHARS, "\xC3\xA9", 0},
    };
    for (const ToBytesCase& c : cases) {
        SCOPED_TRACE(c.name);
        const int len = int(c.wide.size());
        SetLastError(0);
        const int need = WideCharToMultiByte(CP_UTF8, c.flags, c.wide.data(), len, nullptr, 0, nullptr, nullptr);
        if (c.error) {
            EXPECT_EQ(need, 0);
            EXPECT_EQ(GetLastError(), c.error);
            continue;
        }
        ASSERT_EQ(need, int(c.bytes.size()));
        std::string out(size_t(need) + 1, '#');
        EXPECT_EQ(WideCharToMultiByte(CP_UTF8, c.flags, c.wide.data(), len, out.data(), need, nullptr, nullptr),
                  need);
        EXPECT_EQ(out.substr(0, size_t(need)), c.bytes);
        EXPECT_EQ(out[size_t(need)], '#');
        EXPECT_EQ(WideCharToMultiByte(CP_UTF8, c.flags, c.wide.c_str(), -1, nullptr, 0, nullptr, nullptr), need + 1);
        std::string z(size_t(need) + 1, '#');
        EXPECT_EQ(WideCharToMultiByte(CP_UTF8, c.flags, c.wide.c_str(), -1, z.data(), need + 1, nullptr, nullptr),
                  need + 1);
        EXPECT_EQ(z[size_t(need)], '\0');
        if (need > 0) {
            SetLastError(0);
            EXPECT_EQ(WideCharToMultiByte(CP_UTF8, c.flags, c.wide.c_str(), -1, z.data(), need, nullptr, nullptr), 0);
            EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
        }
    }
}

TEST(CodePages, RefusedArguments)
{
    WCHAR w[4];
    char b[4];
    BOOL used = FALSE;
    struct Case {
        int result;
        DWORD error;
    };
    const Case cases[] = {
        {MultiByteToWideChar(CP_UTF8, 0, nullptr, 3, w, 4), ERROR_INVALID_PARAMETER},
        {MultiByteToWideChar(CP_UTF8, 0, "abc", 0, w, 4), ERROR_INVALID_PARAMETER},
        {MultiByteToWideChar(CP_UTF8, 0, "abc", 3, w, -1), ERROR_INVALID_PARAMETER},
        {MultiByteToWideChar(CP_UTF8, 0, "abc", 3, nullptr, 4), ERROR_INVALID_PARAMETER},
        {MultiByteToWideChar(12345, 0, "abc", 3, w, 4), ERROR_INVALID_PARAMETER},
        {WideCharToMultiByte(CP_UTF8, 0, nullptr, 3, b, 4, nullptr, nullptr), ERROR_INVALID_PARAMETER},
        {WideCharToMultiByte(CP_UTF8, 0, u"abc", 3, b, 4, "?", nullptr), ERROR_INVALID_PARAMETER},
        {WideCharToMultiByte(CP_UTF8, 0, u"abc", 3, b, 4, nullptr, &used), ERROR_INVALID_PARAMETER},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(cases[i].result, 0);
    }
    // Each call sets its own error; check one afresh.
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, nullptr, 3, w, 4), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

TEST(CodePages, SingleByteWesternDefaults)
{
    WCHAR w[4];
    ASSERT_EQ(MultiByteToWideChar(1252, 0, "\x80\xE9", 2, w, 4), 2);
    EXPECT_EQ(w[0], 0x20AC);
    EXPECT_EQ(w[1], 0x00E9);
    char b[4] = {};
    BOOL used = FALSE;
    ASSERT_EQ(WideCharToMultiByte(1252, 0, u"\u20AC\u5B8B", 2, b, 4, nullptr, &used), 2);
    EXPECT_EQ(b[0], '\x80');
    EXPECT_EQ(b[1], '?');
    EXPECT_TRUE(used);
}

TEST(LstrFunctions, LengthCopyCatCompare)
{
    EXPECT_EQ(lstrlenA("skin"), 4);
    EXPECT_EQ(lstrlenA(nullptr), 0);
    EXPECT_EQ(lstrlenW(u"\u5B8B\u4F53"), 2);
    EXPECT_EQ(lstrlenW(nullptr), 0);
    char buf[16];
    EXPECT_EQ(lstrcpyA(buf, "abc"), buf);
    EXPECT_STREQ(buf, "abc");
    EXPECT_EQ(lstrcatA(buf, "def"), buf);
    EXPECT_STREQ(buf, "abcdef");
    struct Cpyn {
        int max;
        const char* out;
    };
    for (const Cpyn& c : {Cpyn{1, ""}, Cpyn{3, "12"}, Cpyn{6, "12345"}, Cpyn{16, "123456"}}) {
        SCOPED_TRACE(c.max);
        std::memset(buf, '#', sizeof buf);
        EXPECT_EQ(lstrcpynA(buf, "123456", c.max), buf);
        EXPECT_STREQ(buf, c.out);
    }
    struct Cmp {
        const char* a;
        const char* b;
        int sign, signI;
    };
    const Cmp cmps[] = {
        {"abc", "abc", 0, 0}, {"abc", "abd", -1, -1}, {"b", "a", 1, 1}, {"ABC", "abc", 1, 0},
        {"abc", "ab", 1, 1},  {"", "a", -1, -1},      {nullptr, "a", -1, -1}, {nullptr, nullptr, 0, 0},
    };
    auto sign = [](int v) { return (v > 0) - (v < 0); };
    for (const Cmp& c : cmps) {
        SCOPED_TRACE(std::string(c.a ? c.a : "(null)") + " vs " + (c.b ? c.b : "(null)"));
        EXPECT_EQ(sign(lstrcmpA(c.a, c.b)), c.sign);
        EXPECT_EQ(sign(lstrcmpiA(c.a, c.b)), c.signI);
    }
}

TEST(MulDiv, RoundingAndOverflow)
{
    struct Case {
        int n, num, den, out;
    };
    const Case cases[] = {
        {10, 3, 4, 8},   {-10, 3, 4, -8},  {10, -3, 4, -8}, {10, 3, -4, -8}, {-10, -3, 4, 8}, {5, 1, 2, 3},
        {7, 1, 3, 2},    {-7, 1, 3, -2},   {0, 5, 3, 0},    {1, 1, 0, -1},   {INT_MAX, 2, 1, -1},
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, {INT_MIN, 1, 1, INT_MIN}, {INT_MIN, -1, 1, -1},
        {INT_MIN, INT_MIN, INT_MIN, INT_MIN}, {96, 72, 96, 72}, {-1, 1, 2, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.n) + "*" + std::to_string(c.num) + "/" + std::to_string(c.den));
        EXPECT_EQ(MulDiv(c.n, c.num, c.den), c.out);
    }
}

TEST(Guids, TextTable)
{
    struct Case {
        const char16_t* text;
        HRESULT hr;
    };
    const Case cases[] = {
        {u"{0000000C-0000-0000-C000-000000000046}", S_OK},
        {u"{0000000c-0000-0000-c000-000000000046}", S_OK},
        {u"0000000C-0000-0000-C000-000000000046", CO_E_CLASSSTRING},
        {u"{0000000C-0000-0000-C000-000000000046", CO_E_CLASSSTRING},
        {u"{0000000C-0000-0000-C000-0000000000461}", CO_E_CLASSSTRING},
        {u"{0000000C-0000-0000-C000-00000000004}", CO_E_CLASSSTRING},
        {u"{0000000C+0000-0000-C000-000000000046}", CO_E_CLASSSTRING},
        {u"{0000000G-0000-0000-C000-000000000046}", CO_E_CLASSSTRING},
        {u"{0000000C-0000-0000-C000-000000000046} ", CO_E_CLASSSTRING},
        {u"", CO_E_CLASSSTRING},
        {u"{}", CO_E_CLASSSTRING},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::u16string(c.text)));
        CLSID g;
        EXPECT_EQ(CLSIDFromString(c.text, &g), c.hr);
        if (c.hr == S_OK)
            EXPECT_TRUE(IsEqualGUID(g, IID_IStream));
        else
            EXPECT_TRUE(IsEqualGUID(g, GUID_NULL));
    }
    CLSID g;
    EXPECT_EQ(CLSIDFromString(nullptr, &g), S_OK);
    EXPECT_TRUE(IsEqualGUID(g, GUID_NULL));
    EXPECT_EQ(CLSIDFromString(u"{}", nullptr), E_INVALIDARG);
    IID iid;
    EXPECT_EQ(IIDFromString(u"{bad}", &iid), E_INVALIDARG);
}

TEST(Guids, PrintAndCompare)
{
    const GUID a = {0x12345678, 0x9ABC, 0xDEF0, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};
    WCHAR s[39];
    ASSERT_EQ(StringFromGUID2(a, s, 39), 39);
    EXPECT_EQ(std::u16string(s), u"{12345678-9ABC-DEF0-0123-456789ABCDEF}");
    EXPECT_EQ(StringFromGUID2(a, s, 38), 0);
    GUID back;
    ASSERT_EQ(CLSIDFromString(s, &back), S_OK);
    EXPECT_TRUE(IsEqualGUID(a, back));
    LPOLESTR text = nullptr;
    ASSERT_EQ(StringFromCLSID(a, &text), S_OK);
    EXPECT_EQ(std::u16string(text), std::u16string(s));
    CoTaskMemFree(text);
    // Every field takes part in the comparison.
    for (int field = 0; field < 11; ++field) {
        SCOPED_TRACE(field);
        GUID b = a;
        if (field == 0)
            b.Data1 ^= 1;
        else if (field == 1)
            b.Data2 ^= 1;
        else if (field == 2)
            b.Data3 ^= 1;
        else
            b.Data4[field - 3] ^= 1;
        EXPECT_FALSE(IsEqualGUID(a, b));
    }
    EXPECT_TRUE(IsEqualGUID(a, a));
}

} // namespace
