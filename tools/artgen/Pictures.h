#pragma once
// The game's artwork, each picture drawn from scratch.
#include "Canvas.h"

Canvas DrawMainPicture();      // PIC_MAIN, 300 x 400
Canvas DrawBlocksPicture();    // PIC_BLOCKS, 128 x 16
Canvas DrawFontPicture();      // PIC_FONTS, 592 x 16
Canvas DrawStartPicture();     // PIC_STARTTXT, 160 x 100
Canvas DrawGameOverPicture();  // PIC_GAMEOVER, 160 x 50
Canvas DrawIcon(int size);     // one image of IDI_APPLICATION, with alpha
Canvas DrawMaskableIcon(int size);  // opaque, for launchers that cut their own shape

// A made-up game frame put together from the pictures the way the game does
// it, for judging the artwork as a whole.
Canvas DrawPreviewFrame();
