// The intro and ending sheets: the bridge of the invaders' flagship looking
// out at the Earth (columns 0..319) and the actors of the two sequences
// (columns 320..639) at the places the game cuts them.

#include "art.h"

#include <algorithm>
#include <cmath>

namespace {

struct Look {
    Ramp space, hull, floor, ocean, land, air, glow;
    bool ending;
};

// A thick line into a mask.
void Limb(BITMAP *m, double x0, double y0, double x1, double y1, int r, int mat) {
    int n = (int)(hypot(x1 - x0, y1 - y0) * 2) + 1;
    for (int i = 0; i <= n; i++) {
        double t = (double)i / n;
        circlefill(m, (int)lrint(x0 + (x1 - x0) * t), (int)lrint(y0 + (y1 - y0) * t), r, mat);
    }
}

// ---------------------------------------------------------------------------
// The commander
// ---------------------------------------------------------------------------

// Pose of the commander, facing left: leg swing, arm angles (radians from
// hanging down, positive forward) and extras.
struct Pose {
    double front_leg, back_leg, front_arm, back_arm;
    bool mouth_open, hands_up;
};

void Commander(BITMAP *b, int x, int y, const Pose &p) {
    Mask m(28, 48);
    // Cape behind everything, then back arm and leg, body, front leg and arm.
    int cape[] = {9, 14, 20, 14, 23, 40, 6, 40};
    polygon(m.m, 4, cape, 4);
    auto leg = [&](double swing) {
        double hx = 14, hy = 30, kx = hx - sin(swing) * 7, ky = hy + cos(swing) * 7;
        double fx = kx - sin(swing * 0.5) * 7, fy = std::min(45.0, ky + 8);
        Limb(m.m, hx, hy, kx, ky, 2, 1);
        Limb(m.m, kx, ky, fx, fy, 2, 5);
        Limb(m.m, fx - 2, 45, fx + 1, 45, 1, 5);
    };
    auto arm = [&](double angle, bool up) {
        double sx = 14, sy = 17, a = up ? PI * 0.85 : angle;
        double ex = sx - sin(a) * 6, ey = sy + cos(a) * 6;
        double hx = ex - sin(a * (up ? 1.1 : 1.2)) * 6, hy = ey + cos(a * (up ? 1.1 : 1.2)) * 6;
        Limb(m.m, sx, sy, ex, ey, 2, 1);
        Limb(m.m, ex, ey, hx, hy, 1, 1);
        circlefill(m.m, (int)lrint(hx), (int)lrint(hy), 1, 2);
    };
    leg(p.back_leg);
    arm(p.back_arm, p.hands_up);
    int torso[] = {9, 15, 19, 15, 18, 31, 10, 31};
    polygon(m.m, 4, torso, 1);
    rectfill(m.m, 10, 28, 18, 30, 3);  // belt
    leg(p.front_leg);
    // Head: a tall cranium over a narrow jaw, facing left.
    ellipsefill(m.m, 14, 6, 6, 6, 2);
    ellipsefill(m.m, 12, 10, 4, 3, 2);
    ellipsefill(m.m, 10, 16, 4, 2, 3);  // shoulder pads
    ellipsefill(m.m, 18, 16, 4, 2, 3);
    arm(p.front_arm, p.hands_up);
    std::vector<Material> mats = {Mat(S.violet, 2), Mat(S.green, 3, 0.45), Mat(S.gold, 2), Mat(S.red, 2),
                                  Mat(S.steel, 1)};
    Shade(b, x, y, m, mats, S.grey[0]);
    // Eyes and mouth.
    putpixel(b, x + 10, y + 7, S.grey[0]);
    putpixel(b, x + 11, y + 7, S.red[5]);
    putpixel(b, x + 14, y + 7, S.grey[0]);
    putpixel(b, x + 13, y + 7, S.red[5]);
    if (p.mouth_open)
        rectfill(b, x + 10, y + 11, x + 12, y + 12, S.grey[0]);
    else
        hline(b, x + 10, y + 11, x + 12, S.green[1]);
    // The medal on the chest.
    putpixel(b, x + 12, y + 20, S.gold[5]);
    putpixel(b, x + 12, y + 21, S.red[4]);
}

// The fallen commander (53x15): face down; `open` shows the empty suit with
// its head hatch open.
void Fallen(BITMAP *b, int x, int y, bool open) {
    Mask m(53, 15);
    int cape[] = {14, 4, 38, 3, 40, 13, 12, 13};
    polygon(m.m, 4, cape, 4);
    Limb(m.m, 16, 9, 34, 9, 4, 1);    // body
    Limb(m.m, 34, 10, 48, 12, 2, 1);  // legs
    Limb(m.m, 34, 8, 47, 7, 2, 1);
    Limb(m.m, 47, 7, 50, 7, 1, 5);
    Limb(m.m, 48, 12, 51, 12, 1, 5);
    Limb(m.m, 17, 12, 8, 13, 1, 1);   // an arm thrown forward
    ellipsefill(m.m, 9, 8, 6, 5, 2);  // head
    ellipsefill(m.m, 20, 5, 3, 2, 3);
    std::vector<Material> mats = {Mat(S.violet, 2), Mat(S.green, 3, 0.45), Mat(S.gold, 2), Mat(S.red, 2),
                                  Mat(S.steel, 1)};
    Shade(b, x, y, m, mats, S.grey[0]);
    if (open) {
        // The cranium hinged open: an empty, dark shell.
        ellipsefill(b, x + 8, y + 7, 4, 3, S.grey[0]);
        ellipsefill(b, x + 8, y + 7, 3, 2, S.green[0]);
        line(b, x + 4, y + 2, x + 9, y + 1, S.green[3]);
        line(b, x + 4, y + 3, x + 9, y + 2, S.green[2]);
    } else {
        putpixel(b, x + 5, y + 7, S.red[5]);
        putpixel(b, x + 5, y + 9, S.red[5]);
    }
}

// The little creature that drove the suit (20x17), two steps.
void Creature(BITMAP *b, int x, int y, int frame) {
    static const std::vector<const char *> step[2] = {
        {"....................", "......KKKK..........", ".....K5665K.........", "....K566665K........",
         "...KWWK6WWK5K.......", "...KWeK5WeK5K.......", "...K556555545K......", "....K5555544K.......",
         "....K45544443K......", ".....K444443K.......", "....K44K44K4K.......", "...K4K.K4K.K4K......",
         "...KK..KK...KK......", "....................", "....................", "....................",
         "...................."},
        {"....................", "....................", "......KKKK..........", ".....K5665K.........",
         "....K566665K........", "...KWWK6WWK5K.......", "...KWeK5WeK5K.......", "...K556555545K......",
         "....K5555544K.......", "....K45544443K......", ".....K444443K.......", ".....K4K44K4K.......",
         "....K4KK4KK4K.......", "....KK.KK.KK........", "....................", "....................",
         "...................."}};
    Key k;
    RampKey(k, S.green);
    k['K'] = S.grey[0];
    k['W'] = S.grey[7];
    k['e'] = S.grey[0];
    Grid(b, x, y, step[frame], k);
}

// ---------------------------------------------------------------------------
// The other actors
// ---------------------------------------------------------------------------

void EnergyShot(BITMAP *b, int x, int y) {
    for (int j = 0; j < 19; j++)
        for (int i = 0; i < 19; i++) {
            double d = hypot(i - 9, j - 9) / 9.5;
            double v = 1 - d + 0.2 * (Noise(i * 0.6, j * 0.6, 900) - 0.5);
            if (v > 0.05) putpixel(b, x + i, y + j, Dither(S.lime, v * 1.6, x + i, y + j));
        }
    for (int k = 0; k < 4; k++) {
        double a = k * PI / 2 + 0.4;
        line(b, x + 9, y + 9, x + 9 + (int)(cos(a) * 9), y + 9 + (int)(sin(a) * 9), S.lime[3]);
    }
    putpixel(b, x + 9, y + 9, S.grey[7]);
}

// An invader fighter seen from behind as it flies off (33x49).
void Fighter(BITMAP *b, int x, int y) {
    Mask m(33, 49);
    int wing[] = {2, 30, 16, 10, 30, 30, 16, 24};
    polygon(m.m, 4, wing, 2);
    ellipsefill(m.m, 16, 24, 6, 20, 1);
    ellipsefill(m.m, 16, 15, 3, 6, 3);
    rectfill(m.m, 12, 40, 20, 45, 4);
    std::vector<Material> mats = {Mat(S.purple, 4), Mat(S.steel, 3), Mat(S.cyan, 2, 0.5), Mat(S.steel, 1)};
    Shade(b, x, y, m, mats, S.grey[0]);
    for (int i = 0; i < 3; i++) {
        hline(b, x + 13, y + 46 + i, x + 19, S.fire[8 - 2 * i]);
        putpixel(b, x + 3 + i, y + 31, S.red[4]);
        putpixel(b, x + 29 - i, y + 31, S.red[4]);
    }
}

// The planet seen from the bridge: centre (169, 83), radius 26.
const int EX = 169, EY = 83, ER = 26;

void Planet(BITMAP *b, const Look &l) {
    for (int y = EY - ER - 3; y <= EY + ER + 3; y++)
        for (int x = EX - ER - 3; x <= EX + ER + 3; x++) {
            double dx = (x - EX) / (double)ER, dy = (y - EY) / (double)ER, d = sqrt(dx * dx + dy * dy);
            if (d > 1.1) continue;
            if (d > 1) {
                if ((1.1 - d) * 12 > Bayer(x, y)) putpixel(b, x, y, l.air[0]);
                continue;
            }
            double z = sqrt(1 - d * d), lit = std::clamp(0.2 - dx * 0.5 - dy * 0.4 + z * 0.45, 0.0, 1.0);
            double u = dx / (0.5 + z) * 3, v = dy * 3;
            int c = Fbm(u + 2, v, 4, 51) > 0.55 ? Dither(l.land, lit, x, y) : Dither(l.ocean, lit, x, y);
            if (Fbm(u * 1.5, v * 2, 3, 61) > 0.62 && lit > 0.25) c = S.grey[std::min(7, 3 + (int)(lit * 5))];
            if (d > 0.94) c = Dither(l.air, lit + 0.3, x, y);
            putpixel(b, x, y, c);
        }
}

// The wound the shot leaves on the planet (60x60 over its disc).
void Impact(BITMAP *b, int x, int y) {
    for (int j = 0; j < 60; j++)
        for (int i = 0; i < 60; i++) {
            double dx = i - 30, dy = j - 30;
            if (hypot(dx, dy) > ER - 1.5) continue;
            double c = hypot(dx + 6, dy + 4);
            double n = Fbm((x + i) * 0.15, (y + j) * 0.15, 3, 950);
            double v = 1 - c / 14 + (n - 0.5) * 0.6;
            if (v <= 0) continue;
            putpixel(b, x + i, y + j,
                     v > 0.45 ? Dither(S.fire, v * 1.3, x + i, y + j)
                              : Dither(S.smoke, v * 2.2, x + i, y + j));
        }
    // A smoke plume drifting off the limb.
    for (int k = 0; k < 7; k++) circlefill(b, x + 22 - k * 3, y + 24 - k * 3, 2 + k / 2, S.smoke[1 + k % 2]);
}

// ---------------------------------------------------------------------------
// The bridge
// ---------------------------------------------------------------------------

void Bridge(BITMAP *b, const Look &l) {
    VGradient(b, 0, 0, 319, 205, l.space, 0.05, 0.7);
    Rng r(77);
    for (int i = 0; i < 110; i++) putpixel(b, r.Int(320), r.Int(200), S.grey[2 + r.Int(6)]);
    Planet(b, l);
    // The window frame: a heavy hull around a six-sided pane.
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 320; x++) {
            int left = 24 - y / 12, right = 262 + y / 5;
            bool pane = y > 10 && y < 196 && x > left && x < right;
            if (pane) continue;
            double t = 0.3 + 0.35 * Fbm(x * 0.05, y * 0.05, 3, 88);
            if (y >= 196) t = 0.15 + 0.5 * (y - 196) / 60.0;
            if (std::abs(x - left) < 2 || std::abs(x - right) < 2 || std::abs(y - 10) < 2 ||
                std::abs(y - 196) < 2)
                t = 0.75;
            putpixel(b, x, y, Dither(l.hull, t, x, y));
        }
    // Rivets and panel seams on the hull.
    for (int y = 20; y < 196; y += 24) {
        putpixel(b, 6, y, l.hull[4]);
        putpixel(b, 300, y, l.hull[4]);
        hline(b, 280 + y / 6, y + 12, 319, l.hull[0]);
    }
    for (int x = 8; x < 320; x += 24) putpixel(b, x, 4, l.hull[4]);
    // The floor: plates running towards the window.
    for (int y = 214; y < 256; y++)
        for (int x = 0; x < 320; x++) {
            double u = (x - 160) * 8.0 / (y - 150);
            bool seam = u - floor(u) < 0.12 || (y % 10 == 0);
            putpixel(b, x, y, Dither(l.floor, (y - 214) / 50.0 * 0.6 + (seam ? -0.2 : 0.15), x, y));
        }
    hline(b, 0, 213, 319, l.hull[4]);
    // Warning lights along the sill.
    for (int x = 30; x < 300; x += 30) {
        putpixel(b, x, 203, l.glow[2]);
        putpixel(b, x + 1, 203, l.glow[1]);
    }
}

