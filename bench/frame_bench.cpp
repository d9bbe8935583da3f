// One whole headless frame of a busy wave: 40 aliens marching and bombing,
// both players with weapon 3 at power 3 and their large blasts over the
// formation, the status bar; then the stretch of the picture to a 640x480
// memory bitmap, as the display gets it. The frame's state is restored
// before every iteration, so each one runs the same busy frame.

#include "headless_game.h"
#include "aliens/aliens.h"
#include "core/core.h"
#include "platform/platform.h"
#include "flow/flow.h"
#include "players/players.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

// What a frame changes, kept to be put back.
struct Snapshot {
    alien_t aliens[8][5];
    shot_t shots[4], shots2[4];
    bomb_t bombs[10];
    player_t p1, p2;
    int dx, dx2, dy, dy2, dytot, fr, count, bod, aux, aux2;

    void Take() {
        memcpy(aliens, alien, sizeof aliens);
        memcpy(shots, bullet, sizeof shots);
        memcpy(shots2, bullet2, sizeof shots2);
        memcpy(bombs, bomb, sizeof bombs);
        p1 = player;
        p2 = player2;
        dx = al_dx, dx2 = al_dx2, dy = al_dy, dy2 = al_dy2, dytot = al_dytot, fr = al_fr, count = al_count;
        bod = bo_d, aux = bul_aux, aux2 = bul_aux2;
    }
    void Restore() const {
        memcpy(alien, aliens, sizeof aliens);
        memcpy(bullet, shots, sizeof shots);
        memcpy(bullet2, shots2, sizeof shots2);
        memcpy(bomb, bombs, sizeof bombs);
        player = p1;
        player2 = p2;
        al_dx = dx, al_dx2 = dx2, al_dy = dy, al_dy2 = dy2, al_dytot = dytot, al_fr = fr, al_count = count;
        bo_d = bod, bul_aux = aux, bul_aux2 = aux2;
        lives = lives2 = 9;  // bombs may hit a ship: never run out
        NPLAYERS = 2;
        gameover = gameover1 = gameover2 = false;
    }
};

Snapshot busy;
BITMAP *display;

void BlastOver(shot_t &s, int x, int y) {
    s.on = s.blast = true;
    s.frame = 12;
    s.x = x;
    s.y = y;
}

void SetUp() {
    static bool done = false;
    if (done) return;
    done = true;
    StartHeadlessGame();

    MODE = 1;
    SKILL = 3;
    NPLAYERS = 2;
    LIVES = 9;
    MONEY = 0;
    POWER = WEAPON = 3;
    speed = speed2 = 2;
    bo_m = 1;
    InitPlay();
    level = 20;           // bombs drop often
    AliensInit(1 << 30);  // nothing dies: every alien is tested every frame
    al_dxm = 1;
    player.shield = player2.shield = 0;
    for (int i = 0; i < 10; i++) {  // a full set of bombs in the air
        bomb[i].on = true;
        bomb[i].x = 30 + 28 * i;
        bomb[i].y = 60 + 12 * i;
    }
    for (int i = 0; i < 3; i++) {
        BlastOver(bullet[i], 20 + 55 * i, 40 + 20 * i);
        BlastOver(bullet2[i], 60 + 55 * i, 50 + 20 * i);
    }
    busy.Take();
    display = create_bitmap_ex(8, 640, 480);
}

void BM_WholeFrame(benchmark::State &st) {
    SetUp();
    for (auto _ : st) {
        busy.Restore();
        Frame();
        stretch_blit(buffer, display, 0, 0, 320, 256, 0, 0, 640, 480);
    }
}

// The parts, to see what dominates.
void BM_RestoreOnly(benchmark::State &st) {
    SetUp();
    for (auto _ : st) busy.Restore();
}

void BM_PaintOnly(benchmark::State &st) {
    SetUp();
    for (auto _ : st) Paint();
}

void BM_StretchOnly(benchmark::State &st) {
    SetUp();
    for (auto _ : st) stretch_blit(buffer, display, 0, 0, 320, 256, 0, 0, 640, 480);
}

void BM_CollisionsOnly(benchmark::State &st) {
    SetUp();
    for (auto _ : st) {
        busy.Restore();
        Collision();
        Collision2();
    }
}

void BM_AliensOnly(benchmark::State &st) {
    SetUp();
    for (auto _ : st) {
        busy.Restore();
        Aliens();
    }
}

BENCHMARK(BM_WholeFrame);
BENCHMARK(BM_RestoreOnly);
BENCHMARK(BM_PaintOnly);
BENCHMARK(BM_StretchOnly);
BENCHMARK(BM_CollisionsOnly);
BENCHMARK(BM_AliensOnly);

}  // namespace

BENCHMARK_MAIN();
