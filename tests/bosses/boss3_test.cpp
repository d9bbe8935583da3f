// Third boss: the sweep, the swaying arm and its strike, the bundle of
// bombs, and shots spent on the arm.

#include "support/bossfight.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

bosspart_t *const ARM[4] = {&boss1, &boss2, &boss3, &boss4};

// The body sweeps x 140 + 100 sin on row 45 (truncated: 141 on the second
// frame, 239 on the 80th); the arm hangs 30, 40, 50 and 60 below it, each
// segment swaying 4, 8, 12 and 16 pixels about x + 25.
TEST(Boss3, SweepsOnRow45WithTheArmHangingAndSwaying) {
    StartBoss(3);
    PastEntrance();
    const std::map<int, std::vector<int>> sway = {
        {1, {0, 0, 0, 0}}, {10, {1, 3, 5, 6}}, {32, {3, 7, 11, 15}}, {63, {0, 0, 0, 0}}};
    const std::vector<At> body = {{1, 140, 45},   {2, 141, 45},   {80, 239, 45},
                                  {157, 142, 45}, {158, 140, 45}, {237, 41, 45}};
    auto arm = [&sway](int t) {
        EXPECT_EQ(boss1.mode, 0) << "no ship under the arm";
        for (int k = 0; k < 4; k++) EXPECT_EQ(ARM[k]->y, 75 + 10 * k);
        auto s = sway.find(t);
        if (s == sway.end()) return;
        for (int k = 0; k < 4; k++) EXPECT_EQ(ARM[k]->x, boss.x + 25 + s->second[k]) << "frame " << t;
        EXPECT_TRUE(ShownUncovered(boss4.spr[0], boss4.x, boss4.y));
    };
    EXPECT_EQ(FollowBody(body, 320, true, arm), (Box{41, 239, 45, 45}))
        << "truncated toward zero: never quite 40 or 240";
}

// Four bombs one pixel apart fall two a frame and start again at once from
// the body's place of the frame before, plus (15, 15 + i), once past y 200:
// the first bundle from the end of the entrance (140, 82), later ones from
// row 45. They show one of their two images.
TEST(Boss3, KeepsABundleOfFourBombsFallingFromTheBody) {
    StartBoss(3);
    PastEntrance();
    std::vector<GroupRule> rules;
    for (int i = 0; i < 4; i++)
        rules.push_back({i, 1, 2, {0}, 200, {15}, {15 + i}, [](int, int) { return true; }});
    // From y 97 the first needs 52 frames to pass 200, from 60 then 71.
    EXPECT_EQ(FollowGroups(rules, 600)[0].launches, 2 + (600 - 53) / 71);
    while (boss_bomb[3].y <= 130) QuietFrame();  // on top, below the arm
    int y = boss_bomb[3].y;
    QuietFrame();
    const bossbomb_t &b = boss_bomb[3];
    EXPECT_TRUE(ShownUncovered(b.spr[0], b.x, y) || ShownUncovered(b.spr[1], b.x, y));
}

// A strike starts when the top segment's place of the frame before is
// exactly a ship's x, not a pixel beside it: 19 frames stretching bring the
// tip from 105 to 195, the next (pulling back) to 200, and after 20 frames
// pulling back the arm is idle; each segment's drop grows by its own step.
// The tip costs an open ship under it at the bottom of the strike. A new
// strike can start on the frame after the arm came to rest, also at the
// idle second ship's record in a one-player game.
TEST(Boss3, TheArmStrikesAtAShipRightBelowItsTopSegment) {
    StartBoss(3);
    PastEntrance();
    QuietFrames(10);
    Shielded();
    player.x = boss1.x + 1;
    QuietFrame();
    EXPECT_EQ(boss1.mode, 0) << "one pixel beside";
    player.x = boss1.x;
    QuietFrame();
    ASSERT_EQ(boss1.mode, 1);
    const int step[4] = {2, 3, 4, 5};
    for (int f = 1; f <= 39; f++) {
        int d = f <= 19 ? f - 1 : 39 - f;  // the drop grows by the step for 19 frames, then shrinks
        for (int k = 0; k < 4; k++) EXPECT_EQ(ARM[k]->y, 75 + 10 * k + step[k] * d) << "strike frame " << f;
        EXPECT_EQ(boss1.mode, f < 19 ? 1 : f < 39 ? 2 : 0) << "strike frame " << f;
        EXPECT_TRUE(ShownUncovered(boss4.spr[0], boss4.x, boss4.y));
        EXPECT_EQ(lives, f < 18 ? 9 : 8) << "the tip reaches the ship on strike frame 18";
        player.x = boss4.x;  // under the tip, open from frame 15
        if (f == 15) Unshield();
        for (bossbomb_t &b : boss_bomb) b.on = false;
        if (f < 39) QuietFrame();
    }
    ASSERT_EQ(NPLAYERS, 1);
    player.x = 0;
    player2.x = boss1.x;
    QuietFrame();
    EXPECT_EQ(boss1.mode, 1);
    EXPECT_EQ(lives2, LIVES);
}

// Shots that touch the arm are spent on it, sounding a hit but scoring
// nothing and sparing the body behind it; the arm never dies. After the
// kill neither body nor arm is drawn once the explosions are over.
TEST(Boss3, ShotsAreSpentOnTheArmAndNothingShowsAfterTheKill) {
    StartBoss(3);
    PastEntrance();
    QuietFrame();
    int hp = boss.hp;
    for (int k = 0; k < 4; k++) {
        SCOPED_TRACE("segment " + std::to_string(k + 1));
        Shielded();
        PlaceShot(1, 0, ARM[k]->x + 4, ARM[k]->y);
        QuietFrame();
        EXPECT_FALSE(bullet[0].on);
        EXPECT_EQ(Sound(al_fx[1]), (Played{k + 1, 50, 100, 1000}));
        EXPECT_FALSE(ARM[k]->dead);
    }
    EXPECT_EQ(score, 0);
    EXPECT_EQ(boss.hp, hp);

    boss.hp = 1;
    while (!fl_des) ShootBody();
    while (exp_n < 100) QuietFrame();
    for (bosspart_t *s : ARM)
        for (int j = 0; j < 19; j++)
            for (int i = 0; i < 13; i++) EXPECT_EQ(Shown(s->x + i, s->y + j), Backdrop(s->x + i, s->y + j));
    for (int i = 0; i < 63; i++) EXPECT_EQ(Shown(boss.x + i, 50), Backdrop(boss.x + i, 50));
}

}  // namespace
