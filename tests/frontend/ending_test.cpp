// The ending: the final bonus and who gets it, the commander's defeat frame
// by frame, the explosions, the hints by difficulty, its length, and the
// play ended at its close.

#include "support/story.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace {

const int SCENE[] = {0, 560, 760, 960, 1060, 1490};  // first frame of each scene
const int BLASTS = 20, BLAST = 45;                   // explosions of the last scene, frames each
const int SCENES = 1490 + BLASTS * BLAST;

// A play that has just beaten the fifth boss, on the last stage's sheet.
void PlayState(int skill, int players, int l1, int m1, int s1, int l2 = 0, int m2 = 0, int s2 = 0) {
    Fresh();
    LoadData(5);
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

void Won() {
    PlayState(1, 1, 3, 0, 0);
}

// The expected picture of the scenes: the backdrop, the commander as image
// `slot` at (x, y) and the fixed image in front of him.
void RefScene(int slot, int x, int y) {
    RefFrom(bg);
    RefMirrored(intro[0].spr[slot], x, y);
    RefSprite(intro[1].spr[0], 70, 221);
}

// Stops the ending right after scene frame g and starts the expected picture.
bool EndAt(int g, int slot, int x, int y) {
    if (!SceneAt(Won, End, g)) return false;
    RefScene(slot, x, y);
    return true;
}

// The fallen commander with the small figure in front of him.
bool FigureAt(int g, int slot, int x, int y) {
    if (!EndAt(g, 9, 141, 224)) return false;
    RefMirrored(intro[5].spr[slot], x, y);
    RefSprite(intro[1].spr[0], 70, 221);
    return true;
}

TEST(End, FinalBonusIsTwiceMoneyPlusThousandALifeForEachPlayerWithASpareShip) {
    struct Case {
        int v[7];      // players, and each player's lives, money and score
        int after[2];  // the scores after the bonus
        const char *one, *two;
    };
    const Case cases[] = {
        {{1, 3, 2000, 12345, 3, 999, 55},
         {19345, 55},
         "Final bonus Player 1\n\n\n - Money 2000 x 2 = 4000\n - Lives 3 x 1000 = 3000\n\n Score: 12345\n"
         " Bonus: 7000\n Final score: 19345",
         ""},
        // player 1 on his last ship: no block; player 2 keeps his rows
        {{2, 1, 8000, 500, 4, 500, 100},
         {500, 5100},
         "",
         "Final bonus Player 2\n\n\n - Money 500 x 2 = 1000\n - Lives 4 x 1000 = 4000\n\n Score: 100\n"
         " Bonus: 5000\n Final score: 5100"},
        {{2, 2, 0, 10, 1, 700, 20},
         {2010, 20},
         "Final bonus Player 1\n\n\n - Money 0 x 2 = 0\n - Lives 2 x 1000 = 2000\n\n Score: 10\n Bonus: "
         "2000\n"
         " Final score: 2010",
         ""},
        {{2, 0, 5000, 40, 1, 5000, 50}, {40, 50}, "", ""},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.v[3]);
        PlayState(2, k.v[0], k.v[1], k.v[2], k.v[3], k.v[4], k.v[5], k.v[6]);
        PALETTE stage;
        memcpy(stage, pal, sizeof stage);
        ASSERT_FALSE(RunUntil(End, 300));  // held after it has faded in
        EXPECT_EQ(HeadlessPresents(), 1);
        EXPECT_EQ(memcmp(HeadlessPalette(), stage, sizeof stage), 0) << "still the stage's colours";
        RefClear(1);
        RefLines(40, 3, 1, k.one);
        RefLines(128, 3, 1, k.two);
        EXPECT_EQ(Mismatches(), 0);
        EXPECT_EQ(score, k.after[0]);
        EXPECT_EQ(score2, k.after[1]);
    }
    PlayState(2, 1, 3, 2000, 12345, 3, 999, 55);
    ASSERT_TRUE(RunUntil(End, -1));
    EXPECT_EQ(score, 19345) << "added once";
    EXPECT_EQ(std::vector<int>({money, lives, score2}), std::vector<int>({2000, 3, 55}));
}

TEST(End, CommanderWalksInCriesFallsAndASmallFigureComesOut) {
    // A new pose every 7 frames, all five in turn, also well inside the screen.
    const int steps[][3] = {{0, -49, 1},  {6, -47, 1},  {7, -47, 2},  {28, -40, 0},
                            {301, 51, 4}, {308, 53, 0}, {314, 55, 0}, {315, 56, 1},
                            {322, 58, 2}, {329, 60, 3}, {336, 63, 4}, {559, 137, 0}};
    for (const auto &s : steps) {  // scene frame, his x, his walk image
        ASSERT_TRUE(EndAt(s[0], s[2], s[1], 190));
        EXPECT_EQ(Mismatches(), 0) << s[0];
    }
    for (int n : {0, 199}) {
        ASSERT_TRUE(EndAt(SCENE[1] + n, 7, 137, 190));
        RefFill(48, 147, 164, 160, 8);
        RefText(50, 150, 1, 8, "Aaaaaaaargh!!!");
        EXPECT_EQ(Mismatches(), 0) << n;
    }
    ASSERT_TRUE(EndAt(SCENE[2] + 100, 8, 141, 224));
    EXPECT_EQ(Mismatches(), 0);
    ASSERT_TRUE(FigureAt(SCENE[3] + 99, 0, 170, 222));
    EXPECT_EQ(Mismatches(), 0);
}

