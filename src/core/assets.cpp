// Asset loading: each screen's sheet with its palette, the sprites cut from
// it as rectangles (sub-bitmaps), and the screen's sounds and music.

#include "core/core.h"
#include "platform/platform.h"
#include "aliens/aliens.h"
#include "bosses/bosses.h"
#include "frontend/frontend.h"
#include "players/players.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

BITMAP *buffer;
BITMAP *bg;
PALETTE pal;
MIDI *bgsound;
SAMPLE *pl_fx[5];
SAMPLE *al_fx[4];
BITMAP *shop[4];
BITMAP *board1;

// A sheet is read from its file at every load, because the title and the
// shop draw on theirs, but into the bitmap of its first load, and each
// rectangle is cut only once. Sprite slots left over from earlier screens so
// stay valid, and loading a screen again allocates nothing.
struct Piece {
    int x, y, w, h;
    BITMAP *bmp;
};

struct Sheet {
    std::string path;
    BITMAP *bmp;
    std::vector<Piece> cuts;
};

struct Loaded {
    std::string path;
    void *data;  // SAMPLE or MIDI
};

static std::vector<Sheet> sheets;
static Sheet *sheet;  // the sheet being cut
static std::vector<Loaded> sounds;

static uint32_t Le(const unsigned char *p, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; i++) v |= (uint32_t)p[i] << (8 * i);
    return v;
}

// The library's BMP reader trusts the header: a huge size crashes it, a
// short file or a palette past the pixels loads as black, and other depths
// are converted without a word. So every sheet must be an uncompressed
// 8-bit bottom-up picture of sane size whose palette and rows are all there.
const char *BmpDamage(const char *path) {
    FILE *f = fopen(path, "rb");
    if (!f) return "the file is missing or unreadable";
    unsigned char h[54];
    size_t got = fread(h, 1, sizeof h, f);
    struct stat st;
    bool sized = fstat(fileno(f), &st) == 0;
    fclose(f);
    if (got < sizeof h || h[0] != 'B' || h[1] != 'M' || Le(h + 14, 4) != 40) return "not a BMP picture";
    if (Le(h + 26, 2) != 1 || Le(h + 28, 2) != 8 || Le(h + 30, 4) != 0)
        return "not an uncompressed 256-colour picture";
    int32_t w = (int32_t)Le(h + 18, 4), ht = (int32_t)Le(h + 22, 4);
    if (w < 1 || w > 4096 || ht < 1 || ht > 4096) return "its width or height is damaged";
    uint32_t offset = Le(h + 10, 4), colours = Le(h + 46, 4);
    if (colours > 256 || offset < 54 + 4 * (colours ? colours : 256)) return "its palette is damaged";
    long long rows = ((long long)w + 3) / 4 * 4 * ht;
    if (!sized || (long long)st.st_size < offset + rows) return "the file is cut short";
    return NULL;
}

// name: the file within the data folder, e.g. "video/title.bmp".
static void LoadSheet(const char *name) {
    std::string file = DataFile(name);
    const char *path = file.c_str();
    if (const char *why = BmpDamage(path)) SysFatal("cannot load %s: %s", path, why);
    PALETTE p;
    memset(p, 0, sizeof p);  // a file with a short palette leaves the rest black
    BITMAP *b = load_bmp(path, p);
    if (!b) SysFatal("cannot load %s: the file is missing, unreadable or not a BMP picture", path);
    if (bitmap_color_depth(b) != 8) SysFatal("%s is not a 256-colour picture", path);
    if (b->w < 320 || b->h < 256) SysFatal("%s is %dx%d, smaller than the 320x256 screen", path, b->w, b->h);

    sheet = NULL;
    for (Sheet &s : sheets)
        if (s.path == path) sheet = &s;
    if (sheet && sheet->bmp->w == b->w && sheet->bmp->h == b->h) {
        blit(b, sheet->bmp, 0, 0, 0, 0, b->w, b->h);
        destroy_bitmap(b);
    } else if (sheet) {
        // The file changed size under us: start a new bitmap and keep the old
        // one, which sprite slots may still point into.
        sheet->bmp = b;
        sheet->cuts.clear();
    } else {
        sheets.push_back({path, b, {}});
        sheet = &sheets.back();
    }
    bg = sheet->bmp;
    memcpy(pal, p, sizeof pal);
}

static BITMAP *Cut(int x, int y, int w, int h) {
    for (const Piece &c : sheet->cuts)
        if (c.x == x && c.y == y && c.w == w && c.h == h) return c.bmp;
    if (x + w > bg->w || y + h > bg->h)
        SysFatal("%s is %dx%d, too small for the sprite at (%d, %d) of %dx%d", sheet->path.c_str(), bg->w,
                 bg->h, x, y, w, h);
    BITMAP *b = create_sub_bitmap(bg, x, y, w, h);
    sheet->cuts.push_back({x, y, w, h, b});
    return b;
}

