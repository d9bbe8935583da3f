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
const int BLAST_X = 0, BLAST_Y = 0, ALIEN_X = 44, ALIEN_Y = 44;
const int SHOT_X = 0, SHOT_Y = 0, SHOT_ALIEN_X = 4, SHOT_ALIEN_Y = 2;

void BM_Blast_Reference(benchmark::State &st) {
    for (auto _ : st)
        benchmark::DoNotOptimize(ReferenceHit(S().blast, S().alien, BLAST_X, BLAST_Y, ALIEN_X, ALIEN_Y, 1));
}
void BM_Blast_HitTest(benchmark::State &st) {
    for (auto _ : st)
        benchmark::DoNotOptimize(hitTest(S().blast, S().alien, BLAST_X, BLAST_Y, ALIEN_X, ALIEN_Y));
}
void BM_Blast_ReferenceFast(benchmark::State &st) {
    for (auto _ : st)
        benchmark::DoNotOptimize(ReferenceHit(S().blast, S().alien, BLAST_X, BLAST_Y, ALIEN_X, ALIEN_Y, 3));
}
void BM_Blast_HitTestFast(benchmark::State &st) {
    for (auto _ : st)
        benchmark::DoNotOptimize(hitTestFast(S().blast, S().alien, BLAST_X, BLAST_Y, ALIEN_X, ALIEN_Y));
}
void BM_Shot_Reference(benchmark::State &st) {
    for (auto _ : st)
        benchmark::DoNotOptimize(
            ReferenceHit(S().shot, S().alien, SHOT_X, SHOT_Y, SHOT_ALIEN_X, SHOT_ALIEN_Y, 1));
}
void BM_Shot_HitTest(benchmark::State &st) {
    for (auto _ : st)
        benchmark::DoNotOptimize(hitTest(S().shot, S().alien, SHOT_X, SHOT_Y, SHOT_ALIEN_X, SHOT_ALIEN_Y));
}
void BM_Shot_ReferenceFast(benchmark::State &st) {
    for (auto _ : st)
        benchmark::DoNotOptimize(
            ReferenceHit(S().shot, S().alien, SHOT_X, SHOT_Y, SHOT_ALIEN_X, SHOT_ALIEN_Y, 3));
}
void BM_Shot_HitTestFast(benchmark::State &st) {
    for (auto _ : st)
        benchmark::DoNotOptimize(
            hitTestFast(S().shot, S().alien, SHOT_X, SHOT_Y, SHOT_ALIEN_X, SHOT_ALIEN_Y));
}

BENCHMARK(BM_Blast_Reference);
BENCHMARK(BM_Blast_HitTest);
BENCHMARK(BM_Blast_ReferenceFast);
BENCHMARK(BM_Blast_HitTestFast);
BENCHMARK(BM_Shot_Reference);
BENCHMARK(BM_Shot_HitTest);
BENCHMARK(BM_Shot_ReferenceFast);
BENCHMARK(BM_Shot_HitTestFast);

}  // namespace

BENCHMARK_MAIN();
