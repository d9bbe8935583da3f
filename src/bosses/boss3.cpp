// Third boss: a body sweeping along a row near the top, keeping a bundle of
// four bombs falling from itself, with an arm of four segments that lashes
// down to the ships' row whenever its top segment is right above a ship. The
// arm cannot be destroyed: shots that touch it are spent, and only the tip
// of a moving arm hurts.

#include "bosses/bosses.h"
#include "core/core.h"
#include "platform/platform.h"

static bosspart_t *const ARM[4] = {&boss1, &boss2, &boss3, &boss4};
static const int ROW[4] = {30, 40, 50, 60};  // below the body
static const int SWING[4] = {4, 8, 12, 16};  // swing amplitude
static const int PULL[4] = {2, 3, 4, 5};     // change of the drop speed per frame
enum { ARM_IDLE, ARM_STRETCH, ARM_PULL };    // boss1.mode

// Four bombs one pixel apart fall together and start again from the body
// as soon as they pass y 200.
static void Bombs() {
    for (int i = 0; i < 4; i++) {
        bossbomb_t &b = boss_bomb[i];
        if (b.on) {
            draw_sprite(buffer, b.spr[Random(1)], b.x, b.y);
            b.y += b.vy;
            if (b.y > 200) b.on = false;
        }
        if (b.on) continue;
        b.x = boss.x + 15;
        b.y = boss.y + 15 + i;
        b.on = true;
        b.vy = 2;
    }
}

// The top segment's place of the last frame right above a ship (the second
// ship's record counts even when nobody plays it).
static void ArmTrigger() {
    if (boss1.mode != ARM_IDLE) return;
    if (boss1.x != player.x && boss1.x != player2.x) return;
    for (bosspart_t *s : ARM) s->rate = 0;
    boss1.mode = ARM_STRETCH;
}

static void Sweep() {
    boss.x = 140 + SinOf(100, boss.angle);
    boss.y = 45;
    BossTurn(boss);
}

static void Segment(int k) {
    bosspart_t &s = *ARM[k];
    s.x = boss.x + 25 + SinOf(SWING[k], s.angle);
    s.y = boss.y + ROW[k];
    BossTurn(s);
    if (boss1.mode == ARM_STRETCH) {
        s.y += s.rate;
        s.rate += PULL[k];
    } else if (boss1.mode == ARM_PULL) {
        s.y += s.rate;
        s.rate -= PULL[k];
    }
    draw_sprite(buffer, s.spr[s.frame], s.x, s.y);
}

static void Arm() {
    for (int k = 0; k < 4; k++) Segment(k);
    if (boss4.y > 194) boss1.mode = ARM_PULL;
    if (boss4.rate < 0) boss1.mode = ARM_IDLE;
}

static void SpeedUp() {
    boss.step = 0.04;
}

// Shots that touch a segment are spent on it; the arm loses nothing.
static void ShotsVsArm(int who) {
    for (bosspart_t *s : ARM) {
        for (int i = 0; i < ShotsOf(who) && !s->dead; i++) {
            if (!ShotOn(who, i, *s)) continue;
            SysPlaySample(al_fx[1], 50, 100, 1000);
            ShotSpent(who, i);
        }
    }
}

static bool Fight(int who) {
    BombsVsShip(who, 4);
    if (boss1.mode != ARM_IDLE) ContactVsShip(who, boss4.spr[boss4.frame], boss4.x, boss4.y, false);
    if (ShotsVsBody(who, 5000, 37, SpeedUp)) return true;
    ShotsVsArm(who);
    return false;
}

bool Boss3() {
    if (BossEntrance()) return false;
    Bombs();
    ArmTrigger();
    Sweep();
    BossAnimate(3);
    Arm();
    return Fight(1) || Fight(2);
}
