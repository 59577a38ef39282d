// The application object: everything the game owns, in one static object.
#ifndef VORBLOX_APP_PMAIN_H
#define VORBLOX_APP_PMAIN_H

#include "game/GameState.h"
#include "graphics/Display.h"
#include "graphics/Surface.h"
#include "shell/MainWindow.h"
#include "system/Keyboard.h"

#include <stdint.h>

class PMAIN : public MainWindow {
public:
    PMAIN();
    ~PMAIN();

    // Start-up: 1 when the game can run, 0 after the player was told why not.
    int Init();
    // One step of the game: read the keys, advance, redraw if anything changed.
    void Tick();
    // Composes the whole frame on the back buffer and presents it.
    void Draw();
    // Draws formatted text in the bitmap font at (x, y).
    void Print(int32_t x, int32_t y, const char* format, ...);
    void Release();
    void Quit();

    // True while a tick could change nothing at all: no game runs, no key was
    // down at the last read, nothing waits to be drawn. The message loop then
    // sleeps until a message arrives instead of ticking.
    bool Idle() const;

    Display mainDisplay;
    Keyboard mainKeyboard;
    Surface backgroundSurface;
    Surface tilesSurface;
    Surface fontSurface;
    Surface startSurface;
    Surface gameOverSurface;
    GameState game;
    int32_t leftRepeat;
    int32_t rightRepeat;
    int32_t redrawPending;
    int32_t awaitingFirstGame;
    int32_t ready;

private:
    int LoadPictures();
    // Releases everything and names the DirectX failure that stopped the
    // start-up. Always 0.
    int StopWithDxError();
    // Draws the whole frame on the back buffer.
    void Compose();
};

// The one application object.
extern PMAIN application;

#endif
