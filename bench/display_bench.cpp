// Presenting one frame on the live display, every row changed (the worst
// case): the 320x256 picture scaled through the palette lookup into a
// 32-bit bitmap of 2x (1280x960) or 4x (2560x1920), then copied onto a
// memory bitmap the size of a 1080p or 4K screen, as the one blit to the
// screen copies it. Also the scale alone and 640x480 (1x) for comparison.

#include "headless_game.h"
#include "platform/display.h"

#include <benchmark/benchmark.h>

namespace {

BITMAP *picture;
uint32_t lut[256];

void SetUp() {
    if (picture) return;
    StartHeadlessGame();
    picture = create_bitmap_ex(8, 320, 256);
    unsigned seed = 1;
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 320; x++) picture->line[y][x] = (seed = seed * 1103515245 + 12345) >> 24;
    for (int i = 0; i < 256; i++) lut[i] = makecol32(i, 255 - i, i / 2);
}

void BM_Scale(benchmark::State &st) {
    SetUp();
    int k = (int)st.range(0);
    BITMAP *frame = create_bitmap_ex(32, 640 * k, 480 * k);
    int y0, y1;
    for (auto _ : st) DisplayScale(picture, lut, frame, 0, 256, &y0, &y1);
    destroy_bitmap(frame);
}

void BM_Present(benchmark::State &st) {
    SetUp();
    int k = (int)st.range(0);
    BITMAP *frame = create_bitmap_ex(32, 640 * k, 480 * k);
    BITMAP *screen_copy = create_bitmap_ex(32, 1920 * k / 2, 1080 * k / 2);
    int y0, y1;
    for (auto _ : st) {
        DisplayScale(picture, lut, frame, 0, 256, &y0, &y1);
        blit(frame, screen_copy, 0, y0, 320 * k / 2, 60 * k / 2 + y0, frame->w, y1 - y0);
    }
    destroy_bitmap(screen_copy);
    destroy_bitmap(frame);
}

BENCHMARK(BM_Scale)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Present)->Arg(2)->Arg(4)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
