// The rules of a play: alien speed, the end of a wave and the next level,
// what each level brings, player 2 joining, and game over.

#include "support/harness.h"
#include "support/shown_text.h"
#include "aliens/aliens.h"
#include "bosses/bosses.h"
#include "flow/flow.h"
#include "frontend/frontend.h"
#include "players/players.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A play as the title screen starts it, on the first frame of level 1.
void StartPlay(int mode = 1, int nplayers = 1, int skill = 2, const std::string &script = "") {
    MODE = mode;
    NPLAYERS = nplayers;
    SKILL = skill;
    LIVES = 3;
    MONEY = 1000;
    POWER = WEAPON = 1;
    speed = speed2 = mode == 2 ? 2 : 1;
    Fresh(script, 1000000);  // the script's end does not end the test's run
    InitPlay();
    player.dead = player2.dead = false;
    al_count = 0;
}

// A table no score of these tests enters.
void UnbeatableTable() {
    for (scoreentry_t &e : scoretb) {
        strcpy(e.name, "best");
        e.score = 1000000;
        e.level = 26;
    }
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
    StartPlay();
    struct Row {
        int from, to, early, late;  // al_dxm on levels 1-10 and on 11 and above
    };
    const Row table[] = {{0, 4, 5, 5},   {5, 9, 5, 4},   {10, 19, 4, 3},
                         {20, 29, 3, 2}, {30, 38, 2, 1}, {39, 39, 1, 0}};
    for (int lv : {1, 10, 11, 25, 40}) {
        level = lv;
        for (const Row &r : table) {
            for (int c = r.from; c <= r.to; c++) {
                al_count = c;
                al_dxm = 99;
                GameControl();
                EXPECT_EQ(al_dxm, lv >= 11 ? r.late : r.early) << "level " << lv << ", " << c << " killed";
            }
        }
    }
    // Outside the table the interval stays: the cleared wave waits with it.
    level = 3;
    synss = false;
    al_count = -1;
    al_dxm = 7;
    GameControl();
    EXPECT_EQ(al_dxm, 7);
    EXPECT_EQ(level, 3);
}

TEST(WaveEnd, TheNextLevelComesNoSoonerThan3000msAfterTheLastAlien) {
    StartPlay();
    level = 4;
    Frame();
    msss = SysMsec() - 10000;  // the 3000 ms tick is due on the very frame the wave is cleared
    al_count = 40;
    al_dxm = 1;
    Frame();
    EXPECT_EQ(al_count, -1);
    EXPECT_EQ(al_dxm, 1);
    int cleared = msss;
    EXPECT_LE(SysMsec() - cleared, 17);

    long waited = 0;
    while (level == 4 && waited < 400) {
        long before = HeadlessFrame();
        int t = SysMsec();
        Frame();
        waited++;
        if (level != 4) {
            EXPECT_LE(t - cleared, 3000) << "the frame before still waited";
            EXPECT_GT(SysMsec() - cleared, 3000);
            EXPECT_EQ(HeadlessFrame() - before, 1) << "a boss level opens no shop and loads nothing";
        }
    }
    EXPECT_EQ(level, 5);
    EXPECT_GE(waited, 180);
    EXPECT_LE(waited, 182);
    EXPECT_TRUE(bosshere);
    EXPECT_EQ(act_boss, 1);
}

TEST(LevelInit, EachNewStageLoadsItsSheetAndColoursAndToughensTheAliens) {
    StartPlay(1, 1, 2);
    lives = lives2 = 0;  // nobody left to shop: both shops pass at once
    struct Stage {
        int level, bgcol, txcol, swcol;
        const char *sheet;
    };
    const Stage stages[] = {{6, 4, 6, 36, "stage2.bmp"},
                            {11, 1, 3, -1, "stage3.bmp"},
                            {16, 1, 4, -1, "stage4.bmp"},
                            {21, 1, 4, 77, "stage5.bmp"}};
    for (const Stage &s : stages) {
        SCOPED_TRACE(s.sheet);
        level = s.level;
        bonus.on = true;
        swcol = 123;
        bosshere = false;
        long before = HeadlessFrame();
        LevelInit();
        EXPECT_GE(HeadlessFrame() - before, 20) << "the old stage fades out first";
        EXPECT_EQ(bgcol, s.bgcol);
        EXPECT_EQ(txcol, s.txcol);
        EXPECT_EQ(swcol, s.swcol < 0 ? 123 : s.swcol);
        EXPECT_EQ(text_bg, s.bgcol);
        EXPECT_EQ(al_hits, 2 * (s.level / 5 + 1));
        EXPECT_FALSE(bonus.on);
        EXPECT_FALSE(bosshere);
        EXPECT_TRUE(ShowsPalette(s.sheet));
    }
}

