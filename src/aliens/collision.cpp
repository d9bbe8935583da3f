// Shots against aliens, and the alien bombs against the ships.

#include "aliens/aliens.h"
#include "core/core.h"
#include "platform/platform.h"
#include "players/players.h"

// One hit on the alien in column c, row r: a point, the flash, and at its
// last hit point the kill with the row's bonus (60 at the top, 20 at the
// bottom).
static void AlienHit(int c, int r, int &pts) {
    alien_t &a = alien[c][r];
    a.hp -= 1;
    pts += 1;
    if (a.hp < 0) a.hp = 0;
    if (a.hp > 0) SysPlaySample(al_fx[1], 50, 100, 1000);
    a.frame = 2;
    a.hit = true;
    if (a.hp == 0) {
        al_count += 1;
        pts += (5 - r) * 10 + 10;
        SysPlaySample(al_fx[0], 50, 200, 1000);
        a.dead = true;
        a.exploding = true;
        a.frame = 3;
    }
}

// Every flying or blasting shot against every living alien, column by
// column, top row first. A shot that is still on after a hit (weapon 2 with
// hits left, a fresh weapon-3 blast) goes on testing in the same pass.
static void ShotsVsAliens(const shot_t *b, int slots, int (*hits)(int, BITMAP *, int, int),
                          void (*restore)(int), int &pts) {
    for (int i = 0; i < slots; i++) {
        if (!b[i].on) continue;
        for (int c = 0; c < 8; c++) {
            for (int r = 0; r < 5; r++) {
                const alien_t &a = alien[c][r];
                if (a.dead || !b[i].on) continue;
                if (!hits(i, a.spr[al_fr], a.x, a.y)) continue;
                AlienHit(c, r, pts);
                restore(i);
            }
        }
    }
}

// A ship loses at most one life to bombs per frame: once it is dead the
// remaining bombs are not tested. Shielded and exploding ships let them by.
static void BombsVsShip(player_t &p, void (*lost)()) {
    for (int k = 0; k < 10; k++) {
        if (!bomb[k].on) continue;
        if (p.shield != 0 || p.dead) return;
        if (hitTest(p.spr[1], bomb[k].spr[0], p.x, p.y, bomb[k].x, bomb[k].y)) {
            bomb[k].on = false;
            lost();
        }
    }
}

void Collision() {
    ShotsVsAliens(bullet, mbul, BulletHit, RestoreBullet, score);
    BombsVsShip(player, PlayerHit);
}

void Collision2() {
    ShotsVsAliens(bullet2, mbul2, BulletHit2, RestoreBullet2, score2);
    BombsVsShip(player2, PlayerHit2);
}
