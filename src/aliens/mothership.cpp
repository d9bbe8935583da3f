// Mother ship: random crossings of the sky, one heavy bomb at a time let go
// over player 1, hit points one above the stage's aliens, and a rich reward.

#include "aliens/aliens.h"
#include "core/core.h"
#include "platform/platform.h"
#include "players/players.h"

mothership_t ship;
shipbomb_t ship_bomb;

void ShipInit(int n) {
    ship.state = 0;
    ship.count = 0;
    ship.x = -48;
    ship.y = 20;
    ship.dead = false;
    ship.exploding = false;
    ship.hit = false;
    ship.hp = n + 1;
    ship.frame = 0;
    ship_bomb.on = false;
    ship_bomb.exploding = false;
    ship_bomb.frame = 0;
    ship_bomb.x = 0;
    ship_bomb.y = 0;
}

static void BombDrop() {
    ship_bomb.on = true;
    ship_bomb.exploding = false;
    ship_bomb.x = ship.x;
    ship_bomb.y = 5;
}

// One frame of a crossing in direction dx (+1 right, -1 left). The ship moves
// every second frame and stands still while it explodes; the bomb goes as
// soon as it is free and the ship is past player 1 in its direction, unless
// the ship has just left the sky (a bomb from off screen would fall unseen).
static void Cross(int dx) {
    if (!ship.exploding && ship.count % 2 == 0) ship.x += dx;
    bool gone = dx > 0 ? ship.x > 320 : ship.x < -48;
    if (gone) ship.state = 0;
    bool past = dx > 0 ? ship.x > player.x : ship.x < player.x;
    if (past && !gone && !ship_bomb.on && !ship.exploding) BombDrop();
    ShipDraw();
    ShipCollision();
}

// A new pass from a random side, with full hit points.
static void PassStart() {
    if (Random(1) == 1) {
        ship.state = 1;
        ship.x = -48;
        ship.frame = 0;
    } else {
        ship.state = 2;
        ship.x = 320;
        ship.frame = 1;
    }
    ship.dead = false;
    ship.exploding = false;
    ship.hit = false;
    ship.hp = al_hits + 1;
    ship.y = 20;
}

void Ship() {
    ship.count += 1;
    if (ship.state == 1) Cross(1);
    if (ship.state == 2) Cross(-1);
    if (ship.state == 0 && Random(300) == 0) PassStart();
    if (ship_bomb.on) ShipBomb();
}

void ShipDraw() {
    if (!ship.hit && !ship.exploding) draw_sprite(buffer, ship.spr[ship.frame], ship.x, ship.y);
    if (ship.hit) {
        draw_sprite(buffer, ship.spr[2 + ship.frame], ship.x, ship.y);
        if (synf) ship.hit = false;
    }
    if (ship.exploding) {
        draw_sprite(buffer, ship.spr[ship.frame], ship.x, ship.y);
        if (synf) {
            ship.frame += 1;
            if (ship.frame == 11) {
                ship.exploding = false;
                ship.state = 0;
            }
        }
    }
    if (ship_bomb.on) draw_sprite(buffer, ship_bomb.spr[ship_bomb.frame], ship_bomb.x, ship_bomb.y);
}

// One hit on the ship: 2 points, the flash, and at its last hit point the
// explosion, centred on the ship, with 250 more.
static void ShipHit(int &pts) {
    ship.hp -= 1;
    pts += 2;
    if (ship.hp < 0) ship.hp = 0;
    if (ship.hp > 0) SysPlaySample(al_fx[1], 50, 100, 1000);
    ship.hit = true;
    if (ship.hp == 0) {
        SysPlaySample(al_fx[0], 50, 200, 1000);
        ship.dead = true;
        ship.exploding = true;
        ship.frame = 4;
        ship.x += 8;
        ship.y -= 6;
        pts += 250;
    }
}

// A blasting weapon-3 shot stays on, so it goes on hitting the ship on later
// frames until the ship is dead.
static void ShotsVsShip(const shot_t *b, int slots, int (*hits)(int, BITMAP *, int, int),
                        void (*restore)(int), int &pts) {
    for (int i = 0; i < slots; i++) {
        if (ship.dead || !b[i].on) continue;
        if (!hits(i, ship.spr[ship.frame], ship.x, ship.y)) continue;
        ShipHit(pts);
        restore(i);
    }
}

// A player who is out no longer runs shots; the ones left where they stood
// must not hit the ship either.
void ShipCollision() {
    if (!gameover1) ShotsVsShip(bullet, mbul, BulletHit, RestoreBullet, score);
    if (NPLAYERS == 2 && !gameover2) ShotsVsShip(bullet2, mbul2, BulletHit2, RestoreBullet2, score2);
}

// The bomb against one ship; a ship it destroys is dead at once and so is
// not hit again by the same bomb.
static void BombVsShip(player_t &p, void (*lost)()) {
    if (p.shield != 0 || p.dead) return;
    if (hitTest(p.spr[1], ship_bomb.spr[ship_bomb.frame], p.x, p.y, ship_bomb.x, ship_bomb.y)) lost();
}

// Falls from y 5 to 190 in 185 frames with its whistle at 20, then bursts on
// the ground, one image per 80 ms tick.
void ShipBomb() {
    shipbomb_t &b = ship_bomb;
    if (!b.exploding) {
        b.y += 1;
        if (b.y == 20) SysPlaySample(al_fx[2], 80, 100, 1000);
        draw_sprite(buffer, b.spr[b.frame], b.x, b.y);
    }
    if (b.exploding) {
        draw_sprite(buffer, b.spr[b.frame], b.x, b.y);
        if (synf) {
            b.frame += 1;
            if (b.frame == 5) {
                b.exploding = false;
                b.on = false;
                b.frame = 0;
            }
        }
    }
    if (b.y == 189) SysPlaySample(al_fx[3], 80, 100, 1000);
    if (b.y == 190) b.exploding = true;
    BombVsShip(player, PlayerHit);
    if (NPLAYERS == 2) BombVsShip(player2, PlayerHit2);
}
