// Files by Windows path: open/read/write/seek, attributes, directories,
// delete/move/copy. Host errors become the Win32 codes Windows reports for
// the same situation.
//
// FILE_ATTRIBUTE_READONLY is a file without any write permission bit. The
// layer refuses writing, truncating, deleting and replacing such a file even
// when the host would allow it (root), as Windows refuses it to an
// administrator.
#include "kernel/file_object.h"
#include "kernel/paths.h"

#include "core/last_error.h"

#include <windows.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <mutex>
#include <cstdio>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace vk::kernel;

namespace vk::kernel {

constexpr int64_t kSecondsFrom1601To1970 = 11644473600LL;
constexpr int64_t kTicksPerSecond = 10000000LL;

FILETIME fileTimeFromTimespec(const struct timespec& ts)
{
    int64_t ticks = (int64_t(ts.tv_sec) + kSecondsFrom1601To1970) * kTicksPerSecond + ts.tv_nsec / 100;
    if (ticks < 0)
        ticks = 0;
    return FILETIME{DWORD(uint64_t(ticks) & 0xFFFFFFFFu), DWORD(uint64_t(ticks) >> 32)};
}

struct timespec timespecFromFileTime(const FILETIME& ft)
{
    int64_t ticks = int64_t((uint64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
    struct timespec ts;
    ts.tv_sec = time_t(ticks / kTicksPerSecond - kSecondsFrom1601To1970);
    ts.tv_nsec = long(ticks % kTicksPerSecond) * 100;
    return ts;
}

FileObject::~FileObject()
{
    if (fd >= 0 && !borrowed)
        ::close(fd);
    if (deleteOnClose)
        ::unlink(hostPath.c_str());
}

} // namespace vk::kernel

namespace {

bool isReadOnlyMode(const struct stat& st)
{
    return S_ISREG(st.st_mode) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

std::string baseNameOf(const std::string& host)
{
    size_t cut = host.find_last_of('/');
    return cut == std::string::npos ? host : host.substr(cut + 1);
}

DWORD attributesOf(const struct stat& st, const std::string& name)
{
    DWORD a = 0;
    if (S_ISDIR(st.st_mode))
        a |= FILE_ATTRIBUTE_DIRECTORY;
    else if (!S_ISREG(st.st_mode))
        a |= FILE_ATTRIBUTE_DEVICE;
    if (isReadOnlyMode(st))
        a |= FILE_ATTRIBUTE_READONLY;
    // Dot files are the host's hidden files.
    if (name.size() > 1 && name[0] == '.' && name != "..")
        a |= FILE_ATTRIBUTE_HIDDEN;
    return a ? a : FILE_ATTRIBUTE_NORMAL;
}

FILETIME creationTime(const struct stat& st)
{
    // The host keeps no reliable birth time on every file system; the older
    // of change and modification time stands in for it.
    const struct timespec& c = st.st_ctim;
    const struct timespec& m = st.st_mtim;
    bool mOlder = m.tv_sec < c.tv_sec || (m.tv_sec == c.tv_sec && m.tv_nsec < c.tv_nsec);
    return fileTimeFromTimespec(mOlder ? m : c);
}

std::shared_ptr<FileObject> fileFor(HANDLE h)
{
    return lookup<FileObject>(h);
}

bool isDeviceName(const std::string& name, const char* device)
{
    return strcasecmp(name.c_str(), device) == 0;
}

// Reads or writes everything asked, stopping only at end of file or error.
template <class Io>
ssize_t transferAll(Io io, size_t total)
{
    size_t done = 0;
    while (done < total) {
        ssize_t n = io(done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return done ? ssize_t(done) : -1;
        }
        if (n == 0)
            break;
        done += size_t(n);
    }
    return ssize_t(done);
}

bool statPath(const char* name, std::string& host, struct stat& st, DWORD& err)
{
    host = toHostPath(name);
    if (host.empty()) {
        err = ERROR_PATH_NOT_FOUND;
        return false;
    }
    if (::stat(host.c_str(), &st) != 0) {
        err = errorFromErrno(errno, host);
        return false;
    }
    return true;
}

// Windows' lexical full path: no disk access, "." and ".." folded, slashes
// turned into backslashes.
std::string fullWindowsPath(const char* name)
{
    std::string s(name);
    for (char& c : s)
        if (c == '/')
            c = '\\';
    std::string prefix;
    if (s.size() >= 2 && s[1] == ':' && std::isalpha(static_cast<unsigned char>(s[0]))) {
        prefix = std::string(1, char(std::toupper(static_cast<unsigned char>(s[0])))) + ":";
        s.erase(0, 2);
        if (s.empty() || s[0] != '\\') {
            char cwd[MAX_PATH * 4];
            DWORD n = GetCurrentDirectoryA(sizeof cwd, cwd);
            std::string base = n && n < sizeof cwd ? std::string(cwd + 2) : "\\";
            s = base + "\\" + s;
        }
    } else if (s.rfind("\\\\", 0) == 0) {
        prefix = "\\";
        s.erase(0, 1);
    } else if (!s.empty() && s[0] == '\\') {
        prefix = "C:";
    } else {
        char cwd[MAX_PATH * 4];
        DWORD n = GetCurrentDirectoryA(sizeof cwd, cwd);
        std::string base = n && n < sizeof cwd ? std::string(cwd) : "C:\\";
        prefix = base.substr(0, 2);
        s = base.substr(2) + "\\" + s;
    }
    bool trailing = !s.empty() && s.back() == '\\';
    std::vector<std::string> parts;
    std::string cur;
    auto flush = [&] {
        if (cur == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!cur.empty() && cur != ".") {
            parts.push_back(cur);
        }
        cur.clear();
    };
    for (char c : s) {
        if (c == '\\')
            flush();
        else
            cur += c;
    }
    flush();
    std::string out = prefix;
    for (const std::string& p : parts)
        out += "\\" + p;
    if (parts.empty() || trailing)
        out += "\\";
    return out;
}

} // namespace

extern "C" {

HANDLE WINAPI CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode, LPSECURITY_ATTRIBUTES,
                          DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes, HANDLE)
{
    if (!lpFileName || !*lpFileName)
        return vk::failWith(ERROR_PATH_NOT_FOUND, INVALID_HANDLE_VALUE);
    if (dwCreationDisposition < CREATE_NEW || dwCreationDisposition > TRUNCATE_EXISTING)
        return vk::failWith(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);
    const bool wantRead = dwDesiredAccess & (GENERIC_READ | GENERIC_ALL | FILE_READ_DATA);
    const bool wantWrite = dwDesiredAccess & (GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_APPEND_DATA);
    if (dwCreationDisposition == TRUNCATE_EXISTING && !wantWrite)
        return vk::failWith(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);

    std::string host = toHostPath(lpFileName);
    if (isDeviceName(baseNameOf(host), "nul"))
        host = "/dev/null";
    if (host.empty())
        return vk::failWith(ERROR_PATH_NOT_FOUND, INVALID_HANDLE_VALUE);

    struct stat st;
    const bool existed = ::stat(host.c_str(), &st) == 0;
    if (existed) {
        if (dwCreationDisposition == CREATE_NEW)
            return vk::failWith(ERROR_FILE_EXISTS, INVALID_HANDLE_VALUE);
        if (S_ISDIR(st.st_mode) && (!(dwFlagsAndAttributes & FILE_FLAG_BACKUP_SEMANTICS) || wantWrite))
            return vk::failWith(ERROR_ACCESS_DENIED, INVALID_HANDLE_VALUE);
        const bool truncates = dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == TRUNCATE_EXISTING;
        if (isReadOnlyMode(st) && (wantWrite || truncates))
            return vk::failWith(ERROR_ACCESS_DENIED, INVALID_HANDLE_VALUE);
    }

    int flags = O_CLOEXEC | O_NOCTTY;
    if (wantRead && wantWrite)
        flags |= O_RDWR;
    else if (wantWrite)
        flags |= O_WRONLY;
    else if (wantRead || !existed)
        flags |= O_RDONLY;
    else
        flags |= O_PATH; // access 0: attributes and times only
    if (existed && S_ISDIR(st.st_mode))
        flags = O_CLOEXEC | O_RDONLY | O_DIRECTORY;
    switch (dwCreationDisposition) {
    case CREATE_NEW:
        flags |= O_CREAT | O_EXCL;
        break;
    case CREATE_ALWAYS:
        flags |= O_CREAT | O_TRUNC;
        break;
    case OPEN_ALWAYS:
        flags |= O_CREAT;
        break;
    case TRUNCATE_EXISTING:
        flags |= O_TRUNC;
        break;
    default:
        break;
    }
    if ((flags & O_PATH) && (flags & (O_CREAT | O_TRUNC)))
        flags = (flags & ~O_PATH) | O_RDONLY;
    if (S_ISCHR(st.st_mode) && existed)
        flags &= ~O_TRUNC;
    if (dwFlagsAndAttributes & FILE_FLAG_WRITE_THROUGH)
        flags |= O_DSYNC;
    const mode_t mode = (dwFlagsAndAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;

    int fd;
    do
        fd = ::open(host.c_str(), flags, mode);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        DWORD err = errno == EEXIST ? ERROR_FILE_EXISTS : errorFromErrno(errno, host);
        return vk::failWith(err, INVALID_HANDLE_VALUE);
    }
    auto file = std::make_shared<FileObject>(fd, host, wantRead, wantWrite,
                                             (dwFlagsAndAttributes & FILE_FLAG_DELETE_ON_CLOSE) != 0);
    HANDLE h = addHandle(file);
    if (!h)
        return vk::failWith(ERROR_TOO_MANY_OPEN_FILES, INVALID_HANDLE_VALUE);
    const bool reportExisting =
        existed && (dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == OPEN_ALWAYS);
    SetLastError(reportExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return h;
}

BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                     LPOVERLAPPED lpOverlapped)
{
    if (lpNumberOfBytesRead)
        *lpNumberOfBytesRead = 0;
    auto f = fileFor(hFile);
    if (!f)
        return vk::failWith(ERROR_INVALID_HANDLE, FALSE);
    if (!f->canRead)
        return vk::failWith(ERROR_ACCESS_DENIED, FALSE);
    if (!lpBuffer && nNumberOfBytesToRead)
        return vk::failWith(ERROR_NOACCESS, FALSE);
    if (lpOverlapped) {
        off_t at = off_t((uint64_t(lpOverlapped->u.s.OffsetHigh) << 32) | lpOverlapped->u.s.Offset);
        if (::lseek(f->fd, at, SEEK_SET) < 0)
            return vk::failWith(vk::kernel::errorFromErrno(errno), FALSE);
    }
    char* out = static_cast<char*>(lpBuffer);
    ssize_t n = transferAll([&](size_t done) { return ::read(f->fd, out + done, nNumberOfBytesToRead - done); },
                            nNumberOfBytesToRead);
    if (n < 0)
        return vk::failWith(errno == EFAULT ? ERROR_NOACCESS : vk::kernel::errorFromErrno(errno), FALSE);
    if (lpNumberOfBytesRead)
        *lpNumberOfBytesRead = DWORD(n);
    if (lpOverlapped) {
        lpOverlapped->Internal = 0;
        lpOverlapped->InternalHigh = ULONG_PTR(n);
        // Reading at the end through an OVERLAPPED offset is reported, unlike a plain read.
        if (n == 0 && nNumberOfBytesToRead)
            return vk::failWith(ERROR_HANDLE_EOF, FALSE);
    }
    return TRUE;
}

BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
                      LPOVERLAPPED lpOverlapped)
{
    if (lpNumberOfBytesWritten)
        *lpNumberOfBytesWritten = 0;
    auto f = fileFor(hFile);
    if (!f)
        return vk::failWith(ERROR_INVALID_HANDLE, FALSE);
    if (!f->canWrite)
        return vk::failWith(ERROR_ACCESS_DENIED, FALSE);
    if (!lpBuffer && nNumberOfBytesToWrite)
        return vk::failWith(ERROR_NOACCESS, FALSE);
    if (lpOverlapped) {
        off_t at = off_t((uint64_t(lpOverlapped->u.s.OffsetHigh) << 32) | lpOverlapped->u.s.Offset);
        if (::lseek(f->fd, at, SEEK_SET) < 0)
            return vk::failWith(vk::kernel::errorFromErrno(errno), FALSE);
    }
    const char* in = static_cast<const char*>(lpBuffer);
    size_t done = 0;
    while (done < nNumberOfBytesToWrite) {
        ssize_t n = ::write(f->fd, in + done, nNumberOfBytesToWrite - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            int err = errno;
            if (lpNumberOfBytesWritten)
                *lpNumberOfBytesWritten = DWORD(done);
            return vk::failWith(err == EFAULT ? ERROR_NOACCESS : vk::kernel::errorFromErrno(err), FALSE);
        }
        done += size_t(n);
    }
    if (lpNumberOfBytesWritten)
        *lpNumberOfBytesWritten = DWORD(done);
    if (lpOverlapped) {
        lpOverlapped->Internal = 0;
        lpOverlapped->InternalHigh = ULONG_PTR(done);
    }
    return TRUE;
}

BOOL WINAPI SetFilePointerEx(HANDLE hFile, LARGE_INTEGER liDistanceToMove, PLARGE_INTEGER lpNewFilePointer,
                             DWORD dwMoveMethod)
{
    auto f = fileFor(hFile);
    if (!f)
        return vk::failWith(ERROR_INVALID_HANDLE, FALSE);
    int whence = dwMoveMethod == FILE_BEGIN ? SEEK_SET : dwMoveMethod == FILE_CURRENT ? SEEK_CUR
                                                    : dwMoveMethod == FILE_END   ? SEEK_END
                                                                                 : -1;
    if (whence < 0)
        return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
    int64_t base = 0;
    if (whence == SEEK_CUR) {
        base = ::lseek(f->fd, 0, SEEK_CUR);
    } else if (whence == SEEK_END) {
        struct stat st;
        base = ::fstat(f->fd, &st) == 0 ? st.st_size : -1;
    }
    if (base < 0)
        return vk::failWith(ERROR_INVALID_FUNCTION, FALSE);
    int64_t target = base + liDistanceToMove.QuadPart;
    if (target < 0)
        return vk::failWith(ERROR_NEGATIVE_SEEK, FALSE);
    if (::lseek(f->fd, off_t(target), SEEK_SET) < 0)
        return vk::failWith(vk::kernel::errorFromErrno(errno), FALSE);
    if (lpNewFilePointer)
        lpNewFilePointer->QuadPart = target;
    return TRUE;
}

DWORD WINAPI SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh, DWORD dwMoveMethod)
{
    LARGE_INTEGER dist;
    if (lpDistanceToMoveHigh)
        dist.QuadPart = int64_t((uint64_t(uint32_t(*lpDistanceToMoveHigh)) << 32) | uint32_t(lDistanceToMove));
    else
        dist.QuadPart = lDistanceToMove;
    auto f = fileFor(hFile);
    if (!f)
        return vk::failWith(ERROR_INVALID_HANDLE, INVALID_SET_FILE_POINTER);
    if (!lpDistanceToMoveHigh) {
        // Without the high half the result must fit in 32 bits; check before moving.
        off_t cur = ::lseek(f->fd, 0, SEEK_CUR);
        struct stat st;
        int64_t base = dwMoveMethod == FILE_CURRENT ? cur : dwMoveMethod == FILE_END && ::fstat(f->fd, &st) == 0 ? st.st_size : 0;
        int64_t target = base + dist.QuadPart;
        if (target > int64_t(0xFFFFFFFEu))
            return vk::failWith(ERROR_INVALID_PARAMETER, INVALID_SET_FILE_POINTER);
    }
    LARGE_INTEGER pos;
    if (!SetFilePointerEx(hFile, dist, &pos, dwMoveMethod))
        return INVALID_SET_FILE_POINTER;
    if (lpDistanceToMoveHigh)
        *lpDistanceToMoveHigh = LONG(uint64_t(pos.QuadPart) >> 32);
    SetLastError(ERROR_SUCCESS); // tells a real position 0xFFFFFFFF from a failure
    return DWORD(uint64_t(pos.QuadPart) & 0xFFFFFFFFu);
}

BOOL WINAPI GetFileSizeEx(HANDLE hFile, PLARGE_INTEGER lpFileSize)
{
    auto f = fileFor(hFile);
    if (!f)
        return vk::failWith(ERROR_INVALID_HANDLE, FALSE);
    if (!lpFileSize)
        return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
    struct stat st;
    if (::fstat(f->fd, &st) != 0)
        return vk::failWith(vk::kernel::errorFromErrno(errno), FALSE);
    lpFileSize->QuadPart = st.st_size;
    return TRUE;
}

DWORD WINAPI GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(hFile, &size))
        return INVALID_FILE_SIZE;
    if (lpFileSizeHigh)
        *lpFileSizeHigh = DWORD(uint64_t(size.QuadPart) >> 32);
    SetLastError(ERROR_SUCCESS);
    return DWORD(uint64_t(size.QuadPart) & 0xFFFFFFFFu);
}

