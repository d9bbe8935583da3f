// The title menu driven by key presses: the cursor, the options with their
// markers, the extras, the settings a game starts with, and leaving.

#include "support/playfield.h"
#include "support/shown_text.h"
#include "platform/runner.h"
#include "frontend/frontend.h"

#include <gtest/gtest.h>

namespace {

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

long Digest() {
    long d = 0;
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 320; x++) d = d * 31 + Shown(x, y);
    return d;
}

// The panel with its texts and frames, the credits box; keys other than the
// arrows only redraw the same picture.
TEST(TitleMenu, ThePanelTheCreditsAndKeysThatOnlyRedraw) {
    EXPECT_FALSE(RunTitle(""));
    EXPECT_EQ(CursorRow(), 0);
    EXPECT_TRUE(ShowsText(0, 0, 8, 0, "1.01"));
    EXPECT_TRUE(Line(0, "    Easy   >") && Line(1, "  3 lives  >") && Line(2, " Normal 1P >"));
    EXPECT_TRUE(ShowsText(230, 59, 10, 0, "PLAY INTRO"));
    EXPECT_TRUE(ShowsText(230, 75, 10, 0, "START GAME"));
    EXPECT_TRUE(ShowsText(230, 91, 10, 0, "SCOREBOARD"));
    EXPECT_TRUE(ShowsText(234, 107, 10, 0, "QUIT GAME"));
    EXPECT_TRUE(ShowsText(99, 222, 10, 0, "Earthguard 1.01"));
    EXPECT_TRUE(ShowsText(51, 231, 8, 0, "made by the Earthguard team"));
    EXPECT_TRUE(ShowsText(43, 240, 8, 0, "thanks to the Allegro authors"));
    // The panel's frame, the cursor's right edge, the credits box's frame.
    for (auto xy :
         {std::make_pair(220, 60), {317, 60}, {260, 5}, {260, 119}, {1, 230}, {317, 230}, {150, 248}})
        EXPECT_EQ(Shown(xy.first, xy.second), 5) << xy.first << "," << xy.second;
    EXPECT_EQ(Shown(316, 14), 4);

    long presents = HeadlessPresents(), before = Digest();
    EXPECT_FALSE(RunTitle("ESC ENTER SPACE X F1 TAB 7 P BACKSPACE"))
        << "the title is left only through START GAME or QUIT GAME";
    EXPECT_EQ(HeadlessPresents(), presents + 9) << "one redraw per key";
    EXPECT_EQ(HeadlessSoundCount(), 0);
    EXPECT_EQ(Digest(), before);

    // Up and Down play the cursor sound also where the cursor cannot move.
    EXPECT_FALSE(RunTitle("UP DOWN DOWN DOWN DOWN DOWN DOWN DOWN UP"));
    EXPECT_EQ(Sound(pl_fx[2]), (Played{9, 120, 150, 1000}));
}

// The cursor, and the options' lines with the markers showing which way each
// can still change; the intro comes back to the menu as it was.
TEST(TitleMenu, ArrowsMoveTheCursorAndChangeTheOptions) {
    const struct {
        const char *keys;
        int row;
        const char *line;
        int cursor;
    } cases[] = {
        {"LEFT", 0, "    Easy   >", 0},
        {"RIGHT", 0, "<  Medium  >", 0},
        {"RIGHT RIGHT RIGHT", 0, "<   Hard    ", 0},
        {"RIGHT RIGHT LEFT", 0, "<  Medium  >", 0},
        {"RIGHT LEFT", 0, "    Easy   >", 0},
        {"DOWN RIGHT RIGHT", 1, "< 5 lives   ", 1},
        {"DOWN RIGHT LEFT", 1, "  3 lives  >", 1},
        {"DOWN DOWN RIGHT", 2, "<  Old 1P  >", 2},
        {"DOWN DOWN RIGHT RIGHT", 2, "<Normal 2P >", 2},
        {"DOWN DOWN RIGHT RIGHT RIGHT RIGHT", 2, "<  Old 2P   ", 2},
        {"DOWN DOWN RIGHT RIGHT RIGHT LEFT", 2, "<Normal 2P >", 2},
        {"DOWN DOWN RIGHT LEFT", 2, " Normal 1P >", 2},
        // Left and Right on the other rows change nothing.
        {"DOWN DOWN DOWN RIGHT DOWN LEFT DOWN RIGHT DOWN LEFT", 0, "    Easy   >", 6},
        {"UP DOWN DOWN DOWN DOWN DOWN DOWN DOWN UP", 0, "    Easy   >", 5},
        {"DOWN DOWN DOWN DOWN DOWN DOWN DOWN DOWN", 0, "    Easy   >", 6},
        {"RIGHT DOWN RIGHT DOWN DOWN SPACE", 1, "< 5 lives   ", 3},  // PLAY INTRO
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.keys);
        EXPECT_FALSE(RunTitle(c.keys));
        EXPECT_TRUE(Line(c.row, c.line));
        EXPECT_EQ(CursorRow(), c.cursor);
    }
}

