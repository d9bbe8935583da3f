// The rules of a play: alien speed, the end of a wave and the next level,
// what each level brings, player 2 joining, and game over.

#include "support/playfield.h"
#include "support/shown_text.h"
#include "bosses/bosses.h"
#include "frontend/frontend.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

void Play(int mode, int players, int skill = 2, const std::string &script = "") {
    PlayOptions o;
    o.mode = mode;
    o.players = players;
    o.skill = skill;
    o.lives = 3;
    StartPlay(o, script);
}

// A table no score of these tests enters.
void UnbeatableTable() {
    for (scoreentry_t &e : scoretb) e = {"best", 1000000, 26};
}

bool ShowsPalette(const char *sheet) {
    PALETTE p;
    BITMAP *b = load_bmp(SourcePath(std::string("data/video/") + sheet).c_str(), p);
    if (!b) return false;
    destroy_bitmap(b);
    const RGB *shown = HeadlessPalette();
    for (int i = 0; i < PAL_SIZE; i++)
        if (shown[i].r != p[i].r || shown[i].g != p[i].g || shown[i].b != p[i].b) return false;
    return true;
}

TEST(AlienSpeed, FollowsTheKillsAndIsFasterFromLevel11) {
    Play(1, 1);
    // Kills from..to: the march interval on levels 1-10 and from level 11.
    const int table[][4] = {{0, 4, 5, 5},   {5, 9, 5, 4},   {10, 19, 4, 3},
                            {20, 29, 3, 2}, {30, 38, 2, 1}, {39, 39, 1, 0}};
    for (int lv : {1, 10, 11, 40})
        for (const auto &r : table)
            for (int c = r[0]; c <= r[1]; c++) {
                level = lv;
                al_count = c;
                GameControl();
                EXPECT_EQ(al_dxm, lv >= 11 ? r[3] : r[2]) << "level " << lv << ", " << c << " killed";
            }
    // A cleared wave waits with the interval it had.
    synss = false;
    al_count = -1;
    al_dxm = 7;
    GameControl();
    EXPECT_EQ(al_dxm, 7);
    EXPECT_EQ(level, 40);
}

TEST(WaveEnd, TheNextLevelComesNoSoonerThan3000msAfterTheLastAlien) {
    Play(1, 1);
    level = 4;
    Frame();
    msss = SysMsec() - 10000;  // the 3000 ms tick is due on the very frame the wave is cleared
    al_count = 40;
    Frame();
    EXPECT_EQ(al_count, -1);
    int cleared = SysMsec();
    long waited = 0;
    while (level == 4 && waited < 400) {
        long before = HeadlessFrame();
        int t = SysMsec();
        Frame();
        waited++;
        if (level != 4) {
            EXPECT_LE(t - cleared, 3000) << "the frame before still waited";
            EXPECT_EQ(HeadlessFrame() - before, 1) << "a boss level opens no shop and loads nothing";
        }
    }
    EXPECT_EQ(level, 5);
    EXPECT_GE(waited, 180);
    EXPECT_LE(waited, 182);
    EXPECT_TRUE(bosshere);
    EXPECT_EQ(act_boss, 1);
}

TEST(LevelInit, BossesEveryFifthLevelNewStagesAfterThemNothingBetweenAndTheEndAt26) {
    Play(1, 1, 3);
    lives = lives2 = 0;  // nobody left to shop: both shops pass at once
    const char *sheet[] = {"stage2.bmp", "stage3.bmp", "stage4.bmp", "stage5.bmp"};
    const int stage_hits[] = {6, 9, 12, 15};
    for (int lv = 2; lv <= 25; lv++) {
        SCOPED_TRACE(lv);
        level = lv;
        bosshere = false;
        bonus.on = true;
        int hits = al_hits, boss_was = act_boss;
        long before = HeadlessFrame();
        LevelInit();
        long took = HeadlessFrame() - before;
        EXPECT_EQ(bosshere, lv % 5 == 0);
        EXPECT_EQ(act_boss, lv % 5 == 0 ? lv / 5 : boss_was);
        if (lv % 5 == 1) {
            EXPECT_GE(took, 20) << "the old stage fades out first";
            EXPECT_TRUE(ShowsPalette(sheet[lv / 5 - 1]));
            EXPECT_EQ(al_hits, stage_hits[lv / 5 - 1]);
            EXPECT_FALSE(bonus.on);
        } else {
            EXPECT_EQ(took, 0);
            EXPECT_EQ(al_hits, hits);
            EXPECT_TRUE(bonus.on);
        }
        EXPECT_FALSE(gameover);
    }
    level = 26;
    LevelInit();
    EXPECT_TRUE(gameover) << "after the fifth boss the ending runs and ends the play";
}

