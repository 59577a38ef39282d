#pragma once
// Little-endian byte output for the picture file formats, and saving a
// finished file.
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

void PutU8(Bytes& out, unsigned value);
void PutU16(Bytes& out, unsigned value);
void PutU32(Bytes& out, std::uint32_t value);
void PutI32(Bytes& out, std::int32_t value);

// Writes bytes to path, replacing the file; false (with errno's story in
// error) when it cannot be written completely.
bool SaveFile(const std::string& path, const Bytes& bytes, std::string& error);
