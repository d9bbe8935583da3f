// The frame clock on the virtual clock: tick spacing, the pause, wait and
// the random numbers.

#include "support/harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

namespace {

// Frames are 16.67 ms. A flag rises on the first frame more than its period
// after its timestamp, taken at the start of the frame after the tick, and
// holds for that frame only: 150, 80, 500, 1100 and 3000 ms; 5 ms is shorter
// than a frame, so every frame.
TEST(Clock, TicksComeOneFramePlusTheirPeriodApartAndHoldForOneFrame) {
    bool *flags[] = {&syn, &synf, &syns, &syns2, &synss, &synff};
    const std::vector<long> want[] = {
        {10, 20, 30, 40, 50, 60}, {5, 10, 15, 20, 25, 30}, {31, 62, 93}, {67, 134}, {181, 362},
        {1, 2, 3, 4, 5}};
    for (int k = 0; k < 6; k++) {
        Fresh();
        std::vector<long> at;
        while (HeadlessFrame() < want[k].back())
            if (Sync(), *flags[k]) at.push_back(HeadlessFrame());
        EXPECT_EQ(at, want[k]) << k;
    }
}

TEST(Clock, PHoldsTheGameUntilRAndTheTicksCatchUpAndWaitTakesItsTime) {
    Fresh("101 down P\n130 up P\n400 down R\n600 up R\n");
    for (int i = 0; i < 100; i++) Sync();
    long presents = HeadlessPresents();
    Sync();  // reaches frame 101, finds P held and returns only when R is
    EXPECT_EQ(HeadlessFrame(), 400);
    EXPECT_EQ(HeadlessPresents(), presents);
    Sync();  // every period ran out during the pause: all ticks at once
    EXPECT_TRUE(syn && synf && syns && syns2 && synss);
    // R tapped while P stays held: the next frame pauses again, and with no
    // more keys coming the run ends inside that pause.
    Fresh("10 down P\n50 press R\n");
    long frame_seen = -1;
    try {
        for (;;) Sync(), frame_seen = HeadlessFrame();
    } catch (const RunOver &) {}
    EXPECT_EQ(frame_seen, 50);
    EXPECT_EQ(HeadlessFrame(), 52);

    Fresh();
    std::vector<long> msec;
    for (int ms : {0, 500, 7}) wait(ms), msec.push_back(SysMsec());
    EXPECT_EQ(msec, std::vector<long>({0, 500, 507}));
    EXPECT_EQ(HeadlessFrame(), 30);
}

// Each bound gives every number from 0 to it, the same sequence from the
// start of every run; a negative bound (the bombs of very high Old-mode
// levels) gives 0..-(n + 2). At least 15 bits a draw.
TEST(Random, RangesAndRepeatability) {
    for (int n : {0, 5, -10}) {
        ClockReset();
        std::vector<int> first;
        for (int i = 0; i < 2000; i++) first.push_back(Random(n));
        std::set<int> seen(first.begin(), first.end());
        EXPECT_EQ(seen.size(), n < 0 ? 9u : n + 1u) << n;
        EXPECT_EQ(*seen.begin(), 0) << n;
        EXPECT_EQ(*seen.rbegin(), n < 0 ? -(n + 2) : n) << n;
        ClockReset();
        for (int i = 0; i < 2000; i++) ASSERT_EQ(Random(n), first[i]);
    }
    int top = 0;
    for (int i = 0; i < 5000; i++) top = std::max(top, Random(1 << 20));
    EXPECT_GE(top, 30000);
}

}  // namespace
