// The platform layer without a display: the headless runner and the command
// line, the display's arithmetic and files, the instrument set, recordings.

#include "support/harness.h"
#include "support/shown_text.h"
#include "platform/display.h"
#include "platform/instruments.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>
#include <vector>

extern "C" void *allegro_icon;

namespace {

// The headless runner and the program's command line: scripts, scripted keys
// and readkey, the frame limit, fades, screenshots, the final line, and the
// messages and statuses of what it cannot do.

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
    std::string typed;  // each character and the frame it was read on
    for (int i = 0; i < 5; i++)
        typed += (char)(SysReadKey() & 255), typed += std::to_string(HeadlessFrame()) + " ";
    EXPECT_EQ(typed, "A70 b71 172  73 x74 ");
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

// The live display's arithmetic and files, without a display: where the
// picture lands on common screens, the settings file, and which icon files
// are taken. (The scaled picture itself is checked live.)

TEST(Display, PictureSizeAndPlaceOnCommonScreens) {
    // full screen, stretch, scale, screen w x h -> picture w x h at x, y
    const int cases[][9] = {
        {1, 0, 0, 1920, 1080, 1280, 960, 320, 60}, {1, 0, 0, 3840, 2160, 2560, 1920, 640, 120},
        {1, 0, 0, 2560, 1440, 1920, 1440, 320, 0}, {1, 0, 0, 1024, 768, 640, 480, 192, 144},
        {1, 1, 0, 1920, 1080, 1440, 1080, 240, 0}, {1, 0, 0, 600, 400, 533, 400, 33, 0},
        {0, 0, 0, 1920, 1080, 1280, 960, 0, 0},    {0, 0, 0, 3840, 2160, 2560, 1920, 0, 0},
        {0, 0, 0, 1280, 1024, 640, 480, 0, 0},     {0, 0, 3, 1920, 1080, 1920, 1440, 0, 0},
    };
    for (const auto &c : cases) {
        DisplayChoice choice;
        choice.fullscreen = c[0], choice.stretch = c[1], choice.scale = c[2];
        DisplayLayout l = DisplayLayoutFor(choice, c[3], c[4]);
        EXPECT_EQ(std::vector<int>({l.screen_w, l.screen_h, l.w, l.h, l.x, l.y}),
                  std::vector<int>({c[0] ? c[3] : c[5], c[0] ? c[4] : c[6], c[5], c[6], c[7], c[8]}))
            << c[3] << "x" << c[4] << (c[0] ? " full" : " window");
    }
}

TEST(Display, SettingsSavedReadBackAndTheSoundSettingsKept) {
    Fresh();
    setenv("XDG_CONFIG_HOME", (ScratchDir() + "/config-test").c_str(), 1);
    static const char sound[] = "[sound]\npatches = data/audio/default.cfg\n";
    override_config_data(sound, sizeof sound - 1);
    DisplayChoice saved, read;
    saved.fullscreen = false, saved.scale = 3;
    ASSERT_TRUE(SettingsSave(saved));
    SettingsLoad(&read);
    EXPECT_EQ(std::make_pair(read.fullscreen, read.scale), std::make_pair(false, 3));
    // A scale out of range makes the whole file ignored.
    WriteFile(SettingsPath(), "[display]\nmode = fullscreen\nscale = -2\n");
    SettingsLoad(&read);
    EXPECT_EQ(std::make_pair(read.fullscreen, read.scale), std::make_pair(false, 3));
    EXPECT_STREQ(get_config_string("sound", "patches", ""), "data/audio/default.cfg");
    unsetenv("XDG_CONFIG_HOME");
    override_config_file(NULL);
}

// Only a sound 64x64 8-bit BMP becomes the window's icon; with no file, no
// icon (not the library's own).
TEST(Display, IconOnlyFromASound64By64EightBitBmp) {
    const std::string path = ScratchDir() + "/icon-test.bmp", good = Slurp(SourcePath("data/video/icon.bmp"));
    const std::pair<std::string, bool> cases[] = {{good, true},
                                                  {Patched(good, 14, 0xfffffff0u), false},
                                                  {Patched(good, 18, 1 << 20), false},
                                                  {Patched(good, 28, 24), false},
                                                  {Patched(good, 28, 16), false},
                                                  {good.substr(0, 2000), false},
                                                  {"", false}};  // header, width, depth, cut
    for (const auto &c : cases) {
        c.first.empty() ? (void)remove(path.c_str()) : WriteFile(path, c.first);
        DisplayNameWindow(path.c_str());
        EXPECT_EQ(allegro_icon != NULL, c.second) << c.first.size();
    }
}

// The instrument set is checked before the synthesiser reads it: each kind
// of damage is found and the file at fault named.

TEST(Instruments, EachDamagedFileOfTheSetIsNamed) {
    const std::string cfg = Slurp(SourcePath("data/audio/default.cfg")),
                      bass = Slurp(SourcePath("data/audio/bass.pat"));
    const struct {
        std::string file, content, bad;  // content "-": no file; bad "": the set is whole
    } cases[] = {{"default.cfg", cfg, ""},
                 {"default.cfg", "-", "default.cfg"},
                 {"default.cfg", "39 bass\nthis is no instrument\n", "default.cfg"},
                 {"default.cfg", "# nothing\n", "default.cfg"},
                 {"default.cfg", cfg + "90 ghost\n", "ghost.pat"},
                 {"bass.pat", Patched(bass, 239 + 8, 0x7fffffff), "bass.pat"},  // the first sample's length
                 {"bass.pat", bass.substr(0, bass.size() - 1), "bass.pat"}};
    for (const auto &c : cases) {
        ScratchSubdir dir("instruments");
        ASSERT_EQ(system(("cp -r '" + SourcePath("data/audio") + "' set").c_str()), 0);
        c.content == "-" ? (void)std::remove(("set/" + c.file).c_str())
                         : WriteFile("set/" + c.file, c.content);
        std::string bad;
        EXPECT_EQ(InstrumentsWhole("set/default.cfg", &bad), c.bad.empty()) << c.file << " " << c.bad;
        EXPECT_TRUE(c.bad.empty() || bad == "set/" + c.bad) << bad;
    }
}

// Recordings and replays: foreign and damaged recordings refused, a replay
// that ends otherwise than its recording, and the recorded games kept as
// regression tests.

uint64_t Fnv(const std::string &s) {
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : s) h = (h ^ c) * 1099511628211ull;
    return h;
}