DWORD WINAPI GetFileType(HANDLE hFile)
{
    auto f = fileFor(hFile);
    struct stat st;
    if (!f || ::fstat(f->fd, &st) != 0)
        return vk::failWith<DWORD>(ERROR_INVALID_HANDLE, FILE_TYPE_UNKNOWN);
    SetLastError(ERROR_SUCCESS);
    if (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode))
        return FILE_TYPE_DISK;
    if (S_ISCHR(st.st_mode))
        return FILE_TYPE_CHAR;
    if (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode))
        return FILE_TYPE_PIPE;
    return FILE_TYPE_UNKNOWN;
}

BOOL WINAPI SetEndOfFile(HANDLE hFile)
{
    auto f = fileFor(hFile);
    if (!f)
        return vk::failWith(ERROR_INVALID_HANDLE, FALSE);
    if (!f->canWrite)
        return vk::failWith(ERROR_ACCESS_DENIED, FALSE);
    off_t cur = ::lseek(f->fd, 0, SEEK_CUR);
    if (cur < 0 || ::ftruncate(f->fd, cur) != 0)
        return vk::failWith(vk::kernel::errorFromErrno(errno), FALSE);
    return TRUE;
}

BOOL WINAPI FlushFileBuffers(HANDLE hFile)
{
    auto f = fileFor(hFile);
    if (!f)
        return vk::failWith(ERROR_INVALID_HANDLE, FALSE);
    if (!f->canWrite)
        return vk::failWith(ERROR_ACCESS_DENIED, FALSE);
    if (::fsync(f->fd) != 0 && errno != EINVAL && errno != EROFS)
        return vk::failWith(vk::kernel::errorFromErrno(errno), FALSE);
    return TRUE;
}

