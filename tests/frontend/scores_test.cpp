// The high-score table: its file, the rules of entering it, name entry, and
// the table as the player sees it.

#include "support/harness.h"
#include "support/shown_text.h"
#include "frontend/frontend.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes ReadFile(const std::string &path) {
    Bytes b;
    FILE *f = fopen(path.c_str(), "rb");
    if (!f) return b;
    int c;
    while ((c = fgetc(f)) != EOF) b.push_back((unsigned char)c);
    fclose(f);
    return b;
}

void WriteBytes(const std::string &path, const Bytes &b) {
    FILE *f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    if (!b.empty()) fwrite(b.data(), 1, b.size(), f);
    fclose(f);
}

// One entry as the file holds it.
Bytes Entry(const std::string &name, long long score, long long level) {
    Bytes e(28, 0);
    memcpy(e.data(), name.data(), name.size() < 20 ? name.size() : 20);
    for (int i = 0; i < 4; i++) {
        e[20 + i] = (unsigned char)((unsigned long long)score >> (8 * i));
        e[24 + i] = (unsigned char)((unsigned long long)level >> (8 * i));
    }
    return e;
}

Bytes Table(const std::vector<Bytes> &entries) {
    Bytes t;
    for (const Bytes &e : entries) t.insert(t.end(), e.begin(), e.end());
    return t;
}

const Bytes DEFAULT_FILE =
    Table({Entry("earthguard team", 5000, 5), Entry("pelgar", 4000, 4), Entry("earthguard team", 3000, 3),
           Entry("pelgar", 2000, 2), Entry("earthguard team", 1000, 1)});

void ClearTable() {
    memset(scoretb, 0, sizeof scoretb);
    hiscore = 0;
}

// Entries of the working directory other than the data link and the table.
std::vector<std::string> StrayFiles() {
    std::vector<std::string> stray;
    DIR *d = opendir(".");
    while (dirent *e = readdir(d)) {
        std::string n = e->d_name;
        if (n != "." && n != ".." && n != "data" && n != "scoretb.dat") stray.push_back(n);
    }
    closedir(d);
    return stray;
}

TEST(ScoreFile, AFirstRunCreatesTheDefaultTable) {
    ScratchSubdir dir("first-run");
    ClearTable();
    ScoreBoard(1);
    EXPECT_EQ(ReadFile("scoretb.dat"), DEFAULT_FILE);
    EXPECT_EQ(hiscore, 5000);
    EXPECT_STREQ(scoretb[0].name, "earthguard team");
    EXPECT_STREQ(scoretb[1].name, "pelgar");
    EXPECT_EQ(scoretb[4].score, 1000);
    EXPECT_EQ(scoretb[4].level, 1);
    EXPECT_TRUE(StrayFiles().empty());
    struct stat st;
    ASSERT_EQ(stat("scoretb.dat", &st), 0);
    EXPECT_EQ(st.st_mode & 0444, 0444u) << "readable like any file the game makes";
}

TEST(ScoreFile, LoadsTheBytesOfAnyCopyAndCutsLongNames) {
    ScratchSubdir dir("load");
    Bytes file = Table({Entry("abcdefghijklmnopqrstuvwxyz", 0x01020304, 26), Entry("neg", -5, -1),
                        Entry("x", 2147483647, 7), Entry("", 0, 0), Entry("last", 12, 3)});
    memcpy(file.data() + 28 + 4, "\x01garbage", 8);  // remains of an older name after the NUL
    WriteBytes("scoretb.dat", file);
    ClearTable();
    ScoreBoardInit();
    EXPECT_STREQ(scoretb[0].name, "abcdefghijklmnopqrs") << "at most 19 characters, always terminated";
    EXPECT_EQ(scoretb[0].score, 0x01020304);
    EXPECT_EQ(scoretb[0].level, 26);
    EXPECT_STREQ(scoretb[1].name, "neg");
    EXPECT_EQ(scoretb[1].score, -5);
    EXPECT_EQ(scoretb[1].level, -1);
    EXPECT_EQ(scoretb[2].score, 2147483647);
    EXPECT_STREQ(scoretb[4].name, "last");
    EXPECT_EQ(hiscore, 0x01020304);
    EXPECT_EQ(ReadFile("scoretb.dat"), file) << "loading never writes";

    // Written back, the layout is the same bytes.
    ScoreBoardWrite();
    Bytes back = ReadFile("scoretb.dat");
    ASSERT_EQ(back.size(), 140u);
    file[19] = 0;  // the cut name
    EXPECT_EQ(back, file);
}

