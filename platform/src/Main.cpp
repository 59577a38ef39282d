// The process entry on Linux: reads the command line, then hands the
// program what Windows would.
#include <windows.h>

#include "CommandLine.h"
#include "DisplayScale.h"

#include <malloc.h>

#include <string>

int main(int argc, char** argv)
{
    plat::Options options;
    switch (plat::ParseCommandLine(argc, argv, &options)) {
    case plat::Parsed::Done: return 0;
    case plat::Parsed::BadUsage: return 2;
    case plat::Parsed::Run: break;
    }
    plat::RequestScale(options.scale);
    // Pixel buffers get mappings of their own, given back to the system when
    // freed. The C library would otherwise raise this threshold at the first
    // such free and keep the later ones (the pictures' decoding copies) in
    // its heap for good: a quarter of a megabyte resident for nothing.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    return WinMain(GetModuleHandleA(NULL), NULL, &commandLine[0], SW_SHOWDEFAULT);
}