BOOL WINAPI GetFileTime(HANDLE hFile, LPFILETIME lpCreationTime, LPFILETIME lpLastAccessTime,
                        LPFILETIME lpLastWriteTime)
{
    auto f = fileFor(hFile);
    struct stat st;
    if (!f || ::fstat(f->fd, &st) != 0)
        return vk::failWith(ERROR_INVALID_HANDLE, FALSE);
    if (lpCreationTime)
        *lpCreationTime = creationTime(st);
    if (lpLastAccessTime)
        *lpLastAccessTime = fileTimeFromTimespec(st.st_atim);
    if (lpLastWriteTime)
        *lpLastWriteTime = fileTimeFromTimespec(st.st_mtim);
    return TRUE;
}

BOOL WINAPI SetFileTime(HANDLE hFile, const FILETIME*, const FILETIME* lpLastAccessTime,
                        const FILETIME* lpLastWriteTime)
{
    auto f = fileFor(hFile);
    if (!f)
        return vk::failWith(ERROR_INVALID_HANDLE, FALSE);
    if (!f->canWrite)
        return vk::failWith(ERROR_ACCESS_DENIED, FALSE);
    struct timespec times[2];
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_nsec = UTIME_OMIT;
    if (lpLastAccessTime)
        times[0] = timespecFromFileTime(*lpLastAccessTime);
    if (lpLastWriteTime)
        times[1] = timespecFromFileTime(*lpLastWriteTime);
    if (::futimens(f->fd, times) != 0)
        return vk::failWith(vk::kernel::errorFromErrno(errno), FALSE);
    return TRUE;
}

