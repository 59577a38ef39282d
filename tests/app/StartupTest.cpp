// Every way the start-up can fail: exactly one message box with its caption
// and text, no window before the window step, exit code 1, nothing leaked.
// Each case runs the real entry point in a child process of its own.
#include "app/PMAIN.h"

#include <PlatformTest.h>
#include <ddraw.h>
#include <dinput.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

namespace {

const char* const dxCaption = "Oh no! A DirectX error has happened!";
const char* const systemCaption = "Oh no! An error has happened!";

struct Failure {
    const char* call;  // the call made to fail, or a control named below
    DWORD code;
    int skip;          // calls let through first
    // When set, releasing the display on the way out fails with this too.
    HRESULT cleanUpFailure = DD_OK;
};

// Runs the game with one failure injected and reports what a person would
// have seen: every message box, and whether a window was made.
[[noreturn]] void RunFailingStartUp(const Failure& failure)
{
    PlatformTest::SetHeadless(true);
    PlatformTest::CaptureMessageBoxes(true);
    std::string call = failure.call;
    if (call == "old-version")
        PlatformTest::SetOsVersion(VER_PLATFORM_WIN32_NT, 4, 0, 1381);
    else if (call == "no-version")
        PlatformTest::SetVersionQueryFails(true);
    else if (call.compare(0, 5, "hide:") == 0)
        PlatformTest::HideResource(call.c_str() + 5);
    else
        PlatformTest::FailCall(failure.call, failure.code, 1, failure.skip);
    if (failure.cleanUpFailure != DD_OK)
        PlatformTest::FailCall("IDirectDraw::RestoreDisplayMode", (DWORD)failure.cleanUpFailure);
    char commandLine[] = "";
    int code = WinMain(GetModuleHandleA(NULL), NULL, commandLine, SW_SHOWDEFAULT);
    for (const PlatformTest::MessageBoxRecord& box : PlatformTest::MessageBoxes())
        std::fprintf(stderr, "[%s|%s|%u|%s]", box.caption.c_str(), box.text.c_str(), box.type,
                     box.owner ? "owned" : "no owner");
    // Frames asked for before the start-up finished must draw nothing.
    std::fprintf(stderr, "[window %d][blits %d]", application.hwnd ? 1 : 0,
                 PlatformTest::CallCount("IDirectDrawSurface::Blt"));
    std::exit(code);
}

std::string Box(const std::string& caption, const std::string& text)
{
    return "[" + caption + "|" + text + "|64|no owner]";
}

// The system's own text for a Win32 error, as the start-up shows it.
std::string SystemText(DWORD error)
{
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, NULL, error,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), (LPSTR)&text, 0, NULL);
    std::string result = text ? text : "";
    LocalFree(text);
    return result;
}

std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos) out += '\\';
        out += c;
    }
    return out;
}

void ExpectOneBox(const Failure& failure, const std::string& box, bool window)
{
    std::string expected = "^" + Escaped(box) + "\\[window " + (window ? "1" : "0") + "\\]\\[blits 0\\]$";
    EXPECT_EXIT(RunFailingStartUp(failure), ::testing::ExitedWithCode(1), expected)
        << failure.call << " skip " << failure.skip;
}

TEST(StartUpDeathTest, TooOldDirectXStopsBeforeAnyWindow)
{
    const char* text = "Too old or no DirectX installed (DirectX 5 or newer required)!";
    ExpectOneBox({"old-version", 0, 0}, Box("DirectX error", text), false);
    ExpectOneBox({"no-version", 0, 0}, Box("DirectX error", text), false);
}

TEST(StartUpDeathTest, WindowFailuresShowTheSystemText)
{
    ExpectOneBox({"RegisterClassA", ERROR_NOT_ENOUGH_MEMORY, 0}, Box(systemCaption, SystemText(8)), false);
    ExpectOneBox({"CreateWindowExA", ERROR_NOT_ENOUGH_MEMORY, 0}, Box(systemCaption, SystemText(8)), false);
}

