// The headless runner: scripts, scripted keys and readkey, the frame limit,
// fades, screenshots, the final line, and the same result from the same script.

#include "support/harness.h"
#include "support/shown_text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const std::string TO_GAME =
    "140 press DOWN\n142 press DOWN\n144 press DOWN\n146 press DOWN\n150 press SPACE\n";

TEST(Script, RejectsWhatItCannotReadNamingTheLine) {
    const char *bad[][2] = {{"10 press NOSUCHKEY\n", "line 1: unknown key 'NOSUCHKEY'"},
                            {"# fine\n10 hold LEFT\n", "line 2"},
                            {"soon press SPACE\n", "line 1"},
                            {"-3 press SPACE\n", "line 1"},
                            {"5 down LEFT RIGHT\n", "line 1"}};
    for (const auto &b : bad) {
        std::string err;
        HeadlessReset();
        EXPECT_FALSE(HeadlessParseScript(b[0], &err)) << b[0];
        EXPECT_NE(err.find(b[1]), std::string::npos) << err;
    }
    std::string err;
    HeadlessReset();
    EXPECT_TRUE(HeadlessParseScript("  # comment\n\n5 down LEFT   # hold it\r\n9 up LEFT\n", &err)) << err;
}

TEST(Script, KeysAreHeldFromTheirFrame) {
    Fresh("3 down LEFT\n6 up LEFT\n8 press SPACE\n13 press A\n12 press A\n20 press Z\n");
    std::string left, space, a;
    for (int f = 1; f <= 14; f++) {
        Sync();
        left += key[KEY_LEFT] == -1 ? 'L' : key[KEY_LEFT] ? '?' : '.';  // held is Allegro's TRUE
        space += key[KEY_SPACE] ? 'S' : '.';
        a += key[KEY_A] ? 'A' : '.';
    }
    EXPECT_EQ(left, "..LLL.........");
    EXPECT_EQ(space, ".......S......");
    EXPECT_EQ(a, "...........AA.");  // pressed on two frames running, in any order: held through both
}

TEST(Script, ReadkeyWaitsForTheNextPressAndSeesItHeld) {
    Fresh("50 press ENTER\n60 press G\n70 type Ab1 x\n");
    EXPECT_EQ(SysReadKey(), KEY_ENTER << 8 | 13);
    EXPECT_EQ(HeadlessFrame(), 50);
    EXPECT_TRUE(key[KEY_ENTER]);
    EXPECT_EQ(SysReadKey(), KEY_G << 8 | 'g');
    EXPECT_TRUE(key[KEY_G]);
    std::string typed;
    int k = 0;
    for (int i = 0; i < 5; i++) {
        typed += (char)((k = SysReadKey()) & 255);
        EXPECT_EQ(HeadlessFrame(), 70 + i);
    }
    EXPECT_EQ(typed, "Ab1 x");
    EXPECT_EQ(k >> 8, KEY_X);
    EXPECT_THROW(SysReadKey(), RunOver);  // nothing left to read ends the run

    // Clearing the key buffer forgets the presses that already happened, but
    // not one of the very frame.
    Fresh("10 press A\n20 press B\n40 press C\n40 press D\n");
    wait(500);  // frame 30: A and B are in the past
    SysClearKeybuf();
    EXPECT_EQ(SysReadKey() & 255, 'c');
    SysClearKeybuf();
    EXPECT_EQ(SysReadKey() & 255, 'd');
}

TEST(Script, TheFrameLimitAndTheScriptEndStopTheRun) {
    Fresh("", 25);
    int frames = 0;
    EXPECT_THROW(
        for (;;) {
            Sync();
            frames++;
        },
        RunOver);
    EXPECT_EQ(frames, 24);
    EXPECT_EQ(HeadlessFrame(), 25);

    Fresh("30 press SPACE\n");  // no limit: the run ends after the script's last event
    EXPECT_THROW(for (;;) Sync(), RunOver);
    EXPECT_EQ(HeadlessFrame(), 32);

    Fresh("500 press SPACE\n", 100);  // a readkey waiting past the limit stops at the limit
    EXPECT_THROW(SysReadKey(), RunOver);
    EXPECT_EQ(HeadlessFrame(), 100);
}

