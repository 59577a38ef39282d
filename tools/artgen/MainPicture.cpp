#include <cmath>

#include "Layout.h"
#include "Palette.h"
#include "Pictures.h"
#include "Text.h"
#include "Tiles.h"

namespace {

void DrawBackdrop(Canvas& canvas) {
  const Rgba top = MakeRgb(40, 30, 82);
  const Rgba bottom = MakeRgb(14, 16, 44);
  for (int y = 0; y < canvas.Height(); ++y) {
    const Rgba row = Mix(top, bottom, static_cast<double>(y) / (canvas.Height() - 1));
    for (int x = 0; x < canvas.Width(); ++x) {
      // Faint diagonal threads give the plain gradient some texture.
      const bool thread = (x + y) % 8 == 0;
      canvas.Set(x, y, thread ? Mix(row, MakeRgb(120, 110, 200), 0.07) : row);
    }
  }
}

// Rings round the box, from the inside out; each ring is lit on one pair of
// sides and shaded on the other.
struct Ring {
  Rgba topLeft;
  Rgba bottomRight;
};

void DrawRings(Canvas& canvas, const Box& box, const Ring* rings, int count) {
  for (int k = 0; k < count; ++k) {
    const int left = box.x - 1 - k, top = box.y - 1 - k;
    const int right = box.Right() + 1 + k, bottom = box.Bottom() + 1 + k;
    const Rgba tl = rings[k].topLeft, br = rings[k].bottomRight;
    canvas.FillRect(left, top, right - left + 1, 1, tl);
    canvas.FillRect(left, top, 1, bottom - top + 1, tl);
    canvas.FillRect(left + 1, bottom, right - left, 1, br);
    canvas.FillRect(right, top + 1, 1, bottom - top, br);
  }
}

// A sunken well inside a raised rim.
void DrawFrame(Canvas& canvas, const Box& box, int raisedRings) {
  using namespace palette;
  const Ring rings[] = {
      {kFrameDark, kFrameMid},
      {Mix(kFrameDark, kFrameMid, 0.5), Mix(kFrameMid, kFrameLight, 0.5)},
      {kFrameLight, kFrameDark},
      {Mix(kFrameLight, kFrameMid, 0.5), Mix(kFrameDark, kFrameMid, 0.3)},
  };
  DrawRings(canvas, box, rings, 2 + raisedRings);
}

void DrawGridArea(Canvas& canvas, const Box& box) {
  canvas.FillRect(box.x, box.y, box.width, box.height, palette::kWellFloor);
  for (int y = box.y; y <= box.Bottom(); ++y) {
    for (int x = box.x; x <= box.Right(); ++x) {
      const int cx = (x - box.x) % kCell, cy = (y - box.y) % kCell;
      if (cx == 0 || cy == 0) canvas.Set(x, y, palette::kWellGrid);
    }
  }
}

void DrawTitle(Canvas& canvas, int centreX, int y) {
  TextStyle title = WithOutline(
      UniformTextStyle(2, 2, MakeRgb(255, 226, 140), MakeRgb(244, 112, 58)), MakeRgb(48, 14, 30));
  DrawTextCentered(canvas, centreX, y, "VORBLOX", title);
}

// A little stack of blocks under the title, a hint of what the game is about.
void DrawEmblem(Canvas& canvas, int centreX, int y) {
  const int size = 10;
  // (column, row, colour) of each block; the columns are centred on centreX.
  const int blocks[][3] = {{0, 0, 3}, {0, 1, 3}, {1, 1, 3}, {1, 0, 5}, {2, 0, 5},
                           {3, 0, 5}, {2, 1, 6}, {3, 1, 6}, {4, 1, 6}, {4, 0, 6}};
  const int left = centreX - 5 * size / 2;
  for (const auto& b : blocks) DrawBlock(canvas, left + b[0] * size, y + b[1] * size, size,
                                          BlockColour(b[2]));
}

void DrawControls(Canvas& canvas, int x, int y) {
  const TextStyle keys = WithShadow(
      UniformTextStyle(1, 1, MakeRgb(236, 232, 255), MakeRgb(196, 190, 240)), palette::kShadow, 1, 1);
  const TextStyle actions = WithShadow(
      UniformTextStyle(1, 1, MakeRgb(150, 142, 210), MakeRgb(120, 112, 184)), palette::kShadow, 1, 1);
  const char arrows[] = {kArrowLeft, ' ', kArrowRight, '\0'};
  const char up[] = {kArrowUp, ' ', 'S', 'h', 'i', 'f', 't', '\0'};
  const char down[] = {kArrowDown, '\0'};
  const struct {
    const char* key;
    const char* action;
  } lines[] = {{arrows, "move"},   {up, "turn left"}, {"Ctrl", "turn right"},
               {down, "drop"},     {"F1", "new game"}, {"Esc", "quit"}};
  int line = 0;
  for (const auto& l : lines) {
    DrawText(canvas, x, y + line * 12, l.key, keys);
    DrawText(canvas, x + 50, y + line * 12, l.action, actions);
    ++line;
  }
}

}  // namespace

Canvas DrawMainPicture() {
  Canvas canvas(kScreenWidth, kScreenHeight);
  DrawBackdrop(canvas);

  DrawFrame(canvas, kWell, 2);
  DrawGridArea(canvas, kWell);

  const TextStyle label = LabelTextStyle();
  const char* const labels[3] = {"Score", "Lines", "Level"};
  for (int i = 0; i < 3; ++i) {
    const Box& bar = kValueBars[i];
    DrawFrame(canvas, bar, 0);
    canvas.FillRect(bar.x, bar.y, bar.width, bar.height, palette::kWellFloor);
    DrawText(canvas, bar.x, bar.y - 11, labels[i], label);
  }
  DrawFrame(canvas, kNextBox, 0);
  DrawGridArea(canvas, kNextBox);
  DrawText(canvas, kNextBox.x, kNextBox.y - 11, "Next", label);

  const int panelCentre = (kValueBars[0].x + kValueBars[0].Right() + 1) / 2;
  DrawTitle(canvas, panelCentre, 204);
  DrawEmblem(canvas, panelCentre, 232);
  DrawControls(canvas, 186, 300);
  return canvas;
}
