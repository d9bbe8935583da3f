// The drawing kit: palettes, noise, dithering, pixel maps, shaded masks and
// the label fonts.

#include "art.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

// ---------------------------------------------------------------------------
// Palettes
// ---------------------------------------------------------------------------

bool Reserved(int i) {
    return i == 18 || i == 36 || i == 77 || i == 178;
}

Pal::Pal() {
    memset(p, 0, sizeof p);
}

void Pal::Set(int i, int r, int g, int b) {
    p[i].r = std::clamp(r, 0, 255) >> 2;
    p[i].g = std::clamp(g, 0, 255) >> 2;
    p[i].b = std::clamp(b, 0, 255) >> 2;
    p[i].filler = 0;
}

// n colours spread evenly over the piecewise-linear path through the keys.
static Ramp MakeRamp(Pal &pal, int &next, int limit, int n, std::initializer_list<int> keys) {
    std::vector<int> k(keys);
    int nk = (int)k.size() / 3;
    Ramp r;
    for (int i = 0; i < n; i++) {
        while (Reserved(next)) next++;
        if (next > limit) abort();  // a palette block overflowed: a bug in the tables
        double t = n == 1 ? 0 : (double)i * (nk - 1) / (n - 1);
        int a = std::min((int)t, nk - 2 < 0 ? 0 : nk - 2);
        double f = nk == 1 ? 0 : t - a;
        int b = nk == 1 ? a : a + 1;
        pal.Set(next, (int)lrint(k[3 * a] + (k[3 * b] - k[3 * a]) * f),
                (int)lrint(k[3 * a + 1] + (k[3 * b + 1] - k[3 * a + 1]) * f),
                (int)lrint(k[3 * a + 2] + (k[3 * b + 2] - k[3 * a + 2]) * f));
        r.push_back(next++);
    }
    return r;
}

Ramp Pal::SpriteRamp(int n, std::initializer_list<int> keys) {
    return MakeRamp(*this, next_sprite, 127, n, keys);
}

Ramp Pal::SceneRamp(int n, std::initializer_list<int> keys) {
    return MakeRamp(*this, next_scene, 255, n, keys);
}

int Pal::Scene(int r, int g, int b) {
    return SceneRamp(1, {r, g, b})[0];
}

SpriteSet S;

// The sprite ramps, allocated in the same order on every sheet so that each
// has the same indexes everywhere.
void SpriteColours(Pal &p) {
    S.grey = p.SpriteRamp(8, {14, 14, 22, 120, 126, 144, 255, 255, 255});
    S.blue = p.SpriteRamp(7, {8, 20, 70, 30, 90, 200, 90, 180, 255, 235, 250, 255});
    S.red = p.SpriteRamp(7, {60, 6, 14, 190, 30, 30, 255, 120, 80, 255, 240, 220});
    S.fire = p.SpriteRamp(9, {50, 6, 0, 170, 30, 0, 245, 120, 10, 255, 220, 80, 255, 255, 240});
    S.smoke = p.SpriteRamp(5, {28, 24, 26, 80, 72, 70, 150, 140, 132});
    S.purple = p.SpriteRamp(6, {30, 8, 50, 110, 40, 170, 200, 140, 255, 245, 225, 255});
    S.green = p.SpriteRamp(6, {6, 36, 10, 30, 130, 30, 140, 230, 60, 235, 255, 190});
    S.cyan = p.SpriteRamp(6, {4, 30, 44, 10, 120, 150, 70, 220, 230, 220, 255, 255});
    S.pink = p.SpriteRamp(6, {50, 6, 34, 170, 30, 110, 255, 110, 190, 255, 225, 245});
    S.amber = p.SpriteRamp(6, {50, 22, 4, 170, 90, 10, 250, 180, 40, 255, 245, 190});
    S.gold = p.SpriteRamp(6, {70, 40, 0, 190, 130, 10, 255, 215, 50, 255, 255, 210});
    S.lime = p.SpriteRamp(5, {20, 70, 0, 110, 220, 20, 230, 255, 160});
    S.steel = p.SpriteRamp(7, {12, 18, 34, 50, 70, 100, 130, 150, 180, 235, 240, 250});
    S.bone = p.SpriteRamp(6, {40, 32, 24, 120, 104, 80, 210, 196, 160, 255, 250, 235});
    S.flesh = p.SpriteRamp(6, {40, 6, 10, 120, 20, 30, 200, 70, 60, 255, 180, 150});
    S.teal = p.SpriteRamp(6, {4, 26, 24, 20, 90, 80, 60, 170, 140, 190, 250, 220});
    S.violet = p.SpriteRamp(6, {20, 10, 40, 70, 40, 140, 150, 110, 230, 230, 220, 255});
}

