// Loading every screen: sheets, palettes, colours, sounds, memory that
// stays flat, and a clear stop on a missing file.

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

// Each stage brings its colours and shows its palette at once.
TEST(Assets, EveryStageHasItsColours) {
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
    }
}

// The intro's sheet swaps the third sound for its own; screens keep the
// slots they do not load.
TEST(Assets, TheIntroBringsItsOwnThirdSound) {
    Fresh();
    LoadData(0);
    SAMPLE *bell = pl_fx[2];
    LoadData(-2);
    EXPECT_NE(pl_fx[2], bell) << "after the intro the third sound is the fighters' whistle";
    SAMPLE *whistle = pl_fx[2];
    LoadData(-3);
    EXPECT_EQ(pl_fx[2], whistle);
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
