// The players' shots: firing and re-arming, the slots, each weapon's speed
// and slots at each power, and weapon 3's blast.

#include "support/playfield.h"

#include <gtest/gtest.h>

#include <string>

// Six presses two frames apart: each weapon fires as many shots as it has
// slots, from the middle of the ship, which then climb at its speed with
// its hits, drawn with the weapon's image.
TEST(Shots, EachWeaponAndPowerHasItsSlotsSpeedAndHits) {
    const int table[][5] = {{1, 1, 1, 2, 2}, {1, 2, 1, 3, 3}, {1, 3, 1, 3, 4},
                            {2, 1, 2, 3, 1}, {2, 2, 3, 4, 2}, {2, 3, 4, 5, 3},
                            {3, 1, 1, 1, 1}, {3, 2, 1, 2, 2}, {3, 3, 1, 2, 3}};
    for (const auto &e : table) {  // weapon, power, hits, speed, slots
        StartPlay({1, 2, 1, e[0], e[1]}, "1 press SPACE\n3 press SPACE\n5 press SPACE\n"
                                         "7 press SPACE\n9 press SPACE\n11 press SPACE\n");
        ClearWave();
        Frames(12);
        const std::string what = "weapon " + std::to_string(e[0]) + " power " + std::to_string(e[1]);
        EXPECT_EQ(bullet[0].on + bullet[1].on + bullet[2].on + bullet[3].on, e[4]) << what;
        EXPECT_EQ(Sound(pl_fx[0]), (Played{e[4], 150, 200, 1000})) << what;
        EXPECT_TRUE(bullet[0].x == 56 && bullet[0].y == 206 - 12 * e[3] && bullet[0].hits == e[2]) << what;
        const shot_t &last = bullet[e[4] - 1];  // drawn last, before this frame's move
        EXPECT_TRUE(ShownAt(last.spr[e[0] - 1], last.x, last.y + e[3])) << what;
    }
    weapon = 4;  // an unknown weapon keeps the parameters the player had
    CheckExtra();
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
    ASSERT_FALSE(bullet[0].on);
    EXPECT_TRUE(Sound(pl_fx[0]).count == 1 && bullet[0].hits == 2);  // reloaded when the slot was freed
    Frame();
    EXPECT_TRUE(Sound(pl_fx[0]).count == 2 && bullet[0].y == 206 - 3);
    Frames(150);  // still held since: no third shot
    EXPECT_EQ(Sound(pl_fx[0]).count, 2);
}

// A hit moves the firing index to the highest free slot; shots leaving the
// top free their slots but leave the index alone.
TEST(Shots, AHitMovesTheFiringIndexToTheHighestFreeSlot) {
    StartPlay({1, 1, 1, 1, 3}, "1 press SPACE\n3 press SPACE\n40 press SPACE\n42 press SPACE\n");
    KeepOnly(1, 4);  // one alien right above the ship
    Frames(39, STILL);
    ASSERT_TRUE(alien[1][4].dead);  // the first shot hit it and its slot is free
    EXPECT_EQ(ibul, 3);
    Frames(3, STILL);
    EXPECT_TRUE(bullet[3].on && !bullet[2].on && bullet[0].on)
        << "slot 3, not 2, and then on round to slot 0";
    StartPlay({1, 1}, "1 press SPACE\n200 press SPACE\n");
    ClearWave();
    Frames(199);
    EXPECT_FALSE(bullet[0].on);
    Frame();
    EXPECT_TRUE(bullet[1].on && !bullet[0].on);
}

