// The overlap tests against the four-loop definition.

#include "support/harness.h"
#include "support/reference_hit.h"

#include <gtest/gtest.h>

#include <random>

namespace {

BITMAP *Filled(int w, int h, int c) {
    BITMAP *b = create_bitmap_ex(8, w, h);
    clear_to_color(b, c);
    return b;
}

// Random pairs cut from sheets as the game cuts its sprites, so the rows
// are views into a wider bitmap: many near misses and touching boxes, both
// outcomes common, and sampling that must follow a's own corner.
TEST(HitTest, MatchesTheFourLoopDefinitionOnRandomPairsOfSheetSprites) {
    std::mt19937 rng(7);
    BITMAP *sheet[4];
    for (int f = 0; f < 4; f++) {  // 0 %, 10 %, 20 %, 30 % opaque
        sheet[f] = Filled(200, 100, 0);
        for (int y = 0; y < 100; y++)
            for (int x = 0; x < 200; x++)
                if ((int)(rng() % 10) < f) sheet[f]->line[y][x] = 1 + rng() % 200;
    }
    int hits = 0, fast_hits = 0, cases = 0;
    for (int n = 0; n < 400; n++) {
        BITMAP *s = sheet[rng() % 4];
        BITMAP *a = create_sub_bitmap(s, rng() % 100, rng() % 50, 1 + rng() % 40, 1 + rng() % 40),
               *b = create_sub_bitmap(s, rng() % 100, rng() % 50, 1 + rng() % 20, 1 + rng() % 20);
        for (int k = 0; k < 25; k++, cases++) {
            int ax = (int)(rng() % 60) - 30, ay = (int)(rng() % 60) - 30, bx = rng() % 20, by = rng() % 20;
            int want = ReferenceHit(a, b, ax, ay, bx, by, 1),
                want_fast = ReferenceHit(a, b, ax, ay, bx, by, 3);
            ASSERT_EQ(hitTest(a, b, ax, ay, bx, by), want)
                << a->w << "x" << a->h << " at " << ax << "," << ay;
            ASSERT_EQ(hitTestFast(a, b, ax, ay, bx, by), want_fast) << a->w << "x" << a->h << " at " << ax;
            hits += want;
            fast_hits += want_fast;
        }
        destroy_bitmap(a);
        destroy_bitmap(b);
    }
    for (BITMAP *s : sheet) destroy_bitmap(s);
    // Both outcomes must be well represented, or the comparison proves little.
    EXPECT_GT(hits, cases / 10);
    EXPECT_LT(hits, cases * 9 / 10);
    EXPECT_GT(fast_hits, cases / 40);
    EXPECT_LT(fast_hits, hits);
}

}  // namespace
