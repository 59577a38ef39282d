#include "Core.h"

#include <PlatformTest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <unordered_map>
#include <vector>

namespace plat {
namespace {

struct Failure {
    DWORD code = 0;
    int times = -1;
    int skip = 0;
};

// What is known about one API call: how often it was made and whether it is
// to fail. Entries are never removed, so pointers to them stay valid.
struct CallEntry {
    int count = 0;
    bool failing = false;
    Failure failure;
    std::function<void()> hook;
    bool inHook = false;
};

struct CoreState {
    bool headless = false;
    bool videoTried = false;
    bool videoOk = false;
    std::string videoError;
    int desktopBits = 32;
    std::map<std::string, CallEntry, std::less<>> calls;
    // Every API call passes its name as a string literal (see Injected);
    // looking the literal up by address spares string comparisons on the hot
    // paths (every blit of every frame goes through here).
    std::unordered_map<const char*, CallEntry*> byAddress;
    std::vector<void (*)()> resetHooks;
    std::vector<void (*)(bool)> videoHooks;
};

CallEntry& Lookup(CoreState& s, const char* call)
{
    auto known = s.byAddress.find(call);
    if (known != s.byAddress.end()) return *known->second;
    auto it = s.calls.find(call);
    if (it == s.calls.end()) {
        it = s.calls.emplace(call, CallEntry()).first;
    }
    s.byAddress[call] = &it->second;
    return it->second;
}

CallEntry& Entry(CoreState& s, const char* call)
{
    // A small direct-mapped cache in front of the table: the calls of one
    // frame are a handful of names, met hundreds of times each.
    struct Recent {
        const char* call;
        CallEntry* entry;
    };
    static Recent recent[64];
    Recent& slot = recent[(reinterpret_cast<uintptr_t>(call) >> 3) & 63];
    if (slot.call == call) return *slot.entry;
    CallEntry& found = Lookup(s, call);
    slot = Recent{call, &found};
    return found;
}

// Never destroyed: the program's static destructors still call in here.
CoreState& State()
{
    static CoreState* state = new CoreState;
    return *state;
}

// The game reads keys, never text, yet SDL's video start opens an X input
// method in the locale the environment names: a UTF-8 locale makes Xlib
// build its whole compose table and the C library load the locale's
// character tables, over half a megabyte kept for good. The program itself
// runs in the "C" locale all along; now that start does too.
bool StartSdlVideo()
{
    const char* before = getenv("LC_ALL");
    std::string kept = before ? before : "";
    setenv("LC_ALL", "C", 1);
    bool ok = SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
    if (before)
        setenv("LC_ALL", kept.c_str(), 1);
    else
        unsetenv("LC_ALL");
    return ok;
}

}  // namespace

bool VideoReady(std::string* reason)
{
    CoreState& s = State();
    if (!s.videoTried) {
        s.videoTried = true;
        // Which of SDL's drivers may show the windows is the backends'
        // choice (Backends.cpp), as are their handlers for a lost display.
        for (auto hook : s.videoHooks) hook(false);
        // The game polls the keyboard itself; keep SDL from eating the
        // screensaver setting or installing signal handlers of its own.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
        // Frames reach the window as plain images (X11 shared memory). A
        // texture framebuffer, SDL's default, would load a whole OpenGL stack
        // (a software rasteriser with its compiler, tens of megabytes) to
        // show one 300 x 400 picture a few dozen times a second.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        // The close button is the window's business (WM_CLOSE), so SDL's
        // quit event is left to mean that a Wayland compositor went away.
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        s.videoOk = StartSdlVideo();
        if (!s.videoOk) s.videoError = SDL_GetError();
        if (s.videoOk)
            for (auto hook : s.videoHooks) hook(true);
    }
    if (!s.videoOk && reason) *reason = s.videoError;
    return s.videoOk;
}

bool Headless() { return State().headless; }

int DesktopBits() { return State().desktopBits; }

// Bumped whenever the desktop's depth really changes. A plain zero needs no
// constructor, so it is valid before and after every other static.
unsigned desktopChangeCount = 0;

void ChangeDesktopBits(int bits)
{
    CoreState& s = State();
    if ((bits != 16 && bits != 24 && bits != 32) || bits == s.desktopBits) return;
    s.desktopBits = bits;
    ++desktopChangeCount;
}

Uint32 DesktopFormat()
{
    switch (State().desktopBits) {
    case 16: return SDL_PIXELFORMAT_RGB565;
    case 24: return SDL_PIXELFORMAT_BGR24;  // bytes B, G, R as in a Windows DIB
    default: return SDL_PIXELFORMAT_RGB888;  // 32-bit X8R8G8B8
    }
}

bool Injected(const char* call, DWORD* code)
{
    CallEntry& e = Entry(State(), call);
    ++e.count;
    if (e.hook && !e.inHook) {
        // A copy: the hook may replace itself.
        std::function<void()> hook = e.hook;
        e.inHook = true;
        hook();
        e.inHook = false;
    }
    if (!e.failing) return false;
    Failure& f = e.failure;
    if (f.skip > 0) {
        --f.skip;
        return false;
    }
    if (f.times == 0) return false;
    if (f.times > 0) --f.times;
    *code = f.code;
    return true;
}

bool FailWin32(const char* call, DWORD* code)
{
    if (!Injected(call, code)) return false;
    SetLastError(*code);
    return true;
}

void AddResetHook(void (*hook)()) { State().resetHooks.push_back(hook); }

void AddVideoStartHook(void (*hook)(bool started)) { State().videoHooks.push_back(hook); }

}  // namespace plat

namespace PlatformTest {

void SetHeadless(bool headless) { plat::State().headless = headless; }
bool IsHeadless() { return plat::State().headless; }

void SetDesktopBits(int bits) { plat::ChangeDesktopBits(bits); }
int DesktopBits() { return plat::State().desktopBits; }

void FailCall(const char* call, DWORD code, int times, int skip)
{
    plat::CoreState& s = plat::State();
    auto it = s.calls.find(call);
    if (it == s.calls.end()) {
        it = s.calls.emplace(call, plat::CallEntry()).first;
    }
    it->second.failing = true;
    it->second.failure = plat::Failure{code, times, skip};
}

int CallCount(const char* call)
{
    auto& calls = plat::State().calls;
    auto it = calls.find(call);
    return it == calls.end() ? 0 : it->second.count;
}

void WhenCalled(const char* call, std::function<void()> hook)
{
    plat::Lookup(plat::State(), call).hook = std::move(hook);
}

void Reset()
{
    plat::CoreState& s = plat::State();
    for (auto& call : s.calls) {
        call.second.count = 0;
        call.second.failing = false;
        call.second.hook = nullptr;
    }
    plat::ChangeDesktopBits(32);
    for (auto hook : s.resetHooks) hook();
}

}  // namespace PlatformTest
