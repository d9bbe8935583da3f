// The overlap tests against the four-loop definition, and their edge cases.

#include "support/harness.h"
#include "support/reference_hit.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// A w x h sprite with each pixel opaque with the given chance.
BITMAP *RandomSprite(std::mt19937 &rng, int w, int h, double fill) {
    BITMAP *b = create_bitmap_ex(8, w, h);
    std::uniform_real_distribution<double> u(0, 1);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) b->line[y][x] = u(rng) < fill ? 1 + rng() % 200 : 0;
    return b;
}

BITMAP *Blank(int w, int h) {
    BITMAP *b = create_bitmap_ex(8, w, h);
    clear_to_color(b, 0);
    return b;
}

TEST(HitTest, MatchesTheFourLoopDefinitionOnRandomPairs) {
    std::mt19937 rng(7);
    int hits = 0, fast_hits = 0, cases = 0;
    for (int n = 0; n < 400; n++) {
        int aw = 1 + rng() % 40, ah = 1 + rng() % 40, bw = 1 + rng() % 20, bh = 1 + rng() % 20;
        double fill = (rng() % 4) * 0.1;  // 0 %, 10 %, 20 %, 30 %: many near misses
        BITMAP *a = RandomSprite(rng, aw, ah, fill), *b = RandomSprite(rng, bw, bh, fill);
        for (int k = 0; k < 25; k++) {
            int ax = (int)(rng() % 60) - 30, ay = (int)(rng() % 60) - 30, bx = (int)(rng() % 20),
                by = (int)(rng() % 20);
            int want = ReferenceHit(a, b, ax, ay, bx, by, 1),
                want_fast = ReferenceHit(a, b, ax, ay, bx, by, 3);
            ASSERT_EQ(hitTest(a, b, ax, ay, bx, by), want) << aw << "x" << ah << " at " << ax << "," << ay;
            ASSERT_EQ(hitTestFast(a, b, ax, ay, bx, by), want_fast)
                << aw << "x" << ah << " at " << ax << "," << ay;
            hits += want;
            fast_hits += want_fast;
            cases++;
        }
        destroy_bitmap(a);
        destroy_bitmap(b);
    }
    // Both outcomes must be well represented, or the comparison proves little.
    EXPECT_GT(hits, cases / 10);
    EXPECT_LT(hits, cases * 9 / 10);
    EXPECT_GT(fast_hits, cases / 40);
    EXPECT_LT(fast_hits, hits);
}

TEST(HitTest, WorksOnSubBitmapsOfASheet) {
    std::mt19937 rng(3);
    BITMAP *sheet = RandomSprite(rng, 200, 100, 0.2);
    BITMAP *a = create_sub_bitmap(sheet, 17, 5, 60, 60), *b = create_sub_bitmap(sheet, 130, 40, 16, 16);
    for (int dx = -20; dx < 70; dx += 3)
        for (int dy = -20; dy < 70; dy += 3) {
            ASSERT_EQ(hitTest(a, b, 0, 0, dx, dy), ReferenceHit(a, b, 0, 0, dx, dy, 1));
            ASSERT_EQ(hitTestFast(a, b, 0, 0, dx, dy), ReferenceHit(a, b, 0, 0, dx, dy, 3));
        }
    destroy_bitmap(a);
    destroy_bitmap(b);
    destroy_bitmap(sheet);
}

TEST(HitTest, EdgeCases) {
    BITMAP *a = Blank(10, 10), *b = Blank(10, 10);

    // Boxes overlap but the opaque pixels do not meet.
    putpixel(a, 0, 0, 5);
    putpixel(b, 9, 9, 5);
    EXPECT_EQ(hitTest(a, b, 0, 0, 0, 0), 0);
    EXPECT_EQ(hitTestFast(a, b, 0, 0, 0, 0), 0);

    // One opaque pixel each on the same spot.
    EXPECT_EQ(hitTest(a, b, 9, 9, 0, 0), 1);
    EXPECT_EQ(hitTestFast(a, b, 9, 9, 0, 0), 1);

    // Boxes that only touch at an edge never overlap, even when the touching
    // pixels are opaque.
    clear_to_color(a, 7);
    clear_to_color(b, 7);
    EXPECT_EQ(hitTest(a, b, 0, 0, 10, 0), 0);
    EXPECT_EQ(hitTest(a, b, 0, 0, 0, 10), 0);
    EXPECT_EQ(hitTest(a, b, 10, 0, 0, 0), 0);
    EXPECT_EQ(hitTest(a, b, 0, 10, 0, 0), 0);
    EXPECT_EQ(hitTest(a, b, 0, 0, 9, 9), 1);

    // hitTestFast samples only a's columns and rows 0, 3, 6...: a line in
    // column 1 is never seen, while hitTest finds it.
    clear_to_color(a, 0);
    vline(a, 1, 0, 9, 3);
    EXPECT_EQ(hitTest(a, b, 0, 0, 0, 0), 1);
    EXPECT_EQ(hitTestFast(a, b, 0, 0, 0, 0), 0);
    // ... but as the second sprite every pixel counts: the line is found
    // where it lies under a sampled column of the first.
    EXPECT_EQ(hitTestFast(b, a, 0, 0, 0, 0), 0);
    EXPECT_EQ(hitTestFast(b, a, 0, 0, -1, 0), 1);

    // Sampling is relative to a's own corner, not to the screen.
    clear_to_color(b, 0);
    putpixel(b, 0, 0, 9);
    EXPECT_EQ(hitTestFast(a, b, -1, 0, 0, 0), 0);  // a's column 1 at screen 0, b's only pixel: not sampled
    EXPECT_EQ(hitTestFast(a, b, -1, 0, 0, 3), 0);
    clear_to_color(a, 0);
    putpixel(a, 3, 3, 1);
    EXPECT_EQ(hitTestFast(a, b, -3, -3, 0, 0), 1);  // a's (3, 3) is sampled

    // A sprite of width or height 0 never overlaps.
    BITMAP *empty_w = create_bitmap_ex(8, 0, 5), *empty_h = create_bitmap_ex(8, 5, 0);
    ASSERT_NE(empty_w, nullptr);
    ASSERT_NE(empty_h, nullptr);
    clear_to_color(a, 4);
    EXPECT_EQ(hitTest(empty_w, a, 0, 0, 0, 0), 0);
    EXPECT_EQ(hitTest(a, empty_w, 0, 0, 0, 0), 0);
    EXPECT_EQ(hitTestFast(a, empty_h, 0, 0, 0, 0), 0);
    destroy_bitmap(empty_w);
    destroy_bitmap(empty_h);

    destroy_bitmap(a);
    destroy_bitmap(b);
}

}  // namespace
