// Stage sprites: each stage's boss with its projectiles, and the animated
// details of the stage 1 and 2 backdrops. Bosses are shaded masks in the
// shared sprite colours, so that their hit flashes can brighten them.

#include "art.h"

#include <algorithm>
#include <cmath>

namespace {

// A vertical energy beam: bright core, coloured edges, tapered ends.
void Beam(BITMAP *b, int x, int y, int w, int h, const Ramp &r) {
    for (int j = 0; j < h; j++) {
        double end = std::min(1.0, std::min(j + 1, h - j) / 4.0);
        for (int i = 0; i < w; i++) {
            double across = 1 - std::abs(i - (w - 1) / 2.0) / (w / 2.0 + 0.01);
            double t = across * end * (0.85 + 0.15 * sin(j * 1.3));
            if (t > 0.08) putpixel(b, x + i, y + j, Dither(r, t * 1.15, x + i, y + j));
        }
    }
}

// A small glowing orb filling a w x h box.
void Orb(BITMAP *b, int x, int y, int w, int h, const Ramp &r) {
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++) {
            double dx = (i - (w - 1) / 2.0) / (w / 2.0), dy = (j - (h - 1) / 2.0) / (h / 2.0);
            double d = sqrt(dx * dx + dy * dy);
            if (d < 1.05)
                putpixel(b, x + i, y + j, r[std::clamp((int)((1.1 - d) * r.size()), 0, (int)r.size() - 1)]);
        }
}

// The hit flash: a copy of a frame, lit up.
void FlashCopy(BITMAP *b, int sx, int sy, int w, int h, int dx, int dy) {
    blit(b, b, sx, sy, dx, dy, w, h);
    Brighten(b, dx, dy, w, h, 3);
}

// ---------------------------------------------------------------------------
// Stage 1: the camp fire, the first boss and its beams
// ---------------------------------------------------------------------------

// Flames licking up from the bottom of a w x h box; frame picks the shape.
void Flames(BITMAP *b, int x, int y, int w, int h, int frame, int seed) {
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++) {
            double up = (h - j) / (double)h;  // 0 at the bottom, 1 at the top
            double sway = 1.5 * sin(up * 4 + frame * 2.1) * up;
            double d = std::abs(i - (w - 1) / 2.0 - sway) / (w / 2.0 * (1 - up * 0.8));
            double n = Noise(i * 0.45, j * 0.4 + frame * 1.9, seed + frame);
            double v = (1 - d) * (1.15 - up * 0.75) + (n - 0.5) * 0.9;
            if (v > 0.1) putpixel(b, x + i, y + j, Dither(S.fire, 0.2 + v * 0.95, x + i, y + j));
        }
}

void CampFire(BITMAP *b, int x, int y, int frame) {
    Flames(b, x, y, 18, 15, frame, 600);
    // Two crossed logs and the embers under the flames.
    static const std::vector<const char *> logs = {"..12..........21..", ".1232........2321.",
                                                   "..12233e..e33221..", "....1223ee32211..."};
    Key k = {{'1', S.amber[0]}, {'2', S.amber[1]}, {'3', S.amber[2]}, {'e', S.fire[6 + frame % 2]}};
    Grid(b, x, y + 14, logs, k);
    // Sparks rising.
    putpixel(b, x + 4 + frame * 3, y + (frame * 5) % 6, S.fire[7]);
    putpixel(b, x + 13 - frame * 2, y + 2 + frame, S.fire[6]);
}

