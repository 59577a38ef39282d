#include "InputSource.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace plat {
namespace {

std::vector<InputSource*>& Sources()
{
    static auto* sources = new std::vector<InputSource*>;
    return *sources;
}

// How many of Sources() are the devices' own, at its front.
size_t deviceSources = 0;

bool Added(InputSource* source)
{
    std::vector<InputSource*>& sources = Sources();
    return std::find(sources.begin(), sources.end(), source) != sources.end();
}

}  // namespace

void AddDeviceSource(InputSource* source)
{
    if (Added(source)) return;
    Sources().insert(Sources().begin() + (std::ptrdiff_t)deviceSources, source);
    ++deviceSources;
}

void AddInputSource(InputSource* source)
{
    if (!Added(source)) Sources().push_back(source);
}

void RemoveInputSource(InputSource* source)
{
    std::vector<InputSource*>& sources = Sources();
    auto at = std::find(sources.begin(), sources.end(), source);
    if (at == sources.end()) return;
    if (at - sources.begin() < (std::ptrdiff_t)deviceSources) --deviceSources;
    sources.erase(at);
}

bool ReadInputSources(KeyboardRead& read, bool* ok)
{
    std::memset(read.keys, 0, 256);
    read.takenOver = false;
    for (InputSource* source : Sources())
        if (source->TakeOver(read)) {
            read.takenOver = true;
            break;
        }
    if (read.takenOver) {
        read.live = false;
        *ok = true;
    }
    for (InputSource* source : Sources()) source->Add(read);
    for (InputSource* source : Sources()) source->Saw(read, *ok);
    return read.takenOver;
}

void InputIdle()
{
    for (InputSource* source : Sources()) source->Idle();
}

bool InputWaiting()
{
    bool waiting = false;
    // Every source is asked: a controller's look also keeps its presses.
    for (InputSource* source : Sources()) waiting = source->Waiting() || waiting;
    return waiting;
}

int InputLookMilliseconds()
{
    int look = -1;
    for (InputSource* source : Sources()) {
        int mine = source->LookMilliseconds();
        if (mine >= 0 && (look < 0 || mine < look)) look = mine;
    }
    return look;
}

}  // namespace plat