// ---------------------------------------------------------------------------
// Noise and dithering
// ---------------------------------------------------------------------------

static double Hash(int x, int y, int seed) {
    uint32_t h = (uint32_t)x * 374761393u + (uint32_t)y * 668265263u + (uint32_t)seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xffffff) / 16777215.0;
}

double Noise(double x, double y, int seed) {
    int xi = (int)floor(x), yi = (int)floor(y);
    double fx = x - xi, fy = y - yi;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    double a = Hash(xi, yi, seed), b = Hash(xi + 1, yi, seed);
    double c = Hash(xi, yi + 1, seed), d = Hash(xi + 1, yi + 1, seed);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

double Fbm(double x, double y, int octaves, int seed) {
    double sum = 0, amp = 0.5, norm = 0;
    for (int o = 0; o < octaves; o++) {
        sum += amp * Noise(x, y, seed + 17 * o);
        norm += amp;
        amp *= 0.5;
        x *= 2.03;
        y *= 2.03;
    }
    return sum / norm;
}

double Bayer(int x, int y) {
    static const int m[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (m[y & 3][x & 3] + 0.5) / 16.0;
}

int Dither(const Ramp &r, double t, int x, int y) {
    int n = (int)r.size();
    double v = std::clamp(t, 0.0, 1.0) * (n - 1);
    int i = (int)floor(v);
    if (v - i > Bayer(x, y)) i++;
    return r[std::clamp(i, 0, n - 1)];
}

void VGradient(BITMAP *b, int x0, int y0, int x1, int y1, const Ramp &r, double t0, double t1) {
    for (int y = y0; y <= y1; y++) {
        double t = y1 == y0 ? t0 : t0 + (t1 - t0) * (y - y0) / (y1 - y0);
        for (int x = x0; x <= x1; x++) putpixel(b, x, y, Dither(r, t, x, y));
    }
}

// ---------------------------------------------------------------------------
// Pixel maps and whole-sprite touches
// ---------------------------------------------------------------------------

// A pixel map used a character its key lacks: a bug in the tables.
static void Missing(char ch) {
    fprintf(stderr, "mkdata: pixel map character '%c' has no colour\n", ch);
    abort();
}

void Grid(BITMAP *b, int x, int y, const std::vector<const char *> &rows, const Key &key, bool flipped) {
    for (int j = 0; j < (int)rows.size(); j++) {
        int w = (int)strlen(rows[j]);
        for (int i = 0; i < w; i++) {
            char ch = rows[j][i];
            if (ch == ' ' || ch == '.') continue;
            auto k = key.find(ch);
            if (k == key.end()) Missing(ch);
            putpixel(b, flipped ? x + w - 1 - i : x + i, y + j, k->second);
        }
    }
}

void Outline(BITMAP *b, int x, int y, int w, int h, int c, bool corners) {
    std::vector<char> add(w * h, 0);
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++) {
            if (getpixel(b, x + i, y + j) != 0) continue;
            for (int dy = -1; dy <= 1; dy++)
                for (int dx = -1; dx <= 1; dx++) {
                    if (!dx && !dy) continue;
                    if (dx && dy && !corners) continue;
                    int u = i + dx, v = j + dy;
                    if (u < 0 || v < 0 || u >= w || v >= h) continue;
                    int p = getpixel(b, x + u, y + v);
                    if (p != 0 && p != c) add[j * w + i] = 1;
                }
        }
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++)
            if (add[j * w + i]) putpixel(b, x + i, y + j, c);
}

