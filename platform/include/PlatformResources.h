// How the build hands the program's embedded files (pictures, icon) to the
// layer. Only the generated resource source uses this.
#ifndef VORBLOX_PLATFORM_RESOURCES_H
#define VORBLOX_PLATFORM_RESOURCES_H

#include <stddef.h>

enum PlatformResourceType { PlatformResourceBitmap, PlatformResourceIcon };

struct PlatformResource {
    const char* name;  // the resource name, e.g. "PIC_MAIN"
    PlatformResourceType type;
    const unsigned char* data;  // the file's bytes as they are on disk
    unsigned long size;
};

// Called once during static initialisation; the table lives for the process.
bool PlatformRegisterResources(const PlatformResource* table, size_t count);

#endif
