// Alien bombs: dropped at random by living aliens, more often on later
// levels, falling at a speed set by the difficulty.

#include "aliens/aliens.h"
#include "core/core.h"

bomb_t bomb[10];
int bo_d, bo_m, bo_v;

void AliensBombInit() {
    for (int i = 0; i < 10; i++) {
        bomb[i].on = false;
        bomb[i].frame = 0;
        bomb[i].x = 0;
        bomb[i].y = 0;
    }
}

// Each free slot picks one of the 40 places; a living alien there lets go
// with a chance of 1 in 511 - 20 x level.
static void BombDrop(bomb_t &b) {
    int c = Random(7);
    int r = Random(4);
    if (alien[c][r].dead || Random(510 - 20 * level) != 0) return;
    b.x = alien[c][r].x;
    b.y = alien[c][r].y;
    b.on = true;
}

// Easy and Medium move on every bo_m-th frame; Hard moves every frame.
static bool BombMoves() {
    return SKILL >= 3 || bo_m < 2 || bo_d % bo_m == 0;
}

void AliensBomb() {
    for (int i = 0; i < 10; i++)
        if (!bomb[i].on) BombDrop(bomb[i]);
    bo_d += 1;
    for (int i = 0; i < 10; i++) {
        bomb_t &b = bomb[i];
        if (!b.on) continue;
        if (BombMoves()) b.y += bo_v;
        draw_sprite(buffer, b.spr[0], b.x, b.y);
        if (b.y > 209) b.on = false;
    }
}
