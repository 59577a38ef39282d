#include "LoadBitmapFile.h"

#include <windows.h>

bool LoadBitmapFile(const char* path)
{
    HBITMAP bitmap = (HBITMAP)LoadImageA(NULL, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (!bitmap) return false;
    BITMAP bm;
    if (GetObjectA(bitmap, sizeof bm, &bm) == sizeof bm && bm.bmWidth > 0 && bm.bmHeight > 0) {
        // Reads the far corners, where a picture with a wrong size would
        // reach past its pixels.
        HDC dc = CreateCompatibleDC(NULL);
        HGDIOBJ old = SelectObject(dc, bitmap);
        GetPixel(dc, 0, 0);
        GetPixel(dc, bm.bmWidth - 1, bm.bmHeight - 1);
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    DeleteObject(bitmap);
    return true;
}
