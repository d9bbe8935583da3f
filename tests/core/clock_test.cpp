// The frame clock on the virtual clock: tick spacing, the pause, wait and
// the random numbers.

#include "support/harness.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

// The frames (counted from 1) on which a flag was raised, over n calls of Sync.
std::vector<long> TickFrames(bool &flag, int n) {
    std::vector<long> at;
    for (int i = 0; i < n; i++) {
        Sync();
        if (flag) at.push_back(HeadlessFrame());
    }
    return at;
}

TEST(Clock, TicksComeOneFramePlusTheirPeriodApart) {
    // Frames are 16.67 ms. A flag rises on the first frame more than its
    // period after its timestamp, and the timestamp is taken at the start of
    // the frame after the tick.
    Fresh();
    std::vector<long> syn_at = TickFrames(syn, 60);
    EXPECT_EQ(syn_at, (std::vector<long>{10, 20, 30, 40, 50, 60}));  // 150 ms

    Fresh();
    std::vector<long> synf_at = TickFrames(synf, 30);
    EXPECT_EQ(synf_at, (std::vector<long>{5, 10, 15, 20, 25, 30}));  // 80 ms

    Fresh();
    std::vector<long> syns_at = TickFrames(syns, 100);
    EXPECT_EQ(syns_at, (std::vector<long>{31, 62, 93}));  // 500 ms

    Fresh();
    std::vector<long> synss_at = TickFrames(synss, 400);
    EXPECT_EQ(synss_at, (std::vector<long>{181, 362}));  // 3000 ms

    // 5 ms is shorter than a frame: raised on every frame.
    Fresh();
    EXPECT_EQ(TickFrames(synff, 50).size(), 50u);
}

TEST(Clock, AFlagHoldsForExactlyOneFrame) {
    Fresh();
    int raised = 0, consecutive = 0;
    bool before = false;
    for (int i = 0; i < 200; i++) {
        Sync();
        raised += syn;
        consecutive += syn && before;
        before = syn;
    }
    EXPECT_GT(raised, 0);
    EXPECT_EQ(consecutive, 0);
}

TEST(Clock, ReArmingByHandDelaysTheNextTick) {
    // What the wave end does: the 3000 ms tick counts from the moment it was re-armed.
    Fresh();
    for (int i = 0; i < 100; i++) Sync();
    msss = SysMsec();
    synss = false;
    long armed = HeadlessFrame();
    while (!synss) Sync();
    long elapsed_ms = (HeadlessFrame() - armed) * 1000 / 60;
    EXPECT_GT(elapsed_ms, 3000);
    EXPECT_LT(elapsed_ms, 3000 + 2 * 17);
}

TEST(Clock, PHoldsTheGameUntilRAndTheTicksCatchUp) {
    Fresh("101 down P\n130 up P\n400 down R\n600 up R\n");
    int syncs = 0;
    while (HeadlessFrame() < 101) {
        Sync();
        syncs++;
    }
    EXPECT_EQ(syncs, 101);
    long presents = HeadlessPresents();
    // The Sync that reached frame 101 found P held and returned only when R was.
    EXPECT_EQ(HeadlessFrame(), 400);
    EXPECT_EQ(HeadlessPresents(), presents);
    // No flag was up at frame 101; every period ran out during the pause, so
    // all ticks fire at once.
    Sync();
    EXPECT_TRUE(syn);
    EXPECT_TRUE(synf);
    EXPECT_TRUE(syns);
    EXPECT_TRUE(syns2);
    EXPECT_TRUE(synss);
}

TEST(Clock, PStillHeldAfterResumingPausesAgain) {
    // R is tapped while P stays held: the next frame pauses again, and with
    // no more keys coming the run ends inside that pause.
    Fresh("10 down P\n50 press R\n");
    long frame_seen = -1;
    try {
        for (;;) {
            Sync();
            frame_seen = HeadlessFrame();
        }
    } catch (const RunOver &) {}
    EXPECT_EQ(frame_seen, 50);       // the frame after the first pause was played
    EXPECT_EQ(HeadlessFrame(), 52);  // then held again to the end of the script
}

TEST(Clock, WaitTakesExactlyItsTimeAndSleeps) {
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
    ClockReset();
    std::set<int> seen;
    std::vector<int> first;
    for (int i = 0; i < 2000; i++) {
        EXPECT_EQ(Random(0), 0);
        int r = Random(5);
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 5);
        seen.insert(r);
        first.push_back(Random(1000));
    }
    EXPECT_EQ(seen.size(), 6u);

    // The same sequence from the start of every run.
    ClockReset();
    for (int i = 0; i < 2000; i++) {
        Random(0);
        Random(5);
        ASSERT_EQ(Random(1000), first[i]);
    }

    // A negative bound (the alien bombs of very high Old-mode levels) gives
    // 0..-(n + 2), never a negative number.
    std::set<int> neg;
    for (int i = 0; i < 2000; i++) {
        int r = Random(-10);
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 8);
        neg.insert(r);
    }
    EXPECT_EQ(neg.size(), 9u);

    // At least 15 bits a draw.
    int top = 0;
    for (int i = 0; i < 5000; i++) top = std::max(top, Random(1 << 20));
    EXPECT_GE(top, 30000);
}

}  // namespace
