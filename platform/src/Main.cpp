// The process entry on Linux: hands the program what Windows would.
#include "Recording.h"

#include <windows.h>

#include <malloc.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const int exitUsage = 2;

int Refuse(const std::string& problem)
{
    std::fprintf(stderr, "vorblox: %s\n", problem.c_str());
    return exitUsage;
}

}  // namespace

int main(int argc, char** argv)
{
    // Pixel buffers get mappings of their own, given back to the system when
    // freed. The C library would otherwise raise this threshold at the first
    // such free and keep the later ones (the pictures' decoding copies) in
    // its heap for good: a quarter of a megabyte resident for nothing.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    // --record FILE and --watch FILE are ours; the rest goes to the program.
    const char* recordPath = nullptr;
    const char* watchPath = nullptr;
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        const bool record = !std::strcmp(argv[i], "--record");
        if (record || !std::strcmp(argv[i], "--watch")) {
            if (i + 1 == argc) return Refuse(std::string(argv[i]) + " needs a file name");
            (record ? recordPath : watchPath) = argv[++i];
            continue;
        }
        if (!commandLine.empty()) commandLine += ' ';
        commandLine += argv[i];
    }
    if (recordPath && watchPath) return Refuse("--record and --watch do not go together");
    // Both are checked before the window opens, so a bad file costs nothing.
    std::string error;
    if (watchPath && !plat::StartWatching(watchPath, &error)) return Refuse(error);
    if (recordPath && !plat::StartRecording(recordPath, &error)) return Refuse(error);
    int result = WinMain(GetModuleHandleA(NULL), NULL, &commandLine[0], SW_SHOWDEFAULT);
    plat::FinishRecording();
    return result;
}
