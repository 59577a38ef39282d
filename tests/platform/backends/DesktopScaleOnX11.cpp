// The display scale an X desktop asks for, as the README promises it: the
// desktop's GDK_SCALE when it is a whole number, else the X resource
// Xft.dpi in whole steps of 96, else 1; a factor the user asked for beats
// both. Seen as the size of a window's client on a real X display (Xvfb),
// with the resources set on the root window as a session sets them.
#include <gtest/gtest.h>

#include <PlatformTest.h>
#include <windows.h>

#include <stdlib.h>

// After GoogleTest: Xlib's macros (None, Bool) would break its templates.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <string>
#include <vector>

namespace {

struct Desktop {
    const char* gdkScale;  // null: unset
    const char* xftDpi;    // null: no Xft.dpi among the resources
    int asked;             // the command line's factor, 0: none
    int scale;             // the factor the window gets
};

class DesktopScale : public ::testing::TestWithParam<Desktop> {
protected:
    void SetUp() override
    {
        const char* display = getenv("DISPLAY");
        if (display == NULL || *display == '\0') GTEST_SKIP() << "no X display";
        x = XOpenDisplay(NULL);
        ASSERT_NE(nullptr, x);
    }
    void TearDown() override
    {
        if (hwnd) DestroyWindow(hwnd);
        unsetenv("GDK_SCALE");
        if (x) {
            XDeleteProperty(x, DefaultRootWindow(x), XA_RESOURCE_MANAGER);
            XCloseDisplay(x);
        }
        PlatformTest::Reset();
    }
    // The session's resources, as xrdb leaves them on the root window.
    void SetResources(const std::string& text)
    {
        XChangeProperty(x, DefaultRootWindow(x), XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                        (const unsigned char*)text.data(), (int)text.size());
        XSync(x, False);
    }
    ::Display* x = NULL;
    HWND hwnd = NULL;
};

TEST_P(DesktopScale, TheWindowIsShownAtTheFactorTheDesktopAsksFor)
{
    const Desktop& d = GetParam();
    if (d.gdkScale) setenv("GDK_SCALE", d.gdkScale, 1);
    else unsetenv("GDK_SCALE");
    SetResources(std::string("Xft.antialias:\t1\n") + (d.xftDpi ? std::string("Xft.dpi:\t") + d.xftDpi + "\n" : ""));
    PlatformTest::SetHeadless(false);
    PlatformTest::Reset();  // the factor is decided afresh at the next window
    if (d.asked) PlatformTest::SetDisplayScale(d.asked);
    WNDCLASSA wc = {0, DefWindowProcA, 0, 0, NULL, NULL, NULL, (HBRUSH)GetStockObject(BLACK_BRUSH), NULL, "Scaled"};
    RegisterClassA(&wc);
    hwnd = CreateWindowExA(0, "Scaled", "Scaled", WS_OVERLAPPEDWINDOW, 0, 0, 8 + 120, 27 + 30, NULL, NULL, NULL, NULL);
    ASSERT_NE(nullptr, hwnd) << GetLastError();
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    ASSERT_TRUE(PlatformTest::ReadClientPixels(hwnd, &pixels, &width, &height));
    RECT client;
    GetClientRect(hwnd, &client);
    // The program keeps its own size; the screen has the factor's pixels.
    EXPECT_EQ((std::vector<LONG>{120, 30, 120 * d.scale, 30 * d.scale}),
              (std::vector<LONG>{client.right, client.bottom, width, height}));
}

INSTANTIATE_TEST_SUITE_P(
    X11, DesktopScale,
    ::testing::Values(Desktop{nullptr, nullptr, 0, 1}, Desktop{"2", nullptr, 0, 2}, Desktop{"3", "96", 0, 3},
                      Desktop{"1", "192", 0, 1},       // GDK_SCALE decides before Xft.dpi
                      Desktop{"abc", "192", 0, 2},     // a GDK_SCALE that is no whole number is ignored
                      Desktop{"1.5", nullptr, 0, 1}, Desktop{"0", "288", 0, 3}, Desktop{"9", nullptr, 0, 4},
                      Desktop{nullptr, "144", 0, 1},   // 1.5 cannot be drawn sharply
                      Desktop{nullptr, "192", 0, 2}, Desktop{nullptr, "abc", 0, 1}, Desktop{nullptr, "-192", 0, 1},
                      Desktop{"2", "288", 1, 1}),      // the user's factor beats the desktop's
    [](const ::testing::TestParamInfo<Desktop>& info) { return "Case" + std::to_string(info.index); });

}  // namespace
