#pragma once
// PNG output for the desktop icons; available only when the generator was
// built with libpng.
#include "ByteWriter.h"
#include "Canvas.h"

bool PngSupported();
// 8-bit RGBA; false when PNG support is missing or encoding failed.
bool EncodePng(const Canvas& canvas, Bytes& out);
