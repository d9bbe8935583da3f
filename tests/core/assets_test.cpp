// Loading every screen: colours, palettes, sounds, sheets read afresh,
// memory that stays flat, and a clear stop on a missing or damaged file.

#include "support/harness.h"
#include "support/shown_text.h"
#include "players/players.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <random>
#include <unistd.h>
#include <vector>

namespace {

// Each stage brings its colours and shows its palette at once; other screens
// fade out first. A sheet is read afresh at each load (the title draws its
// menus on it) into the same bitmap, and sprites cut before stay valid.
TEST(Assets, EachScreenBringsItsColoursSoundsAndAFreshSheet) {
    Fresh();
    const int stages[][4] = {{1, 6, 9, 178}, {2, 4, 6, 36}, {3, 1, 3, 36},
                             {4, 1, 4, 36},  {5, 1, 4, 77}, {6, 2, 10, 77}};  // 3, 4, Old keep the shadow
    for (const auto &s : stages) {
        SCOPED_TRACE(s[0]);
        LoadData(s[0]);
        EXPECT_EQ(HeadlessFrame(), 0);
        EXPECT_EQ(std::vector<int>({bgcol, txcol, swcol, text_bg}),
                  std::vector<int>({s[1], s[2], s[3], s[1]}));
        EXPECT_EQ(memcmp(HeadlessPalette(), pal, sizeof(PALETTE)), 0);
    }
    LoadData(1);
    BITMAP *ship = player.spr[3];
    LoadData(0);
    EXPECT_GT(HeadlessFrame(), 15);  // fade_out(5)
    for (int i = 0; i < 256; i++)
        ASSERT_EQ(HeadlessPalette()[i].r + HeadlessPalette()[i].g + HeadlessPalette()[i].b, 0);
    // The intro swaps the third sound (the bell) for its fighters' whistle;
    // the ending keeps it, the title brings the bell back.
    SAMPLE *bell = pl_fx[2];
    BITMAP *sheet = bg;
    int before = getpixel(bg, 100, 100);
    putpixel(bg, 100, 100, before + 1);
    LoadData(-2);
    SAMPLE *whistle = pl_fx[2];
    LoadData(-3);
    EXPECT_NE(whistle, bell);
    EXPECT_EQ(pl_fx[2], whistle);
    LoadData(0);
    EXPECT_EQ(pl_fx[2], bell);
    EXPECT_EQ(bg, sheet);
    EXPECT_EQ(getpixel(bg, 100, 100), before);
    LoadData(3);
    LoadData(1);
    EXPECT_EQ(player.spr[3], ship);
}

#if !defined(__SANITIZE_ADDRESS__)
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

// The program starting a game on a copy of the data with one file missing,
// damaged or too small stops with status 2 and names it.
TEST(Assets, AMissingOrDamagedFileStopsTheGameNamingIt) {
    const std::string title = Slurp(SourcePath("data/video/title.bmp")),
                      bad = "cannot load data/video/title.bmp: ";
    const struct {
        const char *file;
        std::string content, message;  // content "-": no file
    } cases[] = {
        {"video/stage1.bmp", "-", "cannot load data/video/stage1.bmp"},
        {"audio/cash.wav", "-", "cannot load data/audio/cash.wav"},
        {"video/stage1.bmp", Slurp(SourcePath("data/video/shop.bmp")), "stage1.bmp is 432x256, too small"},
        {"video/title.bmp", "BM this is not a picture", bad},
        {"video/title.bmp", title.substr(0, title.size() / 2), bad},
        {"video/title.bmp", Patched(title, 28, 24), bad},                 // 24 bits a pixel
        {"video/title.bmp", Patched(title, 10, title.size() + 10), bad},  // pixels past the end
        {"video/title.bmp", Patched(Patched(title, 46, 100000), 10, 54 + 4 * 100000),
         bad},  // palette entries
        {"video/title.bmp", Patched(Patched(title, 18, 1 << 20), 22, 1 << 20),
         bad + "its width or height is damaged"}};
    std::string dir = ScratchDir() + "/broken";
    WriteFile(ScratchDir() + "/start.txt", "140 press DOWN\n142 press DOWN\n144 press DOWN\n146 press DOWN\n"
                                           "150 press SPACE\n");
    for (const auto &k : cases) {
        std::string cmd = "rm -rf '" + dir + "' && mkdir '" + dir + "' && cp -r '" + SourcePath("data") +
                          "' '" + dir + "/data'";
        ASSERT_EQ(system(cmd.c_str()), 0);
        std::string path = dir + "/data/" + k.file;
        k.content == "-" ? (void)std::remove(path.c_str()) : WriteFile(path, k.content);
        int status;
        std::string out = RunProgram("--headless --script ../start.txt --frames 600", &status, dir);
        EXPECT_EQ(status, 2) << k.file;
        EXPECT_NE(out.find(k.message), std::string::npos) << out;
        EXPECT_EQ(out.find("frames="), std::string::npos) << "the run must stop, not go on";
    }
}

// Random damage to a picture's header and length: the check refuses it, or
// the library loads it as an 8-bit picture of the size its header gives.
TEST(Assets, FuzzedPictureHeadersAreRefusedOrLoadExactly) {
    const std::string base = Slurp(SourcePath("data/video/icon.bmp")), path = ScratchDir() + "/fuzz.bmp";
    std::mt19937 next(12345);
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
        if (BmpDamage(path.c_str()) && ++refused) continue;
        accepted++;
        PALETTE p;
        BITMAP *l = load_bmp(path.c_str(), p);
        ASSERT_NE(l, nullptr) << run;
        EXPECT_EQ(bitmap_color_depth(l), 8);
        EXPECT_EQ(l->w, (unsigned char)f[18] | (unsigned char)f[19] << 8) << run;
        EXPECT_EQ(l->h, (unsigned char)f[22] | (unsigned char)f[23] << 8) << run;
        destroy_bitmap(l);
    }
    EXPECT_GT(accepted, 300);
    EXPECT_GT(refused, 300);
}

}  // namespace
