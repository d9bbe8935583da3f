// Drawing kit shared by every picture of the generator: palette building,
// pixel maps written as text, dithered shading and the small fonts.

#pragma once

#include "mkdata.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------
// Palettes
// ---------------------------------------------------------------------------

// A colour ramp: palette indexes from darkest to lightest.
typedef std::vector<int> Ramp;

// A palette under construction. Indexes 1..15 are set by hand for each sheet
// (the colours the game names), 16..127 hold the sprite ramps shared by every
// sheet, 128..255 the sheet's own scene colours.
struct Pal {
    PALETTE p;
    int next_sprite = 16, next_scene = 128;
    Pal();
    void Set(int i, int r, int g, int b);
    // A ramp of n colours through the given key colours (r, g, b triples),
    // from the sprite block or the scene block.
    Ramp SpriteRamp(int n, std::initializer_list<int> keys);
    Ramp SceneRamp(int n, std::initializer_list<int> keys);
    int Scene(int r, int g, int b);  // one scene colour
};

// Indexes that no shared ramp may take: the shop's cursor (18), the shadow
// colours of stages 2 and 5 (36, 77) and of stage 1 (178, a scene index).
bool Reserved(int i);

// The sprite colours every sheet shares, filled by SpriteColours().
struct SpriteSet {
    Ramp grey, blue, red, fire, smoke, purple, green, cyan, pink, amber, gold, lime, steel, bone, flesh, teal,
        violet;
};
extern SpriteSet S;
void SpriteColours(Pal &p);

// ---------------------------------------------------------------------------
// Pixels
// ---------------------------------------------------------------------------

// A deterministic random source.
struct Rng {
    uint32_t s;
    explicit Rng(uint32_t seed) : s(seed * 2654435761u + 1) {}
    uint32_t Next() {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        return s;
    }
    int Int(int n) { return (int)(Next() % (uint32_t)n); }  // 0..n-1
    double Unit() { return (Next() >> 8) / 16777216.0; }    // 0..1
};

// Smooth value noise in 0..1 and its fractal sum.
double Noise(double x, double y, int seed);
double Fbm(double x, double y, int octaves, int seed);

// The 4x4 ordered-dither threshold at (x, y), in 0..1.
double Bayer(int x, int y);
// The ramp colour for a level t in 0..1, dithered at pixel (x, y).
int Dither(const Ramp &r, double t, int x, int y);
// Fills a rectangle with a vertical dithered gradient along a ramp.
void VGradient(BITMAP *b, int x0, int y0, int x1, int y1, const Ramp &r, double t0, double t1);

// A pixel map: rows of characters, each looked up in a key; ' ' and '.' are
// transparent (left alone). Flipped draws it mirrored left to right.
typedef std::map<char, int> Key;
void Grid(BITMAP *b, int x, int y, const std::vector<const char *> &rows, const Key &key,
          bool flipped = false);

// Colour every transparent pixel beside an opaque one in the box with c
// (an outline); diagonal neighbours count too when corners is set.
void Outline(BITMAP *b, int x, int y, int w, int h, int c, bool corners = false);
// Replace every opaque pixel of the box with c (a hit flash silhouette).
void Silhouette(BITMAP *b, int x, int y, int w, int h, int c);
// Copy a box, mirrored left to right, to another place.
void MirrorCopy(BITMAP *b, int sx, int sy, int w, int h, int dx, int dy);
// Mirror the left half of a box onto its right half (symmetric designs).
void MirrorHalf(BITMAP *b, int x, int y, int w, int h);

// ---------------------------------------------------------------------------
// Shaded shapes
// ---------------------------------------------------------------------------

// A shape mask: each pixel holds a material number (0 = empty). Shade()
// lights it as a rounded relief from the top left and writes it to a sheet.
struct Mask {
    int w, h;
    BITMAP *m;
    Mask(int w, int h);
    ~Mask();
    Mask(const Mask &) = delete;
    Mask &operator=(const Mask &) = delete;
};

struct Material {
    Ramp ramp;
    double depth = 4;       // pixels from the edge to the top of the relief
    double ambient = 0.35;  // light of a flat face
    bool flat = false;      // one colour: the ramp's lightest
};

const double PI = 3.14159265358979;

inline Material Mat(const Ramp &r, double depth, double ambient = 0.35) {
    Material m;
    m.ramp = r;
    m.depth = depth;
    m.ambient = ambient;
    return m;
}

// Writes the shaded mask to b at (x, y); outline (or -1) rings the shape.
void Shade(BITMAP *b, int x, int y, const Mask &mask, const std::vector<Material> &materials, int outline);

// ---------------------------------------------------------------------------
// Text
// ---------------------------------------------------------------------------

// The 5x7 label font (capitals, digits, a few signs), 6 pixels a letter.
void Label(BITMAP *b, int x, int y, const char *text, int c);
int LabelWidth(const char *text);
// The 3x5 digit font for tiny numbers, 4 pixels a digit.
void Tiny(BITMAP *b, int x, int y, const char *text, int c);
int TinyWidth(const char *text);
// Allegro's 8x8 font with a one-pixel shadow (or none when shadow < 0).
void Text8(BITMAP *b, int x, int y, const char *text, int c, int shadow);

// Symmetric pixel map: each row gives the left half; the right half is its
// mirror with every digit one step darker (light comes from the left).
void SymGrid(BITMAP *b, int x, int y, const std::vector<const char *> &half, const Key &key);
// Key entries '1'.. for the colours of a ramp, starting at its darkest.
void RampKey(Key &k, const Ramp &r);
// Lighten every sprite pixel of the box by `steps` along its own ramp.
void Brighten(BITMAP *b, int x, int y, int w, int h, int steps);
// A box of a sheet drawn `scale` times larger, colour 0 left out.
void Enlarged(BITMAP *b, BITMAP *sheet, int sx, int sy, int w, int h, int x, int y, int scale);
// An explosion picture of `size` pixels at step `step` of `steps`:
// fireball, sparks and, if debris is not empty, fragments in its colours.
void Explosion(BITMAP *b, int x, int y, int w, int h, int step, int steps, int seed, const Ramp &debris);

// ---------------------------------------------------------------------------
// The pictures (each in its own file)
// ---------------------------------------------------------------------------

void PlaySprites(BITMAP *b);                  // sprites.cpp: the set every stage shares
void StageSprites(BITMAP *b, Pal &p, int n);  // bosses.cpp: stage n's bosses and details
