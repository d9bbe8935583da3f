// The title picture and the shop picture. The game paints its menu, credits
// and high-score panels, the shop's cells, numbers and messages onto them,
// so those places are left plain.

#include "art.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// The heavy letters of the logo and headings, 10 x 14 cells each.
struct BigGlyph {
    char ch;
    const char *rows[14];
};

const BigGlyph big_font[] = {
    {'A',
     {"..######..", ".########.", "###....###", "###....###", "###....###", "###....###", "##########",
      "##########", "###....###", "###....###", "###....###", "###....###", "###....###", "###....###"}},
    {'D',
     {"########..", "#########.", "###....###", "###....###", "###....###", "###....###", "###....###",
      "###....###", "###....###", "###....###", "###....###", "###....###", "#########.", "########.."}},
    {'E',
     {"##########", "##########", "###.......", "###.......", "###.......", "###.......", "########..",
      "########..", "###.......", "###.......", "###.......", "###.......", "##########", "##########"}},
    {'G',
     {"..########", ".#########", "###.......", "###.......", "###.......", "###.......", "###..#####",
      "###..#####", "###....###", "###....###", "###....###", "###....###", ".#########", "..#######."}},
    {'H',
     {"###....###", "###....###", "###....###", "###....###", "###....###", "###....###", "##########",
      "##########", "###....###", "###....###", "###....###", "###....###", "###....###", "###....###"}},
    {'M',
     {"###....###", "####..####", "##########", "###.##.###", "###....###", "###....###", "###....###",
      "###....###", "###....###", "###....###", "###....###", "###....###", "###....###", "###....###"}},
    {'O',
     {"..######..", ".########.", "###....###", "###....###", "###....###", "###....###", "###....###",
      "###....###", "###....###", "###....###", "###....###", "###....###", ".########.", "..######.."}},
    {'R',
     {"#########.", "##########", "###....###", "###....###", "###....###", "##########", "#########.",
      "###..###..", "###...###.", "###....###", "###....###", "###....###", "###....###", "###....###"}},
    {'T',
     {"##########", "##########", "...####...", "...####...", "...####...", "...####...", "...####...",
      "...####...", "...####...", "...####...", "...####...", "...####...", "...####...", "...####..."}},
    {'U',
     {"###....###", "###....###", "###....###", "###....###", "###....###", "###....###", "###....###",
      "###....###", "###....###", "###....###", "###....###", "###....###", ".########.", "..######.."}},
    {'Y',
     {"###....###", "###....###", "###....###", "###....###", ".###..###.", "..######..", "...####...",
      "...####...", "...####...", "...####...", "...####...", "...####...", "...####...", "...####..."}},
};

// Big bevelled letters at `scale` pixels a cell, shaded from `top` (upper
// half) to `bottom` (lower half), outlined and with a drop shadow.
void BigText(BITMAP *b, int x, int y, const char *text, int scale, int gap, const Ramp &top,
             const Ramp &bottom, int outline, int shadow) {
    int n = (int)strlen(text), w = n * (10 * scale + gap) + 4, h = 14 * scale + 4;
    BITMAP *big = create_bitmap_ex(8, w, h);
    clear_to_color(big, 0);
    for (int k = 0; k < n; k++)
        for (const BigGlyph &g : big_font) {
            if (g.ch != text[k]) continue;
            for (int j = 0; j < 14; j++)
                for (int i = 0; i < 10; i++)
                    if (g.rows[j][i] == '#') {
                        int px = 2 + k * (10 * scale + gap) + i * scale, py = 2 + j * scale;
                        rectfill(big, px, py, px + scale - 1, py + scale - 1, 1);
                    }
        }
    x -= 2;
    y -= 2;
    // Shadow first, then the letters with a bevel: light on top and left
    // edges, dark on the bottom and right.
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++)
            if (big->line[j][i] && shadow >= 0) {
                putpixel(b, x + i + 2, y + j + 2, shadow);
                putpixel(b, x + i + 3, y + j + 2, shadow);
            }
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++) {
            if (!big->line[j][i]) continue;
            auto on = [&](int u, int v) { return u >= 0 && v >= 0 && u < w && v < h && big->line[v][u]; };
            double t = (double)(j - 2) / (14 * scale);
            const Ramp &r = t < 0.5 ? top : bottom;
            double level = t < 0.5 ? 0.95 - t * 1.2 : 0.3 + (t - 0.5) * 1.3;
            if (!on(i, j - 1) || !on(i - 1, j)) level += 0.45;
            if (!on(i, j + 1) || !on(i + 1, j)) level -= 0.4;
            putpixel(b, x + i, y + j, Dither(r, level, x + i, y + j));
        }
    if (outline >= 0) {
        BITMAP *view = create_sub_bitmap(b, x - 1, y - 1, w + 2, h + 2);
        for (int j = 0; j < h + 2; j++)
            for (int i = 0; i < w + 2; i++) {
                bool near = false;
                for (int d = 0; d < 4 && !near; d++) {
                    int u = i - 1 + (d == 0) - (d == 1), v = j - 1 + (d == 2) - (d == 3);
                    near = u >= 0 && v >= 0 && u < w && v < h && big->line[v][u];
                }
                int u = i - 1, v = j - 1;
                bool inside = u >= 0 && v >= 0 && u < w && v < h && big->line[v][u];
                if (near && !inside) putpixel(view, i, j, outline);
            }
        destroy_bitmap(view);
    }
    destroy_bitmap(big);
}

