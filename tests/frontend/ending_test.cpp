// The ending: the final bonus and who gets it, the commander's defeat frame
// by frame, the explosions, the hints by difficulty, its length, and the
// play ended at its close.

#include "support/story.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

const int SCENE[] = {0, 560, 760, 960, 1060, 1490};  // first frame of each scene
const int BLASTS = 20, BLAST = 45;                   // explosions of the last scene, frames each
const int SCENES = 1490 + BLASTS * BLAST;

PALETTE stage_pal;

// A play that has just beaten the fifth boss, on the last stage's sheet.
void PlayState(int skill, int players, int l1, int m1, int s1, int l2 = 0, int m2 = 0, int s2 = 0) {
    Fresh();
    LoadData(5);
    memcpy(stage_pal, pal, sizeof stage_pal);
    MODE = 1;
    SKILL = skill;
    NPLAYERS = players;
    level = 26;
    gameover = false;
    lives = l1;
    money = m1;
    score = s1;
    lives2 = l2;
    money2 = m2;
    score2 = s2;
}

// Clock frame in which the first scene frame is shown: the bonus screen and
// the final picture come first, then one picture per scene frame.
long first_scene = -1;

long FirstSceneFrame() {
    if (first_scene < 0) {
        PlayState(1, 1, 3, 0, 0);
        RunUntil(End, 1500);
        first_scene = 1499 - (HeadlessPresents() - 3);
    }
    return first_scene;
}

// Stops the ending right after scene frame g (counted over all scenes).
bool EndAt(int g) {
    long f = FirstSceneFrame();
    PlayState(1, 1, 3, 0, 0);
    if (RunUntil(End, f + g + 1)) return false;
    return HeadlessPresents() == 3 + g;
}

// Stops on the final bonus screen, held after it has faded in.
bool OnBonusScreen() {
    return !RunUntil(End, 300) && HeadlessPresents() == 1;
}

void RefBonusBlock(int y, const std::vector<std::string> &lines) {
    const int at[] = {0, 24, 32, 48, 56, 64};
    for (int i = 0; i < 6; i++) RefText(0, y + at[i], 3, 1, lines[i].c_str());
}

TEST(End, FinalBonusIsTwiceMoneyPlusThousandALifeAddedOnce) {
    PlayState(2, 1, 3, 2000, 12345, 3, 999, 55);
    ASSERT_TRUE(OnBonusScreen());
    EXPECT_EQ(memcmp(HeadlessPalette(), stage_pal, sizeof stage_pal), 0);  // still the stage's colours
    RefClear(1);
    RefBonusBlock(40, {"Final bonus Player 1", " - Money 2000 x 2 = 4000", " - Lives 3 x 1000 = 3000",
                       " Score: 12345", " Bonus: 7000", " Final score: 19345"});
    EXPECT_EQ(Mismatches(), 0);
    EXPECT_GT(CountColour(3, 0, 40, 319, 111), 300);

    PlayState(2, 1, 3, 2000, 12345, 3, 999, 55);
    ASSERT_TRUE(RunUntil(End, -1));
    EXPECT_EQ(score, 12345 + 7000);
    EXPECT_EQ(money, 2000);
    EXPECT_EQ(lives, 3);
    EXPECT_EQ(score2, 55);
    EXPECT_TRUE(gameover);
}

TEST(End, PlayerOnHisLastShipGetsNoBlockTheOtherKeepsHisRows) {
    PlayState(1, 2, 1, 8000, 500, 4, 500, 100);
    ASSERT_TRUE(OnBonusScreen());
    RefClear(1);
    RefBonusBlock(128, {"Final bonus Player 2", " - Money 500 x 2 = 1000", " - Lives 4 x 1000 = 4000",
                        " Score: 100", " Bonus: 5000", " Final score: 5100"});
    EXPECT_EQ(Mismatches(), 0);
    EXPECT_EQ(score, 500);
    EXPECT_EQ(score2, 5100);

    PlayState(1, 2, 2, 0, 10, 1, 700, 20);
    ASSERT_TRUE(OnBonusScreen());
    RefClear(1);
    RefBonusBlock(40, {"Final bonus Player 1", " - Money 0 x 2 = 0", " - Lives 2 x 1000 = 2000", " Score: 10",
                       " Bonus: 2000", " Final score: 2010"});
    EXPECT_EQ(Mismatches(), 0);
    EXPECT_EQ(score2, 20);

    // Both out of spare ships: an empty screen, scores as they were.
    PlayState(3, 2, 0, 5000, 40, 1, 5000, 50);
    ASSERT_TRUE(OnBonusScreen());
    RefClear(1);
    EXPECT_EQ(Mismatches(), 0);
    ASSERT_TRUE(RunUntil(End, -1));
    EXPECT_EQ(score, 40);
    EXPECT_EQ(score2, 50);
}

