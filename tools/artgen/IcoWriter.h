#pragma once
// Windows icon files: a directory followed by one DIB image per size
// (BITMAPINFOHEADER with doubled height, 32-bit BGRA bottom-up, then the
// 1-bit AND mask that older systems use instead of the alpha channel).
#include <vector>

#include "ByteWriter.h"
#include "Canvas.h"

// Every image must be square and at most 256 pixels wide.
Bytes EncodeIco(const std::vector<Canvas>& images);