TEST(ScoreFile, AShortFileFillsOnlyTheEntriesItHasBytesFor) {
    ScratchSubdir dir("short");
    WriteBytes("scoretb.dat", DEFAULT_FILE);
    ClearTable();
    ScoreBoardInit();

    Bytes file = Table({Entry("one", 111, 1), Entry("two", 222, 2)});
    Bytes third = Entry("threeXYZ", 0x7777, 3);
    file.insert(file.end(), third.begin(), third.begin() + 22);  // the name and half the score
    WriteBytes("scoretb.dat", file);
    ScoreBoardInit();
    EXPECT_STREQ(scoretb[0].name, "one");
    EXPECT_STREQ(scoretb[1].name, "two");
    EXPECT_EQ(scoretb[1].level, 2);
    EXPECT_STREQ(scoretb[2].name, "threeXYZ");
    EXPECT_EQ(scoretb[2].score, (3000 & ~0xffff) | 0x7777)
        << "the low bytes from the file, the rest as it was";
    EXPECT_EQ(scoretb[2].level, 3);
    EXPECT_STREQ(scoretb[3].name, "pelgar");
    EXPECT_EQ(scoretb[3].score, 2000);
    EXPECT_EQ(scoretb[4].score, 1000);
    EXPECT_EQ(hiscore, 111);

    // A name cut by the end of the file is still terminated.
    ClearTable();
    memset(scoretb[0].name, 'Q', sizeof scoretb[0].name);
    WriteBytes("scoretb.dat", Bytes(5, 'z'));
    ScoreBoardInit();
    EXPECT_STREQ(scoretb[0].name, "zzzzzQQQQQQQQQQQQQQ");

    WriteBytes("scoretb.dat", Bytes());
    scoretb[0].score = 4321;
    ScoreBoardInit();
    EXPECT_EQ(hiscore, 4321) << "an empty file leaves the table as it was";
    EXPECT_EQ(ReadFile("scoretb.dat").size(), 0u);
}

TEST(ScoreFile, AFileThatCannotBeReadOrWrittenNeverStopsTheGame) {
    {
        // A directory where the file should be: opens, reads nothing, cannot be replaced.
        ScratchSubdir dir("unreadable");
        ASSERT_EQ(mkdir("scoretb.dat", 0755), 0);
        ClearTable();
        scoretb[0].score = 77;
        ScoreBoardInit();
        EXPECT_EQ(scoretb[0].score, 77);
        EXPECT_EQ(hiscore, 77);
        ScoreBoardWrite();
        struct stat st;
        ASSERT_EQ(stat("scoretb.dat", &st), 0);
        EXPECT_TRUE(S_ISDIR(st.st_mode));
        EXPECT_TRUE(StrayFiles().empty());
    }
    // Neither readable nor creatable: the table and the high score stay.
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    ASSERT_EQ(chdir("/proc"), 0);
    ClearTable();
    strcpy(scoretb[2].name, "kept");
    hiscore = 99;
    ScoreBoardInit();
    ScoreBoardWrite();
    EXPECT_EQ(chdir(here), 0);
    EXPECT_STREQ(scoretb[2].name, "kept");
    EXPECT_EQ(scoretb[0].score, 0);
    EXPECT_EQ(hiscore, 99);
    EXPECT_EQ(fd, nullptr);
}

TEST(ScoreFile, AWriteThatFailsHalfwayKeepsTheOldTable) {
    ScratchSubdir dir("atomic");
    WriteBytes("scoretb.dat", DEFAULT_FILE);
    ClearTable();
    ScoreBoardInit();
    memset(scoretb[0].name, 0, sizeof scoretb[0].name);
    strcpy(scoretb[0].name, "new");
    scoretb[0].score = 9999;

    // Files may grow to 100 bytes only: the write stops in the fourth entry.
    struct rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit small = old;
    small.rlim_cur = 100;
    void (*was)(int) = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    ScoreBoardWrite();
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, was);
    EXPECT_EQ(ReadFile("scoretb.dat"), DEFAULT_FILE);
    EXPECT_TRUE(StrayFiles().empty());

    ScoreBoardWrite();
    Bytes now = ReadFile("scoretb.dat");
    ASSERT_EQ(now.size(), 140u);
    EXPECT_EQ(Bytes(now.begin(), now.begin() + 28), Entry("new", 9999, 5));
    EXPECT_TRUE(StrayFiles().empty());
}

// Runs the end-of-game update with these key presses; false if it was still
// waiting for a key when they ran out.
bool RunEntry(const std::string &script) {
    Fresh(script, 100000);
    try {
        ScoreBoard(2);
        return true;
    } catch (const RunOver &) {
        return false;
    }
}

