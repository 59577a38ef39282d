#pragma once
// Reading the committed artwork back for the tests.
#include <cstdint>
#include <string>
#include <vector>

using FileBytes = std::vector<std::uint8_t>;

// The bytes of resources/<name>; empty when it cannot be read.
FileBytes ReadResource(const std::string& name);

struct Pixel {
  int r, g, b;
  bool Black() const { return r == 0 && g == 0 && b == 0; }
  int Luma() const { return (r * 299 + g * 587 + b * 114) / 1000; }
};

// A bitmap file as the game loads it: valid only for a 24-bit, uncompressed,
// bottom-up DIB whose every header field agrees with the file.
struct Bitmap {
  bool valid = false;
  int width = 0;
  int height = 0;
  std::vector<Pixel> pixels;  // top row first

  Pixel At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

Bitmap ParseBitmap(const FileBytes& bytes);