// ---------------------------------------------------------------------------
// Title
// ---------------------------------------------------------------------------

bool WriteTitle(const std::string &dir) {
    Pal p;
    p.Set(4, 255, 220, 60);    // cursor frame
    p.Set(5, 70, 120, 240);    // panel frames
    p.Set(6, 190, 215, 255);   // the intro's first caption
    p.Set(8, 110, 225, 245);   // headers, version
    p.Set(10, 245, 245, 245);  // menu text
    SpriteColours(p);
    Ramp space = p.SceneRamp(8, {0, 0, 4, 6, 10, 36, 20, 30, 80});
    Ramp chrome_top = p.SceneRamp(6, {20, 40, 110, 70, 130, 230, 240, 250, 255});
    Ramp chrome_bottom = p.SceneRamp(6, {90, 30, 0, 230, 120, 20, 255, 240, 160});
    Ramp ocean = p.SceneRamp(6, {4, 12, 50, 20, 70, 170, 120, 200, 255});
    Ramp land = p.SceneRamp(4, {20, 50, 16, 110, 160, 70});
    Ramp air = p.SceneRamp(3, {40, 80, 200, 170, 220, 255});
    int shadow = p.Scene(4, 6, 24);

    // Sprites to borrow for the scene: the stage sheet's drawing of them.
    BITMAP *spr = create_bitmap(320, 256);
    clear_to_color(spr, 0);
    PlaySprites(spr);

    BITMAP *b = create_bitmap(320, 256);
    clear_to_color(b, 0);
    VGradient(b, 0, 0, 319, 255, space, 0.1, 0.75);
    Rng r(7);
    for (int i = 0; i < 160; i++) {
        int x = r.Int(320), y = r.Int(256);
        putpixel(b, x, y, S.grey[3 + r.Int(5)]);
    }
    // The Earth, lit from the upper right, with clouds and a thin blue air.
    int cx = 56, cy = 98, R = 27;
    for (int y = cy - R - 2; y <= cy + R + 2; y++)
        for (int x = cx - R - 2; x <= cx + R + 2; x++) {
            double dx = (x - cx) / (double)R, dy = (y - cy) / (double)R, d = sqrt(dx * dx + dy * dy);
            if (d > 1.07) continue;
            if (d > 1) {
                putpixel(b, x, y, Dither(air, (1.07 - d) * 10, x, y));
                continue;
            }
            double z = sqrt(1 - d * d), lit = std::clamp(0.15 + dx * 0.55 - dy * 0.45 + z * 0.45, 0.0, 1.0);
            double u = dx / (0.5 + z) * 3, v = dy * 3;
            int c = Fbm(u + 4, v, 4, 50) > 0.56 ? Dither(land, lit, x, y) : Dither(ocean, lit, x, y);
            if (Fbm(u * 1.5, v * 2, 3, 60) > 0.62 && lit > 0.2) c = S.grey[std::min(7, 3 + (int)(lit * 5))];
            putpixel(b, x, y, c);
        }
    // The guardian fighter climbing away from the Earth, aliens ahead.
    Enlarged(b, spr, 17, 240, 16, 16, 128, 70, 3);
    for (int i = 0; i < 5; i++) putpixel(b, 151 + (i % 2), 118 + i * 2, S.fire[7 - i]);
    Enlarged(b, spr, 0, 138, 16, 16, 176, 58, 2);
    Enlarged(b, spr, 17, 155, 16, 16, 106, 60, 1);
    Enlarged(b, spr, 0, 189, 16, 16, 190, 96, 1);
    Enlarged(b, spr, 34, 121, 48, 16, 168, 112, 1);
    // Laser darts from the fighter.
    Enlarged(b, spr, 0, 223, 5, 16, 149, 40, 1);
    Enlarged(b, spr, 0, 223, 5, 16, 152, 50, 1);

    // The logo, and the painted panels' places left plain.
    BigText(b, 1, 16, "EARTHGUARD", 2, 2, chrome_top, chrome_bottom, S.grey[0], shadow);
    Label(b, 40, 50, "DEFEND THE BLUE PLANET", S.gold[4]);
    rectfill(b, 220, 5, 317, 119, 0);
    rectfill(b, 1, 220, 317, 248, 0);
    rect(b, 220, 5, 317, 119, 5);
    rect(b, 1, 220, 317, 248, 5);

    bool ok = SaveSheet(dir + "title.bmp", b, p.p);
    destroy_bitmap(b);
    destroy_bitmap(spr);
    return ok;
}

