// The API tests run against the layer without a desktop, as build machines
// have none; the Windows build runs them on a virtual display instead.
// Nothing else of the test controls: each case leaves things as it found
// them, as it must on Windows.
#include <PlatformTest.h>

namespace {

const bool headless = (PlatformTest::SetHeadless(true), true);

}  // namespace
