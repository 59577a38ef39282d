#pragma once
// The colours and lettering the pictures share, so the screen reads as one.
#include "Canvas.h"
#include "Text.h"

namespace palette {

const Rgba kWellFloor = MakeRgb(8, 9, 21);
const Rgba kWellGrid = MakeRgb(17, 19, 40);
const Rgba kFrameLight = MakeRgb(128, 118, 200);
const Rgba kFrameMid = MakeRgb(70, 62, 132);
const Rgba kFrameDark = MakeRgb(24, 20, 54);
const Rgba kLabelTop = MakeRgb(214, 206, 255);
const Rgba kLabelBottom = MakeRgb(150, 140, 222);
const Rgba kShadow = MakeRgb(6, 5, 16);
const Rgba kDigitTop = MakeRgb(214, 255, 188);
const Rgba kDigitBottom = MakeRgb(84, 212, 96);
const Rgba kDigitShadow = MakeRgb(22, 78, 34);
const Rgba kPanel = MakeRgb(12, 13, 32);

}  // namespace palette

// The counter digits: two-pixel strokes in an 8 x 12 box.
TextStyle CounterTextStyle();
// Small labels at the font's own size.
TextStyle LabelTextStyle();
