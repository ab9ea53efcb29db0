// More file behaviour: folders opened as files, delete-on-close, read-only
// targets, file times, extended attributes, and the standard handles.
#include "kernel_test_support.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(FilesMore, FolderOpensOnlyWithBackupSemanticsForReading)
{
    kt::ScratchDir dir;
    HANDLE h = CreateFileA(dir.windows().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    h = CreateFileA(dir.windows().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FILETIME w{};
    EXPECT_TRUE(GetFileTime(h, nullptr, nullptr, &w));
    CloseHandle(h);
    h = CreateFileA(dir.windows().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
}

TEST(FilesMore, DeleteOnClose)
{
    kt::ScratchDir dir;
    HANDLE h = CreateFileA(dir.windows("gone.tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(kt::exists(dir / "gone.tmp"));
    CloseHandle(h);
    EXPECT_FALSE(kt::exists(dir / "gone.tmp"));
}

TEST(FilesMore, ReadOnlyTargetsAreNotReplaced)
{
    kt::ScratchDir dir;
    kt::writeFile(dir / "src", "new");
    kt::writeFile(dir / "ro", "old");
    chmod((dir / "ro").c_str(), 0444);
    EXPECT_FALSE(CopyFileA(dir.windows("src").c_str(), dir.windows("ro").c_str(), FALSE));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(MoveFileExA(dir.windows("src").c_str(), dir.windows("ro").c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    EXPECT_EQ(kt::readFile(dir / "ro"), "old");
    EXPECT_EQ(kt::readFile(dir / "src"), "new");
    // Copying a file onto itself is refused and keeps it.
    EXPECT_FALSE(CopyFileA(dir.windows("src").c_str(), dir.windows("src").c_str(), FALSE));
    EXPECT_EQ(kt::readFile(dir / "src"), "new");
    // A copy of a read-only file is read-only too, as on Windows.
    EXPECT_TRUE(CopyFileA(dir.windows("ro").c_str(), dir.windows("copy").c_str(), TRUE));
    EXPECT_EQ(GetFileAttributesA(dir.windows("copy").c_str()), DWORD(FILE_ATTRIBUTE_READONLY));
}

TEST(FilesMore, FileTimesRoundTrip)
{
    kt::ScratchDir dir;
    HANDLE h = CreateFileA(dir.windows("t").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    SYSTEMTIME st{};
    st.wYear = 2020;
    st.wMonth = 5;
    st.wDay = 17;
    st.wHour = 8;
    FILETIME want;
    ASSERT_TRUE(SystemTimeToFileTime(&st, &want));
    ASSERT_TRUE(SetFileTime(h, nullptr, &want, &want));
    FILETIME access{}, write{};
    ASSERT_TRUE(GetFileTime(h, nullptr, &access, &write));
    EXPECT_EQ(CompareFileTime(&write, &want), 0);
    EXPECT_EQ(CompareFileTime(&access, &want), 0);
    CloseHandle(h);
    struct stat s;
    ASSERT_EQ(stat((dir / "t").c_str(), &s), 0);
    EXPECT_EQ(s.st_mtime, 1589702400);

    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExA(dir.windows("t").c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.dwFileAttributes, DWORD(FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(data.nFileSizeLow, 0u);
    EXPECT_EQ(CompareFileTime(&data.ftLastWriteTime, &want), 0);
    EXPECT_FALSE(GetFileAttributesExA(dir.windows("none").c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
}

TEST(FilesMore, StandardHandlesWriteToTheProcessDescriptors)
{
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    ASSERT_NE(out, INVALID_HANDLE_VALUE);
    ASSERT_NE(out, nullptr);
    EXPECT_NE(GetFileType(out), DWORD(FILE_TYPE_UNKNOWN));
    EXPECT_EQ(GetStdHandle(12345), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    // Closing a standard handle leaves the descriptor to the process.
    HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    CloseHandle(err);
    EXPECT_NE(fcntl(2, F_GETFD), -1);
}

TEST(FilesMore, CurrentDirectoryRoundTrip)
{
    char before[MAX_PATH];
    ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, before), 0u);
    kt::ScratchDir dir;
    ASSERT_TRUE(SetCurrentDirectoryA(dir.windows().c_str()));
    char now[MAX_PATH];
    EXPECT_EQ(GetCurrentDirectoryA(MAX_PATH, now), dir.windows().size());
    EXPECT_EQ(std::string(now), dir.windows());
    char tiny[2];
    EXPECT_EQ(GetCurrentDirectoryA(sizeof tiny, tiny), dir.windows().size() + 1);
    kt::writeFile(dir / "here.txt", "h");
    EXPECT_EQ(GetFileAttributesA("here.txt"), DWORD(FILE_ATTRIBUTE_NORMAL));
    EXPECT_FALSE(SetCurrentDirectoryA(dir.windows("none").c_str()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(SetCurrentDirectoryA(dir.windows("here.txt").c_str()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_DIRECTORY));
    ASSERT_TRUE(SetCurrentDirectoryA(before));
}

} // namespace