HANDLE WINAPI GetStdHandle(DWORD nStdHandle)
{
    int fd = nStdHandle == STD_INPUT_HANDLE ? 0 : nStdHandle == STD_OUTPUT_HANDLE ? 1
                                              : nStdHandle == STD_ERROR_HANDLE    ? 2
                                                                                  : -1;
    if (fd < 0)
        return vk::failWith(ERROR_INVALID_HANDLE, INVALID_HANDLE_VALUE);
    static HANDLE cached[3];
    static std::mutex cacheMutex;
    std::lock_guard lock(cacheMutex);
    if (!fileFor(cached[fd])) {
        auto file = std::make_shared<FileObject>(fd, std::string(), fd == 0, fd != 0, false);
        file->borrowed = true;
        cached[fd] = addHandle(file);
    }
    return cached[fd];
}

BOOL WINAPI DeleteFileA(LPCSTR lpFileName)
{
    std::string host = toHostPath(lpFileName);
    if (host.empty())
        return vk::failWith(ERROR_PATH_NOT_FOUND, FALSE);
    struct stat st;
    if (::lstat(host.c_str(), &st) != 0)
        return vk::failWith(vk::kernel::errorFromErrno(errno, host), FALSE);
    if (S_ISDIR(st.st_mode) || isReadOnlyMode(st))
        return vk::failWith(ERROR_ACCESS_DENIED, FALSE);
    if (::unlink(host.c_str()) != 0)
        return vk::failWith(vk::kernel::errorFromErrno(errno, host), FALSE);
    return TRUE;
}

