#pragma once
// Where the game puts things on its 300 x 400 screen; the background has to
// leave the right places dark and plain.

struct Box {
  int x, y, width, height;
  int Right() const { return x + width - 1; }
  int Bottom() const { return y + height - 1; }
};

constexpr int kScreenWidth = 300;
constexpr int kScreenHeight = 400;
constexpr int kCell = 16;
constexpr int kWellColumns = 10;
constexpr int kWellRows = 23;
constexpr Box kWell{16, 16, kWellColumns * kCell, kWellRows * kCell};  // x 16..175, y 16..383
// The score, lines and level values, drawn from x 192 one pixel above the bar.
constexpr Box kValueBars[3] = {{193, 16, 95, 15}, {193, 48, 95, 15}, {193, 80, 95, 15}};
constexpr int kValueX = 192;
constexpr int kValueSpacing = 10;
// 4 x 4 cells from (209, 112); the dark area takes in the last cells' far edges.
constexpr Box kNextBox{209, 112, 4 * kCell, 4 * kCell};
constexpr int kGameOverX = 16, kGameOverY = 100;
constexpr int kStartX = 16, kStartY = 150;

// The picture sheets.
constexpr int kTiles = 8;
constexpr char kFontGlyphs[] = " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr int kFontGlyphCount = sizeof kFontGlyphs - 1;
// The game copies only these columns of each 16-pixel glyph cell.
constexpr int kGlyphUsedLeft = 3;
constexpr int kGlyphUsedWidth = 10;
