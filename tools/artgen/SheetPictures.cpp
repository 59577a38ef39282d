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
  // The 8 x 12 ink (and its shadow) sits in cell columns 4..12, so the game's
  // ten-column cut from column 3 catches all of it with a gap to the next
  // digit, and on screen (one pixel higher) in rows y+1..y+13 of the bar.
  const int inkLeft = kGlyphUsedLeft + 1;
  const int inkTop = 2;
  for (int g = 0; g < kFontGlyphCount; ++g) {
    const char text[2] = {kFontGlyphs[g], '\0'};
    DrawText(canvas, g * kCell + inkLeft, inkTop, text, style);
  }
  return canvas;
}
