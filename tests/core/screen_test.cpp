// Composing a frame: the backdrop, its animated details, and presenting.

#include "support/harness.h"

#include <gtest/gtest.h>

namespace {

// Every opaque pixel of s lies in the buffer at (x, y).
bool DrawnAt(BITMAP *s, int x, int y) {
    for (int j = 0; j < s->h; j++)
        for (int i = 0; i < s->w; i++)
            if (s->line[j][i] && buffer->line[y + j][x + i] != s->line[j][i]) return false;
    return true;
}

TEST(Screen, PaintCopiesTheBackdropOverTheBackgroundColour) {
    Fresh();
    LoadData(1);
    // Make a hole in the backdrop: there the stage's background colour shows.
    int keep = getpixel(bg, 320 + 50, 60);
    putpixel(bg, 320 + 50, 60, 0);
    Paint();
    putpixel(bg, 320 + 50, 60, keep);
    EXPECT_EQ(getpixel(buffer, 50, 60), bgcol);
    int same = 0;
    for (int y = 0; y < 256; y += 7)
        for (int x = 0; x < 320; x += 5)
            if (x != 50 || y != 60) same += getpixel(buffer, x, y) == getpixel(bg, 320 + x, y);
    EXPECT_EQ(same, 37 * 64);
}

TEST(Screen, StageOneAnimatesOnTheSynTick) {
    Fresh();
    LoadData(1);
    level = 3;
    int frames_seen[3] = {0, 0, 0}, advanced = 0;
    for (int i = 0; i < 100; i++) {
        Sync();
        Paint();
        int before = anim[0].frame;
        Animation();
        EXPECT_TRUE(DrawnAt(anim[0].spr[before], 148, 166));
        frames_seen[before]++;
        if (anim[0].frame != before) {
            advanced++;
            EXPECT_TRUE(syn);
            EXPECT_EQ(anim[0].frame, (before + 1) % 3);
        }
    }
    EXPECT_EQ(advanced, 10);  // a 150 ms tick every 10 frames
    EXPECT_GT(frames_seen[0], 0);
    EXPECT_GT(frames_seen[1], 0);
    EXPECT_GT(frames_seen[2], 0);
}

TEST(Screen, StageTwoHasTwoDetailsAndLaterStagesNone) {
    Fresh();
    LoadData(1);
    anim[0].frame = 2;
    LoadData(2);  // the stage-2 sheet starts both cycles from their first image
    EXPECT_EQ(anim[0].frame, 0);
    EXPECT_EQ(anim[1].frame, 0);
    level = 6;
    int steps0 = 0, steps1 = 0;
    for (int i = 0; i < 200; i++) {
        Sync();
        Paint();
        int f0 = anim[0].frame, f1 = anim[1].frame;
        Animation();
        EXPECT_TRUE(DrawnAt(anim[0].spr[f0], 119, 109));
        EXPECT_TRUE(DrawnAt(anim[1].spr[f1], 211, 55));
        steps0 += anim[0].frame != f0;
        steps1 += anim[1].frame != f1;
    }
    EXPECT_EQ(steps0, 6);   // 500 ms ticks: every 31 frames
    EXPECT_EQ(steps1, 40);  // 80 ms ticks: every 5 frames

    LoadData(3);
    level = 12;
    Paint();
    BITMAP *copy = create_bitmap_ex(8, 320, 256);
    blit(buffer, copy, 0, 0, 0, 0, 320, 256);
    Animation();
    int differ = 0;
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 320; x++) differ += copy->line[y][x] != buffer->line[y][x];
    EXPECT_EQ(differ, 0);
    destroy_bitmap(copy);
}

TEST(Screen, ToScreenPresentsTheTopLeftOfTheBuffer) {
    Fresh();
    clear_to_color(buffer, 0);
    rectfill(buffer, 300, 240, 400, 300, 77);  // partly outside the logical screen
    putpixel(buffer, 0, 0, 12);
    long n = HeadlessPresents();
    ToScreen(buffer);
    EXPECT_EQ(HeadlessPresents(), n + 1);
    EXPECT_EQ(Shown(0, 0), 12);
    EXPECT_EQ(Shown(319, 255), 77);
    EXPECT_EQ(Shown(299, 255), 0);
    EXPECT_EQ(HeadlessPicture()->w, 320);
    EXPECT_EQ(HeadlessPicture()->h, 256);
}

}  // namespace
