// Child processes: CreateProcessA with Windows command-line rules on
// posix_spawn, process handles that become signaled when the child exits,
// exit codes, termination, and memory access to a process.
//
// Each child gets a small thread that waits for it, so every child is reaped
// even when the program closes its handles without waiting. Signals go
// through a pidfd, so a reused process id never receives them.
#include "kernel/file_object.h"
#include "kernel/paths.h"

#include "core/last_error.h"

#include <windows.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <spawn.h>
#include <string>
#include <strings.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/uio.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

using namespace vk::kernel;

namespace {

class ProcessObject : public KernelObject {
public:
    ProcessObject(pid_t pid, int pidfd) : pid(pid), pidfd(pidfd) {}
    ~ProcessObject() override
    {
        if (pidfd >= 0)
            ::close(pidfd);
    }
    bool waitable() const override { return true; }
    bool signaled(DWORD) const override { return exited; }

    const pid_t pid;
    const int pidfd;
    // Guarded by kernelMutex().
    bool exited = false;
    DWORD exitCode = STILL_ACTIVE;
    bool terminated = false;
    DWORD terminateCode = 0;
};

// The child's main thread: it ends with the process.
class ThreadObject : public KernelObject {
public:
    explicit ThreadObject(std::shared_ptr<ProcessObject> p) : process(std::move(p)) {}
    bool waitable() const override { return true; }
    bool signaled(DWORD tid) const override { return process->signaled(tid); }
    std::shared_ptr<ProcessObject> process;
};

// A real handle to the calling process (from OpenProcess): never signaled.
class SelfProcessObject : public KernelObject {
public:
    bool waitable() const override { return true; }
};

std::map<pid_t, std::weak_ptr<ProcessObject>>& children()
{
    static auto* m = new std::map<pid_t, std::weak_ptr<ProcessObject>>;
    return *m;
}

void reap(std::shared_ptr<ProcessObject> proc)
{
    int status = 0;
    pid_t r;
    do
        r = ::waitpid(proc->pid, &status, 0);
    while (r < 0 && errno == EINTR);
    {
        std::lock_guard lock(kernelMutex());
        if (r < 0)
            proc->exitCode = 0; // someone else reaped it; the code is gone
        else if (WIFEXITED(status))
            proc->exitCode = DWORD(WEXITSTATUS(status));
        else if (proc->terminated)
            proc->exitCode = proc->terminateCode;
        else
            proc->exitCode = DWORD(128 + WTERMSIG(status)); // the shell's convention for a signal death
        proc->exited = true;
        children().erase(proc->pid);
    }
    kernelCondition().notify_all();
}

// Splits a command line the way the Windows C runtime builds argv.
std::vector<std::string> splitCommandLine(const char* line)
{
    std::vector<std::string> args;
    const char* p = line;
    while (*p == ' ' || *p == '\t')
        ++p;
    if (!*p)
        return args;
    // The program name ends at the closing quote or the first blank; backslashes are plain.
    std::string first;
    if (*p == '"') {
        ++p;
        while (*p && *p != '"')
            first += *p++;
        if (*p == '"')
            ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t')
            first += *p++;
    }
    args.push_back(first);
    for (;;) {
        while (*p == ' ' || *p == '\t')
            ++p;
        if (!*p)
            break;
        std::string arg;
        bool quoted = false;
        while (*p && (quoted || (*p != ' ' && *p != '\t'))) {
            if (*p == '\\') {
                size_t n = 0;
                while (*p == '\\') {
                    ++n;
                    ++p;
                }
                if (*p == '"') {
                    arg.append(n / 2, '\\');
                    if (n % 2) {
                        arg += '"';
                        ++p;
                    }
                } else {
                    arg.append(n, '\\');
                }
            } else if (*p == '"') {
                if (quoted && p[1] == '"') {
                    arg += '"';
                    p += 2;
                } else {
                    quoted = !quoted;
                    ++p;
                }
            } else {
                arg += *p++;
            }
        }
        args.push_back(arg);
    }
    return args;
}

bool isExecutableFile(const std::string& host)
{
    struct stat st;
    return !host.empty() && ::stat(host.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(host.c_str(), X_OK) == 0;
}

bool endsWithExe(const std::string& s)
{
    return s.size() > 4 && strcasecmp(s.c_str() + s.size() - 4, ".exe") == 0;
}

// A Windows program name as the host runs it: "C:\bin\true.exe" may be the
// host's /bin/true, which has no extension.
std::string resolveIn(const std::string& name)
{
    std::string host = toHostPath(name.c_str());
    if (isExecutableFile(host))
        return host;
    if (endsWithExe(host) && isExecutableFile(host.substr(0, host.size() - 4)))
        return host.substr(0, host.size() - 4);
    if (!host.empty() && host.find('.', host.find_last_of('/') + 1) == std::string::npos &&
        isExecutableFile(host + ".exe"))
        return host + ".exe";
    return {};
}

std::string resolveProgram(const std::string& name, bool search)
{
    if (!search || name.find_first_of("/\\:") != std::string::npos)
        return resolveIn(name);
    // Bare names: the current directory, then the search path.
    if (std::string r = resolveIn(name); !r.empty())
        return r;
    const char* path = ::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        if (!dir.empty())
            if (std::string r = resolveIn(dir + "/" + name); !r.empty())
                return r;
        start = end + 1;
    }
    return {};
}

std::vector<std::string> environmentFrom(LPVOID block, bool unicode)
{
    std::vector<std::string> env;
    if (unicode) {
        for (const WCHAR* w = static_cast<const WCHAR*>(block); *w;) {
            size_t n = 0;
            while (w[n])
                ++n;
            int bytes = WideCharToMultiByte(CP_UTF8, 0, w, int(n), nullptr, 0, nullptr, nullptr);
            std::string s(size_t(bytes), '\0');
            WideCharToMultiByte(CP_UTF8, 0, w, int(n), s.data(), bytes, nullptr, nullptr);
            env.push_back(s);
            w += n + 1;
        }
    } else {
        for (const char* p = static_cast<const char*>(block); *p; p += std::strlen(p) + 1)
            env.emplace_back(p);
    }
    return env;
}

int fdOfHandle(HANDLE h)
{
    auto f = lookup<FileObject>(h);
    return f ? f->fd : -1;
}

pid_t targetPid(HANDLE h)
{
    if (h == currentProcessPseudoHandle())
        return ::getpid();
    auto obj = lookupAny(h);
    if (std::dynamic_pointer_cast<SelfProcessObject>(obj))
        return ::getpid();
    if (auto p = std::dynamic_pointer_cast<ProcessObject>(obj)) {
        std::lock_guard lock(kernelMutex());
        return p->exited ? -1 : p->pid;
    }
    return 0;
}

// Copies between our memory and a process's without faulting: the kernel
// checks every page and reports how far it got.
BOOL processMemory(HANDLE hProcess, void* remote, void* local, SIZE_T size, SIZE_T* done, bool write)
{
    if (done)
        *done = 0;
    pid_t pid = targetPid(hProcess);
    if (pid == 0)
        return vk::failWith(ERROR_INVALID_HANDLE, FALSE);
    if (pid < 0)
        return vk::failWith(ERROR_ACCESS_DENIED, FALSE);
    if (size == 0)
        return TRUE;
    if (!local)
        return vk::failWith(ERROR_NOACCESS, FALSE);
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/mem", int(pid));
    int fd = ::open(path, (write ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    size_t total = 0;
    bool localFault = false;
    if (fd >= 0) {
        while (total < size) {
            const off_t at = off_t(uintptr_t(remote) + total);
            ssize_t n = write ? ::pwrite(fd, static_cast<const char*>(local) + total, size - total, at)
                              : ::pread(fd, static_cast<char*>(local) + total, size - total, at);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                localFault = n < 0 && errno == EFAULT;
                break;
            }
            total += size_t(n);
        }
        ::close(fd);
    } else {
        iovec l{local, size};
        iovec r{remote, size};
        ssize_t n = write ? ::process_vm_writev(pid, &l, 1, &r, 1, 0) : ::process_vm_readv(pid, &l, 1, &r, 1, 0);
        total = n > 0 ? size_t(n) : 0;
    }
    if (done)
        *done = total;
    if (total == size)
        return TRUE;
    if (localFault || total == 0)
        return vk::failWith(ERROR_NOACCESS, FALSE);
    return vk::failWith(ERROR_PARTIAL_COPY, FALSE);
}

} // namespace

extern "C" {

BOOL WINAPI CreateProcessA(LPCSTR lpApplicationName, LPSTR lpCommandLine, LPSECURITY_ATTRIBUTES,
                           LPSECURITY_ATTRIBUTES, BOOL, DWORD dwCreationFlags, LPVOID lpEnvironment,
                           LPCSTR lpCurrentDirectory, LPSTARTUPINFOA lpStartupInfo,
                           LPPROCESS_INFORMATION lpProcessInformation)
{
    if (!lpProcessInformation || !lpStartupInfo || (!lpApplicationName && !lpCommandLine))
        return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
    if (dwCreationFlags & (CREATE_SUSPENDED | DEBUG_PROCESS | DEBUG_ONLY_THIS_PROCESS))
        return vk::failWith(ERROR_NOT_SUPPORTED, FALSE);
    std::vector<std::string> args = lpCommandLine ? splitCommandLine(lpCommandLine) : std::vector<std::string>();
    std::string program;
    if (lpApplicationName) {
        program = resolveProgram(lpApplicationName, false);
        if (args.empty())
            args.push_back(lpApplicationName);
    } else {
        if (args.empty())
            return vk::failWith(ERROR_FILE_NOT_FOUND, FALSE);
        program = resolveProgram(args[0], true);
    }
    if (program.empty())
        return vk::failWith(ERROR_FILE_NOT_FOUND, FALSE);

    std::string cwd;
    if (lpCurrentDirectory) {
        cwd = toHostPath(lpCurrentDirectory);
        struct stat st;
        if (cwd.empty() || ::stat(cwd.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            return vk::failWith(ERROR_DIRECTORY, FALSE);
    }

    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envStrings;
    std::vector<char*> envp;
    if (lpEnvironment) {
        envStrings = environmentFrom(lpEnvironment, dwCreationFlags & CREATE_UNICODE_ENVIRONMENT);
        for (std::string& e : envStrings)
            envp.push_back(e.data());
        envp.push_back(nullptr);
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    if (!cwd.empty())
        posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    if (lpStartupInfo->dwFlags & STARTF_USESTDHANDLES) {
        const HANDLE std3[3] = {lpStartupInfo->hStdInput, lpStartupInfo->hStdOutput, lpStartupInfo->hStdError};
        for (int i = 0; i < 3; ++i) {
            int fd = fdOfHandle(std3[i]);
            if (fd >= 0)
                posix_spawn_file_actions_adddup2(&actions, fd, i);
            else
                posix_spawn_file_actions_addopen(&actions, i, "/dev/null", i ? O_WRONLY : O_RDONLY, 0);
        }
    }
    if (dwCreationFlags & CREATE_NEW_PROCESS_GROUP) {
        posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attr, 0);
    }
    // CREATE_NO_WINDOW, DETACHED_PROCESS, CREATE_NEW_CONSOLE and the show
    // state ask about a console window; the host has none to hide or make.
    pid_t pid = 0;
    int rc = posix_spawn(&pid, program.c_str(), &actions, &attr, argv.data(), lpEnvironment ? envp.data() : environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) {
        DWORD err = rc == ENOENT ? ERROR_FILE_NOT_FOUND : rc == ENOEXEC ? ERROR_BAD_EXE_FORMAT
                                                      : rc == EACCES    ? ERROR_ACCESS_DENIED
                                                                        : ERROR_NOT_ENOUGH_MEMORY;
        return vk::failWith(err, FALSE);
    }

    int pidfd = int(::syscall(SYS_pidfd_open, pid, 0));
    auto proc = std::make_shared<ProcessObject>(pid, pidfd);
    {
        std::lock_guard lock(kernelMutex());
        children()[pid] = proc;
    }
    std::thread(reap, proc).detach();
    HANDLE hp = addHandle(proc);
    HANDLE ht = addHandle(std::make_shared<ThreadObject>(proc));
    lpProcessInformation->hProcess = hp;
    lpProcessInformation->hThread = ht;
    lpProcessInformation->dwProcessId = DWORD(pid);
    lpProcessInformation->dwThreadId = DWORD(pid); // a process's first thread has the process's id
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL WINAPI GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode)
{
    if (!lpExitCode)
        return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
    if (targetPid(hProcess) == ::getpid()) {
        *lpExitCode = STILL_ACTIVE;
        return TRUE;
    }
    auto p = lookup<ProcessObject>(hProcess);
    if (!p)
        return vk::failWith(ERROR_INVALID_HANDLE, FALSE);
    std::lock_guard lock(kernelMutex());
    *lpExitCode = p->exited ? p->exitCode : STILL_ACTIVE;
    return TRUE;
}

BOOL WINAPI TerminateProcess(HANDLE hProcess, UINT uExitCode)
{
    if (targetPid(hProcess) == ::getpid()) {
        std::fflush(nullptr);
        ::_exit(int(uExitCode));
    }
    auto p = lookup<ProcessObject>(hProcess);
    if (!p)
        return vk::failWith(ERROR_INVALID_HANDLE, FALSE);
    std::lock_guard lock(kernelMutex());
    if (p->exited)
        return vk::failWith(ERROR_ACCESS_DENIED, FALSE);
    if (!p->terminated) {
        p->terminated = true;
        p->terminateCode = uExitCode;
    }
    int rc = p->pidfd >= 0 ? int(::syscall(SYS_pidfd_send_signal, p->pidfd, SIGKILL, nullptr, 0))
                           : ::kill(p->pid, SIGKILL);
    if (rc != 0 && errno != ESRCH)
        return vk::failWith(ERROR_ACCESS_DENIED, FALSE);
    return TRUE;
}

HANDLE WINAPI OpenProcess(DWORD, BOOL, DWORD dwProcessId)
{
    if (pid_t(dwProcessId) == ::getpid()) {
        HANDLE h = addHandle(std::make_shared<SelfProcessObject>());
        return h ? h : vk::failWith<HANDLE>(ERROR_NO_SYSTEM_RESOURCES, nullptr);
    }
    std::shared_ptr<ProcessObject> child;
    {
        std::lock_guard lock(kernelMutex());
        auto it = children().find(pid_t(dwProcessId));
        if (it != children().end())
            child = it->second.lock();
    }
    if (child) {
        HANDLE h = addHandle(child);
        return h ? h : vk::failWith<HANDLE>(ERROR_NO_SYSTEM_RESOURCES, nullptr);
    }
    if (dwProcessId && ::kill(pid_t(dwProcessId), 0) == 0)
        return vk::failWith<HANDLE>(ERROR_ACCESS_DENIED, nullptr);
    return vk::failWith<HANDLE>(ERROR_INVALID_PARAMETER, nullptr);
}

DWORD WINAPI GetProcessId(HANDLE Process)
{
    if (Process == currentProcessPseudoHandle() || lookup<SelfProcessObject>(Process))
        return DWORD(::getpid());
    auto p = lookup<ProcessObject>(Process);
    return p ? DWORD(p->pid) : vk::failWith<DWORD>(ERROR_INVALID_HANDLE, 0);
}

BOOL WINAPI ReadProcessMemory(HANDLE hProcess, LPCVOID lpBaseAddress, LPVOID lpBuffer, SIZE_T nSize,
                              SIZE_T* lpNumberOfBytesRead)
{
    return processMemory(hProcess, const_cast<void*>(lpBaseAddress), lpBuffer, nSize, lpNumberOfBytesRead, false);
}

BOOL WINAPI WriteProcessMemory(HANDLE hProcess, LPVOID lpBaseAddress, LPCVOID lpBuffer, SIZE_T nSize,
                               SIZE_T* lpNumberOfBytesWritten)
{
    return processMemory(hProcess, lpBaseAddress, const_cast<void*>(lpBuffer), nSize, lpNumberOfBytesWritten, true);
}

} // extern "C"
