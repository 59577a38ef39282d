// Decoding .bmp bytes into SDL surfaces. The header is checked here first,
// so that SDL's loader only ever sees files whose sizes, offsets and
// dimensions agree with the bytes actually present.
#ifndef VORBLOX_PLATFORM_BMP_DECODER_H
#define VORBLOX_PLATFORM_BMP_DECODER_H

#include <SDL.h>
#include <windows.h>

#include <stddef.h>

namespace plat {

// Largest picture accepted, per side and in all.
constexpr long kMaxBmpSide = 16384;
constexpr long long kMaxBmpPixels = 64ll * 1024 * 1024;

// Null with *error set (ERROR_INVALID_DATA, ERROR_NOT_ENOUGH_MEMORY) when the
// bytes are not a picture we accept.
SDL_Surface* DecodeBmp(const unsigned char* data, size_t size, DWORD* error);

}  // namespace plat

#endif
