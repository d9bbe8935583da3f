// The front end: the title menu, the high-score table and its file, the
// intro and the ending, driven by key presses on the headless clock.

#include "support/playfield.h"
#include "support/shown_text.h"
#include "frontend/frontend.h"
#include "platform/paths.h"
#include "platform/runner.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <set>
#include <sstream>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

BITMAP *ref;  // the expected picture: 320x256 of a 640x480 bitmap

// Starts the expected picture from `sheet`, or cleared to `colour` without one.
void RefFrom(BITMAP *sheet, int colour = 0) {
    if (!ref) ref = create_bitmap_ex(8, 640, 480);
    clear_to_color(ref, colour);
    if (sheet) blit(sheet, ref, 0, 0, 0, 0, 320, 256);
}

// Pixels of the last presented picture that differ from the expected one.
int Mismatches() {
    int n = 0;
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 320; x++) n += Shown(x, y) != getpixel(ref, x, y);
    return n;
}

// Lines of text on the expected picture from (x, y) down, 8 pixels apart.
void RefText(int x, int y, int colour, int background, std::istream &&in) {
    for (std::string line; std::getline(in, line); y += 8)
        textout_ex(ref, font, line.c_str(), x, y, colour, background);
}

// The last presented picture is a text screen with these lines from row 40.
bool TextShown(int background, int colour, const std::string &text) {
    RefFrom(nullptr, background);
    RefText(0, 40, colour, background, std::istringstream(text));
    return Mismatches() == 0;
}

// ---- The title menu ----

// True when the menu returned to start a game; false when it was still
// waiting for a key after the last press.
bool RunTitle(const std::string &keys) {
    return RunUntil(Title, 100000, Presses(KeyNames(keys)));
}

const std::string TO_START = "DOWN DOWN DOWN DOWN ";

// The cursor frame's left edge crosses the middle of its row.
int CursorRow() {
    int row = -1;
    for (int r = 0; r < 7; r++)
        if (Shown(221, 14 + 16 * r) == 4) row = row < 0 ? r : 99;
    return row;
}

// An option line, up to the cursor's and the panel's frames on its right.
bool Line(int row, const std::string &text) {
    return ShowsText(222, 11 + 16 * row, 10, 0, text, 316 - 222);
}

