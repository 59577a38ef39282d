#include "CloseRequest.h"

#include "InputSource.h"

#include <atomic>

namespace plat {
namespace {

std::atomic<bool> requested{false};

class Closer final : public InputSource {
public:
    void Saw(const KeyboardRead& read, bool) override
    {
        if (!requested.load() || closed == read.window || !read.window) return;
        // The keyboard's window is the game's own: what its close button closes.
        closed = read.window;
        PostMessageA(read.window, WM_CLOSE, 0, 0);
    }
    bool Waiting() override { return requested.load() && !closed; }

private:
    HWND closed = nullptr;
};

}  // namespace

void TakeCloseRequests()
{
    static Closer closer;
    AddInputSource(&closer);
}

void RequestClose() { requested.store(true); }

bool CloseRequested() { return requested.load(); }

}  // namespace plat
