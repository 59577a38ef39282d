// Whether a test of the Windows API runs against the system's own DLLs
// (Windows, or Wine in the Windows build's runs) or against the layer, and
// how an expectation admits an answer of the system's that differs from
// the layer's without either being wrong.
#ifndef VORBLOX_TESTS_SYSTEM_DLLS_H
#define VORBLOX_TESTS_SYSTEM_DLLS_H

namespace apitest {

#ifdef VORBLOX_SYSTEM_DLLS
constexpr bool kSystemDlls = true;
#else
constexpr bool kSystemDlls = false;
#endif

// An outcome accepted from the system's DLLs only, beside the layer's own,
// in the manner of Wine's broken():
//   EXPECT_TRUE(got == 4 || SystemMay(got > 0)) << got;
// The layer is held to its answer; Windows and Wine to the looser one.
// Every use says why the system may answer otherwise.
constexpr bool SystemMay(bool outcome) { return kSystemDlls && outcome; }

}  // namespace apitest

#endif