void FirstBoss(BITMAP *b, int x, int y, int frame) {
    Mask m(50, 84);
    // Dome head, body, cannon pods at the sides and the mouth below.
    ellipsefill(m.m, 24, 20, 17, 18, 1);
    ellipsefill(m.m, 24, 40, 14, 12, 1);
    rectfill(m.m, 20, 48, 29, 55, 3);
    ellipsefill(m.m, 5, 36, 4, 7, 3);
    ellipsefill(m.m, 44, 36, 4, 7, 3);
    line(m.m, 8, 34, 14, 38, 3);
    line(m.m, 41, 34, 35, 38, 3);
    ellipsefill(m.m, 15, 43, 3, 3, 3);
    ellipsefill(m.m, 34, 43, 3, 3, 3);
    ellipsefill(m.m, 24, 14, 10, 8, 2);  // the glass over the brain
    // Tentacles hanging below, swaying from frame to frame.
    for (int t = 0; t < 4; t++) {
        int bx = 13 + t * 8;
        for (int j = 52; j < 83; j++) {
            double s = sin((j - 52) * 0.2 + frame * 2.1 + t * 1.7) * (j - 52) * 0.12;
            int w = j < 70 ? 2 : 1;
            hline(m.m, (int)lrint(bx + s) - w + 1, j, (int)lrint(bx + s) + w - 1, 4);
        }
    }
    std::vector<Material> mats = {Mat(S.violet, 6), Mat(S.pink, 4, 0.45), Mat(S.steel, 3), Mat(S.flesh, 2)};
    Shade(b, x, y, m, mats, S.grey[0]);
    // Eyes, lights and the glowing emitters the beams leave from.
    static const std::vector<const char *> eyes = {".KKK.....KKK.", "KrRrK...KrRrK", "KRWRK...KRWRK",
                                                   ".KKK.....KKK."};
    Grid(b, x + 18, y + 26, eyes, {{'K', S.grey[0]}, {'r', S.red[2]}, {'R', S.red[4]}, {'W', S.red[6]}});
    int glow = frame == 1 ? S.cyan[5] : S.cyan[4];
    rectfill(b, x + 3, y + 40, x + 5, y + 42, glow);
    rectfill(b, x + 43, y + 40, x + 45, y + 42, glow);
    rectfill(b, x + 24, y + 54, x + 30, y + 55, S.gold[4 + frame % 2]);
    rectfill(b, x + 13, y + 45, x + 16, y + 46, S.pink[4]);
    rectfill(b, x + 33, y + 45, x + 36, y + 46, S.pink[4]);
    for (int i = 0; i < 5; i++)
        putpixel(b, x + 13 + i * 6, y + 46 + (i % 2), (i + frame) % 3 ? S.gold[3] : S.gold[5]);
}

void Stage1(BITMAP *b) {
    for (int k = 0; k < 3; k++) CampFire(b, 301 - 19 * k, 0, k);
    for (int k = 0; k < 3; k++) FirstBoss(b, 51 * k, 0, k);
    FlashCopy(b, 0, 0, 50, 84, 153, 0);
    Beam(b, 204, 0, 3, 29, S.cyan);
    Beam(b, 208, 0, 7, 29, S.gold);
    Beam(b, 216, 0, 4, 29, S.pink);
}

// ---------------------------------------------------------------------------
// Stage 2: lighthouse lamp, radar dish, the second boss and its pod
// ---------------------------------------------------------------------------

void Lamp(BITMAP *b, int x, int y, int frame) {
    static const std::vector<const char *> room = {"....RR.....", "...RrRR....", "..RrRRRR...", ".RRRRRRRR..",
                                                   "KKKKKKKKKKK", ".K.......K.", ".K.......K.", ".K.......K.",
                                                   ".K.......K.", ".K.......K.", ".K.......K.", "KKKKKKKKKKK",
                                                   "gGGGGGGGGGg", "g.g.g.g.g.g", "GGGGGGGGGGG", ".wwwwwwwww.",
                                                   ".wWWWWWWww.", ".wWWWWWWww.", ".wwWWWWwww."};
    Key k = {{'R', S.red[2]},  {'r', S.red[4]},  {'K', S.grey[1]}, {'g', S.grey[2]},
             {'G', S.grey[3]}, {'w', S.grey[5]}, {'W', S.grey[6]}};
    Grid(b, x, y, room, k);
    // The lamp turns: bright, lit on one side, dark, lit on the other.
    static const double light[4][3] = {{1, 1, 1}, {0.8, 0.45, 0.15}, {0.25, 0.25, 0.25}, {0.15, 0.45, 0.8}};
    for (int j = 5; j < 11; j++)
        for (int i = 2; i < 9; i++) {
            double t = light[frame][(i - 2) * 3 / 7] * (j == 7 || j == 8 ? 1 : 0.8);
            putpixel(b, x + i, y + j, Dither(S.gold, t, x + i, y + j));
        }
}