// ---------------------------------------------------------------------------
// Shop
// ---------------------------------------------------------------------------

struct ShopColours {
    Ramp metal, dark;
    int text, face;
};

// The empty cell: a recessed slot with a bevelled rim.
void Cell(BITMAP *b, int x, int y, const ShopColours &c) {
    rectfill(b, x, y, x + 26, y + 25, c.metal[1]);
    hline(b, x, y, x + 26, c.metal[4]);
    vline(b, x, y, y + 25, c.metal[4]);
    hline(b, x, y + 25, x + 26, c.metal[0]);
    vline(b, x + 26, y, y + 25, c.metal[0]);
    rectfill(b, x + 3, y + 3, x + 23, y + 22, c.dark[0]);
    hline(b, x + 3, y + 22, x + 23, c.metal[3]);
    vline(b, x + 23, y + 3, y + 22, c.metal[3]);
    for (int i : {1, 25}) {
        putpixel(b, x + i, y + 1, c.metal[5]);
        putpixel(b, x + i, y + 24, c.metal[2]);
    }
}

// A weapon's shot inside a cell (the icons shown for the current weapon).
void WeaponIcon(BITMAP *b, BITMAP *spr, int x, int y, int w, const ShopColours &c) {
    Cell(b, x, y, c);
    static const Ramp *glow[3] = {&S.blue, &S.lime, &S.fire};
    for (int j = 4; j < 22; j++)
        for (int i = 4; i < 23; i++) {
            double d = hypot((i - 13) / 9.0, (j - 12.5) / 9.0);
            if (d < 1 && (1 - d) * 0.6 > Bayer(x + i, y + j)) putpixel(b, x + i, y + j, (*glow[w])[1]);
        }
    Enlarged(b, spr, 6 * w, 223, 5, 16, x + 11, y + 5, 1);
    Enlarged(b, spr, 6 * w, 223, 5, 16, x + 5, y + 9, 1);
    Enlarged(b, spr, 6 * w, 223, 5, 16, x + 17, y + 9, 1);
}

void Centred(BITMAP *b, int cx, int y, const char *text, int c) {
    Label(b, cx - LabelWidth(text) / 2, y, text, c);
}

