// What the player is told: the DirectX failure's name and the system's text
// for a failed window call, each in an ownerless information box. The game's
// own messages are checked through the start-up (tests/app/StartupTest.cpp).
#include <gtest/gtest.h>

#include <PlatformTest.h>

#include <set>
#include <string>

#include "system/ErrorReport.h"

namespace {

const char* const kDxCaption = "Oh no! A DirectX error has happened!";
const char* const kSystemCaption = "Oh no! An error has happened!";

class ErrorReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PlatformTest::SetHeadless(true);
        PlatformTest::Reset();
        PlatformTest::CaptureMessageBoxes(true);
        PlatformTest::ClearMessageBoxes();
        SetDxError(S_OK);
    }
    void TearDown() override { PlatformTest::CaptureMessageBoxes(false); }

    // The text of the one box shown since the last call, checked for the
    // caption and the common style.
    std::string OnlyBox(const std::string& caption)
    {
        const auto& boxes = PlatformTest::MessageBoxes();
        EXPECT_EQ(1u, boxes.size());
        PlatformTest::MessageBoxRecord box = boxes.empty() ? PlatformTest::MessageBoxRecord{} : boxes.back();
        EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), box.type);
        EXPECT_EQ(nullptr, box.owner);
        EXPECT_EQ(caption, box.caption);
        PlatformTest::ClearMessageBoxes();
        return box.text;
    }
    std::string Shown()
    {
        EXPECT_EQ(0, ShowDxError());
        return OnlyBox(kDxCaption);
    }
    std::string ShownFor(HRESULT code)
    {
        SetDxError(code);
        return Shown();
    }
};

constexpr HRESULT dd(unsigned n) { return static_cast<HRESULT>(0x88760000u + n); }

struct NamedCode {
    HRESULT code;
    const char* text;
};

