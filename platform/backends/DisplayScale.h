// How many screen pixels each of the program's pixels takes. The program
// was made for screens of about 96 dots per inch; on a denser desktop its
// windows are shown enlarged by a whole factor, the way Windows enlarges a
// program that does not know about dense screens: the program keeps seeing
// its own sizes and positions, and only the screen has more pixels.
#ifndef VORBLOX_PLATFORM_DISPLAY_SCALE_H
#define VORBLOX_PLATFORM_DISPLAY_SCALE_H

namespace plat {

constexpr int kMinScale = 1;
constexpr int kMaxScale = 4;

// The factor asked for by the user (the command line or the environment,
// already checked), or 0 to take the desktop's. Called before any window.
void RequestScale(int scale);

// The factor in use, decided once at the first call: the requested one,
// else GDK_SCALE, else the X resource Xft.dpi in steps of 96, else 1. In
// headless mode only a requested factor counts.
int DisplayScale();

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
