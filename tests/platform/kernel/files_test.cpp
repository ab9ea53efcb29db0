// Files by Windows path: open dispositions and their errors, pointer and
// size, attributes, delete/move/copy, folders, wildcards, full and temp paths.
#include "kernel_test_support.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

HANDLE open(const std::string& path, DWORD access, DWORD disposition)
{
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST(Files, WriteThenReadRoundTrips)
{
    kt::ScratchDir dir;
    HANDLE h = open(dir.windows("a.bin"), GENERIC_WRITE, CREATE_NEW);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(h, "hello, world", 12, &written, nullptr));
    EXPECT_EQ(written, 12u);
    ASSERT_TRUE(CloseHandle(h));
    EXPECT_EQ(kt::readFile(dir / "a.bin"), "hello, world");

    h = open(dir.windows("a.bin"), GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    char buf[32] = {};
    DWORD got = 0;
    ASSERT_TRUE(ReadFile(h, buf, sizeof buf, &got, nullptr));
    EXPECT_EQ(got, 12u);
    EXPECT_EQ(std::string(buf, got), "hello, world");
    // At the end a read succeeds with nothing read.
    got = 7;
    EXPECT_TRUE(ReadFile(h, buf, sizeof buf, &got, nullptr));
    EXPECT_EQ(got, 0u);
    CloseHandle(h);
}

struct OpenCase {
    const char* name;
    bool fileExists;
    DWORD disposition;
    bool opens;
    DWORD error; // GetLastError after the call
    const char* contentAfter; // nullptr: no file afterwards
};

class OpenDisposition : public testing::TestWithParam<OpenCase> {};

TEST_P(OpenDisposition, OpensOrReportsTheDocumentedError)
{
    const OpenCase& c = GetParam();
    kt::ScratchDir dir;
    if (c.fileExists)
        kt::writeFile(dir / "f.txt", "old");
    SetLastError(12345);
    HANDLE h = open(dir.windows("f.txt"), GENERIC_READ | GENERIC_WRITE, c.disposition);
    DWORD err = GetLastError();
    EXPECT_EQ(h != INVALID_HANDLE_VALUE, c.opens);
    EXPECT_EQ(err, c.error);
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
    if (c.contentAfter)
        EXPECT_EQ(kt::readFile(dir / "f.txt"), c.contentAfter);
    else
        EXPECT_FALSE(kt::exists(dir / "f.txt"));
}

INSTANTIATE_TEST_SUITE_P(Files, OpenDisposition,
    testing::Values(
        OpenCase{"NewOnMissing", false, CREATE_NEW, true, ERROR_SUCCESS, ""},
        OpenCase{"NewOnExisting", true, CREATE_NEW, false, ERROR_FILE_EXISTS, "old"},
        OpenCase{"AlwaysOnMissing", false, CREATE_ALWAYS, true, ERROR_SUCCESS, ""},
        OpenCase{"AlwaysOnExisting", true, CREATE_ALWAYS, true, ERROR_ALREADY_EXISTS, ""},
        OpenCase{"ExistingOnMissing", false, OPEN_EXISTING, false, ERROR_FILE_NOT_FOUND, nullptr},
        OpenCase{"ExistingOnExisting", true, OPEN_EXISTING, true, ERROR_SUCCESS, "old"},
        OpenCase{"OpenAlwaysOnMissing", false, OPEN_ALWAYS, true, ERROR_SUCCESS, ""},
        OpenCase{"OpenAlwaysOnExisting", true, OPEN_ALWAYS, true, ERROR_ALREADY_EXISTS, "old"},
        OpenCase{"TruncateOnMissing", false, TRUNCATE_EXISTING, false, ERROR_FILE_NOT_FOUND, nullptr},
        OpenCase{"TruncateOnExisting", true, TRUNCATE_EXISTING, true, ERROR_SUCCESS, ""}),
    [](const testing::TestParamInfo<OpenCase>& i) { return std::string(i.param.name); });

TEST(Files, OpenRefusals)
{
    kt::ScratchDir dir;
    struct Case {
        std::string path;
        DWORD access;
        DWORD disposition;
        DWORD error;
    };
    kt::writeFile(dir / "ro.txt", "x");
    chmod((dir / "ro.txt").c_str(), 0444);
    const Case cases[] = {
        {dir.windows("nosuchdir\\f.txt"), GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        {dir.windows("nosuchdir\\f.txt"), GENERIC_WRITE, CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
        {dir.windows("missing.txt"), GENERIC_READ, OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
        {dir.windows("ro.txt"), GENERIC_WRITE, OPEN_EXISTING, ERROR_ACCESS_DENIED},
        {dir.windows("ro.txt"), GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS, ERROR_ACCESS_DENIED},
        {dir.windows("ro.txt"), GENERIC_WRITE, CREATE_ALWAYS, ERROR_ACCESS_DENIED},
        {"D:\\f.txt", GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        {dir.windows("f.txt"), GENERIC_READ, 0, ERROR_INVALID_PARAMETER},
        {dir.windows("f.txt"), GENERIC_READ, 99, ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + " disposition " + std::to_string(c.disposition));
        HANDLE h = open(c.path, c.access, c.disposition);
        EXPECT_EQ(h, INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), c.error);
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
    EXPECT_EQ(kt::readFile(dir / "ro.txt"), "x");
    // Reading a read-only file is fine.
    HANDLE h = open(dir.windows("ro.txt"), GENERIC_READ, OPEN_EXISTING);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    EXPECT_EQ(CreateFileA(nullptr, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
}

TEST(Files, PointerSizeAndEndOfFile)
{
    kt::ScratchDir dir;
    HANDLE h = open(dir.windows("p.bin"), GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    ASSERT_TRUE(WriteFile(h, "0123456789", 10, &n, nullptr));
    DWORD high = 77;
    EXPECT_EQ(GetFileSize(h, &high), 10u);
    EXPECT_EQ(high, 0u);

    struct Move {
        LONG distance;
        DWORD method;
        DWORD expect;
    };
    const Move moves[] = {
        {0, FILE_CURRENT, 10}, {3, FILE_BEGIN, 3}, {2, FILE_CURRENT, 5}, {-1, FILE_END, 9},
        {-4, FILE_CURRENT, 5}, {20, FILE_BEGIN, 20}, {0, FILE_END, 10},
    };
    for (const Move& m : moves) {
        SCOPED_TRACE(std::to_string(m.distance) + " from " + std::to_string(m.method));
        EXPECT_EQ(SetFilePointer(h, m.distance, nullptr, m.method), m.expect);
    }
    // Before the start is refused and the pointer stays.
    EXPECT_EQ(SetFilePointer(h, -11, nullptr, FILE_END), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NEGATIVE_SEEK));
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_CURRENT), 10u);
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, 7), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));

    // A 64-bit move through the high part.
    LONG hi = 1;
    EXPECT_EQ(SetFilePointer(h, 5, &hi, FILE_BEGIN), 5u);
    EXPECT_EQ(hi, 1);
    LARGE_INTEGER pos{};
    LARGE_INTEGER zero{};
    ASSERT_TRUE(SetFilePointerEx(h, zero, &pos, FILE_CURRENT));
    EXPECT_EQ(pos.QuadPart, (LONGLONG(1) << 32) + 5);

    // Cut and extend.
    EXPECT_EQ(SetFilePointer(h, 4, nullptr, FILE_BEGIN), 4u);
    ASSERT_TRUE(SetEndOfFile(h));
    EXPECT_EQ(GetFileSize(h, nullptr), 4u);
    EXPECT_EQ(SetFilePointer(h, 8, nullptr, FILE_BEGIN), 8u);
    ASSERT_TRUE(SetEndOfFile(h));
    LARGE_INTEGER size{};
    ASSERT_TRUE(GetFileSizeEx(h, &size));
    EXPECT_EQ(size.QuadPart, 8);
    CloseHandle(h);
    EXPECT_EQ(kt::readFile(dir / "p.bin"), std::string("0123\0\0\0\0", 8));
}

TEST(Files, WritingPastTheEndFillsTheGapWithZeros)
{
    kt::ScratchDir dir;
    HANDLE h = open(dir.windows("g.bin"), GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    SetFilePointer(h, 3, nullptr, FILE_BEGIN);
    DWORD n = 0;
    ASSERT_TRUE(WriteFile(h, "z", 1, &n, nullptr));
    CloseHandle(h);
    EXPECT_EQ(kt::readFile(dir / "g.bin"), std::string("\0\0\0z", 4));
}

TEST(Files, HandleOpenedForReadRefusesWritesAndViceVersa)
{
    kt::ScratchDir dir;
    kt::writeFile(dir / "r.txt", "abc");
    HANDLE h = open(dir.windows("r.txt"), GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 5;
    EXPECT_FALSE(WriteFile(h, "x", 1, &n, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    EXPECT_EQ(n, 0u);
    CloseHandle(h);
    h = open(dir.windows("r.txt"), GENERIC_WRITE, OPEN_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    char buf[4];
    EXPECT_FALSE(ReadFile(h, buf, 3, &n, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    CloseHandle(h);
}

TEST(Files, AttributesOfFilesFoldersAndMissingNames)
{
    kt::ScratchDir dir;
    kt::writeFile(dir / "plain.txt", "x");
    kt::writeFile(dir / "ro.txt", "x");
    chmod((dir / "ro.txt").c_str(), 0444);
    kt::writeFile(dir / ".hidden", "x");
    struct Case {
        std::string path;
        DWORD attributes;
        DWORD error;
    };
    const Case cases[] = {
        {dir.windows("plain.txt"), FILE_ATTRIBUTE_NORMAL, 0},
        {dir.windows("ro.txt"), FILE_ATTRIBUTE_READONLY, 0},
        {dir.windows(".hidden"), FILE_ATTRIBUTE_HIDDEN, 0},
        {dir.windows(), FILE_ATTRIBUTE_DIRECTORY, 0},
        {dir.windows("missing.txt"), INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND},
        {dir.windows("missing\\x.txt"), INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
        {"Q:\\x.txt", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        SetLastError(0);
        EXPECT_EQ(GetFileAttributesA(c.path.c_str()), c.attributes);
        if (c.attributes == INVALID_FILE_ATTRIBUTES) {
            EXPECT_EQ(GetLastError(), c.error);
        }
    }
    // Clearing READONLY makes the file writable again.
    ASSERT_TRUE(SetFileAttributesA(dir.windows("ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesA(dir.windows("ro.txt").c_str()), DWORD(FILE_ATTRIBUTE_NORMAL));
    ASSERT_TRUE(SetFileAttributesA(dir.windows("plain.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetFileAttributesA(dir.windows("plain.txt").c_str()), DWORD(FILE_ATTRIBUTE_READONLY));
}

TEST(Files, DeleteFile)
{
    kt::ScratchDir dir;
    kt::writeFile(dir / "d.txt", "x");
    EXPECT_TRUE(DeleteFileA(dir.windows("d.txt").c_str()));
    EXPECT_FALSE(kt::exists(dir / "d.txt"));
    EXPECT_FALSE(DeleteFileA(dir.windows("d.txt").c_str()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(DeleteFileA(dir.windows("none\\d.txt").c_str()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
    // A folder is not a file; a read-only file is protected.
    EXPECT_FALSE(DeleteFileA(dir.windows().c_str()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    kt::writeFile(dir / "ro.txt", "x");
    chmod((dir / "ro.txt").c_str(), 0444);
    EXPECT_FALSE(DeleteFileA(dir.windows("ro.txt").c_str()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(kt::exists(dir / "ro.txt"));
}

TEST(Files, MoveWithAndWithoutReplace)
{
    kt::ScratchDir dir;
    kt::writeFile(dir / "a.txt", "A");
    kt::writeFile(dir / "b.txt", "B");
    EXPECT_FALSE(MoveFileExA(dir.windows("a.txt").c_str(), dir.windows("b.txt").c_str(), 0));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(kt::readFile(dir / "b.txt"), "B");
    EXPECT_FALSE(MoveFileA(dir.windows("a.txt").c_str(), dir.windows("b.txt").c_str()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(MoveFileExA(dir.windows("a.txt").c_str(), dir.windows("b.txt").c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(kt::readFile(dir / "b.txt"), "A");
    EXPECT_FALSE(kt::exists(dir / "a.txt"));
    EXPECT_TRUE(MoveFileExA(dir.windows("b.txt").c_str(), dir.windows("c.txt").c_str(), 0));
    EXPECT_EQ(kt::readFile(dir / "c.txt"), "A");
    EXPECT_FALSE(MoveFileExA(dir.windows("missing").c_str(), dir.windows("d.txt").c_str(), 0));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
}

TEST(Files, CopyKeepsOrRefusesTheTarget)
{
    kt::ScratchDir dir;
    kt::writeFile(dir / "src.txt", "source");
    kt::writeFile(dir / "dst.txt", "dest");
    EXPECT_FALSE(CopyFileA(dir.windows("src.txt").c_str(), dir.windows("dst.txt").c_str(), TRUE));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_EXISTS));
    EXPECT_EQ(kt::readFile(dir / "dst.txt"), "dest");
    EXPECT_TRUE(CopyFileA(dir.windows("src.txt").c_str(), dir.windows("dst.txt").c_str(), FALSE));
    EXPECT_EQ(kt::readFile(dir / "dst.txt"), "source");
    EXPECT_TRUE(CopyFileA(dir.windows("src.txt").c_str(), dir.windows("new.txt").c_str(), TRUE));
    EXPECT_EQ(kt::readFile(dir / "new.txt"), "source");
    EXPECT_EQ(kt::readFile(dir / "src.txt"), "source");
    EXPECT_FALSE(CopyFileA(dir.windows("missing").c_str(), dir.windows("x.txt").c_str(), FALSE));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(kt::exists(dir / "x.txt"));
}

TEST(Files, CreateAndRemoveDirectory)
{
    kt::ScratchDir dir;
    EXPECT_TRUE(CreateDirectoryA(dir.windows("sub").c_str(), nullptr));
    EXPECT_EQ(GetFileAttributesA(dir.windows("sub").c_str()), DWORD(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_FALSE(CreateDirectoryA(dir.windows("sub").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(CreateDirectoryA(dir.windows("a\\b").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
    kt::writeFile(dir / "sub/f", "x");
    EXPECT_FALSE(RemoveDirectoryA(dir.windows("sub").c_str()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_DIR_NOT_EMPTY));
    kt::writeFile(dir / "file", "x");
    EXPECT_FALSE(RemoveDirectoryA(dir.windows("file").c_str()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_DIRECTORY));
    ::unlink((dir / "sub/f").c_str());
    EXPECT_TRUE(RemoveDirectoryA(dir.windows("sub").c_str()));
    EXPECT_FALSE(kt::exists(dir / "sub"));
    EXPECT_FALSE(RemoveDirectoryA(dir.windows("sub").c_str()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
}

std::set<std::string> findAll(const std::string& pattern, DWORD& error)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(pattern.c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return names;
    }
    do
        names.insert(fd.cFileName);
    while (FindNextFileA(h, &fd));
    error = GetLastError();
    EXPECT_TRUE(FindClose(h));
    return names;
}

TEST(Files, FindWildcards)
{
    kt::ScratchDir dir;
    for (const char* name : {"a.txt", "b.txt", "ab.txt", "abc.bmp", "readme"})
        kt::writeFile(dir / name, "x");
    CreateDirectoryA(dir.windows("sub").c_str(), nullptr);
    struct Case {
        const char* pattern;
        std::set<std::string> names;
    };
    const Case cases[] = {
        {"*.txt", {"a.txt", "b.txt", "ab.txt"}},
        {"?.txt", {"a.txt", "b.txt"}},
        {"a*", {"a.txt", "ab.txt", "abc.bmp"}},
        {"??.txt", {"ab.txt"}},
        {"*.BMP", {"abc.bmp"}},
        {"readme", {"readme"}},
        {"s?b", {"sub"}},
        {"*", {".", "..", "a.txt", "b.txt", "ab.txt", "abc.bmp", "readme", "sub"}},
        {"*.*", {".", "..", "a.txt", "b.txt", "ab.txt", "abc.bmp", "readme", "sub"}},
        {"*.", {".", "..", "readme", "sub"}},
        {"*b*", {"b.txt", "ab.txt", "abc.bmp", "sub"}},
        {"a?c.*", {"abc.bmp"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        DWORD err = 0;
        EXPECT_EQ(findAll(dir.windows(c.pattern), err), c.names);
        EXPECT_EQ(err, DWORD(ERROR_NO_MORE_FILES));
    }
    DWORD err = 0;
    EXPECT_TRUE(findAll(dir.windows("*.png"), err).empty());
    EXPECT_EQ(err, DWORD(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(findAll(dir.windows("nodir\\*"), err).empty());
    EXPECT_EQ(err, DWORD(ERROR_PATH_NOT_FOUND));

    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(dir.windows("sub").c_str(), &fd);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_STREQ(fd.cFileName, "sub");
    EXPECT_TRUE(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    FindClose(h);
    h = FindFirstFileA(dir.windows("abc.bmp").c_str(), &fd);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(fd.nFileSizeLow, 1u);
    FindClose(h);
}

TEST(Files, FullPathNames)
{
    char cwd[MAX_PATH];
    ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, cwd), 0u);
    const std::string here = cwd;
    struct Case {
        const char* in;
        std::string out;
        const char* filePart; // nullptr: none
    };
    const Case cases[] = {
        {"C:\\a\\b\\..\\c.txt", "C:\\a\\c.txt", "c.txt"},
        {"c:/a/./b/", "C:\\a\\b\\", nullptr},
        {"\\x\\y", "C:\\x\\y", "y"},
        {"C:\\", "C:\\", nullptr},
        {"C:\\..\\..", "C:\\", nullptr},
        {"rel.txt", (here == "C:\\" ? std::string("C:\\") : here + "\\") + "rel.txt", "rel.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        char buf[MAX_PATH];
        LPSTR part = reinterpret_cast<LPSTR>(1);
        DWORD n = GetFullPathNameA(c.in, MAX_PATH, buf, &part);
        EXPECT_EQ(n, c.out.size());
        EXPECT_EQ(std::string(buf), c.out);
        if (c.filePart) {
            ASSERT_NE(part, nullptr);
            EXPECT_STREQ(part, c.filePart);
        } else {
            EXPECT_EQ(part, nullptr);
        }
        // Too small a buffer gets the size needed including the terminator.
        char tiny[4] = "zzz";
        EXPECT_EQ(GetFullPathNameA(c.in, 3, tiny, nullptr), c.out.size() + 1);
        EXPECT_EQ(GetFullPathNameA(c.in, 0, nullptr, nullptr), c.out.size() + 1);
        // Exactly room for the terminator is enough; one less is not.
        std::string exact(c.out.size() + 1, '#');
        EXPECT_EQ(GetFullPathNameA(c.in, DWORD(exact.size()), exact.data(), nullptr), c.out.size());
        EXPECT_EQ(GetFullPathNameA(c.in, DWORD(c.out.size()), exact.data(), nullptr), c.out.size() + 1);
    }
}

TEST(Files, TempPathAndTempFileName)
{
    char tmp[MAX_PATH];
    DWORD n = GetTempPathA(MAX_PATH, tmp);
    ASSERT_GT(n, 0u);
    ASSERT_LT(n, DWORD(MAX_PATH));
    EXPECT_EQ(strlen(tmp), n);
    EXPECT_EQ(tmp[n - 1], '\\');
    EXPECT_NE(GetFileAttributesA(tmp), INVALID_FILE_ATTRIBUTES);
    char small[2];
    EXPECT_EQ(GetTempPathA(sizeof small, small), n + 1);

    kt::ScratchDir dir;
    char name[MAX_PATH];
    // uUnique 0: a new file is made.
    UINT u = GetTempFileNameA(dir.windows().c_str(), "vkt", 0, name);
    ASSERT_NE(u, 0u);
    EXPECT_NE(GetFileAttributesA(name), INVALID_FILE_ATTRIBUTES);
    char second[MAX_PATH];
    ASSERT_NE(GetTempFileNameA(dir.windows().c_str(), "vkt", 0, second), 0u);
    EXPECT_STRNE(name, second);
    std::string n1 = name;
    EXPECT_NE(n1.find("\\vkt"), std::string::npos);
    EXPECT_EQ(n1.substr(n1.size() - 4), ".TMP");
    // A given uUnique only names the file.
    ASSERT_EQ(GetTempFileNameA(dir.windows().c_str(), "vkt", 0xABC, name), 0xABCu);
    EXPECT_EQ(std::string(name), dir.windows("vktABC.TMP"));
    EXPECT_EQ(GetFileAttributesA(name), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetTempFileNameA(dir.windows("nodir").c_str(), "vkt", 0, name), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_DIRECTORY));
}

TEST(Files, StaleAndWrongKindHandlesAreRefused)
{
    kt::ScratchDir dir;
    HANDLE h = open(dir.windows("s.txt"), GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(CloseHandle(h));
    DWORD n = 0;
    char buf[4];
    EXPECT_FALSE(ReadFile(h, buf, 4, &n, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(WriteFile(h, buf, 4, &n, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_EQ(GetFileSize(h, nullptr), INVALID_FILE_SIZE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(SetEndOfFile(h));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(FindNextFileA(h, nullptr));
    EXPECT_FALSE(FindClose(h));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(ReadFile(INVALID_HANDLE_VALUE, buf, 4, &n, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(ReadFile(nullptr, buf, 4, &n, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
}

} // namespace