// The panel's and the credits box's texts (their frames are in the kept
// recordings' pictures); keys other than the arrows only redraw the same
// picture; the cursor moves, and the options' lines show markers where each
// can still change; the intro comes back to the menu as it was.
TEST(TitleMenu, ThePanelTheCursorTheOptionsAndTheSettingsAGameStartsWith) {
    EXPECT_FALSE(RunTitle(""));
    EXPECT_TRUE(ShowsText(0, 0, 8, 0, "1.01"));
    EXPECT_TRUE(Line(0, "    Easy   >") && Line(1, "  3 lives  >") && Line(2, " Normal 1P >"));
    EXPECT_TRUE(ShowsText(230, 59, 10, 0, "PLAY INTRO") && ShowsText(230, 75, 10, 0, "START GAME"));
    EXPECT_TRUE(ShowsText(230, 91, 10, 0, "SCOREBOARD") && ShowsText(234, 107, 10, 0, "QUIT GAME"));
    EXPECT_TRUE(ShowsText(99, 222, 10, 0, "Earthguard 1.01"));
    EXPECT_TRUE(ShowsText(51, 231, 8, 0, "made by the Earthguard team"));
    EXPECT_TRUE(ShowsText(43, 240, 8, 0, "thanks to the Allegro authors"));

    RefFrom(HeadlessPicture());
    EXPECT_FALSE(RunTitle("ESC ENTER SPACE X F1 TAB 7 P BACKSPACE"));
    EXPECT_EQ(HeadlessSoundCount(), 0);
    EXPECT_EQ(Mismatches(), 0);

    const std::tuple<const char *, int, const char *, int> cases[] = {
        {"LEFT", 0, "    Easy   >", 0},
        {"RIGHT", 0, "<  Medium  >", 0},
        {"RIGHT RIGHT RIGHT", 0, "<   Hard    ", 0},
        {"DOWN RIGHT RIGHT", 1, "< 5 lives   ", 1},
        {"DOWN RIGHT LEFT", 1, "  3 lives  >", 1},
        {"DOWN DOWN RIGHT", 2, "<  Old 1P  >", 2},
        {"DOWN DOWN RIGHT RIGHT", 2, "<Normal 2P >", 2},
        {"DOWN DOWN RIGHT RIGHT RIGHT RIGHT", 2, "<  Old 2P   ", 2},
        // Left and Right on the other rows change nothing.
        {"DOWN DOWN DOWN RIGHT DOWN LEFT DOWN RIGHT DOWN LEFT", 0, "    Easy   >", 6},
        {"RIGHT DOWN RIGHT DOWN DOWN SPACE", 1, "< 5 lives   ", 3},  // PLAY INTRO
        {"UP DOWN DOWN DOWN DOWN DOWN DOWN DOWN UP", 1, "  3 lives  >", 5},
    };
    for (auto [keys, row, line, cursor] : cases) {
        EXPECT_FALSE(RunTitle(keys));
        EXPECT_TRUE(Line(row, line)) << keys;
        EXPECT_EQ(CursorRow(), cursor) << keys;
    }
    // Up and Down play the cursor sound also where the cursor cannot move.
    EXPECT_EQ(Sound(pl_fx[2]), (Played{9, 120, 150, 1000}));

    // The settings each option, extra and mode starts a game with; an extra
    // is taken only on START GAME, shows a face until the title is drawn
    // afresh and stays for the next games until removed.
    const std::string hard5 = "RIGHT RIGHT DOWN RIGHT DOWN DOWN DOWN ",
                      old2p = "DOWN DOWN RIGHT RIGHT RIGHT DOWN DOWN ";
    // Keys before the Space on START GAME; players, mode, money, lives,
    // weapon, power, speed, bo_m, the super and the money bonus; the face.
    const std::tuple<std::string, std::vector<int>, std::string> starts[] = {
        {TO_START, {1, 1, 1500, 3, 1, 1, 1, 2, 0, 0}, ""},
        {"RIGHT " + TO_START, {1, 1, 1000, 3, 1, 1, 1, 1, 0, 0}, ""},
        {hard5, {1, 1, 500, 5, 1, 1, 1, 1, 0, 0}, ""},
        {old2p, {2, 2, 1500, 3, 1, 1, 2, 2, 0, 0}, ""},
        {"M S+B DOWN M S+B DOWN DOWN DOWN", {1, 1, 1500, 3, 1, 1, 1, 2, 0, 0}, ""},
        {hard5 + "M", {1, 1, 12000, 5, 1, 1, 1, 1, 0, 1}, ":-)"},
        {TO_START, {1, 1, 12000, 3, 1, 1, 1, 2, 0, 1}, ""},
        {TO_START + "S+B", {1, 1, 50000, 10, 3, 3, 2, 2, 1, 0}, ":-O"},
        {old2p, {2, 2, 50000, 10, 1, 1, 2, 2, 1, 0}, ""},
        {TO_START + "M N", {1, 1, 1500, 3, 1, 1, 1, 2, 0, 0}, ":-("},
    };
    CHEAT = CHEAT2 = false;
    for (const auto &[keys, set, face] : starts) {
        speed = speed2 = 3;
        bo_m = 9;
        EXPECT_TRUE(RunTitle(keys + " SPACE"));
        EXPECT_EQ(speed2, speed);
        EXPECT_EQ(std::vector<int>({NPLAYERS, MODE, MONEY, LIVES, WEAPON, POWER, speed, bo_m, CHEAT, CHEAT2}),
                  set)
            << keys;
        for (const char *f : {":-)", ":-O", ":-("}) EXPECT_EQ(ShowsText(0, 8, 10, 0, f), f == face) << keys;
        EXPECT_EQ(HeadlessPalette()[15].r + HeadlessPalette()[15].g + HeadlessPalette()[15].b,
                  0);  // faded out
    }
}

