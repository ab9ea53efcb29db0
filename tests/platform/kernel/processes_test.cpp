// Child processes: start, exit codes, argument quoting, waits with and
// without a timeout, termination, reaping and handle/descriptor hygiene.
#include "kernel_test_support.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <atomic>
#include <thread>
#include <vector>

namespace {

struct Child {
    PROCESS_INFORMATION pi{};
    bool started = false;
    DWORD error = 0;

    explicit Child(std::string line, DWORD flags = CREATE_NO_WINDOW, STARTUPINFOA* si = nullptr)
    {
        STARTUPINFOA plain{};
        plain.cb = sizeof plain;
        started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr,
                                 si ? si : &plain, &pi) != FALSE;
        error = GetLastError();
    }
    ~Child()
    {
        if (!started)
            return;
        DWORD code = 0;
        if (GetExitCodeProcess(pi.hProcess, &code) && code == STILL_ACTIVE) {
            TerminateProcess(pi.hProcess, 1);
            WaitForSingleObject(pi.hProcess, INFINITE);
        }
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    DWORD wait(DWORD ms = 10000) { return WaitForSingleObject(pi.hProcess, ms); }
    DWORD exitCode()
    {
        DWORD code = 12345;
        EXPECT_TRUE(GetExitCodeProcess(pi.hProcess, &code));
        return code;
    }
};

// What each open descriptor refers to, so a leak names itself.
std::string openDescriptors()
{
    std::string out;
    if (DIR* d = opendir("/proc/self/fd")) {
        const int own = dirfd(d);
        while (dirent* e = readdir(d)) {
            if (e->d_name[0] == '.' || std::atoi(e->d_name) == own)
                continue;
            char target[256] = {};
            const std::string link = std::string("/proc/self/fd/") + e->d_name;
            ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
            out += std::string(e->d_name) + "->" + (n > 0 ? target : "?") + "\n";
        }
        closedir(d);
    }
    return out;
}

TEST(Processes, ExitCodesAndMissingPrograms)
{
    struct Case {
        const char* line;
        bool starts;
        DWORD code; // exit code, or the error when it does not start
    };
    const Case cases[] = {
        {"/bin/true", true, 0},
        {"/bin/false", true, 1},
        {"\"/bin/sh\" -c \"exit 42\"", true, 42},
        {"C:\\bin\\true.exe", true, 0},
        {"/no/such/program", false, ERROR_FILE_NOT_FOUND},
        {"no-such-program-vk", false, ERROR_FILE_NOT_FOUND},
        {"C:\\no\\such.exe arg", false, ERROR_FILE_NOT_FOUND},
        {"D:\\tools\\x.exe", false, ERROR_FILE_NOT_FOUND},
        {"", false, ERROR_FILE_NOT_FOUND},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Child child(c.line);
        ASSERT_EQ(child.started, c.starts);
        if (!c.starts) {
            EXPECT_EQ(child.error, c.code);
            continue;
        }
        EXPECT_NE(child.pi.dwProcessId, 0u);
        EXPECT_EQ(child.wait(), DWORD(WAIT_OBJECT_0));
        EXPECT_EQ(child.exitCode(), c.code);
        EXPECT_EQ(WaitForSingleObject(child.pi.hThread, 0), DWORD(WAIT_OBJECT_0));
        EXPECT_EQ(GetProcessId(child.pi.hProcess), child.pi.dwProcessId);
    }
}

TEST(Processes, ArgumentsFollowTheWindowsQuotingRules)
{
    kt::ScratchDir dir;
    const std::string script = dir / "args.sh";
    kt::writeFile(script, "#!/bin/sh\nout=\"$1\"; shift\nfor a in \"$@\"; do printf '[%s]' \"$a\"; done > \"$out\"\n");
    chmod(script.c_str(), 0755);
    struct Case {
        const char* args;
        const char* argv;
    };
    const Case cases[] = {
        {"a b", "[a][b]"},
        {"  a\t b  ", "[a][b]"},
        {"\"a b\" c", "[a b][c]"},
        {"a\\b", "[a\\b]"},
        {"a\\\\b", "[a\\\\b]"},
        {"a\\\"b", "[a\"b]"},
        {"a\\\\\\\"b", "[a\\\"b]"},
        {"\"a\\\\\" b", "[a\\][b]"},
        {"\"\"", "[]"},
        {"a\"\"b", "[ab]"},
        {"\"a\"\"b\"", "[a\"b]"},
        {"x\"y z\"w", "[xy zw]"},
        {"\"unterminated arg", "[unterminated arg]"},
        {"'single' $HOME `x`", "['single'][$HOME][`x`]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        ::unlink((dir / "out").c_str());
        Child child(script + " " + (dir / "out") + " " + c.args);
        ASSERT_TRUE(child.started);
        ASSERT_EQ(child.wait(), DWORD(WAIT_OBJECT_0));
        EXPECT_EQ(child.exitCode(), 0u);
        EXPECT_EQ(kt::readFile(dir / "out"), c.argv);
    }
    // A quoted program name with a space.
    ASSERT_EQ(::mkdir((dir / "with space").c_str(), 0755), 0);
    const std::string spaced = dir / "with space/args.sh";
    kt::writeFile(spaced, kt::readFile(script));
    chmod(spaced.c_str(), 0755);
    Child child("\"" + spaced + "\" " + (dir / "out") + " one");
    ASSERT_TRUE(child.started);
    ASSERT_EQ(child.wait(), DWORD(WAIT_OBJECT_0));
    EXPECT_EQ(kt::readFile(dir / "out"), "[one]");
}

TEST(Processes, ShowWindowHideIsAccepted)
{
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = 0; // SW_HIDE
    Child child("/bin/true", 0, &si);
    ASSERT_TRUE(child.started);
    EXPECT_EQ(child.wait(), DWORD(WAIT_OBJECT_0));
    EXPECT_EQ(child.exitCode(), 0u);
}

TEST(Processes, TimeoutStillActiveAndTerminate)
{
    Child child("/bin/sleep 30");
    ASSERT_TRUE(child.started);
    EXPECT_EQ(child.wait(0), DWORD(WAIT_TIMEOUT));
    EXPECT_EQ(child.wait(100), DWORD(WAIT_TIMEOUT));
    EXPECT_EQ(child.exitCode(), DWORD(STILL_ACTIVE));
    ASSERT_TRUE(TerminateProcess(child.pi.hProcess, 77));
    EXPECT_EQ(child.wait(INFINITE), DWORD(WAIT_OBJECT_0));
    EXPECT_EQ(child.exitCode(), 77u);
    // A second termination finds it gone; the code stays.
    EXPECT_FALSE(TerminateProcess(child.pi.hProcess, 5));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    EXPECT_EQ(child.exitCode(), 77u);
}

TEST(Processes, WaitForMultipleChildren)
{
    Child quick("/bin/true");
    Child slow("/bin/sleep 30");
    ASSERT_TRUE(quick.started);
    ASSERT_TRUE(slow.started);
    HANDLE both[2] = {slow.pi.hProcess, quick.pi.hProcess};
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 10000), DWORD(WAIT_OBJECT_0 + 1));
    EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 50), DWORD(WAIT_TIMEOUT));
    TerminateProcess(slow.pi.hProcess, 3);
    EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 10000), DWORD(WAIT_OBJECT_0));
}

