// Alien bombs.

#include "aliens/aliens.h"
#include "core/core.h"

bomb_t bomb[10];
int bo_d, bo_m, bo_v;

// Bombs arrive with the play itself.
void AliensBombInit() {}
void AliensBomb() {}
