// Process environment and the folders a program asks Windows for: variables
// (names without regard to case, a default windir), the command line, the
// Windows, system, temporary and current directories.
#include "kernel/paths.h"

#include "core/last_error.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

extern char** environ;

namespace {

std::mutex& envMutex()
{
    static auto* m = new std::mutex;
    return *m;
}

// Windows sets windir and SystemRoot for every process; the host does not.
void ensureDefaults()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const std::string win = vk::kernel::windowsDirectoryWindows();
        for (const char* name : {"windir", "SystemRoot"}) {
            bool found = false;
            for (char** e = environ; e && *e; ++e)
                if (strncasecmp(*e, name, std::strlen(name)) == 0 && (*e)[std::strlen(name)] == '=')
                    found = true;
            if (!found)
                ::setenv(name, win.c_str(), 0);
        }
    });
}

// The exact name as stored in the environment that matches name without regard to case.
bool findVariable(const char* name, std::string& value, std::string* storedName = nullptr)
{
    ensureDefaults();
    if (const char* v = ::getenv(name)) {
        value = v;
        if (storedName)
            *storedName = name;
        return true;
    }
    size_t len = std::strlen(name);
    for (char** e = environ; e && *e; ++e) {
        if (strncasecmp(*e, name, len) == 0 && (*e)[len] == '=') {
            value = *e + len + 1;
            if (storedName)
                *storedName = std::string(*e, len);
            return true;
        }
    }
    return false;
}

// Copies text to a caller buffer of size chars the way the environment calls
// do: the length without the terminator when it fits, else the size needed.
DWORD copyOut(const std::string& text, LPSTR buffer, DWORD size)
{
    if (!buffer || text.size() >= size)
        return DWORD(text.size() + 1);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return DWORD(text.size());
}

std::string withTrailingBackslash(std::string s)
{
    if (s.empty() || s.back() != '\\')
        s += '\\';
    return s;
}

// Quotes one argument so that the Windows rules read it back unchanged.
std::string quoteArgument(const std::string& arg)
{
    if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string::npos)
        return arg;
    std::string out = "\"";
    size_t slashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++slashes;
            continue;
        }
        if (c == '"')
            out.append(slashes * 2 + 1, '\\');
        else
            out.append(slashes, '\\');
        slashes = 0;
        out += c;
    }
    out.append(slashes * 2, '\\');
    out += '"';
    return out;
}

} // namespace

