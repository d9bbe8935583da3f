// Bosses: the shared boss mechanics and the five bosses.
#pragma once

#include <allegro.h>

#include "players/players.h"

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

// ---------------------------------------------------------------------------
// Mechanics all five fights share. `who` is 1 for player 1, 2 for player 2.
// ---------------------------------------------------------------------------

// Counts the frame and, while the body is still zooming in, draws it growing
// and drifting down. True during the entrance: the boss does nothing else then.
bool BossEntrance();
// Body animation over m images, the hit flash (image m), and the drawing.
void BossAnimate(int m);
// Advances a part's angle by its step; back to 0.0 once it reaches 360.0.
void BossTurn(bosspart_t &p);
// r x sin(a) and r x cos(a), truncated toward zero.
int SinOf(double r, double a);
int CosOf(double r, double a);

// A run of projectile slots launched together from fixed offsets of the body.
// The group flies while any of its slots is on: every slot of it is then drawn
// and moved, also one that has already hit a ship (harmless, its own `on` is
// off). It ends, every slot off, when its lead (first slot) passes `limit`;
// a new launch waits until no slot of it is on. A single slot is a group of one.
struct bombgroup_t {
    int lead, n;       // first slot and number of slots
    int vy;            // fall per frame; 0: each slot falls by its own vy
    int dx[5];         // sideways step of each slot per frame
    int limit;         // the group ends when its lead's y is greater than this
    int ox[5], oy[5];  // launch offsets from the body's top-left corner
};
bool GroupFlying(const bombgroup_t &g);  // some slot of the group is on
void GroupFly(const bombgroup_t &g);     // draws, moves and, past the limit, ends the group
void GroupLaunch(const bombgroup_t &g);  // every slot on, at its offset from the body

player_t &ShipOf(int who);
int &ScoreOf(int who);
bool ShipOpen(int who);  // the ship can be hit: not exploding, shield run out
void ShipLoss(int who);  // the ship is lost (a life, the explosion)
// Projectile slots 0..n-1 that are on against the ship; one life at most per
// frame, since a lost ship is no longer open.
void BombsVsShip(int who, int n);
// Contact with a boss part drawn as s at (x, y); hitTestFast with the ship's
// image as the sampled one when `fast`.
void ContactVsShip(int who, BITMAP *s, int x, int y, bool fast);

// Shot slots of a player that boss parts test: none for a player who is out.
int ShotsOf(int who);
shot_t &ShotOf(int who, int i);
bool ShotOn(int who, int i, const bosspart_t &p);  // slot i is on and touches part p
void ShotSpent(int who, int i);                    // RestoreBullet / RestoreBullet2

// A player's shots against the body: 5 points a hit, speedup() once the hit
// points are below `below`, and `bonus` for the kill. True on the kill, which
// returns at once: the killing shot is not restored.
bool ShotsVsBody(int who, int bonus, int below, void (*speedup)());