// Five rows show a text other than the header name of their code: 222, 717,
// 725, 726 and 733.
const NamedCode kNames[] = {
    {S_OK, "DD_OK"}, {dd(5), "DDERR_ALREADYINITIALIZED"}, {dd(574), "DDERR_BLTFASTCANTCLIP"},
    {dd(10), "DDERR_CANNOTATTACHSURFACE"}, {dd(20), "DDERR_CANNOTDETACHSURFACE"}, {dd(585), "DDERR_CANTCREATEDC"},
    {dd(583), "DDERR_CANTDUPLICATE"}, {dd(435), "DDERR_CANTLOCKSURFACE"}, {dd(640), "DDERR_CANTPAGELOCK"},
    {dd(660), "DDERR_CANTPAGEUNLOCK"}, {dd(567), "DDERR_CLIPPERISUSINGHWND"}, {dd(400), "DDERR_COLORKEYNOTSET"},
    {dd(40), "DDERR_CURRENTLYNOTAVAIL"}, {dd(620), "DDERR_DCALREADYCREATED"},
    {dd(562), "DDERR_DIRECTDRAWALREADYCREATED"}, {dd(55), "DDERR_EXCEPTION"},
    {dd(581), "DDERR_EXCLUSIVEMODEALREADYSET"}, {E_FAIL, "DDERR_GENERIC"}, {dd(90), "DDERR_HEIGHTALIGN"},
    {dd(571), "DDERR_HWNDALREADYSET"}, {dd(570), "DDERR_HWNDSUBCLASSED"}, {dd(588), "DDERR_IMPLICITLYCREATED"},
    {dd(95), "DDERR_INCOMPATIBLEPRIMARY"}, {dd(100), "DDERR_INVALIDCAPS"}, {dd(110), "DDERR_INVALIDCLIPLIST"},
    {dd(561), "DDERR_INVALIDDIRECTDRAWGUID"}, {dd(120), "DDERR_INVALIDMODE"}, {dd(130), "DDERR_INVALIDOBJECT"},
    {E_INVALIDARG, "DDERR_INVALIDPARAMS"}, {dd(145), "DDERR_INVALIDPIXELFORMAT"}, {dd(579), "DDERR_INVALIDPOSITION"},
    {dd(150), "DDERR_INVALIDRECT"}, {dd(592), "DDERR_INVALIDSURFACETYPE"}, {dd(160), "DDERR_LOCKEDSURFACES"},
    {dd(690), "DDERR_MOREDATA"}, {dd(170), "DDERR_NO3D"}, {dd(180), "DDERR_NOALPHAHW"}, {dd(575), "DDERR_NOBLTHW"},
    {dd(205), "DDERR_NOCLIPLIST"}, {dd(568), "DDERR_NOCLIPPERATTACHED"}, {dd(210), "DDERR_NOCOLORCONVHW"},
    {dd(215), "DDERR_NOCOLORKEY"}, {dd(220), "DDERR_NOCOLORKEYHW"}, {dd(212), "DDERR_NOCOOPERATIVELEVELSET"},
    {dd(586), "DDERR_NODC"}, {dd(576), "DDERR_NODDROPSHW"}, {dd(563), "DDERR_NODIRECTDRAWHW"},
    {dd(222), "DirectDraw support is not possible with the current display driver!"}, {dd(565), "DDERR_NOEMULATION"},
    {dd(225), "DDERR_NOEXCLUSIVEMODE"}, {dd(230), "DDERR_NOFLIPHW"}, {dd(240), "DDERR_NOGDI"},
    {dd(569), "DDERR_NOHWND"}, {dd(591), "DDERR_NOMIPMAPHW"}, {dd(250), "DDERR_NOMIRRORHW"},
    {dd(630), "DDERR_NONONLOCALVIDMEM"}, {dd(578), "DDERR_NOOVERLAYDEST"}, {dd(260), "DDERR_NOOVERLAYHW"},
    {dd(572), "DDERR_NOPALETTEATTACHED"}, {dd(573), "DDERR_NOPALETTEHW"}, {dd(280), "DDERR_NORASTEROPHW"},
    {dd(290), "DDERR_NOROTATIONHW"}, {dd(310), "DDERR_NOSTRETCHHW"}, {dd(316), "DDERR_NOT4BITCOLOR"},
    {dd(317), "DDERR_NOT4BITCOLORINDEX"}, {dd(320), "DDERR_NOT8BITCOLOR"}, {dd(580), "DDERR_NOTAOVERLAYSURFACE"},
    {dd(330), "DDERR_NOTEXTUREHW"}, {dd(582), "DDERR_NOTFLIPPABLE"}, {dd(255), "DDERR_NOTFOUND"},
    {CO_E_NOTINITIALIZED, "DDERR_NOTINITIALIZED"}, {dd(584), "DDERR_NOTLOCKED"}, {dd(680), "DDERR_NOTPAGELOCKED"},
    {dd(589), "DDERR_NOTPALETTIZED"}, {dd(335), "DDERR_NOVSYNCHW"}, {dd(340), "DDERR_NOZBUFFERHW"},
    {dd(350), "DDERR_NOZOVERLAYHW"}, {dd(360), "DDERR_OUTOFCAPS"}, {E_OUTOFMEMORY, "DDERR_OUTOFMEMORY"},
    {dd(380), "DDERR_OUTOFVIDEOMEMORY"}, {dd(382), "DDERR_OVERLAYCANTCLIP"},
    {dd(384), "DDERR_OVERLAYCOLORKEYONLYONEACTIVE"}, {dd(577), "DDERR_OVERLAYNOTVISIBLE"},
    {dd(387), "DDERR_PALETTEBUSY"}, {dd(564), "DDERR_PRIMARYSURFACEALREADYEXISTS"}, {dd(566), "DDERR_REGIONTOOSMALL"},
    {dd(410), "DDERR_SURFACEALREADYATTACHED"}, {dd(420), "DDERR_SURFACEALREADYDEPENDENT"},
    {dd(430), "DDERR_SURFACEBUSY"}, {dd(440), "DDERR_SURFACEISOBSCURED"}, {dd(450), "DDERR_SURFACELOST"},
    {dd(460), "DDERR_SURFACENOTATTACHED"}, {dd(470), "DDERR_TOOBIGHEIGHT"}, {dd(480), "DDERR_TOOBIGSIZE"},
    {dd(490), "DDERR_TOOBIGWIDTH"}, {E_NOTIMPL, "DDERR_UNSUPPORTED"}, {dd(510), "DDERR_UNSUPPORTEDFORMAT"},
    {dd(520), "DDERR_UNSUPPORTEDMASK"}, {dd(590), "DDERR_UNSUPPORTEDMODE"}, {dd(537), "DDERR_VERTICALBLANKINPROGRESS"},
    {dd(540), "DDERR_WASSTILLDRAWING"}, {dd(587), "DDERR_WRONGMODE"}, {dd(560), "DDERR_XALIGN"},
    {dd(695), "DDERR_VIDEONOTACTIVE"}, {dd(700), "D3DERR_BADMAJORVERSION"}, {dd(701), "D3DERR_BADMINORVERSION"},
    {dd(705), "D3DERR_INVALID_DEVICE"}, {dd(706), "D3DERR_INITFAILED"}, {dd(710), "D3DERR_EXECUTE_CREATE_FAILED"},
    {dd(711), "D3DERR_EXECUTE_DESTROY_FAILED"}, {dd(712), "D3DERR_EXECUTE_LOCK_FAILED"},
    {dd(713), "D3DERR_EXECUTE_UNLOCK_FAILED"}, {dd(714), "D3DERR_EXECUTE_LOCKED"},
    {dd(715), "D3DERR_EXECUTE_NOT_LOCKED"}, {dd(716), "D3DERR_EXECUTE_FAILED"}, {dd(717), "D3DERR_CLIPPED_FAILED"},
    {dd(720), "D3DERR_TEXTURE_NO_SUPPORT"}, {dd(721), "D3DERR_TEXTURE_CREATE_FAILED"},
    {dd(722), "D3DERR_TEXTURE_DESTROY_FAILED"}, {dd(723), "D3DERR_TEXTURE_LOCK_FAILED"},
    {dd(724), "D3DERR_TEXTURE_UNLOCK_FAILED"}, {dd(725), "D3DERR_LOAD_FAILED"}, {dd(726), "D3DERR_SWAP_FAILED"},
    {dd(727), "D3DERR_TEXTURE_LOCKED"}, {dd(728), "D3DERR_TEXTURE_NOT_LOCKED"},
    {dd(729), "D3DERR_TEXTURE_GETSURF_FAILED"}, {dd(730), "D3DERR_MATRIX_CREATE_FAILED"},
    {dd(731), "D3DERR_MATRIX_DESTROY_FAILED"}, {dd(732), "D3DERR_MATRIX_SETDATA_FAILED"},
    {dd(733), "D3DERR_MAXTRIX_GETDATA_FAILED"}, {dd(734), "D3DERR_SETVIEWPORTDATA_FAILED"},
    {dd(735), "D3DERR_INVALIDCURRENTVIEWPORT"}, {dd(736), "D3DERR_INVALIDPRIMITIVETYPE"},
    {dd(737), "D3DERR_INVALIDVERTEXTYPE"}, {dd(738), "D3DERR_TEXTURE_BADSIZE"},
    {dd(740), "D3DERR_MATERIAL_CREATE_FAILED"}, {dd(741), "D3DERR_MATERIAL_DESTROY_FAILED"},
    {dd(742), "D3DERR_MATERIAL_SETDATA_FAILED"}, {dd(743), "D3DERR_MATERIAL_GETDATA_FAILED"},
    {dd(744), "D3DERR_INVALIDPALETTE"}, {dd(745), "D3DERR_ZBUFF_NEEDS_SYSTEMMEMORY"},
    {dd(746), "D3DERR_ZBUFF_NEEDS_VIDEOMEMORY"}, {dd(747), "D3DERR_SURFACENOTINVIDMEM"},
    {dd(750), "D3DERR_LIGHT_SET_FAILED"}, {dd(751), "D3DERR_LIGHTHASVIEWPORT"},
    {dd(752), "D3DERR_LIGHTNOTINTHISVIEWPORT"}, {dd(760), "D3DERR_SCENE_IN_SCENE"},
    {dd(761), "D3DERR_SCENE_NOT_IN_SCENE"}, {dd(762), "D3DERR_SCENE_BEGIN_FAILED"},
    {dd(763), "D3DERR_SCENE_END_FAILED"}, {dd(770), "D3DERR_INBEGIN"}, {dd(771), "D3DERR_NOTINBEGIN"},
    {dd(772), "D3DERR_NOVIEWPORTS"}, {dd(773), "D3DERR_VIEWPORTDATANOTSET"}, {dd(774), "D3DERR_VIEWPORTHASNODEVICE"},
};

