// The players' shots: firing and re-arming, the slots, each weapon's speed
// and slots at each power, and weapon 3's blast.

#include "support/playfield.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Six presses two frames apart: each weapon fires as many shots as it has
// slots, from the middle of the ship, which then climb at its speed with
// its hits, drawn with the weapon's image.
TEST(Shots, EachWeaponAndPowerHasItsSlotsSpeedAndHits) {
    const int table[][5] = {{1, 1, 1, 2, 2}, {1, 2, 1, 3, 3}, {1, 3, 1, 3, 4},
                            {2, 1, 2, 3, 1}, {2, 2, 3, 4, 2}, {2, 3, 4, 5, 3},
                            {3, 1, 1, 1, 1}, {3, 2, 1, 2, 2}, {3, 3, 1, 2, 3}};
    for (const auto &e : table) {  // weapon, power, hits, speed, slots
        SCOPED_TRACE("weapon " + std::to_string(e[0]) + " power " + std::to_string(e[1]));
        PlayOptions o;
        o.weapon = e[0];
        o.power = e[1];
        std::string presses;
        for (int f = 1; f <= 11; f += 2) presses += std::to_string(f) + " press SPACE\n";
        StartPlay(o, presses);
        ClearWave();
        Frames(12);
        int flying = 0;
        for (const shot_t &b : bullet) flying += b.on;
        EXPECT_EQ(flying, e[4]);
        EXPECT_EQ(Sound(pl_fx[0]), (Played{e[4], 150, 200, 1000}));
        EXPECT_EQ(bullet[0].x, 56);
        EXPECT_EQ(bullet[0].y, 206 - 12 * e[3]);
        EXPECT_EQ(bullet[0].hits, e[2]);
        const shot_t &last = bullet[e[4] - 1];  // drawn last, before this frame's move
        EXPECT_TRUE(ShownAt(last.spr[e[0] - 1], last.x, last.y + e[3]));
    }
    weapon = 4;  // an unknown weapon keeps the parameters the player had
    CheckExtra();
    EXPECT_EQ(bul_pw, 1);
    EXPECT_EQ(bul_speed, 2);
}

// One shot per press; a press that finds its slot busy fires, if the key is
// still held, on the first frame the slot is free again.
TEST(Shots, OnePressOneShotAndABusySlotWaitsForTheHeldKey) {
    PlayOptions o;
    o.weapon = 2;  // one slot at power 1
    StartPlay(o, "1 down SPACE\n21 up SPACE\n25 down SPACE\n");
    ClearWave();
    Frames(20);
    EXPECT_EQ(Sound(pl_fx[0]).count, 1);  // held: no repeat
    for (int f = 20; bullet[0].on && f < 200; f++) Frame();
    ASSERT_FALSE(bullet[0].on);
    EXPECT_EQ(Sound(pl_fx[0]).count, 1);
    EXPECT_EQ(bullet[0].hits, 2);  // reloaded when the slot was freed
    Frame();
    EXPECT_EQ(Sound(pl_fx[0]).count, 2);
    EXPECT_EQ(bullet[0].y, 206 - 3);
    Frames(150);  // still held since: no third shot
    EXPECT_EQ(Sound(pl_fx[0]).count, 2);
}

