#include "skin/core/trim.h"

#include <velkaro/assets.h>

#include <windows.h>

#include <string>
#include <vector>

namespace velkaro::skin {

namespace {

std::string trimToolPath()
{
    std::string dir;
    DWORD needed = GetEnvironmentVariableA("windir", nullptr, 0);
    if (needed > 0) {
        std::vector<char> buffer(needed, '\0');
        GetEnvironmentVariableA("windir", buffer.data(), needed);
        dir = buffer.data();
    }
    return dir + "\\empty.exe";
}

void writeTrimTool(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    assets::Blob image = assets::trimTool();
    DWORD written = 0;
    WriteFile(file, image.data, DWORD(image.size), &written, nullptr);
    CloseHandle(file);
}

} // namespace

void trimWorkingSet()
{
    std::string path = trimToolPath();
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        writeTrimTool(path);

    std::string command = path + " " + std::to_string(GetCurrentProcessId());
    std::vector<char> commandLine(command.begin(), command.end());
    commandLine.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

} // namespace velkaro::skin
