// Shots against aliens: hit points, flashes and explosions with their
// sounds, scoring by row, piercing shots, weapon 3's blast, and two players
// on one alien. Old mode keeps bonuses out of the scores.

#include "support/playfield.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int RowBonus(int r) {
    return (5 - r) * 10 + 10;
}

void Revive(int c, int r, int hp) {
    alien_t &a = alien[c][r];
    a.dead = a.exploding = a.hit = false;
    a.hp = hp;
    a.frame = 0;
}

// One alien of each row in turn, each shot down by one shot from below.
TEST(Collision, KillsScoreByRow) {
    PlayOptions o;
    o.mode = 2;
    o.skill = 1;
    StartPlay(o);
    int total = 0;
    for (int r = 0; r < 5; r++) {
        SCOPED_TRACE("row " + std::to_string(r));
        ClearWave();
        Revive(1, r, 1);
        key[KEY_SPACE] = -1;
        Frames(1, STILL);
        key[KEY_SPACE] = 0;
        int frames = 0;
        while (!alien[1][r].dead && frames < 120) {
            Frames(1, STILL);
            frames++;
        }
        ASSERT_TRUE(alien[1][r].dead);
        total += 1 + RowBonus(r);
        EXPECT_EQ(score, total);
        EXPECT_EQ(al_count, r + 1);
        EXPECT_TRUE(alien[1][r].exploding);
        EXPECT_EQ(alien[1][r].frame, 3);
        EXPECT_EQ(alien[1][r].hp, 0);
        Frames(30, STILL);  // let the shot leave and the explosion finish
    }
    EXPECT_EQ(total, 61 + 51 + 41 + 31 + 21);
    Played boom = Sound(al_fx[0]);
    EXPECT_EQ(boom.count, 5);
    EXPECT_EQ(boom.vol, 50);
    EXPECT_EQ(boom.pan, 200);
    EXPECT_EQ(boom.freq, 1000);
    EXPECT_EQ(Sound(al_fx[1]).count, 0);  // one hit point: no hit sound
}

// Three hit points: two hits flash with the hit sound, the third explodes
// with the explosion sound; 3 points plus the row's 20.
TEST(Collision, ThreeHitAlienFlashesTwiceThenExplodes) {
    PlayOptions o;
    o.mode = 2;
    o.skill = 3;
    o.power = 3;
    StartPlay(o, "1 press SPACE\n41 press SPACE\n81 press SPACE\n");
    KeepOnly(1, 4);
    const alien_t &a = alien[1][4];
    ASSERT_EQ(a.hp, 3);
    int hits = 0, flashes_seen = 0, frame = 0;
    while (!a.dead && frame < 200) {
        int hp = a.hp;
        Frames(1, STILL);
        frame++;
        if (a.hp == hp) continue;
        hits++;
        if (hits < 3) {
            EXPECT_TRUE(a.hit);
            EXPECT_EQ(a.frame, 2);
            EXPECT_EQ(Sound(al_fx[1]).count, hits);
            // Next frame the flash shows over the alien, until the 80 ms tick.
            Frames(1, STILL);
            frame++;
            EXPECT_TRUE(ShownUncovered(a.spr[2], a.x, a.y));
            flashes_seen++;
            int lit = 1;  // frames the flash was drawn; it goes on the first 80 ms tick
            while (a.hit && !synf && lit < 20) {
                Frames(1, STILL);
                frame++;
                lit++;
            }
            EXPECT_TRUE(synf);
            EXPECT_FALSE(a.hit);
            EXPECT_LE(lit, 5);
            int walk = al_fr;  // the image drawn before this frame's step
            Frames(1, STILL);
            frame++;
            EXPECT_TRUE(ShownUncovered(a.spr[walk], a.x, a.y));
        }
    }
    ASSERT_TRUE(a.dead);
    EXPECT_EQ(hits, 3);
    EXPECT_EQ(flashes_seen, 2);
    EXPECT_EQ(score, 3 + 20);
    Played hit = Sound(al_fx[1]);
    EXPECT_EQ(hit.count, 2);
    EXPECT_EQ(hit.vol, 50);
    EXPECT_EQ(hit.pan, 100);
    EXPECT_EQ(hit.freq, 1000);
    EXPECT_EQ(Sound(al_fx[0]).count, 1);

    // The explosion shows images 3 to 8, one per 80 ms tick, over the dead
    // alien, and then nothing.
    int shown[9] = {0};
    while (a.exploding && frame < 400) {
        int f = a.frame;
        Frames(1, STILL);
        frame++;
        if (ShownUncovered(a.spr[f], a.x, a.y)) shown[f]++;
    }
    for (int f = 3; f <= 8; f++) EXPECT_GT(shown[f], 0) << "image " << f;
    EXPECT_EQ(a.frame, 9);
}

