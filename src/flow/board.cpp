// Status bar: the numbers of the play over the backdrop's own labels.

#include "flow/flow.h"
#include "core/core.h"

// Each number is written on a bgcol box, so it stays readable over actors.
static void Number(int x, int y, int value) {
    textprintf_ex(buffer, font, x, y, txcol, text_bg, "%d", value);
}

// Ships in reserve: the one in play does not count.
static int Reserve(int l) {
    return l == 0 ? 0 : l - 1;
}

void Board() {
    // The top strip goes back over whatever flew through it this frame.
    draw_sprite(buffer, board1, 0, 0);
    Number(68, 0, level);
    Number(183, 0, hiscore);
    Number(40, 226, score);
    if (MODE == 1) Number(158, 226, money);
    Number(288, 226, Reserve(lives));
    if (NPLAYERS == 2) {
        Number(40, 241, score2);
        if (MODE == 1) Number(158, 241, money2);
        Number(288, 241, Reserve(lives2));
    }
}
