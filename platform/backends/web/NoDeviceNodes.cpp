// The browser has no device nodes to watch for a controller coming: the
// gamepad code then starts SDL's controller support at once, which in the
// browser reads the page's Gamepad API. Emscripten's C library declares the
// watch calls but does not provide them.
#include <sys/inotify.h>

#include <cerrno>

extern "C" int inotify_init1(int)
{
    errno = ENOSYS;
    return -1;
}

extern "C" int inotify_add_watch(int, const char*, uint32_t)
{
    errno = ENOSYS;
    return -1;
}
