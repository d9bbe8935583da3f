// The picture sheets: each an 8-bit BMP whose palette and sprite rectangles
// the game relies on. Columns 0..319 of a stage sheet hold the sprites,
// 320..639 the playfield backdrop and 640..760 the large blasts.

#include "mkdata.h"

#include <algorithm>
#include <cmath>
#include <cstring>

// ---------------------------------------------------------------------------
// Palette
// ---------------------------------------------------------------------------

// Sprite colours, the same in every stage palette.
enum {
    WHITE = 16,
    LGREY,
    GREY,
    DGREY,
    BLUE,
    LBLUE,
    RED,
    LRED,
    YELLOW,
    ORANGE,
    GREEN,
    LGREEN,
    PURPLE,
    CYAN,
    MAGENTA,
    BROWN
};

static void Set(RGB *p, int i, int r, int g, int b) {
    p[i].r = r >> 2;
    p[i].g = g >> 2;
    p[i].b = b >> 2;
    p[i].filler = 0;
}

static void SpriteColours(RGB *p) {
    static const int c[16][3] = {{255, 255, 255}, {200, 200, 210}, {140, 140, 150}, {80, 80, 90},
                                 {40, 90, 230},   {120, 170, 255}, {210, 40, 40},   {255, 130, 120},
                                 {250, 230, 60},  {250, 150, 30},  {40, 170, 60},   {140, 230, 120},
                                 {150, 60, 200},  {60, 220, 230},  {230, 60, 200},  {140, 90, 40}};
    for (int i = 0; i < 16; i++) Set(p, WHITE + i, c[i][0], c[i][1], c[i][2]);
}

// A ramp of n colours from (r0, g0, b0) to (r1, g1, b1) at index first.
static void Ramp(RGB *p, int first, int n, int r0, int g0, int b0, int r1, int g1, int b1) {
    for (int i = 0; i < n; i++)
        Set(p, first + i, r0 + (r1 - r0) * i / (n - 1), g0 + (g1 - g0) * i / (n - 1),
            b0 + (b1 - b0) * i / (n - 1));
}

// ---------------------------------------------------------------------------
// Shapes
// ---------------------------------------------------------------------------

static void Blob(BITMAP *b, int x, int y, int w, int h, int c) {
    ellipsefill(b, x + w / 2, y + h / 2, (w - 2) / 2, (h - 2) / 2, c);
}

// Explosion image `step` of `steps` in the box: a ring that grows and cools.
static void Burst(BITMAP *b, int x, int y, int w, int h, int step, int steps) {
    int cx = x + w / 2, cy = y + h / 2, rmax = std::min(w, h) / 2 - 1;
    int r = 2 + (rmax - 2) * (step + 1) / steps;
    static const int heat[] = {WHITE, YELLOW, ORANGE, RED, BROWN, DGREY, DGREY, DGREY};
    circlefill(b, cx, cy, r, heat[std::min(step, 7)]);
    if (r > 4) circlefill(b, cx, cy, r / 2, heat[std::min(step + 1, 7)]);
}

static void Ship(BITMAP *b, int x, int y, int body, int light, int frame) {
    if (frame >= 3) {
        Burst(b, x, y, 16, 16, frame - 3, 4);
        return;
    }
    int pts[] = {x + 8, y + 1, x + 1, y + 14, x + 14, y + 14};
    polygon(b, 3, pts, body);
    rectfill(b, x + 7, y + 5, x + 8, y + 9, light);
    if (frame == 1) rectfill(b, x + 6, y + 14, x + 9, y + 15, ORANGE);
    if (frame == 2) circle(b, x + 8, y + 8, 7, light);
}

static void Alien(BITMAP *b, int x, int y, int row, int frame) {
    static const int body[] = {PURPLE, GREEN, CYAN, MAGENTA, ORANGE};
    if (frame >= 3) {
        Burst(b, x, y, 16, 16, frame - 3, 6);
        return;
    }
    int c = frame == 2 ? WHITE : body[row];
    ellipsefill(b, x + 8, y + 7, 6, 5, c);
    int leg = frame == 1 ? 2 : 0;
    line(b, x + 4, y + 11, x + 2 + leg, y + 15, c);
    line(b, x + 11, y + 11, x + 13 - leg, y + 15, c);
    putpixel(b, x + 6, y + 6, DGREY);
    putpixel(b, x + 10, y + 6, DGREY);
}

