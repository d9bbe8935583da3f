// Player ships: steering, shield, explosion and restart, player 2 joining.

#include "players/players.h"
#include "aliens/aliens.h"
#include "core/core.h"
#include "platform/platform.h"

player_t player, player2;
int pl_n, pl_n2;

// A fresh ship at its start position, blinking under a new shield.
static void ShipStart(player_t &p, int x) {
    p.dead = false;
    p.x = x;
    p.y = 206;
    p.frame = 0;
    p.shield = 22;
}

// Empty shot slots loaded with the current shot parameters.
static void ShotsReady(shot_t *b, int pw, int spd) {
    for (int i = 0; i < 4; i++) {
        b[i].hits = pw;
        b[i].vy = spd;
        b[i].frame = 0;
        b[i].on = false;
        b[i].blast = false;
    }
}

static void Player1Ready() {
    push = true;
    ibul = 0;
    ShipStart(player, 50);
    ShotsReady(bullet, bul_pw, bul_speed);
    bul_aux = 0;
}

static void Player2Ready() {
    push2 = true;
    ibul2 = 0;
    ShipStart(player2, 270);
    ShotsReady(bullet2, bul_pw2, bul_speed2);
    bul_aux2 = 0;
}

void PlayerInit() {
    Player1Ready();
    Player2Ready();
    AliensBombInit();
}

void PlayerRestart() {
    ShipStart(player, 50);
}

void PlayerRestart2() {
    ShipStart(player2, 270);
}

void Player2Enter() {
    NPLAYERS = 2;
    score2 = 0;
    lives2 = LIVES;
    Player2Ready();
}

// At speed 1 both keys step one shared counter and move only on even counts,
// so the ship moves every second frame (and drifts right with both held).
static void Steer(player_t &p, int spd, int &n, int left, int right) {
    if (spd == 1) {
        if (key[left]) {
            n++;
            if (n % 2 == 0 && p.x > 0) p.x -= 1;
        }
        if (key[right]) {
            n++;
            if (n % 2 == 0 && p.x <= 303) p.x += 1;
        }
        return;
    }
    if (key[left] && p.x > 0) p.x -= spd - 1;
    if (key[right] && p.x <= 303) p.x += spd - 1;
}

// Explosion images 3..6 on the 80 ms tick, then a restart; otherwise the
// flight animation, or the shield blink while it counts down.
static void Animate(player_t &p, void (*restart)()) {
    if (p.dead) {
        if (synf) {
            p.frame += 1;
            if (p.frame == 7) restart();
        }
    } else if (p.shield < 1) {
        if (syn) p.frame = (p.frame + 1) % 2;
    } else if (synf) {
        p.shield -= 1;
        p.frame = (p.frame + 1) % 3;
    }
}

void Player() {
    if (!player.dead) Steer(player, speed, pl_n, KEY_LEFT, KEY_RIGHT);
    draw_sprite(buffer, player.spr[player.frame], player.x, player.y);
    Animate(player, PlayerRestart);
    Bullet();
}

void Player2() {
    if (!player2.dead) Steer(player2, speed2, pl_n2, KEY_A, KEY_D);
    draw_sprite(buffer, player2.spr[player2.frame], player2.x, player2.y);
    Animate(player2, PlayerRestart2);
    Bullet2();
}

static void ShipLost(player_t &p, int &left) {
    SysPlaySample(pl_fx[1], 120, 150, 1000);
    left -= 1;
    p.frame = 3;
    p.dead = true;
}

void PlayerHit() {
    ShipLost(player, lives);
}

void PlayerHit2() {
    ShipLost(player2, lives2);
}
