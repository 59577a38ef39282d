// Failures the test controls bring about: injected errors of every
// DirectX call, surfaces losing their memory, and DirectX modules hidden
// as on systems without DirectX or with an older one.
#include "DirectXTestSupport.h"

#include <PlatformTest.h>

#include <functional>

namespace {

using dxtest::Description;
using dxtest::DirectDrawTest;

// Lets go of the object a call made, keeping the call's result.
template <class Object>
HRESULT Dropped(HRESULT hr, Object*& object)
{
    if (object) object->Release();
    object = nullptr;
    return hr;
}

// A Win32 call's failure as the code it left in the last error.
HRESULT Win32(bool ok) { return ok ? S_OK : static_cast<HRESULT>(GetLastError()); }

TEST_F(DirectDrawTest, EveryCallFailsOnDemandAndThenWorksAgain)
{
    LPDIRECTDRAWSURFACE source = Offscreen(2, 2), dest = Offscreen(2, 2), primary = Primary();
    LPDIRECTDRAWCLIPPER clipper = nullptr;
    ASSERT_EQ(DD_OK, ddraw->CreateClipper(0, &clipper, nullptr));
    DDSURFACEDESC offscreen = Description(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN, 2, 2), desc = Description();
    DDCOLORKEY key = {0, 0};
    HWND hwnd = nullptr;
    LPDIRECTDRAW newDraw = nullptr;
    LPDIRECTDRAWSURFACE newSurface = nullptr;
    LPDIRECTDRAWCLIPPER newClipper = nullptr;
    LPDIRECTINPUTA newInput = nullptr;
    LPDIRECTINPUTDEVICEA newDevice = nullptr;
    IUnknown* other = nullptr;
    BYTE keys[256];
    HMODULE module = LoadLibraryA("DDRAW.DLL");
    LoadLibraryA("DDRAW.DLL");  // one load for FreeLibrary's case to undo
    const std::pair<const char*, std::function<HRESULT()>> cases[] = {
        {"DirectDrawCreate", [&] { return Dropped(DirectDrawCreate(nullptr, &newDraw, nullptr), newDraw); }},
        {"IDirectDraw::CreateSurface", [&] { return Dropped(ddraw->CreateSurface(&offscreen, &newSurface, nullptr), newSurface); }},
        {"IDirectDraw::CreateClipper", [&] { return Dropped(ddraw->CreateClipper(0, &newClipper, nullptr), newClipper); }},
        {"IDirectDraw::SetCooperativeLevel", [&] { return ddraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL); }},
        {"IDirectDraw::QueryInterface", [&] { return Dropped(ddraw->QueryInterface(IID_IDirectDraw2, (void**)&other), other); }},
        {"IDirectDraw::GetDisplayMode", [&] { return ddraw->GetDisplayMode(&desc); }},
        {"IDirectDraw::RestoreDisplayMode", [&] { return ddraw->RestoreDisplayMode(); }},
        {"IDirectDrawSurface::Blt", [&] { return dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr); }},
        {"IDirectDrawSurface::Lock",
         [&] { HRESULT hr = source->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr); return hr ? hr : source->Unlock(nullptr); }},
        {"IDirectDrawSurface::GetSurfaceDesc", [&] { return source->GetSurfaceDesc(&desc); }},
        {"IDirectDrawSurface::SetColorKey", [&] { return source->SetColorKey(DDCKEY_SRCBLT, &key); }},
        {"IDirectDrawSurface::SetClipper", [&] { return primary->SetClipper(clipper); }},
        {"IDirectDrawSurface::Restore", [&] { return source->Restore(); }},
        {"IDirectDrawSurface::IsLost", [&] { return source->IsLost(); }},
        {"IDirectDrawSurface::QueryInterface",
         [&] { return Dropped(source->QueryInterface(IID_IDirectDrawSurface3, (void**)&other), other); }},
        {"IDirectDrawClipper::SetHWnd", [&] { return clipper->SetHWnd(0, nullptr); }},
        {"IDirectDrawClipper::GetHWnd", [&] { return clipper->GetHWnd(&hwnd); }},
        {"DirectInputCreateA", [&] { return Dropped(DirectInputCreateA(GetModuleHandleA(nullptr), 0x0500, &newInput, nullptr), newInput); }},
        {"IDirectInputA::CreateDevice", [&] { return Dropped(input->CreateDevice(GUID_SysKeyboard, &newDevice, nullptr), newDevice); }},
        {"IDirectInputDeviceA::SetDataFormat", [&] { return keyboard->SetDataFormat(&c_dfDIKeyboard); }},
        {"IDirectInputDeviceA::SetCooperativeLevel",
         [&] { return keyboard->SetCooperativeLevel(nullptr, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND); }},
        {"IDirectInputDeviceA::Acquire", [&] { return keyboard->Acquire(); }},
        {"IDirectInputDeviceA::GetDeviceState", [&] { return keyboard->GetDeviceState(256, keys); }},
        {"IDirectInputDeviceA::Unacquire", [&] { return keyboard->Unacquire(); }},
        {"LoadLibraryA", [] { HMODULE loaded = LoadLibraryA("DINPUT.DLL"); return Win32(loaded && FreeLibrary(loaded)); }},
        {"GetProcAddress", [&] { return Win32(GetProcAddress(module, "DirectDrawCreate") != nullptr); }},
        {"FreeLibrary", [&] { return Win32(FreeLibrary(module)); }},
    };
    for (const auto& [call, make] : cases) {
        int before = PlatformTest::CallCount(call);
        PlatformTest::FailCall(call, static_cast<DWORD>(E_FAIL), 1);
        EXPECT_EQ(E_FAIL, make()) << call;
        EXPECT_EQ(S_OK, make()) << call << " after the injected failure";
        EXPECT_EQ(before + 2, PlatformTest::CallCount(call)) << call;
    }
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(0, PlatformTest::ModuleLoadCount("DDRAW.DLL"));
    // A failure can wait for calls that go through first.
    PlatformTest::FailCall("IDirectDrawSurface::Blt", static_cast<DWORD>(DDERR_SURFACELOST), 1, 2);
    for (HRESULT expected : {DD_OK, DD_OK, DDERR_SURFACELOST, DD_OK})
        EXPECT_EQ(expected, dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(1u, clipper->Release());  // the primary holds it until it goes
}

