#pragma once
// An RGBA picture in memory that the generator paints into before it is
// written out. Drawing outside the picture is silently clipped, so shapes
// near the border need no special care.
#include <cstdint>
#include <vector>

struct Rgba {
  std::uint8_t r = 0, g = 0, b = 0, a = 255;
};

bool operator==(const Rgba& x, const Rgba& y);
bool operator!=(const Rgba& x, const Rgba& y);

Rgba MakeRgb(int r, int g, int b);
// t = 0 gives from, t = 1 gives to; the alpha channel is blended too.
Rgba Mix(const Rgba& from, const Rgba& to, double t);
// Multiplies the colour channels, keeping alpha.
Rgba Scale(const Rgba& c, double factor);

class Canvas {
 public:
  Canvas(int width, int height, Rgba fill = Rgba{0, 0, 0, 255});

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Contains(int x, int y) const;

  // Out-of-range reads give transparent black.
  Rgba Get(int x, int y) const;
  void Set(int x, int y, const Rgba& c);
  // Paints c over the pixel with the given coverage (0..1).
  void Blend(int x, int y, const Rgba& c, double coverage);
  void FillRect(int x, int y, int width, int height, const Rgba& c);
  // A one pixel outline of the rectangle.
  void FrameRect(int x, int y, int width, int height, const Rgba& c);
  // Copies src at (x, y); with keyBlack the pure black pixels of src are
  // left out, which is how the game itself lays its pictures over each other.
  void Paste(const Canvas& src, int x, int y, bool keyBlack);
  // Copies a part of src (its top-left corner at srcX, srcY).
  void PasteRect(const Canvas& src, int x, int y, int srcX, int srcY, int width, int height,
                 bool keyBlack);

 private:
  int width_;
  int height_;
  std::vector<Rgba> pixels_;
};