TEST(LevelInit, OldModeLoadsItsBackdropOnceAndHasNoBossesShopsOrEnding) {
    Play(2, 1);
    EXPECT_TRUE(ShowsPalette("stageold.bmp"));
    for (int lv = 2; lv <= 30; lv++) {
        level = lv;
        long before = HeadlessFrame();
        LevelInit();
        EXPECT_EQ(HeadlessFrame(), before) << "level " << lv;
        EXPECT_FALSE(bosshere);
        EXPECT_EQ(al_hits, 2);
    }
    // Cleared waves go on past 26.
    for (level = 25; level < 27;) {
        int lv = level;
        al_count = 40;
        for (int f = 0; f < 200 && level == lv; f++) Frame();
        ASSERT_EQ(level, lv + 1);
    }
    EXPECT_FALSE(gameover);
    EXPECT_EQ(bgcol, 2);
}

TEST(Rules, TheHighScoreFollowsEitherPlayersScore) {
    Play(1, 1);
    hiscore = 5000;
    score = 4000;
    score2 = 9000;  // no second player yet: not counted
    GameControl();
    EXPECT_EQ(hiscore, 5000);
    score = 5001;
    GameControl();
    EXPECT_EQ(hiscore, 5001);
    NPLAYERS = 2;
    GameControl();
    EXPECT_EQ(hiscore, 9000);
}

TEST(Rules, PlayerTwoJoinsOnceWithGAndOnlyIntoAOnePlayerPlay) {
    for (int players : {1, 2}) {
        SCOPED_TRACE(players);
        Play(2, players, 1, "10 down G\n");
        score2 = 777;
        lives2 = 1;
        for (int f = 0; f < 12; f++) Frame();
        EXPECT_EQ(NPLAYERS, 2);
        EXPECT_EQ(lives2, players == 1 ? LIVES : 1);
        EXPECT_EQ(score2, players == 1 ? 0 : 777);
        score2 = 300;
        lives2 = 1;
        Frames(5);  // G still held
        EXPECT_EQ(score2, 300);
        EXPECT_EQ(lives2, 1);
    }
}

// Runs a frame and returns the clock frames it took.
long TimedFrame() {
    long before = HeadlessFrame();
    Frame();
    return HeadlessFrame() - before;
}

// 500 ms, a fade, "GAME OVER" for 2000 ms in the stage's text colour on the
// cleared screen, a fade: about four seconds.
void ExpectGameOverScreen(long took) {
    EXPECT_GE(took, 230);
    EXPECT_LE(took, 245);
    EXPECT_TRUE(ShowsText(124, 124, txcol, bgcol, "GAME OVER"));
    EXPECT_EQ(Shown(5, 5), bgcol);
    EXPECT_EQ(Shown(300, 250), bgcol);
}

TEST(GameOver, OnePlayerIsOverOnlyAfterTheLastExplosionHasFinished) {
    Play(1, 1);
    UnbeatableTable();
    lives = 0;
    player.dead = true;  // the last ship explodes
    EXPECT_EQ(TimedFrame() + TimedFrame(), 2);
    EXPECT_FALSE(gameover1 || gameover);
    player.dead = false;
    ExpectGameOverScreen(TimedFrame());
    EXPECT_TRUE(gameover1 && gameover);
}

TEST(GameOver, AnotherPartEndingThePlayShowsTheScreenTooEvenDuringAnExplosion) {
    Play(1, 1);
    UnbeatableTable();
    lives = 2;
    player.dead = true;
    gameover = true;  // the formation has landed: this is the play's last frame
    ExpectGameOverScreen(TimedFrame());
    EXPECT_FALSE(gameover1);
}

TEST(GameOver, TwoPlayersPlayOnUntilBothAreOut) {
    Play(1, 2);
    UnbeatableTable();
    lives = 0;
    Frames(11);
    EXPECT_TRUE(gameover1);
    EXPECT_FALSE(gameover);

    lives2 = 0;
    player2.dead = true;  // player 2's last ship explodes
    Frame();
    EXPECT_FALSE(gameover2);
    player2.dead = false;
    EXPECT_EQ(TimedFrame(), 1);
    EXPECT_TRUE(gameover2);
    EXPECT_FALSE(gameover) << "player 2 is found out after player 1's test of this frame";
    ExpectGameOverScreen(TimedFrame());
    EXPECT_TRUE(gameover);
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
    int frames = 0;
    while (!gameover && frames < 10) {
        Frame();
        frames++;
    }
    EXPECT_EQ(frames, 1);
    EXPECT_GE(HeadlessFrame(), 620) << "the name entry ran";
    EXPECT_STREQ(scoretb[0].name, "ACE");
    EXPECT_EQ(scoretb[0].score, 12345);
    EXPECT_EQ(scoretb[0].level, 3);
}

}  // namespace