TEST(LevelInit, EveryFifthLevelIsItsStagesBossAndOtherLevelsBringNothing) {
    StartPlay(1, 1, 3);
    for (int n = 1; n <= 5; n++) {
        level = 5 * n;
        bosshere = false;
        long before = HeadlessFrame();
        LevelInit();
        EXPECT_TRUE(bosshere) << "level " << level;
        EXPECT_EQ(act_boss, n);
        EXPECT_EQ(HeadlessFrame(), before);
        EXPECT_EQ(al_hits, 3) << "bosses do not change the aliens' hit points";
    }
    bosshere = false;
    act_boss = 2;
    for (int lv = 2; lv <= 24; lv++) {
        if (lv % 5 == 0 || lv % 5 == 1) continue;
        level = lv;
        long before = HeadlessFrame();
        LevelInit();
        EXPECT_EQ(HeadlessFrame(), before) << "level " << lv;
        EXPECT_FALSE(bosshere);
        EXPECT_EQ(act_boss, 2);
        EXPECT_EQ(bgcol, 6);
        EXPECT_EQ(al_hits, 3);
        EXPECT_FALSE(gameover);
    }
    level = 26;
    LevelInit();
    EXPECT_TRUE(gameover) << "after the fifth boss the ending runs and ends the play";
}

TEST(LevelInit, OldModeLoadsItsBackdropOnceAndHasNoBossesShopsOrEnding) {
    StartPlay(2, 1, 2);
    EXPECT_EQ(bgcol, 2);
    EXPECT_EQ(txcol, 10);
    EXPECT_TRUE(ShowsPalette("stageold.bmp"));
    for (int lv = 2; lv <= 30; lv++) {
        level = lv;
        long before = HeadlessFrame();
        LevelInit();
        EXPECT_EQ(HeadlessFrame(), before) << "level " << lv;
        EXPECT_FALSE(bosshere);
        EXPECT_EQ(al_hits, 2);
        EXPECT_FALSE(gameover);
        EXPECT_EQ(bgcol, 2);
    }
    // Cleared waves go on past 26.
    level = 25;
    al_count = 40;
    for (int f = 0; f < 200 && level == 25; f++) Frame();
    EXPECT_EQ(level, 26);
    al_count = 40;
    for (int f = 0; f < 200 && level == 26; f++) Frame();
    EXPECT_EQ(level, 27);
    EXPECT_FALSE(gameover);
    EXPECT_EQ(al_hits, 2);
}

