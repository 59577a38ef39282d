#include "Canvas.h"

#include <algorithm>
#include <cmath>

namespace {

std::uint8_t Channel(double v) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

}  // namespace

bool operator==(const Rgba& x, const Rgba& y) {
  return x.r == y.r && x.g == y.g && x.b == y.b && x.a == y.a;
}

bool operator!=(const Rgba& x, const Rgba& y) { return !(x == y); }

Rgba MakeRgb(int r, int g, int b) {
  return Rgba{Channel(r), Channel(g), Channel(b), 255};
}

Rgba Mix(const Rgba& from, const Rgba& to, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return Rgba{Channel(from.r + (to.r - from.r) * t), Channel(from.g + (to.g - from.g) * t),
              Channel(from.b + (to.b - from.b) * t), Channel(from.a + (to.a - from.a) * t)};
}

Rgba Scale(const Rgba& c, double factor) {
  return Rgba{Channel(c.r * factor), Channel(c.g * factor), Channel(c.b * factor), c.a};
}

Canvas::Canvas(int width, int height, Rgba fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill) {}

bool Canvas::Contains(int x, int y) const {
  return x >= 0 && y >= 0 && x < width_ && y < height_;
}

Rgba Canvas::Get(int x, int y) const {
  if (!Contains(x, y)) return Rgba{0, 0, 0, 0};
  return pixels_[static_cast<size_t>(y) * width_ + x];
}

void Canvas::Set(int x, int y, const Rgba& c) {
  if (Contains(x, y)) pixels_[static_cast<size_t>(y) * width_ + x] = c;
}

void Canvas::Blend(int x, int y, const Rgba& c, double coverage) {
  if (!Contains(x, y) || coverage <= 0.0) return;
  Rgba& dst = pixels_[static_cast<size_t>(y) * width_ + x];
  // Straight (non-premultiplied) "over" so that half-covered icon edges
  // come out with the right colour and a partial alpha.
  const double sa = (c.a / 255.0) * std::min(coverage, 1.0);
  const double da = dst.a / 255.0;
  const double oa = sa + da * (1.0 - sa);
  if (oa <= 0.0) {
    dst = Rgba{0, 0, 0, 0};
    return;
  }
  auto mix = [&](int s, int d) { return (s * sa + d * da * (1.0 - sa)) / oa; };
  dst = Rgba{Channel(mix(c.r, dst.r)), Channel(mix(c.g, dst.g)), Channel(mix(c.b, dst.b)),
             Channel(oa * 255.0)};
}

void Canvas::FillRect(int x, int y, int width, int height, const Rgba& c) {
  for (int j = y; j < y + height; ++j)
    for (int i = x; i < x + width; ++i) Set(i, j, c);
}

void Canvas::FrameRect(int x, int y, int width, int height, const Rgba& c) {
  if (width <= 0 || height <= 0) return;
  FillRect(x, y, width, 1, c);
  FillRect(x, y + height - 1, width, 1, c);
  FillRect(x, y, 1, height, c);
  FillRect(x + width - 1, y, 1, height, c);
}

void Canvas::Paste(const Canvas& src, int x, int y, bool keyBlack) {
  PasteRect(src, x, y, 0, 0, src.Width(), src.Height(), keyBlack);
}

void Canvas::PasteRect(const Canvas& src, int x, int y, int srcX, int srcY, int width,
                       int height, bool keyBlack) {
  for (int j = 0; j < height; ++j) {
    for (int i = 0; i < width; ++i) {
      if (!src.Contains(srcX + i, srcY + j)) continue;
      const Rgba c = src.Get(srcX + i, srcY + j);
      if (keyBlack && c.r == 0 && c.g == 0 && c.b == 0) continue;
      Set(x + i, y + j, c);
    }
  }
}