// ---------------------------------------------------------------------------
// Stage sheets
// ---------------------------------------------------------------------------

// Status-bar labels beside the numbers the game writes into the backdrop.
static void Labels(BITMAP *b, int fg, int bgc, bool money) {
    int X = 320;
    textout_ex(b, font, "LEVEL", X + 20, 0, fg, bgc);
    textout_ex(b, font, "HI-SCORE", X + 115, 0, fg, bgc);
    for (int row = 0; row < 2; row++) {
        int y = 226 + 15 * row;
        textout_ex(b, font, row ? "2UP" : "1UP", X + 8, y, fg, bgc);
        if (money) textout_ex(b, font, "CASH", X + 118, y, fg, bgc);
        textout_ex(b, font, "SHIPS", X + 240, y, fg, bgc);
    }
}

// The playfield backdrop in columns 320..639: sky, ground where the stage has
// one, the status panel, and the labels.
static void Backdrop(BITMAP *b, int bgc, int txc, bool ground, bool money) {
    int X = 320;
    for (int y = 9; y < 224; y++) hline(b, X, y, X + 319, 128 + y * 31 / 223);
    for (int i = 0; i < 90; i++) putpixel(b, X + (i * 97) % 320, 10 + (i * 53) % 150, WHITE);
    if (ground) {
        rectfill(b, X, 196, X + 319, 223, 160);
        for (int x = 0; x < 320; x += 8) hline(b, X + x, 196 + (x / 8) % 3, X + x + 5, 161);
    }
    rectfill(b, X, 0, X + 319, 8, bgc);
    rectfill(b, X, 224, X + 319, 255, bgc);
    hline(b, X, 224, X + 319, txc);
    Labels(b, txc, bgc, money);
}

static void PlaySprites(BITMAP *b) {
    for (int k = 0; k < 7; k++) {
        Ship(b, 17 * k, 240, BLUE, LBLUE, k);
        Ship(b, 17 * k, 87, RED, LRED, k);
    }
    for (int r = 0; r < 5; r++)
        for (int k = 0; k < 9; k++) Alien(b, 17 * k, 138 + 17 * r, r, k);
    Blob(b, 4, 121, 8, 12, YELLOW);  // alien bomb
    static const int shot[] = {LBLUE, GREEN, ORANGE};
    for (int k = 0; k < 3; k++) rectfill(b, 6 * k + 1, 223, 6 * k + 3, 238, shot[k]);
    for (int k = 0; k < 7; k++) Burst(b, 254, 26 + 33 * k, 32, 32, k, 7);
    for (int m = 0; m < 4; m++)
        for (int n = 0; n < 2; n++) Burst(b, 640 + 61 * n, 61 * m, 60, 60, 2 * m + n, 8);
    static const int kind[] = {YELLOW, ORANGE, LGREEN, CYAN, MAGENTA};
    for (int k = 0; k < 5; k++) {
        Blob(b, 18 + 17 * k, 223, 16, 16, kind[k]);
        Blob(b, 18 + 17 * (5 + k), 223, 16, 16, LBLUE);
        Blob(b, 153, 138 + 17 * k, 16, 16, LRED);
    }
    for (int f = 0; f < 4; f++) {
        int x = f % 2 ? 83 : 34, y = f < 2 ? 121 : 104;
        ellipsefill(b, x + 24, y + 9, 22, 5, f < 2 ? LGREY : WHITE);
        ellipsefill(b, x + 24, y + 5, 9, 4, f < 2 ? CYAN : WHITE);
    }
    for (int k = 0; k < 7; k++) Burst(b, 287, 26 + 33 * k, 32, 32, k, 7);
    Blob(b, 221 + 10, 92, 12, 24, DGREY);  // mother ship bomb
    for (int k = 1; k < 5; k++) Burst(b, 221, 92 + 33 * k, 32, 32, k, 5);
}

