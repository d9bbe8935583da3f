// The mother ship and the bonus at their busiest: the ship crossing under
// all six large weapon-3 blasts of both players (hit points so high that it
// never falls, so every blast is tested every frame), its bomb bursting over
// both ships, and a bonus taken under them. State is restored before every
// iteration, so each one runs the same frame's share.

#include "headless_game.h"
#include "aliens/aliens.h"
#include "core/core.h"
#include "platform/platform.h"
#include "flow/flow.h"
#include "players/players.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

struct Snapshot {
    mothership_t s;
    shipbomb_t b;
    bonus_t bn;
    player_t p1, p2;
    shot_t shots[4], shots2[4];
    int l1, l2, sc1, sc2, m1, m2, aux1, aux2;

    void Take() {
        s = ship, b = ship_bomb, bn = bonus, p1 = player, p2 = player2;
        for (int i = 0; i < 4; i++) shots[i] = bullet[i], shots2[i] = bullet2[i];
        l1 = lives, l2 = lives2, sc1 = score, sc2 = score2, m1 = money, m2 = money2;
        aux1 = bul_aux, aux2 = bul_aux2;
    }
    void Restore() const {
        ship = s, ship_bomb = b, bonus = bn, player = p1, player2 = p2;
        for (int i = 0; i < 4; i++) bullet[i] = shots[i], bullet2[i] = shots2[i];
        lives = l1, lives2 = l2, score = sc1, score2 = sc2, money = m1, money2 = m2;
        bul_aux = aux1, bul_aux2 = aux2;
    }
};

Snapshot busy;

void SetUp() {
    static bool done = false;
    if (done) return;
    done = true;
    StartHeadlessGame();

    MODE = 1;
    SKILL = 3;
    NPLAYERS = 2;
    LIVES = 9;
    POWER = WEAPON = 3;
    InitPlay();
    ship.state = 1;
    ship.x = 120;
    ship.hp = 1 << 30;
    for (int i = 0; i < 3; i++) {
        for (shot_t *s : {&bullet[i], &bullet2[i]}) {
            s->on = s->blast = true;
            s->frame = 12;
            s->x = 100 + 10 * i + (s == &bullet2[i] ? 5 : 0);
            s->y = 0;
        }
    }
    ship_bomb.on = ship_bomb.exploding = true;
    ship_bomb.frame = 2;
    ship_bomb.x = 120;
    ship_bomb.y = 190;
    player.x = 124;
    player2.x = 132;
    player.shield = player2.shield = 0;
    bonus.on = true;
    bonus.kind = 1;
    bonus.x = 128;
    bonus.y = 206;
    bonus.count = 0;
    busy.Take();
    // The case must be what it claims: every blast hits, the bomb hits both
    // ships and player 1 takes the bonus.
    Ship();
    Bonus();
    if (ship.hp != (1 << 30) - 6 || lives != LIVES - 1 || lives2 != LIVES - 1 || bonus.kind != 6) abort();
    busy.Restore();
}

void BM_ShipUnderBlasts(benchmark::State &st) {
    SetUp();
    for (auto _ : st) {
        busy.Restore();
        Ship();
    }
}

void BM_BonusTaken(benchmark::State &st) {
    SetUp();
    for (auto _ : st) {
        busy.Restore();
        Bonus();
    }
}

void BM_RestoreOnly(benchmark::State &st) {
    SetUp();
    for (auto _ : st) busy.Restore();
}

BENCHMARK(BM_ShipUnderBlasts);
BENCHMARK(BM_BonusTaken);
BENCHMARK(BM_RestoreOnly);

}  // namespace

BENCHMARK_MAIN();
