// Loading every screen: sheets, palettes, colours, every sprite rectangle,
// sounds, memory that stays flat, and a clear stop on a missing file. (A
// missing sound or sheet ends the program, so every slot here is loaded.)

#include "support/harness.h"
#include "support/shown_text.h"
#include "aliens/aliens.h"
#include "bosses/bosses.h"
#include "frontend/frontend.h"
#include "players/players.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <unistd.h>

namespace {

int Opaque(BITMAP *b) {
    int n = 0;
    for (int y = 0; y < b->h; y++)
        for (int x = 0; x < b->w; x++) n += b->line[y][x] != 0;
    return n;
}

// A sprite is a w x h view of the current sheet at (x, y) with something
// drawn in it; all but the thinnest (beams, shots) on a transparent ground.
void ExpectSprite(BITMAP *s, int x, int y, int w, int h, const char *what, bool shaped = true) {
    ASSERT_NE(s, nullptr) << what;
    EXPECT_EQ(s->w, w) << what;
    EXPECT_EQ(s->h, h) << what;
    EXPECT_EQ(s->line[0], bg->line[y] + x) << what << ": not a view of the sheet at " << x << "," << y;
    EXPECT_GT(Opaque(s), 0) << what << " is empty";
    if (shaped && w >= 8 && h >= 8) {
        EXPECT_LT(Opaque(s), w * h) << what << " has no transparent pixel";
    }
}

void ExpectPlaySet() {
    for (int k = 0; k < 7; k++) {
        ExpectSprite(player.spr[k], 17 * k, 240, 16, 16, "player");
        ExpectSprite(player2.spr[k], 17 * k, 87, 16, 16, "player2");
    }
    for (int c = 0; c < 8; c++)
        for (int r = 0; r < 5; r++)
            for (int k = 0; k < 9; k++)
                ExpectSprite(alien[c][r].spr[k], 17 * k, 138 + 17 * r, 16, 16, "alien");
    for (int i = 0; i < 10; i++) ExpectSprite(bomb[i].spr[0], 0, 121, 16, 16, "bomb");
    for (shot_t *slots : {bullet, bullet2})
        for (int i = 0; i < 4; i++) {
            for (int k = 0; k < 3; k++) ExpectSprite(slots[i].spr[k], 6 * k, 223, 5, 16, "shot");
            for (int k = 0; k < 7; k++)
                ExpectSprite(slots[i].spr[3 + k], 254, 26 + 33 * k, 32, 32, "small blast");
            for (int m = 0; m < 4; m++)
                for (int n = 0; n < 2; n++)
                    ExpectSprite(slots[i].spr[10 + 2 * m + n], 640 + 61 * n, 61 * m, 60, 60, "large blast");
        }
    for (int k = 0; k < 10; k++) ExpectSprite(bonus.spr[k], 18 + 17 * k, 223, 16, 16, "bonus");
    for (int k = 0; k < 5; k++)
        ExpectSprite(bonus.spr[10 + k], 153, 138 + 17 * k, 16, 16, "bonus taken by 2");
    ExpectSprite(ship.spr[0], 34, 121, 48, 16, "mother ship right");
    ExpectSprite(ship.spr[1], 83, 121, 48, 16, "mother ship left");
    ExpectSprite(ship.spr[2], 34, 104, 48, 16, "mother ship flash");
    ExpectSprite(ship.spr[3], 83, 104, 48, 16, "mother ship flash");
    for (int k = 0; k < 7; k++)
        ExpectSprite(ship.spr[4 + k], 287, 26 + 33 * k, 32, 32, "mother ship explosion");
    for (int k = 0; k < 5; k++) ExpectSprite(ship_bomb.spr[k], 221, 92 + 33 * k, 32, 32, "mother ship bomb");
    for (int j = 0; j < 7; j++)
        for (int k = 0; k < 7; k++)
            ExpectSprite(explosion[j].spr[k], 287, 26 + 33 * k, 32, 32, "boss explosion");
    ExpectSprite(board1, 320, 0, 320, 9, "status strip", false);
}

TEST(Assets, EveryStageCutsItsSpritesAndColours) {
    Fresh();
    struct {
        int screen, bgcol, txcol, swcol;
    } stages[] = {{1, 6, 9, 178}, {2, 4, 6, 36}, {3, 1, 3, 36}, {4, 1, 4, 36}, {5, 1, 4, 77}, {6, 2, 10, 77}};
    for (const auto &s : stages) {
        SCOPED_TRACE(s.screen);
        LoadData(s.screen);
        EXPECT_EQ(bgcol, s.bgcol);
        EXPECT_EQ(txcol, s.txcol);
        EXPECT_EQ(swcol, s.swcol);  // stages 3, 4 and Old keep the previous shadow colour
        EXPECT_EQ(text_bg, bgcol);
        EXPECT_EQ(memcmp(HeadlessPalette(), pal, sizeof(PALETTE)), 0)
            << "the stage palette is on display at once";
        ExpectPlaySet();
        switch (s.screen) {
        case 1:
            ExpectSprite(anim[0].spr[0], 301, 0, 18, 18, "fire");
            ExpectSprite(anim[0].spr[2], 263, 0, 18, 18, "fire");
            EXPECT_EQ(anim[0].nframes, 3);
            for (int k = 0; k < 4; k++) ExpectSprite(boss.spr[k], 51 * k, 0, 50, 84, "boss 1");
            ExpectSprite(boss_bomb[1].spr[0], 204, 0, 3, 29, "beam");
            ExpectSprite(boss_bomb[2].spr[0], 208, 0, 7, 29, "beam");
            ExpectSprite(boss_bomb[4].spr[0], 216, 0, 4, 29, "beam");
            break;
        case 2:
            for (int k = 0; k < 4; k++) {
                ExpectSprite(anim[0].spr[k], 308 - 12 * k, 0, 11, 19, "stage 2 detail");
                ExpectSprite(anim[1].spr[k], 228, 14 * k, 16, 13, "stage 2 detail");
                ExpectSprite(boss.spr[k], 40 * k, 0, 39, 54, "boss 2");
                ExpectSprite(boss1.spr[k], 160, 18 * k, 30, 17, "pod");
                ExpectSprite(boss1.spr[4 + k], 197, 18 * k, 30, 17, "pod burning");
            }
            EXPECT_EQ(anim[1].nframes, 4);
            ExpectSprite(boss_bomb[5].spr[0], 191, 0, 5, 17, "boss 2 bomb");
            break;
        case 3:
            ExpectSprite(boss.spr[1], 64, 0, 63, 29, "boss 3");
            ExpectSprite(boss.spr[3], 64, 30, 63, 29, "boss 3 flash");
            ExpectSprite(boss_bomb[3].spr[1], 145, 0, 16, 25, "boss 3 bomb");
            ExpectSprite(boss3.spr[0], 176, 0, 13, 19, "arm");
            ExpectSprite(boss4.spr[0], 162, 0, 13, 19, "arm tip");
            break;
        case 4:
            ExpectSprite(boss.spr[2], 154, 0, 76, 58, "boss 4");
            ExpectSprite(boss_bomb[0].spr[0], 231, 0, 13, 22, "boss 4 bomb");
            ExpectSprite(boss_bomb[5].spr[0], 245, 0, 5, 5, "pellet");
            break;
        case 5:
            ExpectSprite(boss.spr[1], 97, 0, 96, 32, "boss 5");
            ExpectSprite(boss.spr[2], 0, 33, 96, 32, "boss 5 flash");
            ExpectSprite(boss_bomb[0].spr[0], 194, 0, 5, 5, "pellet");
            ExpectSprite(boss_bomb[11].spr[0], 200, 0, 5, 16, "long bomb");
            break;
        }
    }
}

TEST(Assets, TheTitleShopIntroAndEndingScreens) {
    Fresh();
    LoadData(0);
    SAMPLE *bell = pl_fx[2];

    LoadData(-1);
    for (int k = 0; k < 4; k++) ExpectSprite(shop[k], 320 + 28 * k, 0, 27, 26, "shop cell", false);

    LoadData(-2);
    EXPECT_NE(pl_fx[2], bell) << "after the intro the third sound is the fighters' whistle";
    SAMPLE *whistle = pl_fx[2];
    for (int k = 0; k < 7; k++) ExpectSprite(intro[0].spr[k], 320 + 29 * k, 28, 28, 48, "commander");
    ExpectSprite(intro[1].spr[0], 320, 0, 60, 27, "fixed image");
    ExpectSprite(intro[2].spr[0], 320, 77, 70, 96, "foreground");
    ExpectSprite(intro[3].spr[0], 320, 224, 19, 19, "shot");
    ExpectSprite(intro[3].spr[1], 320, 174, 33, 49, "fighter");
    for (int k = 0; k < 4; k++) {
        ExpectSprite(intro[4].spr[k], 391 + 61 * k, 77, 60, 60, "impact");
        ExpectSprite(intro[4].spr[4 + k], 391 + 61 * k, 138, 60, 60, "explosion");
    }

    LoadData(-3);
    ExpectSprite(intro[0].spr[7], 523, 28, 28, 48, "commander's cry");
    ExpectSprite(intro[0].spr[8], 381, 0, 53, 15, "fallen commander");
    ExpectSprite(intro[0].spr[9], 435, 0, 53, 15, "fallen commander");
    ExpectSprite(intro[5].spr[0], 320, 174, 20, 17, "small figure");
    ExpectSprite(intro[5].spr[1], 341, 174, 20, 17, "small figure");
    EXPECT_EQ(pl_fx[2], whistle) << "screens keep the slots they do not load";

    LoadData(0);
    EXPECT_EQ(pl_fx[2], bell);
}

TEST(Assets, StagesShowAtOnceOtherScreensFadeOutAndReloadingGivesAFreshPictureAndTheSameSprites) {
    Fresh();
    LoadData(1);
    BITMAP *first = player.spr[3];
    LoadData(2);
    EXPECT_EQ(HeadlessFrame(), 0);
    LoadData(0);
    EXPECT_GT(HeadlessFrame(), 15);  // fade_out(5)
    for (int i = 0; i < 256; i++)
        ASSERT_EQ(HeadlessPalette()[i].r + HeadlessPalette()[i].g + HeadlessPalette()[i].b, 0);

    int before = getpixel(bg, 100, 100);
    putpixel(bg, 100, 100, before + 1);  // the title draws its menus on its sheet
    BITMAP *sheet = bg;
    LoadData(0);
    EXPECT_EQ(bg, sheet);
    EXPECT_EQ(getpixel(bg, 100, 100), before);
    LoadData(3);
    LoadData(1);
    EXPECT_EQ(player.spr[3], first);
}

#if defined(__SANITIZE_ADDRESS__)
TEST(Assets, DISABLED_MemoryStaysFlatOverManyLoads) {}
#else
TEST(Assets, MemoryStaysFlatOverManyLoads) {
    Fresh();
    for (int s = -3; s <= 6; s++) LoadData(s);  // warm up: every sheet once
    size_t before = mallinfo2().uordblks;
    for (int round = 0; round < 20; round++)
        for (int s = -3; s <= 6; s++) LoadData(s);
    size_t after = mallinfo2().uordblks;
    EXPECT_LT(after, before + 16 * 1024) << "200 loads grew the heap by " << after - before << " bytes";
}
#endif

TEST(Assets, AMissingOrBrokenFileStopsTheGameNamingIt) {
    // A picture too small for the sprites it must hold.
    PALETTE p = {};
    BITMAP *small = create_bitmap_ex(8, 400, 256);
    clear_to_color(small, 3);
    std::string tmp = ScratchDir() + "/small.bmp";
    save_bmp(tmp.c_str(), small, p);
    destroy_bitmap(small);
    const struct {
        const char *file;
        std::string content;  // what the file holds, or "-" for no file
        const char *message;
    } cases[] = {{"video/stage1.bmp", "-", "data/video/stage1.bmp"},
                 {"video/title.bmp", "BM this is not a picture", "data/video/title.bmp"},
                 {"audio/cash.wav", "-", "data/audio/cash.wav"},
                 {"video/stage1.bmp", Slurp(tmp), "data/video/stage1.bmp is 400x256, too small"}};
    for (const auto &k : cases) {
        // The program on a copy of the data with the file broken, starting a game.
        std::string dir = ScratchDir() + "/broken";
        std::string cmd = "rm -rf '" + dir + "' && mkdir -p '" + dir + "' && cp -r '" + SourcePath("data") +
                          "' '" + dir + "/data'";
        ASSERT_EQ(system(cmd.c_str()), 0);
        std::string path = dir + "/data/" + k.file;
        if (k.content == "-")
            std::remove(path.c_str());
        else
            WriteFile(path, k.content);
        WriteFile(dir + "/start.txt",
                  "140 press DOWN\n142 press DOWN\n144 press DOWN\n146 press DOWN\n150 press SPACE\n");
        int status;
        std::string out = RunProgram("--headless --script start.txt --frames 600", &status, dir);
        EXPECT_EQ(status, 2) << k.file;
        EXPECT_NE(out.find(k.message), std::string::npos) << out;
        EXPECT_EQ(out.find("frames="), std::string::npos) << "the run must stop, not go on";
    }
}

}  // namespace

