// First boss: a tall body bouncing diagonally in the upper playfield. It drops
// a pair of beams at the top of its bounce, a slow single beam on every 60th
// column and a spreading pair on every 32nd.

#include "bosses/bosses.h"
#include "core/core.h"

static const bombgroup_t PAIR = {0, 2, 3, {0, 0}, 196, {3, 43}, {40, 40}};
static const bombgroup_t SINGLE = {2, 1, 1, {0}, 206, {24}, {54}};
static const bombgroup_t SPREAD = {3, 2, 2, {-1, 1}, 207, {13, 33}, {45, 45}};

static void Beams() {
    GroupFly(PAIR);
    if (boss.y < 11 && !GroupFlying(PAIR)) GroupLaunch(PAIR);
    GroupFly(SINGLE);
    if (boss.x % 60 == 0 && !GroupFlying(SINGLE)) GroupLaunch(SINGLE);
    GroupFly(SPREAD);
    if (boss.x % 32 == 0 && !GroupFlying(SPREAD)) GroupLaunch(SPREAD);
}

// One pixel per axis per move, bouncing within x 0..261 and y 10..100.
static void Bounce() {
    if (boss.count % boss.rate != 0) return;
    boss.y += boss.dy;
    boss.x += boss.dx;
    if (boss.y > 99) boss.dy = -boss.dy;
    if (boss.y < 11) boss.dy = -boss.dy;
    if (boss.x > 260) boss.dx = -boss.dx;
    if (boss.x < 1) boss.dx = -boss.dx;
}

static void SpeedUp() {
    boss.rate = 2;
}

static bool Fight(int who) {
    BombsVsShip(who, 5);
    return ShotsVsBody(who, 1500, 13, SpeedUp);
}

bool Boss1() {
    if (BossEntrance()) return false;
    Beams();
    Bounce();
    BossAnimate(3);
    return Fight(1) || Fight(2);
}
