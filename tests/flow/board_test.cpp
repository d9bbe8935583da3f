// The status bar as it shows in the composed picture of a frame of play.

#include "support/playfield.h"
#include "support/shown_text.h"

#include <gtest/gtest.h>

namespace {

void Play(int mode, int players) {
    PlayOptions o;
    o.mode = mode;
    o.players = players;
    StartPlay(o);
    hiscore = 999999;  // above every score here, so the frame leaves it alone
}

// True when the area of the last picture is the bare backdrop: nothing was
// written there.
bool Bare(int x, int y, int w, int h) {
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++)
            if (Shown(i, j) != Backdrop(i, j)) return false;
    return true;
}

bool Number(int x, int y, const std::string &text) {
    return ShowsText(x, y, txcol, bgcol, text);
}

TEST(StatusBar, ShowsEveryNumberAtItsPlaceAndReserveShipsNeverBelowZero) {
    Play(1, 2);
    level = 4;
    hiscore = 123456;
    score = 4321;
    money = 999;
    lives = 3;
    score2 = 55;
    money2 = 12034;
    lives2 = 1;
    Frame();
    EXPECT_TRUE(Number(68, 0, "4"));
    EXPECT_TRUE(Number(183, 0, "123456"));
    EXPECT_TRUE(Number(40, 226, "4321"));
    EXPECT_TRUE(Number(158, 226, "999"));
    EXPECT_TRUE(Number(288, 226, "2")) << "the ship in play is not a reserve ship";
    EXPECT_TRUE(Number(40, 241, "55"));
    EXPECT_TRUE(Number(158, 241, "12034"));
    EXPECT_TRUE(Number(288, 241, "0"));

    lives = 0;
    player.dead = true;  // the last ship explodes: the play goes on this frame
    lives2 = 5;
    Frame();
    EXPECT_TRUE(Number(288, 226, "0"));
    EXPECT_TRUE(Number(288, 241, "4"));
}

TEST(StatusBar, OldModeShowsNoMoneyAndTheSecondLineShowsFromThePlayer2Joins) {
    Play(2, 2);
    money = 777;
    money2 = 888;
    score = 12;
    score2 = 34;
    Frame();
    EXPECT_TRUE(Bare(158, 226, 8 * 6, 8));
    EXPECT_TRUE(Bare(158, 241, 8 * 6, 8));
    EXPECT_TRUE(Number(40, 226, "12"));
    EXPECT_TRUE(Number(40, 241, "34"));

    Play(1, 1);
    score2 = 4242;
    Frame();
    EXPECT_TRUE(Bare(0, 241, 320, 8));
    NPLAYERS = 2;  // player 2 has joined
    Frame();
    EXPECT_TRUE(Number(40, 241, "4242"));
}

TEST(StatusBar, TheTopStripIsRestoredOverWhatFlewThroughIt) {
    Play(1, 1);
    Paint();
    rectfill(buffer, 0, 0, 319, 8, 77);  // something drawn over the strip this frame
    GameControl();
    ToScreen(buffer);
    int strip = 0;
    for (int y = 0; y < 9; y++)
        for (int x = 0; x < 320; x++) {
            if ((x >= 68 && x < 76) || (x >= 183 && x < 231 && y < 8)) continue;  // the numbers
            int b = getpixel(board1, x, y);
            strip += b != 0;
            ASSERT_EQ(Shown(x, y), b ? b : 77) << x << "," << y;
        }
    EXPECT_GT(strip, 1000) << "the strip has a picture";
    EXPECT_TRUE(Number(68, 0, "1"));
}

}  // namespace