// The cannon housing on the right (in front of the flying actors) and the
// console by the walkway, on a layer of their own: the game draws them
// again over the actors.
void Fixtures(BITMAP *b, const Look &l) {
    Mask m(70, 96);
    int housing[] = {18, 8, 70, 0, 70, 96, 34, 96, 10, 60};
    polygon(m.m, 5, housing, 1);
    ellipsefill(m.m, 36, 52, 16, 16, 2);
    rectfill(m.m, 20, 20, 30, 40, 3);
    std::vector<Material> mats = {Mat(l.hull, 6), Mat(l.hull, 4, 0.25), Mat(l.glow, 2, 0.5)};
    Shade(b, 250, 70, m, mats, S.grey[0]);
    circlefill(b, 286, 122, 6, S.grey[0]);
    circle(b, 286, 122, 8, l.hull[4]);
    // The console in front of the walkway.
    Mask c(60, 27);
    int desk[] = {4, 2, 56, 2, 59, 26, 1, 26};
    polygon(c.m, 4, desk, 1);
    rectfill(c.m, 8, 4, 52, 9, 2);
    std::vector<Material> cm = {Mat(l.hull, 4), Mat(S.teal, 2, 0.6)};
    Shade(b, 70, 221, c, cm, S.grey[0]);
    for (int i = 0; i < 8; i++) putpixel(b, 80 + i * 5, 235, i % 3 ? l.glow[2] : S.lime[3]);
    for (int i = 0; i < 5; i++) putpixel(b, 82 + i * 8, 226, S.lime[4]);
}

