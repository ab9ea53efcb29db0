#include "kernel_test_support.h"

#include <cstdlib>
#include <fstream>
#include <ftw.h>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace kt {
namespace {

int removeEntry(const char* path, const struct stat*, int, FTW*)
{
    return ::remove(path);
}

std::string makeTemp(const char* pattern)
{
    std::string templ = std::string("/tmp/") + pattern;
    if (!mkdtemp(templ.data()))
        std::abort();
    return templ;
}

// Set before any test runs, so the kernel's Windows directory (fixed at first
// use) lands in a scratch folder that is removed at exit.
struct DataHome {
    std::string path = makeTemp("vk-kernel-xdg-XXXXXX");
    DataHome()
    {
        setenv("XDG_DATA_HOME", path.c_str(), 1);
        // The kernel supplies these when the host lacks them; make it.
        unsetenv("windir");
        unsetenv("SystemRoot");
    }
    ~DataHome() { removeTree(path); }
};

DataHome& theDataHome()
{
    static DataHome home;
    return home;
}
const bool dataHomeReady = (theDataHome(), true);

} // namespace

const std::string& dataHome()
{
    return theDataHome().path;
}

ScratchDir::ScratchDir() : path_(makeTemp("vk-kernel-XXXXXX")) {}

ScratchDir::~ScratchDir()
{
    removeTree(path_);
}

std::string ScratchDir::windows(const std::string& name) const
{
    std::string s = "C:" + path_ + (name.empty() ? "" : "/" + name);
    for (char& c : s)
        if (c == '/')
            c = '\\';
    return s;
}

void writeFile(const std::string& hostPath, const std::string& content)
{
    std::ofstream out(hostPath, std::ios::binary);
    out << content;
}

std::string readFile(const std::string& hostPath)
{
    std::ifstream in(hostPath, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool exists(const std::string& hostPath)
{
    struct stat st;
    return lstat(hostPath.c_str(), &st) == 0;
}

void removeTree(const std::string& hostPath)
{
    // Read-only entries are removable by their folder's owner; restore the
    // folder's own bits first in case a test took them away.
    chmod(hostPath.c_str(), 0700);
    nftw(hostPath.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

} // namespace kt
