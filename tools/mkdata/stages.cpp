// The stage sheets: each a place of its own with its own palette. Columns
// 320..639 hold the 320x256 playfield backdrop with the status bar, the rest
// the sprites (sprites.cpp, bosses.cpp).

#include "art.h"

#include <algorithm>
#include <cmath>
#include <array>
#include <cstring>

namespace {

// The status-bar colours of a sheet: face and text are the indexes the game
// writes its numbers with; hi and lo are the panel's bevel.
struct Panel {
    int face, text, hi, lo;
};

const int HI = 11, LO = 12;

// A small ship in a player's colours, for the status bar.
void MiniShip(BITMAP *s, int x, int y, const Ramp &r) {
    static const std::vector<const char *> icon = {"....3....", "...363...", "...454...", ".2.454.2.",
                                                   "234545432", "33.444.33", "....1...."};
    Key k;
    RampKey(k, r);
    Grid(s, x, y, icon, k);
}

// The top strip (rows 0..8) and the bottom panel (rows 224..255), with the
// labels beside every number the game writes.
void StatusBar(BITMAP *s, const Panel &pn, bool money, const char *name) {
    rectfill(s, 0, 0, 319, 7, pn.face);
    hline(s, 0, 8, 319, pn.lo);
    Label(s, 30, 0, "LEVEL", pn.text);
    Label(s, 130, 0, "HI-SCORE", pn.text);
    Label(s, 317 - LabelWidth(name), 0, name, pn.hi);

    rectfill(s, 0, 224, 319, 255, pn.face);
    hline(s, 0, 224, 319, pn.lo);
    hline(s, 0, 225, 319, pn.hi);
    hline(s, 4, 237, 315, pn.lo);
    for (int x : {122, 250}) {
        vline(s, x, 228, 251, pn.lo);
        vline(s, x + 1, 228, 251, pn.hi);
    }
    const Ramp *colour[2] = {&S.blue, &S.red};
    for (int row = 0; row < 2; row++) {
        int y = 226 + 15 * row;
        MiniShip(s, 3, y, *colour[row]);
        Label(s, 15, y, row ? "2UP" : "1UP", pn.text);
        if (money) Label(s, 130, y, "CASH", pn.text);
        MiniShip(s, 260, y, *colour[row]);
        Label(s, 274, y, "*", pn.text);
    }
}

// Stars: single pixels, some brighter with a cross.
void Stars(BITMAP *s, int y0, int y1, int n, int seed, const Ramp &glow) {
    Rng r(seed);
    for (int i = 0; i < n; i++) {
        int x = r.Int(320), y = y0 + r.Int(y1 - y0), k = r.Int(100);
        if (k < 70) {
            putpixel(s, x, y, glow[std::min((int)glow.size() - 1, 1 + r.Int((int)glow.size() - 2))]);
        } else if (k < 94) {
            putpixel(s, x, y, glow.back());
        } else {
            putpixel(s, x, y, glow.back());
            putpixel(s, x - 1, y, glow[glow.size() / 2]);
            putpixel(s, x + 1, y, glow[glow.size() / 2]);
            putpixel(s, x, y - 1, glow[glow.size() / 2]);
            putpixel(s, x, y + 1, glow[glow.size() / 2]);
        }
    }
}

// A ridge line from fractal noise: its height at every column.
std::vector<int> Ridge(int base, double amp, double scale, int seed) {
    std::vector<int> h(320);
    for (int x = 0; x < 320; x++) h[x] = base - (int)lrint(amp * Fbm(x * scale, 0.5, 4, seed));
    return h;
}

// Fills from a ridge down to y1 with a ramp by depth; the ridge itself lit.
void FillRidge(BITMAP *s, const std::vector<int> &h, int y1, const Ramp &r, double t0, double t1, int rim) {
    for (int x = 0; x < 320; x++) {
        for (int y = h[x]; y <= y1; y++) {
            double t = t0 + (t1 - t0) * (y - h[x]) / std::max(1, y1 - h[x]);
            putpixel(s, x, y, Dither(r, t, x, y));
        }
        if (rim >= 0 && x > 0 && h[x] <= h[x - 1]) putpixel(s, x, h[x], rim);
    }
}

// A round body lit from one side, dithered along a ramp.
void Sphere(BITMAP *s, int cx, int cy, int rad, const Ramp &r, double lx, double ly, double amb) {
    for (int y = -rad; y <= rad; y++)
        for (int x = -rad; x <= rad; x++) {
            double d2 = (x * x + y * y) / (double)(rad * rad);
            if (d2 > 1) continue;
            double z = sqrt(1 - d2), nx = x / (double)rad, ny = y / (double)rad;
            double lit = std::max(0.0, -(nx * lx + ny * ly) + z * 0.35);
            putpixel(s, cx + x, cy + y, Dither(r, amb + (1 - amb) * lit, cx + x, cy + y));
        }
}

// A conifer silhouette with its lit side to the right.
void Fir(BITMAP *s, int x, int base, int height, int dark, int lit) {
    for (int j = 0; j < height; j++) {
        int w = (j * 5 / 2) / 4 + (j % 4 == 3 ? 0 : 1) - 0;
        w = std::max(0, j * 2 / 5 + ((j % 5) > 2 ? 1 : 0));
        hline(s, x - w, base - height + j, x + w, dark);
        if (w > 0) putpixel(s, x + w, base - height + j, lit);
    }
    vline(s, x, base - 1, base + 1, dark);
}

// ---------------------------------------------------------------------------
// Stage 1: moonlit farmland, a camp fire burning in the field
// ---------------------------------------------------------------------------

void Farmland(BITMAP *s, Pal &p) {
    Ramp sky = p.SceneRamp(12, {4, 6, 26, 16, 24, 70, 44, 60, 120});
    Ramp moon = p.SceneRamp(5, {90, 96, 120, 180, 186, 190, 250, 250, 230});
    Ramp far = p.SceneRamp(4, {10, 12, 36, 36, 40, 84});
    Ramp hill = p.SceneRamp(5, {6, 18, 22, 20, 44, 40, 40, 70, 58});
    Ramp meadow = p.SceneRamp(8, {10, 30, 18, 30, 64, 32, 58, 100, 46});
    Ramp glow = p.SceneRamp(5, {26, 50, 24, 90, 80, 34, 220, 140, 60});
    Ramp wood = p.SceneRamp(4, {26, 16, 12, 70, 40, 26, 120, 70, 40});
    int win = p.Scene(255, 210, 110);
    p.Set(178, 6, 20, 10);  // the aliens' shadows on the grass

    VGradient(s, 0, 9, 319, 175, sky, 0, 1);
    Stars(s, 10, 130, 150, 11, S.grey);
    // The moon with its halo and a few craters.
    for (int y = 18; y < 88; y++)
        for (int x = 214; x < 287; x++) {
            double d = hypot(x - 250, y - 52);
            if (d < 36) putpixel(s, x, y, Dither(sky, (y - 9) / 166.0 + 0.45 * (1 - d / 36), x, y));
        }
    Sphere(s, 250, 52, 19, moon, -0.6, -0.3, 0.45);
    for (auto c : {std::array<int, 3>{244, 46, 4}, {256, 58, 3}, {253, 44, 2}, {242, 60, 2}})
        circlefill(s, c[0], c[1], c[2], moon[2]);
    // Far mountains, then the wooded hills.
    FillRidge(s, Ridge(150, 46, 0.012, 5), 175, far, 0.7, 0.0, far[3]);
    std::vector<int> hills = Ridge(176, 22, 0.02, 9);
    FillRidge(s, hills, 180, hill, 0.7, 0.1, hill[4]);
    Rng r(21);
    for (int x = 2; x < 320; x += 5 + r.Int(6)) {
        if (x > 20 && x < 90) continue;  // the farm's clearing
        Fir(s, x, hills[x] + 2, 8 + r.Int(12), hill[0], hill[2]);
    }
    // The farm: a barn and a silo with lit windows.
    rectfill(s, 34, 150, 64, 176, wood[1]);
    triangle(s, 30, 151, 49, 136, 68, 151, wood[0]);
    for (int y = 152; y < 176; y += 3) hline(s, 35, y, 63, wood[0]);
    rectfill(s, 45, 160, 53, 176, wood[0]);
    rectfill(s, 38, 155, 41, 158, win);
    rectfill(s, 58, 155, 61, 158, win);
    rectfill(s, 70, 140, 80, 176, wood[2]);
    ellipsefill(s, 75, 140, 5, 3, wood[3]);
    for (int y = 144; y < 176; y += 5) hline(s, 70, y, 80, wood[1]);
    // The meadow: darker far away, ploughed rows running towards the hills,
    // lit warm round the fire.
    for (int y = 177; y < 224; y++)
        for (int x = 0; x < 320; x++) {
            double t = 0.15 + 0.7 * (y - 177) / 46.0 + 0.3 * (Fbm(x * 0.05, y * 0.15, 3, 33) - 0.5);
            double u = (x - 160) * 6.0 / (y - 150);
            if (x > 175 && u - floor(u) < 0.35) t -= 0.12;
            int c = Dither(meadow, t, x, y);
            double fx = (x - 157) / 30.0, fy = (y - 183) / 8.0, fire = 1 - sqrt(fx * fx + fy * fy);
            if (fire > 0 && y > 178) c = Dither(glow, fire * 1.1, x, y);
            putpixel(s, x, y, c);
        }
    for (int i = 0; i < 260; i++) {
        int x = r.Int(320), y = 180 + r.Int(42);
        putpixel(s, x, y, meadow[std::min(7, 3 + (y - 180) / 10)]);
        putpixel(s, x, y - 1, meadow[std::min(7, 2 + (y - 180) / 10)]);
    }
    // Stones ringing the fire (the flames are the animation).
    for (int i = 0; i < 7; i++) {
        int x = 147 + i * 3, y = 183 - (i == 0 || i == 6 ? 0 : 1);
        ellipsefill(s, x, y, 1, 1, wood[0]);
        putpixel(s, x, y - 1, glow[4]);
    }
}

// ---------------------------------------------------------------------------
// Stage 2: a harbour at sunset, with a lighthouse and a radar mast
// ---------------------------------------------------------------------------

void Harbour(BITMAP *s, Pal &p) {
    Ramp sky = p.SceneRamp(14, {40, 20, 70, 140, 50, 90, 240, 110, 70, 255, 200, 110});
    Ramp sun = p.SceneRamp(3, {255, 190, 90, 255, 230, 150, 255, 250, 220});
    Ramp sea = p.SceneRamp(8, {20, 16, 50, 60, 40, 90, 150, 80, 100, 255, 170, 100});
    Ramp cliff = p.SceneRamp(6, {30, 14, 24, 70, 34, 40, 120, 60, 50, 190, 110, 70});
    Ramp sand = p.SceneRamp(8, {90, 60, 50, 140, 96, 70, 196, 140, 90, 236, 186, 120});
    Ramp stone = p.SceneRamp(4, {70, 60, 70, 200, 190, 190});
    p.Set(36, 60, 34, 30);  // the aliens' shadows on the sand

    VGradient(s, 0, 9, 319, 150, sky, 0, 1);
    Stars(s, 10, 40, 25, 12, {sky[3], sky[5], sky[7]});
    // The setting sun sinking into the sea.
    for (int y = -24; y <= 0; y++)
        for (int x = -24; x <= 24; x++)
            if (x * x + y * y <= 24 * 24)
                putpixel(s, 170 + x, 150 + y, Dither(sun, 1 + y / 40.0, 170 + x, 150 + y));
    // Thin clouds across the sun.
    for (int y = 30; y < 140; y++)
        for (int x = 0; x < 320; x++) {
            double n = Fbm(x * 0.012, y * 0.09, 4, 55);
            if (n > 0.62) putpixel(s, x, y, Dither(sky, (y - 9) / 141.0 + (n - 0.62) * 2.5, x, y));
        }
    // The sea with the sun's glitter.
    for (int y = 151; y < 190; y++)
        for (int x = 0; x < 320; x++) {
            double t = 0.25 + 0.5 * (y - 151) / 39.0;
            double wave = Noise(x * 0.15, y * 0.7, 66);
            if (std::abs(x - 170) < 30 - (y - 151) / 3 && wave > 0.55)
                t = 0.9 + wave * 0.2;
            else
                t += (wave - 0.5) * 0.3;
            putpixel(s, x, y, Dither(sea, t, x, y));
        }
    // The lighthouse cliff on the left; the lamp room at (119, 109) is the animation.
    std::vector<int> rock(320, 300);
    for (int x = 0; x < 160; x++)
        rock[x] = 136 + (x > 90 ? (x - 90) * (x - 90) / 200 : 0) + (int)(8 * Fbm(x * 0.08, 1, 3, 4));
    for (int x = 0; x < 160; x++)
        for (int y = rock[x]; y < 192; y++)
            putpixel(s, x, y,
                     Dither(cliff,
                            0.55 - 0.35 * (y - rock[x]) / 50.0 + 0.4 * (Fbm(x * 0.08, y * 0.08, 3, 8) - 0.5),
                            x, y));
    // Tower: white and red bands narrowing upwards.
    for (int y = 128; y < rock[124] + 2; y++) {
        int half = 5 + (y - 128) / 6;
        for (int x = 124 - half; x <= 124 + half; x++) {
            bool red = ((y - 128) / 6) % 2 == 1;
            double t = 0.9 - 0.8 * (x - (124 - half)) / (2.0 * half);
            putpixel(s, x, y, red ? Dither({S.red[1], S.red[2], S.red[3]}, t, x, y) : Dither(stone, t, x, y));
        }
    }
    hline(s, 116, 127, 132, S.grey[1]);
    hline(s, 117, 128, 131, S.grey[3]);
    // The radar mast on a rocky islet; the dish at (211, 55) is the animation.
    for (int x = 190; x < 250; x++)
        rock[x] = 156 + (int)(10 * Fbm(x * 0.06, 3, 3, 14)) + std::abs(x - 219) * std::abs(x - 219) / 60;
    for (int x = 190; x < 250; x++)
        for (int y = rock[x]; y < 192; y++)
            putpixel(s, x, y,
                     Dither(cliff,
                            0.45 - 0.3 * (y - rock[x]) / 30.0 + 0.4 * (Fbm(x * 0.08, y * 0.08, 3, 9) - 0.5),
                            x, y));
    for (int y = 68; y < 157; y++) {
        int half = (y - 68) / 10 + 1;
        putpixel(s, 219 - half, y, S.steel[1]);
        putpixel(s, 219 + half, y, S.steel[1]);
        if (y % 6 == 0) line(s, 219 - half, y, 219 + half, y + 6, S.steel[1]);
        if (y % 6 == 3) line(s, 219 + half, y, 219 - half, y + 6, S.steel[1]);
    }
    rectfill(s, 209, 156, 229, 161, S.steel[2]);
    hline(s, 209, 156, 229, S.steel[4]);
    rectfill(s, 213, 151, 218, 156, S.steel[3]);
    // The beach, where the ships fly.
    for (int y = 186; y < 224; y++)
        for (int x = 0; x < 320; x++) {
            double t = 0.3 + 0.55 * (y - 186) / 37.0 + 0.35 * (Fbm(x * 0.08, y * 0.25, 3, 71) - 0.5);
            putpixel(s, x, y, Dither(sand, t, x, y));
        }
    for (int x = 0; x < 320; x++) {
        int y = 186 + (int)(2 * sin(x * 0.07));
        putpixel(s, x, y, sea[7]);
        putpixel(s, x, y + 1, sand[6]);
    }
}

// ---------------------------------------------------------------------------
// Stage 3: in orbit, the Earth below and the Moon beyond
// ---------------------------------------------------------------------------

void Orbit(BITMAP *s, Pal &p) {
    Ramp space = p.SceneRamp(6, {0, 0, 6, 6, 8, 30, 14, 20, 56});
    Ramp ocean = p.SceneRamp(7, {2, 8, 30, 10, 40, 110, 60, 140, 220, 180, 230, 255});
    Ramp land = p.SceneRamp(5, {20, 40, 10, 60, 100, 40, 170, 170, 110});
    Ramp cloud = p.SceneRamp(4, {90, 110, 140, 250, 255, 255});
    Ramp air = p.SceneRamp(4, {20, 50, 140, 130, 200, 255});
    Ramp moon = p.SceneRamp(5, {30, 30, 36, 200, 200, 190});

    VGradient(s, 0, 9, 319, 223, space, 0, 0.7);
    Stars(s, 10, 222, 220, 13, S.grey);
    // A faint band of the galaxy across the sky.
    for (int y = 9; y < 224; y++)
        for (int x = 0; x < 320; x++) {
            double band = 1 - std::abs((y - 40) - (x - 160) * 0.25) / 40.0;
            if (band <= 0) continue;
            double n = Fbm(x * 0.04, y * 0.04, 4, 90) * band;
            if (n > 0.3)
                putpixel(s, x, y, Dither(space, 0.25 + (n - 0.3) * 2.2 + (y - 9) / 214.0 * 0.5, x, y));
        }
    // The Moon, small and far.
    Sphere(s, 268, 46, 13, moon, -0.8, 0.2, 0.15);
    // The Earth's limb filling the bottom of the view.
    int cx = 110, cy = 470, R = 300;
    for (int y = 120; y < 224; y++)
        for (int x = 0; x < 320; x++) {
            double dx = x - cx, dy = y - cy, d = sqrt(dx * dx + dy * dy);
            if (d > R + 4) continue;
            if (d > R) {
                putpixel(s, x, y, Dither(air, (R + 4 - d) / 4.0, x, y));
                continue;
            }
            double nx = dx / R, ny = dy / R, z = sqrt(std::max(0.0, 1 - nx * nx - ny * ny));
            double lit = std::clamp(0.25 - nx * 0.6 - ny * 0.5 + z * 0.2, 0.0, 1.0);
            double u = x * 0.025 / (0.4 + z), v = y * 0.06;
            double ground = Fbm(u, v, 5, 120), clouds = Fbm(u * 1.6 + 9, v * 1.3, 4, 140);
            int c;
            if (clouds > 0.58)
                c = Dither(cloud, lit * 1.2 + (clouds - 0.58), x, y);
            else if (ground > 0.55)
                c = Dither(land, lit * 1.1, x, y);
            else
                c = Dither(ocean, lit * 1.1 + 0.05, x, y);
            if (d > R - 2) c = Dither(air, 0.8, x, y);
            putpixel(s, x, y, c);
        }
}

// ---------------------------------------------------------------------------
// Stage 4: an asteroid field in a violet nebula
// ---------------------------------------------------------------------------

void Nebula(BITMAP *s, Pal &p) {
    Ramp neb = p.SceneRamp(12, {2, 0, 8, 30, 6, 50, 90, 20, 110, 190, 60, 160, 255, 170, 220});
    Ramp gas = p.SceneRamp(5, {10, 20, 60, 40, 110, 170, 160, 230, 255});
    Ramp rock = p.SceneRamp(6, {14, 10, 16, 50, 36, 40, 110, 84, 80, 200, 170, 150});

    for (int y = 9; y < 224; y++)
        for (int x = 0; x < 320; x++) {
            double n = Fbm(x * 0.012, y * 0.016, 5, 200), m = Fbm(x * 0.02 + 5, y * 0.02, 4, 220);
            double t = std::max(0.0, (n - 0.4) * 1.5) + 0.03;
            int c = Dither(neb, t, x, y);
            double g = (m - 0.58) * 3;
            if (g > 0 && g * 1.5 > Bayer(x, y) * 0.8 + t) c = Dither(gas, g * 0.8, x, y);
            putpixel(s, x, y, c);
        }
    Stars(s, 10, 222, 170, 14, S.grey);
    // Asteroids of three sizes, lit by the nebula's glow from the upper right.
    Rng r(33);
    struct Rock {
        int x, y, r;
    } rocks[] = {{40, 60, 14},  {262, 120, 20}, {120, 170, 8}, {200, 40, 6},  {300, 200, 9},
                 {20, 190, 11}, {160, 95, 4},   {80, 130, 5},  {235, 195, 5}, {290, 30, 7}};
    for (const Rock &k : rocks) {
        for (int y = -k.r; y <= k.r; y++)
            for (int x = -k.r - 2; x <= k.r + 2; x++) {
                double a = atan2(y, x), rr = k.r * (0.8 + 0.3 * Noise(a * 1.6 + k.x, k.y, 7));
                double d = sqrt((double)x * x + y * y);
                if (d > rr) continue;
                double nx = x / rr, ny = y / rr, z = sqrt(std::max(0.0, 1 - nx * nx - ny * ny));
                double crater = Noise((k.x + x) * 0.4, (k.y + y) * 0.4, 8);
                double lit =
                    std::clamp(0.1 + nx * 0.5 - ny * 0.5 + z * 0.4 - (crater > 0.7 ? 0.25 : 0), 0.0, 1.0);
                putpixel(s, k.x + x, k.y + y, Dither(rock, lit, k.x + x, k.y + y));
            }
    }
}

// ---------------------------------------------------------------------------
// Stage 5: the invaders' home world, spires under a red sky
// ---------------------------------------------------------------------------

void HomeWorld(BITMAP *s, Pal &p) {
    Ramp sky = p.SceneRamp(12, {20, 2, 20, 90, 10, 40, 200, 50, 40, 255, 150, 60});
    Ramp sun = p.SceneRamp(3, {255, 160, 80, 255, 220, 140, 255, 255, 230});
    Ramp spire = p.SceneRamp(6, {16, 4, 24, 50, 14, 60, 100, 40, 110, 170, 90, 170});
    Ramp ground = p.SceneRamp(8, {24, 6, 20, 60, 16, 40, 110, 36, 60, 170, 70, 80});
    Ramp crystal = p.SceneRamp(4, {20, 90, 90, 40, 200, 170, 200, 255, 230});
    p.Set(77, 14, 2, 12);  // the aliens' shadows on the rock

    VGradient(s, 0, 9, 319, 185, sky, 0, 1);
    Stars(s, 10, 60, 40, 15, {sky[4], sky[6], sky[8]});
    // Twin suns low in the sky.
    Sphere(s, 80, 120, 16, sun, 0, 0, 1);
    Sphere(s, 110, 100, 7, sun, 0, 0, 1);
    // Banded clouds.
    for (int y = 60; y < 170; y++)
        for (int x = 0; x < 320; x++) {
            double n = Fbm(x * 0.01, y * 0.12, 4, 300);
            if (n > 0.6) putpixel(s, x, y, Dither(sky, (y - 9) / 176.0 - (n - 0.6) * 2, x, y));
        }
    // Spires of the alien city against the sky.
    Rng r(44);
    for (int i = 0; i < 16; i++) {
        int x = 8 + i * 20 + r.Int(10), top = 80 + r.Int(70), w = 3 + r.Int(5);
        for (int y = top; y < 190; y++) {
            int half = std::min(w, 1 + (y - top) / 5);
            for (int dx = -half; dx <= half; dx++)
                putpixel(s, x + dx, y,
                         Dither(spire, 0.15 + 0.5 * (dx + half) / (2.0 * half + 1) * (y < 150 ? 1 : 0.6),
                                x + dx, y));
        }
        ellipsefill(s, x, top + 10, w + 2, 2, spire[1]);
        putpixel(s, x, top - 1, crystal[3]);
        for (int y = top + 16; y < 180; y += 12) putpixel(s, x, y, crystal[2 + (y / 12) % 2]);
    }
    // Domes.
    for (int i = 0; i < 5; i++) {
        int cx = 30 + i * 66 + r.Int(20), rad = 10 + r.Int(8);
        for (int y = -rad; y <= 0; y++)
            for (int x = -rad; x <= rad; x++)
                if (x * x + y * y <= rad * rad)
                    putpixel(s, cx + x, 190 + y,
                             Dither(spire, 0.2 + 0.5 * (-x + rad) / (2.0 * rad) - y * 0.01, cx + x, 190 + y));
    }
    // Cracked rocky ground with crystals.
    for (int y = 186; y < 224; y++)
        for (int x = 0; x < 320; x++) {
            double t = 0.3 + 0.5 * (y - 186) / 37.0 + 0.4 * (Fbm(x * 0.06, y * 0.2, 4, 310) - 0.5);
            double crack = Noise(x * 0.1, y * 0.35, 320);
            if (std::abs(crack - 0.5) < 0.03) t = 0.05;
            putpixel(s, x, y, Dither(ground, t, x, y));
        }
    for (int i = 0; i < 12; i++) {
        int x = 10 + r.Int(300), y = 190 + r.Int(30), h = 3 + r.Int(5);
        for (int j = 0; j < h; j++) {
            putpixel(s, x, y - j, crystal[2 + (j == h - 1)]);
            if (j < h - 2) putpixel(s, x + 1, y - j, crystal[1]);
        }
    }
}

// ---------------------------------------------------------------------------
// Old mode: a plain starfield, the way arcades did it
// ---------------------------------------------------------------------------

void OldSpace(BITMAP *s, Pal &p) {
    Ramp line = p.SceneRamp(3, {0, 90, 0, 40, 220, 60, 160, 255, 160});
    rectfill(s, 0, 9, 319, 223, 0);
    Stars(s, 12, 200, 110, 16, S.grey);
    hline(s, 0, 222, 319, line[1]);
    hline(s, 0, 223, 319, line[0]);
}

struct StageLook {
    const char *file, *name;
    int stage;
    Panel panel;
    int face[3], text[3];
    bool money;
    void (*scene)(BITMAP *, Pal &);
};

const StageLook stages[] = {
    {"stage1.bmp", "FARMLANDS", 1, {6, 9, HI, LO}, {14, 18, 44}, {250, 236, 150}, true, Farmland},
    {"stage2.bmp", "HARBOUR", 2, {4, 6, HI, LO}, {40, 18, 34}, {255, 220, 150}, true, Harbour},
    {"stage3.bmp", "ORBIT", 3, {1, 3, HI, LO}, {8, 14, 36}, {170, 230, 255}, true, Orbit},
    {"stage4.bmp", "NEBULA", 4, {1, 4, HI, LO}, {22, 8, 34}, {240, 190, 255}, true, Nebula},
    {"stage5.bmp", "HOME WORLD", 5, {1, 4, HI, LO}, {30, 6, 14}, {255, 200, 160}, true, HomeWorld},
    {"stageold.bmp", "", 0, {2, 10, HI, LO}, {0, 0, 0}, {90, 255, 90}, false, OldSpace},
};

bool WriteStage(const std::string &dir, const StageLook &st) {
    Pal p;
    p.Set(st.panel.face, st.face[0], st.face[1], st.face[2]);
    p.Set(st.panel.text, st.text[0], st.text[1], st.text[2]);
    p.Set(HI, st.face[0] + 60, st.face[1] + 60, st.face[2] + 70);
    p.Set(LO, st.face[0] / 3, st.face[1] / 3, st.face[2] / 3);
    if (st.stage == 5) p.Set(3, st.text[0], st.text[1], st.text[2]);  // the final bonus lines
    SpriteColours(p);

    BITMAP *b = create_bitmap(761, 256);
    clear_to_color(b, 0);
    BITMAP *s = create_sub_bitmap(b, 320, 0, 320, 256);
    st.scene(s, p);
    StatusBar(s, st.panel, st.money, st.name);
    destroy_bitmap(s);
    PlaySprites(b);
    if (st.stage) StageSprites(b, p, st.stage);
    bool ok = SaveSheet(dir + st.file, b, p.p);
    destroy_bitmap(b);
    return ok;
}

}  // namespace

bool WriteStages(const std::string &dir) {
    for (const StageLook &s : stages)
        if (!WriteStage(dir, s)) return false;
    return true;
}
