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
const std::string FALLEN = "m0 9 141 224", FIXTURE = " s1 0 70 221";

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

TEST(End, FinalBonusIsTwiceMoneyPlusThousandALifeForEachPlayerWithASpareShip) {
    const struct {
        int v[7];      // players, and each player's lives, money and score
        int after[2];  // the scores after the bonus
        const char *one, *two;
    } cases[] = {
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
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.v[3]);
        PlayState(2, k.v[0], k.v[1], k.v[2], k.v[3], k.v[4], k.v[5], k.v[6]);
        PALETTE stage;
        memcpy(stage, pal, sizeof stage);
        ASSERT_FALSE(RunUntil(End, 300));  // held after it has faded in
        EXPECT_EQ(HeadlessPresents(), 1);
        EXPECT_EQ(memcmp(HeadlessPalette(), stage, sizeof stage), 0) << "still the stage's colours";
        RefFrom(nullptr, 1);
        RefLines(40, 3, 1, k.one);
        RefLines(128, 3, 1, k.two);
        EXPECT_EQ(Mismatches(), 0);
        EXPECT_EQ(score, k.after[0]);
        EXPECT_EQ(score2, k.after[1]);
    }
}

// The commander walks in (a new pose every 7 frames, all five in turn, also
// well inside the screen), cries, falls, and a small figure comes out and
// runs off below the bottom edge.
TEST(End, CommanderWalksInCriesFallsAndASmallFigureRunsOff) {
    const std::string CRY = "m0 7 137 190" + FIXTURE + "| 48 164 160 Aaaaaaaargh!!!";
    const struct {
        int scene, n;
        std::string layers;
    } rows[] = {
        {0, 0, "m0 1 -49 190" + FIXTURE},
        {0, 6, "m0 1 -47 190" + FIXTURE},
        {0, 7, "m0 2 -47 190" + FIXTURE},
        {0, 308, "m0 0 53 190" + FIXTURE},
        {0, 315, "m0 1 56 190" + FIXTURE},
        {0, 322, "m0 2 58 190" + FIXTURE},
        {0, 329, "m0 3 60 190" + FIXTURE},
        {0, 336, "m0 4 63 190" + FIXTURE},
        {0, 559, "m0 0 137 190" + FIXTURE},
        {1, 0, CRY},
        {1, 199, CRY},
        {2, 100, "m0 8 141 224" + FIXTURE},
        {3, 99, FALLEN + " m5 0 170 222" + FIXTURE},
        {4, 0, FALLEN + " m5 1 171 223" + FIXTURE},
        {4, 7, FALLEN + " m5 1 173 223" + FIXTURE},
        {4, 8, FALLEN + " m5 0 173 223" + FIXTURE},
        {4, 16, FALLEN + " m5 1 176 224" + FIXTURE},
        {4, 249, FALLEN + " m5 0 254 238" + FIXTURE},
        {4, 256, FALLEN + " m5 1 256 239" + FIXTURE},
        {4, 264, FALLEN + " m5 0 259 240" + FIXTURE},
        {4, 429, FALLEN + " m5 0 314 260" + FIXTURE},
    };
    for (const auto &r : rows) {
        ASSERT_TRUE(SceneAt(Won, End, SCENE[r.scene] + r.n));
        RefFrom(bg);
        RefDraw(r.layers, 8);
        EXPECT_EQ(Mismatches(), 0) << r.scene << " " << r.n;
    }
}

// The size the explosion at scene frame g is shown at, 1..3; 0 if it matches
// none, -1 if several.
int BlastSizeShown(int g) {
    int found = 0;
    if (!SceneAt(Won, End, g)) return 0;
    const actor_t &b = intro[4];
    for (int s = 1; s <= 3; s++) {
        RefFrom(bg);
        RefDraw(FALLEN + FIXTURE + " z4 " + std::to_string(b.frame) + " " + std::to_string(b.x) + " " +
                std::to_string(b.y) + " " + std::to_string(s << 16));
        if (Mismatches() == 0) found = found ? -1 : s;
    }
    return found;
}

TEST(End, ExplosionsOfRandomPlaceAndSize) {
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
        RefFrom(nullptr, 1);
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
    RefFrom(nullptr, 1);
    RefLines(40, 2, 1, " Congratulation! You have saved the\n world, but ... is this the end ... ?");
    EXPECT_EQ(Mismatches(), 0);

    // The whole ending: bonus screen 12 s, scenes, caption 6 s, hints 4 s,
    // four fades out and four in; no key is read on the way. The bonus is
    // added once; each explosion plays its sound at 120, a little to the right.
    long expected = SCENES + 720 + 360 + 240 + 4 * FadeFrames(5) + 4 * FadeFrames(2);
    PlayState(2, 1, 3, 2000, 12345, 3, 999, 55);
    ASSERT_TRUE(RunUntil(End, expected + 100,
                         "100 press SPACE\n1000 press ENTER\n2000 press ESC\n3000 press SPACE\n"));
    EXPECT_NEAR(HeadlessFrame(), expected, 3);
    EXPECT_EQ(HeadlessPresents(), 1 + 1 + SCENES + 1 + 1);
    EXPECT_TRUE(gameover);
    EXPECT_EQ(std::vector<int>({score, money, lives, score2}), std::vector<int>({19345, 2000, 3, 55}));
    ASSERT_EQ(HeadlessSoundCount(), BLASTS);
    for (int k = 0; k < BLASTS; k++) {
        const SoundEvent &e = *HeadlessSound(k);
        EXPECT_EQ(std::vector<long>({(long)(e.sample == pl_fx[1]), e.vol, e.pan, e.freq, e.frame}),
                  std::vector<long>({1, 120, 150, 1000, f + SCENE[5] + BLAST * k - 1}));
    }
}

}  // namespace
