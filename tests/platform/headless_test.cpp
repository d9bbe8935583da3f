// The headless runner and the program's command line: scripts, scripted keys
// and readkey, the frame limit, fades, screenshots, the final line, and the
// messages and statuses of what it cannot do.

#include "support/harness.h"
#include "support/shown_text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(Script, RejectsWhatItCannotReadNamingTheLine) {
    const char *bad[][2] = {{"10 press NOSUCHKEY\n", "line 1: unknown key 'NOSUCHKEY'"},
                            {"# fine\n10 hold LEFT\n", "line 2"},
                            {"soon press SPACE\n", "line 1"},
                            {"-3 press SPACE\n", "line 1"},
                            {"5 down LEFT RIGHT\n", "line 1"},
                            {"  # comment\n\n5 down LEFT   # hold it\r\n9 up LEFT\n", ""}};  // good
    for (const auto &b : bad) {
        std::string err;
        HeadlessReset();
        EXPECT_EQ(HeadlessParseScript(b[0], &err), !*b[1]) << b[0];
        EXPECT_NE(err.find(b[1]), std::string::npos) << err;
    }
}

TEST(Script, KeysAreHeldFromTheirFrame) {
    Fresh("3 down LEFT\n6 up LEFT\n8 press SPACE\n13 press A\n12 press A\n20 press Z\n");
    std::string seen;
    for (int f = 1, l; f <= 14; f++) {
        Sync(), l = key[KEY_LEFT];
        seen += l == -1 ? 'L' : l ? '?' : key[KEY_SPACE] ? 'S' : key[KEY_A] ? 'A' : '.';
    }
    // Held is Allegro's TRUE; a key pressed on two frames running, in any
    // order, is held through both.
    EXPECT_EQ(seen, "..LLL..S...AA.");
}

// readkey waits for the next press and sees it held; a recording's keybuf
// press, never seen held live, counts as held for its pass.
TEST(Script, ReadkeyWaitsForTheNextPressAndSeesItHeld) {
    Fresh("50 press ENTER\n60 keybuf G 103\n62 keybuf K99 0\n70 type Ab1 x\n90 end\n");
    EXPECT_EQ(SysReadKey(), KEY_ENTER << 8 | 13);
    EXPECT_EQ(HeadlessFrame(), 50);
    EXPECT_TRUE(key[KEY_ENTER]);
    EXPECT_EQ(SysReadKey(), KEY_G << 8 | 'g');
    EXPECT_TRUE(key[KEY_G]);
    Sync();
    EXPECT_FALSE(key[KEY_G]);
    EXPECT_EQ(SysReadKey(), 99 << 8);
    std::string typed;
    int k = 0;
    for (int i = 0; i < 5; i++) {
        typed += (char)((k = SysReadKey()) & 255);
        EXPECT_EQ(HeadlessFrame(), 70 + i);
    }
    EXPECT_EQ(typed, "Ab1 x");
    EXPECT_EQ(k >> 8, KEY_X);
    EXPECT_THROW(SysReadKey(), RunOver);  // nothing left to read: the clock runs on to the end line
    EXPECT_EQ(HeadlessFrame(), 90);

    // Clearing the key buffer forgets the presses that already happened, but
    // not one of the very frame.
    Fresh("10 press A\n20 press B\n40 press C\n40 press D\n");
    wait(500);  // frame 30: A and B are in the past
    SysClearKeybuf();
    EXPECT_EQ(SysReadKey() & 255, 'c');
    SysClearKeybuf();
    EXPECT_EQ(SysReadKey() & 255, 'd');
}

TEST(Script, TheFrameLimitAndTheScriptEndStopTheRunAndFadesTakeTheirLiveTime) {
    Fresh("", 25);
    int frames = 0;
    try {
        for (;;) Sync(), frames++;
    } catch (const RunOver &) {}
    EXPECT_EQ(frames, 24);
    EXPECT_EQ(HeadlessFrame(), 25);
    Fresh("30 press SPACE\n");  // no limit: the run ends after the script's last event
    EXPECT_THROW(for (;;) Sync(), RunOver);
    EXPECT_EQ(HeadlessFrame(), 32);
    Fresh("500 press SPACE\n", 100);  // a readkey waiting past the limit stops at the limit
    EXPECT_THROW(SysReadKey(), RunOver);
    EXPECT_EQ(HeadlessFrame(), 100);

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

// What the program prints (from its start) and its exit status. Frame numbers
// out of range are refused, never clamped; a picture that cannot be saved
// fails the run but still prints the final line.
TEST(Program, AnswersEachCommandLineWithItsMessageAndStatus) {
    WriteFile(ScratchDir() + "/start.txt", "140 press DOWN\n142 press DOWN\n144 press DOWN\n146 press DOWN\n"
                                           "150 press SPACE\n200 down LEFT\n260 up LEFT\n300 press SPACE\n");
    WriteFile(ScratchDir() + "/bad.txt", "10 press SPACE\n12 jump\n");
    WriteFile(ScratchDir() + "/huge.txt", "5 press SPACE\n9223372036854775807 press SPACE\n");
    const struct {
        int status;
        const char *env, *args, *message;
    } cases[] = {
        {0, "", "--headless --script start.txt --frames 500 --shot 499:a.png",
         "frames=500 level=1 score=0 score2=0 lives=3 lives2=3 money=1500 money2=1500 gameover=0\n"},
        {0, "", "--version", "Earthguard 1.01\n"},
        {2, "", "--frames 10", "earthguard: --frames, --script and --shot need --headless\n"},
        {2, "", "--headless --shot nocolon", "earthguard: unknown or incomplete option '--shot'"},
        {2, "", "--bogus",
         "earthguard: unknown or incomplete option '--bogus'\n\nUsage: earthguard [--windowed"},
        {1, "", "--headless --script bad.txt", "earthguard: script bad.txt: line 2"},
        {2, "", "--headless --frames 10000001",
         "bad --frames '10000001', expected FRAME (FRAME: 0 to 10000000)"},
        {2, "", "--headless --shot 99999999999999999999:a.png", "earthguard: bad --shot"},
        {1, "", "--headless --frames 60 --shot 50:nosuchdir/a.png", "cannot write nosuchdir/a.png"},
        {1, "", "--headless --frames 60 --shot 70:late.bmp", "no picture for frame 70"},
        {1, "", "--headless --script .", "cannot read .: Is a directory"},
        {1, "", "--headless --script huge.txt",
         "huge.txt: line 2: frame 9223372036854775807 is past the last frame a run can reach, 10000000"},
        {1, "env -u DISPLAY", "",
         "Error setting graphics mode (FULLSCREEN):\n -> No X display to open (the DISPLAY variable is not "
         "set)\n\n"},
        {1, "DISPLAY=:987", "--windowed",
         "Error setting graphics mode (FULLSCREEN):\n -> Cannot open the X display \":987\""},
    };
    for (const auto &c : cases) {
        int status;
        std::string out = RunProgram(c.args, &status, "", c.env);
        EXPECT_EQ(status, c.status) << c.args;
        EXPECT_NE(out.find(c.message), std::string::npos) << c.args << ": " << out;
        EXPECT_EQ(out.find("frames=") != std::string::npos, strstr(c.args, "--frames") && c.status != 2)
            << out;
    }
    EXPECT_EQ(Slurp(ScratchDir() + "/a.png").substr(0, 4), "\x89PNG");
}

}  // namespace
