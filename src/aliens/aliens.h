// Aliens, mother ship and bonuses: the formation, its bombs, shots against
// aliens, the bonus items and the mother ship.
#pragma once

#include <allegro.h>

// ---------------------------------------------------------------------------
// Formation
// ---------------------------------------------------------------------------

struct alien_t {
    bool dead;       // destroyed
    bool exploding;  // its explosion animation runs
    bool hit;        // a hit flash is pending
    int x, y;        // top-left (aliens are 16x16)
    int frame;       // flash and explosion image: 2 after a hit, 3..8 exploding
    int hp;          // hit points left
    BITMAP *spr[9];  // 0, 1 walk; 2 hit flash; 3..8 explosion
};

extern alien_t alien[8][5];  // [column][row], row 0 at the top
extern int al_x, al_y;       // top-left of alien [0][0] when the wave was built
extern int al_v;             // size of one sideways step, 1
extern int al_dx;            // current sideways step, +al_v or -al_v
extern int al_dx2;           // march frame counter
extern int al_dxm;           // march interval in frames (0: two pixels every frame)
extern int al_dy;            // descent step: 1 while descending
extern int al_dy2;           // descent frame counter
extern int al_dym;           // descent interval, 1
extern int al_dytot;         // pixels descended in the current descent
extern int al_down;          // pixels per descent, 20
extern int al_fr;            // walk image shared by all aliens, 0 or 1
extern int al_count;         // aliens destroyed in this wave; -1 once the wave is cleared

void AliensInit(int n);  // builds a fresh wave with n hit points per alien
void Aliens();           // one frame of the wave
void AliensMove();
void AliensDown();
void AliensDraw();
void AlienShadow();  // shadow lines under the top living alien of each column

// ---------------------------------------------------------------------------
// Bombs
// ---------------------------------------------------------------------------

struct bomb_t {
    int x, y;
    bool on;  // falling
    int frame;
    BITMAP *spr[9];  // spr[0] is the bomb
};

extern bomb_t bomb[10];
extern int bo_d;  // bomb frame counter
extern int bo_m;  // Easy and Medium: bombs move on frames where bo_d is a multiple of bo_m
extern int bo_v;  // pixels a bomb falls per move

void AliensBombInit();
void AliensBomb();

// ---------------------------------------------------------------------------
// Shots against aliens
// ---------------------------------------------------------------------------

void Collision();  // player 1's shots against the aliens, then the bombs against player 1
void Collision2();

// ---------------------------------------------------------------------------
// Bonus pickups
// ---------------------------------------------------------------------------

struct bonus_t {
    bool on;          // lying, or rising after it was taken
    bool money;       // value is paid as money, else as score
    int x, y;         // top-left; y is 206 while it lies
    int count;        // lifetime in syns2 ticks; gone at 8
    int value;        // amount paid
    int kind;         // 0..4 lying; +5 taken by player 1, +10 by player 2
    BITMAP *spr[15];  // 0..4 kinds, 5..9 taken by player 1, 10..14 taken by player 2
};

extern bonus_t bonus;

void Bonus();

// ---------------------------------------------------------------------------
// Mother ship
// ---------------------------------------------------------------------------

struct mothership_t {
    bool dead;       // destroyed on this pass
    bool exploding;  // its explosion runs
    bool hit;        // a hit flash is pending
    int x, y;        // top-left; y 20 (14 while exploding)
    int frame;       // 0 flying right, 1 flying left; 4..10 exploding
    int hp;
    int state;        // 0 absent, 1 crossing to the right, 2 crossing to the left
    int count;        // frame counter
    BITMAP *spr[11];  // 0, 1 flying right and left; 2, 3 their flashes; 4..10 explosion
};

struct shipbomb_t {
    int x, y;
    bool on;         // falling or bursting
    bool exploding;  // bursting on the ground
    int frame;
    BITMAP *spr[5];  // 0 the bomb, 1..4 the burst
};

extern mothership_t ship;
extern shipbomb_t ship_bomb;

void ShipInit(int n);  // removes the ship and its bomb; n + 1 hit points
void Ship();
void ShipDraw();
void ShipBomb();
void ShipCollision();