// A game started from the menu gets its settings, Escape brings a fresh
// menu back, and QUIT GAME ends the program (presses after it would keep a
// menu still open waiting until frame 900).
TEST(TitleMenu, AGameFromTheMenuEscapeBackAndQuit) {
    ScratchSubdir dir("whole");
    std::string line =
        RunHeadless({5000,
                     "",
                     Presses(KeyNames("RIGHT DOWN RIGHT DOWN RIGHT RIGHT DOWN DOWN SPACE")) +
                         "400 down ESC\n402 up ESC\n" + Presses(KeyNames(TO_START + "DOWN DOWN SPACE"), 500) +
                         "900 press UP\n",
                     {}});
    EXPECT_TRUE(line.find("level=1 score=0 score2=0 lives=5 lives2=5 money=1000 money2=1000 gameover=0") !=
                std::string::npos)
        << line;
    EXPECT_EQ(NPLAYERS, 2);
    int frames = FinalValues(line)["frames"];
    EXPECT_TRUE(frames > 524 && frames < 600) << line;
    EXPECT_EQ(CursorRow(), 6);
    EXPECT_TRUE(Line(0, "    Easy   >") && Line(1, "  3 lives  >"));
}

// ---- The high-score table ----

// On this machine an entry in memory has the file's layout.
static_assert(sizeof(scoreentry_t) == 28 && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "file layout");

// One entry as the file holds it.
std::string Entry(const std::string &name, int score, int level) {
    scoreentry_t e = {{0}, score, level};
    memcpy(e.name, name.data(), std::min<size_t>(name.size(), 20));
    return std::string((const char *)&e, sizeof e);
}

const std::string DEFAULT_FILE = Entry("earthguard team", 5000, 5) + Entry("pelgar", 4000, 4) +
                                 Entry("earthguard team", 3000, 3) + Entry("pelgar", 2000, 2) +
                                 Entry("earthguard team", 1000, 1);

// Entries of the working directory (leftovers of a save among them).
long Entries() {
    return std::distance(std::filesystem::directory_iterator("."), {});
}

// A first run makes the default table; a write that fails halfway keeps the
// old table whole.
TEST(ScoreFile, AFirstRunMakesTheDefaultTableAndAFailedWriteKeepsIt) {
    ScratchSubdir dir("first-run");
    memset(scoretb, 0, sizeof scoretb);
    hiscore = 0;
    ScoreBoard(1);
    EXPECT_EQ(Slurp("scoretb.dat"), DEFAULT_FILE);
    EXPECT_EQ(hiscore, 5000);
    EXPECT_EQ(Entries(), 2);  // the data link and the table
    struct stat st;
    EXPECT_TRUE(stat("scoretb.dat", &st) == 0 && (st.st_mode & 0444) == 0444) << "readable like any file";

    // Files may grow to 100 bytes only: the write stops in the fourth entry.
    scoretb[0] = scoreentry_t{"new", 9999, 5};
    struct rlimit old, small;
    getrlimit(RLIMIT_FSIZE, &old);
    small = {100, old.rlim_max};
    auto handler = signal(SIGXFSZ, SIG_IGN);  // a failed write, not a killed program
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    ScoreBoardWrite();
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, handler);
    EXPECT_EQ(Slurp("scoretb.dat"), DEFAULT_FILE);
    EXPECT_EQ(Entries(), 2);  // the data link and the table
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
        memset(scoretb, 0, sizeof scoretb);
        ScoreBoardInit();
        bool ok = std::string((const char *)scoretb, sizeof scoretb) == expect;
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
    for (auto [mode, drop] : {std::pair(0444u, false), {0u, true}, {0644u, true}}) {
        if (mode == 0644 && geteuid() != 0) continue;  // needs a second user
        ASSERT_EQ(chmod("scoretb.dat", mode), 0);
        EXPECT_TRUE(LoadAndSave(drop, mode ? DEFAULT_FILE : std::string(140, '\0'))) << mode;
        struct stat st;
        EXPECT_TRUE(stat("scoretb.dat", &st) == 0 && (st.st_mode & 0777) == mode && st.st_uid == geteuid());
        ASSERT_EQ(chmod("scoretb.dat", 0600), 0);
        EXPECT_EQ(Slurp("scoretb.dat"), DEFAULT_FILE);
        EXPECT_EQ(Entries(), 2);  // the data link and the table
    }
}