std::string Replace(std::string s, const std::string &from, const std::string &to) {
    size_t at = s.find(from);
    return at == std::string::npos ? s : s.replace(at, from.size(), to);
}

// A recording with the check sum made good again after an edit.
std::string Resealed(const std::string &text) {
    std::string body = text.substr(0, text.rfind("# check "));
    char sum[40];
    snprintf(sum, sizeof sum, "# check %016" PRIx64 "\n", Fnv(body));
    return body + sum;
}

TEST(Replay, ForeignDamagedAndDesynchronisedRecordingsAreRefused) {
    const std::string good = Slurp(SourcePath("tests/replays/two-players.replay"));
    const size_t at = good.find("# frames=") + 2;
    const std::string final_line = good.substr(at, good.find('\n', at) - at);
    const std::pair<std::string, std::string> bad[] = {
        {Replace(good, "game 1.01", "game 1.00"), "a recording of Earthguard 1.00 (format 1); this is"},
        {Replace(good, "replay 1,", "replay 2,"), "(format 2)"},
        {Replace(good, " keybuf ", " keybuf  "), "damaged"},
        {good.substr(0, good.size() / 2), "damaged"},
        {Resealed(Replace(good, "# table 0 ", "# table 0 7a")), "damaged"},
        {Resealed(Replace(good, "score=", "score=1")), "the replay ended with\n  " + final_line},
    };
    for (const auto &b : bad) {
        WriteFile(ScratchDir() + "/bad.replay", b.first);
        int status;
        std::string out = RunProgram("--headless --script bad.replay", &status);
        EXPECT_EQ(status, 1) << out;
        EXPECT_NE(out.find(b.second), std::string::npos) << out;
    }
}

// tests/replays/pictures.txt: "FILE FRAME DIGEST" of the picture shown at
// that frame (FNV-1a of the 8-bit BMP the runner saves). Each recording must
// replay to its recorded final line (else the program fails) and pictures.
TEST(Replay, KeptRecordingsReplayToTheirEndAndPictures) {
    std::map<std::string, std::vector<std::pair<long, std::string>>> want;
    std::istringstream list(Slurp(SourcePath("tests/replays/pictures.txt")));
    std::string file, digest;
    long frame;
    while (list >> file >> frame >> digest) want[file].push_back({frame, digest});
    ASSERT_GE(want.size(), 3u);
    for (const auto &w : want) {
        std::string args = "--headless --script " + SourcePath("tests/replays/" + w.first);
        for (const auto &f : w.second)
            args += " --shot " + std::to_string(f.first) + ":" + std::to_string(f.first) + ".bmp";
        int status;
        std::string out = RunProgram(args, &status);
        EXPECT_EQ(status, 0) << w.first << ": " << out;
        for (const auto &f : w.second) {
            char got[20];
            snprintf(got, sizeof got, "%016" PRIx64,
                     Fnv(Slurp(ScratchDir() + "/" + std::to_string(f.first) + ".bmp")));
            EXPECT_EQ(got, f.second) << w.first << " at frame " << f.first;
        }
    }
}

}  // namespace
