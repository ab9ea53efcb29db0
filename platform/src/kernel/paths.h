// Windows paths on the host file system (mapping described in winbase.h):
// drive C: is "/", C:\WINDOWS is the layer's own Windows directory.
#pragma once

#include <windef.h>

#include <string>
#include <sys/types.h>

namespace vk::kernel {

// Host path for a Windows or POSIX path; "" when it names nothing on this
// host (null, another drive, a UNC name).
std::string toHostPath(const char* path);

// Windows form ("C:\...") of a host path; relative paths are taken from the
// current directory.
std::string toWindowsPath(const char* hostPath);

// The host folder behind C:\WINDOWS, created (with system32) on first use.
std::string windowsDirectoryHost();
inline std::string windowsDirectoryWindows() { return "C:\\WINDOWS"; }
inline std::string systemDirectoryWindows() { return "C:\\WINDOWS\\system32"; }

// The Win32 error for a failed path lookup: ERROR_PATH_NOT_FOUND when a folder
// on the way is missing, else ERROR_FILE_NOT_FOUND.
DWORD missingPathError(const std::string& hostPath);

// Host errno -> Win32 error code, for file operations.
DWORD errorFromErrno(int err, const std::string& hostPath = {});

// What a trust check needs to know about a file before running it. The file
// itself is examined (a symbolic link is reported as such, not followed).
struct HostFileFacts {
    bool exists = false;
    bool isRegular = false;
    bool isSymlink = false;
    uid_t owner = 0;
    bool writableByGroupOrOthers = false;
};
bool hostFileFacts(const char* windowsPath, HostFileFacts& facts);

} // namespace vk::kernel
