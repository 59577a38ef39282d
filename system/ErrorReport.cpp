#include "system/ErrorReport.h"

HRESULT lastDxError = 0;

namespace {

const char* const kDxErrorCaption = "Oh no! A DirectX error has happened!";
const char* const kSystemErrorCaption = "Oh no! An error has happened!";

struct DxErrorName {
    HRESULT code;
    const char* text;
};

// The DirectDraw and Direct3D facility: MAKE_DDHRESULT(n) of the DirectX headers.
constexpr HRESULT Dd(unsigned n) { return static_cast<HRESULT>(0x88760000u + n); }
constexpr HRESULT Com(unsigned code) { return static_cast<HRESULT>(code); }

// Searched by exact code only. Codes outside the table (DirectInput's among
// them) are shown by number instead.
const DxErrorName kDxErrorNames[] = {
    {Com(0), "DD_OK"},
    {Dd(5), "DDERR_ALREADYINITIALIZED"},
    {Dd(574), "DDERR_BLTFASTCANTCLIP"},
    {Dd(10), "DDERR_CANNOTATTACHSURFACE"},
    {Dd(20), "DDERR_CANNOTDETACHSURFACE"},
    {Dd(585), "DDERR_CANTCREATEDC"},
    {Dd(583), "DDERR_CANTDUPLICATE"},
    {Dd(435), "DDERR_CANTLOCKSURFACE"},
    {Dd(640), "DDERR_CANTPAGELOCK"},
    {Dd(660), "DDERR_CANTPAGEUNLOCK"},
    {Dd(567), "DDERR_CLIPPERISUSINGHWND"},
    {Dd(400), "DDERR_COLORKEYNOTSET"},
    {Dd(40), "DDERR_CURRENTLYNOTAVAIL"},
    {Dd(620), "DDERR_DCALREADYCREATED"},
    {Dd(562), "DDERR_DIRECTDRAWALREADYCREATED"},
    {Dd(55), "DDERR_EXCEPTION"},
    {Dd(581), "DDERR_EXCLUSIVEMODEALREADYSET"},
    {Com(0x80004005u), "DDERR_GENERIC"},
    {Dd(90), "DDERR_HEIGHTALIGN"},
    {Dd(571), "DDERR_HWNDALREADYSET"},
    {Dd(570), "DDERR_HWNDSUBCLASSED"},
    {Dd(588), "DDERR_IMPLICITLYCREATED"},
    {Dd(95), "DDERR_INCOMPATIBLEPRIMARY"},
    {Dd(100), "DDERR_INVALIDCAPS"},
    {Dd(110), "DDERR_INVALIDCLIPLIST"},
    {Dd(561), "DDERR_INVALIDDIRECTDRAWGUID"},
    {Dd(120), "DDERR_INVALIDMODE"},
    {Dd(130), "DDERR_INVALIDOBJECT"},
    {Com(0x80070057u), "DDERR_INVALIDPARAMS"},
    {Dd(145), "DDERR_INVALIDPIXELFORMAT"},
    {Dd(579), "DDERR_INVALIDPOSITION"},
    {Dd(150), "DDERR_INVALIDRECT"},
    {Dd(592), "DDERR_INVALIDSURFACETYPE"},
    {Dd(160), "DDERR_LOCKEDSURFACES"},
    {Dd(690), "DDERR_MOREDATA"},
    {Dd(170), "DDERR_NO3D"},
    {Dd(180), "DDERR_NOALPHAHW"},
    {Dd(575), "DDERR_NOBLTHW"},
    {Dd(205), "DDERR_NOCLIPLIST"},
    {Dd(568), "DDERR_NOCLIPPERATTACHED"},
    {Dd(210), "DDERR_NOCOLORCONVHW"},
    {Dd(215), "DDERR_NOCOLORKEY"},
    {Dd(220), "DDERR_NOCOLORKEYHW"},
    {Dd(212), "DDERR_NOCOOPERATIVELEVELSET"},
    {Dd(586), "DDERR_NODC"},
    {Dd(576), "DDERR_NODDROPSHW"},
    {Dd(563), "DDERR_NODIRECTDRAWHW"},
    {Dd(222), "DirectDraw support is not possible with the current display driver!"},
    {Dd(565), "DDERR_NOEMULATION"},
    {Dd(225), "DDERR_NOEXCLUSIVEMODE"},
    {Dd(230), "DDERR_NOFLIPHW"},
    {Dd(240), "DDERR_NOGDI"},
    {Dd(569), "DDERR_NOHWND"},
    {Dd(591), "DDERR_NOMIPMAPHW"},
    {Dd(250), "DDERR_NOMIRRORHW"},
    {Dd(630), "DDERR_NONONLOCALVIDMEM"},
    {Dd(578), "DDERR_NOOVERLAYDEST"},
    {Dd(260), "DDERR_NOOVERLAYHW"},
    {Dd(572), "DDERR_NOPALETTEATTACHED"},
    {Dd(573), "DDERR_NOPALETTEHW"},
    {Dd(280), "DDERR_NORASTEROPHW"},
    {Dd(290), "DDERR_NOROTATIONHW"},
    {Dd(310), "DDERR_NOSTRETCHHW"},
    {Dd(316), "DDERR_NOT4BITCOLOR"},
    {Dd(317), "DDERR_NOT4BITCOLORINDEX"},
    {Dd(320), "DDERR_NOT8BITCOLOR"},
    {Dd(580), "DDERR_NOTAOVERLAYSURFACE"},
    {Dd(330), "DDERR_NOTEXTUREHW"},
    {Dd(582), "DDERR_NOTFLIPPABLE"},
    {Dd(255), "DDERR_NOTFOUND"},
    {Com(0x800401F0u), "DDERR_NOTINITIALIZED"},
    {Dd(584), "DDERR_NOTLOCKED"},
    {Dd(680), "DDERR_NOTPAGELOCKED"},
    {Dd(589), "DDERR_NOTPALETTIZED"},
    {Dd(335), "DDERR_NOVSYNCHW"},
    {Dd(340), "DDERR_NOZBUFFERHW"},
    {Dd(350), "DDERR_NOZOVERLAYHW"},
    {Dd(360), "DDERR_OUTOFCAPS"},
    {Com(0x8007000Eu), "DDERR_OUTOFMEMORY"},
    {Dd(380), "DDERR_OUTOFVIDEOMEMORY"},
    {Dd(382), "DDERR_OVERLAYCANTCLIP"},
    {Dd(384), "DDERR_OVERLAYCOLORKEYONLYONEACTIVE"},
    {Dd(577), "DDERR_OVERLAYNOTVISIBLE"},
    {Dd(387), "DDERR_PALETTEBUSY"},
    {Dd(564), "DDERR_PRIMARYSURFACEALREADYEXISTS"},
    {Dd(566), "DDERR_REGIONTOOSMALL"},
    {Dd(410), "DDERR_SURFACEALREADYATTACHED"},
    {Dd(420), "DDERR_SURFACEALREADYDEPENDENT"},
    {Dd(430), "DDERR_SURFACEBUSY"},
    {Dd(440), "DDERR_SURFACEISOBSCURED"},
    {Dd(450), "DDERR_SURFACELOST"},
    {Dd(460), "DDERR_SURFACENOTATTACHED"},
    {Dd(470), "DDERR_TOOBIGHEIGHT"},
    {Dd(480), "DDERR_TOOBIGSIZE"},
    {Dd(490), "DDERR_TOOBIGWIDTH"},
    {Com(0x80004001u), "DDERR_UNSUPPORTED"},
    {Dd(510), "DDERR_UNSUPPORTEDFORMAT"},
    {Dd(520), "DDERR_UNSUPPORTEDMASK"},
    {Dd(590), "DDERR_UNSUPPORTEDMODE"},
    {Dd(537), "DDERR_VERTICALBLANKINPROGRESS"},
    {Dd(540), "DDERR_WASSTILLDRAWING"},
    {Dd(587), "DDERR_WRONGMODE"},
    {Dd(560), "DDERR_XALIGN"},
    {Dd(695), "DDERR_VIDEONOTACTIVE"},
    {Dd(700), "D3DERR_BADMAJORVERSION"},
    {Dd(701), "D3DERR_BADMINORVERSION"},
    {Dd(705), "D3DERR_INVALID_DEVICE"},
    {Dd(706), "D3DERR_INITFAILED"},
    {Dd(710), "D3DERR_EXECUTE_CREATE_FAILED"},
    {Dd(711), "D3DERR_EXECUTE_DESTROY_FAILED"},
    {Dd(712), "D3DERR_EXECUTE_LOCK_FAILED"},
    {Dd(713), "D3DERR_EXECUTE_UNLOCK_FAILED"},
    {Dd(714), "D3DERR_EXECUTE_LOCKED"},
    {Dd(715), "D3DERR_EXECUTE_NOT_LOCKED"},
    {Dd(716), "D3DERR_EXECUTE_FAILED"},
    {Dd(717), "D3DERR_CLIPPED_FAILED"},
    {Dd(720), "D3DERR_TEXTURE_NO_SUPPORT"},
    {Dd(721), "D3DERR_TEXTURE_CREATE_FAILED"},
    {Dd(722), "D3DERR_TEXTURE_DESTROY_FAILED"},
    {Dd(723), "D3DERR_TEXTURE_LOCK_FAILED"},
    {Dd(724), "D3DERR_TEXTURE_UNLOCK_FAILED"},
    {Dd(725), "D3DERR_LOAD_FAILED"},
    {Dd(726), "D3DERR_SWAP_FAILED"},
    {Dd(727), "D3DERR_TEXTURE_LOCKED"},
    {Dd(728), "D3DERR_TEXTURE_NOT_LOCKED"},
    {Dd(729), "D3DERR_TEXTURE_GETSURF_FAILED"},
    {Dd(730), "D3DERR_MATRIX_CREATE_FAILED"},
    {Dd(731), "D3DERR_MATRIX_DESTROY_FAILED"},
    {Dd(732), "D3DERR_MATRIX_SETDATA_FAILED"},
    {Dd(733), "D3DERR_MAXTRIX_GETDATA_FAILED"},
    {Dd(734), "D3DERR_SETVIEWPORTDATA_FAILED"},
    {Dd(735), "D3DERR_INVALIDCURRENTVIEWPORT"},
    {Dd(736), "D3DERR_INVALIDPRIMITIVETYPE"},
    {Dd(737), "D3DERR_INVALIDVERTEXTYPE"},
    {Dd(738), "D3DERR_TEXTURE_BADSIZE"},
    {Dd(740), "D3DERR_MATERIAL_CREATE_FAILED"},
    {Dd(741), "D3DERR_MATERIAL_DESTROY_FAILED"},
    {Dd(742), "D3DERR_MATERIAL_SETDATA_FAILED"},
    {Dd(743), "D3DERR_MATERIAL_GETDATA_FAILED"},
    {Dd(744), "D3DERR_INVALIDPALETTE"},
    {Dd(745), "D3DERR_ZBUFF_NEEDS_SYSTEMMEMORY"},
    {Dd(746), "D3DERR_ZBUFF_NEEDS_VIDEOMEMORY"},
    {Dd(747), "D3DERR_SURFACENOTINVIDMEM"},
    {Dd(750), "D3DERR_LIGHT_SET_FAILED"},
    {Dd(751), "D3DERR_LIGHTHASVIEWPORT"},
    {Dd(752), "D3DERR_LIGHTNOTINTHISVIEWPORT"},
    {Dd(760), "D3DERR_SCENE_IN_SCENE"},
    {Dd(761), "D3DERR_SCENE_NOT_IN_SCENE"},
    {Dd(762), "D3DERR_SCENE_BEGIN_FAILED"},
    {Dd(763), "D3DERR_SCENE_END_FAILED"},
    {Dd(770), "D3DERR_INBEGIN"},
    {Dd(771), "D3DERR_NOTINBEGIN"},
    {Dd(772), "D3DERR_NOVIEWPORTS"},
    {Dd(773), "D3DERR_VIEWPORTDATANOTSET"},
    {Dd(774), "D3DERR_VIEWPORTHASNODEVICE"},
};

const char* FindDxErrorName(HRESULT code)
{
    for (const DxErrorName& row : kDxErrorNames)
        if (row.code == code) return row.text;
    return NULL;
}

}  // namespace

