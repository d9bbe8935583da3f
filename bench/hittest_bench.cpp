// The overlap tests against the four-loop definition, on the shapes the game
// tests most: a weapon-3 blast (60x60) and a shot (5x16) against an alien.

#include "core/core.h"
#include "support/reference_hit.h"

#include <benchmark/benchmark.h>

#include <cerrno>
#include <cstdlib>

namespace {

BITMAP *Disc(int w, int h, int r) {
    BITMAP *b = create_bitmap_ex(8, w, h);
    clear_to_color(b, 0);
    circlefill(b, w / 2, h / 2, r, 9);
    return b;
}

struct Sprites {
    BITMAP *blast, *shot, *alien;
    Sprites() {
        install_allegro(SYSTEM_NONE, &errno, atexit);
        blast = Disc(60, 60, 20);  // a ring-like blast: opaque in the middle only
        shot = create_bitmap_ex(8, 5, 16);
        clear_to_color(shot, 0);
        rectfill(shot, 1, 0, 3, 15, 4);
        alien = Disc(16, 16, 6);
    }
};

Sprites &S() {
    static Sprites s;
    return s;
}

// Overlapping boxes whose opaque pixels do not meet: the whole intersection
// is searched, the worst case and the common one (a blast near an alien).
// The target alien lies at (tx, ty) from the first sprite's corner.
using Test = int (*)(BITMAP *, BITMAP *, int, int, int, int);

void BM_Game(benchmark::State &st, Test test, BITMAP *(*first)(), int tx, int ty) {
    for (auto _ : st) benchmark::DoNotOptimize(test(first(), S().alien, 0, 0, tx, ty));
}

void BM_Reference(benchmark::State &st, BITMAP *(*first)(), int tx, int ty, int step) {
    for (auto _ : st) benchmark::DoNotOptimize(ReferenceHit(first(), S().alien, 0, 0, tx, ty, step));
}

BITMAP *Blast() {
    return S().blast;
}
BITMAP *Shot() {
    return S().shot;
}

BENCHMARK_CAPTURE(BM_Reference, blast_60x60, Blast, 44, 44, 1);
BENCHMARK_CAPTURE(BM_Game, blast_60x60, hitTest, Blast, 44, 44);
BENCHMARK_CAPTURE(BM_Reference, blast_60x60_sampled, Blast, 44, 44, 3);
BENCHMARK_CAPTURE(BM_Game, blast_60x60_sampled, hitTestFast, Blast, 44, 44);
BENCHMARK_CAPTURE(BM_Reference, shot_5x16, Shot, 4, 2, 1);
BENCHMARK_CAPTURE(BM_Game, shot_5x16, hitTest, Shot, 4, 2);
BENCHMARK_CAPTURE(BM_Reference, shot_5x16_sampled, Shot, 4, 2, 3);
BENCHMARK_CAPTURE(BM_Game, shot_5x16_sampled, hitTestFast, Shot, 4, 2);

}  // namespace

BENCHMARK_MAIN();
