// The game's emblem: the blue planet in a round badge, the guardian fighter
// climbing away from it. Drawn at 16, 24, 32, 48 and 64 pixels, as pixel art
// does not shrink well; the larger icons are the 64-pixel one enlarged.
// Colour 0 is transparent, outside the badge.

#include "art.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <png.h>
#include <sys/stat.h>

namespace {

struct IconColours {
    Ramp space, ocean, land, air, rim;
};

IconColours IconPalette(Pal &p) {
    SpriteColours(p);
    IconColours c;
    c.space = p.SceneRamp(6, {2, 2, 10, 10, 16, 48, 24, 36, 90});
    c.ocean = p.SceneRamp(6, {4, 12, 50, 20, 70, 170, 120, 200, 255});
    c.land = p.SceneRamp(4, {20, 50, 16, 110, 160, 70});
    c.air = p.SceneRamp(3, {40, 80, 200, 170, 220, 255});
    c.rim = p.SceneRamp(6, {50, 28, 0, 160, 100, 10, 245, 195, 60, 255, 250, 200});
    return c;
}

// The tiny fighter of the 16-pixel icon: left half, mirrored.
const std::vector<const char *> mini_fighter = {"...7", "...6", "..46", "3.56", "4556", "4..5"};

// The badge: a lit metal ring round a starry sky.
void Badge(BITMAP *b, int n, const IconColours &c) {
    double o = (n - 1) / 2.0, R = n / 2.0, ring = std::max(1.0, n / 24.0);
    for (int y = 0; y < n; y++)
        for (int x = 0; x < n; x++) {
            double dx = x - o, dy = y - o, d = sqrt(dx * dx + dy * dy);
            if (d > R - 0.3) continue;
            if (d > R - ring - 0.3) {
                double lit = 0.5 + 0.45 * (-dx - dy) / (d * 1.414);
                putpixel(b, x, y, Dither(c.rim, d > R - 1.3 ? lit * 0.4 : lit, x, y));
            } else {
                putpixel(b, x, y, Dither(c.space, 0.15 + 0.7 * y / n, x, y));
            }
        }
    Rng r(11);
    for (int i = 0; i < n / 4; i++) {
        int x = r.Int(n), y = r.Int(n / 2);
        double dx = x - o, dy = y - o;
        if (sqrt(dx * dx + dy * dy) < R - ring - 2) putpixel(b, x, y, S.grey[4 + r.Int(4)]);
    }
}

// The Earth at (cx, cy), radius R, lit from the upper right, kept inside
// the badge's sky (radius `inner` round the icon's centre).
void Globe(BITMAP *b, int n, double cx, double cy, double R, double inner, const IconColours &c) {
    double o = (n - 1) / 2.0;
    for (int y = 0; y < n; y++)
        for (int x = 0; x < n; x++) {
            if (hypot(x - o, y - o) > inner) continue;
            double dx = (x - cx) / R, dy = (y - cy) / R, d = sqrt(dx * dx + dy * dy);
            if (d > 1.08) continue;
            if (d > 1) {
                putpixel(b, x, y, Dither(c.air, (1.08 - d) * 10, x, y));
                continue;
            }
            double z = sqrt(1 - d * d), lit = std::clamp(0.15 + dx * 0.55 - dy * 0.45 + z * 0.45, 0.0, 1.0);
            double u = dx / (0.5 + z) * 2.2, v = dy * 2.2;
            int col = Fbm(u + 4, v, 4, 50) > 0.56 ? Dither(c.land, lit, x, y) : Dither(c.ocean, lit, x, y);
            if (Fbm(u * 1.5, v * 2, 3, 60) > 0.62 && lit > 0.2) col = S.grey[std::min(7, 3 + (int)(lit * 5))];
            if (d > 0.93) col = Dither(c.air, lit + 0.2, x, y);
            putpixel(b, x, y, col);
        }
}

// The fighter with its long flame (the sheet's frame 1) and a trail of
// sparks, ringed in black so that it stands out against the planet.
void Fighter(BITMAP *b, int n, BITMAP *spr) {
    BITMAP *f = create_bitmap(n, n);
    clear_to_color(f, 0);
    if (n < 32) {
        Key k;
        RampKey(k, S.blue);
        k['K'] = S.grey[0];
        int x = n / 2 - 1, y = n / 6;
        SymGrid(f, x, y, mini_fighter, k);
        putpixel(f, x + 3, y + 6, S.fire[8]);
        putpixel(f, x + 4, y + 6, S.fire[6]);
    } else {
        int scale = n < 48 ? 1 : 2, w = 16 * scale, x = (int)(n * 0.62) - w / 2, y = n / 10;
        Enlarged(f, spr, 17, 240, 16, 16, x, y, scale);
        for (int i = 0, sparks = n / 12; i < sparks; i++)
            putpixel(f, x + w / 2 - 1 + (i % 2), y + w + i * 2, S.fire[8 - i * 4 / sparks]);
    }
    Outline(f, 0, 0, n, n, S.grey[0]);
    masked_blit(f, b, 0, 0, 0, 0, n, n);
    destroy_bitmap(f);
}

// The whole emblem, n pixels square; spr holds the stage sheet's sprites.
void Emblem(BITMAP *b, int n, const IconColours &c, BITMAP *spr) {
    clear_to_color(b, 0);
    Badge(b, n, c);
    double inner = n / 2.0 - std::max(1.0, n / 24.0) - 0.3;
    if (n < 32)
        Globe(b, n, n * 0.32, n * 0.74, n * 0.3, inner, c);  // room for the little fighter
    else
        Globe(b, n, n * 0.36, n * 0.7, n * 0.34, inner, c);
    Fighter(b, n, spr);
}

// An indexed PNG with colour 0 transparent, by libpng.
bool SavePng(const std::string &path, BITMAP *b, const RGB *pal) {
    FILE *f = fopen(path.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
    png_infop info = png ? png_create_info_struct(png) : NULL;
    bool ok = info && !setjmp(png_jmpbuf(png));
    if (ok) {
        png_color colours[256];
        for (int i = 0; i < 256; i++)
            colours[i] = {(png_byte)(pal[i].r << 2 | pal[i].r >> 4),
                          (png_byte)(pal[i].g << 2 | pal[i].g >> 4),
                          (png_byte)(pal[i].b << 2 | pal[i].b >> 4)};
        png_byte clear = 0;
        png_init_io(png, f);
        png_set_IHDR(png, info, b->w, b->h, 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_set_PLTE(png, info, colours, 256);
        png_set_tRNS(png, info, &clear, 1, NULL);
        png_write_info(png, info);
        for (int y = 0; y < b->h; y++) png_write_row(png, b->line[y]);
        png_write_end(png, NULL);
    }
    png_destroy_write_struct(&png, &info);
    return fclose(f) == 0 && ok;
}

// Draws the emblem for an n-pixel icon: natively up to 64, enlarged above.
BITMAP *IconPicture(int n, Pal &p) {
    IconColours c = IconPalette(p);
    BITMAP *spr = create_bitmap(320, 256);
    clear_to_color(spr, 0);
    PlaySprites(spr);
    int base = std::min(n, 64);
    BITMAP *b = create_bitmap(base, base);
    Emblem(b, base, c, spr);
    destroy_bitmap(spr);
    if (base == n) return b;
    BITMAP *big = create_bitmap(n, n);
    stretch_blit(b, big, 0, 0, base, base, 0, 0, n, n);
    destroy_bitmap(b);
    return big;
}

}  // namespace

bool WriteIcon(const std::string &dir) {
    Pal p;
    BITMAP *b = IconPicture(64, p);
    bool ok = SaveSheet(dir + "icon.bmp", b, p.p);
    destroy_bitmap(b);
    return ok;
}

bool WriteIcons(const std::string &dir) {
    bool ok = true;
    for (int n : {16, 24, 32, 48, 64, 128, 256}) {
        std::string path = dir + "/hicolor/" + std::to_string(n) + "x" + std::to_string(n) + "/apps";
        for (size_t at = 0; (at = path.find('/', at + 1)) != std::string::npos;)
            mkdir(path.substr(0, at).c_str(), 0755);
        mkdir(path.c_str(), 0755);
        Pal p;
        BITMAP *b = IconPicture(n, p);
        ok = SavePng(path + "/earthguard.png", b, p.p) && ok;
        destroy_bitmap(b);
    }
    return ok;
}