void RadarDish(BITMAP *b, int x, int y, int frame) {
    // The dish seen as it turns: full face, three-quarter, edge, back.
    double open[4] = {1, 0.55, 0.12, 0.55};
    int dir = frame == 3 ? -1 : 1;
    for (int j = 0; j < 10; j++)
        for (int i = 0; i < 16; i++) {
            double dy = (j - 4.5) / 5.0, half = 7.5 * open[frame] * sqrt(std::max(0.0, 1 - dy * dy));
            double dx = i - 7.5;
            if (std::abs(dx) > half + 0.4) continue;
            double t = 0.3 + 0.6 * (dir * dx / 8 + 0.5) * (frame == 3 ? 0.5 : 1);
            putpixel(b, x + i, y + j, Dither(S.steel, t, x + i, y + j));
        }
    if (frame != 2) putpixel(b, x + 7 + dir * (int)(3 * open[frame]), y + 4, S.red[4]);  // feed horn
    vline(b, x + 7, y + 9, y + 12, S.steel[2]);
    vline(b, x + 8, y + 9, y + 12, S.steel[1]);
    hline(b, x + 5, y + 12, x + 10, S.steel[1]);
}

void SecondBoss(BITMAP *b, int x, int y, int frame) {
    Mask m(39, 54);
    ellipsefill(m.m, 19, 20, 17, 18, 1);                                             // the hive body
    for (int i = 0; i < 4; i++) ellipsefill(m.m, 19, 34 + 4 * i, 12 - 3 * i, 3, 2);  // ringed abdomen
    triangle(m.m, 15, 48, 23, 48, 19, 53, 3);                                        // stinger
    ellipsefill(m.m, 4, 16 - frame, 3, 6, 4);                                        // wings
    ellipsefill(m.m, 34, 16 - frame, 3, 6, 4);
    std::vector<Material> mats = {Mat(S.amber, 7), Mat(S.gold, 2), Mat(S.steel, 2), Mat(S.cyan, 2, 0.6)};
    Shade(b, x, y, m, mats, S.grey[0]);
    // Compound eyes and a pulsing mouth.
    static const std::vector<const char *> face = {"..KKK.....KKK..", ".KrRrK...KrRrK.", "KrRWRrK.KrRWRrK",
                                                   ".KrRrK...KrRrK.", "..KKK.....KKK.."};
    Grid(b, x + 12, y + 12, face,
         {{'K', S.grey[0]}, {'r', S.green[2]}, {'R', S.green[4]}, {'W', S.green[5]}});
    int mouth = 2 + frame;
    ellipsefill(b, x + 19, y + 25, mouth, 1 + frame / 2, S.grey[0]);
    putpixel(b, x + 19, y + 25, S.fire[6]);
}

