#include "app/PMAIN.h"

#include "game/PieceShapes.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

namespace {

const char FontGlyphs[] = " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

const int32_t wellColumns = 10;
const int32_t wellRows = 23;
const int32_t cellSize = 16;
const int32_t wellLeft = 16;
const int32_t wellTop = 16;
const int32_t nextLeft = 209;
const int32_t nextTop = 112;

// A glyph is 16 pixels wide in the font picture, but only its middle ten
// columns are drawn and characters stand ten pixels apart.
const int32_t glyphInset = 3;
const int32_t glyphWidth = 10;

// How often one frame is drawn when its surfaces keep getting lost.
const int frameAttempts = 3;

int32_t GlyphOf(char c)
{
    const char* found = c ? strchr(FontGlyphs, c) : NULL;
    return found ? (int32_t)(found - FontGlyphs) : 0;
}

}  // namespace

// A blit that meets a loss restores the surfaces, but the back buffer then
// holds garbage under everything drawn before that blit, and a present that
// meets one has no frame left to show: the frame is drawn again from the
// start. Surfaces lost over and over cost this frame, never the game.
void PMAIN::Draw()
{
    if (!ready) return;
    for (int attempt = 0; attempt < frameAttempts; ++attempt) {
        DWORD restores = mainDisplay.restores;
        Compose();
        if (mainDisplay.restores != restores) continue;
        mainDisplay.Present();
        if (mainDisplay.restores == restores) return;
    }
}

void PMAIN::Compose()
{
    Surface& target = *mainDisplay.target;

    backgroundSurface.Blit(target, 0, 0);

    for (int32_t row = 0; row < wellRows; ++row)
        for (int32_t column = 0; column < wellColumns; ++column)
            tilesSurface.BlitRect(target, wellLeft + cellSize * column, wellTop + cellSize * row,
                                  cellSize * game.cells[column * wellRows + row], 0, cellSize, cellSize);

    const unsigned char* shape = PieceShapes + game.piece * 64 + game.rotation * 16;
    for (int32_t j = 0; j < 4; ++j) {
        for (int32_t l = 0; l < 4; ++l) {
            unsigned char tile = shape[j * 4 + l];
            int32_t column = game.pieceX - 1 + l;
            int32_t row = game.pieceY - 1 + j;
            if (!tile || column < 0 || column >= wellColumns || row < 0 || row >= wellRows) continue;
            tilesSurface.BlitRect(target, wellLeft + cellSize * column, wellTop + cellSize * row, cellSize * tile, 0,
                                  cellSize, cellSize);
        }
    }

    Print(192, 16, "%d", game.score);
    Print(192, 48, "%d", game.lines);
    Print(192, 80, "%d", game.level);

    const unsigned char* next = PieceShapes + game.nextPiece * 64;
    for (int32_t j = 0; j < 4; ++j)
        for (int32_t l = 0; l < 4; ++l)
            tilesSurface.BlitRect(target, nextLeft + cellSize * l, nextTop + cellSize * j, cellSize * next[j * 4 + l],
                                  0, cellSize, cellSize);

    if (!game.active) {
        if (!awaitingFirstGame) gameOverSurface.Blit(target, 16, 100);
        startSurface.Blit(target, 16, 150);
    }
}

void PMAIN::Print(int32_t x, int32_t y, const char* format, ...)
{
    // Longer texts are cut at the buffer's end rather than overrun it.
    char text[1024];
    va_list values;
    va_start(values, format);
    vsnprintf(text, sizeof text, format, values);
    va_end(values);

    for (int32_t i = 0; text[i]; ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
        fontSurface.BlitRect(*mainDisplay.target, x + glyphWidth * i, y - 1, cellSize * GlyphOf(c) + glyphInset, 0,
                             glyphWidth, cellSize);
    }
}
