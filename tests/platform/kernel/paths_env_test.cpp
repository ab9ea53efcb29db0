// The Windows-path mapping (C:\ is the host root, C:\WINDOWS the layer's own
// folder), the environment and the facts a trust check reads about a file.
#include "kernel_test_support.h"

#include "kernel/paths.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string windowsHost()
{
    return kt::dataHome() + "/velkaro/windows";
}

TEST(WindowsPaths, WindowsDirectoryLivesUnderXdgDataHome)
{
    EXPECT_EQ(vk::kernel::windowsDirectoryHost(), windowsHost());
    struct stat st;
    EXPECT_EQ(stat((windowsHost() + "/system32").c_str(), &st), 0);
    char buf[MAX_PATH];
    EXPECT_EQ(GetWindowsDirectoryA(buf, MAX_PATH), 10u);
    EXPECT_STREQ(buf, "C:\\WINDOWS");
    EXPECT_EQ(GetSystemDirectoryA(buf, MAX_PATH), 19u);
    EXPECT_STREQ(buf, "C:\\WINDOWS\\system32");
    EXPECT_EQ(GetWindowsDirectoryA(buf, 4), 11u);
}

TEST(WindowsPaths, ToHostPathTable)
{
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    const std::string here = cwd;
    struct Case {
        const char* in;
        std::string out;
    };
    const Case cases[] = {
        {"C:\\tmp\\a.txt", "/tmp/a.txt"},
        {"c:\\tmp\\a.txt", "/tmp/a.txt"},
        {"C:/tmp/a.txt", "/tmp/a.txt"},
        {"C:\\tmp/x\\..\\a.txt", "/tmp/a.txt"},
        {"C:\\", "/"},
        {"\\tmp\\a.txt", "/tmp/a.txt"},
        {"/tmp/a.txt", "/tmp/a.txt"},
        {"/tmp//./a.txt", "/tmp/a.txt"},
        {"C:\\WINDOWS", windowsHost()},
        {"C:\\windows\\system32", windowsHost() + "/system32"},
        {"c:\\WinDows\\System32\\kernel32.dll", windowsHost() + "/system32/kernel32.dll"},
        {"C:/WINDOWS/Fonts", windowsHost() + "/Fonts"},
        {"rel.txt", here + "/rel.txt"},
        {"sub\\rel.txt", here + "/sub/rel.txt"},
        {".\\rel.txt", here + "/rel.txt"},
        {"C:rel.txt", here + "/rel.txt"},
        {"D:\\a.txt", ""},
        {"z:/a.txt", ""},
        {"\\\\server\\share\\a.txt", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(vk::kernel::toHostPath(c.in), c.out);
    }
    EXPECT_EQ(vk::kernel::toHostPath(nullptr), "");
}

TEST(WindowsPaths, ToWindowsPathTable)
{
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    std::string here = vk::kernel::toWindowsPath(cwd);
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"/tmp/a.txt", "C:\\tmp\\a.txt"},
        {"/", "C:\\"},
        {"/tmp/../etc//x", "C:\\etc\\x"},
        {windowsHost(), "C:\\WINDOWS"},
        {windowsHost() + "/system32/a.dll", "C:\\WINDOWS\\system32\\a.dll"},
        {windowsHost() + "x/a", "C:" + [] {
             std::string s = windowsHost() + "x/a";
             for (char& ch : s)
                 if (ch == '/')
                     ch = '\\';
             return s;
         }()},
        {"rel.txt", (here == "C:\\" ? std::string("C:") : here) + "\\rel.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(vk::kernel::toWindowsPath(c.in.c_str()), c.out);
    }
}

TEST(WindowsPaths, NamesInAnotherCaseAreFoundWhenUnique)
{
    kt::ScratchDir dir;
    kt::writeFile(dir / "Mixed.TXT", "m");
    EXPECT_EQ(vk::kernel::toHostPath(dir.windows("mixed.txt").c_str()), dir / "Mixed.TXT");
    kt::writeFile(dir / "twin", "1");
    kt::writeFile(dir / "TWIN", "2");
    EXPECT_EQ(vk::kernel::toHostPath(dir.windows("Twin").c_str()), dir / "Twin");
}

TEST(WindowsPaths, CreateFileThroughEverySpelling)
{
    kt::ScratchDir dir;
    std::string forward = "C:" + dir.path() + "/f.txt";
    std::string lower = dir.windows("f.txt");
    lower[0] = 'c';
    const std::string spellings[] = {dir.windows("f.txt"), forward, lower, dir / "f.txt"};
    for (const std::string& path : spellings) {
        SCOPED_TRACE(path);
        ::unlink((dir / "f.txt").c_str());
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        DWORD n;
        WriteFile(h, "x", 1, &n, nullptr);
        CloseHandle(h);
        EXPECT_EQ(kt::readFile(dir / "f.txt"), "x");
    }
    for (const char* path : {"C:\\WINDOWS\\vk-test.ini", "c:/windows/VK-TEST.INI"}) {
        SCOPED_TRACE(path);
        HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        CloseHandle(h);
    }
    EXPECT_TRUE(kt::exists(windowsHost() + "/vk-test.ini"));
    EXPECT_FALSE(kt::exists(windowsHost() + "/VK-TEST.INI")); // found the existing name
    EXPECT_TRUE(DeleteFileA("C:\\Windows\\vk-test.ini"));
    for (const char* path : {"D:\\f.txt", "\\\\srv\\share\\f.txt"}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
    }
}

