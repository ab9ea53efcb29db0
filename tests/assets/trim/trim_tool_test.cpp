// empty.exe, run from the image the engine carries: it trims a live
// process's working set where the system allows it, and always ends at once
// with status 0 and no output.
#include <velkaro/assets.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/uio.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

// Writes the embedded tool into a private directory, as the engine does.
class ExtractedTool {
public:
    ExtractedTool()
    {
        std::string pattern = (fs::temp_directory_path() / "vk-trim-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            return;
        m_dir = pattern;
        m_path = m_dir + "/empty.exe";
        velkaro::assets::Blob image = velkaro::assets::trimTool();
        std::ofstream out(m_path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(image.data), std::streamsize(image.size));
        out.close();
        chmod(m_path.c_str(), 0700);
    }
    ~ExtractedTool()
    {
        std::error_code ignored;
        if (!m_dir.empty())
            fs::remove_all(m_dir, ignored);
    }
    const std::string& path() const { return m_path; }

private:
    std::string m_dir;
    std::string m_path;
};

struct RunResult {
    int status = -1;  // exit status, or -1 if it did not exit normally
    std::string output;
};

// Runs the tool with args, collecting stdout and stderr together.
RunResult run(const std::string& tool, const std::vector<std::string>& args)
{
    RunResult result;
    int fds[2];
    if (pipe(fds) != 0)
        return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::vector<char*> argv{const_cast<char*>(tool.c_str())};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    int rc = posix_spawn(&pid, tool.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc == 0) {
        char buffer[256];
        ssize_t n;
        while ((n = read(fds[0], buffer, sizeof buffer)) > 0)
            result.output.append(buffer, size_t(n));
        int status = 0;
        waitpid(pid, &status, 0);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    close(fds[0]);
    return result;
}

long residentFileKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("RssFile:", 0) == 0)
            return std::atol(line.c_str() + 8);
    return -1;
}

// A child that maps a file of its own privately, touches every page and
// sleeps, so its resident pages are its alone and cheap to drop.
class SleepingChild {
public:
    static constexpr size_t kBytes = 16 << 20;

    SleepingChild()
    {
        std::string path = (fs::temp_directory_path() / "vk-trim-data-XXXXXX").string();
        int fd = mkstemp(path.data());
        if (fd < 0)
            return;
        unlink(path.c_str());
        std::vector<char> chunk(1 << 20, 'v');
        for (size_t done = 0; done < kBytes; done += chunk.size())
            if (write(fd, chunk.data(), chunk.size()) != ssize_t(chunk.size()))
                return;
        fsync(fd);
        int ready[2];
        if (pipe(ready) != 0)
            return;
        m_pid = fork();
        if (m_pid == 0) {
            close(ready[0]);
            void* map = mmap(nullptr, kBytes, PROT_READ, MAP_PRIVATE, fd, 0);
            volatile const char* bytes = static_cast<const char*>(map);
            long sum = 0;
            if (map != MAP_FAILED)
                for (size_t i = 0; i < kBytes; i += 4096)
                    sum += bytes[i];
            char ok = sum ? 1 : 0;
            if (write(ready[1], &ok, 1) != 1)
                _exit(1);
            for (;;)
                pause();
        }
        close(ready[1]);
        close(fd);
        char ok = 0;
        if (m_pid > 0 && read(ready[0], &ok, 1) == 1 && ok)
            m_ready = true;
        close(ready[0]);
    }
    ~SleepingChild()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }
    pid_t pid() const { return m_pid; }
    bool ready() const { return m_ready; }

private:
    pid_t m_pid = -1;
    bool m_ready = false;
};

// Whether this system lets us advise another process at all.
bool mayAdviseOthers(pid_t pid)
{
    int pidfd = int(syscall(SYS_pidfd_open, pid, 0));
    if (pidfd < 0)
        return false;
    static char page[4096] __attribute__((aligned(4096)));
    iovec range{page, 0};
    bool allowed = syscall(SYS_process_madvise, pidfd, &range, 1UL, MADV_COLD, 0U) >= 0;
    close(pidfd);
    return allowed;
}

}  // namespace

TEST(TrimTool, ImageIsAnExecutable)
{
    velkaro::assets::Blob image = velkaro::assets::trimTool();
    ASSERT_GT(image.size, 64u);
    EXPECT_EQ(std::memcmp(image.data, "\x7f" "ELF", 4), 0);
    EXPECT_LT(image.size, 64u * 1024u);  // it ships inside the engine
}

TEST(TrimTool, EndsQuietlyWithStatusZeroOnBadArguments)
{
    ExtractedTool tool;
    ASSERT_FALSE(tool.path().empty());
    const std::vector<std::vector<std::string>> cases = {
        {},                     // no pid at all
        {""},
        {"abc"},
        {"-5"},
        {"0"},
        {"12x"},
        {"99999999999999999999"},
        {"4194304"},            // above the kernel's pid limit, never a process
        {"1", "extra"},         // extra arguments are ignored
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args.empty() ? std::string("(none)") : args.front());
        RunResult r = run(tool.path(), args);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.output, "");
    }
}

TEST(TrimTool, TrimsASleepingChild)
{
    ExtractedTool tool;
    ASSERT_FALSE(tool.path().empty());
    SleepingChild child;
    ASSERT_TRUE(child.ready());
    long before = residentFileKb(child.pid());
    ASSERT_GT(before, long(SleepingChild::kBytes / 1024 / 2));

    RunResult r = run(tool.path(), {std::to_string(child.pid())});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output, "");
    long after = residentFileKb(child.pid());
    if (!mayAdviseOthers(child.pid())) {
        // Where one process may not advise another, the tool must leave the
        // process as it was: alive, and nothing taken from it.
        EXPECT_EQ(kill(child.pid(), 0), 0);
        EXPECT_GE(after, before / 2);
        return;
    }
    // Most of the mapped file left the child's working set.
    EXPECT_LT(after, before / 4) << "before " << before << " kB, after " << after << " kB";
}
