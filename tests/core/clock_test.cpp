// The frame clock on the virtual clock: tick spacing, the pause, wait and
// the random numbers.

#include "support/harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

namespace {

// The frames (counted from 1) on which a flag was raised, over n calls of Sync.
std::vector<long> TickFrames(bool &flag, int n) {
    Fresh();
    std::vector<long> at;
    for (int i = 0; i < n; i++) {
        Sync();
        if (flag) at.push_back(HeadlessFrame());
    }
    return at;
}

TEST(Clock, TicksComeOneFramePlusTheirPeriodApartAndHoldForOneFrame) {
    // Frames are 16.67 ms. A flag rises on the first frame more than its
    // period after its timestamp, and the timestamp is taken at the start of
    // the frame after the tick.
    EXPECT_EQ(TickFrames(syn, 60), (std::vector<long>{10, 20, 30, 40, 50, 60}));  // 150 ms
    EXPECT_EQ(TickFrames(synf, 30), (std::vector<long>{5, 10, 15, 20, 25, 30}));  // 80 ms
    EXPECT_EQ(TickFrames(syns, 100), (std::vector<long>{31, 62, 93}));            // 500 ms
    EXPECT_EQ(TickFrames(syns2, 140), (std::vector<long>{67, 134}));              // 1100 ms
    EXPECT_EQ(TickFrames(synss, 400), (std::vector<long>{181, 362}));             // 3000 ms
    EXPECT_EQ(TickFrames(synff, 50).size(), 50u);  // 5 ms is shorter than a frame: every frame
}

TEST(Clock, PHoldsTheGameUntilRAndTheTicksCatchUp) {
    Fresh("101 down P\n130 up P\n400 down R\n600 up R\n");
    for (int i = 0; i < 100; i++) Sync();
    long presents = HeadlessPresents();
    // The Sync that reaches frame 101 finds P held and returns only when R is.
    Sync();
    EXPECT_EQ(HeadlessFrame(), 400);
    EXPECT_EQ(HeadlessPresents(), presents);
    // No flag was up at frame 101; every period ran out during the pause, so
    // all ticks fire at once.
    Sync();
    EXPECT_TRUE(syn && synf && syns && syns2 && synss);

    // R tapped while P stays held: the next frame pauses again, and with no
    // more keys coming the run ends inside that pause.
    Fresh("10 down P\n50 press R\n");
    long frame_seen = -1;
    try {
        for (;;) {
            Sync();
            frame_seen = HeadlessFrame();
        }
    } catch (const RunOver &) {}
    EXPECT_EQ(frame_seen, 50);
    EXPECT_EQ(HeadlessFrame(), 52);
}

TEST(Clock, WaitTakesExactlyItsTime) {
    Fresh();
    wait(0);
    EXPECT_EQ(SysMsec(), 0);
    wait(500);
    EXPECT_EQ(SysMsec(), 500);
    EXPECT_EQ(HeadlessFrame(), 30);
    wait(7);
    EXPECT_EQ(SysMsec(), 507);
}

TEST(Random, RangesAndRepeatability) {
    // Each bound gives every number from 0 to it, and the same sequence from
    // the start of every run. A negative bound (the alien bombs of very high
    // Old-mode levels) gives 0..-(n + 2), never a negative number.
    for (int n : {0, 5, -10}) {
        SCOPED_TRACE(n);
        ClockReset();
        std::vector<int> first;
        for (int i = 0; i < 2000; i++) first.push_back(Random(n));
        EXPECT_EQ(std::set<int>(first.begin(), first.end()).size(), n < 0 ? 9u : n + 1u);
        EXPECT_EQ(*std::min_element(first.begin(), first.end()), 0);
        EXPECT_EQ(*std::max_element(first.begin(), first.end()), n < 0 ? -(n + 2) : n);
        ClockReset();
        for (int i = 0; i < 2000; i++) ASSERT_EQ(Random(n), first[i]);
    }
    // At least 15 bits a draw.
    int top = 0;
    for (int i = 0; i < 5000; i++) top = std::max(top, Random(1 << 20));
    EXPECT_GE(top, 30000);
}

}  // namespace