void SetDxError(HRESULT code) { lastDxError = code; }

HRESULT GetDxError() { return lastDxError; }

int ShowDxError()
{
    HRESULT code = GetDxError();
    const char* text = FindDxErrorName(code);
    char unknown[1024];
    if (text == NULL) {
        // Codes outside the table are shown by their bare error number.
        wsprintfA(unknown, "Unknown Error #%ld", static_cast<LONG>(code & 0xFFFF));
        text = unknown;
    }
    MessageBoxA(NULL, text, kDxErrorCaption, MB_ICONINFORMATION);
    return 0;
}

LPSTR FormatSystemError()
{
    LPSTR text = NULL;
    // Some system texts hold inserts (%1) for arguments we do not have:
    // they are shown as written rather than filled from nothing.
    DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    DWORD length = FormatMessageA(flags, NULL, GetLastError(), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  reinterpret_cast<LPSTR>(&text), 0, NULL);
    if (length == 0) return NULL;
    return text;
}

int ShowSystemError()
{
    DWORD error = GetLastError();
    LPSTR text = FormatSystemError();
    if (text == NULL) {
        // The system has no words for this code; its number still helps.
        char unknown[64];
        wsprintfA(unknown, "Unknown error #%lu", error);
        MessageBoxA(NULL, unknown, kSystemErrorCaption, MB_ICONINFORMATION);
        return 0;
    }
    MessageBoxA(NULL, text, kSystemErrorCaption, MB_ICONINFORMATION);
    LocalFree(text);
    return 0;
}

int ShowMessage(LPCSTR caption, LPCSTR text)
{
    MessageBoxA(NULL, text, caption, MB_ICONINFORMATION);
    return 0;
}
