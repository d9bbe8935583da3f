// One player's collision pass of a frame against a full wave of 40 aliens:
// the busiest case (three large weapon-3 blasts over the formation, each
// tested against every alien) and the usual one (four shots in flight).

#include "aliens/aliens.h"
#include "core/core.h"
#include "platform/platform.h"
#include "players/players.h"

#include <benchmark/benchmark.h>

#include <cerrno>
#include <cstdlib>

namespace {

BITMAP *Disc(int w, int h, int r, int col) {
    BITMAP *b = create_bitmap_ex(8, w, h);
    clear_to_color(b, 0);
    circlefill(b, w / 2, h / 2, r, col);
    return b;
}

void Setup() {
    static bool done = false;
    if (done) return;
    done = true;
    install_allegro(SYSTEM_NONE, &errno, atexit);
    sys_headless = true;
    BITMAP *alien_img = Disc(16, 16, 7, 5);
    BITMAP *blast = Disc(60, 60, 29, 9);
    BITMAP *shot = create_bitmap_ex(8, 5, 16);
    clear_to_color(shot, 0);
    rectfill(shot, 1, 0, 3, 15, 4);
    for (int c = 0; c < 8; c++)
        for (int r = 0; r < 5; r++)
            for (int k = 0; k < 9; k++) alien[c][r].spr[k] = alien_img;
    for (int i = 0; i < 4; i++) {
        for (int k = 0; k < 3; k++) bullet[i].spr[k] = shot;
        for (int k = 3; k < 18; k++) bullet[i].spr[k] = blast;
    }
    for (int i = 0; i < 10; i++) bomb[i].on = false;
    player.dead = true;  // no bomb test
}

// A wave that nothing can destroy, so every iteration tests all 40.
void Wave() {
    level = 1;
    MODE = 1;
    AliensInit(1 << 30);
}

void BM_Collision_ThreeLargeBlasts(benchmark::State &st) {
    Setup();
    Wave();
    weapon = 3;
    power = 3;
    mbul = 3;
    for (int i = 0; i < 3; i++) {
        bullet[i].on = bullet[i].blast = true;
        bullet[i].frame = 10;
        bullet[i].x = 40 + 50 * i;
        bullet[i].y = 60;
        bullet[i].hits = -1;
    }
    for (auto _ : st) Collision();
}

void BM_Collision_FourShotsInFlight(benchmark::State &st) {
    Setup();
    Wave();
    weapon = 1;
    power = 3;
    mbul = 4;
    for (int i = 0; i < 4; i++) {
        bullet[i].on = true;
        bullet[i].blast = false;
        bullet[i].x = 5 + 80 * i;  // between the columns and beside the wave
        bullet[i].y = 60 + 20 * i;
    }
    for (auto _ : st) Collision();
}

BENCHMARK(BM_Collision_ThreeLargeBlasts);
BENCHMARK(BM_Collision_FourShotsInFlight);

}  // namespace

BENCHMARK_MAIN();