BOOL WINAPI CopyFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, BOOL bFailIfExists)
{
    std::string src = toHostPath(lpExistingFileName);
    std::string dst = toHostPath(lpNewFileName);
    if (src.empty() || dst.empty())
        return vk::failWith(ERROR_PATH_NOT_FOUND, FALSE);
    int in = ::open(src.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return vk::failWith(vk::kernel::errorFromErrno(errno, src), FALSE);
    struct stat sst;
    if (::fstat(in, &sst) != 0 || S_ISDIR(sst.st_mode)) {
        ::close(in);
        return vk::failWith(ERROR_ACCESS_DENIED, FALSE);
    }
    struct stat dst0;
    if (::stat(dst.c_str(), &dst0) == 0) {
        DWORD err = 0;
        if (bFailIfExists)
            err = ERROR_FILE_EXISTS;
        else if (S_ISDIR(dst0.st_mode) || isReadOnlyMode(dst0))
            err = ERROR_ACCESS_DENIED;
        else if (dst0.st_dev == sst.st_dev && dst0.st_ino == sst.st_ino)
            err = ERROR_SHARING_VIOLATION; // copying a file onto itself
        if (err) {
            ::close(in);
            return vk::failWith(err, FALSE);
        }
    }
    int out = ::open(dst.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | (bFailIfExists ? O_EXCL : 0),
                     sst.st_mode & 07777);
    if (out < 0) {
        int err = errno;
        ::close(in);
        return vk::failWith(err == EEXIST ? ERROR_FILE_EXISTS : vk::kernel::errorFromErrno(err, dst), FALSE);
    }
    char buf[65536];
    bool ok = true;
    int err = 0;
    for (;;) {
        ssize_t n = ::read(in, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            err = errno;
            break;
        }
        if (transferAll([&](size_t done) { return ::write(out, buf + done, size_t(n) - done); }, size_t(n)) != n) {
            ok = false;
            err = errno;
            break;
        }
    }
    // Windows keeps the last write time of the copied file.
    struct timespec times[2] = {sst.st_atim, sst.st_mtim};
    if (ok)
        ::futimens(out, times);
    ::close(in);
    if (::close(out) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(dst.c_str());
        return vk::failWith(vk::kernel::errorFromErrno(err ? err : EIO), FALSE);
    }
    return TRUE;
}

BOOL WINAPI MoveFileExA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, DWORD dwFlags)
{
    if (dwFlags & MOVEFILE_DELAY_UNTIL_REBOOT)
        return vk::failWith(ERROR_NOT_SUPPORTED, FALSE);
    if (!lpNewFileName)
        return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
    std::string src = toHostPath(lpExistingFileName);
    std::string dst = toHostPath(lpNewFileName);
    if (src.empty() || dst.empty())
        return vk::failWith(ERROR_PATH_NOT_FOUND, FALSE);
    struct stat sst;
    if (::lstat(src.c_str(), &sst) != 0)
        return vk::failWith(vk::kernel::errorFromErrno(errno, src), FALSE);
    struct stat dst0;
    const bool dstExists = ::lstat(dst.c_str(), &dst0) == 0;
    const bool sameFile = dstExists && dst0.st_dev == sst.st_dev && dst0.st_ino == sst.st_ino;
    if (dstExists && !sameFile) {
        if (!(dwFlags & MOVEFILE_REPLACE_EXISTING))
            return vk::failWith(ERROR_ALREADY_EXISTS, FALSE);
        if (S_ISDIR(dst0.st_mode) || S_ISDIR(sst.st_mode) || isReadOnlyMode(dst0))
            return vk::failWith(ERROR_ACCESS_DENIED, FALSE);
    }
    int rc;
    if (dwFlags & MOVEFILE_REPLACE_EXISTING || sameFile) {
        rc = ::rename(src.c_str(), dst.c_str());
    } else {
        // No replacing: the kernel refuses atomically if the name appeared meanwhile.
        rc = ::renameat2(AT_FDCWD, src.c_str(), AT_FDCWD, dst.c_str(), RENAME_NOREPLACE);
        if (rc != 0 && (errno == EINVAL || errno == ENOSYS))
            rc = ::rename(src.c_str(), dst.c_str());
    }
    if (rc != 0) {
        int err = errno;
        if (err == EXDEV && (dwFlags & MOVEFILE_COPY_ALLOWED) && S_ISREG(sst.st_mode)) {
            if (!CopyFileA(lpExistingFileName, lpNewFileName, !(dwFlags & MOVEFILE_REPLACE_EXISTING)))
                return FALSE;
            ::unlink(src.c_str());
            return TRUE;
        }
        if (err == EEXIST)
            return vk::failWith(ERROR_ALREADY_EXISTS, FALSE);
        return vk::failWith(vk::kernel::errorFromErrno(err, err == ENOENT ? dst : std::string()), FALSE);
    }
    if (dwFlags & MOVEFILE_WRITE_THROUGH) {
        std::string dir = dst.substr(0, dst.find_last_of('/') + 1);
        int dfd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dfd >= 0) {
            ::fsync(dfd);
            ::close(dfd);
        }
    }
    return TRUE;
}

