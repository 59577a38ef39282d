// The two picture sheets the game cuts up: blocks and counter glyphs.
#include "Layout.h"
#include "Palette.h"
#include "Pictures.h"
#include "Text.h"
#include "Tiles.h"

Canvas DrawBlocksPicture() {
  // Tile 0 stays black: it is the empty cell and black is see-through.
  Canvas canvas(kTiles * kCell, kCell);
  for (int tile = 1; tile < kTiles; ++tile)
    DrawBlock(canvas, tile * kCell, 0, kCell, BlockColour(tile - 1));
  return canvas;
}

Canvas DrawFontPicture() {
  Canvas canvas(kFontGlyphCount * kCell, kCell);
  const TextStyle style = CounterTextStyle();
  // The 8 x 12 ink sits in cell columns 5..12, the right end of the ten
  // columns the game copies: on screen a digit then keeps two pixels off the
  // bar's left end and two off its neighbour, and (one pixel higher) rows
  // y+1..y+13 of the bar with its shadow.
  const int inkLeft = kGlyphUsedLeft + kGlyphUsedWidth - 8;
  const int inkTop = 2;
  for (int g = 0; g < kFontGlyphCount; ++g) {
    const char text[2] = {kFontGlyphs[g], '\0'};
    DrawText(canvas, g * kCell + inkLeft, inkTop, text, style);
  }
  return canvas;
}
