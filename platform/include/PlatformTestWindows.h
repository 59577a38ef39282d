// Test controls for the window, message, GDI, resource and kernel calls.
#ifndef VORBLOX_PLATFORM_TEST_WINDOWS_H
#define VORBLOX_PLATFORM_TEST_WINDOWS_H

namespace PlatformTest {
}  // namespace PlatformTest

#endif
