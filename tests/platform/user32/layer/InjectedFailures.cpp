// Window calls made to fail by the test control: the error is the one
// asked for, nothing reaches the window procedure, and the next call works.
#include "user32/RecordingWindow.h"

#include <PlatformTest.h>

namespace {

using WindowFailures = RecordingWindowTest;

TEST_F(WindowFailures, AFailureSetsTheLastErrorOnce)
{
    WNDCLASSA wc = {0, DefWindowProcA, 0, 0, NULL, NULL, NULL, NULL, NULL, "Injected"};
    PlatformTest::FailCall("RegisterClassA", ERROR_NOT_ENOUGH_MEMORY, 1);
    EXPECT_EQ(0, RegisterClassA(&wc));
    EXPECT_EQ((DWORD)ERROR_NOT_ENOUGH_MEMORY, GetLastError());
    EXPECT_NE(0, RegisterClassA(&wc));
    PlatformTest::FailCall("CreateWindowExA", ERROR_ACCESS_DENIED, 1);
    EXPECT_EQ(nullptr, Create());
    EXPECT_EQ((DWORD)ERROR_ACCESS_DENIED, GetLastError());
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(1, PlatformTest::CallCount("CreateWindowExA"));
    EXPECT_NE(nullptr, Create());
}

}  // namespace
