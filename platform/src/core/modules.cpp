// The registry of built-in modules and the loader calls on top of it:
// LoadLibraryA finds a registered module by its base name, GetProcAddress
// looks up its exports, FreeLibrary counts references down.
#include "core/modules.h"

#include "core/handle_table.h"
#include "core/last_error.h"
#include "kernel/paths.h"

#include <windows.h>

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace {

struct ModuleRecord {
    std::string fileName; // as reported by GetModuleFileNameA, e.g. "gdiplus.dll"
    std::unordered_map<std::string, FARPROC> exports;
    unsigned refs = 0;
    bool pinned = false;  // loaded for the life of the process
    bool program = false; // the executable itself
    uintptr_t handle = 0;
};

struct ModuleSlot {
    ModuleRecord* record;
};

// Modules every Win32 GUI program has mapped from the start.
constexpr const char* kPinnedModules[] = {"kernel32", "user32", "gdi32", "ntdll"};

struct Registry {
    std::mutex mutex;
    std::map<std::string, std::unique_ptr<ModuleRecord>> byKey;
    vk::HandleTable<ModuleSlot> handles{vk::HandleKind::Module};
    ModuleRecord programModule;
};

Registry& registry()
{
    static Registry* r = new Registry; // outlives every static that may still call in at exit
    return *r;
}

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

std::string baseName(const char* path)
{
    std::string s(path);
    size_t cut = s.find_last_of("/\\");
    if (cut != std::string::npos)
        s.erase(0, cut + 1);
    return s;
}

// "C:\x\GdiPlus.DLL" -> "gdiplus"
std::string moduleKey(const char* name)
{
    std::string s = lower(baseName(name));
    if (s.size() > 4 && s.compare(s.size() - 4, 4, ".dll") == 0)
        s.resize(s.size() - 4);
    else if (!s.empty() && s.back() == '.')
        s.pop_back(); // a trailing dot means "no extension"
    return s;
}

std::string executablePath()
{
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return "/proc/self/exe";
    return std::string(buf, size_t(n));
}

bool isPinnedKey(const std::string& key)
{
    for (const char* p : kPinnedModules)
        if (key == p)
            return true;
    return false;
}

uintptr_t ensureHandle(Registry& r, ModuleRecord& m)
{
    if (!m.handle)
        m.handle = r.handles.add(std::make_unique<ModuleSlot>(ModuleSlot{&m}));
    return m.handle;
}

ModuleRecord* programRecord(Registry& r)
{
    ModuleRecord& p = r.programModule;
    if (!p.program) {
        p.program = true;
        p.pinned = true;
        p.refs = 1;
        p.fileName = baseName(executablePath().c_str());
    }
    ensureHandle(r, p);
    return &p;
}

ModuleRecord* recordFor(Registry& r, HMODULE h)
{
    ModuleSlot* slot = r.handles.get(h);
    return slot ? slot->record : nullptr;
}

bool isProgramName(Registry& r, const std::string& key)
{
    std::string exe = lower(programRecord(r)->fileName);
    return key == exe || key + ".exe" == exe;
}

} // namespace

namespace vk {

void registerModuleExports(const char* module, const ModuleExport* exports, size_t count)
{
    if (!module || (!exports && count))
        return;
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    std::string key = moduleKey(module);
    auto& slot = r.byKey[key];
    if (!slot) {
        slot = std::make_unique<ModuleRecord>();
        slot->fileName = key + ".dll";
        if (isPinnedKey(key)) {
            slot->pinned = true;
            slot->refs = 1;
        }
    }
    for (size_t i = 0; i < count; ++i)
        if (exports[i].name && exports[i].proc)
            slot->exports[exports[i].name] = exports[i].proc;
}

} // namespace vk

extern "C" {

HMODULE WINAPI LoadLibraryExA(LPCSTR lpLibFileName, HANDLE hFile, DWORD dwFlags)
{
    if (!lpLibFileName || hFile)
        return vk::failWith<HMODULE>(ERROR_INVALID_PARAMETER, nullptr);
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    std::string key = moduleKey(lpLibFileName);
    auto it = r.byKey.find(key);
    if (it == r.byKey.end()) {
        if (!key.empty() && isProgramName(r, key))
            return reinterpret_cast<HMODULE>(programRecord(r)->handle);
        return vk::failWith<HMODULE>(ERROR_MOD_NOT_FOUND, nullptr);
    }
    ModuleRecord& m = *it->second;
    ++m.refs;
    return reinterpret_cast<HMODULE>(ensureHandle(r, m));
}

HMODULE WINAPI LoadLibraryA(LPCSTR lpLibFileName)
{
    return LoadLibraryExA(lpLibFileName, nullptr, 0);
}

FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName)
{
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    ModuleRecord* m = hModule ? recordFor(r, hModule) : programRecord(r);
    if (!m)
        return vk::failWith<FARPROC>(ERROR_INVALID_HANDLE, nullptr);
    // Built-in modules export by name only, so every ordinal is missing.
    if (!lpProcName || IS_INTRESOURCE(lpProcName))
        return vk::failWith<FARPROC>(ERROR_PROC_NOT_FOUND, nullptr);
    auto it = m->exports.find(lpProcName);
    if (it == m->exports.end())
        return vk::failWith<FARPROC>(ERROR_PROC_NOT_FOUND, nullptr);
    return it->second;
}

BOOL WINAPI FreeLibrary(HMODULE hLibModule)
{
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    ModuleRecord* m = recordFor(r, hLibModule);
    if (!m)
        return vk::failWith(ERROR_INVALID_HANDLE, FALSE);
    if (m->pinned)
        return TRUE;
    if (m->refs > 0 && --m->refs == 0) {
        r.handles.remove(m->handle);
        m->handle = 0;
    }
    return TRUE;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName)
{
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    if (!lpModuleName)
        return reinterpret_cast<HMODULE>(programRecord(r)->handle);
    std::string key = moduleKey(lpModuleName);
    auto it = r.byKey.find(key);
    if (it != r.byKey.end() && it->second->refs > 0)
        return reinterpret_cast<HMODULE>(ensureHandle(r, *it->second));
    if (!key.empty() && isProgramName(r, key))
        return reinterpret_cast<HMODULE>(programRecord(r)->handle);
    return vk::failWith<HMODULE>(ERROR_MOD_NOT_FOUND, nullptr);
}

DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize)
{
    std::string path;
    {
        Registry& r = registry();
        std::lock_guard lock(r.mutex);
        ModuleRecord* m = hModule ? recordFor(r, hModule) : programRecord(r);
        if (!m)
            return vk::failWith<DWORD>(ERROR_MOD_NOT_FOUND, 0);
        if (m->program)
            path = vk::kernel::toWindowsPath(executablePath().c_str());
        else
            path = vk::kernel::systemDirectoryWindows() + "\\" + m->fileName;
    }
    if (!lpFilename || nSize == 0)
        return vk::failWith<DWORD>(ERROR_INSUFFICIENT_BUFFER, 0);
    // Truncation still terminates the text, and reports the buffer size.
    if (path.size() >= nSize) {
        std::memcpy(lpFilename, path.data(), nSize - 1);
        lpFilename[nSize - 1] = '\0';
        vk::fail(ERROR_INSUFFICIENT_BUFFER);
        return nSize;
    }
    std::memcpy(lpFilename, path.c_str(), path.size() + 1);
    SetLastError(ERROR_SUCCESS);
    return DWORD(path.size());
}

} // extern "C"