void Silhouette(BITMAP *b, int x, int y, int w, int h, int c) {
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++)
            if (getpixel(b, x + i, y + j) != 0) putpixel(b, x + i, y + j, c);
}

void MirrorCopy(BITMAP *b, int sx, int sy, int w, int h, int dx, int dy) {
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++) putpixel(b, dx + w - 1 - i, dy + j, getpixel(b, sx + i, sy + j));
}

void MirrorHalf(BITMAP *b, int x, int y, int w, int h) {
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w / 2; i++) putpixel(b, x + w - 1 - i, y + j, getpixel(b, x + i, y + j));
}

// ---------------------------------------------------------------------------
// Shaded masks
// ---------------------------------------------------------------------------

Mask::Mask(int w_, int h_) : w(w_), h(h_) {
    m = create_bitmap_ex(8, w, h);
    clear_to_color(m, 0);
}

Mask::~Mask() {
    destroy_bitmap(m);
}

void Shade(BITMAP *b, int x, int y, const Mask &mask, const std::vector<Material> &mats, int outline) {
    int w = mask.w, h = mask.h;
    auto mat = [&](int i, int j) { return (i < 0 || j < 0 || i >= w || j >= h) ? 0 : mask.m->line[j][i]; };
    // Distance of each pixel to the edge of its own material (chamfer).
    const double INF = 1e9;
    std::vector<double> d(w * h, INF);
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++) {
            int m = mat(i, j);
            if (!m) {
                d[j * w + i] = 0;
                continue;
            }
            if (mat(i - 1, j) != m || mat(i + 1, j) != m || mat(i, j - 1) != m || mat(i, j + 1) != m)
                d[j * w + i] = 1;
        }
    auto relax = [&](int i, int j, int di, int dj, double c) {
        int u = i + di, v = j + dj;
        if (u < 0 || v < 0 || u >= w || v >= h || mat(u, v) != mat(i, j)) return;
        d[j * w + i] = std::min(d[j * w + i], d[v * w + u] + c);
    };
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++) {
            relax(i, j, -1, 0, 1);
            relax(i, j, 0, -1, 1);
            relax(i, j, -1, -1, 1.414);
            relax(i, j, 1, -1, 1.414);
        }
    for (int j = h - 1; j >= 0; j--)
        for (int i = w - 1; i >= 0; i--) {
            relax(i, j, 1, 0, 1);
            relax(i, j, 0, 1, 1);
            relax(i, j, 1, 1, 1.414);
            relax(i, j, -1, 1, 1.414);
        }
    // Height: a rounded shoulder rising over `depth` pixels from the edge.
    std::vector<double> ht(w * h, 0);
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++) {
            int m = mat(i, j);
            if (!m) continue;
            double D = mats[m - 1].depth, t = std::min(d[j * w + i], D) / D;
            ht[j * w + i] = D * (1 - (1 - t) * (1 - t));
        }
    auto H = [&](int i, int j, int m) { return mat(i, j) == m ? ht[j * w + i] : 0.0; };
    const double lx = -0.55, ly = -0.7, lz = 0.45;  // light from the top left, towards the viewer
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++) {
            int m = mat(i, j);
            if (!m) continue;
            const Material &M = mats[m - 1];
            int c;
            if (M.flat) {
                c = M.ramp.back();
            } else {
                double gx = (H(i + 1, j, m) - H(i - 1, j, m)) / 2, gy = (H(i, j + 1, m) - H(i, j - 1, m)) / 2;
                double nx = -gx, ny = -gy, nz = 1, len = sqrt(nx * nx + ny * ny + nz * nz);
                double lit = std::max(0.0, (nx * lx + ny * ly + nz * lz) / len / 0.98);
                double t = M.ambient + (1 - M.ambient) * lit * 1.1 - 0.12;
                c = Dither(M.ramp, t, x + i, y + j);
            }
            putpixel(b, x + i, y + j, c);
        }
    if (outline >= 0) Outline(b, x, y, w, h, outline);
}

