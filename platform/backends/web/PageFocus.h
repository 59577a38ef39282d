// Keys and controllers count only while the page has the focus.
#ifndef VORBLOX_PLATFORM_PAGE_FOCUS_H
#define VORBLOX_PLATFORM_PAGE_FOCUS_H

#include <SDL.h>

namespace plat {

// From the first call with a window on, SDL's keyboard focus follows the
// page's focus, starting from whether the page has it now.
void FollowPageFocus();

}  // namespace plat

#endif
