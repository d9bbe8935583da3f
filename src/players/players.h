// Players: the two ships, their controls, loss and restart, player 2
// joining, and the shots with their weapon model.
#pragma once

#include <allegro.h>

// ---------------------------------------------------------------------------
// Ships
// ---------------------------------------------------------------------------

struct player_t {
    bool dead;       // hit: the explosion runs; no steering, firing or being hit
    int x, y;        // top-left; x within 0..304, y always 206
    int frame;       // index into spr of the image drawn
    int shield;      // invulnerability count, one less per synf tick; hittable only at 0
    BITMAP *spr[7];  // 0, 1 flying; 0..2 shielded; 3..6 explosion
};

extern player_t player, player2;  // player 1's and player 2's ship
extern int pl_n, pl_n2;           // half-rate step counters at speed 1 (only the parity matters)

void PlayerInit();     // readies both ships and their shot slots for a play or stage
void PlayerRestart();  // puts player 1 back after its explosion
void PlayerRestart2();
void Player2Enter();  // player 2 joins a one-player play
void Player();        // one frame of player 1: steer, draw, animate, shots
void Player2();

// The ship loss every hostile projectile applies: explosion sound, one life
// less, explosion frames. Callers test first that the ship is hittable
// (not dead, shield 0).
void PlayerHit();
void PlayerHit2();

// ---------------------------------------------------------------------------
// Shots
// ---------------------------------------------------------------------------

struct shot_t {
    int x, y;         // top-left
    int vy;           // pixels climbed per frame
    bool on;          // flying or blasting
    bool blast;       // burst (weapon 3): the blast animation runs
    int frame;        // blast image index into spr
    int hits;         // hits the shot may still deal
    BITMAP *spr[20];  // 0..2 flight images of weapons 1..3; 3..9 small blast; 10..17 large blast
};

extern shot_t bullet[4], bullet2[4];  // each player's shot slots
extern int bul_pw, bul_pw2;           // hits one shot deals before it is spent
extern int bul_speed, bul_speed2;     // shot speed, pixels per frame
extern int mbul, mbul2;               // shot slots in use, 1..4
extern int ibul, ibul2;               // slot the next shot must use
extern int bul_aux, bul_aux2;         // blast animation counter
extern bool push, push2;              // fire key released since the last shot

void CheckExtra();  // shot parameters of both players from weapon and power
void Bullet();      // one frame of player 1's firing and shots
void Bullet2();
void RestoreBullet(int i);  // one hit dealt by player 1's slot i
void RestoreBullet2(int i);

// The image of a player's shot slot i as drawn and hit-tested: the weapon's
// flight image, or the blast frame once it has burst.
BITMAP *BulletImage(int i);
BITMAP *BulletImage2(int i);
// 1 if a player's shot slot i overlaps sprite s drawn at (x, y). The shot is
// the first sprite: hitTestFast with weapon 3, hitTest otherwise.
int BulletHit(int i, BITMAP *s, int x, int y);
int BulletHit2(int i, BITMAP *s, int x, int y);