TEST(Environment, WindirDefaultsToTheWindowsDirectory)
{
    char buf[MAX_PATH];
    EXPECT_EQ(GetEnvironmentVariableA("windir", buf, MAX_PATH), 10u);
    EXPECT_STREQ(buf, "C:\\WINDOWS");
    EXPECT_EQ(GetEnvironmentVariableA("WINDIR", buf, MAX_PATH), 10u);
    EXPECT_EQ(GetEnvironmentVariableA("SystemRoot", buf, MAX_PATH), 10u);
    EXPECT_EQ(ExpandEnvironmentStringsA("%windir%\\system32", buf, MAX_PATH), 20u);
    EXPECT_STREQ(buf, "C:\\WINDOWS\\system32");
}

TEST(Environment, SetGetAndRemove)
{
    ASSERT_TRUE(SetEnvironmentVariableA("VK_KERNEL_TEST", "value-42"));
    char buf[64];
    EXPECT_EQ(GetEnvironmentVariableA("VK_KERNEL_TEST", buf, sizeof buf), 8u);
    EXPECT_STREQ(buf, "value-42");
    EXPECT_EQ(GetEnvironmentVariableA("vk_kernel_test", buf, sizeof buf), 8u);
    // Too small: the size needed with the terminator, buffer untouched count.
    char small[4] = "abc";
    EXPECT_EQ(GetEnvironmentVariableA("VK_KERNEL_TEST", small, sizeof small), 9u);
    EXPECT_EQ(GetEnvironmentVariableA("VK_KERNEL_TEST", nullptr, 0), 9u);
    EXPECT_EQ(GetEnvironmentVariableA("VK_KERNEL_TEST", buf, 9), 8u);
    // The stored spelling is kept when set in another case.
    ASSERT_TRUE(SetEnvironmentVariableA("vk_kernel_test", "v2"));
    EXPECT_STREQ(getenv("VK_KERNEL_TEST"), "v2");
    ASSERT_TRUE(SetEnvironmentVariableA("VK_KERNEL_TEST", nullptr));
    SetLastError(0);
    EXPECT_EQ(GetEnvironmentVariableA("VK_KERNEL_TEST", buf, sizeof buf), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ENVVAR_NOT_FOUND));
    EXPECT_FALSE(SetEnvironmentVariableA("VK_KERNEL_TEST", nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ENVVAR_NOT_FOUND));
    EXPECT_FALSE(SetEnvironmentVariableA("A=B", "x"));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    // An empty value exists: 0 with no error.
    ASSERT_TRUE(SetEnvironmentVariableA("VK_KERNEL_EMPTY", ""));
    SetLastError(77);
    EXPECT_EQ(GetEnvironmentVariableA("VK_KERNEL_EMPTY", buf, sizeof buf), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SUCCESS));
    SetEnvironmentVariableA("VK_KERNEL_EMPTY", nullptr);
}

TEST(HostFileFacts, RegularFolderAndLooseFiles)
{
    kt::ScratchDir dir;
    kt::writeFile(dir / "own.sh", "x");
    chmod((dir / "own.sh").c_str(), 0755);
    kt::writeFile(dir / "group.sh", "x");
    chmod((dir / "group.sh").c_str(), 0775);
    kt::writeFile(dir / "other.sh", "x");
    chmod((dir / "other.sh").c_str(), 0757);
    ASSERT_EQ(symlink((dir / "own.sh").c_str(), (dir / "link.sh").c_str()), 0);
    struct Case {
        std::string path;
        bool regular, symlink, loose;
    };
    const Case cases[] = {
        {dir.windows("own.sh"), true, false, false},
        {dir.windows("group.sh"), true, false, true},
        {dir.windows("other.sh"), true, false, true},
        {dir.windows(), false, false, false},
        {dir.windows("link.sh"), false, true, true}, // a link's own bits are 0777
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        vk::kernel::HostFileFacts f;
        ASSERT_TRUE(vk::kernel::hostFileFacts(c.path.c_str(), f));
        EXPECT_TRUE(f.exists);
        EXPECT_EQ(f.isRegular, c.regular);
        EXPECT_EQ(f.isSymlink, c.symlink);
        EXPECT_EQ(f.writableByGroupOrOthers, c.loose);
        EXPECT_EQ(f.owner, getuid());
    }
    vk::kernel::HostFileFacts f;
    f.exists = true;
    EXPECT_FALSE(vk::kernel::hostFileFacts(dir.windows("none").c_str(), f));
    EXPECT_FALSE(f.exists);
    EXPECT_FALSE(vk::kernel::hostFileFacts("D:\\x", f));
    EXPECT_FALSE(vk::kernel::hostFileFacts(nullptr, f));
}

} // namespace
