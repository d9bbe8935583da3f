// Fourth boss: a large body bouncing diagonally over almost the whole
// playfield, down into the ships' row, so that touching it costs a ship. It
// drops a heavy bomb on every 30th column and fires a fan of five pellets
// whenever its height is a multiple of 31.

#include "bosses/bosses.h"
#include "core/core.h"

static const bombgroup_t FAN = {1, 5, 2, {0, 1, 2, -1, -2}, 220, {30, 30, 30, 30, 30}, {20, 20, 20, 20, 20}};
static const bombgroup_t HEAVY = {0, 1, 3, {0}, 202, {30}, {20}};

static void Bombs() {
    GroupFly(FAN);
    if (boss.y % 31 == 0 && !GroupFlying(FAN)) GroupLaunch(FAN);
    GroupFly(HEAVY);
    if (boss.x % 30 == 0 && !GroupFlying(HEAVY)) GroupLaunch(HEAVY);
}

// Within x 0..244 and y 9..165: the bottom of the bounce reaches the ships.
static void Bounce() {
    if (boss.count % boss.rate != 0) return;
    boss.y += boss.dy;
    boss.x += boss.dx;
    if (boss.y > 164) boss.dy = -boss.dy;
    if (boss.y < 10) boss.dy = -boss.dy;
    if (boss.x > 243) boss.dx = -boss.dx;
    if (boss.x < 1) boss.dx = -boss.dx;
}

static void SpeedUp() {
    boss.rate = 1;
}

static bool Fight(int who) {
    BombsVsShip(who, 6);
    ContactVsShip(who, boss.spr[boss.frame], boss.x, boss.y, true);
    return ShotsVsBody(who, 8000, 49, SpeedUp);
}

bool Boss4() {
    if (BossEntrance()) return false;
    Bombs();
    Bounce();
    BossAnimate(2);
    return Fight(1) || Fight(2);
}
