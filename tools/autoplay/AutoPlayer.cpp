#include "tools/autoplay/AutoPlayer.h"

#include "game/PieceShapes.h"

#include <dinput.h>

#include <string.h>

namespace {

const int32_t columns = GameState::wellColumns;
const int32_t rows = GameState::wellRows;

struct Well {
    unsigned char cells[columns * rows];
    unsigned char& At(int32_t k, int32_t r) { return cells[k * rows + r]; }
};

// Writes the piece into the well at its resting place and scores the result
// with the usual hand-tuned weights: low, flat, few holes, rows cleared.
double Evaluate(const GameState& game, int32_t q, int32_t x, int32_t y)
{
    Well well;
    memcpy(well.cells, game.cells, sizeof well.cells);
    const unsigned char* shape = PieceShapes + game.piece * 64 + q * 16;
    for (int32_t j = 0; j < 4; ++j)
        for (int32_t l = 0; l < 4; ++l) {
            if (!shape[j * 4 + l]) continue;
            int32_t k = x - 1 + l, r = y - 1 + j;
            if (r < 0) return -1e9;  // would end the game
            well.At(k, r) = 1;
        }
    int32_t cleared = 0;
    for (int32_t r = 0; r < rows; ++r) {
        bool full = true;
        for (int32_t k = 0; k < columns && full; ++k) full = well.At(k, r) != 0;
        if (!full) continue;
        ++cleared;
        for (int32_t k = 0; k < columns; ++k) {
            for (int32_t n = r; n > 0; --n) well.At(k, n) = well.At(k, n - 1);
            well.At(k, 0) = 0;
        }
    }
    int32_t heights[columns];
    int32_t holes = 0;
    for (int32_t k = 0; k < columns; ++k) {
        int32_t top = 0;
        while (top < rows && !well.At(k, top)) ++top;
        heights[k] = rows - top;
        for (int32_t r = top + 1; r < rows; ++r) holes += !well.At(k, r);
    }
    int32_t total = 0, bumps = 0;
    for (int32_t k = 0; k < columns; ++k) {
        total += heights[k];
        if (k) bumps += heights[k] > heights[k - 1] ? heights[k] - heights[k - 1] : heights[k - 1] - heights[k];
    }
    return -0.51 * total + 0.76 * cleared - 0.36 * holes - 0.18 * bumps;
}

// Whether the piece, turned to q at its current height, can slide to x.
bool Reachable(const GameState& game, int32_t q, int32_t x)
{
    if (!game.Fits(game.piece, q, game.pieceX, game.pieceY)) return false;
    int32_t step = x > game.pieceX ? 1 : -1;
    for (int32_t k = game.pieceX; k != x; k += step)
        if (!game.Fits(game.piece, q, k + step, game.pieceY)) return false;
    return true;
}

const unsigned char strayKeys[] = {DIK_LEFT, DIK_RIGHT, DIK_UP, DIK_LCONTROL, DIK_RCONTROL,
                                   DIK_LSHIFT, DIK_RSHIFT, DIK_DOWN};

}  // namespace

AutoPlayer::AutoPlayer(uint32_t seed, AutoPlayerHabits habits) : habits(habits) { Restart(seed); }

void AutoPlayer::Restart(uint32_t seed)
{
    state = seed ? seed : 1;
    keys.clear();
    previous.clear();
    planned = false;
    plannedPiece = plannedNext = lastY = 0;
    targetRotation = targetX = 0;
    idleTicks = 0;
    stuckTicks = 0;
}

// xorshift32: cheap, and independent of the game's own generator.
uint32_t AutoPlayer::Random()
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

bool AutoPlayer::WasHeld(unsigned char key) const
{
    for (unsigned char k : previous)
        if (k == key) return true;
    return false;
}

void AutoPlayer::Press(unsigned char key)
{
    for (unsigned char k : keys)
        if (k == key) return;
    keys.push_back(key);
}

void AutoPlayer::Plan(const GameState& game)
{
    double best = -1e18;
    targetRotation = game.rotation;
    targetX = game.pieceX;
    for (int32_t q = 0; q < 4; ++q)
        for (int32_t x = -2; x <= columns + 1; ++x) {
            if (!Reachable(game, q, x)) continue;
            int32_t y = game.pieceY;
            while (game.Fits(game.piece, q, x, y + 1)) ++y;
            double value = Evaluate(game, q, x, y);
            if (value > best) {
                best = value;
                targetRotation = q;
                targetX = x;
            }
        }
    planned = true;
    plannedPiece = game.piece;
    plannedNext = game.nextPiece;
    stuckTicks = 0;
}

const std::vector<unsigned char>& AutoPlayer::NextKeys(const GameState& game)
{
    previous.swap(keys);
    keys.clear();
    uint32_t dice = Random();

    if (!game.active) {
        // Look at the result for a moment, then start again.
        planned = false;
        if (++idleTicks > habits.gameOverPause && !WasHeld(DIK_F1)) {
            Press(DIK_F1);
            idleTicks = 0;
        }
        return keys;
    }
    idleTicks = 0;

    if (habits.restartOdds && dice % habits.restartOdds == 0) {
        Press(DIK_F1);
        planned = false;
        return keys;
    }

    // A new piece: it came in at the top, or the pieces on show changed.
    if (!planned || game.pieceY < lastY || game.piece != plannedPiece || game.nextPiece != plannedNext) Plan(game);
    lastY = game.pieceY;

    bool turned = game.rotation == targetRotation;
    bool placed = game.pieceX == targetX;
    if (!turned) {
        // A turn acts on the press, so a key is let go between turns.
        unsigned char key = ((targetRotation - game.rotation) & 3) == 3 ? DIK_UP : DIK_LCONTROL;
        if (!WasHeld(key)) Press(key);
    }
    if (!placed) {
        // Tapping is faster than holding, which repeats only every sixth tick.
        unsigned char key = targetX < game.pieceX ? DIK_LEFT : DIK_RIGHT;
        if (!WasHeld(key)) Press(key);
    }
    // Drop once in place, or when the way is blocked for good.
    if ((turned && placed) || ++stuckTicks > 24) Press(DIK_DOWN);

    if (habits.strayKeyOdds && (dice >> 8) % habits.strayKeyOdds == 0)
        Press(strayKeys[(dice >> 20) % sizeof strayKeys]);
    return keys;
}
