// Every boss's body under fire: points per hit, the hit flash, the speed-up
// below its threshold and the kill bonus; and every kind of projectile of
// every boss against an open ship and a shielded one.

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
    switch (n) {
    case 1:
        return boss.rate == 2;
    case 2:
    case 3:
        return boss.step == 0.04;
    case 4:
        return boss.rate == 1;
    default:
        return boss.rate == 1 && boss.step == 0.04;
    }
}

TEST(BossBody, FivePointsAHitFlashSpeedUpBelowTheThresholdAndTheKillBonus) {
    for (int n = 1; n <= 5; n++) {
        SCOPED_TRACE("boss " + std::to_string(n));
        PlayOptions o;
        o.skill = 1;
        StartBoss(n, o);
        EXPECT_EQ(boss.hp, BODY[n].hp);
        o.skill = 3;
        StartBoss(n, o);
        EXPECT_EQ(boss.hp, 3 * BODY[n].hp);
        o.skill = 1;
        StartBoss(n, o);
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
            EXPECT_TRUE(boss.hit);
            Played hit = Sound(al_fx[1]);
            EXPECT_EQ(hit.count, plays + 1);
            EXPECT_EQ(hit.vol, 50);
            EXPECT_EQ(hit.pan, 100);
            EXPECT_EQ(hit.freq, 1000);
            EXPECT_EQ(SpedUp(n), boss.hp < BODY[n].below) << "after hit " << hits;
            // The next frame shows the flash image.
            QuietFrame();
            EXPECT_EQ(boss.frame, BODY[n].flash);
            EXPECT_FALSE(boss.hit) << "one flash a hit";
            if (n != 2) {  // the second boss's pod may cover its body
                EXPECT_TRUE(ShownUncovered(boss.spr[BODY[n].flash], boss.x, boss.y));
            }
        }
        EXPECT_EQ(hits, BODY[n].hp - 1);
        int plays = Sound(al_fx[1]).count;
        while (!fl_des && tries++ < 300) {
            Shielded();
            if (ShootBody()) hits++;
        }
        EXPECT_EQ(hits, BODY[n].hp);
        EXPECT_EQ(score, 5 * hits + BODY[n].bonus);
        EXPECT_EQ(Sound(al_fx[1]).count, plays) << "the kill sounds as an explosion, not a hit";
        EXPECT_TRUE(bullet[0].on) << "the killing shot is not restored";
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
            // The body far from the ship (the fourth would touch it).
            boss.x = 150;
            boss.y = 20;
            boss.hp = 1000;
            for (bossbomb_t &other : boss_bomb) {
                other.on = false;
                other.x = other.y = 0;
            }
            player.x = 40;
            player.dead = false;
            bossbomb_t &b = boss_bomb[k.slot];
            int x = player.x + 4;
            int y = FirstContact(player, b.spr[0], x);
            ASSERT_GE(y, 0);
            b.on = true;
            b.vy = k.vy;
            b.x = x - k.dx;
            b.y = y - k.vy;
            if (shielded)
                Shielded();
            else
                Unshield();
            int before = lives;
            QuietFrame();
            EXPECT_EQ(lives, before - !shielded);
            EXPECT_EQ(player.dead, !shielded);
            EXPECT_EQ(b.on, shielded);
        }
    }
}

}  // namespace
