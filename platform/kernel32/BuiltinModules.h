// The modules built into the layer add themselves here, from a static
// initializer beside their entry point, and LoadLibraryA finds them by file
// name. Every program keeps those initializers (platform/CMakeLists.txt),
// so a module is there whether or not the program calls its entry directly.
#ifndef VORBLOX_PLATFORM_BUILTIN_MODULES_H
#define VORBLOX_PLATFORM_BUILTIN_MODULES_H

#include <windows.h>

namespace plat {

// A module ("DDRAW.DLL") and its one export; answers true.
bool AddBuiltinModule(const char* fileName, const char* exportName, FARPROC address);

// Callers cast the address back to the entry's real type, as on Windows.
template <class Function>
FARPROC ExportAddress(Function* function)
{
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

}  // namespace plat

#endif
