// The player ships: steering at the three speeds, the shield, the loss and
// restart, and player 2 joining. (Where they show is in the pinned game.)

#include "support/playfield.h"

#include <gtest/gtest.h>

// At speed 1 both keys step one counter and the ship moves on even counts,
// so with both held the key that lands on the even count moves it a pixel
// every frame: the right-hand one from an even count, the left one from an
// odd. Faster classes move speed - 1 pixels a frame. No ship leaves x 0..304.
// Player 2 steers with A and D alone.
TEST(Ship, SteersByItsSpeedClassWithinTheField) {
    const struct {
        int who, speed, x;
        const char *script;
        int at[3][2];  // frames run, x; then zeros
    } cases[] = {
        {1, 1, 50, "1 down LEFT\n21 down RIGHT\n31 up LEFT\n", {{20, 40}, {30, 50}, {40, 55}}},
        {1, 1, 50, "1 down LEFT\n22 down RIGHT\n", {{21, 40}, {31, 30}}},
        {1, 1, 300, "1 down RIGHT\n", {{20, 304}}},
        {1, 2, 50, "1 down LEFT\n", {{49, 1}, {59, 0}}},
        {1, 3, 50, "1 down RIGHT\n", {{126, 302}, {136, 304}}},
        {2, 2, 100, "1 down A\n1 down RIGHT\n21 up A\n21 down D\n", {{20, 80}, {30, 90}}},
    };
    for (const auto &k : cases) {
        StartPlay({1, 2, k.who, 1, 1, k.speed}, k.script);
        ClearWave();
        player_t &p = k.who == 1 ? player : player2;
        pl_n = 0, p.x = k.x;
        for (int i = 0, done = 0; i < 3 && k.at[i][0]; done = k.at[i++][0]) {
            Frames(k.at[i][0] - done);
            EXPECT_EQ(p.x, k.at[i][1]) << k.script << "after " << k.at[i][0] << " frames";
        }
    }
}

// Player 2 joins with G: the starting lives, a fresh score, ship and shots,
// and the alien bombs left falling; G fires its first shot. A loss: the
// sound, a life less, then images 3 to 6, one per 80 ms tick, shown where
// the ship died, no steering or firing meanwhile, then a fresh start before
// this frame's shots. Player 2's last ship too explodes and comes back
// (player 1 keeps the play going). The new shield counts down 22 ticks of
// 80 ms, cycling images 0..2; then the ship flies with images 0 and 1 on
// the 150 ms tick.
TEST(Ship, JoinsLosesRestartsShieldedAndFlies) {
    StartPlay({1, 2, 1, 2, 1, 2, 5},
              "1 down G\n1 down RIGHT\n31 down SPACE\n");  // weapon 2, speed 2, 5 lives
    ClearWave();
    score2 = 1234, lives = 3, lives2 = 0, player2.x = 10;
    player2.dead = bullet2[1].on = bomb[3].on = true;
    Player2Enter();
    EXPECT_TRUE(NPLAYERS == 2 && lives2 == 5 && score2 == 0 && bomb[3].on);
    EXPECT_TRUE(player2.x == 270 && !player2.dead && player2.shield == 22) << "a fresh ship";
    EXPECT_TRUE(!bullet2[1].on && bullet2[1].hits == 2)
        << "slots for weapon 2 at power 1, as the play started";
    Frame();
    EXPECT_TRUE(bullet2[0].on && bullet2[0].x == 276 && !bullet[0].on);
    Frames(29);
    ASSERT_EQ(player.x, 80);
    lives2 = 1;
    PlayerHit(), PlayerHit2();
    EXPECT_TRUE(player.dead && player2.dead && player.frame == 3 && lives == 2 && lives2 == 0);
    EXPECT_EQ(Sound(pl_fx[1]), (Played{2, 120, 150, 1000}));
    int ticks = 0, frames = 0, changes = 0;
    while (player.dead && ticks < 10) {
        int before = player.frame;
        Frame();
        EXPECT_TRUE(player.x == (player.dead ? 80 : 50) && bullet[0].on == !player.dead);
        ticks += synf;
        EXPECT_EQ(player.frame, player.dead ? before + synf : 0);
        EXPECT_TRUE(synf || ShownAt(player.spr[before], 80, 206));
        EXPECT_EQ(player2.dead, player.dead);
    }
    EXPECT_EQ(ticks, 4);
    EXPECT_TRUE(player.shield == 22 && player2.x == 270 && player2.shield == 22) << "fresh ships";
    // Fire, held through the explosion, shoots from the start position.
    EXPECT_TRUE(Sound(pl_fx[0]).count == 2 && bullet[0].x == 56);
    Frame();
    EXPECT_EQ(player.x, 51);
    for (ticks = 0; player.shield > 0 && frames < 400; frames++) {
        int before = player.frame;
        Frame();
        ticks += synf;
        EXPECT_EQ(player.frame, synf ? (before + 1) % 3 : before);
    }
    EXPECT_TRUE(ticks == 22 && frames <= 22 * 5 + 5 && player.frame == 1) << ticks << " ticks";
    for (Frame(); !syn; Frame()) EXPECT_EQ(player.frame, 1);  // until the next 150 ms tick
    EXPECT_EQ(player.frame, 0);
    for (int i = 0; i < 100; i++) {
        int before = player.frame;
        Frame();
        EXPECT_LE(player.frame, 1);
        changes += player.frame != before;
    }
    EXPECT_EQ(changes, 10);
}
