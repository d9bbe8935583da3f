// Fourth boss: its bounce down into the ships' row, the body contact, the
// heavy bomb and the fan of five pellets.

#include "support/bossfight.h"

#include <gtest/gtest.h>

namespace {

// From (100, 37), one pixel per axis every second frame: down to y 165 by
// frame 256 (the body, 58 high, then reaches into the ships' row), right to
// x 244 by 288, up to y 9 by 568 and left to x 0 by 776.
TEST(Boss4, BouncesOverAlmostTheWholeField) {
    StartBoss(4);
    PastEntrance();
    const std::vector<At> at = {{1, 100, 37},    {2, 101, 38},  {256, 228, 165}, {258, 229, 164},
                                {288, 244, 149}, {568, 104, 9}, {776, 0, 113}};
    EXPECT_EQ(FollowBody(at, 800), (Box{0, 244, 9, 165}));
}

// The fan of five whenever the height is a multiple of 31 and its lead is
// free, the heavy bomb on every 30th column.
TEST(Boss4, FiresItsFanAndDropsItsBombByHeightAndColumn) {
    StartBoss(4);
    PastEntrance();
    auto fan = [](int, int by) { return by % 31 == 0; };
    const std::vector<GroupRule> rules = {
        {1, 5, 2, {0, 1, 2, -1, -2}, 220, {30, 30, 30, 30, 30}, {20, 20, 20, 20, 20}, fan},
        {0, 1, 3, {0}, 202, {30}, {20}, [](int bx, int) { return bx % 30 == 0; }},
    };
    std::vector<GroupCount> count = FollowGroups(rules, 2000);
    EXPECT_GT(count[0].launches, 8);
    EXPECT_GT(count[1].launches, 10);
}

// At the bottom of its bounce the body costs an open ship it touches; a
// shielded one is safe.
TEST(Boss4, TheBodyCostsAShipItTouches) {
    for (bool shielded : {true, false}) {
        SCOPED_TRACE(shielded ? "shielded" : "open");
        StartBoss(4);
        PastEntrance();
        Shielded();
        QuietFrames(230);
        int before = lives;
        while (!player.dead && boss.count < 300) {
            for (bossbomb_t &b : boss_bomb) b.on = false;  // only the body
            player.x = boss.x + 30;
            shielded ? Shielded() : Unshield();
            QuietFrame();
        }
        EXPECT_EQ(lives, before - !shielded);
        EXPECT_TRUE(shielded || boss.y + 58 >= 206) << "it reached the ships' row";
    }
}

}  // namespace
