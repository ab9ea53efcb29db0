// shell32's ShellExecuteA: documents and addresses go to the desktop's opener
// (xdg-open), started detached and never waited for, with its arguments
// passed as they are (no shell parses them). The headless backend records
// the request instead, so tests see what the program asked the desktop for.
#include "backend/backend.h"
#include "core/last_error.h"
#include "core/modules.h"
#include "kernel/paths.h"
#include "testing/records.h"

#include <windows.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// What a successful call returns: any value above 32 means success.
constexpr INT_PTR kLaunched = 42;

HINSTANCE result(INT_PTR v) { return reinterpret_cast<HINSTANCE>(v); }

HINSTANCE refuse(DWORD err, INT_PTR value)
{
    vk::fail(err);
    return result(value);
}

bool equalsNoCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

// Addresses the desktop knows how to open. "C:" is a drive, not a scheme.
bool isAddress(const char* s)
{
    static const char* const schemes[] = {"http:", "https:", "mailto:", "ftp:", "file:"};
    for (const char* scheme : schemes)
        if (strncasecmp(s, scheme, std::strlen(scheme)) == 0)
            return true;
    return false;
}

bool looksLikeOtherScheme(const char* s)
{
    const char* p = s;
    if (!std::isalpha(static_cast<unsigned char>(*p)))
        return false;
    while (std::isalnum(static_cast<unsigned char>(*p)) || *p == '+' || *p == '.' || *p == '-')
        ++p;
    return *p == ':' && p - s > 1;
}

bool isAbsolute(const std::string& path)
{
    return path[0] == '\\' || path[0] == '/' || (path.size() > 1 && path[1] == ':');
}

std::string findOnPath(const char* program)
{
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        if (!dir.empty()) {
            std::string candidate = dir + "/" + program;
            if (access(candidate.c_str(), X_OK) == 0)
                return candidate;
        }
        start = end + 1;
    }
    return {};
}

// Starts `program target` in a grandchild that belongs to no one here: the
// short-lived child exits at once, so nothing is left to reap or wait for.
bool launchDetached(const std::string& program, const std::string& target)
{
    // Everything the children need is prepared before fork: after it only
    // async-signal-safe calls are allowed in a program with threads.
    std::vector<char> prog(program.begin(), program.end()), arg(target.begin(), target.end());
    prog.push_back('\0');
    arg.push_back('\0');
    char* argv[] = {prog.data(), arg.data(), nullptr};
    pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        pid_t grandchild = fork();
        if (grandchild == 0) {
            setsid();
            int devNull = open("/dev/null", O_RDWR);
            if (devNull >= 0) {
                dup2(devNull, STDIN_FILENO);
                dup2(devNull, STDOUT_FILENO);
            }
            close_range(3, ~0U, 0);
            execv(argv[0], argv);
            _exit(127);
        }
        _exit(grandchild < 0 ? 1 : 0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

extern "C" {

HINSTANCE WINAPI ShellExecuteA(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR directory, INT)
{
    if (!file || !*file)
        return refuse(ERROR_FILE_NOT_FOUND, SE_ERR_FNF);
    // Only opening is associated with anything on this desktop.
    if (verb && *verb && !equalsNoCase(verb, "open") && !equalsNoCase(verb, "explore"))
        return refuse(ERROR_NOT_SUPPORTED, SE_ERR_NOASSOC);

    std::string target = file;
    std::string hostTarget;
    if (isAddress(file)) {
        hostTarget = target;
    } else if (looksLikeOtherScheme(file)) {
        return refuse(ERROR_NOT_SUPPORTED, SE_ERR_NOASSOC);
    } else {
        if (directory && *directory && !isAbsolute(target)) {
            std::string dir = directory;
            char last = dir.back();
            target = dir + (last == '\\' || last == '/' ? "" : "\\") + target;
        }
        hostTarget = vk::kernel::toHostPath(target.c_str());
        struct stat st;
        if (hostTarget.empty())
            return refuse(ERROR_FILE_NOT_FOUND, ERROR_FILE_NOT_FOUND);
        if (stat(hostTarget.c_str(), &st) != 0) {
            DWORD err = vk::kernel::missingPathError(hostTarget);
            return refuse(err, INT_PTR(err));
        }
    }

    if (vk::backend().isHeadless()) {
        vk::records::recordShellExecute(target);
        return result(kLaunched);
    }
    std::string opener = findOnPath("xdg-open");
    if (opener.empty())
        return refuse(ERROR_NOT_SUPPORTED, SE_ERR_NOASSOC);
    if (!launchDetached(opener, hostTarget))
        return refuse(ERROR_NOT_ENOUGH_MEMORY, SE_ERR_OOM);
    return result(kLaunched);
}

} // extern "C"

namespace {
struct Shell32Setup {
    Shell32Setup()
    {
        static const vk::ModuleExport exports[] = {
            {"ShellExecuteA", vk::exportProc(&ShellExecuteA)},
        };
        vk::registerModuleExports("shell32.dll", exports, sizeof exports / sizeof exports[0]);
    }
} g_shell32Setup;
} // namespace
