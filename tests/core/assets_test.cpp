// Loading every screen: sheets, palettes, colours, sounds, memory that
// stays flat, and a clear stop on a missing file.

#include "support/harness.h"
#include "support/shown_text.h"
#include "aliens/aliens.h"
#include "bosses/bosses.h"
#include "frontend/frontend.h"
#include "players/players.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <malloc.h>

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
