#include "app/PMAIN.h"

#include "app/WindowHandlers.h"
#include "system/ErrorReport.h"
#include "system/SystemInfo.h"

namespace {

const LONG pictureWidth = 300;
const LONG pictureHeight = 400;

}  // namespace

PMAIN::PMAIN()
    : leftRepeat(0), rightRepeat(0), redrawPending(0), awaitingFirstGame(0), ready(0)
{
}

PMAIN::~PMAIN()
{
    Release();
}

int PMAIN::Init()
{
    if (systemInfo.dxVersion < 0x0500) {
        ShowMessage("DirectX error", "Too old or no DirectX installed (DirectX 5 or newer required)!");
        return 0;
    }

    HBRUSH brush = (HBRUSH)GetStockObject(BLACK_BRUSH);
    HCURSOR cursor = LoadCursorA(NULL, IDC_ARROW);
    // The icon group is stored under its name, not under the stock id.
    HICON icon = LoadIconA(systemInfo.instance, "IDI_APPLICATION");
    if (!RegisterMainWindowClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, icon, cursor, brush, NULL, "DropixClass")) {
        ShowSystemError();
        return 0;
    }

    InstallWindowHandlers(*this);

    LONG width = pictureWidth + systemInfo.borderWidth;
    LONG height = pictureHeight + systemInfo.borderHeight;
    LONG x = (systemInfo.screenWidth - width) / 2;
    LONG y = (systemInfo.screenHeight - height) / 2;
    if (!Create("DropixClass", "Vorblox v1.0", WS_OVERLAPPEDWINDOW, x, y, width, height, NULL, NULL)) {
        ShowSystemError();
        return 0;
    }

    if (!mainKeyboard.Create(this) || !mainKeyboard.CreateDevice(0)) {
        return StopWithDxError();
    }
    mainKeyboard.Acquire();

    if (!mainDisplay.Create(this) || !mainDisplay.CreateSurfaces()) {
        return StopWithDxError();
    }

    if (!LoadPictures()) return 0;

    game.NewGame();
    game.active = 0;

    leftRepeat = 0;
    rightRepeat = 0;
    redrawPending = 1;
    awaitingFirstGame = 1;
    ready = 1;
    return 1;
}

// Each picture is created, loaded and keyed before the next one is created.
int PMAIN::LoadPictures()
{
    struct Picture {
        Surface* surface;
        LONG width;
        LONG height;
        const char* resource;
        const char* loadError;
        bool keyed;
    };
    const Picture pictures[] = {
        {&backgroundSurface, 300, 400, "PIC_MAIN", "Error loading bmp file #1!", false},
        {&tilesSurface, 128, 16, "PIC_BLOCKS", "Error loading bmp file #2!", true},
        {&fontSurface, 592, 16, "PIC_FONTS", "Error loading bmp file #3!", true},
        {&startSurface, 160, 100, "PIC_STARTTXT", "Error loading bmp file #4!", true},
        {&gameOverSurface, 160, 50, "PIC_GAMEOVER", "Error loading bmp file #5!", true},
    };
    for (const Picture& picture : pictures) {
        picture.surface->display = &mainDisplay;
        if (!picture.surface->Create(picture.width, picture.height)) {
            return StopWithDxError();
        }
        if (!picture.surface->LoadBitmap(picture.resource)) {
            Release();
            ShowMessage("File error", picture.loadError);
            return 0;
        }
        if (picture.keyed && !picture.surface->SetColorKey(0)) {
            return StopWithDxError();
        }
    }
    return 1;
}

// Releasing may record failures of its own; the player is told the one that
// stopped the start-up.
int PMAIN::StopWithDxError()
{
    HRESULT failure = GetDxError();
    Release();
    SetDxError(failure);
    return ShowDxError();
}

void PMAIN::Release()
{
    mainDisplay.Release();
    mainKeyboard.Release();
}

void PMAIN::Quit()
{
    Release();
    PostQuitMessage(0);
}
