// The sprites every stage sheet shares: the two ships, the five alien kinds,
// bombs, shots, blasts, bonuses and the mother ship. They sit in columns
// 0..319 (and the large blasts in 640..760) at the places the game cuts.

#include "art.h"

#include <cmath>

// ---------------------------------------------------------------------------
// Player ships
// ---------------------------------------------------------------------------

// Left halves of the fighter; the engine rows change between frames.
static const std::vector<const char *> fighter = {
    ".......K", "......K7", "......K6", ".....KgC", ".....KgC", ".....K5c", "..K..K55", ".KhK.K54",
    ".KiK.K54", ".K6KK654", "K565554h", "K655544g", "K544KK44", "KKKK.K43", "......Kf", "........",
};

static Key ShipKey(const Ramp &body) {
    Key k;
    RampKey(k, body);
    k['K'] = S.grey[0];
    k['g'] = S.steel[2];
    k['h'] = S.steel[4];
    k['i'] = S.steel[6];
    k['c'] = S.cyan[2];
    k['C'] = S.cyan[4];
    k['f'] = S.fire[5];
    k['F'] = S.fire[7];
    k['y'] = S.fire[8];
    return k;
}

// Engine flame below the fighter, long or short.
static void Flame(BITMAP *b, int x, int y, bool longer) {
    putpixel(b, x + 7, y + 14, S.fire[longer ? 8 : 7]);
    putpixel(b, x + 8, y + 14, S.fire[longer ? 7 : 6]);
    putpixel(b, x + 7, y + 15, S.fire[longer ? 6 : 4]);
    putpixel(b, x + 8, y + 15, S.fire[longer ? 5 : 3]);
    if (longer) {
        putpixel(b, x + 2, y + 14, S.fire[5]);
        putpixel(b, x + 13, y + 14, S.fire[4]);
    }
}

static void PlayerShip(BITMAP *b, int x, int y, const Ramp &body, int frame) {
    if (frame >= 3) {
        // Explosion, four pictures; the first still shows the hull breaking.
        if (frame == 3) {
            SymGrid(b, x, y, fighter, ShipKey(body));
            Brighten(b, x, y, 16, 16, 3);
        }
        Explosion(b, x, y, 16, 16, frame - 3 + (frame == 3 ? 0 : 0), 4, 40 + frame, body);
        return;
    }
    SymGrid(b, x, y, fighter, ShipKey(body));
    Flame(b, x, y, frame == 1);
    if (frame == 2) {
        // Shield flicker: a bright rim round the hull.
        Brighten(b, x, y, 16, 16, 2);
        Outline(b, x, y, 16, 16, S.cyan[5]);
    }
}

// ---------------------------------------------------------------------------
// Aliens: one kind per formation row, two walk pictures each
// ---------------------------------------------------------------------------

struct AlienLook {
    std::vector<const char *> walk[2];  // left halves, 16 rows of 8
};

static const AlienLook alien_looks[5] = {
    // Row 0: the squid, tentacles swinging.
    {{{"........", "......KK", ".....K56", "....K566", "...K5666", "...K56WW", "..K556We", "..K5556e",
       "..K45555", "...K4444", "...KK4K4", "..K4KK4K", ".K4K.K4K", ".K3K..K3", "..K...K.", "........"},
      {"........", "......KK", ".....K56", "....K566", "...K5666", "...K56WW", "..K556We", "..K5556e",
       "..K45555", "...K4444", "...K4K4K", "...K4K4K", "..K4K.K4", "..K3K..K", "...K....", "........"}}},
    // Row 1: the crab, claws up and down.
    {{{"........", ".KK.....", "K55K....", "K5K..K..", "K5K.K5KK", ".K5K5665", ".K556666", "..K56WW6",
       "..K56We6", "..K55555", "...K4444", "..K4KK44", "..K4K.K4", ".K3K..K4", ".KK...KK", "........"},
      {"........", "........", "........", ".KK..K..", "K55KK5KK", "K5K55665", ".K556666", "..K56WW6",
       "..K56We6", "..K55555", "...K4444", "...K4K44", "...K4KK4", "..K3K.K4", "..KK..KK", "........"}}},
    // Row 2: the eye, a lidded orb on stilts.
    {{{"........", "........", "....KKKK", "...K6666", "..K66555", ".K665WWW", ".K65WWee", "K655WWer",
       "K555WWee", ".K555WWW", ".K4455KK", "..KK44K4", "....K4K.", "...K4K..", "...KK...", "........"},
      {"........", "........", "....KKKK", "...K6666", "..K66555", ".K665WWW", ".K65WWee", "K655WWer",
       "K555WWee", ".K555WWW", ".K4455KK", "..KK44K4", "....K4K4", ".....K4K", ".....KK.", "........"}}},
    // Row 3: the beetle, mandibles snapping.
    {{{"........", "..K.....", ".K5K....", ".K5K.KKK", "..K5K666", "..K56666", ".K566r66", ".K56666K",
       "K5666656", "K5556665", "K5555655", ".K444544", ".K4K4K44", "K4K.KK4K", "KK...K4K", "........"},
      {"........", "........", "...K....", "..K5KKKK", "..K5K666", "..K56666", ".K566r66", ".K56666K",
       "K5666656", "K5556665", "K5555655", ".K444544", "..K4K4K4", ".K4K.KK4", ".KK...KK", "........"}}},
    // Row 4: the jelly, its skirt pulsing.
    {{{"........", "....KKKK", "...K6666", "..K66666", ".K666WW6", ".K66WeeW", ".K56WeeW", ".K555WW5",
       ".K555555", "..K44444", "..K4K4K4", "..K4K4K4", ".K3K.K3K", ".K3K.K3K", "..K...K.", "........"},
      {"........", "........", "....KKKK", "...K6666", "..K66666", ".K666WW6", ".K66WeeW", ".K56WeeW",
       "K5555WW5", "K4444444", "K4K4K4K4", ".K4K4K4K", "..K3K3K3", "...K.K.K", "........", "........"}}},
};