namespace {

void PutLe(std::string &f, size_t at, uint32_t v) {
    for (int i = 0; i < 4; i++) f[at + i] = (char)(v >> (8 * i));
}

TEST(Assets, EachDamagedPictureStopsTheGameNamingIt) {
    const std::string title = Slurp(SourcePath("data/video/title.bmp"));
    std::string half = title.substr(0, title.size() / 2), deep = title, past = title, colours = title,
                huge = title;
    PutLe(deep, 28, 24);                           // 24 bits a pixel
    PutLe(past, 10, (uint32_t)title.size() + 10);  // pixel offset past the end
    PutLe(colours, 46, 100000);                    // palette entries
    PutLe(colours, 10, 54 + 4 * 100000);
    PutLe(huge, 18, 1 << 20);
    PutLe(huge, 22, 1 << 20);
    for (const std::string &damaged : {half, deep, past, colours, huge}) {
        ScratchSubdir dir("damaged");
        std::string cmd =
            "rm data && mkdir -p data/video && ln -s '" + SourcePath("data/audio") + "' data/audio";
        ASSERT_EQ(system(cmd.c_str()), 0);
        WriteFile("data/video/title.bmp", damaged);
        EXPECT_EXIT(LoadData(0), ::testing::ExitedWithCode(2), "cannot load data/video/title.bmp: ");
    }
}

// Pictures with random damage to their headers and length: the check either
// refuses one, or the library loads it as an 8-bit picture of the size its
// header gives.
TEST(Assets, FuzzedPictureHeadersAreRefusedOrLoadExactly) {
    for (const char *sheet :
         {"title", "shop", "intro", "final", "stage1", "stage2", "stage3", "stage4", "stage5", "stageold"})
        EXPECT_EQ(BmpDamage(("data/video/" + std::string(sheet) + ".bmp").c_str()), nullptr) << sheet;
    BITMAP *b = create_bitmap_ex(8, 37, 9);
    for (int y = 0; y < 9; y++)
        for (int x = 0; x < 37; x++) putpixel(b, x, y, x * y);
    PALETTE p = {};
    std::string path = ScratchDir() + "/fuzz.bmp";
    save_bmp(path.c_str(), b, p);
    destroy_bitmap(b);
    const std::string base = Slurp(path);
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245 + 12345, seed >> 8; };
    int accepted = 0, refused = 0;
    for (int run = 0; run < 3000; run++) {
        std::string f = base;
        for (int k = 1 + next() % 3; k > 0; k--) {
            size_t at = next() % 54;
            f[at] = next() % 4 ? (char)next() : (char)(f[at] ^ (1 << next() % 8));
        }
        if (next() % 4 == 0) f.resize(next() % f.size());
        unlink(path.c_str());  // a rewrite in place would be flushed to disk each time
        WriteFile(path, f);
        if (BmpDamage(path.c_str())) {
            refused++;
            continue;
        }
        accepted++;
        BITMAP *l = load_bmp(path.c_str(), p);
        ASSERT_NE(l, nullptr) << run;
        EXPECT_EQ(bitmap_color_depth(l), 8);
        EXPECT_EQ(l->w, (int)(unsigned char)f[18] | (unsigned char)f[19] << 8) << run;
        EXPECT_EQ(l->h, (int)(unsigned char)f[22] | (unsigned char)f[23] << 8) << run;
        destroy_bitmap(l);
    }
    EXPECT_GT(accepted, 300);
    EXPECT_GT(refused, 300);
}

}  // namespace
