// First boss: its diagonal bounce and the three kinds of beams.

#include "support/bossfight.h"

#include <gtest/gtest.h>

namespace {

// From (100, 27) after the entrance, one pixel per axis every third frame:
// down to y 100 by frame 219, right to x 261 by 483, up to y 10 by 489, left
// to x 0 by 1266, never past x 0..261, y 10..100; drawn where it is.
TEST(Boss1, BouncesWithinItsLimitsOnePixelEveryThirdFrame) {
    StartBoss(1);
    PastEntrance();
    const std::vector<At> at = {{1, 100, 27},    {2, 100, 27},    {3, 101, 28},
                                {219, 173, 100}, {220, 173, 100}, {483, 261, 12},
                                {489, 259, 10},  {492, 258, 11},  {1266, 0, 89}};
    EXPECT_EQ(FollowBody(at, 1300), (Box{0, 261, 10, 100}));
}

// The straight pair only at the top of the bounce (the first one on frame
// 490, when the body is back up at y 10), the single beam on every 60th
// column and the spread pair on every 32nd, each only while free.
TEST(Boss1, DropsEachKindOfBeamWhenAndWhereItsRuleSays) {
    StartBoss(1);
    PastEntrance();
    const std::vector<GroupRule> rules = {
        {0, 2, 3, {0, 0}, 196, {3, 43}, {40, 40}, [](int, int by) { return by < 11; }},
        {2, 1, 1, {0}, 206, {24}, {54}, [](int bx, int) { return bx % 60 == 0; }},
        {3, 2, 2, {-1, 1}, 207, {13, 33}, {45, 45}, [](int bx, int) { return bx % 32 == 0; }},
    };
    std::vector<GroupCount> first = FollowGroups(rules, 489);
    EXPECT_EQ(first[0].launches, 0) << "no pair before the body is back at the top";
    EXPECT_EQ(first[1].launches, 3) << "x 120, 180 and 240 on the way right";
    EXPECT_EQ(first[2].launches, 5) << "x 128, 160, 192, 224 and 256";
    EXPECT_EQ(FollowGroups(rules, 1)[0].launches, 1);
    EXPECT_EQ(boss_bomb[0].x, 262);
    EXPECT_EQ(boss_bomb[0].y, 50);
    for (const GroupCount &c : FollowGroups(rules, 2500)) EXPECT_GT(c.launches, 3);
}

}  // namespace
