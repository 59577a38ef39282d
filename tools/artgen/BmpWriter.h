#pragma once
// 24-bit uncompressed Windows bitmap files (BITMAPFILEHEADER +
// BITMAPINFOHEADER, rows bottom-up and padded to four bytes), the form the
// game loads its pictures in. Alpha is dropped.
#include "ByteWriter.h"
#include "Canvas.h"

Bytes EncodeBmp24(const Canvas& canvas);
