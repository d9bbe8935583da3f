// The game's runtime: loading, the frame clock, the overlap tests and the
// backdrop's animation.

#include "support/harness.h"
#include "support/shown_text.h"
#include "players/players.h"
#include "support/reference_hit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <malloc.h>
#include <random>
#include <set>
#include <vector>

namespace {

// Loading every screen: colours, palettes, sounds, sheets read afresh,
// memory that stays flat, and a clear stop on a missing or damaged file.

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
    EXPECT_EQ(memcmp(HeadlessPalette(), black_palette, sizeof(PALETTE)), 0);
    // The intro swaps the third sound (the bell) for its fighters' whistle;
    // the ending keeps it, the title brings the bell back.
    std::vector<const void *> seen = {pl_fx[2], bg};  // sound, sheet: title, intro, ending, title
    int before = getpixel(bg, 100, 100);
    putpixel(bg, 100, 100, before + 1);
    for (int screen : {-2, -3, 0}) LoadData(screen), seen.insert(seen.end(), {pl_fx[2], bg});
    EXPECT_TRUE(seen[2] != seen[0] && seen[4] == seen[2] && seen[6] == seen[0]) << "the third sound";
    EXPECT_EQ(seen[7], seen[1]) << "the title's sheet read into another bitmap";
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

// The frame clock on the virtual clock: tick spacing, the pause, wait and
// the random numbers.

// Frames are 16.67 ms. A flag rises on the first frame more than its period
// after its timestamp, taken at the start of the frame after the tick, and
// holds for that frame only: 150, 80, 500, 1100 and 3000 ms; 5 ms is shorter
// than a frame, so every frame.
TEST(Clock, TicksComeOneFramePlusTheirPeriodApartAndHoldForOneFrame) {
    bool *flags[] = {&syn, &synf, &syns, &syns2, &synss, &synff};
    const std::vector<long> want[] = {
        {10, 20, 30, 40, 50, 60}, {5, 10, 15, 20, 25, 30}, {31, 62, 93}, {67, 134}, {181, 362},
        {1, 2, 3, 4, 5}};
    for (int k = 0; k < 6; k++) {
        Fresh();
        std::vector<long> at;
        while (HeadlessFrame() < want[k].back())
            if (Sync(), *flags[k]) at.push_back(HeadlessFrame());
        EXPECT_EQ(at, want[k]) << k;
    }
}

TEST(Clock, PHoldsTheGameUntilRAndTheTicksCatchUpAndWaitTakesItsTime) {
    Fresh("101 down P\n130 up P\n400 down R\n600 up R\n");
    for (int i = 0; i < 100; i++) Sync();
    long presents = HeadlessPresents();
    Sync();  // reaches frame 101, finds P held and returns only when R is
    EXPECT_EQ(HeadlessFrame(), 400);
    EXPECT_EQ(HeadlessPresents(), presents);
    Sync();  // every period ran out during the pause: all ticks at once
    EXPECT_TRUE(syn && synf && syns && syns2 && synss);

    Fresh();
    std::vector<long> msec;
    for (int ms : {0, 500, 7}) wait(ms), msec.push_back(SysMsec());
    EXPECT_EQ(msec, std::vector<long>({0, 500, 507}));
    EXPECT_EQ(HeadlessFrame(), 30);
}

// Each bound gives every number from 0 to it (the same sequence from the
// start of every run is pinned by the kept recordings); a negative bound (the bombs of very high Old-mode
// levels) gives 0..-(n + 2).
TEST(Random, Ranges) {
    for (int n : {0, 5, -10}) {
        std::set<int> seen;
        for (int i = 0; i < 2000; i++) seen.insert(Random(n));
        EXPECT_EQ(seen.size(), n < 0 ? 9u : n + 1u) << n;
        EXPECT_EQ(*seen.begin(), 0) << n;
        EXPECT_EQ(*seen.rbegin(), n < 0 ? -(n + 2) : n) << n;
    }
}

// The overlap tests against the four-loop definition.

// Random pairs cut from sheets as the game cuts its sprites, so the rows
// are views into a wider bitmap: many near misses and touching boxes, both
// outcomes common, and sampling that must follow a's own corner.
TEST(HitTest, MatchesTheFourLoopDefinitionOnRandomPairsOfSheetSprites) {
    std::mt19937 rng(7);
    BITMAP *sheet[4];
    for (int f = 0; f < 4; f++) {  // 0 %, 10 %, 20 %, 30 % opaque
        clear_to_color(sheet[f] = create_bitmap_ex(8, 200, 100), 0);
        for (int y = 0; y < 100; y++)
            for (int x = 0; x < 200; x++)
                if ((int)(rng() % 10) < f) sheet[f]->line[y][x] = 1 + rng() % 200;
    }
    int hits = 0, fast_hits = 0, cases = 0;
    for (int n = 0; n < 400; n++) {
        BITMAP *s = sheet[rng() % 4];
        BITMAP *a = create_sub_bitmap(s, rng() % 100, rng() % 50, 1 + rng() % 40, 1 + rng() % 40),
               *b = create_sub_bitmap(s, rng() % 100, rng() % 50, 1 + rng() % 20, 1 + rng() % 20);
        for (int k = 0; k < 25; k++, cases++) {
            int ax = (int)(rng() % 60) - 30, ay = (int)(rng() % 60) - 30, bx = rng() % 20, by = rng() % 20;
            int want = ReferenceHit(a, b, ax, ay, bx, by, 1),
                want_fast = ReferenceHit(a, b, ax, ay, bx, by, 3);
            ASSERT_EQ(hitTest(a, b, ax, ay, bx, by), want)
                << a->w << "x" << a->h << " at " << ax << "," << ay;
            ASSERT_EQ(hitTestFast(a, b, ax, ay, bx, by), want_fast) << a->w << "x" << a->h << " at " << ax;
            hits += want;
            fast_hits += want_fast;
        }
        destroy_bitmap(a);
        destroy_bitmap(b);
    }
    for (BITMAP *s : sheet) destroy_bitmap(s);
    // Both outcomes must be well represented, or the comparison proves little.
    EXPECT_TRUE(hits > cases / 10 && hits < cases * 9 / 10) << hits;
    EXPECT_TRUE(fast_hits > cases / 40 && fast_hits < hits) << fast_hits;
}

// The backdrop's animated details (the backdrop itself is on the kept
// recordings' pictures).

// Runs n frames of the backdrop's animation on the level: each detail's
// image is drawn at its place; returns the steps each detail took.
std::vector<int> Animate(int lv, int n, const std::vector<std::pair<int, int>> &at) {
    level = lv;
    std::vector<int> steps(at.size());
    for (int i = 0; i < n; i++) {
        Sync();
        Paint();
        int was[2] = {anim[0].frame, anim[1].frame};
        Animation();
        for (size_t d = 0; d < at.size(); d++) {
            BITMAP *s = anim[d].spr[was[d]];
            int off = 0;
            for (int j = 0; j < s->h; j++)
                for (int k = 0; k < s->w; k++)
                    off += s->line[j][k] && buffer->line[at[d].second + j][at[d].first + k] != s->line[j][k];
            EXPECT_EQ(off, 0) << "detail " << d;
            EXPECT_TRUE(anim[d].frame == was[d] || anim[d].frame == (was[d] + 1) % anim[d].nframes);
            steps[d] += anim[d].frame != was[d];
        }
    }
    return steps;
}

TEST(Screen, StageOneAndTwoAnimateTheirDetailsOnTheirTicksAndLaterStagesNone) {
    Fresh();
    LoadData(1);
    EXPECT_EQ(Animate(3, 100, {{148, 166}}), std::vector<int>({10}));  // a 150 ms tick every 10 frames
    anim[0].frame = 2;
    LoadData(2);  // the stage-2 sheet starts both cycles from their first image
    EXPECT_EQ(anim[0].frame + anim[1].frame, 0);
    // 500 ms ticks every 31 frames, 80 ms ticks every 5 frames.
    EXPECT_EQ(Animate(6, 200, {{119, 109}, {211, 55}}), std::vector<int>({6, 40}));

    LoadData(3);
    level = 12;
    Paint();
    std::vector<unsigned char> was(buffer->line[0], buffer->line[256]);  // a memory bitmap: rows in one block
    Animation();
    EXPECT_TRUE(std::equal(was.begin(), was.end(), buffer->line[0]));
}

}  // namespace
