#include "ByteWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

void PutU8(Bytes& out, unsigned value) { out.push_back(static_cast<std::uint8_t>(value & 0xFF)); }

void PutU16(Bytes& out, unsigned value) {
  PutU8(out, value);
  PutU8(out, value >> 8);
}

void PutU32(Bytes& out, std::uint32_t value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}

void PutI32(Bytes& out, std::int32_t value) { PutU32(out, static_cast<std::uint32_t>(value)); }

bool SaveFile(const std::string& path, const Bytes& bytes, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  const size_t written = bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), file);
  const int writeErrno = errno;
  const bool closed = std::fclose(file) == 0;
  if (written != bytes.size() || !closed) {
    error = path + ": " + std::strerror(written != bytes.size() ? writeErrno : errno);
    return false;
  }
  return true;
}
