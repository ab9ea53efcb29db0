// Modules, code pages, GUID text and process exit codes.
#include <gtest/gtest.h>

#include <objbase.h>
#include <windows.h>

TEST(Modules, RegisteredModuleResolvesAndUnknownIsRefused)
{
    HMODULE k = LoadLibraryA("C:\\WINDOWS\\system32\\KERNEL32.DLL");
    ASSERT_NE(k, nullptr);
    EXPECT_NE(GetProcAddress(k, "GetTickCount"), nullptr);
    EXPECT_EQ(GetProcAddress(k, "NoSuchCall"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PROC_NOT_FOUND));
    EXPECT_EQ(LoadLibraryA("nosuch.dll"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_MOD_NOT_FOUND));
    EXPECT_NE(GetModuleHandleA(nullptr), nullptr);
}

TEST(CodePages, Utf8RoundTripsChineseAndEmoji)
{
    const char* text = "\xE5\xAE\x8B\xE4\xBD\x93\xF0\x9F\x98\x80"; // 宋体 and U+1F600
    WCHAR w[8];
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, w, 8), 5);
    EXPECT_EQ(w[0], 0x5B8B);
    EXPECT_EQ(w[2], 0xD83D);
    EXPECT_EQ(w[3], 0xDE00);
    char back[16];
    ASSERT_EQ(WideCharToMultiByte(CP_UTF8, 0, w, -1, back, 16, nullptr, nullptr), 11);
    EXPECT_STREQ(back, text);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "\xFF", 1, w, 8), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_UNICODE_TRANSLATION));
}

TEST(Guids, ParseAndPrint)
{
    CLSID c;
    ASSERT_EQ(CLSIDFromString(u"{0000000C-0000-0000-C000-000000000046}", &c), S_OK);
    EXPECT_TRUE(IsEqualGUID(c, IID_IStream));
    EXPECT_EQ(CLSIDFromString(u"{0000000C-0000-0000-C000-00000000004}", &c), CO_E_CLASSSTRING);
    WCHAR s[39];
    EXPECT_EQ(StringFromGUID2(IID_IStream, s, 39), 39);
}

TEST(Processes, ExitCodesOfTrueAndFalse)
{
    for (auto [cmd, code] : {std::pair{"/bin/true", 0u}, std::pair{"/bin/false", 1u}}) {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        char line[64];
        strcpy(line, cmd);
        ASSERT_TRUE(CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi));
        EXPECT_EQ(WaitForSingleObject(pi.hProcess, 5000), DWORD(WAIT_OBJECT_0));
        DWORD exit = 99;
        EXPECT_TRUE(GetExitCodeProcess(pi.hProcess, &exit));
        EXPECT_EQ(exit, code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        EXPECT_FALSE(CloseHandle(pi.hProcess));
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    }
}