bool WriteShop(const std::string &dir) {
    Pal p;
    p.Set(2, 22, 28, 40);      // the text background and the floor of the shop
    p.Set(14, 250, 236, 150);  // text
    p.Set(18, 255, 70, 50);    // cursor and marks
    SpriteColours(p);
    ShopColours c;
    c.metal = p.SceneRamp(6, {30, 36, 52, 70, 80, 100, 130, 140, 160, 200, 210, 225});
    c.dark = p.SceneRamp(2, {10, 12, 20, 16, 18, 28});
    c.text = 14;
    c.face = 2;
    Ramp head_top = p.SceneRamp(5, {60, 20, 0, 250, 200, 80, 255, 255, 220});
    Ramp head_bottom = p.SceneRamp(5, {80, 20, 0, 220, 100, 20, 255, 200, 80});
    int dim = p.Scene(150, 150, 130);

    BITMAP *spr = create_bitmap(320, 256);
    clear_to_color(spr, 0);
    PlaySprites(spr);

    BITMAP *b = create_bitmap(432, 256);
    clear_to_color(b, 2);
    // Riveted wall plates behind the counter, their seams clear of the rows
    // where the game writes money and lives (120..127); the floor (2) plain.
    static const int rows[][2] = {{34, 77}, {78, 116}, {131, 172}, {173, 214}};
    for (const auto &row : rows)
        for (int x = 0; x < 320; x += 80) {
            rect(b, x + 1, row[0] + 1, x + 79, row[1], c.metal[0]);
            for (int i : {4, 75})
                for (int j : {row[0] + 4, row[1] - 4}) putpixel(b, x + i, j, c.metal[2]);
        }
    hline(b, 0, 32, 319, c.metal[3]);
    hline(b, 0, 33, 319, c.metal[1]);
    hline(b, 0, 218, 319, c.metal[1]);
    hline(b, 0, 219, 319, c.metal[3]);
    BigText(b, 82, 3, "ARMOURY", 2, 3, head_top, head_bottom, S.grey[0], c.dark[0]);

    // The leave cell.
    Centred(b, 38, 72, "EXIT", c.text);
    // Power, speed and life: picture and name beside each cell.
    struct Item {
        int y;
        const char *name, *price;
    } items[] = {{52, "SHOT POWER +1", "5000"}, {81, "SHIP SPEED +1", "2000"}, {110, "EXTRA SHIP", "5000"}};
    for (int i = 0; i < 3; i++) {
        const Item &it = items[i];
        rectfill(b, 100, it.y + 1, 220, it.y + 24, c.dark[1]);
        rect(b, 100, it.y + 1, 220, it.y + 24, c.metal[1]);
        Label(b, 128, it.y + 5, it.name, c.text);
        Label(b, 128, it.y + 14, it.price, S.gold[4]);
        Label(b, 128 + LabelWidth(it.price) + 4, it.y + 14, "CR", dim);
    }
    // Power: the shot with arrows; speed: chevrons; life: a ship.
    Enlarged(b, spr, 6, 223, 5, 16, 110, 56, 1);
    for (int k = 0; k < 3; k++) {
        putpixel(b, 104, 62 + k, S.gold[4]);
        putpixel(b, 120, 62 + k, S.gold[4]);
        hline(b, 103, 61, 105, S.gold[5]);
        hline(b, 119, 61, 121, S.gold[5]);
    }
    for (int k = 0; k < 3; k++)
        for (int j = 0; j < 5; j++) {
            putpixel(b, 104 + 6 * k + j, 88 + j, S.cyan[3 + k / 2]);
            putpixel(b, 104 + 6 * k + j, 96 - j, S.cyan[3 + k / 2]);
            putpixel(b, 104 + 6 * k + j + 1, 88 + j, S.cyan[4]);
            putpixel(b, 104 + 6 * k + j + 1, 96 - j, S.cyan[4]);
        }
    Enlarged(b, spr, 0, 240, 16, 16, 105, 114, 1);

    // Ship status: the power and speed marks the game fills in.
    Label(b, 237, 52, "STATUS", c.text);
    for (int row = 0; row < 2; row++) {
        int y = 67 + 15 * row;
        Label(b, 233, y + 2, row ? "SPEED" : "POWER", c.text);
        rectfill(b, 269, y, 277, y + 9, 18);
        rect(b, 268, y - 1, 278, y + 10, c.metal[3]);
        for (int x : {281, 293}) {
            rectfill(b, x, y, x + 8, y + 9, c.dark[0]);
            rect(b, x - 1, y - 1, x + 9, y + 10, c.metal[3]);
        }
    }
    // Money and lives: labels over the game's numbers.
    Label(b, 8, 111, "MONEY", c.text);
    Label(b, 273, 111, "SHIPS", c.text);

    // The weapons: picture, name and price beside each cell.
    Label(b, 70, 138, "WEAPONS", c.text);
    hline(b, 70, 146, 186, c.metal[3]);
    static const char *names[3] = {"LASER", "PLASMA", "ROCKET"}, *prices[3] = {"3000", "6000", "8000"};
    for (int w = 0; w < 3; w++) {
        int x = 70 + 45 * w;
        Enlarged(b, spr, 6 * w, 223, 5, 16, x + 11, 150, 1);
        Centred(b, x + 13, 199, names[w], c.text);
        Centred(b, x + 13, 208, prices[w], S.gold[4]);
    }
    Label(b, 247, 158, "ARMED", c.text);
    rect(b, 248, 168, 278, 197, c.metal[3]);

    // The cells (the game redraws them), the icons and the empty cell.
    Cell(b, 25, 81, c);
    for (const Item &it : items) Cell(b, 70, it.y, c);
    for (int w = 0; w < 3; w++) Cell(b, 70 + 45 * w, 170, c);
    Cell(b, 320, 0, c);
    for (int w = 0; w < 3; w++) WeaponIcon(b, spr, 348 + 28 * w, 0, w, c);
    blit(b, b, 348, 0, 250, 170, 27, 26);

    bool ok = SaveSheet(dir + "shop.bmp", b, p.p);
    destroy_bitmap(b);
    destroy_bitmap(spr);
    return ok;
}

}  // namespace

bool WriteScreens(const std::string &dir) {
    return WriteTitle(dir) && WriteShop(dir);
}