TEST(End, OnePlayerGameNeverShowsPlayerTwo) {
    PlayState(1, 1, 2, 150, 900, 5, 3000, 77);
    ASSERT_TRUE(OnBonusScreen());
    RefClear(1);
    RefBonusBlock(40, {"Final bonus Player 1", " - Money 150 x 2 = 300", " - Lives 2 x 1000 = 2000",
                       " Score: 900", " Bonus: 2300", " Final score: 3200"});
    EXPECT_EQ(Mismatches(), 0);
    EXPECT_EQ(score2, 77);
}

TEST(End, CommanderWalksInToX137) {
    struct {
        int n, x, frame;
    } steps[] = {{0, -49, 1}, {6, -47, 1}, {7, -47, 2}, {28, -40, 0}, {559, 137, 0}};
    for (const auto &s : steps) {
        SCOPED_TRACE(s.n);
        ASSERT_TRUE(EndAt(s.n));
        EXPECT_EQ(intro[0].x, s.x);
        EXPECT_EQ(intro[0].frame, s.frame);
        RefFrom(bg);
        RefMirrored(intro[0].spr[s.frame], s.x, 190);
        RefSprite(intro[1].spr[0], 70, 221);
        EXPECT_EQ(Mismatches(), 0);
    }
    EXPECT_EQ(text_bg, 8);
}

TEST(End, CommanderCriesFallsAndASmallFigureComesOut) {
    for (int n : {0, 199}) {
        SCOPED_TRACE(n);
        ASSERT_TRUE(EndAt(SCENE[1] + n));
        RefFrom(bg);
        RefMirrored(intro[0].spr[7], 137, 190);
        RefSprite(intro[1].spr[0], 70, 221);
        RefFill(48, 147, 164, 160, 8);
        RefText(50, 150, 1, 8, "Aaaaaaaargh!!!");
        EXPECT_EQ(Mismatches(), 0);
    }
    ASSERT_TRUE(EndAt(SCENE[2] + 100));
    RefFrom(bg);
    RefMirrored(intro[0].spr[8], 141, 224);
    RefSprite(intro[1].spr[0], 70, 221);
    EXPECT_EQ(Mismatches(), 0);

    ASSERT_TRUE(EndAt(SCENE[3] + 99));
    RefFrom(bg);
    RefMirrored(intro[0].spr[9], 141, 224);
    RefMirrored(intro[5].spr[0], 170, 222);
    RefSprite(intro[1].spr[0], 70, 221);
    EXPECT_EQ(Mismatches(), 0);
}

TEST(End, SmallFigureRunsOffBelowTheEdge) {
    struct {
        int n, x, y, frame;
    } steps[] = {{0, 171, 223, 1},   {7, 173, 223, 1},   {8, 173, 223, 0},   {16, 176, 224, 1},
                 {249, 254, 238, 0}, {256, 256, 239, 1}, {264, 259, 240, 0}, {429, 314, 260, 0}};
    for (const auto &s : steps) {
        SCOPED_TRACE(s.n);
        ASSERT_TRUE(EndAt(SCENE[4] + s.n));
        EXPECT_EQ(intro[5].x, s.x);
        EXPECT_EQ(intro[5].y, s.y);
        EXPECT_EQ(intro[5].frame, s.frame);
        RefFrom(bg);
        RefMirrored(intro[0].spr[9], 141, 224);
        RefMirrored(intro[5].spr[s.frame], s.x, s.y);
        RefSprite(intro[1].spr[0], 70, 221);
        EXPECT_EQ(Mismatches(), 0);
    }
}

// The size an explosion is shown at, 1..3, or 0 if it matches none.
int BlastSizeShown(int frame) {
    int found = 0;
    for (int s = 1; s <= 3; s++) {
        RefFrom(bg);
        RefMirrored(intro[0].spr[9], 141, 224);
        RefSprite(intro[1].spr[0], 70, 221);
        if (frame <= 7) RefScaled(intro[4].spr[frame], intro[4].x, intro[4].y, itofix(s));
        if (Mismatches() == 0) found = found ? -1 : s;
    }
    return found;
}

TEST(End, TwentyExplosionsOfRandomPlaceAndSize) {
    std::set<int> sizes;
    int px = 1000, py = 1000;
    for (int k = 0; k < BLASTS; k++) {
        SCOPED_TRACE(k);
        ASSERT_TRUE(EndAt(SCENE[5] + BLAST * k));
        EXPECT_EQ(intro[4].frame, 2);
        EXPECT_GE(intro[4].x, -30);
        EXPECT_LE(intro[4].x, 230);
        EXPECT_GE(intro[4].y, -20);
        EXPECT_LE(intro[4].y, 140);
        EXPECT_TRUE(intro[4].x != px || intro[4].y != py);
        px = intro[4].x;
        py = intro[4].y;
        int s = BlastSizeShown(2);
        EXPECT_GE(s, 1);
        sizes.insert(s);
    }
    EXPECT_EQ(sizes.size(), 3u);  // every size turns up in twenty

    // One explosion: images 2..7, eight frames each, the last one to its end
    // (a run stopped after frame 44 has already set up the next explosion).
    struct {
        int m, frame;
    } steps[] = {{7, 2}, {8, 3}, {39, 6}, {40, 7}, {43, 7}};
    int size = 0;
    for (const auto &s : steps) {
        SCOPED_TRACE(s.m);
        ASSERT_TRUE(EndAt(SCENE[5] + BLAST * 3 + s.m));
        EXPECT_EQ(intro[4].frame, s.frame);
        int shown = BlastSizeShown(s.frame);
        EXPECT_GE(shown, 1);
        if (size) {
            EXPECT_EQ(shown, size);
        }
        size = shown;
    }

    // Each with its sound, at 120 and a little to the right.
    long f = FirstSceneFrame();
    ASSERT_EQ(HeadlessSoundCount(), 4);
    for (int k = 0; k < 4; k++) {
        const SoundEvent *e = HeadlessSound(k);
        EXPECT_EQ(e->sample, pl_fx[1]);
        EXPECT_EQ(e->vol, 120);
        EXPECT_EQ(e->pan, 150);
        EXPECT_EQ(e->freq, 1000);
        EXPECT_EQ(e->frame, f + SCENE[5] + BLAST * k - 1);
    }
}

