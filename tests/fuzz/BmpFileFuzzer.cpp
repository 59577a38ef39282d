// libFuzzer entry: every input is written to a file and loaded as a bitmap
// file, as the game loads a picture whose resource is missing.
#include "LoadBitmapFile.h"

#include <PlatformTest.h>

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

char path[] = "/tmp/vorblox-fuzz-XXXXXX";

void RemoveFile() { unlink(path); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    PlatformTest::SetHeadless(true);
    int fd = mkstemp(path);
    if (fd < 0) abort();
    close(fd);
    atexit(RemoveFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FILE* f = fopen(path, "wb");
    if (!f) abort();
    if (size && fwrite(data, 1, size, f) != size) abort();
    fclose(f);
    LoadBitmapFile(path);
    return 0;
}