static void StageSprites(BITMAP *b, int stage) {
    switch (stage) {
    case 1:
        for (int k = 0; k < 3; k++) Blob(b, 301 - 19 * k, 0, 18, 18, k == 1 ? YELLOW : ORANGE);
        for (int k = 0; k < 4; k++) Blob(b, 51 * k, 0, 50, 84, k == 3 ? WHITE : GREEN + (k % 2));
        rectfill(b, 204, 0, 206, 28, CYAN);
        rectfill(b, 208, 0, 214, 28, MAGENTA);
        rectfill(b, 216, 0, 219, 28, YELLOW);
        break;
    case 2:
        for (int k = 0; k < 4; k++) {
            Blob(b, 308 - 12 * k, 0, 11, 19, k % 2 ? RED : ORANGE);
            Blob(b, 228, 14 * k, 16, 13, k % 2 ? WHITE : YELLOW);
            Blob(b, 40 * k, 0, 39, 54, k == 3 ? WHITE : PURPLE);
            Blob(b, 160, 18 * k, 30, 17, k == 1 ? WHITE : k >= 2 ? ORANGE : CYAN);
            Burst(b, 197, 18 * k, 30, 17, k, 4);
        }
        rectfill(b, 192, 0, 194, 16, LRED);
        break;
    case 3:
        for (int k = 0; k < 2; k++) {
            Blob(b, 64 * k, 0, 63, 29, CYAN);
            Blob(b, 64 * k, 30, 63, 29, k ? WHITE : LBLUE);
        }
        Blob(b, 128, 0, 16, 25, ORANGE);
        Blob(b, 145, 0, 16, 25, YELLOW);
        Blob(b, 176, 0, 13, 19, GREY);
        Blob(b, 162, 0, 13, 19, RED);
        break;
    case 4:
        for (int k = 0; k < 3; k++) Blob(b, 77 * k, 0, 76, 58, k == 2 ? WHITE : BROWN);
        Blob(b, 231, 0, 13, 22, RED);
        Blob(b, 245, 0, 5, 5, YELLOW);
        break;
    case 5:
        for (int k = 0; k < 2; k++) Blob(b, 97 * k, 0, 96, 32, MAGENTA);
        Blob(b, 0, 33, 96, 32, WHITE);
        Blob(b, 194, 0, 5, 5, YELLOW);
        rectfill(b, 201, 0, 203, 15, LRED);
        break;
    }
}

struct StageLook {
    const char *file;
    int stage;
    int bgc, txc, swc;
    bool ground, money;
    int sky0[3], sky1[3], earth[3];
};

static const StageLook stages[] = {
    {"stage1.bmp", 1, 6, 9, 178, true, true, {10, 10, 40}, {60, 70, 140}, {50, 80, 40}},
    {"stage2.bmp", 2, 4, 6, 36, true, true, {90, 30, 20}, {230, 150, 60}, {120, 80, 40}},
    {"stage3.bmp", 3, 1, 3, 0, false, true, {0, 0, 10}, {20, 10, 60}, {0, 0, 0}},
    {"stage4.bmp", 4, 1, 4, 0, false, true, {20, 0, 20}, {90, 20, 80}, {0, 0, 0}},
    {"stage5.bmp", 5, 1, 4, 77, true, true, {30, 0, 0}, {160, 40, 20}, {90, 30, 20}},
    {"stageold.bmp", 0, 2, 10, 0, false, false, {0, 0, 0}, {0, 0, 30}, {0, 0, 0}},
};

