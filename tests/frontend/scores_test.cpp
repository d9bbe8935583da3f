// The high-score table: its file, the rules of entering it, name entry, and
// the table as the player sees it.

#include "support/harness.h"
#include "support/shown_text.h"
#include "frontend/frontend.h"
#include "platform/paths.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <cstring>
#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// On this machine an entry in memory has the file's layout.
static_assert(sizeof(scoreentry_t) == 28 && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "file layout");

// One entry as the file holds it.
std::string Entry(const std::string &name, int score, int level) {
    scoreentry_t e = {{0}, score, level};
    memcpy(e.name, name.data(), std::min<size_t>(name.size(), 20));
    return std::string((const char *)&e, sizeof e);
}

std::string Memory() {
    return std::string((const char *)scoretb, sizeof scoretb);
}

const std::string DEFAULT_FILE = Entry("earthguard team", 5000, 5) + Entry("pelgar", 4000, 4) +
                                 Entry("earthguard team", 3000, 3) + Entry("pelgar", 2000, 2) +
                                 Entry("earthguard team", 1000, 1);

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

TEST(ScoreFile, AFirstRunMakesTheDefaultTableAndAnyCopysBytesLoad) {
    ScratchSubdir dir("first-run");
    ClearTable();
    ScoreBoard(1);
    EXPECT_EQ(Slurp("scoretb.dat"), DEFAULT_FILE);
    EXPECT_EQ(Memory(), DEFAULT_FILE);
    EXPECT_EQ(hiscore, 5000);
    EXPECT_TRUE(StrayFiles().empty());
    struct stat st;
    ASSERT_EQ(stat("scoretb.dat", &st), 0);
    EXPECT_EQ(st.st_mode & 0444, 0444u) << "readable like any file the game makes";

    std::string file = Entry("abcdefghijklmnopqrstuvwxyz", 0x01020304, 26) + Entry("neg", -5, -1) +
                       Entry("x", 2147483647, 7) + Entry("", 0, 0) + Entry("last", 12, 3);
    file.replace(28 + 4, 8, "\x01garbage");  // remains of an older name after the NUL
    WriteFile("scoretb.dat", file);
    ScoreBoardInit();
    EXPECT_EQ(hiscore, 0x01020304);
    EXPECT_EQ(Slurp("scoretb.dat"), file) << "loading never writes";
    file[19] = 0;  // at most 19 characters, always terminated
    EXPECT_EQ(Memory(), file);
    ScoreBoardWrite();
    EXPECT_EQ(Slurp("scoretb.dat"), file) << "written back, the layout is the same bytes";
}

TEST(ScoreFile, AWriteThatFailsHalfwayKeepsTheOldTable) {
    ScratchSubdir dir("atomic");
    WriteFile("scoretb.dat", DEFAULT_FILE);
    ScoreBoardInit();
    scoretb[0] = scoreentry_t{"new", 9999, 5};

    // Files may grow to 100 bytes only: the write stops in the fourth entry.
    struct rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit small = {100, old.rlim_max};
    void (*was)(int) = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    ScoreBoardWrite();
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, was);
    EXPECT_EQ(Slurp("scoretb.dat"), DEFAULT_FILE);
    EXPECT_TRUE(StrayFiles().empty());

    ScoreBoardWrite();
    EXPECT_EQ(Slurp("scoretb.dat"), Entry("new", 9999, 5) + DEFAULT_FILE.substr(28));
}

