#include "BmpWriter.h"

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
// 72 dots per inch, as pixels per metre.
constexpr std::int32_t kPixelsPerMetre = 2835;

}  // namespace

Bytes EncodeBmp24(const Canvas& canvas) {
  const int width = canvas.Width();
  const int height = canvas.Height();
  const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
  const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(height);
  const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;

  Bytes out;
  out.reserve(offset + imageSize);
  out.push_back('B');
  out.push_back('M');
  PutU32(out, offset + imageSize);
  PutU16(out, 0);
  PutU16(out, 0);
  PutU32(out, offset);

  PutU32(out, kInfoHeaderSize);
  PutI32(out, width);
  PutI32(out, height);  // positive: bottom-up
  PutU16(out, 1);       // planes
  PutU16(out, 24);
  PutU32(out, 0);       // BI_RGB
  PutU32(out, imageSize);
  PutI32(out, kPixelsPerMetre);
  PutI32(out, kPixelsPerMetre);
  PutU32(out, 0);
  PutU32(out, 0);

  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const Rgba c = canvas.Get(x, y);
      PutU8(out, c.b);
      PutU8(out, c.g);
      PutU8(out, c.r);
    }
    for (std::uint32_t pad = static_cast<std::uint32_t>(width) * 3; pad < stride; ++pad)
      PutU8(out, 0);
  }
  return out;
}
