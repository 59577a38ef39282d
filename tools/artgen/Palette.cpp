#include "Palette.h"

TextStyle CounterTextStyle() {
  TextStyle style = UniformTextStyle(1, 2, palette::kDigitTop, palette::kDigitBottom);
  // Heavy outer columns and the three bars (top, middle, bottom) get two
  // pixels, the rest one: 8 x 12 with even-looking strokes.
  const int columns[kGlyphColumns] = {2, 1, 2, 1, 2};
  const int rows[kGlyphRows] = {2, 2, 1, 2, 1, 2, 2};
  for (int i = 0; i < kGlyphColumns; ++i) style.columnWidths[i] = columns[i];
  for (int i = 0; i < kGlyphRows; ++i) style.rowHeights[i] = rows[i];
  // The shadow falls straight down: the ink already fills the copied columns
  // to their right edge.
  return WithShadow(style, palette::kDigitShadow, 0, 1);
}

TextStyle LabelTextStyle() {
  return WithShadow(UniformTextStyle(1, 1, palette::kLabelTop, palette::kLabelBottom),
                    palette::kShadow, 1, 1);
}
