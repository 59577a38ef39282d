#pragma once
// Writing with the pixel font of Fonts.h. Each design cell of a glyph becomes
// a block of pixels whose width and height depend on its column and row, so
// the same shapes serve small labels (1 x 1), big captions (2 x 2, 3 x 3) and
// the chunky counter digits (uneven sizes that keep strokes two pixels thick).
#include "Canvas.h"
#include "Fonts.h"

struct TextStyle {
  int columnWidths[kGlyphColumns];
  int rowHeights[kGlyphRows];
  int spacing;        // empty pixels between neighbouring glyphs
  Rgba top;           // ink colour at the top of a glyph ...
  Rgba bottom;        // ... fading to this at its bottom
  bool shadow;        // a copy of the ink behind it, shifted right and down
  Rgba shadowColor;
  int shadowDx;
  int shadowDy;
  bool outline;       // a one pixel ring round every stroke
  Rgba outlineColor;
};

TextStyle UniformTextStyle(int scale, int spacing, Rgba top, Rgba bottom);
TextStyle WithShadow(TextStyle style, Rgba color, int dx, int dy);
TextStyle WithOutline(TextStyle style, Rgba color);

int GlyphWidth(const TextStyle& style);
int GlyphHeight(const TextStyle& style);
// Width of the ink of text, without shadow or outline.
int TextWidth(const char* text, const TextStyle& style);

// Draws text with the top-left corner of its first glyph's ink at (x, y).
// Characters the font lacks are drawn as blanks.
void DrawText(Canvas& canvas, int x, int y, const char* text, const TextStyle& style);
void DrawTextCentered(Canvas& canvas, int centreX, int y, const char* text,
                      const TextStyle& style);
