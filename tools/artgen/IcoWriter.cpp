#include "IcoWriter.h"

namespace {

constexpr std::uint32_t kDirectorySize = 6;
constexpr std::uint32_t kEntrySize = 16;
constexpr std::uint32_t kInfoHeaderSize = 40;

std::uint32_t MaskStride(int width) { return ((static_cast<std::uint32_t>(width) + 31) / 32) * 4; }

Bytes EncodeImage(const Canvas& image) {
  const int size = image.Width();
  const std::uint32_t colourBytes = static_cast<std::uint32_t>(size) * size * 4;
  const std::uint32_t maskBytes = MaskStride(size) * static_cast<std::uint32_t>(size);

  Bytes out;
  PutU32(out, kInfoHeaderSize);
  PutI32(out, size);
  PutI32(out, size * 2);  // colour rows and mask rows together
  PutU16(out, 1);
  PutU16(out, 32);
  PutU32(out, 0);  // BI_RGB
  PutU32(out, colourBytes + maskBytes);
  PutI32(out, 0);
  PutI32(out, 0);
  PutU32(out, 0);
  PutU32(out, 0);

  for (int y = size - 1; y >= 0; --y) {
    for (int x = 0; x < size; ++x) {
      const Rgba c = image.Get(x, y);
      PutU8(out, c.b);
      PutU8(out, c.g);
      PutU8(out, c.r);
      PutU8(out, c.a);
    }
  }
  // A set mask bit lets the desktop show through: only fully clear pixels.
  for (int y = size - 1; y >= 0; --y) {
    Bytes row(MaskStride(size), 0);
    for (int x = 0; x < size; ++x)
      if (image.Get(x, y).a == 0) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

}  // namespace

Bytes EncodeIco(const std::vector<Canvas>& images) {
  std::vector<Bytes> encoded;
  for (const Canvas& image : images) encoded.push_back(EncodeImage(image));

  Bytes out;
  PutU16(out, 0);
  PutU16(out, 1);  // icon (2 would be a cursor)
  PutU16(out, static_cast<unsigned>(images.size()));
  std::uint32_t offset = kDirectorySize + kEntrySize * static_cast<std::uint32_t>(images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    const int size = images[i].Width();
    PutU8(out, size >= 256 ? 0 : size);  // 0 stands for 256
    PutU8(out, size >= 256 ? 0 : size);
    PutU8(out, 0);  // no palette
    PutU8(out, 0);
    PutU16(out, 1);
    PutU16(out, 32);
    PutU32(out, static_cast<std::uint32_t>(encoded[i].size()));
    PutU32(out, offset);
    offset += static_cast<std::uint32_t>(encoded[i].size());
  }
  for (const Bytes& image : encoded) out.insert(out.end(), image.begin(), image.end());
  return out;
}
