#pragma once
// The look of one block: a square in its colour with a light rim at the top
// and left, a dark rim at the bottom and right, darker towards its edges and
// brightest in the middle. Used for the game's tiles and for the icon.
#include "Canvas.h"

// The seven block colours in tile order (tile 1 .. tile 7).
constexpr int kBlockColours = 7;
Rgba BlockColour(int index);

void DrawBlock(Canvas& canvas, int x, int y, int size, Rgba colour);
