// The rules of a play: alien speed, the end of a wave and the next level,
// what each level brings, player 2 joining, game over, and the status bar.

#include "support/playfield.h"
#include "support/shown_text.h"
#include "bosses/bosses.h"
#include "frontend/frontend.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

namespace {

void Play(int mode, int players, int skill = 2, const std::string &script = "") {
    StartPlay(PlayOptions{mode, skill, players, 1, 1, 1, 3}, script);
}

bool ShowsPalette(const char *sheet) {
    PALETTE p;
    BITMAP *b = load_bmp(SourcePath(std::string("data/video/") + sheet).c_str(), p);
    if (!b) return false;
    destroy_bitmap(b);
    for (int i = 0; i < PAL_SIZE; i++)
        if (memcmp(&HeadlessPalette()[i], &p[i], 3)) return false;
    return true;
}

TEST(AlienSpeed, FollowsTheKillsAndIsFasterFromLevel11) {
    Play(1, 1);
    // Kills from..to: the march interval on levels 1-10 and from level 11;
    // a cleared wave (-1) waits with the interval it had.
    const int table[][4] = {{0, 4, 5, 5},   {5, 9, 5, 4},   {10, 19, 4, 3}, {20, 29, 3, 2},
                            {30, 38, 2, 1}, {39, 39, 1, 0}, {-1, -1, 7, 7}};
    for (int lv : {1, 10, 11, 40})
        for (const auto &r : table)
            for (int c = r[0]; c <= r[1]; c++) {
                std::tie(level, al_count, al_dxm, synss) = std::make_tuple(lv, c, 7, false);
                GameControl();
                EXPECT_EQ(al_dxm, lv >= 11 ? r[3] : r[2]) << "level " << lv << ", " << c << " killed";
            }
}

// Normal mode: a boss every fifth level; after it a new stage (the old one
// faded out, the shops of players with ships left, its sheet, tougher
// aliens, no bonus left over); nothing in between; the ending after level 25
// ends the play. Old mode keeps its one backdrop and has none of these.
TEST(LevelInit, BossesEveryFifthLevelNewStagesAfterThemNothingBetweenAndTheEndAt26) {
    const char *sheet[] = {"stage2.bmp", "stage3.bmp", "stage4.bmp", "stage5.bmp"};
    const int stage_hits[] = {6, 9, 12, 15};
    for (int mode : {1, 2}) {
        Play(mode, 2, 3);
        lives = lives2 = 0;  // nobody left to shop: both shops pass at once
        EXPECT_TRUE(mode == 1 || ShowsPalette("stageold.bmp"));
        for (int lv = 2; lv <= 26; lv++) {
            SCOPED_TRACE(::testing::Message() << "mode " << mode << ", level " << lv);
            level = lv;
            bosshere = false;
            bonus.on = true;
            int hits = al_hits, boss_was = act_boss;
            long before = HeadlessFrame();
            LevelInit();
            bool boss = mode == 1 && lv % 5 == 0, stage = mode == 1 && lv % 5 == 1;
            EXPECT_EQ(gameover, mode == 1 && lv == 26);
            if (lv == 26) break;
            EXPECT_EQ(bosshere, boss);
            EXPECT_EQ(act_boss, boss ? lv / 5 : boss_was);
            EXPECT_EQ(HeadlessFrame() - before, stage ? 23 : 0) << "only a new stage fades, and shops nobody";
            EXPECT_EQ(al_hits, stage ? stage_hits[lv / 5 - 1] : hits);
            EXPECT_EQ(bonus.on, !stage);
            EXPECT_TRUE(!stage || ShowsPalette(sheet[lv / 5 - 1]));
        }
    }
}

// The next level comes 3000 ms after the wave is cleared, the tick re-armed
// then; in Old mode the waves go on past 26.
TEST(WaveEnd, TheNextLevelComes3000msAfterTheLastAlien) {
    Play(2, 1);
    Shielded();
    for (int lv : {25, 26}) {
        level = lv;
        msss = SysMsec() - 10000;  // the tick would be due at once, were it not re-armed
        al_count = 40;
        long frames = 0;
        for (; level == lv && frames < 400; frames++) Frame();
        EXPECT_EQ(level, lv + 1);
        EXPECT_GE(frames, 180);
        EXPECT_LE(frames, 182);
    }
    EXPECT_FALSE(gameover);
}

TEST(Rules, TheHighScoreFollowsEitherPlayersScoreAndPlayerTwoJoinsOnceWithG) {
    Play(1, 1);
    // players, score, score2: the high score from 5000 (player 2 counts once joined)
    const int rows[][4] = {{1, 4000, 9000, 5000}, {1, 5001, 9000, 5001}, {2, 5001, 9000, 9000}};
    for (const auto &r : rows) {
        std::tie(NPLAYERS, hiscore, score, score2) = std::make_tuple(r[0], 5000, r[1], r[2]);
        GameControl();
        EXPECT_EQ(hiscore, r[3]);
    }
    for (int players : {1, 2}) {
        SCOPED_TRACE(players);
        Play(2, players, 1, "10 down G\n");
        score2 = 777;
        lives2 = 1;
        Frames(12);
        EXPECT_EQ(NPLAYERS, 2);
        EXPECT_EQ(lives2, players == 1 ? LIVES : 1);
        EXPECT_EQ(score2, players == 1 ? 0 : 777);
        score2 = 300;
        Frames(5);  // G still held
        EXPECT_EQ(score2, 300);
    }
}

// Runs a frame and returns the clock frames it took.
long TimedFrame() {
    long before = HeadlessFrame();
    Frame();
    return HeadlessFrame() - before;
}

// 500 ms, a fade, "GAME OVER" for 2000 ms in the stage's text colour on the
// cleared screen, a fade: about four seconds. The table is out of reach.
void ExpectGameOverScreen() {
    for (scoreentry_t &e : scoretb) e = {"best", 1000000, 26};
    long took = TimedFrame();
    EXPECT_GE(took, 230);
    EXPECT_LE(took, 245);
    EXPECT_TRUE(ShowsText(124, 124, txcol, bgcol, "GAME OVER"));
    EXPECT_EQ(Shown(5, 5), bgcol);
    EXPECT_EQ(Shown(300, 250), bgcol);
    EXPECT_TRUE(gameover);
}

// A player is out once the last ship's explosion has finished; a play ended
// elsewhere (the formation landed) ends on that frame, explosion or not.
TEST(GameOver, OnePlayerIsOverAfterTheLastExplosionOrWhenAnotherPartEndsThePlay) {
    Play(1, 1);
    lives = 0;
    player.dead = true;
    EXPECT_EQ(TimedFrame() + TimedFrame(), 2);
    EXPECT_FALSE(gameover1 || gameover);
    player.dead = false;
    ExpectGameOverScreen();
    EXPECT_TRUE(gameover1);

    Play(1, 1);
    lives = 2;
    player.dead = true;
    gameover = true;  // the formation has landed: this is the play's last frame
    ExpectGameOverScreen();
    EXPECT_FALSE(gameover1);
}

TEST(GameOver, TwoPlayersPlayOnUntilBothAreOut) {
    Play(1, 2);
    lives = lives2 = 0;
    player2.dead = true;  // player 1 is out, player 2's last ship explodes
    EXPECT_EQ(TimedFrame() + TimedFrame(), 2);
    EXPECT_TRUE(gameover1);
    EXPECT_FALSE(gameover2 || gameover);
    player2.dead = false;
    EXPECT_EQ(TimedFrame(), 1);
    EXPECT_TRUE(gameover2);
    EXPECT_FALSE(gameover) << "player 2 is found out after player 1's test of this frame";
    ExpectGameOverScreen();
}

// The formation lands while player 1's last ship explodes: the play's loop
// ends on that frame, after "GAME OVER" and the score's entry in the table.
TEST(GameOver, ALandingDuringTheLastExplosionStillEntersTheScore) {
    ScratchSubdir dir("landing");
    Play(1, 1, 2, "600 type ACE\n610 press ENTER\n620 press SPACE\n");
    for (scoreentry_t &e : scoretb) e = {"low", 10, 1};
    level = 3;
    score = 12345;
    KeepOnly(2, 4);
    alien[2][4].y = 201;
    al_dxm = 1;  // it steps, and so lands, on the next frame
    lives = 1;
    PlayerHit();
    ASSERT_TRUE(player.dead);
    Frame();
    EXPECT_TRUE(gameover);
    EXPECT_GE(HeadlessFrame(), 620) << "the name entry ran";
    EXPECT_STREQ(scoretb[0].name, "ACE");
    EXPECT_EQ(scoretb[0].score, 12345);
    EXPECT_EQ(scoretb[0].level, 3);
}

// True when the area of the last picture is the bare backdrop.
bool Bare(int x, int y, int w, int h) {
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++)
            if (Shown(i, j) != Backdrop(i, j)) return false;
    return true;
}

