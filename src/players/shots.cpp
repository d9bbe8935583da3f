// Player shots and weapons.

#include "players/players.h"
#include "core/core.h"
#include "platform/platform.h"

shot_t bullet[4], bullet2[4];
int bul_pw, bul_pw2;
int bul_speed, bul_speed2;
int mbul, mbul2;
int ibul, ibul2;
int bul_aux, bul_aux2;
bool push, push2;

// Hits per shot, speed and slots of one weapon at one power. An unknown
// weapon keeps what the player had.
static void ShotParams(int wpn, int pwr, int &pw, int &spd, int &slots) {
    switch (wpn) {
    case 1:  // quick twin shots
        pw = 1;
        spd = pwr + 1 < 3 ? pwr + 1 : 3;
        slots = pwr + 1;
        break;
    case 2:  // piercing
        pw = pwr + 1;
        spd = pwr + 2;
        slots = pwr;
        break;
    case 3:  // slow, bursts into a blast
        pw = 1;
        spd = pwr < 2 ? pwr : 2;
        slots = pwr;
        break;
    }
}

void CheckExtra() {
    ShotParams(weapon, power, bul_pw, bul_speed, mbul);
    ShotParams(weapon2, power2, bul_pw2, bul_speed2, mbul2);
}

static void ShotFree(shot_t &b, int pw) {
    b.on = false;
    b.blast = false;
    b.hits = pw;
}

// One shot per press: the key must come up again before the next one. A
// press that finds its slot busy waits, held, until the slot is free.
static void Fire(const player_t &p, shot_t *b, int fire_key, bool &armed, int &next, int slots, int spd) {
    if (!p.dead && key[fire_key] && armed && !b[next].on) {
        SysPlaySample(pl_fx[0], 150, 200, 1000);
        b[next].x = p.x + 6;
        b[next].y = p.y;
        b[next].vy = spd;
        b[next].on = true;
        armed = false;
        next = (next + 1) % slots;
    }
    if (!key[fire_key]) armed = true;
}

// The blast steps on one counter shared by all of a player's slots, so
// blasts running together change each other's pace.
static void BlastStep(shot_t &b, int pwr, int &aux, int pw) {
    aux += 1;
    int every = pwr == 1 ? 2 : 3;
    int end = pwr == 1 ? 8 : pwr == 2 ? 10 : 17;
    if (aux % every == 0) b.frame += 1;
    if (b.frame >= end) ShotFree(b, pw);
}

static void MoveShots(shot_t *b, int slots, int wpn, int pwr, int &aux, int pw) {
    for (int i = 0; i < slots; i++) {
        if (!b[i].on) continue;
        if (b[i].blast) {
            draw_sprite(buffer, b[i].spr[b[i].frame], b[i].x, b[i].y);
            BlastStep(b[i], pwr, aux, pw);
        } else {
            draw_sprite(buffer, b[i].spr[wpn - 1], b[i].x, b[i].y);
            b[i].y -= b[i].vy;
        }
        if (b[i].y < -6) ShotFree(b[i], pw);
    }
}

void Bullet() {
    Fire(player, bullet, KEY_SPACE, push, ibul, mbul, bul_speed);
    MoveShots(bullet, mbul, weapon, power, bul_aux, bul_pw);
}

void Bullet2() {
    Fire(player2, bullet2, KEY_G, push2, ibul2, mbul2, bul_speed2);
    MoveShots(bullet2, mbul2, weapon2, power2, bul_aux2, bul_pw2);
}

// One hit dealt by slot i. On its last hit a shot is spent, or with weapon 3
// bursts into a blast centred on it that stays on and keeps hitting.
static void Restore(shot_t *b, int i, int wpn, int pwr, int pw, int slots, int &next) {
    b[i].hits -= 1;
    if (b[i].hits != 0) return;
    if (wpn != 3) {
        b[i].on = false;
        b[i].hits = pw;
    } else {
        b[i].blast = true;
        if (pwr < 3) {
            b[i].frame = 3;
            b[i].x -= 14;
            b[i].y -= 10;
        } else {
            b[i].frame = 10;
            b[i].x -= 28;
            b[i].y -= 16;
        }
    }
    for (int k = slots - 1; k >= 0; k--) {
        if (!b[k].on) {
            next = k;
            break;
        }
    }
}

void RestoreBullet(int i) {
    Restore(bullet, i, weapon, power, bul_pw, mbul, ibul);
}

void RestoreBullet2(int i) {
    Restore(bullet2, i, weapon2, power2, bul_pw2, mbul2, ibul2);
}

static BITMAP *ShotImage(const shot_t &b, int wpn) {
    return b.blast ? b.spr[b.frame] : b.spr[wpn - 1];
}

BITMAP *BulletImage(int i) {
    return ShotImage(bullet[i], weapon);
}

BITMAP *BulletImage2(int i) {
    return ShotImage(bullet2[i], weapon2);
}

// hitTestFast samples the first sprite only, so the shot goes first.
static int ShotHits(const shot_t &b, int wpn, BITMAP *s, int x, int y) {
    BITMAP *img = ShotImage(b, wpn);
    if (wpn == 3) return hitTestFast(img, s, b.x, b.y, x, y);
    return hitTest(img, s, b.x, b.y, x, y);
}

int BulletHit(int i, BITMAP *s, int x, int y) {
    return ShotHits(bullet[i], weapon, s, x, y);
}

int BulletHit2(int i, BITMAP *s, int x, int y) {
    return ShotHits(bullet2[i], weapon2, s, x, y);
}
