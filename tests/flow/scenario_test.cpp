// Whole games, as a player plays them: the real program from the title menu
// through a play to "GAME OVER", the name entry and back to the title, with
// the score file it leaves behind.

#include "support/harness.h"
#include "support/shown_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

namespace {

// The final line's values by name.
std::map<std::string, int> Final(const std::string &out) {
    std::map<std::string, int> v;
    std::istringstream in(out.substr(out.rfind("frames=")));
    std::string item;
    while (in >> item) v[item.substr(0, item.find('='))] = std::stoi(item.substr(item.find('=') + 1));
    return v;
}

struct Entry {
    std::string name;
    int score, level;
};

std::vector<Entry> ScoreFile(const std::string &path) {
    std::ifstream f(path, std::ios::binary);
    std::string b((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    EXPECT_EQ(b.size(), 140u);
    std::vector<Entry> t;
    for (size_t k = 0; k + 28 <= b.size(); k += 28) {
        auto le = [&](size_t o) {
            return (int)((unsigned char)b[o] | (unsigned char)b[o + 1] << 8 | (unsigned char)b[o + 2] << 16 |
                         (unsigned)(unsigned char)b[o + 3] << 24);
        };
        t.push_back({std::string(b.c_str() + k), le(k + 20), le(k + 24)});
    }
    return t;
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

void Write(const std::string &path, const std::string &text) {
    std::ofstream f(path);
    f << text;
}

TEST(WholeGame, OldModeOnePlayerToGameOverAndNameEntry) {
    ScratchSubdir dir("old-one-player");
    // Old 1P on the players/mode row, then START GAME.
    std::string script = "100 press DOWN\n102 press DOWN\n104 press RIGHT\n106 press DOWN\n108 press DOWN\n"
                         "110 press SPACE\n";
    script += Sweeps(220, 2200, "LEFT", "RIGHT", "SPACE", 8);
    // The wave lands (or the ships run out) long before frame 9000; the name
    // entry waits for these keys.
    script += "9000 type ACE\n9010 press ENTER\n9100 press SPACE\n";
    Write(dir.File("old.txt"), script);

    int status;
    std::string out = RunProgram("--headless --script old.txt", &status, dir.path);
    ASSERT_EQ(status, 0) << out;
    std::map<std::string, int> v = Final(out);
    EXPECT_EQ(v["gameover"], 1);
    EXPECT_GT(v["score"], 1000) << "the sweeps should score enough to enter the table";
    EXPECT_EQ(v["money"], 1500) << "Old mode pays no money";
    EXPECT_EQ(v["score2"], 0);

    // The run went back to the title and waited there: the table is written.
    std::vector<Entry> t = ScoreFile(dir.File("scoretb.dat"));
    int ace = -1;
    for (int i = 0; i < 5; i++)
        if (t[i].name == "ACE") ace = i;
    ASSERT_GE(ace, 0) << "the name typed at the entry is in the file";
    EXPECT_EQ(t[ace].score, v["score"]);
    EXPECT_EQ(t[ace].level, v["level"]);
    for (int i = 0; i < 4; i++) EXPECT_GE(t[i].score, t[i + 1].score);
    EXPECT_EQ(t[0].name, "earthguard team");
}

TEST(WholeGame, NormalModePlayerTwoJoinsMidWaveAndBothAreRanked) {
    ScratchSubdir dir("two-players");
    // Normal 1P with the super-bonus extra (S and B held on START GAME):
    // weapon 3 at power 3 for both players, so both can reach the table.
    std::string script = "100 press DOWN\n102 press DOWN\n104 press DOWN\n106 press DOWN\n"
                         "108 down S\n108 press B\n110 up S\n114 press SPACE\n";
    script += Sweeps(220, 3200, "LEFT", "RIGHT", "SPACE", 9);
    script += Sweeps(700, 3200, "A", "D", "G", 11);  // G at 700 lets player 2 join
    // After player 1's name the table waits for a key (9050) before player 2's
    // entry comes up; without an entry for player 1 that key is ignored.
    script += "9000 type ONE\n9010 press ENTER\n9050 press SPACE\n9300 type TWO\n9310 press ENTER\n"
              "9400 press SPACE\n";
    Write(dir.File("two.txt"), script);

    int status;
    std::string out = RunProgram("--headless --script two.txt", &status, dir.path);
    ASSERT_EQ(status, 0) << out;
    std::map<std::string, int> v = Final(out);
    EXPECT_EQ(v["gameover"], 1);
    EXPECT_GT(v["score2"], 0) << "player 2 joined and scored";

    std::vector<Entry> t = ScoreFile(dir.File("scoretb.dat"));
    auto rank = [&](const char *name) {
        for (int i = 0; i < 5; i++)
            if (t[i].name == name) return i;
        return -1;
    };
    // Player 1 is in the table exactly when the score beats the fifth default
    // entry (1000); player 2 then when the score beats the fifth entry of the
    // table that already holds player 1. Both share the level of the game over.
    ASSERT_EQ(rank("ONE") >= 0, v["score"] > 1000) << out;
    if (rank("ONE") >= 0) {
        EXPECT_EQ(t[rank("ONE")].score, v["score"]);
        EXPECT_EQ(t[rank("ONE")].level, v["level"]);
    }
    if (rank("TWO") >= 0) {
        EXPECT_EQ(t[rank("TWO")].score, v["score2"]);
        EXPECT_EQ(t[rank("TWO")].level, v["level"]);
    } else {
        EXPECT_LE(v["score2"], t[4].score);
    }
}

}  // namespace