void DefaultTable() {
    WriteBytes("scoretb.dat", DEFAULT_FILE);
    ClearTable();
    ScoreBoardInit();
}

int Row(int rank) {
    return 150 + 12 * rank;
}

TEST(ScoreEntry, EqualScoresDoNotPassAndTooLowScoresShowNothing) {
    ScratchSubdir dir("rules");
    DefaultTable();
    NPLAYERS = 1;
    level = 9;
    score = 1000;
    EXPECT_TRUE(RunEntry(""));
    EXPECT_EQ(HeadlessPresents(), 0) << "nothing shown";
    EXPECT_EQ(HeadlessFrame(), 0);
    EXPECT_EQ(ReadFile("scoretb.dat"), DEFAULT_FILE) << "nothing written";

    score = 5000;
    EXPECT_TRUE(RunEntry("100 type Kim\n110 press ENTER\n200 press SPACE\n"));
    EXPECT_EQ(scoretb[0].score, 5000);
    EXPECT_STREQ(scoretb[0].name, "earthguard team");
    EXPECT_STREQ(scoretb[1].name, "Kim");
    EXPECT_EQ(scoretb[1].score, 5000);
    EXPECT_EQ(scoretb[1].level, 9);
    EXPECT_STREQ(scoretb[2].name, "pelgar");
    EXPECT_EQ(scoretb[2].score, 4000);
    EXPECT_EQ(scoretb[4].score, 2000) << "the last entry drops out";
    EXPECT_EQ(hiscore, 5000);
    EXPECT_EQ(ReadFile("scoretb.dat"),
              Table({Entry("earthguard team", 5000, 5), Entry("Kim", 5000, 9), Entry("pelgar", 4000, 4),
                     Entry("earthguard team", 3000, 3), Entry("pelgar", 2000, 2)}));

    score = 5001;
    EXPECT_TRUE(RunEntry("100 type Top\n110 press ENTER\n200 press SPACE\n"));
    EXPECT_STREQ(scoretb[0].name, "Top");
    EXPECT_EQ(hiscore, 5001);
}

TEST(ScoreEntry, TypingKeepsLettersAndDigitsUpTo17AndBackspaceErases) {
    ScratchSubdir dir("typing");
    DefaultTable();
    NPLAYERS = 1;
    level = 4;
    score = 3500;                                          // rank 3
    std::string script = "100 press BACKSPACE\n"           // nothing to erase
                         "102 type ab-c d.E!\n"            // punctuation and space are ignored
                         "120 press F1\n121 press LEFT\n"  // keys without a character
                         "124 press BACKSPACE\n"           // "abcd"
                         "130 type 0123456789xyzWQ\n"      // 13 more fit
                         "170 press ENTER\n";
    EXPECT_FALSE(RunEntry(script)) << "waits for a key after the name";
    EXPECT_STREQ(scoretb[2].name, "abcd0123456789xyz");
    EXPECT_TRUE(ShowsText(10, Row(2), 10, 0, "3. abcd0123456789xyz"));
    EXPECT_TRUE(ShowsText(176, Row(2), 10, 0, "4"));
    EXPECT_TRUE(ShowsText(232, Row(2), 10, 0, "3500"));
    EXPECT_TRUE(ShowsText(3, 133, 8, 0, "Name:                Level: Score:"));
    EXPECT_EQ(ReadFile("scoretb.dat").size(), 140u);
    EXPECT_EQ(memcmp(ReadFile("scoretb.dat").data() + 56, "abcd0123456789xyz\0", 18), 0);
}

TEST(ScoreEntry, WhileTypingTheRowShowsTheCharactersAndThePrompt) {
    ScratchSubdir dir("prompt");
    DefaultTable();
    NPLAYERS = 1;
    level = 2;
    score = 2500;  // rank 4
    EXPECT_FALSE(RunEntry("100 type Zed9\n110 press BACKSPACE\n"));
    EXPECT_TRUE(ShowsText(3, 133, 8, 0, "Player 1 please enter your name!  "));
    EXPECT_TRUE(ShowsText(26, Row(3), 8, 0, ">Zed "));
    EXPECT_TRUE(ShowsText(10, Row(3), 10, 0, "4."));
    EXPECT_TRUE(ShowsText(10, Row(4), 10, 0, "5. pelgar"));
    EXPECT_EQ(ReadFile("scoretb.dat"), DEFAULT_FILE) << "written only after Enter";
}

