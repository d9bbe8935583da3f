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

// Clock frame in which the first scene frame is shown, found from a run
// stopped somewhere in the scenes: every scene frame presents one picture,
// after the opening caption and the intro picture.
long first_scene = -1;

long FirstSceneFrame() {
    if (first_scene < 0) {
        TitleShown();
        RunUntil(Intro, 1000);
        long shown = HeadlessPresents() - 3;
        first_scene = 999 - shown;
    }
    return first_scene;
}

// Stops the intro right after scene s (0-based) has shown its frame n.
bool IntroAt(int s, int n) {
    long g = SCENE[s] + n;
    long f = FirstSceneFrame();
    TitleShown();
    if (RunUntil(Intro, f + g + 1)) return false;
    return HeadlessPresents() == 3 + g;
}

// The scene's picture with the commander standing at the end of his walk.
void RefCommander(int slot) {
    RefFrom(bg);
    RefMirrored(intro[0].spr[slot], 150, 190);
}

void RefBox(int x1, int y1, int x2, int y2, const char *line1, const char *line2 = NULL) {
    RefFill(x1, y1, x2, y2, 7);
    RefText(x1 + 2, 150, 1, 7, line1);
    if (line2) RefText(x1 + 2, 158, 1, 7, line2);
}

TEST(Intro, CommanderWalksInOnHisWalkCycle) {
    struct {
        int n, x, frame;
    } steps[] = {{0, -49, 1},  {4, -47, 1},  {5, -47, 2},  {10, -44, 3},
                 {15, -42, 4}, {20, -39, 0}, {25, -37, 1}, {399, 150, 0}};
    for (const auto &s : steps) {
        SCOPED_TRACE(s.n);
        ASSERT_TRUE(IntroAt(0, s.n));
        EXPECT_EQ(intro[0].x, s.x);
        EXPECT_EQ(intro[0].y, 190);
        EXPECT_EQ(intro[0].frame, s.frame);
        RefFrom(bg);
        RefMirrored(intro[0].spr[s.frame], s.x, 190);
        RefSprite(intro[1].spr[0], 70, 221);
        EXPECT_EQ(Mismatches(), 0);
    }
    EXPECT_EQ(text_bg, 7);
}

TEST(Intro, CommanderGivesTheOrderInTwoBoxes) {
    for (int n : {0, 50, 51, 180, 181, 199}) {
        SCOPED_TRACE(n);
        ASSERT_TRUE(IntroAt(1, n));
        RefCommander(5);
        if (n >= 51 && n <= 180) RefBox(18, 147, 198, 160, "Destroy this planet...");
        if (n >= 181) RefBox(148, 147, 192, 160, "Fire!");
        EXPECT_EQ(Mismatches(), 0);
        if (n == 51) {  // colour-1 text on a colour-7 box
            int text = CountColour(1, 18, 147, 198, 160), box = CountColour(7, 18, 147, 198, 160);
            EXPECT_GT(text, 100);
            EXPECT_EQ(text + box, 181 * 14);
        }
    }
}

TEST(Intro, ShotShrinksAwayAndIsGoneAfterFrame319) {
    struct {
        int n, x, y;
    } steps[] = {{0, 323, 177},  {99, 274, 144}, {100, 273, 144}, {200, 223, 111},
                 {319, 164, 71}, {320, 163, 71}, {360, 143, 57},  {399, 124, 44}};
    for (const auto &s : steps) {
        SCOPED_TRACE(s.n);
        ASSERT_TRUE(IntroAt(2, s.n));
        EXPECT_EQ(intro[3].x, s.x);
        EXPECT_EQ(intro[3].y, s.y);
        EXPECT_EQ(intro[3].zoom, 200 * (s.n + 1));
        RefCommander(5);
        RefSprite(intro[2].spr[0], 250, 70);
        if (s.n <= 99) RefBox(148, 147, 192, 160, "Fire!");
        int without_shot = Mismatches();
        if (s.n == 200) {
            EXPECT_GT(without_shot, 20);  // well in sight, about 7 pixels across
        }
        if (s.n <= 319) {
            RefCommander(5);
            RefScaled(intro[3].spr[0], s.x, s.y, 65536 - 200 * (s.n + 1));
            RefSprite(intro[2].spr[0], 250, 70);
            if (s.n <= 99) RefBox(148, 147, 192, 160, "Fire!");
            EXPECT_EQ(Mismatches(), 0);
        } else {
            EXPECT_EQ(without_shot, 0);
        }
    }
}

TEST(Intro, ImpactExplosionShowsFramesTwoToSevenEightFramesEach) {
    struct {
        int n, frame;
    } steps[] = {{0, 2}, {7, 2}, {8, 3}, {39, 6}, {40, 7}, {47, 7}, {48, 8}, {120, 17}, {121, 17}, {199, 26}};
    for (const auto &s : steps) {
        SCOPED_TRACE(s.n);
        ASSERT_TRUE(IntroAt(3, s.n));
        EXPECT_EQ(intro[4].frame, s.frame);
        RefCommander(5);
        RefSprite(intro[4].spr[0], 139, 53);
        if (s.frame <= 7) RefSprite(intro[4].spr[s.frame], 139, 53);
        if (s.n >= 121) RefBox(18, 147, 222, 168, "And now send the fighters", "for final attack...");
        EXPECT_EQ(Mismatches(), 0);
    }
}