// Sounds and music never change, so each file is read once.
template <typename T> static T *LoadOnce(const char *name, T *(*load)(const char *), const char *kind) {
    std::string file = DataFile(name);
    const char *path = file.c_str();
    for (const Loaded &l : sounds)
        if (l.path == path) return (T *)l.data;
    T *data = load(path);
    if (!data) SysFatal("cannot load %s: the file is missing, unreadable or not a %s", path, kind);
    sounds.push_back({path, data});
    return data;
}

static SAMPLE *Sound(const char *path) {
    return LoadOnce(path, load_sample, "WAV sound");
}
static MIDI *Music(const char *path) {
    return LoadOnce(path, load_midi, "MIDI file");
}

// ---------------------------------------------------------------------------
// Sprites of the play
// ---------------------------------------------------------------------------

static void CutStage1() {
    anim[0].spr[0] = Cut(301, 0, 18, 18);
    anim[0].spr[1] = Cut(282, 0, 18, 18);
    anim[0].spr[2] = Cut(263, 0, 18, 18);
    anim[0].frame = 0;
    anim[0].nframes = 3;
    for (int k = 0; k < 4; k++) boss.spr[k] = Cut(51 * k, 0, 50, 84);
    boss_bomb[0].spr[0] = boss_bomb[1].spr[0] = Cut(204, 0, 3, 29);
    boss_bomb[2].spr[0] = Cut(208, 0, 7, 29);
    boss_bomb[3].spr[0] = boss_bomb[4].spr[0] = Cut(216, 0, 4, 29);
}

static void CutStage2() {
    for (int k = 0; k < 4; k++) {
        anim[0].spr[k] = Cut(308 - 12 * k, 0, 11, 19);
        anim[1].spr[k] = Cut(228, 14 * k, 16, 13);
        boss.spr[k] = Cut(40 * k, 0, 39, 54);
        boss1.spr[k] = Cut(160, 18 * k, 30, 17);
        boss1.spr[4 + k] = Cut(197, 18 * k, 30, 17);
    }
    anim[0].frame = anim[1].frame = 0;
    anim[0].nframes = anim[1].nframes = 4;
    for (int i = 0; i < 6; i++) boss_bomb[i].spr[0] = Cut(191, 0, 5, 17);
}

static void CutStage3() {
    for (int k = 0; k < 2; k++) {
        boss.spr[k] = Cut(64 * k, 0, 63, 29);
        boss.spr[2 + k] = Cut(64 * k, 30, 63, 29);
    }
    for (int i = 0; i < 4; i++) {
        boss_bomb[i].spr[0] = Cut(128, 0, 16, 25);
        boss_bomb[i].spr[1] = Cut(145, 0, 16, 25);
    }
    boss1.spr[0] = boss2.spr[0] = boss3.spr[0] = Cut(176, 0, 13, 19);
    boss4.spr[0] = Cut(162, 0, 13, 19);
}

static void CutStage4() {
    for (int k = 0; k < 4; k++) boss.spr[k] = Cut(77 * k, 0, 76, 58);
    boss_bomb[0].spr[0] = Cut(231, 0, 13, 22);
    for (int i = 1; i < 6; i++) boss_bomb[i].spr[0] = Cut(245, 0, 5, 5);
}

static void CutStage5() {
    for (int k = 0; k < 2; k++) boss.spr[k] = Cut(97 * k, 0, 96, 32);
    boss.spr[2] = Cut(0, 33, 96, 32);
    for (int i = 0; i < 6; i++) boss_bomb[i].spr[0] = Cut(194, 0, 5, 5);
    for (int i = 6; i < 12; i++) boss_bomb[i].spr[0] = Cut(200, 0, 5, 16);
}

static void CutShots(shot_t *slots) {
    for (int i = 0; i < 4; i++) {
        for (int k = 0; k < 3; k++) slots[i].spr[k] = Cut(6 * k, 223, 5, 16);
        for (int k = 0; k < 7; k++) slots[i].spr[3 + k] = Cut(254, 26 + 33 * k, 32, 32);
        for (int m = 0; m < 4; m++)
            for (int n = 0; n < 2; n++) slots[i].spr[10 + 2 * m + n] = Cut(640 + 61 * n, 61 * m, 60, 60);
    }
}