void Pod(BITMAP *b, int x, int y, int frame) {
    if (frame >= 3) {
        // Wreck on the ground, burning down over frames 3..7.
        static const std::vector<const char *> wreck = {"...KKKK.K.KKKK..", ".KK5566K6K5665KK",
                                                        "K445566K4K54433K", "KKKKKKKKKKKKKKKK"};
        Key k;
        RampKey(k, S.steel);
        k['K'] = S.grey[0];
        Grid(b, x + 7, y + 13, wreck, k);
        int burn = 7 - frame;  // 4 .. 0: the fire dies down
        if (burn > 0)
            Flames(b, x + 5 + (4 - burn), y + 14 - 3 * burn, 20 - 2 * (4 - burn), 3 * burn + 1, frame, 700);
        for (int i = 0; i < 4 - burn; i++) putpixel(b, x + 9 + i * 4, y + 11 - i % 2, S.smoke[2 + i % 2]);
        return;
    }
    Mask m(30, 17);
    ellipsefill(m.m, 14, 10, 13, 4, 1);
    ellipsefill(m.m, 14, 6, 6, 4, 2);
    std::vector<Material> mats = {Mat(S.teal, 3), Mat(S.cyan, 2, 0.5)};
    Shade(b, x, y, m, mats, S.grey[0]);
    for (int i = 0; i < 5; i++) putpixel(b, x + 6 + 4 * i, y + 11, i % 2 ? S.gold[5] : S.red[4]);
    if (frame == 1) Brighten(b, x, y, 30, 17, 3);
    if (frame == 2) {
        // Falling: smoke and flame trailing up behind it.
        for (int i = 0; i < 10; i++)
            putpixel(b, x + 2 + i, y + 2 + (i * 7) % 5, i < 4 ? S.fire[6 - i] : S.smoke[3]);
        putpixel(b, x + 14, y + 9, S.fire[7]);
        putpixel(b, x + 15, y + 10, S.fire[5]);
    }
}

void Stage2(BITMAP *b) {
    for (int k = 0; k < 4; k++) {
        Lamp(b, 308 - 12 * k, 0, k);
        RadarDish(b, 228, 14 * k, k);
        Pod(b, 160, 18 * k, k);
        Pod(b, 197, 18 * k, 4 + k);
    }
    // Frame 3 is both the second falling picture and the first burning one.
    for (int k = 0; k < 3; k++) SecondBoss(b, 40 * k, 0, k);
    FlashCopy(b, 0, 0, 39, 54, 120, 0);
    // Acid drop of the hive.
    static const std::vector<const char *> drop = {"..1..", "..2..", ".121.", ".232.", ".232.", "12321",
                                                   "23432", "34543", "34543", "23432", "23432", ".232.",
                                                   ".121.", "..1..", ".....", "..1..", "....."};
    Key k;
    RampKey(k, S.lime);
    Grid(b, 191, 0, drop, k);
}

// ---------------------------------------------------------------------------
// Stage 3: the third boss, its arm and its bombs
// ---------------------------------------------------------------------------

void ThirdBoss(BITMAP *b, int x, int y, int frame) {
    Mask m(63, 29);
    ellipsefill(m.m, 31, 16, 29, 9, 1);  // the saucer hull
    ellipsefill(m.m, 31, 9, 13, 7, 2);   // the bridge dome
    rectfill(m.m, 27, 22, 35, 27, 3);    // the arm socket
    for (int side = -1; side <= 1; side += 2) {
        triangle(m.m, 31 + side * 22, 12, 31 + side * 30, 18, 31 + side * 18, 20, 3);  // wing cannons
    }
    std::vector<Material> mats = {Mat(S.steel, 5), Mat(S.teal, 4, 0.45), Mat(S.steel, 2)};
    Shade(b, x, y, m, mats, S.grey[0]);
    // Window band with lights that run round the hull.
    for (int i = 0; i < 11; i++) {
        int c = (i + frame) % 3 == 0 ? S.gold[5] : S.gold[2];
        putpixel(b, x + 7 + i * 5, y + 18, c);
        putpixel(b, x + 8 + i * 5, y + 18, c);
    }
    static const std::vector<const char *> eye = {".KKKK.", "KrRRrK", "KRWWRK", ".KKKK."};
    Grid(b, x + 28, y + 6, eye, {{'K', S.grey[0]}, {'r', S.red[2]}, {'R', S.red[4]}, {'W', S.red[6]}});
}

