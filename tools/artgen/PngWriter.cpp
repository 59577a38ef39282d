#include "PngWriter.h"

#ifdef VORBLOX_ARTGEN_PNG
#include <png.h>

#include <csetjmp>
#include <vector>

namespace {

void Append(png_structp png, png_bytep data, png_size_t length) {
  Bytes* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void Flush(png_structp) {}

}  // namespace

bool PngSupported() { return true; }

bool EncodePng(const Canvas& canvas, Bytes& out) {
  // Rows are prepared before libpng starts, because its errors jump back
  // past anything constructed after setjmp.
  const int width = canvas.Width(), height = canvas.Height();
  std::vector<png_byte> pixels(static_cast<size_t>(width) * height * 4);
  std::vector<png_bytep> rows(static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    rows[y] = &pixels[static_cast<size_t>(y) * width * 4];
    for (int x = 0; x < width; ++x) {
      const Rgba c = canvas.Get(x, y);
      png_bytep p = rows[y] + x * 4;
      p[0] = c.r;
      p[1] = c.g;
      p[2] = c.b;
      p[3] = c.a;
    }
  }
  out.clear();
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, Append, Flush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

#else

bool PngSupported() { return false; }

bool EncodePng(const Canvas&, Bytes& out) {
  out.clear();
  return false;
}

#endif
