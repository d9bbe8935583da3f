// A whole game, as a player plays it: the real program from the title menu
// through a play to "GAME OVER", the name entry and back to the title, with
// the score file it leaves behind. (Player 2's join and both players' entries
// are the play's and the table's tests.)

#include "support/harness.h"
#include "support/shown_text.h"
#include "platform/runner.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>

namespace {

struct Entry {
    std::string name;
    int score, level;
};

std::vector<Entry> ScoreFile(const std::string &path) {
    std::string b = Slurp(path);
    EXPECT_EQ(b.size(), 140u);
    auto le = [&](size_t o) {
        return (int)((unsigned char)b[o] | (unsigned char)b[o + 1] << 8 | (unsigned char)b[o + 2] << 16 |
                     (unsigned)(unsigned char)b[o + 3] << 24);
    };
    std::vector<Entry> t;
    for (size_t k = 0; k + 28 <= b.size(); k += 28) t.push_back({b.c_str() + k, le(k + 20), le(k + 24)});
    return t;
}

TEST(WholeGame, OldModeOnePlayerToGameOverAndNameEntry) {
    ScratchSubdir dir("old-one-player");
    // Old 1P on the players/mode row, then START GAME. The ship sweeps left
    // and right, firing all the while, until frame 2200; then it stands idle
    // and the wave comes down. The wave lands (or the ships run out) long
    // before frame 9000, where the name entry waits.
    std::string script = Presses(KeyNames("DOWN DOWN RIGHT DOWN DOWN SPACE"), 100, 2);
    for (long f = 220, k = 0; f < 2200; f += 180, k++) {
        const char *d = k % 2 ? "LEFT" : "RIGHT";
        script += std::to_string(f) + " down " + d + "\n" + std::to_string(std::min(f + 180, 2200L)) +
                  " up " + d + "\n";
    }
    for (long f = 220; f < 2200; f += 8) script += std::to_string(f) + " press SPACE\n";
    WriteFile(dir.File("script.txt"), script + "9000 type ACE\n9010 press ENTER\n9100 press SPACE\n");
    int status;
    std::string out = RunProgram("--headless --script script.txt", &status, dir.path);
    ASSERT_EQ(status, 0) << out;
    std::map<std::string, int> v = FinalValues(out);
    EXPECT_EQ(v["gameover"], 1);
    EXPECT_GT(v["score"], 1000) << "the sweeps should score enough to enter the table";
    EXPECT_EQ(v["money"], 1500) << "Old mode pays no money";

    // The run went back to the title and waited there: the table is written.
    std::vector<Entry> t = ScoreFile(dir.File("scoretb.dat"));
    int ace = -1;
    for (int i = 0; i < (int)t.size(); i++)
        if (t[i].name == "ACE") ace = i;
    ASSERT_GE(ace, 0) << "the name typed at the entry is in the file";
    EXPECT_EQ(t[ace].score, v["score"]);
    EXPECT_EQ(t[ace].level, v["level"]);
    for (int i = 0; i < 4; i++) EXPECT_GE(t[i].score, t[i + 1].score);
    EXPECT_EQ(t[0].name, "earthguard team");
}

// A Normal game for two, played by a fixed script through the first wave
// and into the second, both ships sweeping and firing all the while. Its
// final line and the pictures at three moments are pinned, so a change in
// anything the game does or shows on the way shows up here. (An intended
// change of the game's rules or pictures gives new values: print them with
// the failure and pin them again.)
TEST(WholeGame, ANormalGameForTwoPlaysTheSameEveryTime) {
    ScratchSubdir dir("pinned");
    std::string script = Presses(KeyNames("DOWN DOWN RIGHT RIGHT DOWN DOWN SPACE"), 100, 2);
    for (long f = 220, k = 0; f < 4200; f += 150, k++) {
        const char *d1 = k % 2 ? "LEFT" : "RIGHT", *d2 = k % 2 ? "D" : "A";
        script += std::to_string(f) + " down " + d1 + "\n" + std::to_string(f + 140) + " up " + d1 + "\n";
        script += std::to_string(f) + " down " + d2 + "\n" + std::to_string(f + 100) + " up " + d2 + "\n";
    }
    for (long f = 221; f < 4200; f += 6) script += std::to_string(f) + " press SPACE\n";
    for (long f = 223; f < 4200; f += 10) script += std::to_string(f) + " press G\n";
    RunOptions opt;
    opt.script_text = script;
    opt.frames = 4200;
    const long at[3] = {900, 2600, 4199};
    const char *const pinned[3] = {"814f3a9c", "ba32f663", "ebc13075"};
    for (long f : at) opt.shots.push_back({f, dir.File("shot" + std::to_string(f) + ".bmp")});
    std::string line = RunHeadless(opt);
    EXPECT_EQ(
        line,
        "frames=4200 level=2 score=1393 score2=3027 lives=2 lives2=2 money=2000 money2=2100 gameover=0");
    for (int i = 0; i < 3; i++) {
        std::string b = Slurp(dir.File("shot" + std::to_string(at[i]) + ".bmp"));
        char crc[16];
        snprintf(crc, sizeof crc, "%08lx", crc32(0, (const Bytef *)b.data(), (uInt)b.size()));
        EXPECT_STREQ(crc, pinned[i]) << "the picture at frame " << at[i];
    }
}

}  // namespace
