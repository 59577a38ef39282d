#ifndef VORBLOX_TESTS_GAME_WELLBUILDER_H
#define VORBLOX_TESTS_GAME_WELLBUILDER_H

// Builds and reads well states so the tests read like the pictures they describe.

#include <cstring>
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
    for (int r = first; r <= last; ++r) {
        for (int k = 0; k < columns; ++k)
            At(g, k, r) = tile;
        for (int k : gaps)
            At(g, k, r) = 0;
    }
}

// A row as text: '.' for empty, the tile digit otherwise ("1111.11111").
inline std::string Row(const GameState& g, int row)
{
    std::string text;
    for (int k = 0; k < columns; ++k) {
        unsigned char tile = g.cells[k * rows + row];
        text += tile ? static_cast<char>('0' + tile) : '.';
    }
    return text;
}

inline int BlockCount(const GameState& g)
{
    int blocks = 0;
    for (unsigned char tile : g.cells)
        blocks += tile != 0;
    return blocks;
}

inline bool SameState(const GameState& a, const GameState& b)
{
    return memcmp(a.cells, b.cells, sizeof a.cells) == 0 && a.active == b.active && a.piece == b.piece &&
           a.nextPiece == b.nextPiece && a.rotation == b.rotation && a.fallCounter == b.fallCounter &&
           a.pieceX == b.pieceX && a.pieceY == b.pieceY && a.score == b.score && a.lines == b.lines &&
           a.level == b.level && a.fallDelay == b.fallDelay;
}

inline void Place(GameState& g, int type, int rotation, int x, int y)
{
    g.piece = type;
    g.rotation = rotation;
    g.pieceX = x;
    g.pieceY = y;
}

// Soft-drops until the falling piece locks; returns the rows it descended.
inline int DropToLock(GameState& g)
{
    for (int descended = 0;; ++descended) {
        const int y = g.pieceY;
        if (!g.Fall(0) || g.pieceY != y + 1)
            return descended;  // stopped, or locked with the next piece dealt at -1
    }
}

}  // namespace well

#endif