TEST(StartUpDeathTest, KeyboardFailuresNameTheDirectXError)
{
    ExpectOneBox({"DirectInputCreateA", (DWORD)E_OUTOFMEMORY, 0}, Box(dxCaption, "DDERR_OUTOFMEMORY"), true);
    ExpectOneBox({"IDirectInputA::CreateDevice", (DWORD)E_FAIL, 0}, Box(dxCaption, "DDERR_GENERIC"), true);
    ExpectOneBox({"IDirectInputDeviceA::SetDataFormat", (DWORD)E_INVALIDARG, 0},
                 Box(dxCaption, "DDERR_INVALIDPARAMS"), true);
    ExpectOneBox({"IDirectInputDeviceA::SetCooperativeLevel", (DWORD)E_NOTIMPL, 0},
                 Box(dxCaption, "DDERR_UNSUPPORTED"), true);
}

TEST(StartUpDeathTest, DisplayFailuresNameTheDirectXError)
{
    ExpectOneBox({"DirectDrawCreate", (DWORD)DDERR_NODIRECTDRAWHW, 0}, Box(dxCaption, "DDERR_NODIRECTDRAWHW"), true);
    ExpectOneBox({"IDirectDraw::SetCooperativeLevel", (DWORD)DDERR_HWNDALREADYSET, 0},
                 Box(dxCaption, "DDERR_HWNDALREADYSET"), true);
    // The primary surface, then the back buffer.
    ExpectOneBox({"IDirectDraw::CreateSurface", (DWORD)DDERR_OUTOFVIDEOMEMORY, 0},
                 Box(dxCaption, "DDERR_OUTOFVIDEOMEMORY"), true);
    ExpectOneBox({"IDirectDraw::CreateSurface", (DWORD)DDERR_OUTOFMEMORY, 1}, Box(dxCaption, "DDERR_OUTOFMEMORY"),
                 true);
    ExpectOneBox({"IDirectDraw::CreateClipper", (DWORD)DDERR_OUTOFMEMORY, 0}, Box(dxCaption, "DDERR_OUTOFMEMORY"),
                 true);
    ExpectOneBox({"IDirectDrawClipper::SetHWnd", (DWORD)DDERR_INVALIDPARAMS, 0},
                 Box(dxCaption, "DDERR_INVALIDPARAMS"), true);
}

TEST(StartUpDeathTest, EachPictureFailsWithItsOwnMessage)
{
    const char* names[] = {"PIC_MAIN", "PIC_BLOCKS", "PIC_FONTS", "PIC_STARTTXT", "PIC_GAMEOVER"};
    for (int i = 0; i < 5; ++i) {
        // Its surface: after the primary surface and the back buffer.
        ExpectOneBox({"IDirectDraw::CreateSurface", (DWORD)DDERR_OUTOFVIDEOMEMORY, 2 + i},
                     Box(dxCaption, "DDERR_OUTOFVIDEOMEMORY"), true);
        std::string hide = std::string("hide:") + names[i];
        ExpectOneBox({hide.c_str(), 0, 0},
                     Box("File error", "Error loading bmp file #" + std::to_string(i + 1) + "!"), true);
    }
    // The colour keys of the four keyed pictures.
    for (int i = 0; i < 4; ++i)
        ExpectOneBox({"IDirectDrawSurface::SetColorKey", (DWORD)MAKE_DDHRESULT(220), i},
                     Box(dxCaption, "DDERR_NOCOLORKEYHW"), true);
}

TEST(StartUpDeathTest, TheBoxNamesTheFailingStepNotTheCleanUpAfterIt)
{
    const HRESULT cleanUp = MAKE_DDHRESULT(225);  // DDERR_NOEXCLUSIVEMODE
    ExpectOneBox({"IDirectDraw::CreateClipper", (DWORD)DDERR_OUTOFMEMORY, 0, cleanUp},
                 Box(dxCaption, "DDERR_OUTOFMEMORY"), true);
    ExpectOneBox({"IDirectDraw::CreateSurface", (DWORD)DDERR_OUTOFVIDEOMEMORY, 3, cleanUp},
                 Box(dxCaption, "DDERR_OUTOFVIDEOMEMORY"), true);
    ExpectOneBox({"IDirectDrawSurface::SetColorKey", (DWORD)MAKE_DDHRESULT(220), 2, cleanUp},
                 Box(dxCaption, "DDERR_NOCOLORKEYHW"), true);
}

}  // namespace