TEST(End, SmallFigureRunsOffBelowTheEdge) {
    const int steps[][4] = {{0, 171, 223, 1},   {7, 173, 223, 1},   {8, 173, 223, 0},   {16, 176, 224, 1},
                            {249, 254, 238, 0}, {256, 256, 239, 1}, {264, 259, 240, 0}, {429, 314, 260, 0}};
    for (const auto &s : steps) {  // scene frame, the figure's x, y and image
        ASSERT_TRUE(FigureAt(SCENE[4] + s[0], s[3], s[1], s[2]));
        EXPECT_EQ(Mismatches(), 0) << s[0];
    }
}

// The size the explosion at scene frame g is shown at, 1..3; 0 if it matches
// none, -1 if several.
int BlastSizeShown(int g) {
    int found = 0;
    if (!SceneAt(Won, End, g)) return 0;
    for (int s = 1; s <= 3; s++) {
        RefScene(9, 141, 224);
        if (intro[4].frame <= 7) RefScaled(intro[4].spr[intro[4].frame], intro[4].x, intro[4].y, itofix(s));
        if (Mismatches() == 0) found = found ? -1 : s;
    }
    return found;
}

TEST(End, TwentyExplosionsOfRandomPlaceAndSizeEachWithItsSound) {
    std::set<int> sizes;
    std::set<std::pair<int, int>> places;
    for (int k = 0; k < BLASTS; k++) {
        sizes.insert(BlastSizeShown(SCENE[5] + BLAST * k));
        EXPECT_EQ(intro[4].frame, 2);
        places.insert({intro[4].x, intro[4].y});
    }
    EXPECT_EQ(sizes, (std::set<int>{1, 2, 3}));
    EXPECT_GE(places.size(), 15u);

    // One explosion: images 2..7, eight frames each, the last one to its end
    // (a run stopped after frame 44 has already set up the next explosion).
    const int steps[][2] = {{7, 2}, {8, 3}, {39, 6}, {40, 7}, {43, 7}};
    std::set<int> size;
    for (const auto &s : steps) {
        size.insert(BlastSizeShown(SCENE[5] + BLAST * 3 + s[0]));
        EXPECT_EQ(intro[4].frame, s[1]);
    }
    EXPECT_EQ(size.size(), 1u);
    EXPECT_GE(*size.begin(), 1);

    // Each with its sound, at 120 and a little to the right.
    long f = FirstSceneFrame(Won, End);
    ASSERT_EQ(HeadlessSoundCount(), 4);
    for (int k = 0; k < 4; k++) {
        const SoundEvent &e = *HeadlessSound(k);
        EXPECT_EQ(std::vector<long>({(long)(e.sample == pl_fx[1]), e.vol, e.pan, e.freq, e.frame}),
                  std::vector<long>({1, 120, 150, 1000, f + SCENE[5] + BLAST * k - 1}));
    }
}

TEST(End, HintsNameTheExtrasLettersByDifficulty) {
    const std::string money = EXTRA_MONEY_LETTER, super = EXTRA_SUPER_LETTERS, remove = EXTRA_REMOVE_LETTER;
    const struct {
        int skill, mode;
        bool cheat;
        std::string lines;
    } cases[] = {
        // Easy, with the super bonus in force: it changes nothing.
        {1, 1, true,
         " ... press " + money + " in the title screen when\n cursor its over S..R. ..M. ??? ;-)"},
        // Medium, in Old mode: the same.
        {2, 2, false,
         " ... press " + super + " in the title screen when\n cursor its over .TA.T .... ??? ;-))))"},
        {3, 1, false,
         "Press " + money + " in the title screen when cursor\nits over START GAME (money bonus)\n\nPress " +
             super + " in the title screen when\ncursor its over START GAME (super bonus)\n\nPress " +
             remove + " in the title screen when cursor\nits over START GAME to remove cheats"},
    };
    for (const auto &k : cases) {
        PlayState(k.skill, 1, 1, 0, 0);
        MODE = k.mode;
        CHEAT = k.cheat;
        ASSERT_TRUE(RunUntil(End, -1));
        CHEAT = false;
        RefClear(1);
        RefLines(40, 2, 1, k.lines);
        EXPECT_EQ(Mismatches(), 0) << k.skill;
        EXPECT_TRUE(gameover);
    }
}

TEST(End, ClosingCaptionThenTheHintsThenThePlayIsOver) {
    long f = FirstSceneFrame(Won, End);
    Won();
    ASSERT_FALSE(RunUntil(End, f + SCENES + 200));
    EXPECT_EQ(HeadlessPresents(), 3 + SCENES);
    EXPECT_FALSE(gameover);
    RefClear(1);
    RefLines(40, 2, 1, " Congratulation! You have saved the\n world, but ... is this the end ... ?");
    EXPECT_EQ(Mismatches(), 0);

    // The whole ending: bonus screen 12 s, scenes, caption 6 s, hints 4 s,
    // four fades out and four in; no key is read on the way.
    long expected = SCENES + 720 + 360 + 240 + 4 * FadeFrames(5) + 4 * FadeFrames(2);
    Won();
    ASSERT_TRUE(RunUntil(End, expected + 100,
                         "100 press SPACE\n1000 press ENTER\n2000 press ESC\n3000 press SPACE\n"));
    EXPECT_NEAR(HeadlessFrame(), expected, 3);
    EXPECT_EQ(HeadlessPresents(), 1 + 1 + SCENES + 1 + 1);
    EXPECT_TRUE(gameover);
}

}  // namespace
