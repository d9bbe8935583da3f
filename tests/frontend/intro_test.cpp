// The intro: its six scenes frame by frame, the captions, the music and
// sounds, its length on the clock, and that no key cuts it short.

#include "support/story.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const int SCENE[] = {0, 400, 600, 1000, 1200, 1440};  // first frame of each scene
const int SCENES = 1720;                              // frames of all six

// The title screen as the menu leaves it when "PLAY INTRO" is chosen.
void TitleShown() {
    Fresh();
    LoadData(0);
    ToScreen(bg);
    SysSetPalette(pal);
    text_bg = 0;
}

// Stops the intro right after scene s (0-based) has shown its frame n, and
// starts the expected picture: the scene's backdrop with the commander
// (image `slot`, or none) standing at the end of his walk.
bool IntroAt(int s, int n, int slot = 5) {
    if (!SceneAt(TitleShown, Intro, SCENE[s] + n)) return false;
    RefFrom(bg);
    if (slot >= 0) RefMirrored(intro[0].spr[slot], 150, 190);
    return true;
}

void RefBox(int x1, int x2, int y2, const char *line1, const char *line2 = NULL) {
    RefFill(x1, 147, x2, y2, 7);
    RefText(x1 + 2, 150, 1, 7, line1);
    if (line2) RefText(x1 + 2, 158, 1, 7, line2);
}

void RefFighters() {
    RefBox(18, 222, 168, "And now send the fighters", "for final attack...");
}

TEST(Intro, CommanderWalksInOnHisWalkCycle) {
    // A new pose every 5 frames, all five in turn, also well inside the screen.
    const int steps[][3] = {{0, -49, 1},  {4, -47, 1},  {5, -47, 2},  {20, -39, 0},
                            {25, -37, 1}, {204, 53, 1}, {205, 53, 2}, {210, 56, 3},
                            {215, 58, 4}, {220, 61, 0}, {224, 63, 0}, {399, 150, 0}};
    for (const auto &s : steps) {  // scene frame, his x, his walk image
        ASSERT_TRUE(IntroAt(0, s[0], -1));
        RefMirrored(intro[0].spr[s[2]], s[1], 190);
        RefSprite(intro[1].spr[0], 70, 221);
        EXPECT_EQ(Mismatches(), 0) << s[0];
    }
}

TEST(Intro, CommanderGivesTheOrderInTwoBoxesAndBoastsInHisSecondPose) {
    for (int n : {50, 51, 180, 181, 199}) {
        ASSERT_TRUE(IntroAt(1, n));
        if (n >= 51 && n <= 180) RefBox(18, 198, 160, "Destroy this planet...");
        if (n >= 181) RefBox(148, 192, 160, "Fire!");
        EXPECT_EQ(Mismatches(), 0) << n;
    }
    for (int n : {70, 71, 279}) {
        ASSERT_TRUE(IntroAt(5, n, n <= 70 ? 5 : 6));
        RefSprite(intro[4].spr[0], 139, 53);
        if (n >= 71) RefBox(18, 286, 160, "Finally I'll conquer this planet!");
        EXPECT_EQ(Mismatches(), 0) << n;
    }
}

TEST(Intro, ShotShrinksAwayAndIsGoneAfterFrame319) {
    const int steps[][3] = {{0, 323, 177},   {99, 274, 144}, {100, 273, 144},
                            {200, 223, 111}, {319, 164, 71}, {320, 163, 71}};
    for (const auto &s : steps) {  // scene frame, the shot's x and y
        ASSERT_TRUE(IntroAt(2, s[0]));
        if (s[0] <= 319) RefScaled(intro[3].spr[0], s[1], s[2], 65536 - 200 * (s[0] + 1));
        RefSprite(intro[2].spr[0], 250, 70);
        if (s[0] <= 99) RefBox(148, 192, 160, "Fire!");
        EXPECT_EQ(Mismatches(), 0) << s[0];
    }
    ASSERT_TRUE(IntroAt(2, 200));
    RefSprite(intro[2].spr[0], 250, 70);
    EXPECT_GT(Mismatches(), 20) << "the shot, well in sight, about 7 pixels across";
}

TEST(Intro, ImpactExplosionShowsFramesTwoToSevenEightFramesEach) {
    const int steps[][2] = {{0, 2}, {7, 2}, {8, 3}, {40, 7}, {47, 7}, {48, 8}, {120, 17}, {121, 17}};
    for (const auto &s : steps) {  // scene frame, explosion image
        ASSERT_TRUE(IntroAt(3, s[0]));
        RefSprite(intro[4].spr[0], 139, 53);
        if (s[1] <= 7) RefSprite(intro[4].spr[s[1]], 139, 53);
        if (s[0] >= 121) RefFighters();
        EXPECT_EQ(Mismatches(), 0) << s[0];
    }
}