void ArmSegment(BITMAP *b, int x, int y, bool tip) {
    Mask m(13, 19);
    if (tip) {
        ellipsefill(m.m, 6, 5, 5, 4, 1);
        triangle(m.m, 1, 6, 6, 18, 5, 6, 2);  // the claw's two hooks
        triangle(m.m, 11, 6, 6, 18, 7, 6, 2);
        triangle(m.m, 4, 8, 6, 17, 8, 8, 2);
    } else {
        ellipsefill(m.m, 6, 9, 4, 8, 1);
        rectfill(m.m, 3, 7, 9, 11, 2);
    }
    std::vector<Material> mats = {Mat(S.bone, 3), Mat(tip ? S.red : S.steel, 2)};
    Shade(b, x, y, m, mats, S.grey[0]);
}

void SpinBomb(BITMAP *b, int x, int y, int frame) {
    Mask m(16, 25);
    ellipsefill(m.m, 7, 15, 5, 7, 1);
    for (int i = 0; i < 3; i++) {
        int fx = 7 + (int)lrint(6 * cos(i * 2.094 + frame * 1.05)),
            fy = 15 + (int)lrint(3 * sin(i * 2.094 + frame));
        line(m.m, 7, 15, fx, fy, 2);
    }
    std::vector<Material> mats = {Mat(S.pink, 3), Mat(S.steel, 1)};
    Shade(b, x, y, m, mats, S.grey[0]);
    // The fuse flame above it.
    for (int j = 0; j < 7; j++) putpixel(b, x + 7 + (j + frame) % 2, y + j, S.fire[8 - j]);
    putpixel(b, x + 6, y + 3, S.fire[5 + frame]);
}

void Stage3(BITMAP *b) {
    ThirdBoss(b, 0, 0, 0);
    ThirdBoss(b, 64, 0, 1);
    ThirdBoss(b, 0, 30, 2);
    FlashCopy(b, 0, 0, 63, 29, 64, 30);
    SpinBomb(b, 128, 0, 0);
    SpinBomb(b, 145, 0, 1);
    ArmSegment(b, 176, 0, false);
    ArmSegment(b, 162, 0, true);
}

// ---------------------------------------------------------------------------
// Stage 4: the fourth boss, an armoured eye, its bomb and pellets
// ---------------------------------------------------------------------------

void FourthBoss(BITMAP *b, int x, int y, int frame) {
    Mask m(76, 58);
    ellipsefill(m.m, 37, 28, 26, 25, 1);  // the armoured sphere
    for (int i = 0; i < 8; i++) {         // spikes all round
        double a = i * PI / 4 + PI / 8;
        int px = 37 + (int)lrint(cos(a) * 35), py = 28 + (int)lrint(sin(a) * 27);
        int qx = 37 + (int)lrint(cos(a + 0.25) * 24), qy = 28 + (int)lrint(sin(a + 0.25) * 22);
        int rx = 37 + (int)lrint(cos(a - 0.25) * 24), ry = 28 + (int)lrint(sin(a - 0.25) * 22);
        triangle(m.m, px, py, qx, qy, rx, ry, 3);
    }
    ellipsefill(m.m, 37, 28, 26, 25, 1);
    ellipsefill(m.m, 37, 28, 16, 14, 2);  // the eye socket lid
    ellipsefill(m.m, 37, 28, 13, 11, 4);  // the eyeball
    std::vector<Material> mats = {Mat(S.bone, 8), Mat(S.flesh, 3), Mat(S.steel, 4), Mat(S.grey, 5, 0.55)};
    Shade(b, x, y, m, mats, S.grey[0]);
    // The iris looks one way, then the other.
    int ix = x + 37 + (frame ? 4 : -4), iy = y + 29;
    circlefill(b, ix, iy, 7, S.green[2]);
    circlefill(b, ix, iy, 5, S.green[3]);
    circlefill(b, ix, iy, 3, S.grey[0]);
    putpixel(b, ix - 3, iy - 3, S.grey[7]);
    putpixel(b, ix - 2, iy - 3, S.grey[6]);
    // Veins on the eyeball.
    for (int i = 0; i < 4; i++) {
        int sx = x + 37 + (i < 2 ? -12 : 12), sy = y + 24 + (i % 2) * 8;
        line(b, sx, sy, sx + (i < 2 ? 3 : -3), sy + 1, S.red[2]);
    }
}