// A weapon-3 shot bursts on its last hit into a blast centred on it: the
// small one at power 1 and 2, the large one at power 3, each running its
// images on the blast counter where it burst and freeing the slot at the
// end. A blast that starts above y -6 shows for one frame only.
TEST(Shots, Weapon3BurstsIntoABlastByPower) {
    const int table[][8] = {{1, 150, 3, 7, -14, -10, 10, 5},
                            {2, 150, 3, 9, -14, -10, 21, 7},
                            {3, 150, 10, 16, -28, -16, 21, 7},
                            {1, 3, 3, 7, -14, -10, 1, 1},
                            {1, 4, 3, 7, -14, -10, 10, 5}};
    for (const auto &e : table) {  // power, shot's y, first and last image, offset, frames and images shown
        const std::string what = "power " + std::to_string(e[0]) + " at y " + std::to_string(e[1]);
        StartPlay({1, 2, 1, 3, e[0]});
        ClearWave();
        PlaceShot(1, 0, 100, e[1]);
        RestoreBullet(0);
        const int x = 100 + e[4], y = e[1] + e[5];
        EXPECT_TRUE(bullet[0].blast && bullet[0].frame == e[2] && bullet[0].x == x && bullet[0].y == y)
            << what;
        int drawn = 0, images = 0, prev = -1;
        for (; bullet[0].on && drawn < 100; drawn++) {
            int f = bullet[0].frame;
            Frame();
            EXPECT_TRUE((y < 0 || ShownAt(bullet[0].spr[f], x, y)) && f >= e[2] && f <= e[3])
                << what << " " << f;
            images += f != prev;
            prev = f;
        }
        EXPECT_TRUE(drawn == e[6] && images == e[7])
            << what << ": " << drawn << " frames, " << images << " images";
        EXPECT_TRUE(!bullet[0].blast && bullet[0].hits == 1) << "the slot freed and reloaded";
    }
}

// Every blasting slot drawn steps the one counter, and each slot advances on
// the counts it sees: a lone large blast lasts 21 frames (an image every
// third count), but with three together slot 2 sees every third count and
// runs an image per frame, while slots 0 and 1 hold; they then share the
// counter two by two, and the last one alone.
TEST(Shots, BlastsShareOneAnimationCounter) {
    StartPlay({1, 2, 1, 3, 3});  // weapon 3 at power 3
    ClearWave();
    for (int i = 0; i < 3; i++) PlaceShot(1, i, 60 + 80 * i, 150);
    for (int i = 0; i < 3; i++) RestoreBullet(i);
    EXPECT_EQ(ibul, 0);  // every slot busy: the index stays
    int ended[3] = {0, 0, 0};
    for (int frame = 1; frame <= 60; frame++) {
        Frame();
        for (int i = 0; i < 3; i++)
            if (!bullet[i].on && !ended[i]) ended[i] = frame;
    }
    EXPECT_TRUE(ended[2] == 7 && ended[0] == 27 && ended[1] == 29)
        << ended[0] << " " << ended[1] << " " << ended[2];
}

// The hit test of a shot: weapon 3 samples only every third pixel of the
// shot's image (the shot goes first), other weapons test every pixel. A
// one-pixel target on each pixel of the shot: weapon 3 finds only those on
// the sampling grid, weapon 1 every opaque one.
TEST(Shots, Weapon3SamplesEveryThirdPixelOfTheShot) {
    StartPlay({1, 2, 2, 3});  // two players, weapon 3
    weapon2 = 1;
    PlaceShot(1, 0, 100, 100);
    PlaceShot(2, 0, 100, 100);
    BITMAP *dot = create_bitmap_ex(8, 1, 1);
    putpixel(dot, 0, 0, 5);
    int off_grid = 0;
    for (int n = 0; n < 16 * 5; n++) {
        const int i = n % 5, j = n / 5;
        bool opaque3 = bullet[0].spr[2]->line[j][i], opaque1 = bullet2[0].spr[0]->line[j][i];
        EXPECT_EQ(BulletHit(0, dot, 100 + i, 100 + j), opaque3 && i % 3 == 0 && j % 3 == 0) << i << "," << j;
        EXPECT_EQ(BulletHit2(0, dot, 100 + i, 100 + j), opaque1) << i << "," << j;
        off_grid += opaque3 && (i % 3 || j % 3);
    }
    EXPECT_GT(off_grid, 0);
    destroy_bitmap(dot);
}
