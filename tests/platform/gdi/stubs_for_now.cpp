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

DWORD stubLastError() { return g_lastError; }
void stubSetLastError(DWORD e) { g_lastError = e; }

FARPROC stubFindExport(const char* module, const char* name)
{
    for (const StubModule& m : stubModules())
        if (m.name == module)
            for (const ModuleExport& e : m.exports)
                if (std::strcmp(e.name, name) == 0)
                    return e.proc;
    return nullptr;
}

namespace user {
bool resolveWindowTarget(HWND, unsigned, const Region*, WindowDrawTarget&) { return false; }
uint64_t geometryGeneration() { return 0; }
} // namespace user

} // namespace vk
