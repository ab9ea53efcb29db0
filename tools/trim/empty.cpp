// empty.exe <pid>: shrinks the working set of process <pid>.
//
// The engine runs this after start-up, the way a Windows program would call
// EmptyWorkingSet on itself through a helper. On Linux the closest thing is
// asking the kernel to reclaim the process's private pages now
// (process_madvise with MADV_PAGEOUT over every private range of
// /proc/<pid>/maps). The tool never complains: a bad or missing pid, an old
// kernel or a refused permission all end quietly with status 0, because the
// caller has nothing useful to do about any of them.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

namespace {

// Called by number so the tool builds against C libraries without wrappers;
// the numbers are shared by every architecture with the common syscall table.
#ifdef SYS_pidfd_open
constexpr long kSysPidfdOpen = SYS_pidfd_open;
#else
constexpr long kSysPidfdOpen = 434;
#endif
#ifdef SYS_process_madvise
constexpr long kSysProcessMadvise = SYS_process_madvise;
#else
constexpr long kSysProcessMadvise = 440;
#endif
constexpr int kAdvicePageOut = 21;  // MADV_PAGEOUT

bool parsePid(const char* text, pid_t* pid)
{
    if (!text || *text < '1' || *text > '9')
        return false;
    long value = 0;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        value = value * 10 + (*p - '0');
        if (value > 0x3fffffffL)  // above any pid_max the kernel allows
            return false;
    }
    *pid = static_cast<pid_t>(value);
    return true;
}

// Reads "start-end perms ..." at the head of a maps line.
bool parseRange(const char* line, unsigned long* start, unsigned long* end, bool* isPrivate)
{
    char* rest = nullptr;
    *start = std::strtoul(line, &rest, 16);
    if (!rest || *rest != '-')
        return false;
    *end = std::strtoul(rest + 1, &rest, 16);
    if (!rest || *rest != ' ' || *end <= *start)
        return false;
    const char* perms = rest + 1;
    if (std::strlen(perms) < 4)
        return false;
    *isPrivate = perms[3] == 'p';
    return true;
}

// Returns false once the kernel says the advice can never work here, so the
// remaining ranges are not tried one by one.
bool pageOut(int pidfd, unsigned long start, unsigned long end)
{
    iovec range;
    range.iov_base = reinterpret_cast<void*>(start);
    range.iov_len = end - start;
    if (syscall(kSysProcessMadvise, pidfd, &range, 1UL, kAdvicePageOut, 0U) >= 0)
        return true;
    return errno != EPERM && errno != ENOSYS && errno != ESRCH && errno != EBADF;
}

void trim(pid_t pid)
{
    int pidfd = static_cast<int>(syscall(kSysPidfdOpen, pid, 0U));
    if (pidfd < 0)
        return;
    char path[48];
    std::snprintf(path, sizeof path, "/proc/%d/maps", static_cast<int>(pid));
    if (FILE* maps = std::fopen(path, "re")) {
        char line[512];
        bool atLineStart = true;
        while (std::fgets(line, sizeof line, maps)) {
            bool lineStart = atLineStart;
            // A long path splits a line over several reads; only its head counts.
            atLineStart = std::strchr(line, '\n') != nullptr;
            unsigned long start = 0, end = 0;
            bool isPrivate = false;
            if (!lineStart || !parseRange(line, &start, &end, &isPrivate) || !isPrivate)
                continue;
            if (!pageOut(pidfd, start, end))
                break;
        }
        std::fclose(maps);
    }
    close(pidfd);
}

}  // namespace

int main(int argc, char** argv)
{
    pid_t pid = 0;
    if (argc >= 2 && parsePid(argv[1], &pid))
        trim(pid);
    return 0;
}