TEST_F(DirectDrawTest, LostSurfacesRefuseBlitsLocksAndDCsUntilRestored)
{
    LPDIRECTDRAWSURFACE source = Offscreen(2, 2), dest = Offscreen(2, 2), primary = Primary();
    Fill(source, dxtest::Pattern);
    PlatformTest::LoseAllSurfaces();
    EXPECT_EQ(DDERR_SURFACELOST, source->IsLost());
    EXPECT_EQ(DDERR_SURFACELOST, dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr));
    DDSURFACEDESC desc = Description();
    EXPECT_EQ(DDERR_SURFACELOST, source->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    HDC dc = nullptr;
    EXPECT_EQ(DDERR_SURFACELOST, source->GetDC(&dc));
    ASSERT_EQ(DD_OK, dest->Restore());
    // The destination is back, the source is not: the blit still fails.
    EXPECT_EQ(DDERR_SURFACELOST, dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr));
    ASSERT_EQ(DD_OK, source->Restore());
    EXPECT_EQ(DD_OK, source->IsLost());
    // Restored memory is fresh memory: the pattern is gone.
    EXPECT_EQ((std::vector<DWORD>{0xA5A5A5A5u, 0xA5A5A5A5u, 0x5A5A5A5Au, 0x5A5A5A5Au}), Read(source));
    EXPECT_EQ(DD_OK, dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr));
    // The primary likewise.
    RECT onScreen = {0, 0, 2, 2};
    EXPECT_EQ(DDERR_SURFACELOST, primary->Blt(&onScreen, source, nullptr, DDBLT_WAIT, nullptr));
    ASSERT_EQ(DD_OK, primary->Restore());
    EXPECT_EQ(DD_OK, primary->Blt(&onScreen, source, nullptr, DDBLT_WAIT, nullptr));
    // Only surfaces that exist are lost.
    EXPECT_EQ(DD_OK, Offscreen(2, 2)->IsLost());
    // A failing restore leaves the surface lost.
    PlatformTest::LoseAllSurfaces();
    PlatformTest::FailCall("IDirectDrawSurface::Restore", static_cast<DWORD>(DDERR_OUTOFVIDEOMEMORY), 1);
    EXPECT_EQ(DDERR_OUTOFVIDEOMEMORY, source->Restore());
    EXPECT_EQ(DDERR_SURFACELOST, source->IsLost());
}

