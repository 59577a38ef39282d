// Runs every test of this folder on SDL's dummy video driver, with the
// layer's test controls back at their defaults before each test.
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