static const Ramp *AlienRamp(int row) {
    static const Ramp *r[5] = {&S.purple, &S.green, &S.cyan, &S.pink, &S.amber};
    return r[row];
}

static Key AlienKey(int row) {
    Key k;
    RampKey(k, *AlienRamp(row));
    k['K'] = S.grey[0];
    k['W'] = S.grey[7];
    k['e'] = S.grey[0];
    k['r'] = S.red[3];
    if (row == 3) k['r'] = S.gold[4];
    return k;
}

static void Alien(BITMAP *b, int x, int y, int row, int frame) {
    Key key = AlienKey(row);
    if (frame < 2) {
        SymGrid(b, x, y, alien_looks[row].walk[frame], key);
    } else if (frame == 2) {
        // Hit flash: the union of both walk pictures, white with a rim.
        SymGrid(b, x, y, alien_looks[row].walk[0], key);
        SymGrid(b, x, y, alien_looks[row].walk[1], key);
        Silhouette(b, x, y, 16, 16, S.grey[7]);
        for (int j = 0; j < 16; j++)
            for (int i = 0; i < 16; i++) {
                bool edge = false;
                for (int d = 0; d < 4; d++) {
                    int u = i + (d == 0) - (d == 1), v = j + (d == 2) - (d == 3);
                    if (u < 0 || v < 0 || u > 15 || v > 15 || !getpixel(b, x + u, y + v)) edge = true;
                }
                if (getpixel(b, x + i, y + j) && edge) putpixel(b, x + i, y + j, (*AlienRamp(row))[4]);
            }
    } else {
        Explosion(b, x, y, 16, 16, frame - 3, 6, 100 + 7 * row, *AlienRamp(row));
    }
}

// ---------------------------------------------------------------------------
// Bombs and shots
// ---------------------------------------------------------------------------

// The aliens' bomb: a crackling plasma drop in the middle of its 16x16 box.
static void AlienBomb(BITMAP *b, int x, int y) {
    static const std::vector<const char *> drop = {
        "......1.........", ".......2........", "......2.........", ".....232........", "......343.......",
        ".....34543......", ".....45654......", "....3567653.....", "....4678764.....", "....4678874.....",
        "....3578753.....", ".....45654......", "......343.......",
    };
    Key k;
    RampKey(k, S.fire);
    Grid(b, x + 1, y + 1, drop, k);
}

static void Shots(BITMAP *b) {
    // Weapon 1: a blue laser dart.
    static const std::vector<const char *> laser = {"..7..", ".676.", ".575.", ".575.", ".474.", ".474.",
                                                    ".474.", ".373.", ".373.", "..3..", "..2..", "..2..",
                                                    "..1..", "..1..", ".....", "....."};
    // Weapon 2: a piercing green plasma lance.
    static const std::vector<const char *> lance = {"..5..", ".454.", ".454.", "45554", "35553", "34543",
                                                    ".454.", ".353.", ".353.", ".242.", ".242.", "..2..",
                                                    "..1..", "..1..", "..1..", "....."};
    // Weapon 3: a missile with its exhaust.
    static const std::vector<const char *> missile = {"..r..", ".rRr.", ".hih.", ".hih.", ".hih.", ".gig.",
                                                      ".ghg.", "ghhhg", "g.f.g", "..F..", "..y..", "..F..",
                                                      "..f..", ".....", "..f..", "....."};
    Key kb;
    RampKey(kb, S.blue);
    Grid(b, 0, 223, laser, kb);
    Key kl;
    RampKey(kl, S.lime);
    Grid(b, 6, 223, lance, kl);
    Key km = {{'r', S.red[2]},   {'R', S.red[4]},  {'g', S.steel[2]}, {'h', S.steel[4]},
              {'i', S.steel[6]}, {'f', S.fire[4]}, {'F', S.fire[6]},  {'y', S.fire[8]}};
    Grid(b, 12, 223, missile, km);
}

