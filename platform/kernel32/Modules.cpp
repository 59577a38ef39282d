// LoadLibraryA, GetProcAddress and FreeLibrary over the modules built into
// the layer (the DirectX ones, which add themselves). Nothing is loaded from
// disk: the modules are found by file name alone, as the system directory
// would supply them.
#include "BuiltinModules.h"
#include "Core.h"

#include <PlatformTestDirectX.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

namespace {

struct Export {
    const char* name;
    FARPROC address;
};

struct Module {
    const char* fileName;
    Export exports[1];
    int loads;
};

// The handle of a module is the address of its entry, which never moves.
// Zero before any module's static initializer adds to it.
constexpr int kMaxModules = 4;
Module modules[kMaxModules];
int moduleCount = 0;

struct Hidden {
    std::set<std::string> modules;
    std::set<std::string> procedures;  // "MODULE!procedure"
};

std::string Upper(const char* text)
{
    std::string result(text);
    for (char& c : result)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return result;
}

// Never destroyed: the program's static destructors may still call in.
Hidden& Hiding()
{
    static Hidden* hidden = [] {
        plat::AddResetHook([] {
            Hiding().modules.clear();
            Hiding().procedures.clear();
        });
        return new Hidden;
    }();
    return *hidden;
}

// "C:\\Windows\\System32\\ddraw.dll", "ddraw.dll" and "DDRAW" all name DDRAW.DLL.
Module* FindByName(const char* fileName)
{
    const char* base = fileName;
    for (const char* p = fileName; *p; ++p)
        if (*p == '\\' || *p == '/') base = p + 1;
    std::string name = Upper(base);
    if (name.find('.') == std::string::npos) name += ".DLL";
    for (int i = 0; i < moduleCount; ++i)
        if (name == modules[i].fileName) return &modules[i];
    return nullptr;
}

Module* FindByHandle(HMODULE handle)
{
    for (int i = 0; i < moduleCount; ++i)
        if (reinterpret_cast<HMODULE>(&modules[i]) == handle) return &modules[i];
    return nullptr;
}

}  // namespace

bool plat::AddBuiltinModule(const char* fileName, const char* exportName, FARPROC address)
{
    if (moduleCount == kMaxModules) std::abort();  // a fifth module needs a bigger table
    modules[moduleCount++] = {fileName, {{exportName, address}}, 0};
    return true;
}

HMODULE WINAPI LoadLibraryA(LPCSTR fileName)
{
    DWORD code;
    if (plat::FailWin32("LoadLibraryA", &code)) return nullptr;
    if (!fileName || !*fileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Module* module = FindByName(fileName);
    if (!module || Hiding().modules.count(module->fileName)) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    ++module->loads;
    return reinterpret_cast<HMODULE>(module);
}

FARPROC WINAPI GetProcAddress(HMODULE handle, LPCSTR procName)
{
    DWORD code;
    if (plat::FailWin32("GetProcAddress", &code)) return nullptr;
    Module* module = FindByHandle(handle);
    if (module && module->loads == 0) {
        SetLastError(ERROR_MOD_NOT_FOUND);  // freed: the handle names nothing now
        return nullptr;
    }
    // The program's own module and ordinals export nothing we know.
    if (!module || !procName || IS_INTRESOURCE(procName)) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    for (const Export& entry : module->exports) {
        if (std::strcmp(entry.name, procName) != 0) continue;  // export names are case-sensitive
        if (Hiding().procedures.count(std::string(module->fileName) + "!" + procName)) break;
        return entry.address;
    }
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

BOOL WINAPI FreeLibrary(HMODULE handle)
{
    DWORD code;
    if (plat::FailWin32("FreeLibrary", &code)) return FALSE;
    Module* module = FindByHandle(handle);
    if (!module || module->loads == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    --module->loads;
    return TRUE;
}

void PlatformTest::HideModule(LPCSTR module, bool hidden)
{
    Module* found = FindByName(module);
    if (!found) return;
    if (hidden)
        Hiding().modules.insert(found->fileName);
    else
        Hiding().modules.erase(found->fileName);
}

void PlatformTest::HideProcedure(LPCSTR module, LPCSTR procedure, bool hidden)
{
    Module* found = FindByName(module);
    if (!found) return;
    std::string key = std::string(found->fileName) + "!" + procedure;
    if (hidden)
        Hiding().procedures.insert(key);
    else
        Hiding().procedures.erase(key);
}

int PlatformTest::ModuleLoadCount(LPCSTR module)
{
    Module* found = FindByName(module);
    return found ? found->loads : 0;
}
