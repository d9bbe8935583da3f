// Title screen and menu.

#include "frontend/frontend.h"
#include "aliens/aliens.h"
#include "core/core.h"
#include "core/platform.h"

// Until the title menu is built, the first key press starts a one-player
// Normal game on Easy with three lives.
void Title() {
    LoadData(0);
    ToScreen(bg);
    SysFadeIn(pal, 2);
    text_bg = 0;
    Credits();
    SysClearKeybuf();
    SysReadKey();
    SKILL = 1;
    LIVES = 3;
    MODE = 1;
    NPLAYERS = 1;
    MONEY = 1500;
    POWER = WEAPON = 1;
    speed = speed2 = 1;
    bo_m = 2;
    SysFadeOut(4);
}

void Credits() {
    rectfill(bg, 1, 220, 317, 248, 0);
    rect(bg, 1, 220, 317, 248, 5);
    ToScreen(bg);
}