TEST(Intro, FighterGoesAtHalfSpeedUntilX250ThenFull) {
    struct {
        int n, x, y;
    } steps[] = {{0, 334, 149},  {149, 260, 100}, {150, 259, 99}, {167, 251, 94},
                 {168, 250, 93}, {169, 249, 93},  {170, 248, 93}, {239, 179, 70}};
    for (const auto &s : steps) {
        SCOPED_TRACE(s.n);
        ASSERT_TRUE(IntroAt(4, s.n));
        EXPECT_EQ(intro[3].x, s.x);
        EXPECT_EQ(intro[3].y, s.y);
        EXPECT_EQ(intro[3].zoom, 250 * (s.n + 1));
        RefCommander(5);
        RefSprite(intro[4].spr[0], 139, 53);
        RefScaled(intro[3].spr[1], s.x, s.y, 65536 - 250 * (s.n + 1));
        RefSprite(intro[2].spr[0], 250, 70);
        if (s.n <= 149) RefBox(18, 147, 222, 168, "And now send the fighters", "for final attack...");
        EXPECT_EQ(Mismatches(), 0);
    }
}

TEST(Intro, CommanderBoastsInHisSecondPose) {
    for (int n : {0, 70, 71, 279}) {
        SCOPED_TRACE(n);
        ASSERT_TRUE(IntroAt(5, n));
        RefCommander(n <= 70 ? 5 : 6);
        RefSprite(intro[4].spr[0], 139, 53);
        if (n >= 71) RefBox(18, 147, 286, 160, "Finally I'll conquer this planet!");
        EXPECT_EQ(Mismatches(), 0);
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
    RefText(0, 40, 6, 0, " Year 2078...");
    RefText(0, 56, 6, 0, " Near the earth, hided by a force");
    RefText(0, 64, 6, 0, " field, a new danger for the whole");
    RefText(0, 72, 6, 0, " umanity begin ...");
    EXPECT_EQ(Mismatches(), 0);

    // The music plays from the first scene frame to the last.
    ASSERT_TRUE(IntroAt(0, 0));
    EXPECT_TRUE(HeadlessMidiPlaying());
    EXPECT_EQ(HeadlessSoundCount(), 0);
    ASSERT_TRUE(IntroAt(5, 279));
    EXPECT_TRUE(HeadlessMidiPlaying());

    // The shot as scene 3 starts, the impact as scene 4 starts, the
    // fighters 20 frames into scene 5.
    long f = FirstSceneFrame();
    ASSERT_EQ(HeadlessSoundCount(), 3);
    SAMPLE *fx[3] = {pl_fx[0], pl_fx[1], pl_fx[2]};
    long at[3] = {f + SCENE[2] - 1, f + SCENE[3] - 1, f + SCENE[4] + 20};
    for (int i = 0; i < 3; i++) {
        SCOPED_TRACE(i);
        const SoundEvent *e = HeadlessSound(i);
        EXPECT_EQ(e->sample, fx[i]);
        EXPECT_EQ(HeadlessPlays(fx[i]), 1);
        EXPECT_EQ(e->vol, 200);
        EXPECT_EQ(e->pan, 150);
        EXPECT_EQ(e->freq, 1000);
        EXPECT_EQ(e->frame, at[i]);
    }

    // Closing caption: the music still plays while it is held.
    TitleShown();
    ASSERT_FALSE(RunUntil(Intro, f + SCENES + 200));
    EXPECT_EQ(HeadlessPresents(), 3 + SCENES);
    EXPECT_TRUE(HeadlessMidiPlaying());
    RefClear(1);
    RefText(0, 40, 2, 1, " ... but a pilot with his spaceship,");
    RefText(0, 48, 2, 1, " can save the earth and the umanity?");
    EXPECT_EQ(Mismatches(), 0);

    // Back on the title picture, in its palette, with the music stopped.
    TitleShown();
    ASSERT_TRUE(RunUntil(Intro, -1));
    EXPECT_FALSE(HeadlessMidiPlaying());
    EXPECT_EQ(HeadlessSoundCount(), 3);
    EXPECT_EQ(memcmp(HeadlessPalette(), title, sizeof title), 0);
    EXPECT_EQ(text_bg, 0);
    EXPECT_NE(pl_fx[2], fx[2]);  // the menu sound is back
    EXPECT_EQ(pl_fx[0], fx[0]);  // the intro's own stay until the next screen
    EXPECT_EQ(pl_fx[1], fx[1]);
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
    std::string script;
    for (long f = 10; f < length; f += 37) {
        static const char *const keys[] = {"SPACE", "ESC",  "ENTER", "LEFT", "RIGHT",
                                           "UP",    "DOWN", "G",     "M",    "S"};
        script += std::to_string(f) + " press " + keys[(f / 37) % 10] + "\n";
    }
    script += "300 down SPACE\n900 down ESC\n1500 up SPACE\n1600 up ESC\n";
    TitleShown();
    ASSERT_TRUE(RunUntil(Intro, length + 100, script));
    EXPECT_EQ(HeadlessFrame(), length);
    EXPECT_EQ(HeadlessPresents(), presents);

    // The pause holds a scene for as long as it lasts.
    long pause_at = FirstSceneFrame() + 500;
    script = std::to_string(pause_at) + " down P\n" + std::to_string(pause_at + 30) + " up P\n" +
             std::to_string(pause_at + 90) + " press R\n";
    TitleShown();
    ASSERT_TRUE(RunUntil(Intro, length + 200, script));
    EXPECT_EQ(HeadlessFrame(), length + 90);
    EXPECT_EQ(HeadlessPresents(), presents);
}

}  // namespace
