#include "support/story.h"

#include <gtest/gtest.h>

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

void RefFrom(BITMAP *sheet, int colour) {
    if (!ref) ref = create_bitmap_ex(8, 640, 480);
    clear_to_color(ref, colour);
    if (sheet) blit(sheet, ref, 0, 0, 0, 0, 320, 256);
}

void RefDraw(const std::string &layers, int box) {
    size_t bar = layers.find('|');
    std::istringstream in(layers.substr(0, bar));
    char op;
    int a, s, x, y, scale;
    while (in >> op >> a >> s >> x >> y) {
        BITMAP *b = intro[a].spr[s];
        if (op == 'z' && in >> scale) {
            // The library's scaled draw, shifted clear of the top-left corner
            // (its inline version cannot take negative positions).
            static BITMAP *scratch = create_bitmap_ex(8, 768, 608);
            clear_to_color(scratch, 0);
            rotate_scaled_sprite(scratch, b, x + 64, y + 64, 0, scale);
            masked_blit(scratch, ref, 64, 64, 0, 0, 640, 480);
        }
        for (int j = 0; op != 'z' && j < b->h; j++)
            for (int i = 0; i < b->w; i++)
                if (int c = getpixel(b, i, j)) putpixel(ref, op == 'm' ? x + b->w - 1 - i : x + i, y + j, c);
    }
    if (bar == std::string::npos) return;
    std::istringstream text(layers.substr(bar + 1));
    int x1, x2, y2;
    text >> x1 >> x2 >> y2;
    text.get();
    rectfill(ref, x1, 147, x2, y2, box);
    y = 150;
    for (std::string line; std::getline(text, line); y += 8)
        textout_ex(ref, font, line.c_str(), x1 + 2, y, 1, box);
}

void ExpectScenes(void (*setup)(), void (*fn)(), const int *first, const std::vector<SceneRow> &rows,
                  int box) {
    for (const SceneRow &r : rows) {
        ASSERT_TRUE(SceneAt(setup, fn, first[r.scene] + r.n)) << r.scene << " " << r.n;
        RefFrom(bg);
        RefDraw(r.layers, box);
        EXPECT_EQ(Mismatches(), 0) << r.scene << " " << r.n;
    }
}

void RefLines(int y, int colour, int background, const std::string &text) {
    std::istringstream in(text);
    for (std::string line; std::getline(in, line); y += 8)
        if (!line.empty()) textout_ex(ref, font, line.c_str(), 0, y, colour, background);
}

bool SoundIs(int i, SAMPLE *s, int vol, long frame) {
    const SoundEvent *e = HeadlessSound(i);
    return e && e->sample == s && e->vol == vol && e->pan == 150 && e->freq == 1000 && e->frame == frame;
}

int Mismatches() {
    int n = 0;
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 320; x++) n += Shown(x, y) != getpixel(ref, x, y);
    return n;
}
