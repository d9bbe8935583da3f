// What all five fights share: the projectiles against the ships (one life a
// frame, the idle second ship), projectile groups after a hit, the shots of
// a player who is out, and the kill with its sixty explosions and the level
// advance.

#include "support/bossfight.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

// Where each kind of projectile is, relative to the place it should touch
// the ship after one frame's move.
struct Kind {
    int boss, slot;
    int vy, dx;  // its move in one frame
};
const Kind KINDS[] = {{1, 0, 3, 0},  {1, 1, 3, 0}, {1, 2, 1, 0},  {1, 3, 2, -1}, {1, 4, 2, 1}, {2, 0, 2, 0},
                      {2, 5, 2, 0},  {3, 0, 2, 0}, {3, 3, 2, 0},  {4, 0, 3, 0},  {4, 1, 2, 0}, {4, 3, 2, 2},
                      {4, 5, 2, -2}, {5, 0, 3, 1}, {5, 2, 3, -1}, {5, 4, 2, 0},  {5, 6, 2, 0}, {5, 11, 2, 0}};

// In a one-player game the second ship's record lies at its start place
// with the shield it was given, which never runs down: no boss ever costs
// it a life.
TEST(BossProjectiles, EveryKindHitsAnOpenShipButNeitherAShieldedNorTheIdleSecondOne) {
    for (const Kind &k : KINDS) {
        SCOPED_TRACE("boss " + std::to_string(k.boss) + " slot " + std::to_string(k.slot));
        StartBoss(k.boss);
        for (int f = 0; f < ENTRANCE + 250; f++) {  // long past a shield's run
            player.shield = 1000;
            QuietFrame();
        }
        EXPECT_EQ(player2.x, 270);
        for (int c = 0; c < 3; c++) {  // player 1 shielded, then open; the idle ship
            player_t &p = c == 2 ? player2 : player;
            boss.x = 150;  // the body far from the ship (the fourth would touch it)
            boss.y = 20;
            for (bossbomb_t &other : boss_bomb)
                other.on = false, other.y = 0;  // a group lead too, above its limit
            player.x = 40;
            player.dead = false;
            player.shield = c == 1 ? 0 : 1000;
            bossbomb_t &b = boss_bomb[k.slot];
            b.on = true;
            b.vy = k.vy;
            b.x = p.x + 4 - k.dx;
            b.y = FirstContact(p, b.spr[0], p.x + 4) - k.vy;
            int before = lives + lives2;
            QuietFrame();
            EXPECT_EQ(lives + lives2, before - (c == 1)) << "case " << c;
            EXPECT_EQ(player.dead, c == 1);
            EXPECT_EQ(b.on, c != 1);
        }
    }
}

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

// The shot that deals the last hit point scores 5 and the kill bonus and
// is not restored; nothing else of the frame is tested: the second player's
// shot on the body and a beam on the second ship wait, and from then on the
// projectiles are frozen. Sixty explosions follow over the body, each with
// its sound and its seven images, the body shrinking under them and gone
// once the 51st has started; the level advances on the very frame the count
// reaches 200, 140 frames after the last explosion ended, with the next
// stage, a fresh formation and ships, and the play goes on.
TEST(BossKill, TheKillingShotEndsTheFightAndSixtyExplosionsLeadToAFreshWave) {
    PlayOptions o;
    o.players = 2;
    // Keys far ahead leave the shops, if they open, on their first key wait.
    StartBoss(1, o, "15000 press SPACE\n17000 press G\n");
    QuietFrames(ENTRANCE);
    boss.hp = 1;
    PlaceShot(1, 0, boss.x + 22, boss.y + 40);
    PlaceShot(2, 0, boss.x + 24, boss.y + 40);
    bossbomb_t &beam = boss_bomb[2];
    beam.on = true;
    beam.x = player2.x + 4;
    beam.y = FirstContact(player2, beam.spr[0], beam.x) - 1;  // falls one and touches
    Unshield();
    QuietFrame();
    ASSERT_TRUE(fl_des);
    EXPECT_EQ(score, 5 + 1500);
    EXPECT_EQ(score2, 0);
    EXPECT_TRUE(bullet[0].on) << "the killing shot is not restored";
    int bx = boss.x, by = boss.y, last_end = -1, frame = 0, beam_y = beam.y;
    bool drawn_late = false;
    while (level == 5 && frame < 2000) {
        // The kill's sound, and one for each explosion begun.
        ASSERT_EQ(Sound(al_fx[0]).count, 1 + std::min(exp_n, 60)) << "frame " << frame;
        int before = exp_n;
        explosion_t was[7];  // one that ends in this frame is still drawn in it
        std::copy(explosion, explosion + 7, was);
        QuietFrame();
        frame++;
        if (level != 5) {
            EXPECT_EQ(before, 199) << "the advance waits for exactly 200";
            break;
        }
        EXPECT_TRUE(beam.on && beam.y == beam_y && !player2.dead) << "frozen";
        bool live = false;
        for (int j = 0; j < 7; j++) {
            const explosion_t &e = explosion[j];
            EXPECT_TRUE(!was[j].on || e.on || was[j].frame == 6) << "each ends after its image 6";
            live |= e.on;
            EXPECT_TRUE(!e.on || (e.frame <= 6 && e.x >= bx - 20 && e.x <= bx + 40 && e.y >= by - 20 &&
                                  e.y <= by + 60))
                << e.x << "," << e.y;
        }
        if (!live && last_end < 0 && exp_n >= 60) last_end = frame;
        // Once the 51st is under way nothing of the body shows where no
        // explosion covers it: its row 40 is the backdrop.
        for (int i = 0; before >= 51 && i < 50; i++) {
            bool covered = false;
            for (int j = 0; j < 7; j++)
                for (const explosion_t &e : {was[j], explosion[j]})
                    covered |=
                        e.on && bx + i >= e.x && bx + i < e.x + 32 && by + 40 >= e.y && by + 40 < e.y + 32;
            drawn_late |= !covered && Shown(bx + i, by + 40) != Backdrop(bx + i, by + 40);
        }
    }
    EXPECT_FALSE(drawn_late);
    ASSERT_EQ(level, 6);
    EXPECT_EQ(frame - last_end, 140) << "140 counts, the first on the frame after the last one ended";
    EXPECT_FALSE(bosshere);
    EXPECT_EQ(bgcol, 4) << "the second stage's sheet";
    EXPECT_EQ(al_hits, 2 * 2);
    EXPECT_EQ(player.x, 50);
    EXPECT_GE(player.shield, 21) << "fresh ships";
    for (int c = 0; c < 8; c++)
        for (int r = 0; r < 5; r++)
            EXPECT_TRUE(!alien[c][r].dead && alien[c][r].y == 42 + 20 * r) << c << "," << r;
    QuietFrames(300);
    EXPECT_FALSE(gameover);
    EXPECT_EQ(level, 6);
}

}  // namespace
