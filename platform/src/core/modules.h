// The modules LoadLibraryA can open. Each area of the layer that Win32 puts in
// its own DLL (gdiplus.dll, msimg32.dll, comctl32.dll, ...) registers its
// exported functions here, so GetProcAddress resolves them by name.
#pragma once

#include <windef.h>

namespace vk {

struct ModuleExport {
    const char* name;
    FARPROC proc;
};

// Registers exports under a module name (case-insensitive, with or without
// ".dll"). Registering the same module twice adds to its exports.
void registerModuleExports(const char* module, const ModuleExport* exports, size_t count);

// Function pointers of any signature travel as FARPROC, as GetProcAddress
// returns them; the detour through void(*)() keeps -Wcast-function-type quiet.
template <class F>
FARPROC exportProc(F* f)
{
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(f));
}

} // namespace vk