TEST(Rules, TheHighScoreFollowsEitherPlayersScore) {
    StartPlay();
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

TEST(Rules, PlayerTwoJoinsOnceWithG) {
    StartPlay(2, 1, 1, "10 down G\n");
    score2 = 777;
    lives2 = 0;
    for (int f = 0; f < 12; f++) Frame();
    if (NPLAYERS == 1 && lives2 == 0)
        GTEST_SKIP() << "the ships' join (Player2Enter) is not built in this branch";
    EXPECT_EQ(NPLAYERS, 2);
    EXPECT_EQ(lives2, LIVES);
    EXPECT_EQ(score2, 0);
    score2 = 300;
    lives2 = 1;
    for (int f = 0; f < 5; f++) Frame();  // G still held
    EXPECT_EQ(score2, 300);
    EXPECT_EQ(lives2, 1);
}

TEST(Rules, GDoesNothingMoreInATwoPlayerPlay) {
    StartPlay(1, 2, 1, "0 down G\n");
    score2 = 300;
    lives2 = 2;
    for (int f = 0; f < 5; f++) Frame();
    EXPECT_EQ(NPLAYERS, 2);
    EXPECT_EQ(score2, 300);
    EXPECT_EQ(lives2, 2);
}

// "GAME OVER" in the stage's text colour, on the cleared screen.
void ExpectGameOverScreen() {
    EXPECT_TRUE(ShowsText(124, 124, txcol, bgcol, "GAME OVER"));
    EXPECT_EQ(Shown(5, 5), bgcol);
    EXPECT_EQ(Shown(300, 250), bgcol);
}

TEST(GameOver, OnePlayerIsOverOnlyAfterTheLastExplosionHasFinished) {
    StartPlay();
    UnbeatableTable();
    lives = 0;
    player.dead = true;  // the last ship explodes
    Frame();
    Frame();
    EXPECT_FALSE(gameover1);
    EXPECT_FALSE(gameover);
    player.dead = false;
    long before = HeadlessFrame();
    Frame();
    EXPECT_TRUE(gameover1);
    EXPECT_TRUE(gameover);
    // 500 ms, a fade, "GAME OVER" for 2000 ms, a fade: about four seconds.
    EXPECT_GE(HeadlessFrame() - before, 230);
    EXPECT_LE(HeadlessFrame() - before, 245);
    ExpectGameOverScreen();
}

TEST(GameOver, AnotherPartEndingThePlayShowsTheScreenTooButNotDuringAnExplosion) {
    StartPlay();
    UnbeatableTable();
    lives = 2;
    player.dead = true;
    gameover = true;  // the formation has landed
    long before = HeadlessFrame();
    Frame();
    EXPECT_EQ(HeadlessFrame() - before, 1) << "no screen while the ship explodes";
    EXPECT_FALSE(gameover1);

    StartPlay();
    lives = 2;
    gameover = true;
    before = HeadlessFrame();
    Frame();
    EXPECT_GE(HeadlessFrame() - before, 230);
    EXPECT_FALSE(gameover1);
    ExpectGameOverScreen();
}

TEST(GameOver, TwoPlayersPlayOnUntilBothAreOut) {
    StartPlay(1, 2);
    UnbeatableTable();
    lives = 0;
    Frame();
    EXPECT_TRUE(gameover1);
    EXPECT_FALSE(gameover);
    for (int f = 0; f < 10; f++) Frame();
    EXPECT_FALSE(gameover);

    lives2 = 0;
    player2.dead = true;  // player 2's last ship explodes
    Frame();
    EXPECT_FALSE(gameover2);
    player2.dead = false;
    long before = HeadlessFrame();
    Frame();
    EXPECT_TRUE(gameover2);
    EXPECT_FALSE(gameover) << "player 2 is found out after player 1's test of this frame";
    EXPECT_EQ(HeadlessFrame() - before, 1);
    Frame();
    EXPECT_TRUE(gameover);
    ExpectGameOverScreen();
}

TEST(GameOver, AQualifyingScoreIsEnteredAndSaved) {
    ScratchSubdir dir("gameover-entry");
    memset(scoretb, 0, sizeof scoretb);
    ScoreBoardInit();  // the default table: 5000, 4000, ...
    StartPlay(1, 1, 2, "1000 type Ann\n1010 press ENTER\n1100 press SPACE\n");
    score = 4500;
    level = 3;
    lives = 0;
    Frame();
    EXPECT_TRUE(gameover);
    EXPECT_STREQ(scoretb[1].name, "Ann");
    EXPECT_EQ(scoretb[1].score, 4500);
    EXPECT_EQ(scoretb[1].level, 3);
    EXPECT_EQ(scoretb[2].score, 4000);
    EXPECT_EQ(hiscore, 5000);
    FILE *f = fopen("scoretb.dat", "rb");
    ASSERT_NE(f, nullptr);
    unsigned char data[200];
    EXPECT_EQ(fread(data, 1, sizeof data, f), 140u);
    fclose(f);
    EXPECT_EQ(memcmp(data + 28, "Ann\0", 4), 0);
    EXPECT_EQ(data[48] | data[49] << 8, 4500);
    EXPECT_EQ(data[52], 3);
}

}  // namespace