// ---------------------------------------------------------------------------
// Fonts
// ---------------------------------------------------------------------------

struct Glyph {
    char ch;
    const char *rows;  // seven rows of five, separated by '|'
};

static const Glyph label_font[] = {
    {'A', ".###.|#...#|#...#|#####|#...#|#...#|#...#"}, {'B', "####.|#...#|#...#|####.|#...#|#...#|####."},
    {'C', ".###.|#...#|#....|#....|#....|#...#|.###."}, {'D', "####.|#...#|#...#|#...#|#...#|#...#|####."},
    {'E', "#####|#....|#....|####.|#....|#....|#####"}, {'F', "#####|#....|#....|####.|#....|#....|#...."},
    {'G', ".###.|#...#|#....|#.###|#...#|#...#|.####"}, {'H', "#...#|#...#|#...#|#####|#...#|#...#|#...#"},
    {'I', ".###.|..#..|..#..|..#..|..#..|..#..|.###."}, {'J', "..###|...#.|...#.|...#.|...#.|#..#.|.##.."},
    {'K', "#...#|#..#.|#.#..|##...|#.#..|#..#.|#...#"}, {'L', "#....|#....|#....|#....|#....|#....|#####"},
    {'M', "#...#|##.##|#.#.#|#.#.#|#...#|#...#|#...#"}, {'N', "#...#|#...#|##..#|#.#.#|#..##|#...#|#...#"},
    {'O', ".###.|#...#|#...#|#...#|#...#|#...#|.###."}, {'P', "####.|#...#|#...#|####.|#....|#....|#...."},
    {'Q', ".###.|#...#|#...#|#...#|#.#.#|#..#.|.##.#"}, {'R', "####.|#...#|#...#|####.|#.#..|#..#.|#...#"},
    {'S', ".####|#....|#....|.###.|....#|....#|####."}, {'T', "#####|..#..|..#..|..#..|..#..|..#..|..#.."},
    {'U', "#...#|#...#|#...#|#...#|#...#|#...#|.###."}, {'V', "#...#|#...#|#...#|#...#|#...#|.#.#.|..#.."},
    {'W', "#...#|#...#|#...#|#.#.#|#.#.#|#.#.#|.#.#."}, {'X', "#...#|#...#|.#.#.|..#..|.#.#.|#...#|#...#"},
    {'Y', "#...#|#...#|.#.#.|..#..|..#..|..#..|..#.."}, {'Z', "#####|....#|...#.|..#..|.#...|#....|#####"},
    {'0', ".###.|#...#|#..##|#.#.#|##..#|#...#|.###."}, {'1', "..#..|.##..|..#..|..#..|..#..|..#..|.###."},
    {'2', ".###.|#...#|....#|...#.|..#..|.#...|#####"}, {'3', "#####|...#.|..#..|...#.|....#|#...#|.###."},
    {'4', "...#.|..##.|.#.#.|#..#.|#####|...#.|...#."}, {'5', "#####|#....|####.|....#|....#|#...#|.###."},
    {'6', "..##.|.#...|#....|####.|#...#|#...#|.###."}, {'7', "#####|....#|...#.|..#..|.#...|.#...|.#..."},
    {'8', ".###.|#...#|#...#|.###.|#...#|#...#|.###."}, {'9', ".###.|#...#|#...#|.####|....#|...#.|.##.."},
    {'-', ".....|.....|.....|.###.|.....|.....|....."}, {'.', ".....|.....|.....|.....|.....|.##..|.##.."},
    {':', ".....|.##..|.##..|.....|.##..|.##..|....."}, {'!', "..#..|..#..|..#..|..#..|..#..|.....|..#.."},
    {'$', "..#..|.####|#.#..|.###.|..#.#|####.|..#.."}, {'+', ".....|..#..|..#..|#####|..#..|..#..|....."},
    {'/', "....#|....#|...#.|..#..|.#...|#....|#...."}, {'?', ".###.|#...#|....#|...#.|..#..|.....|..#.."},
    {',', ".....|.....|.....|.....|.##..|..#..|.#..."}, {'\'', "..#..|..#..|.#...|.....|.....|.....|....."},
    {'*', ".....|#...#|.#.#.|..#..|.#.#.|#...#|....."}, {'=', ".....|.....|#####|.....|#####|.....|....."},
    {'(', "...#.|..#..|.#...|.#...|.#...|..#..|...#."}, {')', ".#...|..#..|...#.|...#.|...#.|..#..|.#..."},
};

