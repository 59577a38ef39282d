#include "DisplayLoss.h"

#include <errno.h>
#include <unistd.h>

#include <cstdio>

namespace plat {
namespace {

void (*finishFirst)() = nullptr;

}  // namespace

void BeforeEndingWithoutDisplay(void (*finish)()) { finishFirst = finish; }

void EndForLostDisplay(const char* display)
{
    char why[400];
    std::snprintf(why, sizeof why, "lost the connection to the display %s", display);
    EndWithoutDisplay(why);
}

void EndWithoutDisplay(const char* why)
{
    char line[512];
    int length = std::snprintf(line, sizeof line, "%s: %s; the game ends\n", program_invocation_short_name, why);
    if (length > (int)sizeof line - 1) length = (int)sizeof line - 1;
    if (finishFirst) finishFirst();
    if (length > 0) {
        ssize_t written = write(STDERR_FILENO, line, (size_t)length);
        (void)written;
    }
    _exit(1);
}

}  // namespace plat
