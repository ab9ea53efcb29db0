// Weak stand-ins for two core services until the core of the layer provides
// them; the real definitions replace these at link time.
#include "core/last_error.h"
#include "core/modules.h"

namespace vk {

__attribute__((weak)) void fail(DWORD) {}

__attribute__((weak)) bool traceFailures()
{
    return false;
}

__attribute__((weak)) void registerModuleExports(const char*, const ModuleExport*, size_t) {}

} // namespace vk