// A linked table is saved in the link's target with the rights its owner
// gave it, and old leftovers of a save there go.
TEST(ScoreFile, ALinkedTableIsSavedInTheLinksTargetAndOldLeftoversThereGo) {
    ScratchSubdir dir("linked");
    ASSERT_EQ(mkdir("keep", 0755), 0);
    WriteFile("keep/real.dat", DEFAULT_FILE);
    ASSERT_EQ(chmod("keep/real.dat", 0640), 0);
    ASSERT_EQ(symlink("keep/real.dat", "scoretb.dat"), 0);
    struct timeval old[2] = {{time(NULL) - 120, 0}, {time(NULL) - 120, 0}};
    const char *crashed[] = {"keep/real.dat.Old123", "keep/real.dat.New456", "keep/real.dat.Old12",
                             "keep/x.Old123"};
    for (const char *f : crashed) WriteFile(f, "crash");
    for (const char *f : {crashed[0], crashed[2], crashed[3]}) ASSERT_EQ(utimes(f, old), 0);
    memset(scoretb, 0, sizeof scoretb);
    ScoreBoardInit();
    scoretb[4].score = 1234;
    ScoreBoardWrite();
    struct stat st;
    EXPECT_TRUE(lstat("scoretb.dat", &st) == 0 && S_ISLNK(st.st_mode)) << "still a link";
    EXPECT_EQ(Slurp("keep/real.dat"), DEFAULT_FILE.substr(0, 4 * 28) + Entry("earthguard team", 1234, 1));
    EXPECT_TRUE(stat("keep/real.dat", &st) == 0 && (st.st_mode & 0777) == 0640);
    for (const char *f : crashed) EXPECT_EQ(access(f, F_OK) == 0, f != crashed[0]) << f;
    EXPECT_EQ(Entries(), 3);
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
    std::tie(NPLAYERS, level, score, score2) = std::tuple(players, 26, s1, s2);
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
    EXPECT_TRUE(Row(4, "5. ????????") && Row(4, "1", 176) && Row(4, "1000", 232));

    EXPECT_TRUE(RunEntry(1, 1000, 0, ""));
    EXPECT_EQ(HeadlessPresents() + HeadlessFrame(), 0) << "nothing shown";
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
    EXPECT_TRUE(Row(0, ">Zed ", 26, 8) && Row(1, "2. A???????z??"));
    EXPECT_TRUE(Row(2, "3. abcd0123456789xyz") && Row(2, "end", 176) && Row(2, "5000", 232));
    EXPECT_TRUE(Row(3, "4. pelgar") && Row(3, "4", 176));
    EXPECT_EQ(Slurp("scoretb.dat"), now);

    // Enter at once: an empty name.
    EXPECT_TRUE(RunEntry(2, 5000, 6000, one + "500 press ENTER\n600 press SPACE\n"));
    alarm(0);
    now = Entry("", 6000, 26) + now.substr(0, 4 * 28);
    EXPECT_EQ(Slurp("scoretb.dat"), now);
    EXPECT_EQ(hiscore, 6000);
    EXPECT_TRUE(Row(0, "1.    "));
}

