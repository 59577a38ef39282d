#ifndef VORBLOX_GAME_PIECESHAPES_H
#define VORBLOX_GAME_PIECESHAPES_H

// Seven pieces x four rotations x a 4 x 4 grid stored row by row: the byte
// for piece p, rotation q, grid row j, grid column l is at
// p * 64 + q * 16 + j * 4 + l. 0 is an empty grid cell, otherwise the
// piece's tile index (p + 1). Grid cell (column 1, row 1) is the pivot.
extern const unsigned char PieceShapes[448];

#endif
