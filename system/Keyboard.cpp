#include "system/Keyboard.h"

#include "system/ErrorReport.h"
#include "system/SystemInfo.h"

Keyboard::Keyboard() : directInput(NULL), window(NULL) {}

Keyboard::~Keyboard() { Release(); }

bool Keyboard::Create(MainWindow* newWindow)
{
    Release();
    window = newWindow;
    HRESULT result = DirectInputCreateA(systemInfo.instance, 0x0500, &directInput, NULL);
    if (result != DI_OK) {
        // Only DI_OK counts; an object handed out with another status is
        // given back rather than kept half-trusted.
        if (SUCCEEDED(result) && directInput != NULL) directInput->Release();
        directInput = NULL;
        SetDxError(result);
        return false;
    }
    return true;
}

bool Keyboard::CreateDevice(int background)
{
    if (directInput == NULL) {
        SetDxError(E_FAIL);
        return false;
    }
    if (IsReady()) return true;
    LPDIRECTINPUTDEVICEA newDevice = NULL;
    HRESULT result = directInput->CreateDevice(GUID_SysKeyboard, &newDevice, NULL);
    if (result != DI_OK) {
        if (SUCCEEDED(result) && newDevice != NULL) newDevice->Release();
        SetDxError(result);
        return false;
    }
    return Attach(window, newDevice, background);
}

void Keyboard::Release()
{
    if (directInput == NULL) return;
    ReleaseDevice();
    directInput->Release();
    directInput = NULL;
}