// The table reader on ten million generated files of 0..140 bytes: every
// entry the file reaches takes its bytes with the name cut and terminated,
// every other entry keeps its value, and every name shows in plain characters.
TEST(ScoreFile, FuzzedFilesDecodeIntoWellFormedEntries) {
    long runs = 10000000;
#if defined(__SANITIZE_ADDRESS__)
    runs = 500000;  // the sanitizers run this loop about twenty times slower
#endif
    uint64_t seed = 0x9E3779B97F4A7C15ull;
    auto next = [&seed] { return (seed = seed * 6364136223846793005ull + 1442695040888963407ull) >> 33; };
    unsigned char file[144];
    for (long run = 0; run < runs; run++) {
        size_t n = next() % 141;
        for (size_t i = 0; i < n; i++) file[i] = next() & (run & 1 ? 0x80 | next() : 0xFF);  // odd: many NULs
        scoreentry_t want[5];  // the old table overlaid with the file's bytes
        memcpy(want, scoretb, sizeof want);
        memcpy(want, file, n);
        ScoreBoardDecode(file, n);
        for (scoreentry_t &w : want) w.name[19] = 0;
        ASSERT_EQ(memcmp(scoretb, want, sizeof want), 0) << run;
        for (const scoreentry_t &w : want) {
            char shown[20];
            ShownName(w.name, shown);
            ASSERT_EQ(strlen(shown), strlen(w.name)) << run;
            for (const char *c = shown; *c; c++) ASSERT_TRUE(*c >= 32 && *c <= 126) << run;
        }
    }
}

// ---- The intro and the ending ----

// The clock frame in which fn, started after setup(), shows its first scene
// frame: every scene frame presents one picture, after three others.
long FirstSceneFrame(void (*setup)(), void (*fn)()) {
    static long first[2] = {-1, -1};
    long &f = first[fn == End];
    if (f < 0) setup(), RunUntil(fn, 1500), f = 1499 - (HeadlessPresents() - 3);  // well inside the scenes
    return f;
}

// Runs fn after setup() and stops it right after scene frame g (counted over
// all its scenes); false if it did not stop there.
bool SceneAt(void (*setup)(), void (*fn)(), long g) {
    long f = FirstSceneFrame(setup, fn);
    setup();
    return !RunUntil(fn, f + g + 1) && HeadlessPresents() == 3 + g;
}

// Frames a fade to or from black takes at the given speed.
long FadeFrames(int speed) {
    Fresh();
    SysFadeIn(pal, speed);
    return HeadlessFrame();
}

// Draws cut-scene images on the expected picture, as a list of
//   m A S X Y     intro[A].spr[S] mirrored, top-left at (X, Y)
//   s A S X Y     the same not mirrored
//   z A S X Y F   the same at scale F (16.16)
// then, after a '|', a text box "X1 X2 Y2 line[\nline]" from row 147 in colour `box`.
void RefDraw(const std::string &layers, int box = 0) {
    std::istringstream in(layers);
    char op;
    int a, s, x, y, scale;
    while (in >> op >> a >> s >> x && (op == '|' || in >> y)) {
        if (op == '|') rectfill(ref, a, 147, s, x, box), RefText(a + 2, 150, 1, box, std::move(in.ignore()));
        // Allegro's rotate_scaled_sprite at angle 0, its x and y multiplied
        // rather than shifted: the blasts' places can be negative.
        BITMAP *sp = op == 'z' && in >> scale ? intro[a].spr[s] : nullptr;
        if (sp)
            ref->vtable->pivot_scaled_sprite_flip(ref, sp, x * 65536 + sp->w * scale / 2,
                                                  y * 65536 + sp->h * scale / 2, sp->w << 15, sp->h << 15, 0,
                                                  scale, FALSE);
        if (op == 'm') draw_sprite_h_flip(ref, intro[a].spr[s], x, y);
        if (op == 's') draw_sprite(ref, intro[a].spr[s], x, y);
    }
}

const int INTRO[] = {0, 400, 600, 1000, 1200, 1440};  // first frame of each scene
const int INTRO_SCENES = 1720;                        // frames of all six

// The title screen as the menu leaves it when "PLAY INTRO" is chosen.
void TitleShown() {
    Fresh();
    LoadData(0);
    ToScreen(bg);
    SysSetPalette(pal);
}

const int END[] = {0, 560, 760, 960, 1060, 1490};  // first frame of each scene
const int BLASTS = 20, BLAST = 45;                 // explosions of the last scene, frames each
const int END_SCENES = 1490 + BLASTS * BLAST;
const std::string FALLEN = "m0 9 141 224", FIXTURE = " s1 0 70 221";

