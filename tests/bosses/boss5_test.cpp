// Fifth boss: the bob and sweep, its two fans and six random bombs. (The
// autopilot's fight also follows its destruction into the ending.)

#include "support/bossfight.h"

#include <gtest/gtest.h>

namespace {

// It bobs one pixel every second frame between y 9 and 120 while it sweeps
// x 105 + 100 sin: from the entrance's x 100 to 105 on the first frame.
// The angle starts again at 360.0: from about x 201 back to 105.
TEST(Boss5, BobsAndSweeps) {
    StartBoss(5);
    PastEntrance();
    const std::vector<At> at = {{1, 105, 37},   {2, 106, 38},   {3, 108, 38},  {166, 90, 120},
                                {168, 86, 119}, {200, 31, 103}, {388, 204, 9}, {390, 204, 10}};
    EXPECT_EQ(FollowBody(at, 400), (Box{6, 204, 9, 120})) << "x 5 needs sin at -0.99";
    boss.angle = 359.99;
    QuietFrame();
    EXPECT_EQ(boss.x, 201);
    QuietFrame();
    EXPECT_EQ(boss.x, 105);
}

// The first fan at heights that are multiples of 28, the second at
// multiples of 26, each while its lead is free; six long bombs dropped at
// random, 1 in 31 per free slot and frame.
TEST(Boss5, FiresTwoFansByHeightAndDropsBombsAtRandom) {
    StartBoss(5);
    PastEntrance();
    std::vector<GroupRule> rules = {
        {0, 3, 3, {1, 0, -1}, 220, {30, 30, 30}, {20, 20, 20}, [](int, int by) { return by % 28 == 0; }},
        {3, 3, 2, {1, 0, -1}, 220, {60, 60, 60}, {20, 20, 20}, [](int, int by) { return by % 26 == 0; }},
    };
    for (int i = 6; i < 12; i++) rules.push_back({i, 1, 0, {0}, 206, {36}, {15}, nullptr});
    std::vector<GroupCount> count = FollowGroups(rules, 4000);
    EXPECT_GT(count[0].launches, 10);
    EXPECT_GT(count[1].launches, 10);
    EXPECT_NEAR(RandomRate(count, 2), 1.0 / 31, 0.2 / 31);
}

}  // namespace