// Loads the table and saves it changed, in a child process that runs as
// nobody when `drop` and the tests run as root; true if it loaded `expect`.
bool LoadAndSave(bool drop, const std::string &expect) {
    pid_t pid = fork();
    if (pid == 0) {
        if (drop && geteuid() == 0 && (setresgid(65534, 65534, 65534) || setresuid(65534, 65534, 65534)))
            _exit(3);
        ClearTable();
        ScoreBoardInit();
        bool ok = Memory() == expect;
        scoretb[0].score = 9999;
        ScoreBoardWrite();
        _exit(ok && scoretb[0].score == 9999 ? 0 : 1);
    }
    int status;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(ScoreFile, ATableThePlayerMayNotWriteOrReadIsLeftAsItsOwnerLeftIt) {
    ScratchSubdir dir("protected");
    ASSERT_EQ(chmod(".", 0777), 0);  // only the table's own rights may stop a save
    WriteFile("scoretb.dat", DEFAULT_FILE);
    // Write-protected (which binds root too), unreadable, another user's.
    for (auto c : {std::make_pair(0444u, false), {0u, true}, {0644u, true}}) {
        if (c.first == 0644 && geteuid() != 0) continue;  // needs a second user
        ASSERT_EQ(chmod("scoretb.dat", c.first), 0);
        EXPECT_TRUE(LoadAndSave(c.second, c.first ? DEFAULT_FILE : std::string(140, '\0'))) << c.first;
        struct stat st;
        ASSERT_EQ(stat("scoretb.dat", &st), 0);
        EXPECT_EQ(st.st_mode & 0777, c.first);
        EXPECT_EQ(st.st_uid, geteuid());
        ASSERT_EQ(chmod("scoretb.dat", 0600), 0);
        EXPECT_EQ(Slurp("scoretb.dat"), DEFAULT_FILE);
        EXPECT_TRUE(StrayFiles().empty());
    }
    // A folder where the table should be (it opens but reads nothing), and a
    // table that cannot be made: the table stays in memory only.
    ASSERT_EQ(mkdir("folder", 0755), 0);
    for (std::string file : {dir.File("folder"), std::string("/proc/earthguard/scoretb.dat")}) {
        SetScoresFile(file);
        EXPECT_TRUE(LoadAndSave(false, std::string(140, '\0'))) << file;
        SetScoresFile("");
    }
    EXPECT_EQ(StrayFiles(), std::vector<std::string>{"folder"});
    EXPECT_EQ(Slurp("folder"), "");
}

TEST(ScoreFile, ALinkedTableIsSavedInTheLinksTargetAndOldLeftoversThereGo) {
    ScratchSubdir dir("linked");
    ASSERT_EQ(mkdir("keep", 0755), 0);
    WriteFile("keep/real.dat", DEFAULT_FILE);
    ASSERT_EQ(chmod("keep/real.dat", 0600), 0);
    ASSERT_EQ(symlink("keep/real.dat", "scoretb.dat"), 0);
    struct timeval old[2] = {{time(NULL) - 120, 0}, {time(NULL) - 120, 0}};
    const char *crashed[] = {"keep/real.dat.Old123", "keep/real.dat.New456", "keep/real.dat.Old12",
                             "keep/x.Old123"};
    for (const char *f : crashed) {
        WriteFile(f, "crash");
        EXPECT_EQ(strstr(f, "Old") ? utimes(f, old) : 0, 0);
    }
    ClearTable();
    ScoreBoardInit();
    EXPECT_EQ(Memory(), DEFAULT_FILE);
    scoretb[4].score = 1234;
    ScoreBoardWrite();
    struct stat st;
    ASSERT_EQ(lstat("scoretb.dat", &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << "still a link";
    EXPECT_EQ(Slurp("keep/real.dat"), DEFAULT_FILE.substr(0, 4 * 28) + Entry("earthguard team", 1234, 1));
    ASSERT_EQ(stat("keep/real.dat", &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u) << "the rights its owner gave it";
    for (const char *f : crashed) EXPECT_EQ(access(f, F_OK) == 0, f != crashed[0]) << f;
    EXPECT_EQ(StrayFiles(), std::vector<std::string>{"keep"});

    // A link to a table not made yet, and a table kept in another folder.
    ASSERT_EQ(unlink("scoretb.dat"), 0);
    ASSERT_EQ(symlink("keep/new.dat", "scoretb.dat"), 0);
    ScoreBoardInit();
    EXPECT_EQ(Slurp("keep/new.dat"), DEFAULT_FILE);
    SetScoresFile(dir.File("keep/moved.dat"));
    ScoreBoardInit();
    SetScoresFile("");
    EXPECT_EQ(Slurp("keep/moved.dat"), DEFAULT_FILE);
    EXPECT_EQ(StrayFiles(), std::vector<std::string>{"keep"});
}

// Another copy's table, its names with bytes of long UTF-8 sequences,
// control and Latin-1 bytes.
const std::string CRAFTED = Entry("A\xFD\x80\x80\x80\x80\x80\x80z\x01\xE9", 5000, 5) +
                            DEFAULT_FILE.substr(28, 84) + Entry("\xFF\xBF\xBF\xBF\xBF\xBF\xBF\xBF", 1000, 1);

// That table loaded, and the end-of-game update run with these key presses;
// false if it was still waiting for a key when they ran out.
bool RunEntry(int players, int s1, int s2, const std::string &script) {
    WriteFile("scoretb.dat", CRAFTED);
    ScoreBoardInit();
    NPLAYERS = players;
    level = 26;
    score = s1;
    score2 = s2;
    return RunUntil([] { ScoreBoard(2); }, 100000, script);
}

bool Row(int rank, const std::string &text, int x = 10, int colour = 10) {
    return ShowsText(x, 150 + 12 * rank, colour, 0, text);
}

// The table on the title picture; a score passes only entries strictly
// lower; each player in turn names his entry with letters and digits, up to
// 17, Backspace erasing; the table is written after each Enter. Crafted
// names show as plain characters, never hang and are kept byte for byte.
TEST(ScoreEntry, PlayersEnterTheirNamesInTurn) {
    ScratchSubdir dir("entry");
    alarm(20);  // a hang ends the test program instead of stalling the run
    WriteFile("scoretb.dat", CRAFTED);
    ScoreBoardInit();
    EXPECT_FALSE(RunUntil(Title, 100000, Presses(KeyNames("DOWN DOWN DOWN DOWN DOWN SPACE"))));
    EXPECT_TRUE(ShowsText(3, 133, 8, 0, "Name:                Level: Score:"));
    EXPECT_TRUE(Row(0, "1. A???????z??"));
    EXPECT_TRUE(Row(4, "5. ????????") && Row(4, "1", 176) && Row(4, "1000", 232));
    for (auto xy : {std::make_pair(1, 170), {317, 130}, {160, 210}}) EXPECT_EQ(Shown(xy.first, xy.second), 5);

    EXPECT_TRUE(RunEntry(1, 1000, 0, ""));
    EXPECT_EQ(HeadlessPresents(), 0) << "nothing shown";
    EXPECT_EQ(HeadlessFrame(), 0);
    EXPECT_EQ(Slurp("scoretb.dat"), CRAFTED) << "nothing written";

    const std::string one = "100 press BACKSPACE\n"           // nothing to erase
                            "102 type ab-c d.E!\n"            // punctuation and space are ignored
                            "120 press F1\n121 press LEFT\n"  // keys without a character
                            "124 press BACKSPACE\n"           // "abcd"
                            "130 type 0123456789xyzWQ\n"      // 13 more fit
                            "170 press ENTER\n200 press SPACE\n";
    std::string now = CRAFTED.substr(0, 28) + Entry("abcd0123456789xyz", 5000, 26) + CRAFTED.substr(28, 84);
    EXPECT_FALSE(RunEntry(2, 5000, 6000, one + "500 type Zed9\n510 press BACKSPACE\n"));
    EXPECT_TRUE(ShowsText(3, 133, 8, 0, "Player 2 please enter your name!  "));
    EXPECT_TRUE(Row(0, ">Zed ", 26, 8));
    EXPECT_TRUE(Row(1, "2. A???????z??"));
    EXPECT_TRUE(Row(2, "3. abcd0123456789xyz"));
    EXPECT_TRUE(Row(2, "end", 176) && Row(2, "5000", 232));
    EXPECT_TRUE(Row(3, "4. pelgar") && Row(3, "4", 176));
    EXPECT_EQ(Slurp("scoretb.dat"), now);

    // Enter at once: an empty name.
    EXPECT_TRUE(RunEntry(2, 5000, 6000, one + "500 press ENTER\n600 press SPACE\n"));
    alarm(0);
    now = Entry("", 6000, 26) + now.substr(0, 4 * 28);
    EXPECT_EQ(Slurp("scoretb.dat"), now);
    EXPECT_EQ(Memory(), now);
    EXPECT_EQ(hiscore, 6000);
    EXPECT_TRUE(Row(0, "1.    "));
}

// The table reader on ten million generated files of 0..140 bytes: every
// entry the file reaches takes its bytes with the name cut and terminated,
// every other entry keeps its value, and every name shows in plain characters
// (and draws, raw, without hanging).
TEST(ScoreFile, FuzzedFilesDecodeIntoWellFormedEntries) {
#if defined(__SANITIZE_ADDRESS__)
    const long runs = 500000;  // the sanitizers run this loop about twenty times slower
#else
    const long runs = 10000000;
#endif
    uint64_t seed = 0x9E3779B97F4A7C15ull;
    auto next = [&seed] {
        seed ^= seed << 13;
        seed ^= seed >> 7;
        return seed ^= seed << 17;
    };
    unsigned char file[144];
    scoreentry_t before[5];
    BITMAP *pad = create_bitmap(200, 8);
    for (long run = 0; run < runs; run++) {
        size_t n = next() % 141;
        for (size_t i = 0; i < n; i += 8) {
            uint64_t r = next();
            if (run & 1) r &= 0x8080808080808080ull | (r >> 1);  // many NULs and high bytes
            memcpy(file + i, &r, 8);
        }
        memcpy(before, scoretb, sizeof before);
        ScoreBoardDecode(file, n);
        for (size_t k = 0, at = 0; k < 5; k++, at += 28) {
            scoreentry_t want = before[k];
            if (n > at) memcpy(&want, file + at, std::min<size_t>(n - at, 28));
            want.name[19] = 0;
            ASSERT_EQ(memcmp(&scoretb[k], &want, sizeof want), 0) << run;
            char shown[20];
            ShownName(want.name, shown);
            ASSERT_EQ(strlen(shown), strlen(want.name)) << run;
            for (const char *c = shown; *c; c++) ASSERT_TRUE(*c >= 32 && *c <= 126) << run;
            if (run % 1000 == 0) textprintf_ex(pad, font, 0, 0, 1, 0, "%s", want.name);  // raw bytes too
        }
    }
    destroy_bitmap(pad);
}

}  // namespace
