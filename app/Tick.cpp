#include "app/PMAIN.h"

// One tick of the game. The order of the steps is the game's feel: gravity
// before the keys, Left before Right, the counter-clockwise turn before the
// clockwise one, the soft drop last.
void PMAIN::Tick()
{
    mainKeyboard.Update();

    int changed = game.Fall(1);

    if (mainKeyboard.WasPressed(DIK_F1)) {
        awaitingFirstGame = 0;
        game.NewGame();
        changed = 1;
    }

    // The tick goes on after a quit; the released keyboard reads every key as up.
    if (mainKeyboard.WasPressed(DIK_ESCAPE)) Quit();

    // Held Left and Right move at once and then on every sixth tick.
    if (mainKeyboard.IsDown(DIK_LEFT)) {
        if (leftRepeat == 0) changed |= game.MoveLeft();
        if (++leftRepeat > 5) leftRepeat = 0;
    } else {
        leftRepeat = 0;
    }
    if (mainKeyboard.IsDown(DIK_RIGHT)) {
        if (rightRepeat == 0) changed |= game.MoveRight();
        if (++rightRepeat > 5) rightRepeat = 0;
    } else {
        rightRepeat = 0;
    }

    if (mainKeyboard.WasPressed(DIK_UP) || mainKeyboard.WasPressed(DIK_RSHIFT) ||
        mainKeyboard.WasPressed(DIK_LSHIFT))
        changed |= game.Rotate(0);
    if (mainKeyboard.WasPressed(DIK_RCONTROL) || mainKeyboard.WasPressed(DIK_LCONTROL))
        changed |= game.Rotate(1);

    if (mainKeyboard.IsDown(DIK_DOWN)) changed |= game.Fall(0);

    if (changed || redrawPending) {
        redrawPending = 0;
        Draw();
    }
}

bool PMAIN::Idle() const
{
    if (game.active || redrawPending || leftRepeat || rightRepeat) return false;
    for (int key = 0; key < 256; ++key)
        if (mainKeyboard.IsDown((BYTE)key)) return false;
    return true;
}