TEST_F(ErrorReportTest, EveryNamedCodeIsShownByItsName)
{
    std::set<HRESULT> codes;
    for (const NamedCode& row : kNames) {
        codes.insert(row.code);
        EXPECT_EQ(row.text, ShownFor(row.code)) << std::hex << row.code;
    }
    EXPECT_EQ(155u, codes.size());
}

TEST_F(ErrorReportTest, UnknownCodesShowTheirBareNumber)
{
    const NamedCode rows[] = {
        {E_NOINTERFACE, "Unknown Error #16386"}, {static_cast<HRESULT>(0x8007001Eu), "Unknown Error #30"},
        {dd(1), "Unknown Error #1"}, {dd(775), "Unknown Error #775"},
        {static_cast<HRESULT>(0x8876FFFFu), "Unknown Error #65535"}, {1, "Unknown Error #1"},
    };
    for (const NamedCode& row : rows) EXPECT_EQ(row.text, ShownFor(row.code)) << std::hex << row.code;
}

TEST_F(ErrorReportTest, NothingRecordedShowsSuccessAndTheLaterOfTwoFailuresIsKept)
{
    EXPECT_EQ("DD_OK", Shown());
    SetDxError(dd(450));
    SetDxError(E_FAIL);
    EXPECT_EQ(E_FAIL, lastDxError);
    EXPECT_EQ("DDERR_GENERIC", Shown());
    EXPECT_EQ(E_FAIL, GetDxError()) << "showing does not reset";
}

TEST_F(ErrorReportTest, SystemErrorShowsTheSystemTextOrItsNumber)
{
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    LPSTR expected = FormatSystemError();
    ASSERT_NE(nullptr, expected);
    std::string text = expected;
    LocalFree(expected);
    EXPECT_FALSE(text.empty());
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    EXPECT_EQ(0, ShowSystemError());
    EXPECT_EQ(text, OnlyBox(kSystemCaption));

    // A text with inserts is shown as written, not filled from nothing.
    SetLastError(ERROR_MR_MID_NOT_FOUND);
    EXPECT_EQ(0, ShowSystemError());
    EXPECT_EQ("The system cannot find message text for message number 0x%1 in the message file for %2.\r\n",
              OnlyBox(kSystemCaption));

    SetLastError(0x2BADF00Du);
    EXPECT_EQ(nullptr, FormatSystemError());
    SetLastError(0x2BADF00Du);
    EXPECT_EQ(0, ShowSystemError());
    EXPECT_EQ("Unknown error #732819469", OnlyBox(kSystemCaption));
}

}  // namespace
