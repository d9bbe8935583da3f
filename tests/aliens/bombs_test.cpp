// Alien bombs: fall speed by difficulty, the drop rate by level, and what a
// bomb does to a ship.

#include "support/playfield.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Frames a bomb takes from y 100 until it leaves the field, drawn where its
// record says on each of them. With no living alien nothing else drops.
TEST(Bombs, FallSpeedDependsOnTheDifficulty) {
    const int expect[4] = {0, 220, 110, 55};
    for (int skill = 1; skill <= 3; skill++) {
        SCOPED_TRACE("skill " + std::to_string(skill));
        PlayOptions o;
        o.skill = skill;
        StartPlay(o);
        ClearWave();
        bomb[4].on = true;
        bomb[4].x = 200;
        bomb[4].y = 100;
        int frames = 0;
        while (bomb[4].on && frames < 500) {
            Frame();
            frames++;
            EXPECT_TRUE(ShownAt(bomb[4].spr[0], 200, bomb[4].y));
            int others = 0;
            for (int i = 0; i < 10; i++) others += i != 4 && bomb[i].on;
            EXPECT_EQ(others, 0);
        }
        EXPECT_EQ(frames, expect[skill]);
        EXPECT_EQ(bomb[4].y, 210);
    }
}

// Drops per free slot and frame, counted over many frames with the slots
// emptied after each: 1 in 511 - 20 x level at a living place, so rarer
// with fewer aliens, and past level 25 the remainder rule of Random.
TEST(Bombs, DropRateRisesWithTheLevel) {
    struct Case {
        int mode, level, dead;  // aliens removed from the front of the wave
        double chance;          // per slot and frame
    };
    const Case cases[] = {{1, 1, 0, 1.0 / 491}, {1, 1, 20, 0.5 / 491},  {1, 12, 0, 1.0 / 271},
                          {1, 24, 0, 1.0 / 31}, {1, 25, 30, 0.25 / 11}, {2, 26, 0, 1.0 / 9},
                          {2, 27, 0, 1.0 / 29}, {2, 40, 0, 1.0 / 289}};
    for (const Case &k : cases) {
        SCOPED_TRACE("level " + std::to_string(k.level) + " with " + std::to_string(40 - k.dead) + " aliens");
        PlayOptions o;
        o.mode = k.mode;
        StartPlay(o);
        level = k.level;
        AliensInit(1);
        for (int n = 0; n < k.dead; n++) alien[n / 5][n % 5].dead = true;
        const int calls = 40000;
        int drops = 0;
        for (int i = 0; i < calls; i++) {
            AliensBomb();
            for (const bomb_t &b : bomb) {
                if (!b.on) continue;
                drops++;
                // It left from a living alien and has made its first move.
                bool from_alien = false;
                for (int c = 0; c < 8; c++)
                    for (int r = 0; r < 5; r++)
                        if (!alien[c][r].dead && alien[c][r].x == b.x && b.y == alien[c][r].y + 1)
                            from_alien = true;
                EXPECT_TRUE(from_alien);
            }
            AliensBombInit();
        }
        double expected = calls * 10 * k.chance;
        EXPECT_GT(drops, expected * 0.85);
        EXPECT_LT(drops, expected * 1.15);
    }
}

// Finds the height at which a bomb falling on the ship first overlaps it.
int FirstContact(const player_t &p) {
    for (int y = 180; y <= 221; y++)
        if (hitTest(p.spr[1], bomb[0].spr[0], p.x, p.y, p.x, y)) return y;
    return -1;
}

// Two bombs on a ship in one frame cost one life: the second is not tested
// once the ship is dead, and falls on through the explosion. A shielded
// ship lets bombs through too.
TEST(Bombs, AShipLosesAtMostOneLifePerFrame) {
    PlayOptions o;
    o.players = 2;
    o.lives = 4;
    StartPlay(o);
    ClearWave();
    while (player.shield > 0 || player2.shield > 0) Frame();
    int y = FirstContact(player);
    ASSERT_GE(y, 180);
    // Medium: each bomb moves one pixel before the test.
    bomb[2].on = bomb[7].on = true;
    bomb[2].x = bomb[7].x = player.x;
    bomb[2].y = bomb[7].y = y - 1;
    int y2 = FirstContact(player2);
    ASSERT_GE(y2, 180);
    bomb[5].on = true;
    bomb[5].x = player2.x;
    bomb[5].y = y2 - 1;
    Frame();
    EXPECT_TRUE(player.dead);
    EXPECT_EQ(lives, 3);
    EXPECT_FALSE(bomb[2].on);
    EXPECT_TRUE(bomb[7].on);
    EXPECT_TRUE(player2.dead);  // player 2's pass tests its own ship
    EXPECT_EQ(lives2, 3);
    EXPECT_FALSE(bomb[5].on);
    Played boom = Sound(pl_fx[1]);
    EXPECT_EQ(boom.count, 2);
    EXPECT_EQ(boom.vol, 120);
    EXPECT_EQ(boom.pan, 150);
    EXPECT_EQ(boom.freq, 1000);
    while (bomb[7].on) Frame();
    EXPECT_EQ(lives, 3);
    EXPECT_EQ(bomb[7].y, 210);

    // Back with a fresh shield: a bomb passes through.
    while (player.dead) Frame();
    ASSERT_GT(player.shield, 0);
    bomb[1].on = true;
    bomb[1].x = player.x;
    bomb[1].y = y - 1;
    while (bomb[1].on) Frame();
    EXPECT_EQ(lives, 3);
    EXPECT_FALSE(player.dead);
    EXPECT_EQ(Sound(pl_fx[1]).count, 2);
}

}  // namespace
