// Temporary definitions of functions other areas of the layer own, so the GDI
// tests link before those areas land. Delete this file when they do.
#include "core/last_error.h"
#include "core/modules.h"
#include "user/draw_target.h"

#include <cstring>
#include <string>
#include <vector>

namespace vk {

static thread_local DWORD g_lastError = 0;

void fail(DWORD err) { g_lastError = err; }
bool traceFailures() { return false; }

struct StubModule {
    std::string name;
    std::vector<ModuleExport> exports;
};

std::vector<StubModule>& stubModules()
{
    static std::vector<StubModule> m;
    return m;
}

void registerModuleExports(const char* module, const ModuleExport* exports, size_t count)
{
    stubModules().push_back(StubModule{module, std::vector<ModuleExport>(exports, exports + count)});
}

// One scripted window: what resolveWindowTarget answers for it.
struct StubWindow {
    HWND hwnd = nullptr;
    Surface* surface = nullptr;
    POINT origin{};
    RECT visible{};
    Region* damage = nullptr;
    uint64_t generation = 1;
    int resolves = 0;
};

StubWindow& stubWindow()
{
    static StubWindow w;
    return w;
}

namespace user {
bool resolveWindowTarget(HWND hwnd, unsigned, const Region* paintClip, WindowDrawTarget& out)
{
    StubWindow& w = stubWindow();
    if (!hwnd || hwnd != w.hwnd)
        return false;
    ++w.resolves;
    out.surface = w.surface;
    out.origin = w.origin;
    // Out-of-line Region calls only: the test programs do not link pixman.
    out.visible.setRect(w.visible);
    if (paintClip) {
        out.visible.translate(-w.origin.x, -w.origin.y);
        out.visible.intersect(*paintClip);
        out.visible.translate(w.origin.x, w.origin.y);
    }
    out.damage = w.damage;
    return true;
}
uint64_t geometryGeneration() { return stubWindow().generation; }
} // namespace user

} // namespace vk

DWORD stubLastError() { return vk::g_lastError; }
void stubSetLastError(DWORD e) { vk::g_lastError = e; }

FARPROC stubFindExport(const char* module, const char* name)
{
    for (const vk::StubModule& m : vk::stubModules())
        if (m.name == module)
            for (const vk::ModuleExport& e : m.exports)
                if (std::strcmp(e.name, name) == 0)
                    return e.proc;
    return nullptr;
}
