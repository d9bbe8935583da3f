// The player ships: steering at the three speeds, the shield, the loss and
// restart, player 2 joining; the shots with each weapon's slots, speed and
// hits, and weapon 3's blast.

#include "support/playfield.h"

#include <gtest/gtest.h>

#include <string>

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
// 80 ms, cycling images 0..2.
TEST(Ship, JoinsLosesRestartsShieldedAndFlies) {
    StartPlay({1, 2, 1, 2, 1, 2, 5},
              "1 down G\n1 down RIGHT\n31 down SPACE\n");  // weapon 2, speed 2, 5 lives
    ClearWave();
    score2 = 1234, lives = 3, lives2 = 0, player2.x = 10;
    player2.dead = bullet2[1].on = bomb[3].on = true;
    Player2Enter();
    EXPECT_TRUE(NPLAYERS == 2 && lives2 == 5 && score2 == 0 && bomb[3].on && player2.x == 270);
    EXPECT_TRUE(!player2.dead && player2.shield == 22 && !bullet2[1].on && bullet2[1].hits == 2);
    Frame();
    EXPECT_TRUE(bullet2[0].on && bullet2[0].x == 276 && !bullet[0].on);
    Frames(29);
    ASSERT_EQ(player.x, 80);
    lives2 = 1;
    PlayerHit(), PlayerHit2();
    EXPECT_TRUE(player.dead && player2.dead && player.frame == 3 && lives == 2 && lives2 == 0);
    EXPECT_EQ(Sound(pl_fx[1]), (Played{2, 120, 150, 1000}));
    int ticks = 0;
    while (player.dead && ticks < 10) {
        int before = player.frame;
        Frame();
        EXPECT_TRUE(player.x == (player.dead ? 80 : 50) && bullet[0].on == !player.dead &&
                    player2.dead == player.dead);
        ticks += synf;
        EXPECT_TRUE(player.frame == (player.dead ? before + synf : 0) &&
                    (synf || ShownAt(player.spr[before], 80, 206)));
    }
    EXPECT_EQ(ticks, 4);
    EXPECT_TRUE(player.shield == 22 && player2.x == 270 && player2.shield == 22) << "fresh ships";
    // Fire, held through the explosion, shoots from the start position.
    EXPECT_TRUE(Sound(pl_fx[0]).count == 2 && bullet[0].x == 56);
    for (ticks = 0; player.shield > 0 && ticks < 30; ticks += synf) {
        int before = player.frame;
        Frame();
        EXPECT_EQ(player.frame, synf ? (before + 1) % 3 : before);
    }
    EXPECT_TRUE(ticks == 22 && player.frame == 1) << ticks << " ticks";
}

// Six presses two frames apart: each weapon fires as many shots as it has
// slots, from the middle of the ship, which then climb at its speed with
// its hits, drawn with the weapon's image. An unknown weapon keeps the
// parameters the player had.
TEST(Shots, EachWeaponAndPowerHasItsSlotsSpeedAndHits) {
    const int table[][5] = {{1, 1, 1, 2, 2}, {1, 2, 1, 3, 3}, {1, 3, 1, 3, 4},
                            {2, 1, 2, 3, 1}, {2, 2, 3, 4, 2}, {2, 3, 4, 5, 3},
                            {3, 1, 1, 1, 1}, {3, 2, 1, 2, 2}, {3, 3, 1, 2, 3}};
    for (const auto &e : table) {  // weapon, power, hits, speed, slots
        SCOPED_TRACE("weapon " + std::to_string(e[0]) + " power " + std::to_string(e[1]));
        StartPlay({1, 2, 1, e[0], e[1]}, "1 press SPACE\n3 press SPACE\n5 press SPACE\n"
                                         "7 press SPACE\n9 press SPACE\n11 press SPACE\n");
        ClearWave();
        Frames(12);
        EXPECT_EQ(bullet[0].on + bullet[1].on + bullet[2].on + bullet[3].on, e[4]);
        EXPECT_EQ(Sound(pl_fx[0]), (Played{e[4], 150, 200, 1000}));
        EXPECT_TRUE(bullet[0].x == 56 && bullet[0].y == 206 - 12 * e[3] && bullet[0].hits == e[2]);
        const shot_t &last = bullet[e[4] - 1];  // drawn last, before this frame's move
        EXPECT_TRUE(ShownAt(last.spr[e[0] - 1], last.x, last.y + e[3]));
    }
    weapon = 4, CheckExtra();
    EXPECT_TRUE(bul_pw == 1 && bul_speed == 2);
}

