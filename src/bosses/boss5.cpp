// Fifth boss: a wide body sweeping from side to side while it bobs in the
// upper half of the playfield. It fires two fans of three pellets, each at
// heights of its own, and keeps six long bombs dropping at random.

#include "bosses/bosses.h"
#include "core/core.h"

static const bombgroup_t FAN1 = {0, 3, 3, {1, 0, -1}, 220, {30, 30, 30}, {20, 20, 20}};
static const bombgroup_t FAN2 = {3, 3, 2, {1, 0, -1}, 220, {60, 60, 60}, {20, 20, 20}};

static void Bombs() {
    GroupFly(FAN1);
    if (boss.y % 28 == 0 && !GroupFlying(FAN1)) GroupLaunch(FAN1);
    GroupFly(FAN2);
    if (boss.y % 26 == 0 && !GroupFlying(FAN2)) GroupLaunch(FAN2);
    for (int i = 6; i < 12; i++) {
        bombgroup_t g = {i, 1, 0, {0}, 206, {36}, {15}};
        GroupFly(g);
        if (boss_bomb[i].on) continue;
        if (Random(30) != 0) continue;
        GroupLaunch(g);
        boss_bomb[i].vy = Random(2) + 1;
    }
}

// Bobs within y 9..120 and sweeps x 5..205.
static void Move() {
    if (boss.count % boss.rate == 0) {
        boss.y += boss.dy;
        if (boss.y > 119) boss.dy = -boss.dy;
        if (boss.y < 10) boss.dy = -boss.dy;
    }
    boss.x = 105 + SinOf(100, boss.angle);
    BossTurn(boss);
}

static void SpeedUp() {
    boss.rate = 1;
    boss.step = 0.04;
}

static bool Fight(int who) {
    BombsVsShip(who, 12);
    return ShotsVsBody(who, 10000, 61, SpeedUp);
}

bool Boss5() {
    if (BossEntrance()) return false;
    Bombs();
    Move();
    BossAnimate(2);
    return Fight(1) || Fight(2);
}