bool reaped(pid_t pid)
{
    errno = 0;
    return ::waitpid(pid, nullptr, WNOHANG) < 0 && errno == ECHILD;
}

TEST(Processes, ChildrenAreReapedEvenWhenNobodyWaits)
{
    pid_t waited, unwaited;
    {
        Child child("/bin/true");
        ASSERT_TRUE(child.started);
        ASSERT_EQ(child.wait(), DWORD(WAIT_OBJECT_0));
        waited = pid_t(child.pi.dwProcessId);
        EXPECT_TRUE(reaped(waited));
    }
    {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        char line[] = "/bin/true";
        ASSERT_TRUE(CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
        unwaited = pid_t(pi.dwProcessId);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    // Nothing to wait on any more; the zombie must still go away.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    struct stat st;
    const std::string proc = "/proc/" + std::to_string(unwaited);
    while (::stat(proc.c_str(), &st) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_NE(::stat(proc.c_str(), &st), 0);
    EXPECT_TRUE(reaped(unwaited));
}

// The descriptors once every waiter thread has let go of its child's pidfd,
// which happens just after a wait on the child ends.
std::string settledDescriptors()
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    std::string fds = openDescriptors();
    while (fds.find("pidfd") != std::string::npos && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        fds = openDescriptors();
    }
    return fds;
}

TEST(Processes, FiftySpawnsLeakNoDescriptors)
{
    auto spawnAll = [] {
        for (int i = 0; i < 50; ++i) {
            Child child("/bin/true");
            ASSERT_TRUE(child.started);
            ASSERT_EQ(child.wait(), DWORD(WAIT_OBJECT_0));
        }
    };
    spawnAll(); // warm up whatever is made once
    const std::string before = settledDescriptors();
    spawnAll();
    EXPECT_EQ(settledDescriptors(), before);
}

TEST(Processes, RefusedArgumentsAndStaleHandles)
{
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    char line[] = "/bin/true";
    EXPECT_FALSE(CreateProcessA(nullptr, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &pi));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, "C:\\no\\such\\dir", &si, &pi));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_DIRECTORY));

    Child child("/bin/true");
    ASSERT_TRUE(child.started);
    child.wait();
    HANDLE process = child.pi.hProcess;
    HANDLE thread = child.pi.hThread;
    ASSERT_TRUE(CloseHandle(process));
    ASSERT_TRUE(CloseHandle(thread));
    child.started = false;
    DWORD code;
    EXPECT_FALSE(GetExitCodeProcess(process, &code));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(TerminateProcess(process, 1));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_EQ(WaitForSingleObject(process, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_FAILED);
    EXPECT_EQ(GetProcessId(process), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
}

TEST(Processes, StartsInTheGivenDirectory)
{
    kt::ScratchDir dir;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    char line[] = "/bin/sh -c \"pwd > where.txt\"";
    ASSERT_TRUE(CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, dir.windows().c_str(), &si, &pi));
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 10000), DWORD(WAIT_OBJECT_0));
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(kt::readFile(dir / "where.txt"), dir.path() + "\n");
}

} // namespace

