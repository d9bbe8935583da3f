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

// Each scene's picture at chosen frames: the commander walks in on his walk
// cycle (a new pose every 5 frames, all five in turn, also well inside the
// screen), gives the order, the shot shrinks away, the impact's explosion
// shows images 2..7 eight frames each, the fighter goes at half speed until
// x 250 then full, and the commander boasts in his second pose.
TEST(Intro, ScenesFrameByFrame) {
    const std::string WALK = " s1 0 70 221", REST = "m0 5 150 190", PLANET = " s4 0 139 53",
                      FG = " s2 0 250 70", FIRE = "| 148 192 160 Fire!",
                      FIGHTERS = "| 18 222 168 And now send the fighters\nfor final attack...";
    ExpectScenes(TitleShown, Intro, SCENE,
                 {
                     {0, 0, "m0 1 -49 190" + WALK},
                     {0, 4, "m0 1 -47 190" + WALK},
                     {0, 5, "m0 2 -47 190" + WALK},
                     {0, 210, "m0 3 56 190" + WALK},
                     {0, 215, "m0 4 58 190" + WALK},
                     {0, 220, "m0 0 61 190" + WALK},
                     {0, 399, "m0 0 150 190" + WALK},
                     {1, 50, REST},
                     {1, 51, REST + "| 18 198 160 Destroy this planet..."},
                     {1, 180, REST + "| 18 198 160 Destroy this planet..."},
                     {1, 181, REST + FIRE},
                     {2, 0, REST + " z3 0 323 177 65336" + FG + FIRE},
                     {2, 99, REST + " z3 0 274 144 45536" + FG + FIRE},
                     {2, 100, REST + " z3 0 273 144 45336" + FG},
                     {2, 319, REST + " z3 0 164 71 1536" + FG},
                     {2, 320, REST + FG},
                     {3, 7, REST + PLANET + " s4 2 139 53"},
                     {3, 8, REST + PLANET + " s4 3 139 53"},
                     {3, 47, REST + PLANET + " s4 7 139 53"},
                     {3, 48, REST + PLANET},
                     {3, 120, REST + PLANET},
                     {3, 121, REST + PLANET + FIGHTERS},
                     {4, 149, REST + PLANET + " z3 1 260 100 28036" + FG + FIGHTERS},
                     {4, 150, REST + PLANET + " z3 1 259 99 27786" + FG},
                     {4, 168, REST + PLANET + " z3 1 250 93 23286" + FG},
                     {4, 169, REST + PLANET + " z3 1 249 93 23036" + FG},
                     {4, 239, REST + PLANET + " z3 1 179 70 5536" + FG},
                     {5, 70, REST + PLANET},
                     {5, 71, "m0 6 150 190" + PLANET + "| 18 286 160 Finally I'll conquer this planet!"},
                 },
                 7);
}

TEST(Intro, CaptionsMusicSoundsAndItsWholeLengthWhateverKeysArePressed) {
    // Opening caption, in the title's palette, before any music.
    TitleShown();
    PALETTE title;
    memcpy(title, pal, sizeof title);
    ASSERT_FALSE(RunUntil(Intro, 300));
    EXPECT_EQ(HeadlessPresents(), 1);
    EXPECT_FALSE(HeadlessMidiPlaying());
    EXPECT_EQ(memcmp(HeadlessPalette(), title, sizeof title), 0);
    RefFrom(nullptr, 0);
    RefLines(40, 6, 0,
             " Year 2078...\n\n Near the earth, hided by a force\n field, a new danger for the whole\n"
             " umanity begin ...");
    EXPECT_EQ(Mismatches(), 0);

    ASSERT_TRUE(SceneAt(TitleShown, Intro, 0));
    EXPECT_TRUE(HeadlessMidiPlaying()) << "from the first scene frame on";

    // Closing caption, the music still playing. The shot sounds as scene 3
    // starts, the impact as scene 4 starts, the fighters 20 frames into scene 5.
    long f = FirstSceneFrame(TitleShown, Intro);
    TitleShown();
    ASSERT_FALSE(RunUntil(Intro, f + SCENES + 200));
    EXPECT_EQ(HeadlessPresents(), 3 + SCENES);
    EXPECT_TRUE(HeadlessMidiPlaying());
    RefFrom(nullptr, 1);
    RefLines(40, 2, 1, " ... but a pilot with his spaceship,\n can save the earth and the umanity?");
    EXPECT_EQ(Mismatches(), 0);
    ASSERT_EQ(HeadlessSoundCount(), 3);
    EXPECT_TRUE(SoundIs(0, pl_fx[0], 200, f + SCENE[2] - 1));
    EXPECT_TRUE(SoundIs(1, pl_fx[1], 200, f + SCENE[3] - 1));
    EXPECT_TRUE(SoundIs(2, pl_fx[2], 200, f + SCENE[4] + 20));
    SAMPLE *fighters = pl_fx[2];

    // The scenes, two 6-second captions, five fades out and four in.
    TitleShown();
    ASSERT_TRUE(RunUntil(Intro, -1));
    long length = HeadlessFrame();
    EXPECT_NEAR(length,
                SCENES + 2 * 360 + 3 * FadeFrames(5) + FadeFrames(4) + FadeFrames(5) + 4 * FadeFrames(2), 3);
    // Keys of every kind, held and pressed, in the captions and the scenes.
    const char *const keys[] = {"SPACE", "ESC", "ENTER", "LEFT", "RIGHT", "UP", "DOWN", "G", "M", "S"};
    std::string script = "300 down SPACE\n900 down ESC\n1500 up SPACE\n1600 up ESC\n";
    for (long k = 10; k < length; k += 37)
        script += std::to_string(k) + " press " + keys[(k / 37) % 10] + "\n";
    TitleShown();
    ASSERT_TRUE(RunUntil(Intro, length + 100, script));
    EXPECT_EQ(HeadlessFrame(), length);
    EXPECT_EQ(HeadlessPresents(), 2 + SCENES + 1 + 2);  // captions, intro picture, scenes, title and credits

    // Back on the title picture with its credits box, in its palette, with
    // the music stopped and the menu sound back.
    EXPECT_FALSE(HeadlessMidiPlaying());
    EXPECT_EQ(memcmp(HeadlessPalette(), title, sizeof title), 0);
    EXPECT_EQ(text_bg, 0);
    EXPECT_NE(pl_fx[2], fighters);
    RefFrom(bg);
    EXPECT_EQ(Mismatches(), 0);
}

}  // namespace
