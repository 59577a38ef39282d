#include "KeyMap.h"

#include <windows.h>

namespace plat {
namespace {

struct Entry {
    SDL_Scancode scancode;
    KeyCode key;
};

const Entry kKeys[] = {
    {SDL_SCANCODE_A, {'A', 0x1E, false}}, {SDL_SCANCODE_B, {'B', 0x30, false}},
    {SDL_SCANCODE_C, {'C', 0x2E, false}}, {SDL_SCANCODE_D, {'D', 0x20, false}},
    {SDL_SCANCODE_E, {'E', 0x12, false}}, {SDL_SCANCODE_F, {'F', 0x21, false}},
    {SDL_SCANCODE_G, {'G', 0x22, false}}, {SDL_SCANCODE_H, {'H', 0x23, false}},
    {SDL_SCANCODE_I, {'I', 0x17, false}}, {SDL_SCANCODE_J, {'J', 0x24, false}},
    {SDL_SCANCODE_K, {'K', 0x25, false}}, {SDL_SCANCODE_L, {'L', 0x26, false}},
    {SDL_SCANCODE_M, {'M', 0x32, false}}, {SDL_SCANCODE_N, {'N', 0x31, false}},
    {SDL_SCANCODE_O, {'O', 0x18, false}}, {SDL_SCANCODE_P, {'P', 0x19, false}},
    {SDL_SCANCODE_Q, {'Q', 0x10, false}}, {SDL_SCANCODE_R, {'R', 0x13, false}},
    {SDL_SCANCODE_S, {'S', 0x1F, false}}, {SDL_SCANCODE_T, {'T', 0x14, false}},
    {SDL_SCANCODE_U, {'U', 0x16, false}}, {SDL_SCANCODE_V, {'V', 0x2F, false}},
    {SDL_SCANCODE_W, {'W', 0x11, false}}, {SDL_SCANCODE_X, {'X', 0x2D, false}},
    {SDL_SCANCODE_Y, {'Y', 0x15, false}}, {SDL_SCANCODE_Z, {'Z', 0x2C, false}},
    {SDL_SCANCODE_1, {'1', 0x02, false}}, {SDL_SCANCODE_2, {'2', 0x03, false}},
    {SDL_SCANCODE_3, {'3', 0x04, false}}, {SDL_SCANCODE_4, {'4', 0x05, false}},
    {SDL_SCANCODE_5, {'5', 0x06, false}}, {SDL_SCANCODE_6, {'6', 0x07, false}},
    {SDL_SCANCODE_7, {'7', 0x08, false}}, {SDL_SCANCODE_8, {'8', 0x09, false}},
    {SDL_SCANCODE_9, {'9', 0x0A, false}}, {SDL_SCANCODE_0, {'0', 0x0B, false}},
    {SDL_SCANCODE_F1, {VK_F1, 0x3B, false}}, {SDL_SCANCODE_F2, {VK_F1 + 1, 0x3C, false}},
    {SDL_SCANCODE_F3, {VK_F1 + 2, 0x3D, false}}, {SDL_SCANCODE_F4, {VK_F1 + 3, 0x3E, false}},
    {SDL_SCANCODE_F5, {VK_F1 + 4, 0x3F, false}}, {SDL_SCANCODE_F6, {VK_F1 + 5, 0x40, false}},
    {SDL_SCANCODE_F7, {VK_F1 + 6, 0x41, false}}, {SDL_SCANCODE_F8, {VK_F1 + 7, 0x42, false}},
    {SDL_SCANCODE_F9, {VK_F1 + 8, 0x43, false}}, {SDL_SCANCODE_F10, {VK_F1 + 9, 0x44, false}},
    {SDL_SCANCODE_F11, {VK_F1 + 10, 0x57, false}}, {SDL_SCANCODE_F12, {VK_F12, 0x58, false}},
    {SDL_SCANCODE_ESCAPE, {VK_ESCAPE, 0x01, false}}, {SDL_SCANCODE_RETURN, {VK_RETURN, 0x1C, false}},
    {SDL_SCANCODE_BACKSPACE, {VK_BACK, 0x0E, false}}, {SDL_SCANCODE_TAB, {VK_TAB, 0x0F, false}},
    {SDL_SCANCODE_SPACE, {VK_SPACE, 0x39, false}}, {SDL_SCANCODE_CAPSLOCK, {VK_CAPITAL, 0x3A, false}},
    {SDL_SCANCODE_LSHIFT, {VK_SHIFT, 0x2A, false}}, {SDL_SCANCODE_RSHIFT, {VK_SHIFT, 0x36, false}},
    {SDL_SCANCODE_LCTRL, {VK_CONTROL, 0x1D, false}}, {SDL_SCANCODE_RCTRL, {VK_CONTROL, 0x1D, true}},
    {SDL_SCANCODE_LALT, {VK_MENU, 0x38, false}}, {SDL_SCANCODE_RALT, {VK_MENU, 0x38, true}},
    {SDL_SCANCODE_UP, {VK_UP, 0x48, true}}, {SDL_SCANCODE_DOWN, {VK_DOWN, 0x50, true}},
    {SDL_SCANCODE_LEFT, {VK_LEFT, 0x4B, true}}, {SDL_SCANCODE_RIGHT, {VK_RIGHT, 0x4D, true}},
    {SDL_SCANCODE_INSERT, {VK_INSERT, 0x52, true}}, {SDL_SCANCODE_DELETE, {VK_DELETE, 0x53, true}},
    {SDL_SCANCODE_HOME, {VK_HOME, 0x47, true}}, {SDL_SCANCODE_END, {VK_END, 0x4F, true}},
    {SDL_SCANCODE_PAGEUP, {VK_PRIOR, 0x49, true}}, {SDL_SCANCODE_PAGEDOWN, {VK_NEXT, 0x51, true}},
    {SDL_SCANCODE_PAUSE, {VK_PAUSE, 0x45, false}}, {SDL_SCANCODE_NUMLOCKCLEAR, {0x90, 0x45, true}},
    {SDL_SCANCODE_SCROLLLOCK, {0x91, 0x46, false}},
    {SDL_SCANCODE_MINUS, {0xBD, 0x0C, false}}, {SDL_SCANCODE_EQUALS, {0xBB, 0x0D, false}},
    {SDL_SCANCODE_LEFTBRACKET, {0xDB, 0x1A, false}}, {SDL_SCANCODE_RIGHTBRACKET, {0xDD, 0x1B, false}},
    {SDL_SCANCODE_SEMICOLON, {0xBA, 0x27, false}}, {SDL_SCANCODE_APOSTROPHE, {0xDE, 0x28, false}},
    {SDL_SCANCODE_GRAVE, {0xC0, 0x29, false}}, {SDL_SCANCODE_BACKSLASH, {0xDC, 0x2B, false}},
    {SDL_SCANCODE_COMMA, {0xBC, 0x33, false}}, {SDL_SCANCODE_PERIOD, {0xBE, 0x34, false}},
    {SDL_SCANCODE_SLASH, {0xBF, 0x35, false}},
    {SDL_SCANCODE_KP_0, {0x60, 0x52, false}}, {SDL_SCANCODE_KP_1, {0x61, 0x4F, false}},
    {SDL_SCANCODE_KP_2, {0x62, 0x50, false}}, {SDL_SCANCODE_KP_3, {0x63, 0x51, false}},
    {SDL_SCANCODE_KP_4, {0x64, 0x4B, false}}, {SDL_SCANCODE_KP_5, {0x65, 0x4C, false}},
    {SDL_SCANCODE_KP_6, {0x66, 0x4D, false}}, {SDL_SCANCODE_KP_7, {0x67, 0x47, false}},
    {SDL_SCANCODE_KP_8, {0x68, 0x48, false}}, {SDL_SCANCODE_KP_9, {0x69, 0x49, false}},
    {SDL_SCANCODE_KP_MULTIPLY, {0x6A, 0x37, false}}, {SDL_SCANCODE_KP_PLUS, {0x6B, 0x4E, false}},
    {SDL_SCANCODE_KP_MINUS, {0x6D, 0x4A, false}}, {SDL_SCANCODE_KP_PERIOD, {0x6E, 0x53, false}},
    {SDL_SCANCODE_KP_DIVIDE, {0x6F, 0x35, true}}, {SDL_SCANCODE_KP_ENTER, {VK_RETURN, 0x1C, true}},
};

}  // namespace

bool KeyFromScancode(SDL_Scancode scancode, KeyCode* key)
{
    for (const Entry& e : kKeys) {
        if (e.scancode == scancode) {
            *key = e.key;
            return true;
        }
    }
    return false;
}

SDL_Scancode ScancodeFromKey(unsigned scan, bool extended)
{
    for (const Entry& e : kKeys)
        if (e.key.scan == scan && e.key.extended == extended) return e.scancode;
    return SDL_SCANCODE_UNKNOWN;
}

}  // namespace plat