// A hit moves the firing index to the highest free slot; shots leaving the
// top free their slots but leave the index alone.
TEST(Shots, AHitMovesTheFiringIndexToTheHighestFreeSlot) {
    PlayOptions o;
    o.skill = 1;
    o.power = 3;  // weapon 1: four slots
    StartPlay(o, "1 press SPACE\n3 press SPACE\n40 press SPACE\n42 press SPACE\n");
    KeepOnly(1, 4);  // one alien right above the ship
    Frames(39, STILL);
    ASSERT_TRUE(alien[1][4].dead);  // the first shot hit it and its slot is free
    EXPECT_EQ(ibul, 3);
    Frames(3, STILL);
    EXPECT_TRUE(bullet[3].on);  // slot 3, not 2
    EXPECT_FALSE(bullet[2].on);
    EXPECT_TRUE(bullet[0].on);  // and then on round to slot 0

    o.power = 1;
    StartPlay(o, "1 press SPACE\n200 press SPACE\n");
    ClearWave();
    Frames(199);
    EXPECT_FALSE(bullet[0].on);
    Frame();
    EXPECT_TRUE(bullet[1].on);
    EXPECT_FALSE(bullet[0].on);
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
        SCOPED_TRACE("power " + std::to_string(e[0]) + " at y " + std::to_string(e[1]));
        PlayOptions o;
        o.weapon = 3;
        o.power = e[0];
        StartPlay(o);
        ClearWave();
        PlaceShot(1, 0, 100, e[1]);
        RestoreBullet(0);
        const int x = 100 + e[4], y = e[1] + e[5];
        EXPECT_TRUE(bullet[0].blast && bullet[0].frame == e[2] && bullet[0].x == x && bullet[0].y == y);
        int drawn = 0, images = 0, prev = -1;
        for (; bullet[0].on && drawn < 100; drawn++) {
            int f = bullet[0].frame;
            Frame();
            EXPECT_TRUE(y < 0 || ShownAt(bullet[0].spr[f], x, y));
            EXPECT_TRUE(f >= e[2] && f <= e[3]) << f;
            images += f != prev;
            prev = f;
        }
        EXPECT_EQ(drawn, e[6]);
        EXPECT_EQ(images, e[7]);
        EXPECT_TRUE(!bullet[0].blast && bullet[0].hits == 1) << "the slot freed and reloaded";
    }
}

// Every blasting slot drawn steps the one counter, and each slot advances on
// the counts it sees: with three blasts together one runs through at a frame
// per image while the others hold, and those then take longer than a lone
// blast.
TEST(Shots, BlastsShareOneAnimationCounter) {
    PlayOptions o;
    o.weapon = 3;
    o.power = 3;
    StartPlay(o);
    ClearWave();
    for (int i = 0; i < 3; i++) PlaceShot(1, i, 60 + 80 * i, 150);
    for (int i = 0; i < 3; i++) RestoreBullet(i);
    EXPECT_EQ(ibul, 0);  // every slot busy: the index stays
    int ended[3] = {0, 0, 0};
    for (int frame = 1; frame <= 60; frame++) {
        int aux = bul_aux, running = 0;
        for (int i = 0; i < 3; i++) running += bullet[i].on;
        Frame();
        EXPECT_EQ(bul_aux, aux + running);
        for (int i = 0; i < 3; i++)
            if (!bullet[i].on && !ended[i]) ended[i] = frame;
    }
    // A lone large blast lasts 21 frames (an image every third count). Here
    // slot 2 sees every third count and runs an image per frame, while
    // slots 0 and 1 hold; they then share the counter two by two, and the
    // last one alone.
    EXPECT_EQ(ended[2], 7);
    EXPECT_EQ(ended[0], 27);
    EXPECT_EQ(ended[1], 29);
}

// The hit test of a shot: weapon 3 samples only every third pixel of the
// shot's image (the shot goes first), other weapons test every pixel.
TEST(Shots, Weapon3SamplesEveryThirdPixelOfTheShot) {
    PlayOptions o;
    o.players = 2;
    o.weapon = 3;
    StartPlay(o);
    ClearWave();
    weapon2 = 1;
    PlaceShot(1, 0, 100, 100);
    PlaceShot(2, 0, 100, 100);
    // A one-pixel target on each pixel of the shot: weapon 3 finds only
    // those on the sampling grid, weapon 1 every opaque one.
    BITMAP *dot = create_bitmap_ex(8, 1, 1);
    putpixel(dot, 0, 0, 5);
    int off_grid = 0;
    for (int j = 0; j < 16; j++) {
        for (int i = 0; i < 5; i++) {
            bool opaque3 = bullet[0].spr[2]->line[j][i], opaque1 = bullet2[0].spr[0]->line[j][i];
            EXPECT_EQ(BulletHit(0, dot, 100 + i, 100 + j), opaque3 && i % 3 == 0 && j % 3 == 0);
            EXPECT_EQ(BulletHit2(0, dot, 100 + i, 100 + j), opaque1);
            off_grid += opaque3 && (i % 3 || j % 3);
        }
    }
    EXPECT_GT(off_grid, 0);
    destroy_bitmap(dot);
}

}  // namespace