static bool WriteStage(const std::string &dir, const StageLook &s) {
    PALETTE p;
    memset(p, 0, sizeof p);
    SpriteColours(p);
    Ramp(p, 128, 32, s.sky0[0], s.sky0[1], s.sky0[2], s.sky1[0], s.sky1[1], s.sky1[2]);
    Set(p, 160, s.earth[0], s.earth[1], s.earth[2]);
    Set(p, 161, s.earth[0] * 3 / 4, s.earth[1] * 3 / 4, s.earth[2] * 3 / 4);
    Set(p, s.bgc, 10, 10, 30);
    Set(p, s.txc, 250, 240, 120);
    if (s.swc) Set(p, s.swc, 20, 20, 20);

    BITMAP *b = create_bitmap(761, 256);
    clear_to_color(b, 0);
    Backdrop(b, s.bgc, s.txc, s.ground, s.money);
    PlaySprites(b);
    StageSprites(b, s.stage);
    bool ok = SaveSheet(dir + s.file, b, p);
    destroy_bitmap(b);
    return ok;
}

// ---------------------------------------------------------------------------
// Title, shop, intro and ending sheets
// ---------------------------------------------------------------------------

static bool WriteTitle(const std::string &dir) {
    PALETTE p;
    memset(p, 0, sizeof p);
    SpriteColours(p);
    Set(p, 4, 250, 220, 60);    // cursor frame
    Set(p, 5, 60, 110, 230);    // panel frames
    Set(p, 6, 200, 220, 255);   // caption text
    Set(p, 8, 120, 230, 240);   // headers
    Set(p, 10, 240, 240, 240);  // menu text
    Ramp(p, 128, 32, 0, 0, 20, 40, 50, 120);

    BITMAP *b = create_bitmap(320, 256);
    for (int y = 0; y < 256; y++) hline(b, 0, y, 319, 128 + y * 31 / 255);
    circlefill(b, 100, 150, 60, BLUE);
    circlefill(b, 85, 135, 25, GREEN);
    BITMAP *logo = create_bitmap(80, 8);
    clear_to_color(logo, 0);
    textout_ex(logo, font, "EARTHGUARD", 0, 0, YELLOW, -1);
    stretch_sprite(b, logo, 10, 30, 200, 24);
    destroy_bitmap(logo);
    bool ok = SaveSheet(dir + "title.bmp", b, p);
    destroy_bitmap(b);
    return ok;
}

static void Cell(BITMAP *b, int x, int y) {
    rectfill(b, x, y, x + 26, y + 25, DGREY);
    rect(b, x + 1, y + 1, x + 25, y + 24, GREY);
}

static void WeaponIcon(BITMAP *b, int x, int y, int w) {
    Cell(b, x, y);
    static const int c[] = {LBLUE, GREEN, ORANGE};
    for (int i = 0; i <= w; i++) rectfill(b, x + 8 + 4 * i, y + 5, x + 9 + 4 * i, y + 20, c[w]);
}

static bool WriteShop(const std::string &dir) {
    PALETTE p;
    memset(p, 0, sizeof p);
    SpriteColours(p);
    Set(p, 2, 20, 20, 50);      // text background
    Set(p, 14, 240, 240, 160);  // text
    Set(p, 18, 250, 80, 60);    // cursor and marks
    BITMAP *b = create_bitmap(432, 256);
    clear_to_color(b, 2);
    textout_ex(b, font, "EQUIPMENT SHOP", 104, 8, 14, -1);
    textout_ex(b, font, "EXIT", 22, 110, 14, -1);
    textout_ex(b, font, "POWER  5000", 102, 61, 14, -1);
    textout_ex(b, font, "SPEED  2000", 102, 90, 14, -1);
    textout_ex(b, font, "LIFE   5000", 102, 119, 14, -1);
    textout_ex(b, font, "3000", 68, 200, 14, -1);
    textout_ex(b, font, "6000", 113, 200, 14, -1);
    textout_ex(b, font, "8000", 158, 200, 14, -1);
    textout_ex(b, font, "POWER", 236, 68, 14, -1);
    textout_ex(b, font, "SPEED", 236, 83, 14, -1);
    textout_ex(b, font, "MONEY", 8, 110, 14, -1);
    textout_ex(b, font, "LIVES", 273, 110, 14, -1);
    textout_ex(b, font, "WEAPON", 246, 158, 14, -1);
    for (int i = 0; i < 2; i++) {
        rect(b, 280, 66 + 15 * i, 290, 77 + 15 * i, GREY);
        rect(b, 292, 66 + 15 * i, 302, 77 + 15 * i, GREY);
    }
    Cell(b, 320, 0);
    for (int w = 0; w < 3; w++) WeaponIcon(b, 348 + 28 * w, 0, w);
    bool ok = SaveSheet(dir + "shop.bmp", b, p);
    destroy_bitmap(b);
    return ok;
}

