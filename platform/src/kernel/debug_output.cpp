// Debugger-facing calls and FormatMessageA. There is no debugger to talk
// to: debug strings go to stderr when VELKARO_DEBUG_OUTPUT=1.
#include "core/last_error.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct SystemMessage {
    DWORD id;
    const char* text;
};

// The texts Windows gives for the errors this layer reports.
constexpr SystemMessage kMessages[] = {
    {ERROR_SUCCESS, "The operation completed successfully."},
    {ERROR_INVALID_FUNCTION, "Incorrect function."},
    {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified."},
    {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified."},
    {ERROR_TOO_MANY_OPEN_FILES, "The system cannot open the file."},
    {ERROR_ACCESS_DENIED, "Access is denied."},
    {ERROR_INVALID_HANDLE, "The handle is invalid."},
    {ERROR_NOT_ENOUGH_MEMORY, "Not enough memory resources are available to process this command."},
    {ERROR_INVALID_DATA, "The data is invalid."},
    {ERROR_OUTOFMEMORY, "Not enough memory resources are available to complete this operation."},
    {ERROR_NOT_SAME_DEVICE, "The system cannot move the file to a different disk drive."},
    {ERROR_NO_MORE_FILES, "There are no more files."},
    {ERROR_GEN_FAILURE, "A device attached to the system is not functioning."},
    {ERROR_SHARING_VIOLATION, "The process cannot access the file because it is being used by another process."},
    {ERROR_HANDLE_EOF, "Reached the end of the file."},
    {ERROR_NOT_SUPPORTED, "The request is not supported."},
    {ERROR_FILE_EXISTS, "The file exists."},
    {ERROR_INVALID_PARAMETER, "The parameter is incorrect."},
    {ERROR_BROKEN_PIPE, "The pipe has been ended."},
    {ERROR_DISK_FULL, "There is not enough space on the disk."},
    {ERROR_CALL_NOT_IMPLEMENTED, "This function is not supported on this system."},
    {ERROR_INSUFFICIENT_BUFFER, "The data area passed to a system call is too small."},
    {ERROR_INVALID_NAME, "The filename, directory name, or volume label syntax is incorrect."},
    {ERROR_MOD_NOT_FOUND, "The specified module could not be found."},
    {ERROR_PROC_NOT_FOUND, "The specified procedure could not be found."},
    {ERROR_NEGATIVE_SEEK, "An attempt was made to move the file pointer before the beginning of the file."},
    {ERROR_DIR_NOT_EMPTY, "The directory is not empty."},
    {ERROR_NOT_LOCKED, "The segment is already unlocked."},
    {ERROR_BAD_PATHNAME, "The specified path is invalid."},
    {ERROR_ALREADY_EXISTS, "Cannot create a file when that file already exists."},
    {ERROR_BAD_EXE_FORMAT, "%1 is not a valid Win32 application."},
    {ERROR_ENVVAR_NOT_FOUND, "The system could not find the environment option that was entered."},
    {ERROR_FILENAME_EXCED_RANGE, "The filename or extension is too long."},
    {ERROR_DIRECTORY, "The directory name is invalid."},
    {ERROR_NOT_OWNER, "Attempt to release mutex not owned by caller."},
    {ERROR_PARTIAL_COPY, "Only part of a ReadProcessMemory or WriteProcessMemory request was completed."},
    {WAIT_TIMEOUT, "The wait operation timed out."},
    {ERROR_INVALID_ADDRESS, "Attempt to access invalid address."},
    {ERROR_NOACCESS, "Invalid access to memory location."},
    {ERROR_INVALID_FLAGS, "Invalid flags."},
    {ERROR_NO_UNICODE_TRANSLATION,
     "No mapping for the Unicode character exists in the target multi-byte code page."},
    {ERROR_INVALID_WINDOW_HANDLE, "Invalid window handle."},
    {ERROR_CANNOT_FIND_WND_CLASS, "Cannot find window class."},
    {ERROR_CLASS_ALREADY_EXISTS, "Class already exists."},
    {ERROR_CLASS_DOES_NOT_EXIST, "Class does not exist."},
};

const char* systemText(DWORD id)
{
    for (const SystemMessage& m : kMessages)
        if (m.id == id)
            return m.text;
    return nullptr;
}

// Expands %1..%99 (optionally %n!fmt!), %%, %n, %0 and friends.
bool expandInserts(const char* text, bool ignoreInserts, const DWORD_PTR* args, va_list* list, std::string& out)
{
    for (const char* p = text; *p; ++p) {
        if (*p != '%' || ignoreInserts) {
            out += *p;
            continue;
        }
        char c = *++p;
        if (c == '\0')
            break;
        if (c == '0')
            return true; // end of message, no newline
        if (c == 'n') {
            out += "\r\n";
            continue;
        }
        if (c < '1' || c > '9') {
            out += c; // %% %. %! and the like are the character itself
            continue;
        }
        int index = c - '0';
        if (p[1] >= '0' && p[1] <= '9')
            index = index * 10 + (*++p - '0');
        std::string fmt = "%s";
        if (p[1] == '!') {
            const char* end = std::strchr(p + 2, '!');
            if (!end)
                return false;
            fmt = "%" + std::string(p + 2, end);
            p = end;
        }
        DWORD_PTR value;
        if (args) {
            value = args[index - 1];
        } else if (list) {
            value = va_arg(*list, DWORD_PTR); // inserts read in the order they appear
        } else {
            return false;
        }
        char buf[512];
        if (fmt.back() == 's')
            std::snprintf(buf, sizeof buf, fmt.c_str(), reinterpret_cast<const char*>(value));
        else if (fmt.find_first_of("lI") != std::string::npos || fmt.back() == 'p')
            std::snprintf(buf, sizeof buf, fmt.c_str(), value);
        else
            std::snprintf(buf, sizeof buf, fmt.c_str(), unsigned(value));
        out += buf;
    }
    return true;
}

} // namespace

extern "C" {

void WINAPI OutputDebugStringA(LPCSTR lpOutputString)
{
    static const bool on = [] {
        const char* v = std::getenv("VELKARO_DEBUG_OUTPUT");
        return v && std::strcmp(v, "1") == 0;
    }();
    if (on && lpOutputString)
        std::fputs(lpOutputString, stderr);
}

BOOL WINAPI IsDebuggerPresent(void)
{
    return FALSE;
}

DWORD WINAPI FormatMessageA(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD, LPSTR lpBuffer, DWORD nSize,
                            va_list* Arguments)
{
    const char* text = nullptr;
    if (dwFlags & FORMAT_MESSAGE_FROM_STRING)
        text = static_cast<const char*>(lpSource);
    else if (dwFlags & FORMAT_MESSAGE_FROM_SYSTEM)
        text = systemText(dwMessageId);
    if (!text)
        return vk::failWith<DWORD>((dwFlags & (FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_FROM_SYSTEM))
                                       ? ERROR_MR_MID_NOT_FOUND
                                       : ERROR_INVALID_PARAMETER,
                                   0);
    std::string out;
    const bool ignore = dwFlags & FORMAT_MESSAGE_IGNORE_INSERTS;
    const DWORD_PTR* array = (dwFlags & FORMAT_MESSAGE_ARGUMENT_ARRAY) ? reinterpret_cast<const DWORD_PTR*>(Arguments)
                                                                         : nullptr;
    if (!expandInserts(text, ignore, array, array ? nullptr : Arguments, out))
        return vk::failWith<DWORD>(ERROR_INVALID_PARAMETER, 0);
    // System texts end with a line break.
    if (!(dwFlags & FORMAT_MESSAGE_FROM_STRING))
        out += "\r\n";
    if (dwFlags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
        if (!lpBuffer)
            return vk::failWith<DWORD>(ERROR_INVALID_PARAMETER, 0);
        size_t bytes = std::max<size_t>(out.size() + 1, nSize);
        auto* mem = static_cast<char*>(LocalAlloc(LMEM_FIXED, bytes));
        if (!mem)
            return vk::failWith<DWORD>(ERROR_NOT_ENOUGH_MEMORY, 0);
        std::memcpy(mem, out.c_str(), out.size() + 1);
        *reinterpret_cast<char**>(lpBuffer) = mem;
        return DWORD(out.size());
    }
    if (!lpBuffer || out.size() + 1 > nSize)
        return vk::failWith<DWORD>(ERROR_INSUFFICIENT_BUFFER, 0);
    std::memcpy(lpBuffer, out.c_str(), out.size() + 1);
    return DWORD(out.size());
}

} // extern "C"