void Stage4(BITMAP *b) {
    FourthBoss(b, 0, 0, 0);
    FourthBoss(b, 77, 0, 1);
    FlashCopy(b, 0, 0, 76, 58, 154, 0);
    // The heavy bomb: a spiked mine with a glowing core.
    Mask m(13, 22);
    ellipsefill(m.m, 6, 13, 5, 6, 1);
    triangle(m.m, 6, 2, 4, 9, 8, 9, 2);
    triangle(m.m, 0, 13, 3, 11, 3, 15, 2);
    triangle(m.m, 12, 13, 9, 11, 9, 15, 2);
    std::vector<Material> mats = {Mat(S.red, 3), Mat(S.steel, 1)};
    Shade(b, 231, 0, m, mats, S.grey[0]);
    putpixel(b, 237, 13, S.gold[5]);
    putpixel(b, 236, 12, S.gold[4]);
    Orb(b, 245, 0, 5, 5, S.lime);
}

// ---------------------------------------------------------------------------
// Stage 5: the flagship, its pellets and long bombs
// ---------------------------------------------------------------------------

void FifthBoss(BITMAP *b, int x, int y, int frame) {
    Mask m(96, 32);
    int hull[] = {2, 16, 20, 8, 76, 8, 94, 16, 76, 26, 20, 26};
    polygon(m.m, 6, hull, 1);
    int wing[] = {10, 12, 30, 2, 66, 2, 86, 12};
    polygon(m.m, 4, wing, 3);
    ellipsefill(m.m, 48, 9, 12, 7, 2);  // the command dome
    rectfill(m.m, 18, 24, 30, 29, 3);   // engine pods below
    rectfill(m.m, 66, 24, 78, 29, 3);
    rectfill(m.m, 44, 24, 52, 30, 3);
    std::vector<Material> mats = {Mat(S.purple, 5), Mat(S.pink, 4, 0.5), Mat(S.steel, 3)};
    Shade(b, x, y, m, mats, S.grey[0]);
    // Lights along the hull, chasing between frames, and the eye of the dome.
    for (int i = 0; i < 12; i++) {
        int c = (i + frame) % 2 ? S.cyan[5] : S.cyan[2];
        putpixel(b, x + 14 + i * 6, y + 18, c);
    }
    static const std::vector<const char *> eye = {".KKKKK.", "KrRWRrK", ".KKKKK."};
    Grid(b, x + 45, y + 8, eye, {{'K', S.grey[0]}, {'r', S.red[3]}, {'R', S.red[5]}, {'W', S.gold[5]}});
    for (int ex : {22, 70, 46}) {  // engine glow
        hline(b, x + ex, y + 29 + (ex == 46), x + ex + 4, S.fire[5 + frame * 2]);
        hline(b, x + ex + 1, y + 30 + (ex == 46), x + ex + 3, S.fire[4 + frame]);
    }
}

void Stage5(BITMAP *b) {
    FifthBoss(b, 0, 0, 0);
    FifthBoss(b, 97, 0, 1);
    FlashCopy(b, 0, 0, 96, 32, 0, 33);
    Orb(b, 194, 0, 5, 5, S.pink);
    Beam(b, 200, 0, 5, 16, S.red);
}

}  // namespace

void StageSprites(BITMAP *b, Pal &p, int n) {
    (void)p;
    switch (n) {
    case 1:
        Stage1(b);
        break;
    case 2:
        Stage2(b);
        break;
    case 3:
        Stage3(b);
        break;
    case 4:
        Stage4(b);
        break;
    case 5:
        Stage5(b);
        break;
    }
}