// The sprites and sounds every stage shares.
static void CutPlaySet() {
    for (int k = 0; k < 7; k++) {
        player.spr[k] = Cut(17 * k, 240, 16, 16);
        player2.spr[k] = Cut(17 * k, 87, 16, 16);
    }
    for (int c = 0; c < 8; c++)
        for (int r = 0; r < 5; r++)
            for (int k = 0; k < 9; k++) alien[c][r].spr[k] = Cut(17 * k, 138 + 17 * r, 16, 16);
    for (int i = 0; i < 10; i++) bomb[i].spr[0] = Cut(0, 121, 16, 16);
    CutShots(bullet);
    CutShots(bullet2);
    for (int k = 0; k < 10; k++) bonus.spr[k] = Cut(18 + 17 * k, 223, 16, 16);
    for (int k = 0; k < 5; k++) bonus.spr[10 + k] = Cut(153, 138 + 17 * k, 16, 16);
    ship.spr[0] = Cut(34, 121, 48, 16);
    ship.spr[1] = Cut(83, 121, 48, 16);
    ship.spr[2] = Cut(34, 104, 48, 16);
    ship.spr[3] = Cut(83, 104, 48, 16);
    for (int k = 0; k < 7; k++) ship.spr[4 + k] = Cut(287, 26 + 33 * k, 32, 32);
    for (int k = 0; k < 5; k++) ship_bomb.spr[k] = Cut(221, 92 + 33 * k, 32, 32);
    for (int j = 0; j < 7; j++)
        for (int k = 0; k < 7; k++) explosion[j].spr[k] = Cut(287, 26 + 33 * k, 32, 32);
    board1 = Cut(320, 0, 320, 9);

    pl_fx[0] = Sound("audio/fire1.wav");
    pl_fx[1] = Sound("audio/boom2.wav");
    pl_fx[2] = Sound("audio/bell1.wav");
    pl_fx[3] = Sound("audio/error.wav");
    pl_fx[4] = Sound("audio/cash.wav");
    al_fx[0] = Sound("audio/boom1.wav");
    al_fx[1] = Sound("audio/hit1.wav");
    al_fx[2] = Sound("audio/fiii1.wav");
    al_fx[3] = Sound("audio/boom3.wav");
}

// Screens 1..5 are the stages, 6 the Old-mode backdrop.
static void LoadStage(int screen) {
    static const char *const files[] = {"",
                                        "video/stage1.bmp",
                                        "video/stage2.bmp",
                                        "video/stage3.bmp",
                                        "video/stage4.bmp",
                                        "video/stage5.bmp",
                                        "video/stageold.bmp"};
    static const int colours[][3] = {{0, 0, 0},  {6, 9, 178}, {4, 6, 36}, {1, 3, -1},
                                     {1, 4, -1}, {1, 4, 77},  {2, 10, -1}};  // bgcol, txcol, swcol (-1: keep)
    LoadSheet(files[screen]);
    bgcol = colours[screen][0];
    txcol = colours[screen][1];
    if (colours[screen][2] >= 0) swcol = colours[screen][2];
    switch (screen) {
    case 1:
        CutStage1();
        break;
    case 2:
        CutStage2();
        break;
    case 3:
        CutStage3();
        break;
    case 4:
        CutStage4();
        break;
    case 5:
        CutStage5();
        break;
    }
    text_bg = bgcol;
    SysSetPalette(pal);
    CutPlaySet();
}

// ---------------------------------------------------------------------------
// Screens with their own picture
// ---------------------------------------------------------------------------

// The cut-scene actors of the intro (-2) and the ending (-3).
static void CutStory(int screen) {
    for (int k = 0; k < 7; k++) intro[0].spr[k] = Cut(320 + 29 * k, 28, 28, 48);
    intro[1].spr[0] = Cut(320, 0, 60, 27);
    intro[2].spr[0] = Cut(320, 77, 70, 96);
    intro[3].spr[0] = Cut(320, 224, 19, 19);
    intro[3].spr[1] = Cut(320, 174, 33, 49);
    for (int k = 0; k < 4; k++) {
        intro[4].spr[k] = Cut(391 + 61 * k, 77, 60, 60);
        intro[4].spr[4 + k] = Cut(391 + 61 * k, 138, 60, 60);
    }
    if (screen == -3) {
        intro[0].spr[7] = Cut(523, 28, 28, 48);
        intro[0].spr[8] = Cut(381, 0, 53, 15);
        intro[0].spr[9] = Cut(435, 0, 53, 15);
        intro[5].spr[0] = Cut(320, 174, 20, 17);
        intro[5].spr[1] = Cut(341, 174, 20, 17);
    }
}

void LoadData(int screen) {
    switch (screen) {
    case -3:
        LoadSheet("video/final.bmp");
        CutStory(-3);
        pl_fx[0] = Sound("audio/boom2.wav");
        SysFadeOut(5);
        break;
    case -2:
        LoadSheet("video/intro.bmp");
        CutStory(-2);
        bgsound = Music("audio/bgsound.mid");
        pl_fx[0] = Sound("audio/fire1.wav");
        pl_fx[1] = Sound("audio/boom2.wav");
        pl_fx[2] = Sound("audio/fiii1.wav");
        SysFadeOut(5);
        break;
    case -1:
        LoadSheet("video/shop.bmp");
        shop[0] = Cut(320, 0, 27, 26);
        shop[1] = Cut(348, 0, 27, 26);
        shop[2] = Cut(376, 0, 27, 26);
        shop[3] = Cut(404, 0, 27, 26);
        SysFadeOut(5);
        break;
    case 0:
        pl_fx[2] = Sound("audio/bell1.wav");
        LoadSheet("video/title.bmp");
        SysFadeOut(5);
        break;
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
        LoadStage(screen);
        break;
    }
}