TEST(Script, FadesTakeTheirLiveTimeAndShowInThePalette) {
    Fresh();
    PALETTE p;
    for (int i = 0; i < 256; i++) p[i].r = p[i].g = p[i].b = 63;
    SysFadeIn(p, 2);
    EXPECT_NEAR(HeadlessFrame() * 1000 / 60, 915, 35);  // Allegro's fade_in(p, 2) takes about 0.91 s
    EXPECT_EQ(HeadlessPalette()[7].g, 63);
    long before = HeadlessFrame();
    SysFadeOut(5);
    EXPECT_NEAR((HeadlessFrame() - before) * 1000 / 60, 370, 30);  // about 0.37 s
    EXPECT_EQ(HeadlessPalette()[7].g, 0);
}

TEST(Program, PrintsTheFinalLineAndSavesTheSamePicturesForTheSameScript) {
    WriteFile(ScratchDir() + "/start.txt", "# start a game, then move and fire\n" + TO_GAME +
                                               "200 down LEFT\n260 up LEFT\n300 press SPACE\n");
    int s1, s2;
    std::string a =
        RunProgram("--headless --script start.txt --frames 500 --shot 499:a.png --shot 120:a.bmp", &s1);
    std::string b =
        RunProgram("--headless --script start.txt --frames 500 --shot 499:b.png --shot 120:b.bmp", &s2);
    EXPECT_EQ(s1, 0) << a;
    EXPECT_EQ(s2, 0) << b;
    EXPECT_EQ(a, "frames=500 level=1 score=0 score2=0 lives=3 lives2=3 money=1500 money2=1500 gameover=0\n");
    EXPECT_EQ(a, b);
    std::string png = Slurp(ScratchDir() + "/a.png");
    ASSERT_GT(png.size(), 100u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_EQ(png, Slurp(ScratchDir() + "/b.png"));
    EXPECT_EQ(Slurp(ScratchDir() + "/a.bmp"), Slurp(ScratchDir() + "/b.bmp"));
    PALETTE p;
    BITMAP *title = load_bmp((ScratchDir() + "/a.bmp").c_str(), p);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(std::make_pair(title->w, title->h), std::make_pair(320, 256));
    destroy_bitmap(title);
}

TEST(Program, RejectsBadOptionsAndScripts) {
    int status;
    for (const char *args : {"--frames 10", "--headless --shot nocolon", "--bogus"}) {
        RunProgram(args, &status);
        EXPECT_EQ(status, 2) << args;
    }
    WriteFile(ScratchDir() + "/bad.txt", "10 press SPACE\n12 jump\n");
    std::string out = RunProgram("--headless --script bad.txt", &status);
    EXPECT_NE(status, 0);
    EXPECT_NE(out.find("bad.txt: line 2"), std::string::npos) << out;
    out = RunProgram("--version", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out, "Earthguard 1.01\n");
}

// Frame numbers out of range are refused, never clamped; a picture that
// cannot be saved or a script that cannot be read fails the run.
TEST(Program, RefusesWhatItCannotHonourWithAMessageAndAFailingStatus) {
    WriteFile(ScratchDir() + "/huge.txt", "9223372036854775807 press SPACE\n");
    WriteFile(ScratchDir() + "/far.txt", "5 press SPACE\n1000000000000 press SPACE\n");
    const struct {
        const char *args, *message;
        int status;
    } cases[] = {
        {"--frames 99999999999999999999", "bad --frames '99999999999999999999'", 2},
        {"--frames 10000001", "bad --frames '10000001', expected FRAME (FRAME: 0 to 10000000)", 2},
        {"--shot 99999999999999999999:a.png", "bad --shot", 2},
        {"--shot 5:", "bad --shot '5:'", 2},
        {"--frames 60 --shot 50:nosuchdir/a.png", "cannot write nosuchdir/a.png", 1},  // still a final line
        {"--frames 60 --shot 50:.", "cannot write .", 1},
        {"--frames 60 --shot 70:late.bmp", "no picture for frame 70", 1},
        {"--script .", "cannot read .: Is a directory", 1},
        {"--script huge.txt",
         "huge.txt: line 1: frame 9223372036854775807 is past the last frame a run can reach, "
         "10000000",
         1},
        {"--script far.txt", "far.txt: line 2: frame 1000000000000 is past", 1},
    };
    for (const auto &c : cases) {
        int status;
        std::string out = RunProgram(std::string("--headless ") + c.args, &status);
        EXPECT_EQ(status, c.status) << c.args;
        EXPECT_NE(out.find(c.message), std::string::npos) << out;
        bool ran = strstr(c.args, "--frames 60 ");
        EXPECT_EQ(out.find("frames=60 ") != std::string::npos, ran) << out;
    }
}

}  // namespace