BOOL WINAPI MoveFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName)
{
    return MoveFileExA(lpExistingFileName, lpNewFileName, MOVEFILE_COPY_ALLOWED);
}

DWORD WINAPI GetFileAttributesA(LPCSTR lpFileName)
{
    std::string host;
    struct stat st;
    DWORD err;
    if (!statPath(lpFileName, host, st, err))
        return vk::failWith(err, INVALID_FILE_ATTRIBUTES);
    return attributesOf(st, baseNameOf(host));
}

BOOL WINAPI GetFileAttributesExA(LPCSTR lpFileName, GET_FILEEX_INFO_LEVELS fInfoLevelId, LPVOID lpFileInformation)
{
    if (fInfoLevelId != GetFileExInfoStandard || !lpFileInformation)
        return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
    std::string host;
    struct stat st;
    DWORD err;
    if (!statPath(lpFileName, host, st, err))
        return vk::failWith(err, FALSE);
    auto* data = static_cast<WIN32_FILE_ATTRIBUTE_DATA*>(lpFileInformation);
    data->dwFileAttributes = attributesOf(st, baseNameOf(host));
    data->ftCreationTime = creationTime(st);
    data->ftLastAccessTime = fileTimeFromTimespec(st.st_atim);
    data->ftLastWriteTime = fileTimeFromTimespec(st.st_mtim);
    const uint64_t size = S_ISDIR(st.st_mode) ? 0 : uint64_t(st.st_size);
    data->nFileSizeHigh = DWORD(size >> 32);
    data->nFileSizeLow = DWORD(size & 0xFFFFFFFFu);
    return TRUE;
}

