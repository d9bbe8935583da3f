// The players' shots: firing and re-arming, the slots, each weapon's speed
// and slots at each power, and weapon 3's blast.

#include "support/playfield.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Presses(int first, int count, int every) {
    std::string s;
    for (int k = 0; k < count; k++) s += std::to_string(first + k * every) + " press SPACE\n";
    return s;
}

// Six presses two frames apart: each weapon fires as many shots as it has
// slots, which then climb at its speed with its hits.
TEST(Shots, EachWeaponAndPowerHasItsSlotsSpeedAndHits) {
    struct Expect {
        int weapon, power, hits, speed, slots;
    };
    const Expect table[] = {{1, 1, 1, 2, 2}, {1, 2, 1, 3, 3}, {1, 3, 1, 3, 4},
                            {2, 1, 2, 3, 1}, {2, 2, 3, 4, 2}, {2, 3, 4, 5, 3},
                            {3, 1, 1, 1, 1}, {3, 2, 1, 2, 2}, {3, 3, 1, 2, 3}};
    for (const Expect &e : table) {
        SCOPED_TRACE("weapon " + std::to_string(e.weapon) + " power " + std::to_string(e.power));
        PlayOptions o;
        o.weapon = e.weapon;
        o.power = e.power;
        StartPlay(o, Presses(1, 6, 2));
        ClearWave();
        Frames(12);
        int flying = 0;
        for (int i = 0; i < 4; i++) flying += bullet[i].on;
        EXPECT_EQ(flying, e.slots);
        EXPECT_EQ(Sound(pl_fx[0]), (Played{e.slots, 150, 200, 1000}));
        // Fired on frame 1 from the middle of the ship, moved on every frame.
        EXPECT_EQ(bullet[0].x, 56);
        EXPECT_EQ(bullet[0].y, 206 - 12 * e.speed);
        EXPECT_EQ(bullet[0].hits, e.hits);
        // The last slot's shot was drawn last, with the weapon's image, where
        // it was before this frame's move.
        const shot_t &last = bullet[e.slots - 1];
        EXPECT_TRUE(ShownAt(last.spr[e.weapon - 1], last.x, last.y + e.speed));
    }
    // An unknown weapon keeps the parameters the player had.
    weapon = 4;
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
    for (int frames = 20; bullet[0].on && frames < 200; frames++) {
        Frame();
        EXPECT_EQ(Sound(pl_fx[0]).count, 1);
    }
    ASSERT_FALSE(bullet[0].on);
    EXPECT_EQ(bullet[0].hits, 2);  // reloaded when the slot was freed
    Frame();
    EXPECT_EQ(Sound(pl_fx[0]).count, 2);
    EXPECT_TRUE(bullet[0].on);
    EXPECT_EQ(bullet[0].y, 206 - 3);
    Frames(150);  // still held since: no third shot
    EXPECT_EQ(Sound(pl_fx[0]).count, 2);
}

TEST(Shots, AHitMovesTheFiringIndexToTheHighestFreeSlot) {
    PlayOptions o;
    o.skill = 1;
    o.power = 3;  // weapon 1: four slots
    StartPlay(o, "1 press SPACE\n3 press SPACE\n40 press SPACE\n42 press SPACE\n");
    KeepOnly(1, 4);  // one alien right above the ship
    Frames(39, STILL);
    ASSERT_TRUE(alien[1][4].dead);  // the first shot hit it and its slot is free
    EXPECT_FALSE(bullet[0].on);
    EXPECT_EQ(ibul, 3);
    Frames(3, STILL);
    EXPECT_TRUE(bullet[3].on);  // slot 3, not 2
    EXPECT_FALSE(bullet[2].on);
    EXPECT_TRUE(bullet[0].on);  // and then on round to slot 0
    EXPECT_EQ(ibul, 1);

    // Shots leaving the top free their slots but leave the index alone.
    o.power = 1;
    StartPlay(o, "1 press SPACE\n200 press SPACE\n");
    ClearWave();
    Frames(199);
    EXPECT_FALSE(bullet[0].on);
    EXPECT_EQ(ibul, 1);
    Frame();
    EXPECT_TRUE(bullet[1].on);
    EXPECT_FALSE(bullet[0].on);
}

