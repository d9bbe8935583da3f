// Composing a frame: the backdrop and its animated details. (What is
// presented is what every test of a picture looks at.)

#include "support/harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

TEST(Screen, PaintCopiesTheBackdropOverTheBackgroundColour) {
    Fresh();
    LoadData(1);
    // A hole in the backdrop: there the stage's background colour shows.
    int keep = getpixel(bg, 320 + 50, 60);
    putpixel(bg, 320 + 50, 60, 0);
    Paint();
    putpixel(bg, 320 + 50, 60, keep);
    EXPECT_EQ(getpixel(buffer, 50, 60), bgcol);
    int same = 0;
    for (int y = 0; y < 256; y += 7)
        for (int x = 0; x < 320; x += 5)
            same += (x != 50 || y != 60) && buffer->line[y][x] == bg->line[y][320 + x];
    EXPECT_EQ(same, 37 * 64);
}

// Runs n frames of the backdrop's animation on the level: each detail's
// image is drawn at its place; returns the steps each detail took.
std::vector<int> Animate(int lv, int n, const std::vector<std::pair<int, int>> &at) {
    level = lv;
    std::vector<int> steps(at.size());
    for (int i = 0; i < n; i++) {
        Sync();
        Paint();
        int was[2] = {anim[0].frame, anim[1].frame};
        Animation();
        for (size_t d = 0; d < at.size(); d++) {
            BITMAP *s = anim[d].spr[was[d]];
            int off = 0;
            for (int j = 0; j < s->h; j++)
                for (int k = 0; k < s->w; k++)
                    off += s->line[j][k] && buffer->line[at[d].second + j][at[d].first + k] != s->line[j][k];
            EXPECT_EQ(off, 0) << "detail " << d;
            EXPECT_TRUE(anim[d].frame == was[d] || anim[d].frame == (was[d] + 1) % anim[d].nframes);
            steps[d] += anim[d].frame != was[d];
        }
    }
    return steps;
}

TEST(Screen, StageOneAndTwoAnimateTheirDetailsOnTheirTicksAndLaterStagesNone) {
    Fresh();
    LoadData(1);
    EXPECT_EQ(Animate(3, 100, {{148, 166}}), std::vector<int>({10}));  // a 150 ms tick every 10 frames
    anim[0].frame = 2;
    LoadData(2);  // the stage-2 sheet starts both cycles from their first image
    EXPECT_EQ(anim[0].frame + anim[1].frame, 0);
    // 500 ms ticks every 31 frames, 80 ms ticks every 5 frames.
    EXPECT_EQ(Animate(6, 200, {{119, 109}, {211, 55}}), std::vector<int>({6, 40}));

    LoadData(3);
    level = 12;
    Paint();
    std::vector<unsigned char> was(buffer->line[0], buffer->line[256]);  // a memory bitmap: rows in one block
    Animation();
    EXPECT_TRUE(std::equal(was.begin(), was.end(), buffer->line[0]));
}

}  // namespace
