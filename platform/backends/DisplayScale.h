// How many screen pixels each of the program's pixels takes. The program
// was made for screens of about 96 dots per inch; on a denser desktop its
// windows are shown enlarged by a whole factor, the way Windows enlarges a
// program that does not know about dense screens: the program keeps seeing
// its own sizes and positions, and only the screen has more pixels.
#ifndef VORBLOX_PLATFORM_DISPLAY_SCALE_H
#define VORBLOX_PLATFORM_DISPLAY_SCALE_H

struct SDL_Rect;

namespace plat {

constexpr int kMinScale = 1;
constexpr int kMaxScale = 4;

// The factor asked for by the user (the command line or the environment,
// already checked), or 0 to take the desktop's; `from` names who asked
// ("--scale"), for the message when it cannot be had. Called before any
// window.
void RequestScale(int scale, const char* from = nullptr);

// The factor in use, decided once at the first call: the requested one,
// else the backend's (Backend.h: on Wayland the output's scale, on X11
// GDK_SCALE, else the X resource Xft.dpi in steps of 96), else 1. In headless mode only a requested factor
// counts. FitScale may lower it once.
int DisplayScale();

// Lowers the factor, before the first window opens, to the largest at
// which a client area of `clientWidth` x `clientHeight` program pixels,
// with `frameWidth` x `frameHeight` desktop pixels of frame around it,
// fits the screen's work area (at least 1). When the user asked for more,
// one line on stderr says what is used and why. Returns the factor before.
int FitScale(int clientWidth, int clientHeight, int frameWidth, int frameHeight);
// The screen's work area (display 0) in the desktop's pixels.
bool WorkArea(SDL_Rect* area);
// Headless mode's screen, in the desktop's pixels (PlatformTest::
// SetScreenSize; 0 x 0: SDL's dummy display). Forgotten by Reset.
void SetHeadlessScreen(int width, int height);
int HeadlessScreenWidth();
int HeadlessScreenHeight();

// The desktop's pixels per unit of SDL's window sizes and positions: a
// Wayland output of scale 2 gives windows that ask for dense pixels
// (SDL_WINDOW_ALLOW_HIGHDPI) two by two buffer pixels per unit; 1 elsewhere.
int PointScale();
// Program pixels to SDL's window units, rounded up, and SDL's units to
// program pixels.
int ToPoints(int logical);
int PointsToProgram(int points);

// Program (logical) coordinates to the desktop's pixels and back; the way
// back rounds towards minus infinity so that every screen pixel belongs to
// exactly one program pixel.
inline int ToScreen(int logical) { return logical * DisplayScale(); }
int ToProgram(int physical);

// The factor of a GDK_SCALE-like text ("2") or an Xft.dpi value ("192"),
// 0 when it gives none.
int ScaleFromGdk(const char* text);
int ScaleFromDpi(const char* text);

}  // namespace plat

#endif
