// Writes 0x00RRGGBB pixels, top row first, as a 24-bit bottom-up bitmap file.
#ifndef VORBLOX_TOOLS_REPLAY_BMP_FILE_H
#define VORBLOX_TOOLS_REPLAY_BMP_FILE_H

#include <stdint.h>

#include <string>
#include <vector>

bool WriteBmp24(const char* path, const std::vector<uint32_t>& pixels, int width, int height, std::string* error);

#endif