namespace {

TEST(ProcessesMore, ChildSeesTheEnvironmentWeSet)
{
    kt::ScratchDir dir;
    ASSERT_TRUE(SetEnvironmentVariableA("VK_CHILD_VALUE", "from parent"));
    const std::string line = "/bin/sh -c \"printf %s \\\"$VK_CHILD_VALUE\\\" > " + (dir / "env.txt") + "\"";
    Child child(line);
    ASSERT_TRUE(child.started);
    ASSERT_EQ(child.wait(), DWORD(WAIT_OBJECT_0));
    EXPECT_EQ(kt::readFile(dir / "env.txt"), "from parent");
    SetEnvironmentVariableA("VK_CHILD_VALUE", nullptr);

    // An explicit block replaces the environment.
    const char block[] = "VK_ONLY=1\0PATH=/usr/bin:/bin\0";
    std::string cmd = "/bin/sh -c \"env > " + (dir / "block.txt") + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, const_cast<char*>(block), nullptr,
                               &si, &pi));
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    const std::string env = kt::readFile(dir / "block.txt");
    EXPECT_NE(env.find("VK_ONLY=1\n"), std::string::npos);
    EXPECT_EQ(env.find("XDG_DATA_HOME="), std::string::npos);
}

TEST(ProcessesMore, StandardHandlesGoToTheChild)
{
    kt::ScratchDir dir;
    HANDLE out = CreateFileA(dir.windows("out.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0,
                             nullptr);
    ASSERT_NE(out, INVALID_HANDLE_VALUE);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out;
    si.hStdError = out;
    si.hStdInput = nullptr;
    Child child("/bin/sh -c \"echo hello; read x || echo eof\"", 0, &si);
    CloseHandle(out);
    ASSERT_TRUE(child.started);
    ASSERT_EQ(child.wait(), DWORD(WAIT_OBJECT_0));
    EXPECT_EQ(kt::readFile(dir / "out.txt"), "hello\neof\n");
}

TEST(ProcessesMore, OpenProcessFindsChildrenAndSelf)
{
    Child child("/bin/sleep 30");
    ASSERT_TRUE(child.started);
    HANDLE again = OpenProcess(PROCESS_ALL_ACCESS, FALSE, child.pi.dwProcessId);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(GetProcessId(again), child.pi.dwProcessId);
    ASSERT_TRUE(TerminateProcess(again, 9));
    EXPECT_EQ(WaitForSingleObject(child.pi.hProcess, 10000), DWORD(WAIT_OBJECT_0));
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeProcess(again, &code));
    EXPECT_EQ(code, 9u);
    CloseHandle(again);

    HANDLE self = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, GetCurrentProcessId());
    ASSERT_NE(self, nullptr);
    EXPECT_EQ(GetProcessId(self), GetCurrentProcessId());
    EXPECT_TRUE(GetExitCodeProcess(self, &code));
    EXPECT_EQ(code, DWORD(STILL_ACTIVE));
    EXPECT_EQ(WaitForSingleObject(self, 0), DWORD(WAIT_TIMEOUT));
    CloseHandle(self);
    EXPECT_EQ(GetProcessId(GetCurrentProcess()), GetCurrentProcessId());
    EXPECT_EQ(OpenProcess(PROCESS_ALL_ACCESS, FALSE, 0), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

TEST(ProcessesMore, ConcurrentSpawnsAndWaits)
{
    std::vector<std::thread> threads;
    std::atomic<int> ok{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 10; ++i) {
                Child child("/bin/sh -c \"exit 3\"");
                if (child.started && child.wait() == WAIT_OBJECT_0 && child.exitCode() == 3)
                    ++ok;
            }
        });
    }
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(ok.load(), 40);
}

} // namespace
