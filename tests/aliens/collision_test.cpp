// Shots against aliens: hit points, flashes and explosions with their
// sounds, scoring by row, piercing shots, weapon 3's blast, and two players
// on one alien.

#include "support/playfield.h"

#include <gtest/gtest.h>

#include <algorithm>

static const int ROW_BONUS[5] = {60, 50, 40, 30, 20};  // for a kill, top row first

// Three hit points: two hits flash with the hit sound until the next 80 ms
// tick, the third explodes with the explosion sound and shows images 3 to
// 8, one per tick; 3 points plus the row's 20.
TEST(Collision, ThreeHitAlienFlashesTwiceThenExplodes) {
    StartPlay({2, 3, 1, 1, 3}, "1 press SPACE\n41 press SPACE\n81 press SPACE\n");  // Old, Hard, power 3
    KeepOnly(1, 4);
    const alien_t &a = alien[1][4];
    ASSERT_EQ(a.hp, 3);
    int hits = 0, lit = 0, shown[9] = {0};
    for (int f = 0; f < 400 && (!a.dead || a.exploding); f++) {
        int hp = a.hp, image = a.frame;
        bool flash = a.hit && !a.dead, boom = a.exploding;
        Frames(1, STILL);
        hits += a.hp < hp;
        EXPECT_EQ(Sound(al_fx[1]).count, std::min(hits, 2)) << "frame " << f;
        EXPECT_TRUE(!flash || (ShownUncovered(a.spr[2], a.x, a.y) && a.hit == !synf)) << "frame " << f;
        lit += flash;
        if (boom) shown[image] += ShownUncovered(a.spr[image], a.x, a.y);
    }
    EXPECT_TRUE(a.dead && hits == 3 && lit >= 2 && score == 3 + 20);
    EXPECT_EQ(Sound(al_fx[1]), (Played{2, 50, 100, 1000}));
    EXPECT_EQ(Sound(al_fx[0]), (Played{1, 50, 200, 1000}));
    for (int f = 3; f <= 8; f++) EXPECT_GT(shown[f], 0) << "image " << f;
    EXPECT_EQ(a.frame, 9);
}

// A shot overlapping two aliens at once hits both in the one pass, top row
// first, as long as it has hits left; a weapon-2 shot at power 3 then goes
// on through the column until its fourth hit.
TEST(Collision, Weapon2PiercesSeveralAliensInOneFrame) {
    StartPlay({2, 1, 1, 2, 3});  // Old, Easy, weapon 2 at power 3
    KeepOnly(1, 0);
    for (int r = 1; r < 5; r++) alien[1][r].dead = false;
    const alien_t &upper = alien[1][3], &lower = alien[1][4];
    PlaceShot(1, 0, upper.x + 6, 0);
    for (int &y = bullet[0].y; y < lower.y + 16; y++)
        if (BulletHit(0, upper.spr[al_fr], upper.x, upper.y) &&
            BulletHit(0, lower.spr[al_fr], lower.x, lower.y))
            break;
    ASSERT_LT(bullet[0].y, lower.y + 16) << "no height where the shot meets both aliens";
    const int y = bullet[0].y;
    bullet[0].hits = 1;  // with a single hit left only the alien scanned first is hit
    Collision();
    EXPECT_TRUE(upper.dead && !lower.dead && !bullet[0].on && score == 1 + ROW_BONUS[3]);
    alien[1][3].dead = false, alien[1][3].hp = 1, score = al_count = 0;
    PlaceShot(1, 0, upper.x + 6, y);
    Collision();
    EXPECT_TRUE(upper.dead && lower.dead && al_count == 2 && bullet[0].on && bullet[0].hits == 2);
    Frames(40, STILL);
    EXPECT_TRUE(alien[1][2].dead && alien[1][1].dead && !alien[1][0].dead && !bullet[0].on)
        << "the fourth hit spent the shot";
    EXPECT_EQ(score, 4 + ROW_BONUS[4] + ROW_BONUS[3] + ROW_BONUS[2] + ROW_BONUS[1]);
}

// Weapon 3 at power 3 bursts on the first alien it meets; for the blast's
// 21 frames every alien its image overlaps takes a hit per frame. With 3
// hit points the aliens around the burst die of the blast alone, far ones
// are untouched, and every hit scored its point.
TEST(Collision, Weapon3BlastDamagesTheAliensAroundIt) {
    StartPlay({2, 3, 1, 3, 3}, "1 press SPACE\n");  // Old, Hard, weapon 3 at power 3
    int frames = 0;
    for (; !bullet[0].blast && frames < 200; frames++) Frames(1, STILL);
    ASSERT_TRUE(bullet[0].blast);
    EXPECT_EQ(alien[1][4].hp, 2);
    for (; bullet[0].on && frames < 300; frames++) Frames(1, STILL);
    int dead = 0, hits = 0, bonus = 0;
    for (int n = 0; n < 40; n++) {
        const alien_t &a = alien[n / 5][n % 5];
        hits += 3 - a.hp, dead += a.dead, bonus += a.dead ? ROW_BONUS[n % 5] : 0;
        EXPECT_TRUE(n < 20 || a.hp == 3) << "alien " << n;
    }
    EXPECT_TRUE(!bullet[0].on && alien[1][4].dead && dead >= 3 && al_count == dead);
    EXPECT_EQ(score, hits + bonus);
    EXPECT_EQ(Sound(al_fx[0]).count, dead);
    EXPECT_EQ(Sound(al_fx[1]).count, hits - dead);  // every hit that left hit points
}

// Both players' shots reach one alien on the same frame. Player 1's pass
// runs first: if it destroys the alien, player 2's shot goes through it
// unharmed; with two hit points each shot deals one and the kill is
// player 2's. A kill scores the hit and the row's bonus.
TEST(Collision, TwoPlayersHitTheSameAlienOnOneFrame) {
    for (int r : {0, 4}) {
        const int hp = r == 0 ? 1 : 2;
        StartPlay({2, 2, 2});  // Old mode, two players
        KeepOnly(3, r);
        alien_t &a = alien[3][r];
        a.hp = hp;
        PlaceShot(1, 0, a.x + 6, 150);
        PlaceShot(2, 0, a.x + 6, 150);
        for (int f = 0; !a.dead && a.hp == hp && f < 60; f++) Frames(1, STILL);
        ASSERT_TRUE(a.dead) << "hit points " << hp;
        EXPECT_TRUE(al_count == 1 && !bullet[0].on && bullet2[0].on == (hp == 1)) << "hit points " << hp;
        EXPECT_EQ(score, hp == 1 ? 1 + ROW_BONUS[r] : 1);
        EXPECT_EQ(score2, hp == 1 ? 0 : 1 + ROW_BONUS[r]);
    }
}
