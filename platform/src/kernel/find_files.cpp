// FindFirstFileA / FindNextFileA: a snapshot of the matching directory
// entries, sorted by name without regard to case as NTFS lists them.
#include "kernel/file_object.h"
#include "kernel/paths.h"

#include "core/last_error.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <vector>

using namespace vk::kernel;

namespace {

class FindObject : public KernelObject {
public:
    bool closableByCloseHandle() const override { return false; }
    std::vector<WIN32_FIND_DATAA> entries;
    size_t next = 0;
};

bool matchHere(const char* p, const char* s)
{
    for (; *p; ++p, ++s) {
        if (*p == '*') {
            while (p[1] == '*')
                ++p;
            if (!p[1])
                return true;
            for (const char* t = s; *t; ++t)
                if (matchHere(p + 1, t))
                    return true;
            return matchHere(p + 1, s + std::strlen(s));
        }
        if (!*s)
            return false;
        if (*p != '?' && std::tolower(static_cast<unsigned char>(*p)) != std::tolower(static_cast<unsigned char>(*s)))
            return false;
    }
    return !*s;
}

} // namespace

namespace vk::kernel {

// Windows wildcards: '*' and '?', no case; "*.*" is every name and a pattern
// ending in '.' asks for names without an extension.
bool matchesWildcard(const std::string& pattern, const char* name)
{
    if (pattern == "*.*" || pattern == "*")
        return true;
    if (pattern.size() > 1 && pattern.back() == '.') {
        if (std::strchr(name, '.') && std::strcmp(name, ".") && std::strcmp(name, ".."))
            return false;
        return matchHere(pattern.substr(0, pattern.size() - 1).c_str(), name);
    }
    return matchHere(pattern.c_str(), name);
}

} // namespace vk::kernel

namespace {

WIN32_FIND_DATAA describe(const std::string& dir, const char* name)
{
    WIN32_FIND_DATAA d{};
    std::string full = dir == "/" ? "/" + std::string(name) : dir + "/" + name;
    struct stat st;
    if (::stat(full.c_str(), &st) != 0 && ::lstat(full.c_str(), &st) != 0)
        std::memset(&st, 0, sizeof st);
    if (S_ISDIR(st.st_mode))
        d.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    else if (S_ISREG(st.st_mode) && (st.st_mode & 0222) == 0)
        d.dwFileAttributes = FILE_ATTRIBUTE_READONLY;
    if (name[0] == '.' && std::strcmp(name, ".") && std::strcmp(name, ".."))
        d.dwFileAttributes |= FILE_ATTRIBUTE_HIDDEN;
    if (!d.dwFileAttributes)
        d.dwFileAttributes = FILE_ATTRIBUTE_NORMAL;
    d.ftCreationTime = fileTimeFromTimespec(st.st_mtim.tv_sec < st.st_ctim.tv_sec ? st.st_mtim : st.st_ctim);
    d.ftLastAccessTime = fileTimeFromTimespec(st.st_atim);
    d.ftLastWriteTime = fileTimeFromTimespec(st.st_mtim);
    uint64_t size = S_ISDIR(st.st_mode) ? 0 : uint64_t(st.st_size);
    d.nFileSizeHigh = DWORD(size >> 32);
    d.nFileSizeLow = DWORD(size & 0xFFFFFFFFu);
    std::strncpy(d.cFileName, name, MAX_PATH - 1);
    return d;
}

} // namespace

extern "C" {

HANDLE WINAPI FindFirstFileA(LPCSTR lpFileName, LPWIN32_FIND_DATAA lpFindFileData)
{
    if (!lpFileName || !*lpFileName || !lpFindFileData)
        return vk::failWith(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);
    std::string spec(lpFileName);
    size_t cut = spec.find_last_of("/\\");
    std::string dirPart = cut == std::string::npos ? std::string() : spec.substr(0, cut + 1);
    std::string pattern = cut == std::string::npos ? spec : spec.substr(cut + 1);
    if (dirPart.empty() && spec.size() >= 2 && spec[1] == ':') {
        dirPart = spec.substr(0, 2);
        pattern = spec.substr(2);
    }
    if (pattern.empty())
        return vk::failWith(ERROR_FILE_NOT_FOUND, INVALID_HANDLE_VALUE);
    std::string dir = toHostPath(dirPart.empty() ? "." : dirPart.c_str());
    if (dir.empty())
        return vk::failWith(ERROR_PATH_NOT_FOUND, INVALID_HANDLE_VALUE);
    DIR* d = ::opendir(dir.c_str());
    if (!d)
        return vk::failWith(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : ERROR_ACCESS_DENIED,
                            INVALID_HANDLE_VALUE);
    auto find = std::make_shared<FindObject>();
    const bool root = dir == "/";
    while (dirent* e = ::readdir(d)) {
        if (root && (!std::strcmp(e->d_name, ".") || !std::strcmp(e->d_name, "..")))
            continue; // a drive's root has no "." and ".."
        if (std::strlen(e->d_name) >= MAX_PATH)
            continue;
        if (matchesWildcard(pattern, e->d_name))
            find->entries.push_back(describe(dir, e->d_name));
    }
    ::closedir(d);
    if (find->entries.empty())
        return vk::failWith(ERROR_FILE_NOT_FOUND, INVALID_HANDLE_VALUE);
    std::sort(find->entries.begin(), find->entries.end(), [](const WIN32_FIND_DATAA& a, const WIN32_FIND_DATAA& b) {
        int c = strcasecmp(a.cFileName, b.cFileName);
        return c ? c < 0 : std::strcmp(a.cFileName, b.cFileName) < 0;
    });
    *lpFindFileData = find->entries[0];
    find->next = 1;
    HANDLE h = addHandle(find);
    if (!h)
        return vk::failWith(ERROR_NO_SYSTEM_RESOURCES, INVALID_HANDLE_VALUE);
    SetLastError(ERROR_SUCCESS);
    return h;
}

BOOL WINAPI FindNextFileA(HANDLE hFindFile, LPWIN32_FIND_DATAA lpFindFileData)
{
    auto find = lookup<FindObject>(hFindFile);
    if (!find)
        return vk::failWith(ERROR_INVALID_HANDLE, FALSE);
    if (!lpFindFileData)
        return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
    std::lock_guard lock(kernelMutex());
    if (find->next >= find->entries.size())
        return vk::failWith(ERROR_NO_MORE_FILES, FALSE);
    *lpFindFileData = find->entries[find->next++];
    return TRUE;
}

BOOL WINAPI FindClose(HANDLE hFindFile)
{
    if (!lookup<FindObject>(hFindFile))
        return vk::failWith(ERROR_INVALID_HANDLE, FALSE);
    removeHandle(hFindFile);
    return TRUE;
}

} // extern "C"
