#include "Tiles.h"

#include <algorithm>
#include <cmath>

namespace {

const Rgba kWhite{255, 255, 255, 255};

}  // namespace

Rgba BlockColour(int index) {
  static const Rgba kColours[kBlockColours] = {
      MakeRgb(226, 38, 44),   // red
      MakeRgb(44, 92, 238),   // blue
      MakeRgb(240, 204, 28),  // yellow
      MakeRgb(206, 48, 210),  // magenta
      MakeRgb(40, 196, 64),   // green
      MakeRgb(28, 204, 222),  // cyan
      MakeRgb(246, 136, 24),  // orange
  };
  return kColours[std::clamp(index, 0, kBlockColours - 1)];
}

void DrawBlock(Canvas& canvas, int x, int y, int size, Rgba colour) {
  if (size <= 0) return;
  const double half = (size - 1) / 2.0;
  // Rims scale with the block so the icon's big blocks keep the same look.
  const int rim = std::max(1, size / 16);
  for (int j = 0; j < size; ++j) {
    for (int i = 0; i < size; ++i) {
      const int edge = std::min({i, j, size - 1 - i, size - 1 - j});
      // A round glow rather than square steps: distance from the middle,
      // nudged so the light seems to come from the top left.
      const double u = half > 0 ? (i - half) / half : 0.0;
      const double v = half > 0 ? (j - half) / half : 0.0;
      const double glow = 1.0 - std::min(1.0, std::hypot(u, v) / 1.35);
      const double light = 0.52 + 0.48 * glow - 0.07 * (u + v) / 2.0;
      Rgba c = Mix(Scale(colour, light), kWhite, 0.36 * glow * glow * glow);
      // Which bevel a rim pixel belongs to: the diagonal from the bottom-left
      // to the top-right corner splits the light rims from the dark ones.
      const bool lit = i + j < size - 1;
      if (edge < rim) {
        c = lit ? Mix(colour, kWhite, 0.5) : Scale(colour, 0.42);
      } else if (edge < 2 * rim && size >= 8) {
        c = lit ? Mix(c, kWhite, 0.22) : Scale(c, 0.72);
      }
      canvas.Set(x + i, y + j, c);
    }
  }
}
