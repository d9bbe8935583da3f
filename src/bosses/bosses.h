// Bosses: the shared boss mechanics and the five bosses.
#pragma once

#include <allegro.h>

struct bosspart_t {
    bool dead;     // destroyed: no shot is tested against it
    bool falling;  // set with dead; the second boss's pod falls
    bool hit;      // hit flash pending
    int count;     // entrance: zoom scale in 16.16 fixed point; fight: frame counter
    int phase;     // body: 0 entrance, 1 fight; pod: 0 attached, 1 burning, 2 gone
    int mode;      // third boss's arm (in boss1): 0 idle, 1 stretching, 2 pulling back
    int x, y;      // top-left
    int dx, dy;    // step of one move
    int rate;      // moves on frames where count is a multiple of rate; arm: drop speed
    int frame;     // index into spr of the image drawn and hit-tested
    double angle;  // orbit or swing angle in radians; back to 0.0 at 360.0
    double step;   // added to angle every frame
    int hp;        // hit points left
    BITMAP *spr[9];
};

struct bossbomb_t {
    int x, y;
    int vy;     // fall speed, for bosses that keep one per slot
    bool on;    // flying
    int frame;  // index into spr of the image hit-tested (and drawn)
    BITMAP *spr[9];
};

struct explosion_t {
    bool on;
    int x, y;
    int frame;  // 0..6
    BITMAP *spr[7];
};

extern bosspart_t boss;                        // the body of the current boss
extern bosspart_t boss1, boss2, boss3, boss4;  // second boss's pod; third boss's arm segments
extern bossbomb_t boss_bomb[12];               // projectiles, shared by all bosses
extern explosion_t explosion[7];               // destruction sequence
extern int exp_n;                              // explosions started so far, then the pause count after them
extern bool fl_des;                            // the boss is destroyed and its explosion runs
extern bool fl_exp;                            // the destruction sequence has finished

void BossInit(int n);  // prepares boss n (1..5)
void Boss();           // one frame of the fight; advances the level after the destruction
bool BossExplode();    // one frame of the destruction sequence; true once it is over
bool Boss1();          // one frame of each boss; true on the frame its body is destroyed
bool Boss2();
bool Boss3();
bool Boss4();
bool Boss5();
