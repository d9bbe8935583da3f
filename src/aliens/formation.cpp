// Alien formation: building a wave, the sideways march with its descents,
// drawing the aliens and their shadows.

#include "aliens/aliens.h"
#include "core/core.h"

alien_t alien[8][5];
int al_x, al_y, al_v, al_dx, al_dx2, al_dxm, al_dy, al_dy2, al_dym, al_dytot, al_down, al_fr, al_count;

// Later waves of a stage start lower: 0, 20, 40, 60 (Old mode stays at 60
// from level 5 on).
static int WaveDepth() {
    if (MODE == 1) return ((level - 1) % 5) * 20;
    if (level <= 4) return ((level - 1) % 4) * 20;
    return 60;
}

void AliensInit(int n) {
    al_x = 30;
    al_y = 42 + WaveDepth();
    al_dx = 1;
    al_v = 1;
    al_dx2 = 0;
    al_dxm = 5;
    al_dy = 0;
    al_dy2 = 0;
    al_dym = 1;
    al_dytot = 0;
    al_down = 20;
    al_fr = 0;
    al_count = 0;
    for (int c = 0; c < 8; c++) {
        for (int r = 0; r < 5; r++) {
            alien_t &a = alien[c][r];
            a.frame = 0;
            a.dead = a.exploding = a.hit = false;
            a.x = al_x + 20 * c;
            a.y = al_y + 20 * r;
            a.hp = n;
        }
    }
    bo_d = 0;
    bo_v = SKILL > 2 ? 2 : 1;
    AliensBombInit();
}

void Aliens() {
    AliensDraw();
    if (al_dy > 0) AliensDown();
    if (gameover) return;
    AliensMove();
    AliensBomb();
    if (syn) al_fr = (al_fr + 1) % 2;
}

static void DescentStart() {
    al_dy = 1;
    al_dy2 = 0;
    al_dytot = 0;
}

// Sideways step of this frame, 0 when the formation stands still. From level
// 11 on the last alien (interval 0) runs two pixels every frame.
static int MarchStep() {
    if (al_dxm < 1) return level >= 11 ? 2 * al_dx : al_dx;
    return al_dx2 % al_dxm == 0 ? al_dx : 0;
}

void AliensMove() {
    al_dx2 += 1;
    int step = MarchStep();
    if (step == 0) return;
    for (int c = 0; c < 8; c++)
        for (int r = 0; r < 5; r++)
            if (!alien[c][r].dead) alien[c][r].x += step;

    // Only living aliens touch the sides, so the march widens as the outer
    // columns are emptied.
    for (int c = 0; c < 8; c++) {
        for (int r = 0; r < 5; r++) {
            const alien_t &a = alien[c][r];
            if (a.dead) continue;
            if (a.x < 1) {
                al_dx = al_v;
                DescentStart();
            }
            if (a.x > 303) {
                al_dx = -al_v;
                DescentStart();
            }
        }
    }

    // An alien below the line has landed: the play is lost, and the
    // formation sinks a last five pixels.
    for (int c = 0; c < 8; c++) {
        for (int r = 0; r < 5; r++) {
            if (!alien[c][r].dead && alien[c][r].y > 200) {
                gameover = true;
                al_dy = 1;
                al_dy2 = 0;
                al_dytot = 15;
            }
        }
    }
}

void AliensDown() {
    al_dy2 += 1;
    if (al_dy2 % al_dym != 0) return;
    for (int c = 0; c < 8; c++)
        for (int r = 0; r < 5; r++)
            if (!alien[c][r].dead) alien[c][r].y += al_dy;
    al_dytot += 1;
    if (al_dytot == al_down) al_dy = 0;
}

// The hit flash lasts until the next 80 ms tick; the explosion shows images
// 3 to 8, one per tick, over the already dead alien.
void AliensDraw() {
    for (int c = 0; c < 8; c++) {
        for (int r = 0; r < 5; r++) {
            alien_t &a = alien[c][r];
            if (!a.dead) draw_sprite(buffer, a.spr[al_fr], a.x, a.y);
            if (a.hit) {
                draw_sprite(buffer, a.spr[a.frame], a.x, a.y);
                if (synf) a.hit = false;
            }
            if (a.exploding) {
                draw_sprite(buffer, a.spr[a.frame], a.x, a.y);
                if (synf) {
                    a.frame += 1;
                    if (a.frame == 9) a.exploding = false;
                }
            }
        }
    }
}

// Only the backdrops with ground get shadows: the first four waves of
// stages 1, 2 and 5.
static bool LevelHasGround() {
    return (level >= 1 && level <= 4) || (level >= 6 && level <= 9) || (level >= 21 && level <= 24);
}

void AlienShadow() {
    if (!LevelHasGround()) return;
    for (int c = 0; c < 8; c++) {
        for (int r = 0; r < 5; r++) {
            const alien_t &a = alien[c][r];
            if (a.dead) continue;
            line(buffer, a.x + 2, 216, a.x + 12, 216, swcol);
            break;
        }
    }
}
