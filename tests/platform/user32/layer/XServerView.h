// The X server's side of the layer's frames, for the tests on a real
// display: the Xlib calls that send frames and fence messages are counted
// as the layer makes them (the test program's own XCopyArea and XSendEvent
// stand in front of Xlib's), and the screen is read on a connection of the
// test's own, so what a window shows is what the server really put there.
#ifndef VORBLOX_TESTS_X_SERVER_VIEW_H
#define VORBLOX_TESTS_X_SERVER_VIEW_H

#include <stdint.h>

#include <vector>

namespace xview {

// XCopyArea calls: one per frame sent to a window.
int FramesSent();
// Client messages sent (XSendEvent): the layer's fence messages while no
// window is being shown, moved or titled.
int MessagesSent();
// What the screen shows where the top-level window titled `title` lies,
// as 0x00RRGGBB, row by row; false when there is no such window.
bool ReadScreen(const char* title, std::vector<uint32_t>* pixels, int* width, int* height);

}  // namespace xview

#endif
