// Whole games, as a player plays them: the real program from the title menu
// through a play to "GAME OVER", the name entry and back to the title, with
// the score file it leaves behind.

#include "support/harness.h"
#include "support/shown_text.h"

#include <gtest/gtest.h>

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

int Rank(const std::vector<Entry> &t, const std::string &name) {
    for (size_t i = 0; i < t.size(); i++)
        if (t[i].name == name) return (int)i;
    return -1;
}

// Sweeps the ship left and right, firing all the while, from `from` to
// `to`; then the ship stands idle and the wave comes down.
std::string Sweeps(long from, long to, const char *left, const char *right, const char *fire, int every) {
    std::string s;
    for (long f = from, k = 0; f < to; f += 180, k++) {
        const char *d = k % 2 ? left : right;
        s += std::to_string(f) + " down " + d + "\n" + std::to_string(std::min(f + 180, to)) + " up " + d +
             "\n";
    }
    for (long f = from; f < to; f += every) s += std::to_string(f) + " press " + fire + "\n";
    return s;
}

// Runs the program on the script in a directory of its own; the values of
// its final line, and the score table it leaves.
std::map<std::string, int> Game(const char *name, const std::string &script, std::vector<Entry> *table) {
    ScratchSubdir dir(name);
    WriteFile(dir.File("script.txt"), script);
    int status;
    std::string out = RunProgram("--headless --script script.txt", &status, dir.path);
    EXPECT_EQ(status, 0) << out;
    *table = ScoreFile(dir.File("scoretb.dat"));
    return FinalValues(out);
}

TEST(WholeGame, OldModeOnePlayerToGameOverAndNameEntry) {
    // Old 1P on the players/mode row, then START GAME; the wave lands (or the
    // ships run out) long before frame 9000, where the name entry waits.
    std::vector<Entry> t;
    std::map<std::string, int> v = Game("old-one-player",
                                        Presses({"DOWN", "DOWN", "RIGHT", "DOWN", "DOWN", "SPACE"}, 100, 2) +
                                            Sweeps(220, 2200, "LEFT", "RIGHT", "SPACE", 8) +
                                            "9000 type ACE\n9010 press ENTER\n9100 press SPACE\n",
                                        &t);
    EXPECT_EQ(v["gameover"], 1);
    EXPECT_GT(v["score"], 1000) << "the sweeps should score enough to enter the table";
    EXPECT_EQ(v["money"], 1500) << "Old mode pays no money";
    int ace = Rank(t, "ACE");
    ASSERT_GE(ace, 0) << "the name typed at the entry is in the file";
    EXPECT_EQ(t[ace].score, v["score"]);
    EXPECT_EQ(t[ace].level, v["level"]);
    for (int i = 0; i < 4; i++) EXPECT_GE(t[i].score, t[i + 1].score);
    EXPECT_EQ(t[0].name, "earthguard team");
}

TEST(WholeGame, NormalModePlayerTwoJoinsMidWaveAndBothAreRanked) {
    // Normal 1P with the super-bonus extra (S and B held on START GAME):
    // weapon 3 at power 3 for both players, so both can reach the table. G
    // at 700 lets player 2 join. After player 1's name the table waits for
    // a key (9050) before player 2's entry comes up.
    std::vector<Entry> t;
    std::map<std::string, int> v =
        Game("two-players",
             "100 press DOWN\n102 press DOWN\n104 press DOWN\n106 press DOWN\n108 down S\n108 press B\n"
             "110 up S\n114 press SPACE\n" +
                 Sweeps(220, 3200, "LEFT", "RIGHT", "SPACE", 9) + Sweeps(700, 3200, "A", "D", "G", 11) +
                 "9000 type ONE\n9010 press ENTER\n9050 press SPACE\n9300 type TWO\n9310 press ENTER\n"
                 "9400 press SPACE\n",
             &t);
    EXPECT_EQ(v["gameover"], 1);
    EXPECT_GT(v["score2"], 0) << "player 2 joined and scored";
    // Player 1 is in the table exactly when the score beats the fifth default
    // entry (1000); player 2 then when the score beats the fifth entry of the
    // table that already holds player 1. Both share the level of the game over.
    int one = Rank(t, "ONE"), two = Rank(t, "TWO");
    ASSERT_EQ(one >= 0, v["score"] > 1000);
    if (one >= 0) {
        EXPECT_EQ(t[one].score, v["score"]);
        EXPECT_EQ(t[one].level, v["level"]);
    }
    if (two >= 0) {
        EXPECT_EQ(t[two].score, v["score2"]);
        EXPECT_EQ(t[two].level, v["level"]);
    } else {
        EXPECT_LE(v["score2"], t[4].score);
    }
}

}  // namespace
