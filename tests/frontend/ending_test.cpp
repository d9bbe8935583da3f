// The ending: the final bonus and who gets it, the commander's defeat frame
// by frame, the explosions, the hints by difficulty, its length, and the
// play ended at its close.

#include "support/story.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <tuple>

namespace {

const int SCENE[] = {0, 560, 760, 960, 1060, 1490};  // first frame of each scene
const int BLASTS = 20, BLAST = 45;                   // explosions of the last scene, frames each
const int SCENES = 1490 + BLASTS * BLAST;
const std::string FALLEN = "m0 9 141 224", FIXTURE = " s1 0 70 221";

// A play that has just beaten the fifth boss, on the last stage's sheet:
// difficulty, players, and each player's lives, money and score.
void PlayState(const int *v) {
    Fresh();
    LoadData(5);
    MODE = 1;
    level = 26;
    gameover = false;
    std::tie(SKILL, NPLAYERS, lives, money, score, lives2, money2, score2) =
        std::make_tuple(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
}

void Won() {
    static const int v[] = {1, 1, 3, 0, 0, 0, 0, 0};
    PlayState(v);
}

// The final bonus (twice the money plus 1000 a life, for each player with a
// spare ship) in the stage's colours; then, after the scenes, the hints by
// difficulty (an extra in force or Old mode change nothing) and the play
// over. The whole ending: bonus screen 12 s, scenes, caption 6 s, hints 4 s,
// four fades out and four in, no key read on the way, the bonus added once,
// and each explosion's sound at 120, a little to the right.
TEST(End, FinalBonusHintsAndTheWholeLength) {
    const std::string M = EXTRA_MONEY_LETTER, SB = EXTRA_SUPER_LETTERS, N = EXTRA_REMOVE_LETTER;
    const struct {
        // difficulty, players, each player's lives, money and score, the
        // mode, an extra in force, and the scores after the bonus
        int v[12];
        std::string one, two, hints;
    } cases[] = {
        {{1, 1, 3, 2000, 12345, 3, 999, 55, 1, true, 19345, 55},
         "Final bonus Player 1\n\n\n - Money 2000 x 2 = 4000\n - Lives 3 x 1000 = 3000\n\n Score: 12345\n"
         " Bonus: 7000\n Final score: 19345",
         "",
         " ... press " + M + " in the title screen when\n cursor its over S..R. ..M. ??? ;-)"},
        // player 1 on his last ship: no block; player 2 keeps his rows
        {{2, 2, 1, 8000, 500, 4, 500, 100, 2, false, 500, 5100},
         "",
         "Final bonus Player 2\n\n\n - Money 500 x 2 = 1000\n - Lives 4 x 1000 = 4000\n\n Score: 100\n"
         " Bonus: 5000\n Final score: 5100",
         " ... press " + SB + " in the title screen when\n cursor its over .TA.T .... ??? ;-))))"},
        {{3, 2, 2, 0, 10, 1, 700, 20, 1, false, 2010, 20},
         "Final bonus Player 1\n\n\n - Money 0 x 2 = 0\n - Lives 2 x 1000 = 2000\n\n Score: 10\n"
         " Bonus: 2000\n Final score: 2010",
         "",
         "Press " + M + " in the title screen when cursor\nits over START GAME (money bonus)\n\nPress " + SB +
             " in the title screen when\ncursor its over START GAME (super bonus)\n\nPress " + N +
             " in the title screen when cursor\nits over START GAME to remove cheats"},
    };
    long f = FirstSceneFrame(Won, End);
    long expected = SCENES + 720 + 360 + 240 + 4 * FadeFrames(5) + 4 * FadeFrames(2);
    for (const auto &k : cases) {
        SCOPED_TRACE(k.v[0]);
        PlayState(k.v);
        PALETTE stage;
        memcpy(stage, pal, sizeof stage);
        ASSERT_FALSE(RunUntil(End, 300));  // held after it has faded in
        EXPECT_EQ(HeadlessPresents(), 1);
        EXPECT_EQ(memcmp(HeadlessPalette(), stage, sizeof stage), 0) << "still the stage's colours";
        RefFrom(nullptr, 1);
        RefLines(40, 3, 1, k.one);
        RefLines(128, 3, 1, k.two);
        EXPECT_EQ(Mismatches(), 0);

        PlayState(k.v);
        MODE = k.v[8];
        CHEAT = k.v[9];
        ASSERT_TRUE(RunUntil(End, expected + 100,
                             "100 press SPACE\n1000 press ENTER\n2000 press ESC\n3000 press SPACE\n"));
        CHEAT = false;
        RefFrom(nullptr, 1);
        RefLines(40, 2, 1, k.hints);
        EXPECT_EQ(Mismatches(), 0);
        EXPECT_TRUE(gameover);
        EXPECT_NEAR(HeadlessFrame(), expected, 3);
        EXPECT_EQ(HeadlessPresents(), 1 + 1 + SCENES + 1 + 1);
        EXPECT_EQ(std::vector<int>({score, score2, lives, money}),
                  std::vector<int>({k.v[10], k.v[11], k.v[2], k.v[3]}));
        ASSERT_EQ(HeadlessSoundCount(), BLASTS);
        for (int b = 0; b < BLASTS; b++)
            EXPECT_TRUE(SoundIs(b, pl_fx[1], 120, f + SCENE[5] + BLAST * b - 1)) << b;
    }
}

// The commander walks in (a new pose every 7 frames, all five in turn, also
// well inside the screen), cries, falls, and a small figure comes out and
// runs off below the bottom edge.
TEST(End, CommanderWalksInCriesFallsAndASmallFigureRunsOff) {
    const std::string CRY = "m0 7 137 190" + FIXTURE + "| 48 164 160 Aaaaaaaargh!!!";
    ExpectScenes(Won, End, SCENE,
                 {
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
                     {4, 7, FALLEN + " m5 1 173 223" + FIXTURE},
                     {4, 8, FALLEN + " m5 0 173 223" + FIXTURE},
                     {4, 16, FALLEN + " m5 1 176 224" + FIXTURE},
                     {4, 249, FALLEN + " m5 0 254 238" + FIXTURE},
                     {4, 256, FALLEN + " m5 1 256 239" + FIXTURE},
                     {4, 264, FALLEN + " m5 0 259 240" + FIXTURE},
                     {4, 429, FALLEN + " m5 0 314 260" + FIXTURE},
                 },
                 8);
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

TEST(End, ExplosionsOfRandomPlaceAndSizeThenTheClosingCaption) {
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

    // After the last one, the closing caption.
    Won();
    ASSERT_FALSE(RunUntil(End, FirstSceneFrame(Won, End) + SCENES + 200));
    EXPECT_EQ(HeadlessPresents(), 3 + SCENES);
    EXPECT_FALSE(gameover);
    RefFrom(nullptr, 1);
    RefLines(40, 2, 1, " Congratulation! You have saved the\n world, but ... is this the end ... ?");
    EXPECT_EQ(Mismatches(), 0);
}

}  // namespace