// The settings each option, extra and mode starts a game with; an extra is
// taken only on START GAME, shows a face until the title is drawn afresh and
// stays for the next games until removed.
TEST(TitleMenu, StartingAGameWritesTheSettingsOfEachExtraAndMode) {
    const std::string hard5 = "RIGHT RIGHT DOWN RIGHT DOWN DOWN DOWN ",
                      old2p = "DOWN DOWN RIGHT RIGHT RIGHT DOWN DOWN ";
    const struct {
        std::string keys;  // everything before the Space on START GAME
        // players, mode, money, lives, weapon, power, speed, bo_m, the super and the money bonus
        std::vector<int> set;
        std::string face;
    } starts[] = {
        {TO_START, {1, 1, 1500, 3, 1, 1, 1, 2, 0, 0}, ""},
        {"RIGHT " + TO_START, {1, 1, 1000, 3, 1, 1, 1, 1, 0, 0}, ""},
        {hard5, {1, 1, 500, 5, 1, 1, 1, 1, 0, 0}, ""},
        {"DOWN DOWN RIGHT RIGHT DOWN DOWN", {2, 1, 1500, 3, 1, 1, 1, 2, 0, 0}, ""},
        {"DOWN DOWN RIGHT DOWN DOWN", {1, 2, 1500, 3, 1, 1, 2, 2, 0, 0}, ""},
        {old2p, {2, 2, 1500, 3, 1, 1, 2, 2, 0, 0}, ""},
        {"M S+B DOWN M S+B DOWN DOWN DOWN", {1, 1, 1500, 3, 1, 1, 1, 2, 0, 0}, ""},
        {hard5 + "M", {1, 1, 12000, 5, 1, 1, 1, 1, 0, 1}, ":-)"},
        {TO_START, {1, 1, 12000, 3, 1, 1, 1, 2, 0, 1}, ""},
        {TO_START + "S+B", {1, 1, 50000, 10, 3, 3, 2, 2, 1, 0}, ":-O"},
        {old2p, {2, 2, 50000, 10, 1, 1, 2, 2, 1, 0}, ""},
        {old2p + "M", {2, 2, 12000, 3, 1, 1, 2, 2, 0, 1}, ":-)"},
        {TO_START + "S+B M", {1, 1, 12000, 3, 1, 1, 1, 2, 0, 1}, ":-)"},
        {TO_START + "M N", {1, 1, 1500, 3, 1, 1, 1, 2, 0, 0}, ":-("},
    };
    CHEAT = CHEAT2 = false;
    for (const auto &s : starts) {
        SCOPED_TRACE(s.keys);
        speed = speed2 = 3;
        bo_m = 9;
        EXPECT_TRUE(RunTitle(s.keys + " SPACE"));
        EXPECT_EQ(speed2, speed);
        EXPECT_EQ(std::vector<int>({NPLAYERS, MODE, MONEY, LIVES, WEAPON, POWER, speed, bo_m, CHEAT, CHEAT2}),
                  s.set);
        for (const char *face : {":-)", ":-O", ":-("})
            EXPECT_EQ(ShowsText(0, 8, 10, 0, face), face == s.face) << face;
        const RGB &c = HeadlessPalette()[15];
        EXPECT_EQ(c.r + c.g + c.b, 0) << "the title fades out";
    }
}

// A game started from the menu gets its settings, Escape brings a fresh
// menu back, and QUIT GAME ends the program (presses after it would keep a
// menu still open waiting until frame 900).
TEST(TitleMenu, AGameFromTheMenuEscapeBackAndQuit) {
    ScratchSubdir dir("whole");
    RunOptions opt;
    opt.script_text = Presses(KeyNames("RIGHT DOWN RIGHT DOWN RIGHT RIGHT DOWN DOWN SPACE")) +
                      "400 down ESC\n402 up ESC\n" + Presses(KeyNames(TO_START + "DOWN DOWN SPACE"), 500) +
                      "900 press UP\n";
    opt.frames = 5000;
    std::string line = RunHeadless(opt);
    EXPECT_NE(line.find("level=1 score=0 score2=0 lives=5 lives2=5 money=1000 money2=1000 gameover=0"),
              std::string::npos)
        << line;
    EXPECT_EQ(NPLAYERS, 2);
    EXPECT_GT(FinalValues(line)["frames"], 524) << line;
    EXPECT_LT(FinalValues(line)["frames"], 600) << line;
    EXPECT_EQ(CursorRow(), 6);
    EXPECT_TRUE(Line(0, "    Easy   >") && Line(1, "  3 lives  >"));
}

}  // namespace
