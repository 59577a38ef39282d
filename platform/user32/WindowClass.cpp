#include "WindowClass.h"

#include "Core.h"

#include <strings.h>

namespace plat {
namespace {

// Classes are never freed: windows keep pointing at theirs.
std::vector<WindowClass*>& Classes()
{
    static auto* classes = new std::vector<WindowClass*>;
    return *classes;
}

ATOM AtomOf(size_t index) { return (ATOM)(0xC000 + index); }

}  // namespace

const WindowClass* FindClass(LPCSTR name)
{
    if (!name) return nullptr;
    auto& classes = Classes();
    if (IS_INTRESOURCE(name)) {
        size_t index = (size_t)(ULONG_PTR)name - 0xC000;
        return index < classes.size() && !classes[index]->name.empty() ? classes[index] : nullptr;
    }
    for (WindowClass* c : classes)
        if (!c->name.empty() && strcasecmp(c->name.c_str(), name) == 0) return c;
    return nullptr;
}

}  // namespace plat

ATOM WINAPI RegisterClassA(const WNDCLASSA* wndClass)
{
    DWORD code = 0;
    if (plat::FailWin32("RegisterClassA", &code)) return 0;
    if (!wndClass || !wndClass->lpszClassName || IS_INTRESOURCE(wndClass->lpszClassName) ||
        !*wndClass->lpszClassName || !wndClass->lpfnWndProc || wndClass->cbWndExtra < 0 || wndClass->cbClsExtra < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (plat::FindClass(wndClass->lpszClassName)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    auto* c = new plat::WindowClass;
    c->name = wndClass->lpszClassName;
    c->wc = *wndClass;
    c->wc.lpszClassName = c->name.c_str();
    c->wc.lpszMenuName = nullptr;  // menus are not supported
    auto& classes = plat::Classes();
    classes.push_back(c);
    return plat::AtomOf(classes.size() - 1);
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE)
{
    DWORD code = 0;
    if (plat::FailWin32("UnregisterClassA", &code)) return FALSE;
    auto* c = const_cast<plat::WindowClass*>(plat::FindClass(className));
    if (!c) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    for (plat::Window* w : plat::LiveWindows()) {
        if (w->cls == c) {
            SetLastError(ERROR_CLASS_HAS_WINDOWS);
            return FALSE;
        }
    }
    // The record stays for windows already destroyed; only its name goes.
    c->name.clear();
    c->wc.lpszClassName = c->name.c_str();
    return TRUE;
}

namespace plat {
namespace {

// A test starts as a fresh process would: classes without windows are gone.
void ForgetUnusedClasses()
{
    for (WindowClass* c : Classes()) {
        bool used = false;
        for (Window* w : LiveWindows()) used = used || w->cls == c;
        if (!used) {
            c->name.clear();
            c->wc.lpszClassName = c->name.c_str();
        }
    }
}

const bool hooked = (AddResetHook(ForgetUnusedClasses), true);

}  // namespace
}  // namespace plat