// A change of the desktop's depth loses every surface, and none of them
// comes back by Restore, not even once the old depth returns; new surfaces
// are made in the new format.
TEST_F(DirectDrawTest, ADepthChangeLosesEverySurfaceForGood)
{
    LPDIRECTDRAWSURFACE surface = Offscreen(2, 2), primary = Primary();
    PlatformTest::SetDesktopBits(32);
    EXPECT_EQ(DD_OK, surface->IsLost()) << "no change: nothing lost";
    PlatformTest::SetDesktopBits(16);
    for (LPDIRECTDRAWSURFACE lost : {surface, primary}) {
        EXPECT_EQ(DDERR_SURFACELOST, lost->IsLost());
        EXPECT_EQ(DDERR_WRONGMODE, lost->Restore());
    }
    DDSURFACEDESC desc = Description();
    EXPECT_EQ(DDERR_SURFACELOST, surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    PlatformTest::SetDesktopBits(32);
    EXPECT_EQ(DDERR_WRONGMODE, surface->Restore()) << "back in its own depth";
    PlatformTest::SetDesktopBits(16);
    LPDIRECTDRAWSURFACE fresh = Offscreen(2, 2);
    ASSERT_EQ(DD_OK, fresh->GetSurfaceDesc(&desc));
    EXPECT_EQ(16u, desc.ddpfPixelFormat.dwRGBBitCount);
    EXPECT_EQ(DDERR_SURFACELOST, fresh->Blt(nullptr, surface, nullptr, DDBLT_WAIT, nullptr));
}

TEST_F(DirectDrawTest, SurfaceIsFreedWithItsLastReferenceNotWithItsDirectDraw)
{
    int before = PlatformTest::LiveSurfaceCount();
    LPDIRECTDRAWSURFACE surface = Offscreen(2, 2);
    made.clear();
    LPDIRECTDRAWSURFACE3 surface3 = nullptr;
    ASSERT_EQ(S_OK, surface->QueryInterface(IID_IDirectDrawSurface3, reinterpret_cast<void**>(&surface3)));
    EXPECT_EQ(0u, ddraw->Release());
    ddraw = nullptr;
    EXPECT_EQ(DD_OK, surface->Blt(nullptr, surface, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(DDERR_COLORKEYNOTSET, surface->Blt(nullptr, surface, nullptr, DDBLT_WAIT | DDBLT_KEYSRC, nullptr));
    EXPECT_EQ(1u, surface->Release());  // the second interface holds the surface
    EXPECT_EQ(before + 1, PlatformTest::LiveSurfaceCount());
    EXPECT_EQ(0u, surface3->Release());
    EXPECT_EQ(before, PlatformTest::LiveSurfaceCount());
}

TEST(ModuleControls, HiddenModuleOrEntryPointIsNotFoundUntilShown)
{
    PlatformTest::HideModule("DINPUT.DLL");
    PlatformTest::HideProcedure("DDRAW.DLL", "DirectDrawCreate");
    SetLastError(0);
    EXPECT_EQ(nullptr, LoadLibraryA("dinput.dll"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());
    HMODULE ddraw = LoadLibraryA("DDRAW.DLL");
    ASSERT_NE(nullptr, ddraw);
    EXPECT_EQ(nullptr, GetProcAddress(ddraw, "DirectDrawCreate"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_PROC_NOT_FOUND), GetLastError());
    PlatformTest::Reset();
    EXPECT_NE(nullptr, GetProcAddress(ddraw, "DirectDrawCreate"));
    EXPECT_TRUE(FreeLibrary(LoadLibraryA("DINPUT.DLL")) && FreeLibrary(ddraw));
}

}  // namespace