// ---------------------------------------------------------------------------
// Bonuses
// ---------------------------------------------------------------------------

static void Coin(BITMAP *b, int x, int y, const Ramp &metal, const char *mark) {
    static const std::vector<const char *> coin = {
        "................", ".....KKKKKK.....", "....K445555K....", "...K44555565K...",
        "..K4455555565K..", "..K4455555555K..", "..K3445555555K..", "..K3444555554K..",
        "..K3344455544K..", "..K3334444443K..", "..K2333344433K..", "...K22333332K...",
        "....K222222K....", ".....KKKKKK.....", "................", "................"};
    Key k;
    RampKey(k, metal);
    k['K'] = S.grey[0];
    Grid(b, x, y, coin, k);
    Label(b, x + 6, y + 4, mark, metal[1]);
}

static void Bonus(BITMAP *b, int x, int y, int kind) {
    switch (kind) {
    case 0:  // 100: a silver coin
        Coin(b, x, y, S.steel, "$");
        break;
    case 1:  // 250: a gold coin
        Coin(b, x, y, S.gold, "$");
        break;
    case 2: {  // 500: a stack of gold bars
        static const std::vector<const char *> bars = {
            "................", "................", "................", "....KKKKKKKK....",
            "...K45555556K...", "..K344444445K...", "..KKKKKKKKKKKKK.", ".K45555556K5556K",
            "K344444445K4445K", "K333333334K3334K", "KKKKKKKKKKKKKKK.", "K45555556K5556K.",
            "K344444445K445K.", "K333333334K334K.", "KKKKKKKKKKKKKK..", "................"};
        Key k;
        RampKey(k, S.gold);
        k['K'] = S.amber[0];
        Grid(b, x, y, bars, k);
        break;
    }
    case 3: {  // 300 points: a blue crystal
        static const std::vector<const char *> gem = {
            "................", "......K.........", ".....K7K........", "....K676K.......",
            "...K56765K......", "...K56765K......", "..K5567654K.....", "..K5567654K.....",
            "..K4556543K.....", "...K45543K......", "...K44543K......", "....K443K.......",
            "....K433K.......", ".....K3K........", "......K.........", "................"};
        Key k;
        RampKey(k, S.cyan);
        k['K'] = S.blue[0];
        k['7'] = S.grey[7];
        Grid(b, x + 3, y, gem, k);
        break;
    }
    default: {  // 800 points: a star
        static const std::vector<const char *> star = {
            ".......K", "......K6", "......K6", ".....K66", "KKKKKK66", "K6666666", ".K566666", "..K55566",
            "...K5555", "...K5555", "..K4555K", "..K444K4", ".K444K.K", ".K33K...", ".KKK....", "........"};
        Key k;
        RampKey(k, S.gold);
        k['K'] = S.amber[0];
        SymGrid(b, x, y, star, k);
        break;
    }
    }
}

static void BonusTaken(BITMAP *b, int x, int y, int kind, const Ramp &player) {
    static const char *text[5] = {"$100", "$250", "$500", "+300", "+800"};
    int tx = x + (16 - TinyWidth(text[kind])) / 2;
    Tiny(b, tx, y + 6, text[kind], player[5]);
    Outline(b, x, y, 16, 16, S.grey[0]);
    // Small sparkles above the amount.
    putpixel(b, x + 3, y + 2, player[6]);
    putpixel(b, x + 12, y + 1, player[6]);
    putpixel(b, x + 8, y + 3, player[4]);
}

// ---------------------------------------------------------------------------
// The mother ship
// ---------------------------------------------------------------------------

