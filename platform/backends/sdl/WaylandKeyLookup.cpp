// A keyboard that comes to the window with a key already down, before the
// compositor has said which layout is current (a virtual keyboard, the
// first of the game's life): SDL 2.26.5 looks the held key up in its
// virtual keyboard's keymap in layout XKB_LAYOUT_INVALID, the "none yet"
// it starts from (SDL_waylandevents.c, Wayland_get_scancode_from_key, from
// keyboard_handle_enter). libxkbcommon 1.5.0 takes that as layout -1 and
// wraps it, for a keymap of one layout, to layout 1, reading past the key's
// only layout: a crash or garbage, within SDL's reading of the display.
//
// SDL links libxkbcommon itself, and a function the program defines comes
// before a library's of the same name: this one is the lookup SDL calls. A
// layout that is none yet becomes the first; all else goes to libxkbcommon
// as it came. Where SDL loads libxkbcommon on its own (a build of SDL that
// opens it at run time) its calls go straight there and this stays unused.
#include <dlfcn.h>

#include <cstdint>

namespace {

struct Keymap;
using Lookup = int (*)(Keymap*, std::uint32_t, std::uint32_t, std::uint32_t, const std::uint32_t**);

// libxkbcommon's own, the next definition after the program's.
Lookup LibraryLookup()
{
    static const Lookup lookup = reinterpret_cast<Lookup>(dlsym(RTLD_NEXT, "xkb_keymap_key_get_syms_by_level"));
    return lookup;
}

}  // namespace

extern "C" int xkb_keymap_key_get_syms_by_level(Keymap* keymap, std::uint32_t key, std::uint32_t layout,
                                                std::uint32_t level, const std::uint32_t** syms)
{
    const Lookup lookup = LibraryLookup();
    if (!keymap || !lookup) {
        // SDL keeps no keymap after one fails to compile, and asks all the same.
        *syms = nullptr;
        return 0;
    }
    // XKB_LAYOUT_INVALID, and any other that would be negative to libxkbcommon.
    if (static_cast<std::int32_t>(layout) < 0) layout = 0;
    return lookup(keymap, key, layout, level, syms);
}