static const Glyph *Find(const Glyph *font, int n, char ch) {
    if (ch >= 'a' && ch <= 'z') ch = ch - 'a' + 'A';
    for (int i = 0; i < n; i++)
        if (font[i].ch == ch) return &font[i];
    return NULL;
}

static void DrawGlyphs(BITMAP *b, int x, int y, const char *text, int c, const Glyph *font, int n, int adv) {
    for (const char *t = text; *t; t++, x += adv) {
        const Glyph *g = Find(font, n, *t);
        if (!g) continue;  // a blank
        int i = 0, j = 0;
        for (const char *r = g->rows; *r; r++) {
            if (*r == '|') {
                j++;
                i = 0;
                continue;
            }
            if (*r == '#') putpixel(b, x + i, y + j, c);
            i++;
        }
    }
}

void Label(BITMAP *b, int x, int y, const char *text, int c) {
    DrawGlyphs(b, x, y, text, c, label_font, sizeof label_font / sizeof *label_font, 6);
}

int LabelWidth(const char *text) {
    return (int)strlen(text) * 6 - 1;
}

static const Glyph tiny_font[] = {
    {'0', "###|#.#|#.#|#.#|###"}, {'1', ".#.|##.|.#.|.#.|###"}, {'2', "###|..#|###|#..|###"},
    {'3', "###|..#|.##|..#|###"}, {'4', "#.#|#.#|###|..#|..#"}, {'5', "###|#..|###|..#|###"},
    {'6', "###|#..|###|#.#|###"}, {'7', "###|..#|.#.|.#.|.#."}, {'8', "###|#.#|###|#.#|###"},
    {'9', "###|#.#|###|..#|###"}, {'+', "...|.#.|###|.#.|..."}, {'$', ".##|##.|.#.|.##|##."},
    {'x', "...|#.#|.#.|#.#|..."},
};

void Tiny(BITMAP *b, int x, int y, const char *text, int c) {
    DrawGlyphs(b, x, y, text, c, tiny_font, sizeof tiny_font / sizeof *tiny_font, 4);
}

int TinyWidth(const char *text) {
    return (int)strlen(text) * 4 - 1;
}

void Text8(BITMAP *b, int x, int y, const char *text, int c, int shadow) {
    if (shadow >= 0) textout_ex(b, font, text, x + 1, y + 1, shadow, -1);
    textout_ex(b, font, text, x, y, c, -1);
}

// ---------------------------------------------------------------------------
// Sprite helpers
// ---------------------------------------------------------------------------

void RampKey(Key &k, const Ramp &r) {
    for (int i = 0; i < (int)r.size() && i < 9; i++) k['1' + i] = r[i];
}

void SymGrid(BITMAP *b, int x, int y, const std::vector<const char *> &half, const Key &key) {
    for (int j = 0; j < (int)half.size(); j++) {
        int w = (int)strlen(half[j]);
        for (int i = 0; i < w; i++) {
            char ch = half[j][i];
            if (ch == ' ' || ch == '.') continue;
            char mirror = ch;
            if (ch >= '2' && ch <= '9' && key.count(ch - 1)) mirror = ch - 1;
            auto k = key.find(ch), m = key.find(mirror);
            if (k == key.end()) Missing(ch);
            if (m == key.end()) Missing(mirror);
            putpixel(b, x + i, y + j, k->second);
            putpixel(b, x + 2 * w - 1 - i, y + j, m->second);
        }
    }
}

