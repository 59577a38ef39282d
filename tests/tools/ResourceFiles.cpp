#include "ResourceFiles.h"

#include <fstream>
#include <iterator>

FileBytes ReadResource(const std::string& name) {
  std::ifstream in(std::string(VORBLOX_RESOURCES_DIR) + "/" + name, std::ios::binary);
  return FileBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

namespace {
std::uint32_t U16(const FileBytes& b, size_t at) { return at + 2 <= b.size() ? b[at] | b[at + 1] << 8 : 0; }
std::uint32_t U32(const FileBytes& b, size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }
}  // namespace

Bitmap ParseBitmap(const FileBytes& b) {
  Bitmap bmp;
  const int width = static_cast<int>(U32(b, 18)), height = static_cast<int>(U32(b, 22));
  const size_t offset = U32(b, 10), stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || U32(b, 2) != b.size() || U32(b, 14) != 40 || width <= 0 ||
      height <= 0 || U16(b, 26) != 1 || U16(b, 28) != 24 || U32(b, 30) != 0 || offset < 54 ||
      offset + stride * height != b.size())
    return bmp;
  bmp.width = width;
  bmp.height = height;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const size_t p = offset + stride * static_cast<size_t>(height - 1 - y) + static_cast<size_t>(x) * 3;
      bmp.pixels.push_back(Pixel{b[p + 2], b[p + 1], b[p]});
    }
  bmp.valid = true;
  return bmp;
}
