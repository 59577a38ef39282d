// The program's icon: a T of four blocks on a dark rounded square.
#include <algorithm>
#include <cmath>

#include "Pictures.h"
#include "Tiles.h"

namespace {

// Signed distance from (px, py) to a rounded square of side size with
// corner radius r (negative inside).
double RoundedSquareDistance(double px, double py, double size, double r) {
  const double half = size / 2.0;
  const double qx = std::fabs(px - half) - (half - r);
  const double qy = std::fabs(py - half) - (half - r);
  const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
  return outside + std::min(std::max(qx, qy), 0.0) - r;
}

// Fraction of the pixel inside the shape, from a 4 x 4 grid of samples.
template <class Inside>
double Coverage(int x, int y, Inside inside) {
  int hits = 0;
  for (int sy = 0; sy < 4; ++sy)
    for (int sx = 0; sx < 4; ++sx)
      if (inside(x + (sx + 0.5) / 4.0, y + (sy + 0.5) / 4.0)) ++hits;
  return hits / 16.0;
}

// An upside-down T of blocks of side `block` on the block grid, centred.
void DrawBlocks(Canvas& canvas, int block) {
  const int size = canvas.Width();
  const int left = (size - 3 * block) / 2;
  const int topRow = (size - 2 * block) / 2;
  DrawBlock(canvas, left + block, topRow, block, BlockColour(3));
  DrawBlock(canvas, left, topRow + block, block, BlockColour(0));
  DrawBlock(canvas, left + block, topRow + block, block, BlockColour(2));
  DrawBlock(canvas, left + 2 * block, topRow + block, block, BlockColour(5));
}

const Rgba kTop = MakeRgb(62, 50, 120), kBottom = MakeRgb(20, 20, 50);

Rgba Background(int y, int size) { return Mix(kTop, kBottom, static_cast<double>(y) / std::max(1, size - 1)); }

}  // namespace

Canvas DrawIcon(int size) {
  Canvas canvas(size, size, Rgba{0, 0, 0, 0});
  const double radius = size * 0.2;
  const double rim = std::max(1.0, size / 24.0);
  const Rgba rimColour = MakeRgb(140, 128, 220);
  for (int y = 0; y < size; ++y) {
    const Rgba fill = Background(y, size);
    for (int x = 0; x < size; ++x) {
      const double outer = Coverage(x, y, [&](double px, double py) {
        return RoundedSquareDistance(px, py, size, radius) <= 0.0;
      });
      const double inner = Coverage(x, y, [&](double px, double py) {
        return RoundedSquareDistance(px, py, size, radius) <= -rim;
      });
      canvas.Blend(x, y, rimColour, outer);
      canvas.Blend(x, y, fill, inner);
    }
  }
  DrawBlocks(canvas, std::max(3, size / 4));
  return canvas;
}

// A launcher cuts its own shape (a circle, a squircle) out of a maskable
// icon, keeping at least the circle of 40% of the side around the centre:
// the background fills the whole square and the blocks stay in that circle.
Canvas DrawMaskableIcon(int size) {
  Canvas canvas(size, size);
  for (int y = 0; y < size; ++y) canvas.FillRect(0, y, size, 1, Background(y, size));
  // The T's far corners lie 1.8 blocks from its centre.
  DrawBlocks(canvas, std::max(3, size / 5));
  return canvas;
}
