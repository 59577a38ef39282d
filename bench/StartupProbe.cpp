// vorblox-startup-probe: the game's own start-up, headless, up to the first
// presented frame; prints how long that took in nanoseconds.
#include "tools/replay/ReplaySession.h"

#include <stdio.h>
#include <time.h>

namespace {

long long Nanoseconds()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000ll + now.tv_nsec;
}

}  // namespace

int main()
{
    long long start = Nanoseconds();
    ReplaySession session;
    if (!session.Start()) return 1;
    // The first tick always draws and presents the start prompt.
    if (!session.Tick(std::vector<unsigned char>())) return 1;
    printf("%lld\n", Nanoseconds() - start);
    return 0;
}
