#include "Text.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Ink coverage of a whole text, with a margin for the outline and shadow.
class InkMask {
 public:
  InkMask(int width, int height, int margin)
      : width_(width + 2 * margin), height_(height + 2 * margin), margin_(margin),
        ink_(static_cast<size_t>(width_) * height_, false) {}

  void Mark(int x, int y) {
    if (Inside(x, y)) ink_[Index(x, y)] = true;
  }
  bool Ink(int x, int y) const { return Inside(x, y) && ink_[Index(x, y)]; }
  int Left() const { return -margin_; }
  int Top() const { return -margin_; }
  int Right() const { return width_ - margin_; }
  int Bottom() const { return height_ - margin_; }

 private:
  bool Inside(int x, int y) const {
    return x >= -margin_ && y >= -margin_ && x < width_ - margin_ && y < height_ - margin_;
  }
  size_t Index(int x, int y) const {
    return static_cast<size_t>(y + margin_) * width_ + (x + margin_);
  }

  int width_;
  int height_;
  int margin_;
  std::vector<bool> ink_;
};

void MarkGlyph(InkMask& mask, int x, int y, const Glyph& glyph, const TextStyle& style) {
  int top = y;
  for (int row = 0; row < GlyphDrop(glyph.ch); ++row) top += style.rowHeights[row];
  for (int row = 0; row < kGlyphRows; ++row) {
    int left = x;
    for (int column = 0; column < kGlyphColumns; ++column) {
      if (GlyphInk(glyph, column, row)) {
        for (int j = 0; j < style.rowHeights[row]; ++j)
          for (int i = 0; i < style.columnWidths[column]; ++i) mask.Mark(left + i, top + j);
      }
      left += style.columnWidths[column];
    }
    top += style.rowHeights[row];
  }
}

bool NearInk(const InkMask& mask, int x, int y) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (mask.Ink(x + dx, y + dy)) return true;
  return false;
}

}  // namespace

TextStyle UniformTextStyle(int scale, int spacing, Rgba top, Rgba bottom) {
  TextStyle style{};
  for (int& w : style.columnWidths) w = scale;
  for (int& h : style.rowHeights) h = scale;
  style.spacing = spacing;
  style.top = top;
  style.bottom = bottom;
  return style;
}

TextStyle WithShadow(TextStyle style, Rgba color, int dx, int dy) {
  style.shadow = true;
  style.shadowColor = color;
  style.shadowDx = dx;
  style.shadowDy = dy;
  return style;
}

TextStyle WithOutline(TextStyle style, Rgba color) {
  style.outline = true;
  style.outlineColor = color;
  return style;
}

int GlyphWidth(const TextStyle& style) {
  int width = 0;
  for (int w : style.columnWidths) width += w;
  return width;
}

int GlyphHeight(const TextStyle& style) {
  int height = 0;
  for (int h : style.rowHeights) height += h;
  return height;
}

int TextWidth(const char* text, const TextStyle& style) {
  const int count = static_cast<int>(std::strlen(text));
  if (count == 0) return 0;
  return count * GlyphWidth(style) + (count - 1) * style.spacing;
}

void DrawText(Canvas& canvas, int x, int y, const char* text, const TextStyle& style) {
  const int width = TextWidth(text, style);
  const int height = GlyphHeight(style);
  const int tails = style.rowHeights[0] + style.rowHeights[1];  // room for GlyphDrop
  const int margin = 1 + (style.shadow ? std::max(style.shadowDx, style.shadowDy) : 0);
  InkMask mask(width, height + tails, margin);
  int pen = 0;
  for (const char* p = text; *p; ++p) {
    if (const Glyph* glyph = FindGlyph(*p)) MarkGlyph(mask, pen, 0, *glyph, style);
    pen += GlyphWidth(style) + style.spacing;
  }

  for (int j = mask.Top(); j < mask.Bottom(); ++j) {
    for (int i = mask.Left(); i < mask.Right(); ++i) {
      if (mask.Ink(i, j)) {
        const double t = height > 1 ? static_cast<double>(j) / (height - 1) : 0.0;
        canvas.Set(x + i, y + j, Mix(style.top, style.bottom, t));
      } else if (style.outline && NearInk(mask, i, j)) {
        canvas.Set(x + i, y + j, style.outlineColor);
      } else if (style.shadow && mask.Ink(i - style.shadowDx, j - style.shadowDy)) {
        canvas.Set(x + i, y + j, style.shadowColor);
      }
    }
  }
}

void DrawTextCentered(Canvas& canvas, int centreX, int y, const char* text,
                      const TextStyle& style) {
  DrawText(canvas, centreX - TextWidth(text, style) / 2, y, text, style);
}
