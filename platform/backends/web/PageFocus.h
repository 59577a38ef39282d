// Keys and controllers count only while the page has the focus.
#ifndef VORBLOX_PLATFORM_PAGE_FOCUS_H
#define VORBLOX_PLATFORM_PAGE_FOCUS_H

#include <SDL.h>

namespace plat {

// From the first call once SDL's video has started, the page's focus is
// followed from SDL's window events, starting from whether the page has it
// now (PageHasKeys answers from it).
void FollowPageFocus();

}  // namespace plat

#endif
