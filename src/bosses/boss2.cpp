// Second boss: a body circling on an ellipse in the upper playfield, letting
// bombs fall at random, with a pod on a small orbit around it. Shots that
// touch the pod are spent on it; shot down, the pod falls and burns on the
// ground for a moment, and touching it then costs a ship.

#include "bosses/bosses.h"
#include "core/core.h"
#include "platform/platform.h"

// Each of the six bombs is its own group of one with its own fall speed.
static bombgroup_t Dropper(int i) {
    return {i, 1, 0, {0}, 206, {15}, {15}};
}

static void Bombs() {
    for (int i = 0; i < 6; i++) {
        bombgroup_t g = Dropper(i);
        GroupFly(g);
        if (boss_bomb[i].on) continue;
        if (Random(20) != 0) continue;
        GroupLaunch(g);
        boss_bomb[i].vy = Random(2) + 1;
    }
}

// Centre (140, 45), half-axes 100 and 40, from the lowest point rightward.
static void Orbit() {
    boss.x = 140 + SinOf(100, boss.angle);
    boss.y = 45 + CosOf(40, boss.angle);
    BossTurn(boss);
}

static void PodAttached() {
    boss1.x = boss.x + 2 + SinOf(28, boss1.angle);
    boss1.y = boss.y + 24 + CosOf(30, boss1.angle);
    BossTurn(boss1);
    draw_sprite(buffer, boss1.spr[boss1.frame], boss1.x, boss1.y);
    if (!boss1.hit) return;
    boss1.frame = 1;
    if (synff) {
        boss1.hit = false;
        boss1.frame = 0;
    }
}

static void PodFalling() {
    boss1.x += 1;
    boss1.y += 2;
    if (syn) boss1.frame += 1;
    if (boss1.frame == 4) boss1.frame = 2;
    draw_sprite(buffer, boss1.spr[boss1.frame], boss1.x, boss1.y);
    if (boss1.y <= 203) return;
    boss1.phase = 1;
    boss1.falling = false;
    boss1.frame = 3;
    SysPlaySample(al_fx[0], 50, 200, 1000);
}

static void PodBurning() {
    boss1.x += 1;
    if (synf) boss1.frame += 1;
    if (boss1.frame == 9) boss1.phase = 2;
    if (boss1.frame < 8) draw_sprite(buffer, boss1.spr[boss1.frame], boss1.x, boss1.y);
}

static void Pod() {
    if (!boss1.falling && boss1.phase == 0) PodAttached();
    if (boss1.falling) PodFalling();
    if (boss1.phase == 1) PodBurning();
}

static bool PodBurns() {
    return boss1.phase == 1 && boss1.frame < 8;
}

// One hit on the pod: 4 points, and 500 more for the last one.
static void PodHit(int who) {
    boss1.hp -= 1;
    ScoreOf(who) += 4;
    if (boss1.hp < 0) boss1.hp = 0;
    if (boss1.hp > 0) SysPlaySample(al_fx[1], 50, 100, 1000);
    boss1.hit = true;
    boss1.frame = 1;
    if (boss1.hp > 0) return;
    SysPlaySample(al_fx[0], 50, 200, 1000);
    boss1.dead = boss1.falling = true;
    boss1.frame = 2;
    ScoreOf(who) += 500;
}

static void ShotsVsPod(int who) {
    for (int i = 0; i < ShotsOf(who) && !boss1.dead; i++) {
        if (!ShotOn(who, i, boss1)) continue;
        PodHit(who);
        ShotSpent(who, i);
    }
}

static void SpeedUp() {
    boss.step = 0.04;
}

static bool Fight(int who) {
    BombsVsShip(who, 6);
    if (PodBurns()) ContactVsShip(who, boss1.spr[boss1.frame], boss1.x, boss1.y, false);
    if (ShotsVsBody(who, 3000, 25, SpeedUp)) return true;
    ShotsVsPod(who);
    return false;
}

bool Boss2() {
    if (BossEntrance()) return false;
    Bombs();
    Orbit();
    BossAnimate(3);
    Pod();
    return Fight(1) || Fight(2);
}
