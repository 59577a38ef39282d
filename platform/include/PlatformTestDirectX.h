// Test controls for DirectDraw and DirectInput.
#ifndef VORBLOX_PLATFORM_TEST_DIRECTX_H
#define VORBLOX_PLATFORM_TEST_DIRECTX_H

namespace PlatformTest {
}  // namespace PlatformTest

#endif
