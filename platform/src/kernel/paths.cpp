// Mapping between Windows paths and host paths.
#include "kernel/paths.h"

#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <mutex>
#include <pwd.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vk::kernel {
namespace {

bool isSep(char c)
{
    return c == '/' || c == '\\';
}

std::vector<std::string> split(const std::string& s)
{
    std::vector<std::string> parts;
    std::string cur;
    for (char c : s) {
        if (isSep(c)) {
            if (!cur.empty())
                parts.push_back(std::move(cur));
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty())
        parts.push_back(std::move(cur));
    return parts;
}

// Drops "." and resolves ".." lexically, as Windows does before touching disk.
std::vector<std::string> normalize(const std::vector<std::string>& in)
{
    std::vector<std::string> out;
    for (const std::string& p : in) {
        if (p == ".")
            continue;
        if (p == "..") {
            if (!out.empty())
                out.pop_back();
            continue;
        }
        out.push_back(p);
    }
    return out;
}

std::string join(const std::vector<std::string>& parts, char sep, size_t from = 0)
{
    std::string s;
    for (size_t i = from; i < parts.size(); ++i) {
        s += sep;
        s += parts[i];
    }
    return s;
}

std::string currentDirectory()
{
    char buf[4096];
    if (!getcwd(buf, sizeof buf))
        return "/";
    return buf;
}

void makeDirs(const std::string& path)
{
    std::string cur;
    for (const std::string& p : split(path)) {
        cur += "/" + p;
        mkdir(cur.c_str(), 0755);
    }
}

std::string computeWindowsHost()
{
    const char* xdg = std::getenv("XDG_DATA_HOME");
    std::string base;
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || home[0] != '/') {
            passwd* pw = getpwuid(getuid());
            home = pw && pw->pw_dir ? pw->pw_dir : "/tmp";
        }
        base = std::string(home) + "/.local/share";
    }
    return join(normalize(split(base)), '/') + "/velkaro/windows";
}

const std::vector<std::string>& windowsHostParts()
{
    static const std::vector<std::string> parts = split(computeWindowsHost());
    return parts;
}

// Finds a directory entry that differs only in letter case, when exactly one does.
bool caseInsensitiveEntry(const std::string& dir, const std::string& name, std::string& found)
{
    DIR* d = opendir(dir.empty() ? "/" : dir.c_str());
    if (!d)
        return false;
    int matches = 0;
    while (dirent* e = readdir(d)) {
        if (strcasecmp(e->d_name, name.c_str()) == 0) {
            found = e->d_name;
            ++matches;
        }
    }
    closedir(d);
    return matches == 1;
}

} // namespace

std::string windowsDirectoryHost()
{
    std::string dir = join(windowsHostParts(), '/');
    struct stat st;
    if (stat((dir + "/system32").c_str(), &st) != 0)
        makeDirs(dir + "/system32");
    return dir;
}

std::string toHostPath(const char* path)
{
    if (!path || !*path)
        return {};
    std::string s(path);
    if (s.rfind("\\\\?\\", 0) == 0 || s.rfind("//?/", 0) == 0)
        s.erase(0, 4);
    if (s.size() >= 2 && isSep(s[0]) && isSep(s[1]))
        return {}; // UNC names have no host meaning
    bool absolute = false;
    if (s.size() >= 2 && s[1] == ':' && std::isalpha(static_cast<unsigned char>(s[0]))) {
        if (s[0] != 'C' && s[0] != 'c')
            return {};
        s.erase(0, 2);
        // "C:name" is relative to the current directory of drive C, which is ours.
    }
    if (!s.empty() && isSep(s[0]))
        absolute = true;
    std::vector<std::string> parts = split(s);
    if (!absolute) {
        std::vector<std::string> cwd = split(currentDirectory());
        cwd.insert(cwd.end(), parts.begin(), parts.end());
        parts = std::move(cwd);
    }
    parts = normalize(parts);

    size_t fixed = 0; // leading parts that need no case lookup
    if (!parts.empty() && strcasecmp(parts[0].c_str(), "windows") == 0) {
        windowsDirectoryHost();
        const auto& win = windowsHostParts();
        parts.erase(parts.begin());
        parts.insert(parts.begin(), win.begin(), win.end());
        fixed = win.size();
    }

    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) {
        std::string next = out + "/" + parts[i];
        struct stat st;
        if (i >= fixed && lstat(next.c_str(), &st) != 0 && errno == ENOENT) {
            std::string found;
            if (caseInsensitiveEntry(out, parts[i], found))
                next = out + "/" + found;
        }
        out = std::move(next);
    }
    return out.empty() ? "/" : out;
}

std::string toWindowsPath(const char* hostPath)
{
    if (!hostPath)
        return {};
    std::string s(hostPath);
    std::vector<std::string> parts = split(s);
    if (s.empty() || s[0] != '/') {
        std::vector<std::string> cwd = split(currentDirectory());
        cwd.insert(cwd.end(), parts.begin(), parts.end());
        parts = std::move(cwd);
    }
    parts = normalize(parts);
    const auto& win = windowsHostParts();
    if (parts.size() >= win.size() && std::equal(win.begin(), win.end(), parts.begin()))
        return windowsDirectoryWindows() + join(parts, '\\', win.size());
    if (parts.empty())
        return "C:\\";
    return "C:" + join(parts, '\\');
}

DWORD missingPathError(const std::string& hostPath)
{
    size_t cut = hostPath.find_last_of('/');
    if (cut == std::string::npos || cut == 0)
        return ERROR_FILE_NOT_FOUND;
    struct stat st;
    std::string parent = hostPath.substr(0, cut);
    if (stat(parent.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return ERROR_PATH_NOT_FOUND;
    return ERROR_FILE_NOT_FOUND;
}

DWORD errorFromErrno(int err, const std::string& hostPath)
{
    switch (err) {
    case ENOENT:
        return hostPath.empty() ? ERROR_FILE_NOT_FOUND : missingPathError(hostPath);
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return ERROR_ACCESS_DENIED;
    case EEXIST:
        return ERROR_FILE_EXISTS;
    case ENOTEMPTY:
        return ERROR_DIR_NOT_EMPTY;
    case ENOSPC:
    case EDQUOT:
        return ERROR_DISK_FULL;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EBADF:
        return ERROR_INVALID_HANDLE;
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    case EBUSY:
    case ETXTBSY:
        return ERROR_SHARING_VIOLATION;
    case EXDEV:
        return ERROR_NOT_SAME_DEVICE;
    default:
        return ERROR_GEN_FAILURE;
    }
}

bool hostFileFacts(const char* windowsPath, HostFileFacts& facts)
{
    facts = HostFileFacts{};
    std::string host = toHostPath(windowsPath);
    struct stat st;
    if (host.empty() || lstat(host.c_str(), &st) != 0)
        return false;
    facts.exists = true;
    facts.isRegular = S_ISREG(st.st_mode);
    facts.isSymlink = S_ISLNK(st.st_mode);
    facts.owner = st.st_uid;
    facts.writableByGroupOrOthers = (st.st_mode & (S_IWGRP | S_IWOTH)) != 0;
    return true;
}

} // namespace vk::kernel