BOOL WINAPI SetFileAttributesA(LPCSTR lpFileName, DWORD dwFileAttributes)
{
    std::string host;
    struct stat st;
    DWORD err;
    if (!statPath(lpFileName, host, st, err))
        return vk::failWith(err, FALSE);
    if (!S_ISREG(st.st_mode))
        return TRUE; // folders keep their permissions; READONLY means nothing for them
    mode_t mode = st.st_mode & 07777;
    if (dwFileAttributes & FILE_ATTRIBUTE_READONLY)
        mode &= ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH);
    else if (isReadOnlyMode(st))
        mode |= S_IWUSR;
    if (mode != (st.st_mode & 07777) && ::chmod(host.c_str(), mode) != 0)
        return vk::failWith(vk::kernel::errorFromErrno(errno, host), FALSE);
    return TRUE;
}

BOOL WINAPI CreateDirectoryA(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES)
{
    std::string host = toHostPath(lpPathName);
    if (host.empty())
        return vk::failWith(ERROR_PATH_NOT_FOUND, FALSE);
    if (::mkdir(host.c_str(), 0777) != 0) {
        if (errno == EEXIST)
            return vk::failWith(ERROR_ALREADY_EXISTS, FALSE);
        if (errno == ENOENT || errno == ENOTDIR)
            return vk::failWith(ERROR_PATH_NOT_FOUND, FALSE);
        return vk::failWith(vk::kernel::errorFromErrno(errno, host), FALSE);
    }
    return TRUE;
}

