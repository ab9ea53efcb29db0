// Helpers shared by the kernel tests: a scratch folder per test and small
// file utilities. The program's Windows directory lives in a scratch
// XDG_DATA_HOME (see kernel_test_support.cpp), never in the real home.
#pragma once

#include <string>

namespace kt {

// A fresh folder under /tmp, removed with everything in it on destruction.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    // The same folder spelt as a Windows path ("C:\tmp\...").
    std::string windows(const std::string& name = {}) const;

private:
    std::string path_;
};

void writeFile(const std::string& hostPath, const std::string& content);
std::string readFile(const std::string& hostPath);
bool exists(const std::string& hostPath);
void removeTree(const std::string& hostPath);

// The folder the scratch XDG_DATA_HOME was made in.
const std::string& dataHome();

} // namespace kt
