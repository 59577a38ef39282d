// The start prompt and the game-over banner, laid over the well.
#include "Palette.h"
#include "Pictures.h"
#include "Text.h"

namespace {

// A dark plate with a bevelled rim and clipped corners; what lies outside it
// stays black and so lets the well show through.
void DrawPlate(Canvas& canvas, int inset, Rgba fill, Rgba rimLight, Rgba rimDark) {
  const int left = inset, top = inset;
  const int right = canvas.Width() - 1 - inset, bottom = canvas.Height() - 1 - inset;
  canvas.FillRect(left + 1, top + 1, right - left - 1, bottom - top - 1, fill);
  canvas.FillRect(left + 2, top, right - left - 3, 1, rimLight);
  canvas.FillRect(left, top + 2, 1, bottom - top - 3, rimLight);
  canvas.Set(left + 1, top + 1, rimLight);
  canvas.FillRect(left + 2, bottom, right - left - 3, 1, rimDark);
  canvas.FillRect(right, top + 2, 1, bottom - top - 3, rimDark);
  canvas.Set(right - 1, bottom - 1, rimDark);
  canvas.Set(right - 1, top + 1, Mix(rimLight, rimDark, 0.5));
  canvas.Set(left + 1, bottom - 1, Mix(rimLight, rimDark, 0.5));
}

}  // namespace

Canvas DrawStartPicture() {
  Canvas canvas(160, 100);
  DrawPlate(canvas, 4, palette::kPanel, MakeRgb(120, 230, 140), MakeRgb(40, 120, 60));
  const int centre = canvas.Width() / 2;
  const TextStyle big = WithShadow(
      UniformTextStyle(2, 2, palette::kDigitTop, palette::kDigitBottom), palette::kDigitShadow, 1, 1);
  DrawTextCentered(canvas, centre, 16, "PRESS F1", big);
  DrawTextCentered(canvas, centre, 38, "TO START", big);
  canvas.FillRect(24, 63, canvas.Width() - 48, 1, MakeRgb(40, 90, 56));
  const TextStyle small =
      WithShadow(UniformTextStyle(1, 1, MakeRgb(200, 196, 240), MakeRgb(150, 144, 210)),
                 palette::kShadow, 1, 1);
  DrawTextCentered(canvas, centre, 73, "ESC TO QUIT", small);
  return canvas;
}

Canvas DrawGameOverPicture() {
  Canvas canvas(160, 50);
  DrawPlate(canvas, 4, MakeRgb(30, 6, 14), MakeRgb(255, 110, 110), MakeRgb(130, 20, 30));
  TextStyle big = UniformTextStyle(2, 2, MakeRgb(255, 120, 100), MakeRgb(210, 20, 36));
  const int columns[kGlyphColumns] = {3, 2, 2, 2, 3};
  const int rows[kGlyphRows] = {3, 3, 3, 3, 3, 3, 3};
  for (int i = 0; i < kGlyphColumns; ++i) big.columnWidths[i] = columns[i];
  for (int i = 0; i < kGlyphRows; ++i) big.rowHeights[i] = rows[i];
  big = WithShadow(big, MakeRgb(90, 4, 16), 1, 1);
  DrawTextCentered(canvas, canvas.Width() / 2, (canvas.Height() - GlyphHeight(big)) / 2, "GAME OVER",
                   big);
  return canvas;
}
