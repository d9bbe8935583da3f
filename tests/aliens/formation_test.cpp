// The alien formation: where each wave starts, the march with its speeds,
// turns and descents, the landing that loses the play, and what the
// composed frame shows of the aliens and their shadows.

#include "support/playfield.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

int LeftmostX() {
    int x = 1000;
    for (int c = 0; c < 8; c++)
        for (int r = 0; r < 5; r++)
            if (!alien[c][r].dead && alien[c][r].x < x) x = alien[c][r].x;
    return x;
}

int RightmostX() {
    int x = -1000;
    for (int c = 0; c < 8; c++)
        for (int r = 0; r < 5; r++)
            if (!alien[c][r].dead && alien[c][r].x > x) x = alien[c][r].x;
    return x;
}

TEST(Formation, LaterWavesOfAStageStartLower) {
    PlayOptions o;
    o.skill = 3;
    StartPlay(o);
    struct Expect {
        int mode, level, top;
    };
    const Expect table[] = {{1, 1, 42}, {1, 2, 62}, {1, 4, 102}, {1, 6, 42},  {1, 9, 102}, {1, 24, 102},
                            {2, 1, 42}, {2, 3, 82}, {2, 4, 102}, {2, 5, 102}, {2, 30, 102}};
    for (const Expect &e : table) {
        SCOPED_TRACE("mode " + std::to_string(e.mode) + " level " + std::to_string(e.level));
        MODE = e.mode;
        level = e.level;
        alien[3][2].dead = true;
        bomb[0].on = true;
        AliensInit(7);
        for (int c = 0; c < 8; c++) {
            for (int r = 0; r < 5; r++) {
                EXPECT_EQ(alien[c][r].x, 30 + 20 * c);
                EXPECT_EQ(alien[c][r].y, e.top + 20 * r);
                EXPECT_EQ(alien[c][r].hp, 7);
                EXPECT_FALSE(alien[c][r].dead);
            }
        }
        EXPECT_EQ(al_dx, 1);
        EXPECT_EQ(al_dxm, 5);
        EXPECT_EQ(al_count, 0);
        EXPECT_EQ(bo_v, 2);  // Hard
        EXPECT_FALSE(bomb[0].on);
    }
    SKILL = 2;
    AliensInit(1);
    EXPECT_EQ(bo_v, 1);
}

// One step every al_dxm frames; from level 11 on an interval of 0 (the last
// alien) runs two pixels a frame.
TEST(Formation, MarchSpeedFollowsTheInterval) {
    StartPlay(PlayOptions{});
    for (int m = 5; m >= 1; m--) {
        int x = alien[0][0].x, frames = m > 1 ? 60 : 50;
        Frames(frames, m);
        EXPECT_EQ(alien[0][0].x - x, frames / m) << "interval " << m;
    }
    level = 11;
    AliensInit(1);
    KeepOnly(4, 2);
    Frames(20, 0);
    EXPECT_EQ(alien[4][2].x, 110 + 40);
    EXPECT_EQ(alien[0][0].x, 30);  // the dead do not march
}

// The step that brings a living alien to x 0 or 304 turns the march, and
// the formation then sinks one pixel per frame for 20 frames while it goes
// on sideways.
TEST(Formation, TurnsAtTheEdgesAndDescendsTwentyPixels) {
    StartPlay(PlayOptions{});
    int frames = 0;
    while (al_dx > 0 && frames < 300) {
        Frames(1, 1);
        frames++;
        EXPECT_LE(RightmostX(), 304);
    }
    EXPECT_EQ(frames, 134);  // from 170 to 304
    EXPECT_EQ(RightmostX(), 304);
    EXPECT_EQ(al_dy, 1);
    int top = alien[0][0].y;
    for (int i = 1; i <= 20; i++) {
        Frames(1, 1);
        EXPECT_EQ(alien[0][0].y, top + i);
        EXPECT_EQ(RightmostX(), 304 - i);
    }
    EXPECT_EQ(al_dy, 0);
    Frames(30, 1);
    EXPECT_EQ(alien[0][0].y, top + 20);
    EXPECT_EQ(alien[4][4].y, alien[0][0].y + 80);

    while (al_dx < 0 && frames < 1000) {
        Frames(1, 1);
        frames++;
        EXPECT_GE(LeftmostX(), 0);
    }
    EXPECT_EQ(LeftmostX(), 0);
    Frames(25, 1);
    EXPECT_EQ(alien[0][0].y, top + 40);
    EXPECT_EQ(LeftmostX(), 25);
}

// Only living aliens touch the sides: with the outer columns gone the march
// runs on until the outermost living column reaches the edge.
TEST(Formation, EmptyOuterColumnsWidenTheMarch) {
    StartPlay(PlayOptions{});
    for (int r = 0; r < 5; r++) {
        alien[7][r].dead = alien[6][r].dead = alien[0][r].dead = true;
        alien[r][4].dead = true;             // no row low enough to land in this test
        if (r > 0) alien[1][r].dead = true;  // [1][0] is column 1's last
    }
    alien[5][4].dead = true;
    int most = 0;
    while (al_dx > 0) {
        Frames(1, 1);
        most = std::max(most, alien[5][0].x);
    }
    EXPECT_EQ(alien[5][0].x, 304);
    EXPECT_EQ(most, 304);
    while (al_dx < 0) Frames(1, 1);
    EXPECT_EQ(alien[1][0].x, 0);
    // The last alien of column 1 goes: now column 2 must reach the side.
    alien[1][0].dead = true;
    while (al_dx > 0) Frames(1, 1);
    while (al_dx < 0) Frames(1, 1);
    EXPECT_EQ(alien[2][0].x, 0);
}

