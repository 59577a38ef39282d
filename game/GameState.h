#ifndef VORBLOX_GAME_GAMESTATE_H
#define VORBLOX_GAME_GAMESTATE_H

#include <cstdint>

// The whole rules state of one game: the well, the falling and next pieces
// and the counters. The screen reads the fields directly, so they stay a
// plain public record in this order.
//
// The well is 10 columns by 23 rows, column 0 on the left and row 0 at the
// top. A piece's 4 x 4 grid column l, grid row j covers well column
// pieceX - 1 + l and well row pieceY - 1 + j. Rows above the well exist only
// as places a falling piece may be; nothing is stored there.
//
// Operations with a result return 1 when something visible changed and 0
// otherwise; while no game is running (active 0) they all return 0 and
// change nothing.
class GameState {
public:
    static const int32_t wellColumns = 10;
    static const int32_t wellRows = 23;

    unsigned char cells[wellColumns * wellRows];  // cell (k, r) is cells[k * 23 + r]
    int32_t active;
    int32_t piece;
    int32_t nextPiece;
    int32_t rotation;
    int32_t fallCounter;
    int32_t pieceX;
    int32_t pieceY;
    int32_t score;
    int32_t lines;
    int32_t level;
    int32_t fallDelay;

    // Deals a game and then stops it, so the first frame shows an empty well
    // with a Next piece but nothing falling.
    GameState();

    void NewGame();
    void Spawn();
    int Fits(int32_t type, int32_t q, int32_t column, int32_t row) const;
    int MoveLeft();
    int MoveRight();
    int Rotate(int32_t direction);    // 1 clockwise, anything else counter-clockwise
    int Fall(int32_t timed);          // 1 gravity tick, anything else soft drop
    void Lock();
    void ClearLines();

private:
    unsigned char& Cell(int32_t column, int32_t row) { return cells[column * wellRows + row]; }
};

#endif