// One shot per press; a press that finds its slot busy fires, if the key is
// still held, on the first frame the slot is free again.
TEST(Shots, OnePressOneShotAndABusySlotWaitsForTheHeldKey) {
    StartPlay({1, 2, 1, 2}, "1 down SPACE\n21 up SPACE\n25 down SPACE\n");  // weapon 2: one slot
    ClearWave();
    Frames(20);
    EXPECT_EQ(Sound(pl_fx[0]).count, 1);  // held: no repeat
    for (int f = 20; bullet[0].on && f < 200; f++) Frame();
    EXPECT_EQ(Sound(pl_fx[0]).count, 1);
    Frame();
    EXPECT_TRUE(Sound(pl_fx[0]).count == 2 && bullet[0].y == 206 - 3);
    Frames(150);  // still held since: no third shot
    EXPECT_EQ(Sound(pl_fx[0]).count, 2);
}

// A weapon-3 shot bursts on its last hit into a blast centred on it: the
// small one at power 1 and 2, the large one at power 3, each running its
// images where it burst and freeing the slot at the end. A blast that starts
// above y -6 shows for one frame only. Blasts together share one counter,
// stepped by every blasting slot drawn: with three large ones (the last
// play, at power 3) slot 2 runs an image per frame while 0 and 1 hold, then
// those two share it.
TEST(Shots, Weapon3BurstsIntoABlastByPower) {
    const int table[][7] = {{1, 150, 3, 7, -14, -10, 10},
                            {2, 150, 3, 9, -14, -10, 21},
                            {1, 3, 3, 7, -14, -10, 1},
                            {1, 4, 3, 7, -14, -10, 10},
                            {3, 150, 10, 16, -28, -16, 21}};
    for (const auto &e : table) {  // power, shot's y, first and last image, offset, frames shown
        SCOPED_TRACE("power " + std::to_string(e[0]) + " at y " + std::to_string(e[1]));
        StartPlay({1, 2, 1, 3, e[0]});
        ClearWave();
        PlaceShot(1, 0, 100, e[1]);
        RestoreBullet(0);
        const int x = 100 + e[4], y = e[1] + e[5];
        EXPECT_TRUE(bullet[0].blast && bullet[0].frame == e[2] && bullet[0].x == x && bullet[0].y == y);
        int drawn = 0;
        for (; bullet[0].on && drawn < 100; drawn++) {
            int f = bullet[0].frame;
            Frame();
            EXPECT_TRUE((y < 0 || ShownAt(bullet[0].spr[f], x, y)) && f >= e[2] && f <= e[3]) << f;
        }
        EXPECT_TRUE(drawn == e[6] && !bullet[0].blast && bullet[0].hits == 1) << drawn << " frames";
    }
    for (int i = 0; i < 3; i++) PlaceShot(1, i, 60 + 80 * i, 150), RestoreBullet(i);
    int ended[3] = {0, 0, 0};
    for (int frame = 1; frame <= 60; frame++, Frame())
        for (int i = 0; i < 3; i++) ended[i] = ended[i] || bullet[i].on ? ended[i] : frame;
    EXPECT_TRUE(ended[2] == 8 && ended[0] == 28 && ended[1] == 30) << ended[0] << ended[1] << ended[2];
}
