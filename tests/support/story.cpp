#include "support/story.h"

#include <map>
#include <sstream>

static BITMAP *ref;

long FirstSceneFrame(void (*setup)(), void (*fn)()) {
    static std::map<void (*)(), long> first;
    if (!first.count(fn)) {
        setup();
        RunUntil(fn, 1500);  // well inside the scenes of either
        first[fn] = 1499 - (HeadlessPresents() - 3);
    }
    return first[fn];
}

bool SceneAt(void (*setup)(), void (*fn)(), long g) {
    long f = FirstSceneFrame(setup, fn);
    setup();
    return !RunUntil(fn, f + g + 1) && HeadlessPresents() == 3 + g;
}

long FadeFrames(int speed) {
    Fresh();
    SysFadeIn(pal, speed);
    return HeadlessFrame();
}

void RefFrom(BITMAP *sheet) {
    if (!ref) ref = create_bitmap_ex(8, 640, 480);
    clear_to_color(ref, 0);
    blit(sheet, ref, 0, 0, 0, 0, 320, 256);
}

void RefClear(int colour) {
    if (!ref) ref = create_bitmap_ex(8, 640, 480);
    clear_to_color(ref, colour);
}

void RefSprite(BITMAP *s, int x, int y) {
    for (int j = 0; j < s->h; j++)
        for (int i = 0; i < s->w; i++)
            if (int c = getpixel(s, i, j)) putpixel(ref, x + i, y + j, c);
}

void RefMirrored(BITMAP *s, int x, int y) {
    for (int j = 0; j < s->h; j++)
        for (int i = 0; i < s->w; i++)
            if (int c = getpixel(s, i, j)) putpixel(ref, x + s->w - 1 - i, y + j, c);
}

// Drawn with the library's own scaled draw, shifted clear of the top-left
// corner (its inline version cannot take negative positions).
void RefScaled(BITMAP *s, int x, int y, fixed scale) {
    const int off = 64;
    static BITMAP *scratch;
    if (!scratch) scratch = create_bitmap_ex(8, 640 + 2 * off, 480 + 2 * off);
    clear_to_color(scratch, 0);
    rotate_scaled_sprite(scratch, s, x + off, y + off, 0, scale);
    masked_blit(scratch, ref, off, off, 0, 0, 640, 480);
}

void RefFill(int x1, int y1, int x2, int y2, int colour) {
    rectfill(ref, x1, y1, x2, y2, colour);
}

void RefText(int x, int y, int colour, int background, const char *text) {
    textout_ex(ref, font, text, x, y, colour, background);
}

void RefLines(int y, int colour, int background, const std::string &text) {
    std::istringstream in(text);
    for (std::string line; std::getline(in, line); y += 8)
        if (!line.empty()) RefText(0, y, colour, background, line.c_str());
}

int Mismatches() {
    int n = 0;
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 320; x++) n += Shown(x, y) != getpixel(ref, x, y);
    return n;
}