TEST(ScoreEntry, EnterAtOnceStoresAnEmptyNameAndAFinishedGameShowsEnd) {
    ScratchSubdir dir("empty");
    DefaultTable();
    NPLAYERS = 1;
    level = 26;
    score = 3500;
    EXPECT_FALSE(RunEntry("100 press ENTER\n"));
    EXPECT_STREQ(scoretb[2].name, "");
    EXPECT_EQ(scoretb[2].level, 26);
    EXPECT_TRUE(ShowsText(10, Row(2), 10, 0, "3.    "));
    EXPECT_TRUE(ShowsText(176, Row(2), 10, 0, "end"));
    EXPECT_TRUE(ShowsText(176, Row(3), 10, 0, "3"));
    EXPECT_EQ(ReadFile("scoretb.dat")[56], 0);
    EXPECT_EQ(ReadFile("scoretb.dat")[80], 26);
}

TEST(ScoreEntry, TwoPlayersEnterOneAfterTheOtherEachWithItsPrompt) {
    ScratchSubdir dir("two");
    DefaultTable();
    NPLAYERS = 2;
    level = 12;
    score = 4500;
    score2 = 6000;
    const std::string first = "100 type Ann\n110 press ENTER\n200 press SPACE\n";

    // Stopped while player 1 types: player 1's prompt.
    EXPECT_FALSE(RunEntry("100 type Ann\n"));
    EXPECT_TRUE(ShowsText(3, 133, 8, 0, "Player 1 please enter your name!  "));
    EXPECT_TRUE(ShowsText(26, Row(1), 8, 0, ">Ann"));

    // Stopped while player 2 types: player 1's entry is saved, player 2's prompt shows.
    DefaultTable();
    EXPECT_FALSE(RunEntry(first + "500 type Bo\n"));
    EXPECT_TRUE(ShowsText(3, 133, 8, 0, "Player 2 please enter your name!  "));
    EXPECT_TRUE(ShowsText(26, Row(0), 8, 0, ">Bo"));
    EXPECT_TRUE(ShowsText(10, Row(2), 10, 0, "3. Ann"));
    EXPECT_EQ(ReadFile("scoretb.dat"),
              Table({Entry("earthguard team", 5000, 5), Entry("Ann", 4500, 12), Entry("pelgar", 4000, 4),
                     Entry("earthguard team", 3000, 3), Entry("pelgar", 2000, 2)}));

    DefaultTable();
    EXPECT_TRUE(RunEntry(first + "500 type Bo\n510 press ENTER\n600 press SPACE\n"));
    EXPECT_EQ(ReadFile("scoretb.dat"),
              Table({Entry("Bo", 6000, 12), Entry("earthguard team", 5000, 5), Entry("Ann", 4500, 12),
                     Entry("pelgar", 4000, 4), Entry("earthguard team", 3000, 3)}));
    EXPECT_EQ(hiscore, 6000);
    EXPECT_TRUE(ShowsText(10, Row(0), 10, 0, "1. Bo"));

    // Player 2 can push player 1's new entry out of the table.
    DefaultTable();
    score = 1500;
    score2 = 9000;
    EXPECT_TRUE(RunEntry("100 type Low\n110 press ENTER\n200 press SPACE\n"
                         "500 type High\n510 press ENTER\n600 press SPACE\n"));
    EXPECT_STREQ(scoretb[0].name, "High");
    for (const scoreentry_t &e : scoretb) EXPECT_STRNE(e.name, "Low");
}

TEST(ScoreEntry, TheTitleMenuShowsTheTableOnItsPicture) {
    ScratchSubdir dir("menu");
    DefaultTable();
    Fresh("100 press DOWN\n104 press DOWN\n108 press DOWN\n112 press DOWN\n116 press DOWN\n120 press SPACE\n",
          100000);
    EXPECT_THROW(Title(), RunOver);
    EXPECT_TRUE(ShowsText(3, 133, 8, 0, "Name:                Level: Score:"));
    EXPECT_TRUE(ShowsText(10, Row(0), 10, 0, "1. earthguard team"));
    EXPECT_TRUE(ShowsText(10, Row(3), 10, 0, "4. pelgar"));
    EXPECT_TRUE(ShowsText(176, Row(4), 10, 0, "1"));
    EXPECT_TRUE(ShowsText(232, Row(4), 10, 0, "1000"));
    EXPECT_EQ(Shown(1, 170), 5);
    EXPECT_EQ(Shown(317, 130), 5);
    EXPECT_EQ(Shown(160, 210), 5);
}

}  // namespace