BOOL WINAPI RemoveDirectoryA(LPCSTR lpPathName)
{
    std::string host = toHostPath(lpPathName);
    if (host.empty())
        return vk::failWith(ERROR_PATH_NOT_FOUND, FALSE);
    if (::rmdir(host.c_str()) != 0) {
        if (errno == ENOTDIR)
            return vk::failWith(ERROR_DIRECTORY, FALSE);
        if (errno == ENOTEMPTY || errno == EEXIST)
            return vk::failWith(ERROR_DIR_NOT_EMPTY, FALSE);
        return vk::failWith(vk::kernel::errorFromErrno(errno, host), FALSE);
    }
    return TRUE;
}

DWORD WINAPI GetFullPathNameA(LPCSTR lpFileName, DWORD nBufferLength, LPSTR lpBuffer, LPSTR* lpFilePart)
{
    if (lpFilePart)
        *lpFilePart = nullptr;
    if (!lpFileName || !*lpFileName)
        return vk::failWith<DWORD>(ERROR_INVALID_NAME, 0);
    std::string full = fullWindowsPath(lpFileName);
    if (!lpBuffer || full.size() >= nBufferLength)
        return DWORD(full.size() + 1);
    std::memcpy(lpBuffer, full.c_str(), full.size() + 1);
    if (lpFilePart && full.back() != '\\')
        *lpFilePart = lpBuffer + full.find_last_of('\\') + 1;
    return DWORD(full.size());
}

} // extern "C"
