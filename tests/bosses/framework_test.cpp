// What all five fights share in a game for two: one life a frame, the
// projectile groups after a hit, and the shots of a player who is out.

#include "support/bossfight.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

// Two projectiles on one ship in one frame cost one life: the first in
// slot order hits, a later one is not tested and flies on. Every slot of a
// group flies with it until its lead passes the limit; a slot that has hit
// a ship keeps flying with it, drawn and harmless, and that holds for the
// lead too.
TEST(BossProjectiles, OneLifeAFrameAndASpentSlotFliesOnWithItsGroup) {
    for (int hit = 0; hit <= 1; hit++) {
        SCOPED_TRACE(hit == 0 ? "the lead hits" : "the second slot hits");
        PlayOptions o;
        o.players = 2;
        StartBoss(1, o);
        QuietFrames(ENTRANCE);
        // The straight pair, falling 3 a frame, one beam on the ship, and
        // the single beam, falling one, on it in the same frame.
        player.x = 20;  // the beams clear of the body
        boss_bomb[0].on = boss_bomb[1].on = boss_bomb[2].on = true;
        boss_bomb[hit].x = player.x + 6;
        boss_bomb[1 - hit].x = boss_bomb[hit].x + (hit == 0 ? 40 : -40);
        boss_bomb[0].y = boss_bomb[1].y = FirstContact(player, boss_bomb[hit].spr[0], player.x + 6) - 3;
        boss_bomb[2].x = player.x + 4;
        boss_bomb[2].y = FirstContact(player, boss_bomb[2].spr[0], player.x + 4) - 1;
        Unshield();
        QuietFrame();
        ASSERT_TRUE(player.dead);
        EXPECT_EQ(lives, 8);
        EXPECT_EQ(Sound(pl_fx[1]), (Played{1, 120, 150, 1000}));
        EXPECT_FALSE(boss_bomb[hit].on);
        EXPECT_TRUE(boss_bomb[1 - hit].on);
        EXPECT_TRUE(boss_bomb[2].on) << "not tested against the ship it would have hit";
        boss_bomb[2].on = false;
        for (int f = 0; (boss_bomb[0].on || boss_bomb[1].on) && f < 100; f++) {
            int y = boss_bomb[0].y;
            player2.x = boss_bomb[hit].x - 6;  // the spent one passes right through the second ship
            player2.shield = 0;
            QuietFrame();
            EXPECT_EQ(boss_bomb[0].y, y + 3);
            EXPECT_EQ(boss_bomb[1].y, boss_bomb[0].y);
            if (boss_bomb[0].y <= 196) {
                EXPECT_TRUE(ShownUncovered(boss_bomb[hit].spr[0], boss_bomb[hit].x, y));
                EXPECT_FALSE(boss_bomb[hit].on);
            }
            EXPECT_FALSE(player2.dead);
        }
        EXPECT_EQ(lives, 8);
    }
}

// A player who is out runs no shots any more: one of theirs left in the air
// stays where it was and must not go on hurting the boss unseen, while the
// other player's shots still count.
TEST(BossKill, AShotLeftByAPlayerWhoIsOutHurtsNothing) {
    PlayOptions o;
    o.players = 2;
    StartBoss(1, o);
    QuietFrames(ENTRANCE);
    lives = 0;
    gameover1 = true;
    int hp = boss.hp;
    for (int f = 0; f < 20; f++) {
        Shielded();
        PlaceShot(1, 0, boss.x + 22, boss.y + 40);
        QuietFrame();
    }
    EXPECT_EQ(boss.hp, hp);
    EXPECT_EQ(score, 0);
    EXPECT_TRUE(ShootBody(2));
    EXPECT_EQ(score2, 5);
}

}  // namespace