// Each number at its place; reserve ships (the one in play does not count,
// never below zero); no money in Old mode; player 2's line only for two. The
// top strip goes back over whatever flew through it.
TEST(StatusBar, ShowsEveryNumberAtItsPlaceOverTheRestoredTopStrip) {
    struct Case {
        int mode, players, lives, lives2;
        const char *shown[8];  // null: the bare backdrop
    };
    const int at[8][2] = {{68, 0},    {183, 0},  {40, 226},  {158, 226},
                          {288, 226}, {40, 241}, {158, 241}, {288, 241}};
    const Case cases[] = {
        {1, 2, 3, 1, {"4", "123456", "4321", "999", "2", "55", "12034", "0"}},
        {1, 2, 0, 5, {"4", "123456", "4321", "999", "0", "55", "12034", "4"}},  // the last ship explodes
        {2, 2, 3, 1, {"4", "123456", "4321", nullptr, "2", "55", nullptr, "0"}},
        {1, 1, 3, 1, {"4", "123456", "4321", "999", "2", nullptr, nullptr, nullptr}},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(::testing::Message() << "mode " << k.mode << ", " << k.players << " players");
        Play(k.mode, k.players);
        std::tie(level, hiscore, score, money, lives, score2, money2, lives2) =
            std::make_tuple(4, 123456, 4321, 999, k.lives, 55, 12034, k.lives2);
        player.dead = k.lives == 0;
        Paint();
        rectfill(buffer, 0, 0, 319, 8, 77);  // something drawn over the strip this frame
        GameControl();
        ToScreen(buffer);
        for (int i = 0; i < 8; i++)
            EXPECT_TRUE(k.shown[i] ? ShowsText(at[i][0], at[i][1], txcol, bgcol, k.shown[i])
                                   : Bare(at[i][0], at[i][1], 32, 8))
                << "number " << i;
        EXPECT_TRUE(k.players == 2 || Bare(0, 241, 320, 8)) << "the whole second line is bare";
        int strip = 0;
        for (int y = 0; y < 9; y++)
            for (int x = 0; x < 320; x++) {
                if ((x >= 68 && x < 76) || (x >= 183 && x < 231 && y < 8)) continue;  // the numbers
                int b = getpixel(board1, x, y);
                strip += b != 0;
                ASSERT_EQ(Shown(x, y), b ? b : 77) << x << "," << y;
            }
        EXPECT_GT(strip, 1000) << "the strip has a picture";
    }
}

}  // namespace