bool WriteStory(const std::string &dir, bool ending) {
    Pal p;
    p.Set(1, 12, 12, 34);     // caption background; text on the boxes
    p.Set(2, 230, 232, 255);  // caption text
    p.Set(3, 255, 230, 130);
    p.Set(4, 255, 220, 150);  // "GAME OVER" after the ending
    p.Set(6, 200, 220, 255);
    p.Set(7, 205, 212, 230);  // the intro's text boxes
    p.Set(8, 240, 214, 150);  // the ending's text boxes
    SpriteColours(p);
    Look l;
    l.ending = ending;
    l.space = p.SceneRamp(6, {0, 0, 4, 8, 10, 40, 20, 24, 70});
    if (ending)
        l.hull = p.SceneRamp(6, {20, 6, 8, 70, 24, 26, 130, 50, 46, 220, 120, 100});
    else
        l.hull = p.SceneRamp(6, {10, 12, 20, 40, 44, 60, 90, 96, 116, 190, 196, 210});
    l.floor = p.SceneRamp(4, {10, 10, 16, 60, 56, 70});
    l.ocean = p.SceneRamp(5, {4, 12, 50, 30, 90, 190, 140, 210, 255});
    l.land = p.SceneRamp(4, {20, 50, 16, 110, 160, 70});
    l.air = p.SceneRamp(3, {40, 80, 200, 170, 220, 255});
    l.glow = ending ? p.SceneRamp(3, {120, 0, 0, 255, 40, 20, 255, 180, 160})
                    : p.SceneRamp(3, {0, 60, 90, 40, 180, 220, 200, 255, 255});

    BITMAP *b = create_bitmap(640, 256);
    clear_to_color(b, 0);
    Bridge(b, l);
    BITMAP *layer = create_bitmap(320, 256);
    clear_to_color(layer, 0);
    Fixtures(layer, l);
    masked_blit(layer, b, 0, 0, 0, 0, 320, 256);
    blit(layer, b, 70, 221, 320, 0, 60, 27);
    blit(layer, b, 250, 70, 320, 77, 70, 96);
    destroy_bitmap(layer);
    if (ending) {
        // Cracks across the pane: the ship is breaking up.
        Rng c(5);
        int x = 40, y = 30;
        for (int i = 0; i < 30; i++) {
            int nx = x + 4 + c.Int(6), ny = y + c.Int(9) - 3;
            line(b, x, y, nx, ny, S.grey[5]);
            x = nx;
            y = std::clamp(ny, 14, 190);
        }
    }

    // Actors.
    static const Pose walk[5] = {{0.5, -0.5, -0.4, 0.4, false, false},
                                 {0.2, -0.2, -0.2, 0.2, false, false},
                                 {-0.15, 0.15, 0.1, -0.1, false, false},
                                 {-0.45, 0.45, 0.35, -0.35, false, false},
                                 {0.05, -0.05, 0, 0, false, false}};
    for (int k = 0; k < 5; k++) Commander(b, 320 + 29 * k, 28, walk[k]);
    Commander(b, 320 + 29 * 5, 28, {0, 0, 1.5, 0.1, true, false});    // speaking, pointing
    Commander(b, 320 + 29 * 6, 28, {0.15, -0.15, 0, 0, true, true});  // boasting, arms raised
    Impact(b, 391, 77);
    for (int k = 1; k < 8; k++) {
        int x = 391 + 61 * (k % 4), y = k < 4 ? 77 : 138;
        Explosion(b, x, y, 60, 60, k - 1, 7, 960, S.steel);
    }
    if (ending) {
        Commander(b, 523, 28, {0.35, -0.35, 2.6, 2.4, true, true});  // the cry
        Fallen(b, 381, 0, false);
        Fallen(b, 435, 0, true);
        Creature(b, 320, 174, 0);
        Creature(b, 341, 174, 1);
    } else {
        EnergyShot(b, 320, 224);
        Fighter(b, 320, 174);
    }
    bool ok = SaveSheet(dir + (ending ? "final.bmp" : "intro.bmp"), b, p.p);
    destroy_bitmap(b);
    return ok;
}

}  // namespace

bool WriteStories(const std::string &dir) {
    return WriteStory(dir, false) && WriteStory(dir, true);
}
