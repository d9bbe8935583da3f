// Start-up, the main loop and shutdown: the program's spine, and the fixed
// order of the steps of one frame.

#include "core/core.h"
#include "platform/platform.h"
#include "aliens/aliens.h"
#include "bosses/bosses.h"
#include "flow/flow.h"
#include "frontend/frontend.h"
#include "players/players.h"

#include <cstdio>

int Init() {
    const char *why = SysStartup();
    if (why) {
        printf("Error setting graphics mode (FULLSCREEN):\n -> %s\n\n", why);
        fflush(stdout);
        return 1;
    }
    set_color_depth(8);
    if (!buffer) buffer = create_bitmap(640, 480);
    CHEAT = false;
    CHEAT2 = false;
    ScoreBoard(1);
    return 0;
}

void Exit() {
    SysFadeOut(4);
    SysQuit(0);
}

// One frame of play. Later steps draw over earlier ones and see the state
// that earlier steps left in the same frame.
void Frame() {
    Sync();
    Paint();
    if (MODE == 1) Animation();
    if (MODE == 1) AlienShadow();
    Ship();
    if (bosshere)
        Boss();
    else
        Aliens();
    if (MODE == 1) Bonus();
    if (!gameover1) Player();
    if (NPLAYERS == 2 && !gameover2) Player2();
    if (!bosshere && !gameover1) Collision();
    if (!bosshere && NPLAYERS == 2 && !gameover2) Collision2();
    GameControl();
    ToScreen(buffer);
}

// Title, play set-up and the frames of the play, for ever; only the title's
// "QUIT GAME" ends the program. Escape held abandons a play at once.
void GameLoop() {
    for (;;) {
        Title();
        InitPlay();
        while (!key[KEY_ESC] && !gameover) Frame();
    }
}