extern "C" {

DWORD WINAPI GetCurrentProcessId(void)
{
    return DWORD(::getpid());
}

HANDLE WINAPI GetCurrentProcess(void)
{
    return reinterpret_cast<HANDLE>(intptr_t(-1));
}

DWORD WINAPI GetCurrentThreadId(void)
{
    return DWORD(::gettid());
}

HANDLE WINAPI GetCurrentThread(void)
{
    return reinterpret_cast<HANDLE>(intptr_t(-2));
}

void WINAPI ExitProcess(UINT uExitCode)
{
    std::fflush(nullptr);
    std::exit(int(uExitCode));
}

LPSTR WINAPI GetCommandLineA(void)
{
    static std::string* line = [] {
        auto* s = new std::string;
        std::ifstream in("/proc/self/cmdline", std::ios::binary);
        std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        size_t start = 0;
        while (start < raw.size()) {
            size_t end = raw.find('\0', start);
            if (end == std::string::npos)
                end = raw.size();
            if (!s->empty())
                *s += ' ';
            *s += quoteArgument(raw.substr(start, end - start));
            start = end + 1;
        }
        return s;
    }();
    return line->data();
}

void WINAPI GetStartupInfoA(LPSTARTUPINFOA lpStartupInfo)
{
    if (!lpStartupInfo)
        return;
    std::memset(lpStartupInfo, 0, sizeof *lpStartupInfo);
    lpStartupInfo->cb = sizeof *lpStartupInfo;
    lpStartupInfo->wShowWindow = 10; // SW_SHOWDEFAULT
}

DWORD WINAPI GetEnvironmentVariableA(LPCSTR lpName, LPSTR lpBuffer, DWORD nSize)
{
    if (!lpName || !*lpName || std::strchr(lpName, '='))
        return vk::failWith<DWORD>(ERROR_ENVVAR_NOT_FOUND, 0);
    std::string value;
    {
        std::lock_guard lock(envMutex());
        if (!findVariable(lpName, value))
            return vk::failWith<DWORD>(ERROR_ENVVAR_NOT_FOUND, 0);
    }
    SetLastError(ERROR_SUCCESS); // an empty value returns 0 too
    return copyOut(value, lpBuffer, nSize);
}

BOOL WINAPI SetEnvironmentVariableA(LPCSTR lpName, LPCSTR lpValue)
{
    if (!lpName || !*lpName || std::strchr(lpName, '='))
        return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
    std::lock_guard lock(envMutex());
    std::string old, stored;
    const bool exists = findVariable(lpName, old, &stored);
    if (!lpValue) {
        if (!exists)
            return vk::failWith(ERROR_ENVVAR_NOT_FOUND, FALSE);
        ::unsetenv(stored.c_str());
        return TRUE;
    }
    // Keep the spelling already in the environment, as Windows does.
    if (::setenv(exists ? stored.c_str() : lpName, lpValue, 1) != 0)
        return vk::failWith(ERROR_NOT_ENOUGH_MEMORY, FALSE);
    return TRUE;
}

DWORD WINAPI ExpandEnvironmentStringsA(LPCSTR lpSrc, LPSTR lpDst, DWORD nSize)
{
    if (!lpSrc)
        return vk::failWith<DWORD>(ERROR_INVALID_PARAMETER, 0);
    std::string out;
    {
        std::lock_guard lock(envMutex());
        const char* p = lpSrc;
        while (*p) {
            const char* close = *p == '%' ? std::strchr(p + 1, '%') : nullptr;
            std::string value;
            if (close && close > p + 1 && findVariable(std::string(p + 1, close).c_str(), value)) {
                out += value;
                p = close + 1;
            } else if (close) {
                // Unknown names stay as written, and the closing % may open the next one.
                out.append(p, close);
                p = close;
            } else {
                out += p;
                break;
            }
        }
    }
    // The count includes the terminator, whether or not it fits.
    if (lpDst && out.size() < nSize)
        std::memcpy(lpDst, out.c_str(), out.size() + 1);
    return DWORD(out.size() + 1);
}

UINT WINAPI GetWindowsDirectoryA(LPSTR lpBuffer, UINT uSize)
{
    vk::kernel::windowsDirectoryHost();
    return copyOut(vk::kernel::windowsDirectoryWindows(), lpBuffer, uSize);
}

UINT WINAPI GetSystemDirectoryA(LPSTR lpBuffer, UINT uSize)
{
    vk::kernel::windowsDirectoryHost();
    return copyOut(vk::kernel::systemDirectoryWindows(), lpBuffer, uSize);
}

DWORD WINAPI GetTempPathA(DWORD nBufferLength, LPSTR lpBuffer)
{
    std::string host;
    {
        std::lock_guard lock(envMutex());
        std::string v;
        for (const char* name : {"TMP", "TEMP", "TMPDIR", "USERPROFILE"}) {
            if (findVariable(name, v) && !v.empty()) {
                host = vk::kernel::toHostPath(v.c_str());
                if (!host.empty())
                    break;
            }
        }
    }
    if (host.empty())
        host = "/tmp";
    return copyOut(withTrailingBackslash(vk::kernel::toWindowsPath(host.c_str())), lpBuffer, nBufferLength);
}

UINT WINAPI GetTempFileNameA(LPCSTR lpPathName, LPCSTR lpPrefixString, UINT uUnique, LPSTR lpTempFileName)
{
    if (!lpPathName || !lpTempFileName)
        return vk::failWith<UINT>(ERROR_INVALID_PARAMETER, 0);
    std::string dir = withTrailingBackslash(lpPathName);
    std::string prefix = lpPrefixString ? std::string(lpPrefixString).substr(0, 3) : std::string();
    auto nameFor = [&](UINT n) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%X", n & 0xFFFF);
        return dir + prefix + hex + ".TMP";
    };
    if (uUnique) {
        std::string name = nameFor(uUnique);
        if (name.size() >= MAX_PATH)
            return vk::failWith<UINT>(ERROR_BUFFER_OVERFLOW, 0);
        std::memcpy(lpTempFileName, name.c_str(), name.size() + 1);
        return uUnique & 0xFFFF;
    }
    struct stat st;
    std::string hostDir = vk::kernel::toHostPath(lpPathName);
    if (hostDir.empty() || ::stat(hostDir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return vk::failWith<UINT>(ERROR_DIRECTORY, 0);
    // Start from the clock as Windows does, then take the first free number.
    UINT start = UINT(GetTickCount()) & 0xFFFF;
    for (UINT i = 0; i < 0x10000; ++i) {
        UINT n = ((start + i) & 0xFFFF) ? (start + i) & 0xFFFF : 1;
        std::string name = nameFor(n);
        if (name.size() >= MAX_PATH)
            return vk::failWith<UINT>(ERROR_BUFFER_OVERFLOW, 0);
        HANDLE h = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            CloseHandle(h);
            std::memcpy(lpTempFileName, name.c_str(), name.size() + 1);
            SetLastError(ERROR_SUCCESS);
            return n;
        }
        if (GetLastError() != ERROR_FILE_EXISTS)
            return 0;
    }
    return vk::failWith<UINT>(ERROR_FILE_EXISTS, 0);
}

DWORD WINAPI GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer)
{
    char buf[4096];
    if (!::getcwd(buf, sizeof buf))
        return vk::failWith<DWORD>(ERROR_PATH_NOT_FOUND, 0);
    return copyOut(vk::kernel::toWindowsPath(buf), lpBuffer, nBufferLength);
}

BOOL WINAPI SetCurrentDirectoryA(LPCSTR lpPathName)
{
    std::string host = vk::kernel::toHostPath(lpPathName);
    if (host.empty())
        return vk::failWith(ERROR_PATH_NOT_FOUND, FALSE);
    if (::chdir(host.c_str()) != 0) {
        if (errno == ENOENT)
            return vk::failWith(vk::kernel::missingPathError(host), FALSE);
        if (errno == ENOTDIR)
            return vk::failWith(ERROR_DIRECTORY, FALSE);
        return vk::failWith(vk::kernel::errorFromErrno(errno, host), FALSE);
    }
    return TRUE;
}

} // extern "C"