// A play that has just beaten the fifth boss, on the last stage's sheet:
// difficulty, players, and each player's lives, money and score.
void PlayState(const int *v) {
    Fresh();
    LoadData(5);
    std::tie(MODE, level, gameover, SKILL, NPLAYERS, lives, money, score, lives2, money2, score2) =
        std::tuple(1, 26, false, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
}

void (*const Won)() = [] { PlayState(std::vector<int>{1, 1, 3, 0, 0, 0, 0, 0}.data()); };

// Runs the intro or the ending to each row's frame (frame n of scene
// `scene`) and compares the shown picture with what RefDraw draws over the
// sheet's picture.
void ExpectScenes(void (*fn)(), const std::vector<std::tuple<int, int, std::string>> &rows) {
    for (const auto &[scene, n, layers] : rows) {
        ASSERT_TRUE(SceneAt(fn == End ? Won : TitleShown, fn, (fn == End ? END : INTRO)[scene] + n))
            << scene << n;
        RefFrom(bg);
        RefDraw(layers, fn == End ? 8 : 7);
        EXPECT_EQ(Mismatches(), 0) << scene << " " << n;
    }
}

// Sound i of the run is sample s at volume vol, a little to the right (pan
// 150), at frequency 1000, played in clock frame `frame`.
bool SoundIs(int i, SAMPLE *s, int vol, long frame) {
    const SoundEvent *e = HeadlessSound(i);
    return e && e->sample == s && e->vol == vol && e->pan == 150 && e->freq == 1000 && e->frame == frame;
}

// Each scene's picture at chosen frames: the commander walks in on his walk
// cycle (a new pose every 5 frames, all five in turn, also well inside the
// screen), gives the order, the shot shrinks away, the impact's explosion
// shows images 2..7 eight frames each, the fighter goes at half speed until
// x 250 then full, and the commander boasts in his second pose.
TEST(Intro, ScenesFrameByFrameCaptionsMusicSoundsAndLengthWhateverKeysArePressed) {
    const std::string WALK = " s1 0 70 221", REST = "m0 5 150 190", PLANET = " s4 0 139 53",
                      FG = " s2 0 250 70", FIRE = "| 148 192 160 Fire!",
                      FIGHTERS = "| 18 222 168 And now send the fighters\nfor final attack...";
    ExpectScenes(Intro,
                 {{0, 4, "m0 1 -47 190" + WALK},
                  {0, 5, "m0 2 -47 190" + WALK},
                  {0, 215, "m0 4 58 190" + WALK},
                  {1, 51, REST + "| 18 198 160 Destroy this planet..."},
                  {1, 181, REST + FIRE},
                  {2, 100, REST + " z3 0 273 144 45336" + FG},
                  {3, 7, REST + PLANET + " s4 2 139 53"},
                  {3, 121, REST + PLANET + FIGHTERS},
                  {4, 168, REST + PLANET + " z3 1 250 93 23286" + FG},
                  {4, 169, REST + PLANET + " z3 1 249 93 23036" + FG},
                  {5, 71, "m0 6 150 190" + PLANET + "| 18 286 160 Finally I'll conquer this planet!"}});

    // The captions, the music from the first scene frame on, the sounds, and
    // the whole length (the scenes, two 6-second captions, five fades out and
    // four in) whatever keys are pressed; then the title picture as it was.
    TitleShown();
    PALETTE title;
    memcpy(title, pal, sizeof title);
    ASSERT_FALSE(RunUntil(Intro, 300));
    EXPECT_FALSE(HeadlessMidiPlaying());
    EXPECT_EQ(memcmp(HeadlessPalette(), title, sizeof title), 0);
    EXPECT_TRUE(
        TextShown(0, 6,
                  " Year 2078...\n\n Near the earth, hided by a force\n field, a new danger for the whole\n"
                  " umanity begin ..."));

    // The shot sounds as scene 3 starts, the impact as scene 4 starts, the
    // fighters 20 frames into scene 5.
    long f = FirstSceneFrame(TitleShown, Intro);
    TitleShown();
    ASSERT_FALSE(RunUntil(Intro, f + INTRO_SCENES + 200));
    EXPECT_EQ(HeadlessPresents(), 3 + INTRO_SCENES);
    EXPECT_TRUE(HeadlessMidiPlaying());
    EXPECT_TRUE(
        TextShown(1, 2, " ... but a pilot with his spaceship,\n can save the earth and the umanity?"));
    ASSERT_EQ(HeadlessSoundCount(), 3);
    EXPECT_TRUE(SoundIs(0, pl_fx[0], 200, f + INTRO[2] - 1) && SoundIs(1, pl_fx[1], 200, f + INTRO[3] - 1) &&
                SoundIs(2, pl_fx[2], 200, f + INTRO[4] + 20));
    SAMPLE *fighters = pl_fx[2];

    long length =
        INTRO_SCENES + 2 * 360 + 3 * FadeFrames(5) + FadeFrames(4) + FadeFrames(5) + 4 * FadeFrames(2);
    // Keys of every kind, held and pressed, in the captions and the scenes.
    const char *const keys[] = {"SPACE", "ESC", "ENTER", "LEFT", "RIGHT", "UP", "DOWN", "G", "M", "S"};
    std::string script = "300 down SPACE\n900 down ESC\n1500 up SPACE\n1600 up ESC\n";
    for (long k = 10; k < length; k += 37)
        script += std::to_string(k) + " press " + keys[(k / 37) % 10] + "\n";
    TitleShown();
    ASSERT_TRUE(RunUntil(Intro, length + 100, script));
    EXPECT_NEAR(HeadlessFrame(), length, 3);
    // Back on the title picture with its credits box, in its palette, with
    // the music stopped and the menu sound back.
    EXPECT_FALSE(HeadlessMidiPlaying());
    EXPECT_EQ(memcmp(HeadlessPalette(), title, sizeof title), 0);
    EXPECT_NE(pl_fx[2], fighters);
    RefFrom(bg);
    EXPECT_EQ(Mismatches(), 0);
}

// The final bonus (twice the money plus 1000 a life, for each player with a
// spare ship) in the stage's colours; then, after the scenes, the hints by
// difficulty (an extra in force or Old mode change nothing) and the play
// over. The whole ending: bonus screen 12 s, scenes, caption 6 s, hints 4 s,
// four fades out and four in, no key read on the way, the bonus added once,
// and each explosion's sound at 120, a little to the right.
TEST(End, FinalBonusHintsAndTheWholeLength) {
    // Difficulty, players, each player's lives, money and score, the mode, an
    // extra in force, and the scores after the bonus; the bonus screen; the hints.
    const std::tuple<std::vector<int>, std::string, std::string> cases[] = {
        {{1, 1, 3, 2000, 12345, 3, 999, 55, 1, true, 19345, 55},
         "Final bonus Player 1\n\n\n - Money 2000 x 2 = 4000\n - Lives 3 x 1000 = 3000\n\n Score: 12345\n"
         " Bonus: 7000\n Final score: 19345",
         " ... press M in the title screen when\n cursor its over S..R. ..M. ??? ;-)"},
        // player 1 on his last ship: no block; player 2 keeps his rows
        {{2, 2, 1, 8000, 500, 4, 500, 100, 2, false, 500, 5100},
         std::string(11, '\n') +
             "Final bonus Player 2\n\n\n - Money 500 x 2 = 1000\n - Lives 4 x 1000 = 4000\n\n Score: 100\n"
             " Bonus: 5000\n Final score: 5100",
         " ... press S+B in the title screen when\n cursor its over .TA.T .... ??? ;-))))"},
        {{3, 2, 2, 0, 10, 1, 700, 20, 1, false, 2010, 20},
         "Final bonus Player 1\n\n\n - Money 0 x 2 = 0\n - Lives 2 x 1000 = 2000\n\n Score: 10\n"
         " Bonus: 2000\n Final score: 2010",
         "Press M in the title screen when cursor\nits over START GAME (money bonus)\n\nPress S+B"
         " in the title screen when\ncursor its over START GAME (super bonus)\n\nPress N"
         " in the title screen when cursor\nits over START GAME to remove cheats"},
    };
    long f = FirstSceneFrame(Won, End);
    long expected = END_SCENES + 720 + 360 + 240 + 4 * FadeFrames(5) + 4 * FadeFrames(2);
    for (const auto &[v, bonus, hints] : cases) {
        SCOPED_TRACE(v[0]);
        PlayState(v.data());
        PALETTE stage;
        memcpy(stage, pal, sizeof stage);
        ASSERT_FALSE(RunUntil(End, 300));  // held after it has faded in
        EXPECT_EQ(memcmp(HeadlessPalette(), stage, sizeof stage), 0) << "still the stage's colours";
        EXPECT_TRUE(TextShown(1, 3, bonus));

        PlayState(v.data());
        std::tie(MODE, CHEAT) = std::tuple(v[8], v[9]);
        ASSERT_TRUE(RunUntil(End, expected + 100,
                             "100 press SPACE\n1000 press ENTER\n2000 press ESC\n3000 press SPACE\n"));
        CHEAT = false;
        EXPECT_TRUE(TextShown(1, 2, hints));
        EXPECT_TRUE(gameover);
        EXPECT_NEAR(HeadlessFrame(), expected, 3);
        EXPECT_EQ(std::vector<int>({score, score2, lives, money}),
                  std::vector<int>({v[10], v[11], v[2], v[3]}));
        ASSERT_EQ(HeadlessSoundCount(), BLASTS);
        for (int b = 0; b < BLASTS; b++)
            EXPECT_TRUE(SoundIs(b, pl_fx[1], 120, f + END[5] + BLAST * b - 1)) << b;
    }
}

// The commander walks in (a new pose every 7 frames, all five in turn, also
// well inside the screen), cries, falls, and a small figure comes out and
// runs off below the bottom edge.
TEST(End, TheCommandersDefeatTheExplosionsAndTheClosingCaption) {
    const std::string CRY = "m0 7 137 190" + FIXTURE + "| 48 164 160 Aaaaaaaargh!!!";
    ExpectScenes(End, {{0, 6, "m0 1 -47 190" + FIXTURE},
                       {0, 7, "m0 2 -47 190" + FIXTURE},
                       {0, 336, "m0 4 63 190" + FIXTURE},
                       {1, 0, CRY},
                       {2, 100, "m0 8 141 224" + FIXTURE},
                       {4, 7, FALLEN + " m5 1 173 223" + FIXTURE},
                       {4, 8, FALLEN + " m5 0 173 223" + FIXTURE},
                       {4, 429, FALLEN + " m5 0 314 260" + FIXTURE}});

    // Twenty explosions of random place and size 1..3, each showing images
    // 2..7 eight frames each, the last one to its end (a run stopped after
    // frame 44 has already set up the next explosion); then the closing caption.
    const int steps[][2] = {{7, 2}, {8, 3}, {39, 6}, {40, 7}, {43, 7}};  // frame of one, image shown
    int shown[4] = {0};                                                  // explosions shown at size 1..3
    std::set<int> places;
    for (int k = 0; k < BLASTS; k++) {
        ASSERT_TRUE(SceneAt(Won, End, END[5] + BLAST * k + steps[k % 5][0]));
        std::string at = " " + std::to_string(intro[4].x) + " " + std::to_string(intro[4].y) + " ";
        places.insert(intro[4].x * 1000 + intro[4].y);
        for (int s = 1; s <= 3; s++) {
            RefFrom(bg);
            RefDraw(FALLEN + FIXTURE + " z4 " + std::to_string(steps[k % 5][1]) + at +
                    std::to_string(s << 16));
            shown[s] += Mismatches() == 0;
        }
    }
    EXPECT_TRUE(shown[1] && shown[2] && shown[3] && shown[1] + shown[2] + shown[3] == BLASTS);
    EXPECT_GE(places.size(), 15u);

    Won();
    ASSERT_FALSE(RunUntil(End, FirstSceneFrame(Won, End) + END_SCENES + 200));
    EXPECT_EQ(HeadlessPresents(), 3 + END_SCENES);
    EXPECT_FALSE(gameover);
    EXPECT_TRUE(
        TextShown(1, 2, " Congratulation! You have saved the\n world, but ... is this the end ... ?"));
}

}  // namespace
