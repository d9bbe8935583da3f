// Alien bombs: fall speed by difficulty, the drop rate by level, and what a
// bomb does to a ship.

#include "support/playfield.h"

#include <gtest/gtest.h>

// Frames a bomb takes from y 100 until it leaves the field below 209, drawn
// where its record says on each of them.
TEST(Bombs, FallSpeedDependsOnTheDifficulty) {
    const int frames_by_skill[4] = {0, 220, 110, 55};
    for (int skill = 1; skill <= 3; skill++) {
        StartPlay({1, skill});
        ClearWave();
        bomb[4].on = true, bomb[4].x = 200, bomb[4].y = 100;
        int frames = 0;
        for (; bomb[4].on && frames < 500; frames++) {
            Frame();
            EXPECT_TRUE(ShownAt(bomb[4].spr[0], 200, bomb[4].y)) << "skill " << skill;
        }
        EXPECT_TRUE(frames == frames_by_skill[skill] && bomb[4].y == 210)
            << "skill " << skill << ": " << frames;
    }
}

// Drops per free slot and frame, counted over many frames with the slots
// emptied after each: 1 in 511 - 20 x level at a living place, so rarer
// with fewer aliens, and past level 25 the remainder rule of Random. Each
// leaves from a living alien and has made its first move.
TEST(Bombs, DropRateRisesWithTheLevel) {
    struct Case {
        int mode, level, dead;  // aliens removed from the front of the wave
        double chance;          // per slot and frame
    };
    const Case cases[] = {{1, 1, 0, 1.0 / 491}, {1, 1, 20, 0.5 / 491},  {1, 12, 0, 1.0 / 271},
                          {1, 24, 0, 1.0 / 31}, {1, 25, 30, 0.25 / 11}, {2, 26, 0, 1.0 / 9},
                          {2, 27, 0, 1.0 / 29}, {2, 40, 0, 1.0 / 289}};
    for (const Case &k : cases) {
        StartPlay({k.mode});
        level = k.level;
        AliensInit(1);
        for (int n = 0; n < k.dead; n++) alien[n / 5][n % 5].dead = true;
        int drops = 0, astray = 0;
        for (int i = 0; i < 40000; i++) {
            AliensBomb();
            for (const bomb_t &b : bomb) {
                bool from_alien = false;
                for (auto &column : alien)
                    for (const alien_t &a : column) from_alien |= !a.dead && a.x == b.x && a.y + 1 == b.y;
                drops += b.on, astray += b.on && !from_alien;
            }
            AliensBombInit();
        }
        EXPECT_NEAR(drops, 400000 * k.chance, 400000 * k.chance * 0.15) << "level " << k.level;
        EXPECT_EQ(astray, 0) << "level " << k.level;
    }
}

// Two bombs on a ship in one frame cost one life: the second is not tested
// once the ship is dead, and falls on through the explosion; player 2's
// pass tests its own ship. A shielded ship lets bombs through.
TEST(Bombs, AShipLosesAtMostOneLifePerFrame) {
    StartPlay({1, 2, 2, 1, 1, 1, 4});  // two players, four lives
    ClearWave();
    while (player.shield > 0 || player2.shield > 0) Frame();
    auto drop = [](int i, const player_t &p) {  // touches p after its first move (Medium: one pixel)
        bomb[i].on = true, bomb[i].x = p.x, bomb[i].y = FirstContact(p, bomb[i].spr[0], p.x) - 1;
    };
    drop(2, player), drop(7, player), drop(5, player2);
    Frame();
    EXPECT_TRUE(player.dead && player2.dead && lives == 3 && lives2 == 3);
    EXPECT_TRUE(!bomb[2].on && bomb[7].on && !bomb[5].on);
    while (bomb[7].on) Frame();
    EXPECT_EQ(lives, 3);
    while (player.dead) Frame();  // back with a fresh shield
    drop(1, player);
    while (bomb[1].on) Frame();
    EXPECT_TRUE(lives == 3 && !player.dead);
}
