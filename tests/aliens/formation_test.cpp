// The alien formation: where each wave starts, the march with its speeds,
// turns and descents, the landing that loses the play, and the shadows.

#include "support/playfield.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

// Row 216 of the last picture: the shadow colour from x + 2 to x + 12 for
// each x of `under`, the backdrop elsewhere, but where something drawn later
// covers it.
static void ExpectShadowsUnder(const std::vector<int> &under, int mode, int level) {
    for (int x = 0; x < 320; x++) {
        bool shade =
            std::any_of(under.begin(), under.end(), [x](int u) { return x >= u + 2 && x <= u + 12; });
        int want = DrawnOver(x, 216) ? Shown(x, 216) : shade ? swcol : Backdrop(x, 216);
        EXPECT_EQ(Shown(x, 216), want) << "mode " << mode << " level " << level << " x " << x;
    }
}

// Every wave starts whole at x 30, with the given hit points and its bombs
// cleared; later waves of a stage start lower. Shadows lie only on the
// stages with ground (levels 1 to 4, 6 to 9, 21 to 24), and never in Old mode.
TEST(Formation, LaterWavesStartLowerAndOnlyTheGroundHasShadows) {
    const int table[][4] = {{1, 1, 42, 1},   {1, 2, 62, 1},   {1, 4, 102, 1},  {1, 5, 122, 0},
                            {1, 6, 42, 1},   {1, 9, 102, 1},  {1, 10, 122, 0}, {1, 11, 42, 0},
                            {1, 20, 122, 0}, {1, 24, 102, 1}, {2, 1, 42, 0},   {2, 3, 82, 0},
                            {2, 4, 102, 0},  {2, 5, 102, 0},  {2, 30, 102, 0}};
    for (const auto &e : table) {  // mode, level, top, shadows
        StartPlay({e[0]});
        level = e[1];
        if (e[0] == 1) LoadData((e[1] - 1) / 5 + 1);  // the level's own stage
        alien[3][2].dead = bomb[0].on = true;
        AliensInit(7);
        for (int n = 0; n < 40; n++) {
            const alien_t &a = alien[n / 5][n % 5];
            EXPECT_TRUE(a.x == 30 + 20 * (n / 5) && a.y == e[2] + 20 * (n % 5) && a.hp == 7 && !a.dead)
                << "mode " << e[0] << " level " << e[1] << " alien " << n;
        }
        EXPECT_TRUE(al_count == 0 && !bomb[0].on);
        for (auto &column : alien) column[4].dead = true;  // the deepest waves would cover row 216
        Frames(1, STILL);
        ExpectShadowsUnder(e[3] ? std::vector<int>{30, 50, 70, 90, 110, 130, 150, 170} : std::vector<int>{},
                           e[0], e[1]);
    }
}

// One step every al_dxm frames. An interval of 0 (the last alien) runs a
// pixel a frame, and from level 11 two, turning by the parity of its x at
// 304 or 305 on the right and at 0 or -1 on the left. The dead do not march.
TEST(Formation, MarchSpeedFollowsTheInterval) {
    StartPlay({2});  // Old mode: levels run on without the stage sheets
    for (int m = 5; m >= 1; m--) {
        int x = alien[0][0].x, frames = m > 1 ? 60 : 50;
        Frames(frames, m);
        EXPECT_EQ(alien[0][0].x - x, frames / m) << "interval " << m;
    }
    const int last[][4] = {{12, 300, 0, 304}, {12, 301, -1, 305}, {10, 301, 0, 304}};  // level, x, range
    for (const auto &e : last) {
        level = e[0];
        AliensInit(1);
        KeepOnly(2, 0);
        alien[2][0].x = e[1];
        int lo = 1000, hi = -1000;
        for (int i = 0; i < 400; i++, Frames(1, 0))
            lo = std::min(lo, alien[2][0].x), hi = std::max(hi, alien[2][0].x);
        EXPECT_TRUE(lo == e[2] && hi == e[3] && alien[0][0].x == 30)
            << "level " << e[0] << " from x " << e[1];
    }
}

// The step that brings a living alien to x 0 or 304 turns the march (only
// the living count, so emptied outer columns widen it), and the formation
// then sinks one pixel per frame for 20 frames while it goes on sideways.
// A bottom row at 182 is safe; the descent that takes it past 200 loses the
// play on that step, and the formation sinks a last five pixels.
TEST(Formation, TurnsAtTheLivingEdgesDescendsAndLandsPast200) {
    StartPlay({});
    for (int r = 0; r < 5; r++) alien[7][r].dead = alien[0][r].dead = true;
    for (int c = 0; c < 8; c++) alien[c][4].dead = true;  // the bottom row is row 3
    alien[0][0].dead = false;                             // column 0 lives by its top alien alone
    const alien_t &a = alien[6][0];
    int frames = 0;
    for (; al_dx > 0 && frames < 300; frames++) Frames(1, 1);
    EXPECT_EQ(frames, 154);  // column 6, from 150 to 304
    for (int i = 1; i <= 20; i++) {
        Frames(1, 1);
        EXPECT_TRUE(a.y == 42 + i && a.x == 304 - i) << i;
    }
    Frames(30, 1);
    EXPECT_TRUE(a.y == 62 && alien[1][3].y == 122);
    while (al_dx < 0) Frames(1, 1);
    EXPECT_EQ(alien[0][0].x, 0);
    Frames(25, 1);
    EXPECT_TRUE(a.y == 82 && alien[0][0].x == 25);
    alien[0][0].dead = true;  // now column 1 must reach the side
    while (al_dx > 0) Frames(1, 1);
    while (al_dx < 0) Frames(1, 1);
    EXPECT_EQ(alien[1][0].x, 0);
    Frames(20, 1);
    EXPECT_TRUE(alien[1][3].y == 182 && !gameover);
    try {
        for (int f = 0; !gameover && f < 400; f++) Frames(1, 1);
    } catch (RunOver &) {
        // the game-over screen waited for a key the script does not have
    }
    ASSERT_TRUE(gameover);
    EXPECT_EQ(alien[1][3].y, 201);  // the first step below the line
    int x = alien[1][3].x;
    for (int i = 0; i < 20; i++) Sync(), Aliens();
    EXPECT_TRUE(alien[1][3].y == 206 && alien[1][3].x == x) << "five more pixels, then it stays";
}

// One shadow line per column with a living alien, under the column's first
// living alien as it was before the frame (the aliens are drawn before they
// move), and nothing for an emptied column; none at all in Old mode.
TEST(Formation, ComposedFrameShowsTheShadowsOfTheColumns) {
    for (int mode = 1; mode <= 2; mode++) {
        StartPlay({mode});
        for (int r = 0; r < 5; r++) alien[3][r].dead = true;
        alien[5][0].dead = alien[5][1].dead = true;
        for (int frame = 0; frame < 40; frame++) {
            std::vector<int> under = {alien[5][2].x};
            for (int c : {0, 1, 2, 4, 6, 7}) under.push_back(alien[c][0].x);
            Frames(1, 2);
            ExpectShadowsUnder(mode == 1 ? under : std::vector<int>{}, mode, 1);
        }
    }
}