// A weapon-3 shot bursts on its hit into a blast centred on it: the small
// one at power 1 and 2, the large one at power 3, each running its images on
// the blast counter and freeing the slot at the end.
TEST(Shots, Weapon3BurstsIntoABlastByPower) {
    struct Expect {
        int power, first, last, dx, dy, frames;
    };
    const Expect table[] = {{1, 3, 7, -14, -10, 10}, {2, 3, 9, -14, -10, 21}, {3, 10, 16, -28, -16, 21}};
    for (const Expect &e : table) {
        SCOPED_TRACE("power " + std::to_string(e.power));
        PlayOptions o;
        o.mode = 2;
        o.weapon = 3;
        o.power = e.power;
        StartPlay(o, "1 press SPACE\n");
        KeepOnly(1, 4);
        alien[1][4].hp = 100;  // stays alive under the whole blast
        int frames = 0, x = 0, y = 0;
        while (!bullet[0].blast && frames < 200) {
            x = bullet[0].x;
            y = bullet[0].y - bullet[0].vy;  // where this frame's move takes it
            Frames(1, STILL);
            frames++;
        }
        ASSERT_TRUE(bullet[0].blast);
        EXPECT_TRUE(bullet[0].on);
        EXPECT_EQ(bullet[0].frame, e.first);
        EXPECT_EQ(bullet[0].x, x + e.dx);
        EXPECT_EQ(bullet[0].y, y + e.dy);
        EXPECT_EQ(bul_aux, 0);

        // The burst frame dealt the shot's own hit; every later frame the
        // blast tests the alien with its image of that moment.
        int drawn = 0, images = 0, prev = -1, hits = 1;
        const alien_t &a = alien[1][4];
        while (bullet[0].on && drawn < 100) {
            int f = bullet[0].frame;
            Frames(1, STILL);
            drawn++;
            EXPECT_TRUE(ShownAt(bullet[0].spr[f], x + e.dx, y + e.dy));
            EXPECT_GE(f, e.first);
            EXPECT_LE(f, e.last);
            images += f != prev;
            prev = f;
            if (bullet[0].on)
                hits += hitTestFast(bullet[0].spr[bullet[0].frame], a.spr[al_fr], bullet[0].x, bullet[0].y,
                                    a.x, a.y);
        }
        EXPECT_EQ(drawn, e.frames);
        EXPECT_EQ(images, e.last - e.first + 1);
        EXPECT_FALSE(bullet[0].blast);
        EXPECT_EQ(bullet[0].hits, 1);
        EXPECT_GT(hits, 1);  // the blast itself hurt the alien
        EXPECT_EQ(a.hp, 100 - hits);
        EXPECT_EQ(score, hits);
    }
}

TEST(Shots, ABlastBurstingNearTheTopShowsForOneFrame) {
    PlayOptions o;
    o.weapon = 3;
    StartPlay(o);
    ClearWave();
    bullet[0].on = true;
    bullet[0].x = 100;
    bullet[0].y = 3;
    RestoreBullet(0);
    EXPECT_TRUE(bullet[0].blast);
    EXPECT_EQ(bullet[0].y, -7);
    Frame();
    EXPECT_FALSE(bullet[0].on);
    EXPECT_FALSE(bullet[0].blast);
    EXPECT_EQ(bul_aux, 1);

    bullet[0].on = true;
    bullet[0].y = 4;
    RestoreBullet(0);
    Frame();
    EXPECT_TRUE(bullet[0].blast);
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
    for (int i = 0; i < 3; i++) {
        bullet[i].on = true;
        bullet[i].x = 60 + 80 * i;
        bullet[i].y = 150;
    }
    for (int i = 0; i < 3; i++) {
        RestoreBullet(i);
        ASSERT_TRUE(bullet[i].blast);
    }
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

// The shot image and the hit test of a slot: the flight image of the weapon
// or the blast frame, and weapon 3 sampling only every third pixel of it.
TEST(Shots, ShotImagesAndTheirHitTests) {
    PlayOptions o;
    o.players = 2;
    o.weapon = 3;
    StartPlay(o);
    ClearWave();
    weapon2 = 1;
    bullet[0].on = bullet2[0].on = true;
    bullet[0].x = bullet2[0].x = 100;
    bullet[0].y = bullet2[0].y = 100;
    EXPECT_EQ(BulletImage(0), bullet[0].spr[2]);
    EXPECT_EQ(BulletImage2(0), bullet2[0].spr[0]);

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

    RestoreBullet(0);
    EXPECT_EQ(BulletImage(0), bullet[0].spr[3]);
    destroy_bitmap(dot);
}

}  // namespace
