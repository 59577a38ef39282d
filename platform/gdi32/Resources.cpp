// Resource lookup and LoadImageA, LoadIconA, LoadCursorA.
#include "Resources.h"

#include "BmpDecoder.h"
#include "Core.h"
#include "GdiObjects.h"
#include "Icons.h"
#include "ResourceControls.h"

#include <cstdio>
#include <string>
#include <strings.h>
#include <sys/stat.h>
#include <vector>

namespace plat {
namespace {

std::vector<PlatformResource>& Table()
{
    static auto* table = new std::vector<PlatformResource>;
    return *table;
}

// Files larger than this are not pictures the game could want.
const long long kMaxFileSize = 256ll * 1024 * 1024;

bool ReadFile(const char* path, std::vector<unsigned char>* bytes, DWORD* error)
{
    struct stat info;
    if (stat(path, &info) != 0) {
        *error = ERROR_FILE_NOT_FOUND;
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        *error = ERROR_ACCESS_DENIED;
        return false;
    }
    if (info.st_size > kMaxFileSize) {
        *error = ERROR_NOT_ENOUGH_MEMORY;
        return false;
    }
    FILE* file = std::fopen(path, "rb");
    if (!file) {
        *error = ERROR_ACCESS_DENIED;
        return false;
    }
    bytes->resize((size_t)info.st_size);
    size_t got = bytes->empty() ? 0 : std::fread(bytes->data(), 1, bytes->size(), file);
    std::fclose(file);
    if (got != bytes->size()) {
        *error = ERROR_READ_FAULT;
        return false;
    }
    return true;
}

// Scales a decoded picture to the size asked for (0 keeps its own).
SDL_Surface* Resized(SDL_Surface* surface, int width, int height)
{
    if (width <= 0) width = surface->w;
    if (height <= 0) height = surface->h;
    if (width == surface->w && height == surface->h) return surface;
    SDL_Surface* copy = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888);
    SDL_Surface* source = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_RGB888, 0);
    bool ok = copy && source && SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE) == 0 &&
              SDL_BlitScaled(source, nullptr, copy, nullptr) == 0;
    SDL_FreeSurface(source);
    SDL_FreeSurface(surface);
    if (!ok) {
        SDL_FreeSurface(copy);
        return nullptr;
    }
    return copy;
}

HANDLE LoadBitmapImage(HINSTANCE instance, LPCSTR name, int width, int height, UINT flags)
{
    std::vector<unsigned char> file;
    const unsigned char* data = nullptr;
    size_t size = 0;
    DWORD error = 0;
    if (flags & LR_LOADFROMFILE) {
        if (IS_INTRESOURCE(name) || !ReadFile(name, &file, &error)) {
            SetLastError(error ? error : ERROR_FILE_NOT_FOUND);
            return nullptr;
        }
        data = file.data();
        size = file.size();
    } else {
        if (!IsProgramModule(instance)) {
            SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
            return nullptr;
        }
        const PlatformResource* resource = IS_INTRESOURCE(name) ? nullptr : FindResource(name, PlatformResourceBitmap);
        if (!resource) {
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
            return nullptr;
        }
        data = resource->data;
        size = resource->size;
    }
    SDL_Surface* surface = DecodeBmp(data, size, &error);
    if (surface) surface = Resized(surface, width, height);
    if (!surface) {
        SetLastError(error ? error : ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return NewBitmap(surface);
}

}  // namespace

const PlatformResource* FindResource(const char* name, PlatformResourceType type)
{
    if (!name || ResourceHidden(name)) return nullptr;
    for (const PlatformResource& r : Table())
        if (r.type == type && r.name && strcasecmp(r.name, name) == 0) return &r;
    return nullptr;
}

bool IsProgramModule(HINSTANCE instance) { return instance && instance == GetModuleHandleA(nullptr); }

}  // namespace plat

bool PlatformRegisterResources(const PlatformResource* table, size_t count)
{
    if (!table) return false;
    auto& resources = plat::Table();
    resources.insert(resources.end(), table, table + count);
    return true;
}

HANDLE WINAPI LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height, UINT flags)
{
    DWORD code = 0;
    if (plat::FailWin32("LoadImageA", &code)) return nullptr;
    if (!name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    switch (type) {
    case IMAGE_BITMAP: return plat::LoadBitmapImage(instance, name, width, height, flags);
    case IMAGE_ICON: return (flags & LR_LOADFROMFILE) ? plat::LoadIconFile(name) : LoadIconA(instance, name);
    case IMAGE_CURSOR: return LoadCursorA(instance, name);
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
    }
}

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name)
{
    DWORD code = 0;
    if (plat::FailWin32("LoadIconA", &code)) return nullptr;
    if (!instance) {
        // The system's own icons, by number.
        if (IS_INTRESOURCE(name) && (ULONG_PTR)name >= 32512 && (ULONG_PTR)name <= 32518) return plat::StockIcon();
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    if (!plat::IsProgramModule(instance)) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    // The program's icons are stored under string names only.
    if (IS_INTRESOURCE(name)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return plat::LoadIconResource(name);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name)
{
    DWORD code = 0;
    if (plat::FailWin32("LoadCursorA", &code)) return nullptr;
    if (!instance && IS_INTRESOURCE(name) && (ULONG_PTR)name >= 32512 && (ULONG_PTR)name <= 32651)
        return plat::StockArrow();
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}
