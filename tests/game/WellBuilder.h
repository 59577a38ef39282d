#pragma once
// Builds and reads well states so the tests read like the pictures they describe.

#include <algorithm>
#include <initializer_list>
#include <string>

#include "game/GameRandom.h"
#include "game/GameState.h"

namespace well {

const int columns = GameState::wellColumns;
const int rows = GameState::wellRows;
const int bottom = rows - 1;

enum Piece { I = 0, O = 1, S = 2, Z = 3, J = 4, L = 5, T = 6 };

inline unsigned char& At(GameState& g, int column, int row) { return g.cells[column * rows + row]; }

// A running game with an empty well, dealt from a restarted generator.
inline GameState Running()
{
    gameRandom.Restart();
    GameState g;
    g.NewGame();
    return g;
}

// Fills the rows first..last with one tile, leaving the listed columns empty.
inline void Fill(GameState& g, int first, int last, unsigned char tile, std::initializer_list<int> gaps = {})
{
    for (int r = first; r <= last; ++r)
        for (int k = 0; k < columns; ++k)
            At(g, k, r) = std::find(gaps.begin(), gaps.end(), k) == gaps.end() ? tile : 0;
}

// A row as text: '.' for empty, the tile digit otherwise ("1111.11111").
inline std::string Row(const GameState& g, int row)
{
    std::string text;
    for (int k = 0; k < columns; ++k)
        text += g.cells[k * rows + row] ? static_cast<char>('0' + g.cells[k * rows + row]) : '.';
    return text;
}

inline int BlockCount(const GameState& g) { return columns * rows - std::count(g.cells, g.cells + columns * rows, 0); }

inline bool SameState(const GameState& a, const GameState& b)
{
    return std::equal(a.cells, a.cells + columns * rows, b.cells) && a.active == b.active && a.piece == b.piece &&
           a.nextPiece == b.nextPiece && a.rotation == b.rotation && a.fallCounter == b.fallCounter &&
           a.pieceX == b.pieceX && a.pieceY == b.pieceY && a.score == b.score && a.lines == b.lines &&
           a.level == b.level && a.fallDelay == b.fallDelay;
}

// Puts the falling piece somewhere by hand.
inline void Place(GameState& g, int p, int q, int x, int y) { g.piece = p, g.rotation = q, g.pieceX = x, g.pieceY = y; }

// Soft-drops until the falling piece locks (the next one is then dealt at
// row -1); returns the rows it descended.
inline int DropToLock(GameState& g)
{
    int descended = 0;
    while (g.Fall(0) && g.pieceY != -1)
        ++descended;
    return descended;
}

}  // namespace well
