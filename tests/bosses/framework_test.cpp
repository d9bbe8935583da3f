// What all five fights share: the entrance zoom with shots flying through
// it, the projectiles against the ships (one life a frame, the idle second
// ship), projectile groups after a hit, and the kill with its sixty
// explosions and the level advance.

#include "support/bossfight.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

struct Entry {
    int x, y;  // where the entrance ends
    int bombs;
};
const Entry ENTRY[6] = {{}, {100, 27, 5}, {140, 82, 6}, {140, 82, 4}, {100, 37, 6}, {100, 37, 12}};

// Every opaque pixel of s drawn at `scale` with its top-left corner at
// (x, y) shows there, in the rows from `top` down.
bool ShownScaled(BITMAP *s, int x, int y, fixed scale, int top) {
    BITMAP *ref = create_bitmap_ex(8, 200, 200);
    clear_to_color(ref, 0);
    rotate_scaled_sprite(ref, s, 0, 0, 0, scale);
    int seen = 0, wrong = 0;
    for (int j = 0; j < 200; j++)
        for (int i = 0; i < 200; i++) {
            int c = getpixel(ref, i, j);
            if (!c || y + j < top) continue;
            seen++;
            wrong += Shown(x + i, y + j) != c;
        }
    destroy_bitmap(ref);
    return seen > 0 && wrong == 0;
}

// The zoom runs 65 frames from scale 537 by 1001 a frame, drifting down,
// with nothing else happening: no projectiles, no animation, and a shot
// crossing the growing body flies on as if nothing were there. The fight's
// frame counter then starts at 1.
TEST(BossEntrance, ZoomsInFor65FramesWhileShotsFlyThrough) {
    for (int n = 1; n <= 5; n++) {
        SCOPED_TRACE("boss " + std::to_string(n));
        StartBoss(n);
        ASSERT_TRUE(bosshere && act_boss == n);
        EXPECT_EQ(boss.count, 536);
        int hp = boss.hp, frames = 0;
        for (; boss.phase == 0 && frames < 200; frames++) {
            if (frames == 30) PlaceShot(1, 0, boss.x + 20, boss.y + 20);  // from the middle up past the top
            int y = boss.y, shot = bullet[0].y;
            fixed scale = boss.count + 1;
            QuietFrame();
            if (frames == ENTRANCE - 1) {
                EXPECT_EQ(scale, 537 + 1001 * 64);
                EXPECT_TRUE(ShownScaled(boss.spr[0], boss.x, y, scale, 12)) << "the body, nearly full size";
            }
            EXPECT_TRUE(frames < 30 || !bullet[0].on || bullet[0].y == shot - bul_speed);
            for (int i = 0; i < ENTRY[n].bombs; i++) EXPECT_FALSE(boss_bomb[i].on);
            EXPECT_EQ(boss.frame, 0);
        }
        EXPECT_EQ(frames, ENTRANCE);
        EXPECT_EQ(boss.x, ENTRY[n].x);
        EXPECT_EQ(boss.y, ENTRY[n].y);
        EXPECT_EQ(boss.hp, hp);
        QuietFrame();
        EXPECT_EQ(boss.count, 1);
    }
}

// No boss ever costs the second player's idle ship a life in a one-player
// game: its record lies at its start place with the shield it was given.
TEST(BossProjectiles, AOnePlayerGameNeverLosesLivesOnTheIdleSecondShip) {
    for (int n = 1; n <= 5; n++) {
        SCOPED_TRACE("boss " + std::to_string(n));
        StartBoss(n);
        int before = lives2;
        ASSERT_EQ(player2.x, 270);
        ASSERT_GT(player2.shield, 0);
        PastEntrance();
        int s = n == 3 || n == 4 ? 0 : ENTRY[n].bombs - 1, over = 0;
        for (int f = 0; f < 3000; f++) {
            player.shield = 1000;    // player 1 stays out of it
            boss_bomb[s].on = true;  // a projectile on the idle ship every frame
            boss_bomb[s].x = player2.x + 4;
            boss_bomb[s].y = player2.y;
            QuietFrame();
            over += boss_bomb[s].on;
            ASSERT_FALSE(player2.dead) << "frame " << f;
        }
        EXPECT_EQ(lives2, before);
        EXPECT_GT(over, 0);
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
        PastEntrance();
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
        EXPECT_GT(boss_bomb[0].y, 196);
        EXPECT_LE(boss_bomb[0].y, 199);
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
    PastEntrance();
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
// stage, a fresh formation and ships.
TEST(BossKill, TheKillingShotEndsTheFightAndSixtyExplosionsLeadToTheNextLevel) {
    PlayOptions o;
    o.players = 2;
    // Keys far ahead leave the shops, if they open, on their first key wait.
    StartBoss(1, o, "15000 press SPACE\n17000 press G\n");
    PastEntrance();
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
    EXPECT_EQ(boss.hp, 0);
    EXPECT_EQ(score, 5 + 1500);
    EXPECT_EQ(score2, 0);
    EXPECT_TRUE(bullet[0].on) << "the killing shot is not restored";
    ASSERT_EQ(Sound(al_fx[0]).count, 1 + exp_n) << "the kill, and the explosions begun in its frame";
    int bx = boss.x, by = boss.y, started = exp_n, last_end = -1, frame = 0, beam_y = beam.y;
    bool drawn_late = false;
    while (level == 5 && frame < 2000) {
        int before = exp_n, plays = Sound(al_fx[0]).count;
        explosion_t was[7];  // one that ends in this frame is still drawn in it
        std::copy(explosion, explosion + 7, was);
        QuietFrame();
        frame++;
        if (level != 5) {
            EXPECT_EQ(before, 199) << "the advance waits for exactly 200";
            break;
        }
        EXPECT_TRUE(beam.on && beam.y == beam_y && !player2.dead) << "frozen";
        if (exp_n <= 60) {
            started += exp_n - before;
            EXPECT_EQ(Sound(al_fx[0]).count - plays, exp_n - before);
        }
        bool live = false;
        for (int j = 0; j < 7; j++) {
            const explosion_t &e = explosion[j];
            EXPECT_TRUE(!was[j].on || e.on || was[j].frame == 6) << "each ends after its image 6";
            if (!e.on) continue;
            live = true;
            EXPECT_LE(e.frame, 6);
            EXPECT_TRUE(e.x >= bx - 20 && e.x <= bx + 40 && e.y >= by - 20 && e.y <= by + 60)
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
    EXPECT_EQ(started, 60);
    EXPECT_FALSE(drawn_late);
    ASSERT_EQ(level, 6);
    EXPECT_EQ(frame - last_end, 140) << "140 counts, the first on the frame after the last one ended";
    EXPECT_FALSE(bosshere);
    EXPECT_EQ(bgcol, 4) << "the second stage's sheet";
    EXPECT_EQ(al_hits, 2 * 2);
    EXPECT_EQ(player.x, 50);
    EXPECT_GE(player.shield, 21) << "fresh ships";
    // A fresh wave at the top of the new stage, which goes on.
    for (int c = 0; c < 8; c++)
        for (int r = 0; r < 5; r++)
            EXPECT_TRUE(!alien[c][r].dead && alien[c][r].y == 42 + 20 * r) << c << "," << r;
    QuietFrames(300);
    EXPECT_FALSE(gameover);
    EXPECT_EQ(level, 6);
}

}  // namespace
