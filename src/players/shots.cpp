// Player shots and weapons.

#include "players/players.h"
#include "core/core.h"

shot_t bullet[4], bullet2[4];
int bul_pw, bul_pw2;
int bul_speed, bul_speed2;
int mbul, mbul2;
int ibul, ibul2;
int bul_aux, bul_aux2;
bool push, push2;

// Shots arrive with the play itself.
void CheckExtra() {}
void Bullet() {}
void Bullet2() {}
void RestoreBullet(int) {}
void RestoreBullet2(int) {}
BITMAP *BulletImage(int) { return NULL; }
BITMAP *BulletImage2(int) { return NULL; }
int BulletHit(int, BITMAP *, int, int) { return 0; }
int BulletHit2(int, BITMAP *, int, int) { return 0; }