// A shot overlapping two aliens at once hits both in the one pass, top row
// first, as long as it has hits left; a weapon-2 shot at power 3 then goes
// on through the column until its fourth hit.
TEST(Collision, Weapon2PiercesSeveralAliensInOneFrame) {
    PlayOptions o;
    o.mode = 2;
    o.skill = 1;
    o.weapon = 2;
    o.power = 3;
    StartPlay(o);
    ClearWave();
    for (int r = 0; r < 5; r++) Revive(1, r, 1);
    const alien_t &upper = alien[1][3], &lower = alien[1][4];
    bullet[0].on = true;
    bullet[0].x = upper.x + 6;
    int y = -1;
    for (int t = upper.y; t < lower.y + 16 && y < 0; t++) {
        bullet[0].y = t;
        if (BulletHit(0, upper.spr[al_fr], upper.x, upper.y) &&
            BulletHit(0, lower.spr[al_fr], lower.x, lower.y))
            y = t;
    }
    ASSERT_GE(y, 0) << "no height where the shot meets both aliens";

    // With a single hit left only the alien scanned first is hit.
    bullet[0].y = y;
    bullet[0].hits = 1;
    Collision();
    EXPECT_TRUE(upper.dead);
    EXPECT_FALSE(lower.dead);
    EXPECT_FALSE(bullet[0].on);
    EXPECT_EQ(score, 1 + RowBonus(3));

    Revive(1, 3, 1);
    score = 0;
    al_count = 0;
    bullet[0].on = true;
    bullet[0].y = y;
    bullet[0].hits = 4;
    bullet[0].vy = 5;
    Collision();
    EXPECT_TRUE(upper.dead);
    EXPECT_TRUE(lower.dead);
    EXPECT_EQ(al_count, 2);
    EXPECT_TRUE(bullet[0].on);
    EXPECT_EQ(bullet[0].hits, 2);
    EXPECT_EQ(Sound(al_fx[0]).count, 3);

    Frames(40, STILL);
    EXPECT_TRUE(alien[1][2].dead);
    EXPECT_TRUE(alien[1][1].dead);
    EXPECT_FALSE(alien[1][0].dead);  // the fourth hit spent the shot
    EXPECT_FALSE(bullet[0].on);
    EXPECT_EQ(bullet[0].hits, 4);
    EXPECT_EQ(score, 4 + RowBonus(4) + RowBonus(3) + RowBonus(2) + RowBonus(1));
}

// Weapon 3 at power 3 bursts on the first alien it meets; for the blast's
// 21 frames every alien its image overlaps takes a hit per frame. With 3
// hit points the aliens around the burst die of the blast alone, far ones
// are untouched, and every hit scored its point.
TEST(Collision, Weapon3BlastDamagesTheAliensAroundIt) {
    PlayOptions o;
    o.mode = 2;
    o.skill = 3;
    o.weapon = 3;
    o.power = 3;
    StartPlay(o, "1 press SPACE\n");
    int frames = 0;
    while (!bullet[0].blast && frames < 200) {
        Frames(1, STILL);
        frames++;
    }
    ASSERT_TRUE(bullet[0].blast);
    EXPECT_EQ(alien[1][4].hp, 2);
    while (bullet[0].on && frames < 300) {
        Frames(1, STILL);
        frames++;
    }
    EXPECT_FALSE(bullet[0].on);

    int dead = 0, hits = 0, bonus = 0;
    for (int c = 0; c < 8; c++) {
        for (int r = 0; r < 5; r++) {
            hits += 3 - alien[c][r].hp;
            if (alien[c][r].dead) {
                dead++;
                bonus += RowBonus(r);
            }
        }
    }
    EXPECT_TRUE(alien[1][4].dead);
    EXPECT_GE(dead, 3);
    for (int c = 4; c < 8; c++)
        for (int r = 0; r < 5; r++) EXPECT_EQ(alien[c][r].hp, 3) << c << "," << r;
    EXPECT_EQ(al_count, dead);
    EXPECT_EQ(score, hits + bonus);
    EXPECT_EQ(Sound(al_fx[0]).count, dead);
    EXPECT_EQ(Sound(al_fx[1]).count, hits - dead);  // every hit that left hit points
}

// Both players' shots reach one alien on the same frame. Player 1's pass
// runs first: if it destroys the alien, player 2's shot goes through it
// unharmed; with two hit points each shot deals one and the kill is
// player 2's.
TEST(Collision, TwoPlayersHitTheSameAlienOnOneFrame) {
    for (int hp : {1, 2}) {
        SCOPED_TRACE("hit points " + std::to_string(hp));
        PlayOptions o;
        o.mode = 2;
        o.players = 2;
        StartPlay(o);
        KeepOnly(3, 4);
        alien[3][4].hp = hp;
        for (shot_t *b : {&bullet[0], &bullet2[0]}) {
            b->on = true;
            b->x = alien[3][4].x + 6;
            b->y = 150;
        }
        int frames = 0;
        while (!alien[3][4].dead && alien[3][4].hp == hp && frames < 60) {
            Frames(1, STILL);
            frames++;
        }
        ASSERT_TRUE(alien[3][4].dead);
        EXPECT_EQ(al_count, 1);
        EXPECT_FALSE(bullet[0].on);
        if (hp == 1) {
            EXPECT_EQ(score, 1 + RowBonus(4));
            EXPECT_EQ(score2, 0);
            EXPECT_TRUE(bullet2[0].on);
            EXPECT_EQ(bullet2[0].hits, 1);
        } else {
            EXPECT_EQ(score, 1);
            EXPECT_EQ(score2, 1 + RowBonus(4));
            EXPECT_FALSE(bullet2[0].on);
        }
    }
}

}  // namespace