TEST(Intro, FighterGoesAtHalfSpeedUntilX250ThenFull) {
    const int steps[][3] = {{0, 334, 149},  {149, 260, 100}, {150, 259, 99},
                            {168, 250, 93}, {169, 249, 93},  {239, 179, 70}};
    for (const auto &s : steps) {  // scene frame, the fighter's x and y
        ASSERT_TRUE(IntroAt(4, s[0]));
        RefSprite(intro[4].spr[0], 139, 53);
        RefScaled(intro[3].spr[1], s[1], s[2], 65536 - 250 * (s[0] + 1));
        RefSprite(intro[2].spr[0], 250, 70);
        if (s[0] <= 149) RefFighters();
        EXPECT_EQ(Mismatches(), 0) << s[0];
    }
}

TEST(Intro, CaptionsFrameTheMusicAndTheScenesPlayThreeSounds) {
    // Opening caption, in the title's palette, before any music.
    TitleShown();
    PALETTE title;
    memcpy(title, pal, sizeof title);
    ASSERT_FALSE(RunUntil(Intro, 300));
    EXPECT_EQ(HeadlessPresents(), 1);
    EXPECT_FALSE(HeadlessMidiPlaying());
    EXPECT_EQ(memcmp(HeadlessPalette(), title, sizeof title), 0);
    RefClear(0);
    RefLines(40, 6, 0,
             " Year 2078...\n\n Near the earth, hided by a force\n field, a new danger for the whole\n"
             " umanity begin ...");
    EXPECT_EQ(Mismatches(), 0);

    // The music plays from the first scene frame on.
    ASSERT_TRUE(IntroAt(0, 0));
    EXPECT_TRUE(HeadlessMidiPlaying());
    EXPECT_EQ(HeadlessSoundCount(), 0);

    // Closing caption: the music still plays while it is held. The shot
    // played as scene 3 starts, the impact as scene 4 starts, the fighters
    // 20 frames into scene 5.
    long f = FirstSceneFrame(TitleShown, Intro);
    TitleShown();
    ASSERT_FALSE(RunUntil(Intro, f + SCENES + 200));
    EXPECT_EQ(HeadlessPresents(), 3 + SCENES);
    EXPECT_TRUE(HeadlessMidiPlaying());
    RefClear(1);
    RefLines(40, 2, 1, " ... but a pilot with his spaceship,\n can save the earth and the umanity?");
    EXPECT_EQ(Mismatches(), 0);
    SAMPLE *fx[3] = {pl_fx[0], pl_fx[1], pl_fx[2]};
    long at[3] = {f + SCENE[2] - 1, f + SCENE[3] - 1, f + SCENE[4] + 20};
    ASSERT_EQ(HeadlessSoundCount(), 3);
    for (int i = 0; i < 3; i++) {
        const SoundEvent &e = *HeadlessSound(i);
        EXPECT_EQ(std::vector<long>({(long)(e.sample == fx[i]), e.vol, e.pan, e.freq, e.frame}),
                  std::vector<long>({1, 200, 150, 1000, at[i]}))
            << "sound " << i;
    }

    // Back on the title picture, in its palette, with the music stopped.
    TitleShown();
    ASSERT_TRUE(RunUntil(Intro, -1));
    EXPECT_FALSE(HeadlessMidiPlaying());
    EXPECT_EQ(memcmp(HeadlessPalette(), title, sizeof title), 0);
    EXPECT_EQ(text_bg, 0);
    EXPECT_NE(pl_fx[2], fx[2]);  // the menu sound is back
    RefFrom(bg);
    EXPECT_EQ(Mismatches(), 0);  // the credits box is drawn into the title picture itself
}

TEST(Intro, RunsItsWholeLengthWhateverKeysArePressed) {
    TitleShown();
    ASSERT_TRUE(RunUntil(Intro, -1));
    long length = HeadlessFrame(), presents = HeadlessPresents();
    // The scenes, two 6-second captions, five fades out and four in.
    long expected = SCENES + 2 * 360 + 3 * FadeFrames(5) + FadeFrames(4) + FadeFrames(5) + 4 * FadeFrames(2);
    EXPECT_NEAR(length, expected, 3);
    EXPECT_EQ(presents, 2 + SCENES + 1 + 2);  // captions, intro picture, scenes, title and credits

    // Keys of every kind, held and pressed, in the captions and the scenes.
    const char *const keys[] = {"SPACE", "ESC", "ENTER", "LEFT", "RIGHT", "UP", "DOWN", "G", "M", "S"};
    std::string script = "300 down SPACE\n900 down ESC\n1500 up SPACE\n1600 up ESC\n";
    for (long f = 10; f < length; f += 37)
        script += std::to_string(f) + " press " + keys[(f / 37) % 10] + "\n";
    TitleShown();
    ASSERT_TRUE(RunUntil(Intro, length + 100, script));
    EXPECT_EQ(HeadlessFrame(), length);
    EXPECT_EQ(HeadlessPresents(), presents);
}

}  // namespace