// From level 11 the last alien runs two pixels a frame and, by the parity of
// its x, turns at 304 or 305 on the right and at 0 or -1 on the left.
TEST(Formation, LastAlienAboveLevelTenTurnsByItsParity) {
    PlayOptions o;
    o.mode = 2;  // levels run on without the stage sheets
    StartPlay(o);
    level = 12;
    for (int start : {300, 301}) {
        AliensInit(1);
        KeepOnly(2, 0);
        alien[2][0].x = start;
        int lo = 1000, hi = -1000;
        for (int i = 0; i < 400; i++) {
            Frames(1, 0);
            lo = std::min(lo, alien[2][0].x);
            hi = std::max(hi, alien[2][0].x);
        }
        EXPECT_EQ(hi, start % 2 ? 305 : 304);
        EXPECT_EQ(lo, start % 2 ? -1 : 0);
    }
    // Below level 11 the interval never falls to 0; should it, the wave steps
    // one pixel a frame.
    level = 10;
    AliensInit(1);
    KeepOnly(2, 0);
    Frames(10, 0);
    EXPECT_EQ(alien[2][0].x, 80);
}

// The fourth wave starts with its bottom row at 182: the first descent takes
// it past 200, the play is lost on that step, and the formation sinks a last
// five pixels. Without its bottom row the wave gets through the descent.
TEST(Formation, PassingTheLineLosesThePlay) {
    PlayOptions o;
    o.mode = 2;
    StartPlay(o);
    level = 4;
    AliensInit(1);
    for (int c = 0; c < 8; c++) alien[c][4].dead = true;
    while (al_dx > 0) Frames(1, 1);
    Frames(40, 1);
    EXPECT_FALSE(gameover);
    EXPECT_EQ(alien[0][3].y, 162 + 20);

    AliensInit(1);
    EXPECT_EQ(alien[0][4].y, 182);
    int frames = 0;
    try {
        while (!gameover && frames < 400) {
            Frames(1, 1);
            frames++;
        }
    } catch (RunOver &) {
        // the game-over screen waited for a key the script does not have
    }
    ASSERT_TRUE(gameover);
    EXPECT_EQ(alien[0][4].y, 201);  // the first step below the line
    EXPECT_EQ(al_dytot, 15);
    int x = alien[0][4].x;
    for (int i = 0; i < 20; i++) {
        Sync();
        Aliens();
    }
    EXPECT_EQ(alien[0][4].y, 206);  // five more pixels, then it stays
    EXPECT_EQ(alien[0][4].x, x);    // no more marching
    EXPECT_EQ(al_dy, 0);
}

// The composed frame shows every living alien's walk image where its record
// says (the aliens are drawn before they move), one shadow line per column
// with a living alien, and nothing for an emptied column.
TEST(Formation, ComposedFrameShowsTheAliensAndTheirShadows) {
    StartPlay(PlayOptions{});
    for (int r = 0; r < 5; r++) alien[3][r].dead = true;
    alien[5][0].dead = alien[5][1].dead = true;
    int checked = 0;
    for (int frame = 0; frame < 40; frame++) {
        int xs[8][5], ys[8][5], fr = al_fr;
        for (int c = 0; c < 8; c++)
            for (int r = 0; r < 5; r++) xs[c][r] = alien[c][r].x, ys[c][r] = alien[c][r].y;
        Frames(1, 2);
        for (int c = 0; c < 8; c++) {
            for (int r = 0; r < 5; r++) {
                const alien_t &a = alien[c][r];
                if (a.dead) continue;
                // Bombs and ships drawn later may cover parts of it.
                BITMAP *img = a.spr[fr];
                int seen = 0, wrong = 0;
                for (int j = 0; j < img->h; j++) {
                    for (int i = 0; i < img->w; i++) {
                        int x = xs[c][r] + i, y = ys[c][r] + j;
                        if (!img->line[j][i] || DrawnOver(x, y)) continue;
                        seen++;
                        wrong += Shown(x, y) != img->line[j][i];
                    }
                }
                EXPECT_EQ(wrong, 0) << "alien " << c << "," << r;
                if (seen == 0) continue;
                checked++;
            }
            // The dead stay where they died: the shadow follows the column's
            // first living alien, and the empty column's place moves with
            // its neighbours.
            int sx = xs[4][0] - 20, shadow = 0;
            for (int r = 4; r >= 0; r--)
                if (!alien[c][r].dead) sx = xs[c][r];
            for (int x = sx + 2; x <= sx + 12; x++) {
                if (DrawnOver(x, 216)) continue;
                EXPECT_EQ(Shown(x, 216), c == 3 ? Backdrop(x, 216) : swcol) << "column " << c;
                shadow++;
            }
            if (c >= 3) {
                EXPECT_EQ(shadow, 11);  // the ship is far from these
            }
        }
    }
    EXPECT_GT(checked, 33 * 35);

    // Stages without ground have no shadows.
    for (int l : {5, 11, 20}) {
        level = l;
        Frames(1, 2);
        for (int x = 0; x < 320; x++)
            if (!DrawnOver(x, 216)) {
                EXPECT_EQ(Shown(x, 216), Backdrop(x, 216)) << "level " << l << " x " << x;
            }
    }
}

}  // namespace
