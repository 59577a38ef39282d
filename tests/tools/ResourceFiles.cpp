#include "ResourceFiles.h"

#include <fstream>
#include <iterator>

FileBytes ReadResource(const std::string& name) {
  std::ifstream in(std::string(VORBLOX_RESOURCES_DIR) + "/" + name, std::ios::binary);
  if (!in) return {};
  return FileBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t U16At(const FileBytes& bytes, size_t offset) {
  if (offset + 2 > bytes.size()) return 0;
  return bytes[offset] | (bytes[offset + 1] << 8);
}

std::uint32_t U32At(const FileBytes& bytes, size_t offset) {
  if (offset + 4 > bytes.size()) return 0;
  return U16At(bytes, offset) | (U16At(bytes, offset + 2) << 16);
}

std::int32_t I32At(const FileBytes& bytes, size_t offset) {
  return static_cast<std::int32_t>(U32At(bytes, offset));
}

Bitmap ParseBitmap(const FileBytes& bytes) {
  Bitmap bmp;
  auto fail = [&](const char* why) {
    bmp.why = why;
    return bmp;
  };
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return fail("no BM header");
  if (U32At(bytes, 2) != bytes.size()) return fail("file size field wrong");
  if (U32At(bytes, 14) != 40) return fail("not a BITMAPINFOHEADER");
  const std::int32_t width = I32At(bytes, 18), height = I32At(bytes, 22);
  if (width <= 0 || height <= 0) return fail("not a bottom-up bitmap");
  if (U16At(bytes, 26) != 1) return fail("planes not 1");
  if (U16At(bytes, 28) != 24) return fail("not 24 bits per pixel");
  if (U32At(bytes, 30) != 0) return fail("compressed");
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  const size_t offset = U32At(bytes, 10);
  if (offset < 54 || offset + stride * height != bytes.size()) return fail("pixel data size wrong");

  bmp.width = width;
  bmp.height = height;
  bmp.pixels.resize(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    const size_t row = offset + stride * static_cast<size_t>(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const size_t p = row + static_cast<size_t>(x) * 3;
      bmp.pixels[static_cast<size_t>(y) * width + x] = Pixel{bytes[p + 2], bytes[p + 1], bytes[p]};
    }
  }
  bmp.valid = true;
  return bmp;
}