static void Commander(BITMAP *b, int x, int y, int pose) {
    ellipsefill(b, x + 14, y + 8, 6, 7, GREEN);          // head
    rectfill(b, x + 7, y + 16, x + 20, y + 34, PURPLE);  // body
    int step = pose < 5 ? (pose % 2 ? 3 : -3) : 0;
    rectfill(b, x + 9 + step, y + 35, x + 12 + step, y + 47, DGREY);
    rectfill(b, x + 15 - step, y + 35, x + 18 - step, y + 47, DGREY);
    if (pose >= 5) line(b, x + 20, y + 20, x + 27, y + 12, GREEN);  // raised arm
}

// The intro (screen -2) and the ending (screen -3) share their sprite layout.
static bool WriteStory(const std::string &dir, bool ending) {
    PALETTE p;
    memset(p, 0, sizeof p);
    SpriteColours(p);
    Set(p, 1, 10, 10, 40);     // caption background, text on the boxes
    Set(p, 2, 230, 230, 250);  // caption text
    Set(p, 3, 250, 230, 120);
    Set(p, 6, 200, 220, 255);
    Set(p, 7, 200, 200, 210);  // intro text boxes
    Set(p, 8, 220, 210, 160);  // ending text boxes
    Ramp(p, 128, 32, 0, 0, 10, 30, 30, 80);

    BITMAP *b = create_bitmap(640, 256);
    clear_to_color(b, 0);
    for (int y = 0; y < 256; y++) hline(b, 0, y, 319, 128 + y * 31 / 255);
    for (int i = 0; i < 60; i++) putpixel(b, (i * 89) % 320, (i * 41) % 180, WHITE);
    circlefill(b, 169, 83, 28, BLUE);
    circlefill(b, 160, 75, 10, GREEN);
    rectfill(b, 0, 238, 319, 255, DGREY);

    for (int k = 0; k < 7; k++) Commander(b, 320 + 29 * k, 28, k);
    Blob(b, 320, 0, 60, 27, GREY);    // console
    Blob(b, 320, 77, 70, 96, BROWN);  // foreground rock
    for (int k = 0; k < 8; k++) {
        int x = 391 + 61 * (k % 4), y = k < 4 ? 77 : 138;
        if (k == 0)
            circlefill(b, x + 30, y + 30, 12, DGREY);
        else
            Burst(b, x, y, 60, 60, k - 1, 7);
    }
    if (ending) {
        Commander(b, 523, 28, 7);
        Blob(b, 381, 0, 53, 15, PURPLE);
        Blob(b, 435, 0, 53, 15, DGREY);
        Blob(b, 320, 174, 20, 17, LGREEN);
        Blob(b, 341, 174, 20, 17, GREEN);
    } else {
        Blob(b, 320, 224, 19, 19, ORANGE);  // the shot
        int pts[] = {336, 175, 321, 222, 352, 222};
        polygon(b, 3, pts, LGREY);  // the fighter
    }
    bool ok = SaveSheet(dir + (ending ? "final.bmp" : "intro.bmp"), b, p);
    destroy_bitmap(b);
    return ok;
}

bool WriteSheets(const std::string &dir) {
    return WriteStages(dir) && WriteTitle(dir) && WriteShop(dir) && WriteStory(dir, false) &&
           WriteStory(dir, true);
}

bool SaveSheet(const std::string &path, BITMAP *b, const RGB *p) {
    return save_bmp(path.c_str(), b, p) == 0;
}