// The hint lines' rows: each text row with at least one pixel of colour 2.
std::vector<int> HintRows() {
    std::vector<int> rows;
    for (int y = 0; y < 256; y += 8)
        if (CountColour(2, 0, y, 319, y + 7) > 0) rows.push_back(y);
    return rows;
}

TEST(End, HintsNameTheExtrasLettersByDifficulty) {
    // Easy, with the super bonus in force: it changes nothing.
    PlayState(1, 1, 1, 0, 0);
    CHEAT = true;
    ASSERT_TRUE(RunUntil(End, -1));
    CHEAT = false;
    RefClear(1);
    RefText(0, 40, 2, 1,
            (std::string(" ... press ") + EXTRA_MONEY_LETTER + " in the title screen when").c_str());
    RefText(0, 48, 2, 1, " cursor its over S..R. ..M. ??? ;-)");
    EXPECT_EQ(Mismatches(), 0);
    EXPECT_EQ(HintRows(), (std::vector<int>{40, 48}));
    EXPECT_TRUE(gameover);

    // Medium, in Old mode: the same.
    PlayState(2, 1, 1, 0, 0);
    MODE = 2;
    ASSERT_TRUE(RunUntil(End, -1));
    RefClear(1);
    RefText(0, 40, 2, 1,
            (std::string(" ... press ") + EXTRA_SUPER_LETTERS + " in the title screen when").c_str());
    RefText(0, 48, 2, 1, " cursor its over .TA.T .... ??? ;-))))");
    EXPECT_EQ(Mismatches(), 0);
    EXPECT_EQ(HintRows(), (std::vector<int>{40, 48}));

    PlayState(3, 1, 1, 0, 0);
    ASSERT_TRUE(RunUntil(End, -1));
    RefClear(1);
    RefText(0, 40, 2, 1,
            (std::string("Press ") + EXTRA_MONEY_LETTER + " in the title screen when cursor").c_str());
    RefText(0, 48, 2, 1, "its over START GAME (money bonus)");
    RefText(0, 64, 2, 1, (std::string("Press ") + EXTRA_SUPER_LETTERS + " in the title screen when").c_str());
    RefText(0, 72, 2, 1, "cursor its over START GAME (super bonus)");
    RefText(0, 88, 2, 1,
            (std::string("Press ") + EXTRA_REMOVE_LETTER + " in the title screen when cursor").c_str());
    RefText(0, 96, 2, 1, "its over START GAME to remove cheats");
    EXPECT_EQ(Mismatches(), 0);
    EXPECT_EQ(HintRows(), (std::vector<int>{40, 48, 64, 72, 88, 96}));
}

TEST(End, ClosingCaptionThenTheHintsThenThePlayIsOver) {
    long f = FirstSceneFrame();
    PlayState(1, 1, 3, 0, 0);
    ASSERT_FALSE(RunUntil(End, f + SCENES + 200));
    EXPECT_EQ(HeadlessPresents(), 3 + SCENES);
    EXPECT_FALSE(gameover);
    RefClear(1);
    RefText(0, 40, 2, 1, " Congratulation! You have saved the");
    RefText(0, 48, 2, 1, " world, but ... is this the end ... ?");
    EXPECT_EQ(Mismatches(), 0);

    // The whole ending: bonus screen 12 s, scenes, caption 6 s, hints 4 s,
    // four fades out and four in.
    long expected = SCENES + 720 + 360 + 240 + 4 * FadeFrames(5) + 4 * FadeFrames(2);
    PlayState(1, 1, 3, 0, 0);
    ASSERT_TRUE(RunUntil(End, -1));
    long length = HeadlessFrame();
    EXPECT_NEAR(length, expected, 3);
    EXPECT_EQ(HeadlessPresents(), 1 + 1 + SCENES + 1 + 1);
    EXPECT_TRUE(gameover);

    // No key is read on the way.
    PlayState(1, 1, 3, 0, 0);
    ASSERT_TRUE(
        RunUntil(End, length + 100, "100 press SPACE\n1000 press ENTER\n2000 press ESC\n3000 press SPACE\n"));
    EXPECT_EQ(HeadlessFrame(), length);
}

}  // namespace