// Every sprite ramp, to find a colour's place for Brighten.
static std::vector<const Ramp *> AllRamps() {
    return {&S.grey,  &S.blue, &S.red,  &S.fire,  &S.smoke, &S.purple, &S.green, &S.cyan,  &S.pink,
            &S.amber, &S.gold, &S.lime, &S.steel, &S.bone,  &S.flesh,  &S.teal,  &S.violet};
}

void Brighten(BITMAP *b, int x, int y, int w, int h, int steps) {
    std::vector<const Ramp *> ramps = AllRamps();
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++) {
            int c = getpixel(b, x + i, y + j);
            if (!c) continue;
            int out = S.grey.back();
            for (const Ramp *r : ramps)
                for (int k = 0; k < (int)r->size(); k++)
                    if ((*r)[k] == c) out = (*r)[std::min((int)r->size() - 1, k + steps)];
            putpixel(b, x + i, y + j, out);
        }
}

void Enlarged(BITMAP *b, BITMAP *sheet, int sx, int sy, int w, int h, int x, int y, int scale) {
    BITMAP *src = create_sub_bitmap(sheet, sx, sy, w, h);
    masked_stretch_blit(src, b, 0, 0, w, h, x, y, w * scale, h * scale);
    destroy_bitmap(src);
}

void Explosion(BITMAP *b, int x, int y, int w, int h, int step, int steps, int seed, const Ramp &debris) {
    double t = (step + 0.5) / steps;  // 0..1 through the explosion
    double cx = x + w / 2.0 - 0.5, cy = y + h / 2.0 - 0.5, R = std::min(w, h) / 2.0 - 1;
    double r = R * (0.3 + 0.7 * sqrt(t));
    double heat = 1.25 - 1.1 * t;
    double hollow = std::max(0.0, (t - 0.45) * 1.4);  // the centre burns out late
    double sc = 5.0 / R;
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++) {
            double dx = x + i - cx, dy = y + j - cy, d = sqrt(dx * dx + dy * dy) / r;
            double n = Fbm((x + i) * sc + step * 0.35, (y + j) * sc - step * 0.5, 3, seed);
            double v = 1 - d + 0.55 * (n - 0.5) - hollow * std::max(0.0, 1 - d * 1.6);
            if (v <= 0) continue;
            double e = std::min(1.0, v * 2.2) * heat;
            int c;
            if (e < 0.28 && t > 0.35)
                c = Dither(S.smoke, e / 0.28 * 0.9 + 0.1, x + i, y + j);
            else
                c = Dither(S.fire, e, x + i, y + j);
            putpixel(b, x + i, y + j, c);
        }
    // Sparks and fragments flying out.
    Rng rng(seed * 31 + 7);
    int n = (int)(R * 1.2);
    for (int k = 0; k < n; k++) {
        double a = rng.Unit() * 6.2831853, sp = 0.5 + rng.Unit() * 0.8;
        int kind = rng.Int(3);
        double px = cx + cos(a) * sp * R * (0.2 + t * 1.1),
               py = cy + sin(a) * sp * R * (0.2 + t * 1.1) + t * t * 3;
        if (px < x || py < y || px >= x + w || py >= y + h) continue;
        if (kind == 0 && !debris.empty() && t < 0.85) {
            int c = debris[std::min((int)debris.size() - 1, 1 + rng.Int((int)debris.size() - 1))];
            putpixel(b, (int)px, (int)py, c);
            if (R > 10) putpixel(b, (int)px + 1, (int)py, debris[0]);
        } else if (t < 0.9 && rng.Unit() > t * 0.6) {
            putpixel(b, (int)px, (int)py, S.fire[std::max(3, 8 - (int)(t * 6))]);
        }
    }
}
