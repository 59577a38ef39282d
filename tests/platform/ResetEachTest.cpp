// The layer's tests run without a desktop, with the test controls back at
// their defaults before each case, so that no case sees another's settings.
#include <PlatformTest.h>
#include <gtest/gtest.h>

namespace {

class ResetEachTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { PlatformTest::Reset(); }
};

class Headless : public ::testing::Environment {
public:
    void SetUp() override
    {
        PlatformTest::SetHeadless(true);
        ::testing::UnitTest::GetInstance()->listeners().Append(new ResetEachTest);
    }
};

// Registered at static-init time, before gtest_main runs the tests.
::testing::Environment* const headless = ::testing::AddGlobalTestEnvironment(new Headless);

}  // namespace
