// Calls made to fail by the test control FailCall: each fails once with the
// code it was given, then works again, and is counted both times.
#ifndef VORBLOX_TESTS_INJECTED_FAILURES_H
#define VORBLOX_TESTS_INJECTED_FAILURES_H

#include <PlatformTest.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

using FailingCall = std::pair<const char*, std::function<HRESULT()>>;

inline void ExpectEachToFailOnceOnDemand(const std::vector<FailingCall>& calls)
{
    for (const auto& [call, make] : calls) {
        int before = PlatformTest::CallCount(call);
        PlatformTest::FailCall(call, static_cast<DWORD>(E_FAIL), 1);
        EXPECT_EQ(E_FAIL, make()) << call;
        EXPECT_EQ(S_OK, make()) << call << " after the injected failure";
        EXPECT_EQ(before + 2, PlatformTest::CallCount(call)) << call;
    }
}

// Lets go of the object a call made, keeping the call's result.
template <class Object>
HRESULT Dropped(HRESULT hr, Object*& object)
{
    if (object) object->Release();
    object = nullptr;
    return hr;
}

// A Win32 call's failure as the code it left in the last error.
inline HRESULT Win32(bool ok) { return ok ? S_OK : static_cast<HRESULT>(GetLastError()); }

#endif