// The mother ship flying right: a saucer cruiser, its dome set forward and
// its engine glowing at the back; shaded from a mask.
static void MotherShip(BITMAP *b, int x, int y) {
    Mask m(48, 16);
    ellipsefill(m.m, 24, 10, 22, 3, 1);   // the rim
    ellipsefill(m.m, 22, 8, 15, 4, 1);    // the upper hull
    ellipsefill(m.m, 22, 12, 11, 2, 3);   // the underside
    ellipsefill(m.m, 28, 5, 7, 4, 2);     // the dome
    triangle(m.m, 4, 3, 12, 7, 6, 8, 1);  // tail fin
    std::vector<Material> mats(3);
    mats[0].ramp = S.steel;
    mats[0].depth = 3;
    mats[1].ramp = {S.cyan[1], S.cyan[2], S.cyan[3], S.cyan[4], S.cyan[5]};
    mats[1].depth = 3;
    mats[2].ramp = {S.steel[0], S.steel[1], S.steel[2], S.steel[3]};
    mats[2].depth = 2;
    Shade(b, x, y, m, mats, -1);
    Outline(b, x, y, 48, 16, S.grey[0]);
    // Lights round the rim and the engine's glow at the back.
    for (int i = 0; i < 6; i++) putpixel(b, x + 9 + 6 * i, y + 10, i % 2 ? S.red[4] : S.gold[5]);
    putpixel(b, x + 2, y + 9, S.fire[8]);
    putpixel(b, x + 2, y + 10, S.fire[6]);
    putpixel(b, x + 1, y + 9, S.fire[5]);
    putpixel(b, x + 1, y + 10, S.fire[4]);
    putpixel(b, x, y + 10, S.fire[3]);
}

// The big bomb it drops, and the burst on the ground.
static void MotherBomb(BITMAP *b, int x, int y, int frame) {
    if (frame == 0) {
        static const std::vector<const char *> bomb = {
            "....K.K.", "...K6K6K", "...KK5KK", "....K4K.", "....K5K.", "...K5555", "..K56665",
            ".K566665", ".K566655", "K5666555", "K5665554", "K5655544", "K5555444", "K4554443",
            ".K444443", ".K444433", "..K44333", "...K3333", "....Kr1K", ".....Kr.", "......K."};
        Key k;
        RampKey(k, S.steel);
        k['K'] = S.grey[0];
        k['r'] = S.red[4];
        SymGrid(b, x + 8, y + 5, bomb, k);
        return;
    }
    // Burst on the ground: a fire dome resting on the bottom edge.
    int step = frame - 1;
    double t = (step + 0.5) / 4;
    double rw = 8 + 7 * sqrt(t), rh = 7 + 12 * sqrt(t);
    for (int j = 0; j < 32; j++)
        for (int i = 0; i < 32; i++) {
            double dx = (i - 15.5) / rw, dy = (j - 31.5) / rh, d = sqrt(dx * dx + dy * dy);
            double n = Fbm((x + i) * 0.3 + step, (y + j) * 0.3 - step * 1.5, 3, 77);
            double v = 1 - d + 0.5 * (n - 0.5) - (t > 0.6 ? (t - 0.6) * 1.5 * (1 - d) : 0);
            if (v <= 0) continue;
            double e = std::min(1.0, v * 2) * (1.25 - t);
            putpixel(b, x + i, y + j,
                     e < 0.3 && t > 0.4 ? Dither(S.smoke, e / 0.3, x + i, y + j)
                                        : Dither(S.fire, e, x + i, y + j));
        }
}

// ---------------------------------------------------------------------------
// The whole shared set
// ---------------------------------------------------------------------------

void PlaySprites(BITMAP *b) {
    for (int k = 0; k < 7; k++) {
        PlayerShip(b, 17 * k, 240, S.blue, k);
        PlayerShip(b, 17 * k, 87, S.red, k);
    }
    for (int r = 0; r < 5; r++)
        for (int k = 0; k < 9; k++) Alien(b, 17 * k, 138 + 17 * r, r, k);
    AlienBomb(b, 0, 121);
    Shots(b);
    for (int k = 0; k < 7; k++) Explosion(b, 254, 26 + 33 * k, 32, 32, k, 7, 300, S.lime);
    for (int m = 0; m < 4; m++)
        for (int n = 0; n < 2; n++) Explosion(b, 640 + 61 * n, 61 * m, 60, 60, 2 * m + n, 8, 400, S.lime);
    for (int k = 0; k < 5; k++) {
        Bonus(b, 18 + 17 * k, 223, k);
        BonusTaken(b, 18 + 17 * (5 + k), 223, k, S.blue);
        BonusTaken(b, 153, 138 + 17 * k, k, S.red);
    }
    MotherShip(b, 34, 121);
    MirrorCopy(b, 34, 121, 48, 16, 83, 121);
    blit(b, b, 34, 121, 34, 104, 48, 16);
    blit(b, b, 83, 121, 83, 104, 48, 16);
    Brighten(b, 34, 104, 48, 16, 3);
    Brighten(b, 83, 104, 48, 16, 3);
    for (int k = 0; k < 7; k++) Explosion(b, 287, 26 + 33 * k, 32, 32, k, 7, 500, S.steel);
    for (int k = 0; k < 5; k++) MotherBomb(b, 221, 92 + 33 * k, k);
}
