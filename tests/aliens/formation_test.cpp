// The alien formation: where each wave starts, the march with its speeds,
// turns and descents, the landing that loses the play, and the shadows.

#include "support/playfield.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

namespace {

// The x of the leftmost and of the rightmost living alien.
std::pair<int, int> Extent() {
    std::pair<int, int> e = {1000, -1000};
    for (auto &column : alien)
        for (const alien_t &a : column)
            if (!a.dead) e = {std::min(e.first, a.x), std::max(e.second, a.x)};
    return e;
}

// Every wave starts whole, with the given hit points, its bombs cleared;
// later waves of a stage start lower.
TEST(Formation, LaterWavesOfAStageStartLower) {
    StartPlay(PlayOptions{});
    const int table[][3] = {
        {1, 1, 42}, {1, 2, 62}, {1, 4, 102}, {1, 6, 42},  {1, 9, 102}, {1, 24, 102},
        {2, 1, 42}, {2, 3, 82}, {2, 4, 102}, {2, 5, 102}, {2, 30, 102}};  // mode, level, top
    for (const auto &e : table) {
        SCOPED_TRACE("mode " + std::to_string(e[0]) + " level " + std::to_string(e[1]));
        MODE = e[0];
        level = e[1];
        alien[3][2].dead = true;
        bomb[0].on = true;
        AliensInit(7);
        for (int c = 0; c < 8; c++)
            for (int r = 0; r < 5; r++) {
                const alien_t &a = alien[c][r];
                EXPECT_TRUE(a.x == 30 + 20 * c && a.y == e[2] + 20 * r && a.hp == 7 && !a.dead)
                    << c << "," << r;
            }
        EXPECT_EQ(al_count, 0);
        EXPECT_FALSE(bomb[0].on);
    }
}

// One step every al_dxm frames. An interval of 0 (the last alien) runs a
// pixel a frame, and from level 11 two, turning by the parity of its x at
// 304 or 305 on the right and at 0 or -1 on the left. The dead do not march.
TEST(Formation, MarchSpeedFollowsTheInterval) {
    PlayOptions o;
    o.mode = 2;  // levels run on without the stage sheets
    StartPlay(o);
    for (int m = 5; m >= 1; m--) {
        int x = alien[0][0].x, frames = m > 1 ? 60 : 50;
        Frames(frames, m);
        EXPECT_EQ(alien[0][0].x - x, frames / m) << "interval " << m;
    }
    const int last[][4] = {{12, 300, 0, 304}, {12, 301, -1, 305}, {10, 301, 0, 304}};  // level, x, range
    for (const auto &e : last) {
        SCOPED_TRACE("level " + std::to_string(e[0]) + " from x " + std::to_string(e[1]));
        level = e[0];
        AliensInit(1);
        KeepOnly(2, 0);
        alien[2][0].x = e[1];
        int lo = 1000, hi = -1000;
        for (int i = 0; i < 400; i++) {
            Frames(1, 0);
            lo = std::min(lo, alien[2][0].x);
            hi = std::max(hi, alien[2][0].x);
        }
        EXPECT_EQ(lo, e[2]);
        EXPECT_EQ(hi, e[3]);
        EXPECT_EQ(alien[0][0].x, 30);
    }
}

// The step that brings a living alien to x 0 or 304 turns the march, and
// the formation then sinks one pixel per frame for 20 frames while it goes
// on sideways.
TEST(Formation, TurnsAtTheEdgesAndDescendsTwentyPixels) {
    StartPlay(PlayOptions{});
    int frames = 0;
    for (; al_dx > 0 && frames < 300; frames++) Frames(1, 1);
    EXPECT_EQ(frames, 134);  // from 170 to 304
    EXPECT_EQ(Extent().second, 304);
    int top = alien[0][0].y;
    for (int i = 1; i <= 20; i++) {
        Frames(1, 1);
        EXPECT_EQ(alien[0][0].y, top + i);
        EXPECT_EQ(Extent().second, 304 - i);
    }
    Frames(30, 1);
    EXPECT_EQ(alien[0][0].y, top + 20);
    EXPECT_EQ(alien[4][4].y, top + 100);
    for (; al_dx < 0 && frames < 1000; frames++) Frames(1, 1);
    EXPECT_EQ(Extent().first, 0);
    Frames(25, 1);
    EXPECT_EQ(alien[0][0].y, top + 40);
    EXPECT_EQ(Extent().first, 25);
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
    while (al_dx > 0) Frames(1, 1);
    EXPECT_EQ(alien[5][0].x, 304);
    while (al_dx < 0) Frames(1, 1);
    EXPECT_EQ(alien[1][0].x, 0);
    alien[1][0].dead = true;  // now column 2 must reach the side
    while (al_dx > 0) Frames(1, 1);
    while (al_dx < 0) Frames(1, 1);
    EXPECT_EQ(alien[2][0].x, 0);
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
    try {
        for (int f = 0; !gameover && f < 400; f++) Frames(1, 1);
    } catch (RunOver &) {
        // the game-over screen waited for a key the script does not have
    }
    ASSERT_TRUE(gameover);
    EXPECT_EQ(alien[0][4].y, 201);  // the first step below the line
    int x = alien[0][4].x;
    for (int i = 0; i < 20; i++) {
        Sync();
        Aliens();
    }
    EXPECT_EQ(alien[0][4].y, 206);  // five more pixels, then it stays
    EXPECT_EQ(alien[0][4].x, x);    // no more marching
}

// One shadow line per column with a living alien, under the column's first
// living alien as it was before the frame (the aliens are drawn before they
// move), and nothing for an emptied column. (The aliens themselves show in
// the pinned game's pictures.)
TEST(Formation, ComposedFrameShowsTheShadowsOfTheColumns) {
    StartPlay(PlayOptions{});
    for (int r = 0; r < 5; r++) alien[3][r].dead = true;
    alien[5][0].dead = alien[5][1].dead = true;
    for (int frame = 0; frame < 40; frame++) {
        int was[8];  // each column's first living alien's x; the empty one moves with its neighbours
        for (int c = 0; c < 8; c++) was[c] = c == 3 ? alien[4][0].x - 20 : alien[c][c == 5 ? 2 : 0].x;
        Frames(1, 2);
        for (int c = 0; c < 8; c++) {
            int shadow = 0;
            for (int x = was[c] + 2; x <= was[c] + 12; x++) {
                if (DrawnOver(x, 216)) continue;
                EXPECT_EQ(Shown(x, 216), c == 3 ? Backdrop(x, 216) : swcol) << "column " << c;
                shadow++;
            }
            EXPECT_TRUE(c < 3 || shadow == 11) << "column " << c;  // the ship is far from these
        }
    }

    // Stages without ground have no shadows, nor has Old mode on any level.
    for (auto [mode, l] : {std::pair{1, 5}, {1, 10}, {1, 11}, {1, 20}, {2, 1}, {2, 4}}) {
        PlayOptions o;
        o.mode = mode;
        StartPlay(o);
        level = l;
        if (mode == 1) LoadData((l - 1) / 5 + 1);  // the level's own stage
        Frames(1, 2);
        for (int x = 0; x < 320; x++)
            EXPECT_TRUE(DrawnOver(x, 216) || Shown(x, 216) == Backdrop(x, 216))
                << "mode " << mode << " level " << l << " x " << x;
    }
}

}  // namespace
