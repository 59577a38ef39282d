// libFuzzer target: the recording reader against hostile files. Every
// input must end in a step list, an end or a clean refusal, in the
// reader's fixed memory.
#include <ReplayReader.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int file = memfd_create("recording", 0);
    if (file < 0) return 0;
    if (ftruncate(file, 0) != 0 || pwrite(file, data, size, 0) != (ssize_t)size) return 0;
    static const std::string path = "/proc/self/fd/" + std::to_string(file);
    ReplayReader reader;
    std::string error;
    if (!reader.Open(path.c_str(), &error)) return 0;
    ReplayStep step;
    // Twice: the second time from the start again, as a jump back would.
    for (int pass = 0; pass < 2; ++pass) {
        while (reader.Next(&step, &error) == ReplayReader::Step) {
            if (step.ticks == 0 || step.keys.size() > 10) __builtin_trap();
        }
        if (!reader.Rewind()) __builtin_trap();
    }
    return 0;
}
