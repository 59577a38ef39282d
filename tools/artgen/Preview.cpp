// Puts a frame together the way the game does, from the finished pictures
// only, so that the artwork can be judged in place.
#include <cctype>
#include <cstring>

#include "Layout.h"
#include "Pictures.h"

namespace {

void PrintValue(Canvas& frame, const Canvas& font, int x, int y, const char* text) {
  for (int i = 0; text[i]; ++i) {
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
    const char* found = std::strchr(kFontGlyphs, c);
    const int g = (found && c) ? static_cast<int>(found - kFontGlyphs) : 0;
    frame.PasteRect(font, x + kValueSpacing * i, y - 1, g * kCell + kGlyphUsedLeft, 0,
                    kGlyphUsedWidth, kCell, true);
  }
}

void PutTile(Canvas& frame, const Canvas& tiles, int x, int y, int tile) {
  frame.PasteRect(tiles, x, y, tile * kCell, 0, kCell, kCell, true);
}

}  // namespace

Canvas DrawPreviewFrame() {
  const Canvas background = DrawMainPicture();
  const Canvas tiles = DrawBlocksPicture();
  const Canvas font = DrawFontPicture();
  Canvas frame(kScreenWidth, kScreenHeight);
  frame.Paste(background, 0, 0, false);

  // A settled stack in the bottom rows ('.' is an empty cell) and a falling
  // piece above it.
  const char* const stack[] = {
      "......4...", "5....444..", "55..2217.6", "35332117766", "3344221177", "1544.61376",
  };
  const int stackRows = static_cast<int>(sizeof stack / sizeof stack[0]);
  for (int r = 0; r < stackRows; ++r)
    for (int k = 0; k < kWellColumns; ++k) {
      const char c = stack[r][k];
      PutTile(frame, tiles, kWell.x + kCell * k, kWell.y + kCell * (kWellRows - stackRows + r),
              c == '.' ? 0 : c - '0');
    }
  const int falling[][2] = {{4, 8}, {5, 8}, {5, 9}, {6, 9}};
  for (const auto& p : falling) PutTile(frame, tiles, kWell.x + kCell * p[0], kWell.y + kCell * p[1], 1);

  PrintValue(frame, font, kValueX, kValueBars[0].y, "1400");
  PrintValue(frame, font, kValueX, kValueBars[1].y, "37");
  PrintValue(frame, font, kValueX, kValueBars[2].y, "4");
  // The next piece: a T in the upper rows of the box.
  const int next[][2] = {{0, 1}, {1, 1}, {2, 1}, {1, 2}};
  for (const auto& p : next) PutTile(frame, tiles, kNextBox.x + kCell * p[0], kNextBox.y + kCell * p[1], 4);

  frame.Paste(DrawGameOverPicture(), kGameOverX, kGameOverY, true);
  frame.Paste(DrawStartPicture(), kStartX, kStartY, true);
  return frame;
}
