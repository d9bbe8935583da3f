// Every boss's body under fire: hit points by difficulty, points per hit,
// the hit flash, the speed-up below its threshold and the kill bonus; and
// every kind of projectile of every boss against an open ship and a
// shielded one.

#include "support/bossfight.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Body {
    int hp;     // on Easy
    int below;  // speed-up once the hit points are below this
    int bonus;
    int flash;  // image shown after a hit
};
const Body BODY[6] = {
    {}, {26, 13, 1500, 3}, {50, 25, 3000, 3}, {70, 37, 5000, 3}, {80, 49, 8000, 2}, {100, 61, 10000, 2}};

// What the speed-up changes, by boss: the move interval, the angle step.
bool SpedUp(int n) {
    const bool rate = boss.rate == (n == 1 ? 2 : 1), step = boss.step == 0.04;
    return n == 1 || n == 4 ? rate : n == 5 ? rate && step : step;
}

TEST(BossBody, FivePointsAHitFlashSpeedUpBelowTheThresholdAndTheKillBonus) {
    for (int n = 1; n <= 5; n++) {
        SCOPED_TRACE("boss " + std::to_string(n));
        PlayOptions o;
        o.skill = 3;
        StartBoss(n, o);
        EXPECT_EQ(boss.hp, 3 * BODY[n].hp);
        o.skill = 1;
        StartBoss(n, o);
        EXPECT_EQ(boss.hp, BODY[n].hp);
        PastEntrance();
        EXPECT_FALSE(SpedUp(n));
        int hits = 0, tries = 0;
        while (boss.hp > 1 && tries++ < 300) {
            Shielded();
            int plays = Sound(al_fx[1]).count;
            if (!ShootBody()) continue;
            hits++;
            EXPECT_EQ(score, 5 * hits);
            EXPECT_FALSE(bullet[0].on) << "spent on the body";
            EXPECT_EQ(Sound(al_fx[1]), (Played{plays + 1, 50, 100, 1000}));
            EXPECT_EQ(SpedUp(n), boss.hp < BODY[n].below) << "after hit " << hits;
            QuietFrame();  // the next frame shows the flash image, once
            EXPECT_EQ(boss.frame, BODY[n].flash);
            EXPECT_FALSE(boss.hit);
            EXPECT_TRUE(n == 2 ||
                        ShownUncovered(boss.spr[BODY[n].flash], boss.x, boss.y));  // the pod may cover it
        }
        EXPECT_EQ(hits, BODY[n].hp - 1);
        int plays = Sound(al_fx[1]).count;
        while (!fl_des && tries++ < 300) {
            Shielded();
            hits += ShootBody();
        }
        EXPECT_EQ(hits, BODY[n].hp);
        EXPECT_EQ(score, 5 * hits + BODY[n].bonus);
        EXPECT_EQ(Sound(al_fx[1]).count, plays) << "the kill sounds as an explosion, not a hit";
        EXPECT_EQ(money, 1000) << "bosses pay no money";
    }
}

// Where each kind of projectile is, relative to the place it should touch
// the ship after one frame's move.
struct Kind {
    int boss, slot;
    int vy, dx;  // its move in one frame
};
const Kind KINDS[] = {{1, 0, 3, 0},  {1, 1, 3, 0}, {1, 2, 1, 0},  {1, 3, 2, -1}, {1, 4, 2, 1}, {2, 0, 2, 0},
                      {2, 5, 2, 0},  {3, 0, 2, 0}, {3, 3, 2, 0},  {4, 0, 3, 0},  {4, 1, 2, 0}, {4, 3, 2, 2},
                      {4, 5, 2, -2}, {5, 0, 3, 1}, {5, 2, 3, -1}, {5, 4, 2, 0},  {5, 6, 2, 0}, {5, 11, 2, 0}};

TEST(BossProjectiles, EveryKindHitsAnOpenShipAndPassesAShieldedOne) {
    for (const Kind &k : KINDS) {
        SCOPED_TRACE("boss " + std::to_string(k.boss) + " slot " + std::to_string(k.slot));
        PlayOptions o;
        o.lives = 5;
        StartBoss(k.boss, o);
        PastEntrance();
        for (bool shielded : {true, false}) {
            boss.x = 150;  // the body far from the ship (the fourth would touch it)
            boss.y = 20;
            boss.hp = 1000;
            for (bossbomb_t &other : boss_bomb) other.on = false;
            player.x = 40;
            player.dead = false;
            bossbomb_t &b = boss_bomb[k.slot];
            b.on = true;
            b.vy = k.vy;
            b.x = player.x + 4 - k.dx;
            b.y = FirstContact(player, b.spr[0], player.x + 4) - k.vy;
            shielded ? Shielded() : Unshield();
            int before = lives;
            QuietFrame();
            EXPECT_EQ(lives, before - !shielded);
            EXPECT_EQ(player.dead, !shielded);
            EXPECT_EQ(b.on, shielded);
        }
    }
}

}  // namespace
