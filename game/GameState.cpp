#include "game/GameState.h"

#include "game/GameRandom.h"
#include "game/PieceShapes.h"

namespace {

const int32_t pieceTypes = 7;
const int32_t rotations = 4;

// The shape grid of a piece, or null for a type or rotation that does not
// exist; such a piece fits nowhere and leaves nothing behind.
const unsigned char* ShapeOf(int32_t type, int32_t q)
{
    if (type < 0 || type >= pieceTypes || q < 0 || q >= rotations)
        return nullptr;
    return PieceShapes + type * 64 + q * 16;
}

// Points for the rows removed by one lock: 200, then 300, 400 and 500 more
// for each further row. A piece spans at most four rows, so a lock never
// completes more; a hand-built well may, and gets the same progression.
int32_t PointsFor(int32_t rows)
{
    return 50 * rows * (rows + 3);
}

}  // namespace

GameState::GameState()
    : cells(), active(0), piece(0), nextPiece(0), rotation(0), fallCounter(0),
      pieceX(0), pieceY(0), score(0), lines(0), level(0), fallDelay(0)
{
    NewGame();
    active = 0;
}

void GameState::NewGame()
{
    for (unsigned char& cell : cells)
        cell = 0;
    active = 1;
    lines = 0;
    score = 0;
    level = 1;
    fallDelay = 60;
    // Twice, so that both the falling piece and the Next piece are fresh
    // draws and the old Next piece is thrown away.
    Spawn();
    Spawn();
}

void GameState::Spawn()
{
    // Not tested against the well: a piece dealt over the stack ends the
    // game only when it locks above the top.
    piece = nextPiece;
    nextPiece = gameRandom.Next() % pieceTypes;
    rotation = 0;
    fallCounter = fallDelay;
    pieceX = 5;
    pieceY = -1;
}

int GameState::Fits(int32_t type, int32_t q, int32_t column, int32_t row) const
{
    if (!active)
        return 0;
    const unsigned char* shape = ShapeOf(type, q);
    if (!shape)
        return 0;
    for (int32_t j = 0; j < 4; ++j) {
        for (int32_t l = 0; l < 4; ++l) {
            if (!shape[j * 4 + l])
                continue;
            // Wide arithmetic so that any caller's position is just "outside".
            const int64_t k = static_cast<int64_t>(column) - 1 + l;
            const int64_t r = static_cast<int64_t>(row) - 1 + j;
            if (k < 0 || k >= wellColumns || r >= wellRows)
                return 0;
            // Above the well only the column matters.
            if (r >= 0 && cells[k * wellRows + r])
                return 0;
        }
    }
    return 1;
}

int GameState::MoveLeft()
{
    if (!active || !Fits(piece, rotation, pieceX - 1, pieceY))
        return 0;
    pieceX -= 1;
    return 1;
}

int GameState::MoveRight()
{
    if (!active || !Fits(piece, rotation, pieceX + 1, pieceY))
        return 0;
    pieceX += 1;
    return 1;
}

int GameState::Rotate(int32_t direction)
{
    if (!active)
        return 0;
    const int32_t step = direction == 1 ? 1 : -1;
    const int32_t turned = (rotation + step) & (rotations - 1);
    // No wall kick: a turn that does not fit in place is refused.
    if (!Fits(piece, turned, pieceX, pieceY))
        return 0;
    rotation = turned;
    return 1;
}

int GameState::Fall(int32_t timed)
{
    if (!active)
        return 0;
    if (timed == 1) {
        fallCounter -= 1;
        if (fallCounter > 0)
            return 0;
    }
    fallCounter = fallDelay;
    if (Fits(piece, rotation, pieceX, pieceY + 1)) {
        pieceY += 1;
        score += 1;
        return 1;
    }
    // Landed: no lock delay, the next piece comes in the same step.
    Lock();
    Spawn();
    return 1;
}

void GameState::Lock()
{
    if (!active)
        return;
    const unsigned char* shape = ShapeOf(piece, rotation);
    if (shape) {
        for (int32_t j = 0; j < 4; ++j) {
            for (int32_t l = 0; l < 4; ++l) {
                const unsigned char tile = shape[j * 4 + l];
                if (!tile)
                    continue;
                const int32_t k = pieceX - 1 + l;
                const int32_t r = pieceY - 1 + j;
                // The visible part of a piece that ends the game stays in
                // the well, so keep writing after a block above the top.
                if (r < 0)
                    active = 0;
                else if (k >= 0 && k < wellColumns && r < wellRows)
                    Cell(k, r) = tile;
            }
        }
    }
    ClearLines();
}

void GameState::ClearLines()
{
    // A lock that ended the game clears and scores nothing.
    if (!active)
        return;
    int32_t full = 0;
    // Scanning downwards means a row that moves into index r has already
    // been looked at, so one pass removes every full row.
    for (int32_t r = 0; r < wellRows; ++r) {
        bool isFull = true;
        for (int32_t k = 0; k < wellColumns && isFull; ++k)
            isFull = Cell(k, r) != 0;
        if (!isFull)
            continue;
        ++full;
        for (int32_t k = 0; k < wellColumns; ++k) {
            for (int32_t n = r; n > 0; --n)
                Cell(k, n) = Cell(k, n - 1);
            // Nothing comes down from above the well.
            Cell(k, 0) = 0;
        }
    }
    lines += full;
    score += PointsFor(full);
    // Checked after every lock, whether or not a row went; at most one
    // level per lock.
    if (lines > (2 * level + 15) * level) {
        level += 1;
        int32_t delay = static_cast<int32_t>(fallDelay * 0.8 - 1.0);
        fallDelay = delay < 0 ? 0 : delay;
    }
}
