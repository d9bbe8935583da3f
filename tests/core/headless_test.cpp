// The headless runner: scripts, scripted keys and readkey, the frame limit,
// screenshots, the final line, and the same result from the same script.

#include "support/harness.h"
#include "core/runner.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

namespace {

std::string Slurp(const std::string &path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

void WriteFile(const std::string &path, const std::string &text) {
    std::ofstream f(path, std::ios::binary);
    f << text;
}

TEST(Script, RejectsWhatItCannotRead) {
    std::string err;
    HeadlessReset();
    EXPECT_FALSE(HeadlessParseScript("10 press NOSUCHKEY\n", &err));
    EXPECT_NE(err.find("line 1"), std::string::npos);
    EXPECT_NE(err.find("NOSUCHKEY"), std::string::npos);
    HeadlessReset();
    EXPECT_FALSE(HeadlessParseScript("# fine\n10 hold LEFT\n", &err));
    EXPECT_NE(err.find("line 2"), std::string::npos);
    HeadlessReset();
    EXPECT_FALSE(HeadlessParseScript("soon press SPACE\n", &err));
    HeadlessReset();
    EXPECT_FALSE(HeadlessParseScript("-3 press SPACE\n", &err));
    HeadlessReset();
    EXPECT_FALSE(HeadlessParseScript("5 down LEFT RIGHT\n", &err));
    HeadlessReset();
    EXPECT_TRUE(HeadlessParseScript("  # comment\n\n5 down LEFT   # hold it\r\n9 up LEFT\n", &err)) << err;
}

TEST(Script, KeysAreHeldFromTheirFrame) {
    Fresh("3 down LEFT\n6 up LEFT\n8 press SPACE\n12 press A\n13 press A\n20 press Z\n");
    std::string left, space, a;
    for (int f = 1; f <= 14; f++) {
        Sync();
        left += key[KEY_LEFT] ? 'L' : '.';
        space += key[KEY_SPACE] ? 'S' : '.';
        a += key[KEY_A] ? 'A' : '.';
        if (key[KEY_LEFT]) {
            EXPECT_EQ(key[KEY_LEFT], -1);  // Allegro's TRUE
        }
    }
    EXPECT_EQ(left, "..LLL.........");
    EXPECT_EQ(space, ".......S......");
    EXPECT_EQ(a, "...........AA.");  // pressed on two frames running: held through both
}

TEST(Script, ReadkeyWaitsForTheNextPressAndSeesItHeld) {
    Fresh("50 press ENTER\n60 press G\n70 type Ab1 x\n");
    int k = SysReadKey();
    EXPECT_EQ(HeadlessFrame(), 50);
    EXPECT_EQ(k, KEY_ENTER << 8 | 13);
    EXPECT_TRUE(key[KEY_ENTER]);
    k = SysReadKey();
    EXPECT_EQ(k, KEY_G << 8 | 'g');
    EXPECT_TRUE(key[KEY_G]);
    std::string typed;
    for (int i = 0; i < 5; i++) {
        k = SysReadKey();
        typed += (char)(k & 255);
        EXPECT_EQ(HeadlessFrame(), 70 + i);
    }
    EXPECT_EQ(typed, "Ab1 x");
    EXPECT_EQ(k >> 8, KEY_X);
    EXPECT_THROW(SysReadKey(), RunOver);  // nothing left to read ends the run
}

TEST(Script, ClearKeybufForgetsPressesThatAlreadyHappened) {
    Fresh("10 press A\n20 press B\n40 press C\n40 press D\n");
    wait(500);  // frame 30: A and B are in the past
    SysClearKeybuf();
    EXPECT_EQ(SysReadKey() & 255, 'c');
    SysClearKeybuf();  // still frame 40: D, pressed on this very frame, stays
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
    long in2 = HeadlessFrame();
    EXPECT_GE(in2 * 1000 / 60, 880);  // Allegro's fade_in(p, 2) takes about 0.91 s
    EXPECT_LE(in2 * 1000 / 60, 950);
    EXPECT_EQ(HeadlessPalette()[7].g, 63);
    long before = HeadlessFrame();
    SysFadeOut(5);
    EXPECT_GE((HeadlessFrame() - before) * 1000 / 60, 340);  // about 0.37 s
    EXPECT_LE((HeadlessFrame() - before) * 1000 / 60, 400);
    EXPECT_EQ(HeadlessPalette()[7].g, 0);
}

TEST(Program, PrintsTheFinalLineAndSavesPictures) {
    WriteFile(ScratchDir() + "/start.txt",
              "# start a game: down to START GAME, then Space\n"
              "140 press DOWN\n142 press DOWN\n144 press DOWN\n146 press DOWN\n150 press SPACE\n");
    int status;
    std::string out = RunProgram(
        "--headless --script start.txt --frames 400 --shot 399:play.png --shot 120:title.bmp", &status);
    EXPECT_EQ(status, 0) << out;
    std::regex line(
        "frames=400 level=1 score=0 score2=0 lives=3 lives2=3 money=1500 money2=1500 gameover=0\n$");
    EXPECT_TRUE(std::regex_search(out, line)) << out;

    std::string png = Slurp(ScratchDir() + "/play.png");
    ASSERT_GT(png.size(), 100u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    PALETTE p;
    BITMAP *title = load_bmp((ScratchDir() + "/title.bmp").c_str(), p);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->w, 320);
    EXPECT_EQ(title->h, 256);
    destroy_bitmap(title);
}

TEST(Program, TheSameScriptGivesTheSameRun) {
    WriteFile(ScratchDir() + "/same.txt",
              "140 press DOWN\n142 press DOWN\n144 press DOWN\n146 press DOWN\n150 press SPACE\n"
              "200 down LEFT\n260 up LEFT\n300 press SPACE\n");
    int s1, s2;
    std::string a =
        RunProgram("--headless --script same.txt --frames 500 --shot 499:a.bmp --shot 100:c.png", &s1);
    std::string b =
        RunProgram("--headless --script same.txt --frames 500 --shot 499:b.bmp --shot 100:d.png", &s2);
    EXPECT_EQ(s1, 0);
    EXPECT_EQ(a, b);
    EXPECT_EQ(Slurp(ScratchDir() + "/a.bmp"), Slurp(ScratchDir() + "/b.bmp"));
    EXPECT_EQ(Slurp(ScratchDir() + "/c.png"), Slurp(ScratchDir() + "/d.png"));
}

TEST(Program, RejectsBadOptionsAndScripts) {
    int status;
    RunProgram("--frames 10", &status);
    EXPECT_EQ(status, 2);
    RunProgram("--headless --shot nocolon", &status);
    EXPECT_EQ(status, 2);
    RunProgram("--bogus", &status);
    EXPECT_EQ(status, 2);
    WriteFile(ScratchDir() + "/bad.txt", "10 press SPACE\n12 jump\n");
    std::string out = RunProgram("--headless --script bad.txt", &status);
    EXPECT_NE(status, 0);
    EXPECT_NE(out.find("bad.txt: line 2"), std::string::npos) << out;
    out = RunProgram("--version", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out, "Earthguard 1.01\n");
}

}  // namespace
