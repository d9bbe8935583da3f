// Alien formation.

#include "aliens/aliens.h"
#include "core/core.h"

alien_t alien[8][5];
int al_x, al_y, al_v, al_dx, al_dx2, al_dxm, al_dy, al_dy2, al_dym, al_dytot, al_down, al_fr, al_count;

// The waves arrive with the play itself.
void AliensInit(int) {}
void Aliens() {}
void AliensMove() {}
void AliensDown() {}
void AliensDraw() {}
void AlienShadow() {}
