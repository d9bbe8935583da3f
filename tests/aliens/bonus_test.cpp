// Bonus pickups: where and what they are, what they pay and to whom, how
// long they lie, the rising "taken" image, and when there are none.

#include "support/playfield.h"

#include <gtest/gtest.h>

#include <set>

// A play (Normal mode unless said) with an empty wave and ships that
// nothing hits.
static void QuietField(int players = 1, int mode = 1) {
    StartPlay({mode, 2, players});
    ClearWave();
    Shielded();
    ship.state = 0;
}

// A place for the ships clear of any bonus (they lie from x 20 on).
static const int AWAY = 0;

// Runs frames, the ships kept away and the mother ship out of the sky,
// until a bonus lies on the field; at most `limit`.
static bool WaitForBonus(int limit = 3000) {
    for (int f = 0; f < limit; f++) {
        ship.state = 0;
        player.x = player2.x = AWAY;
        Frame();
        if (bonus.on && bonus.kind < 5) return true;
    }
    return false;
}

// A bonus nobody takes lies for 8 ticks of 1.1 s. Kinds 0 to 2 pay 100,
// 250 and 500 in money, 3 and 4 pay 300 and 800 in score, to the player who
// drives over them, with the bell; they show up anywhere from x 20 to 300 on
// the ships' row. The taken image is the taker's own; it rises one pixel on
// each synff tick, cannot be taken again by either player driving over it,
// and is gone on the next syns2 tick.
TEST(Bonus, LiesEightTicksOrPaysItsTakerAndRisesAway) {
    QuietField(2);
    ASSERT_TRUE(WaitForBonus());
    int appeared = SysMsec(), x = bonus.x, kind = bonus.kind, ticks = 0;
    while (bonus.on) {
        Frame();
        ticks += syns2;
        EXPECT_TRUE(!bonus.on || (bonus.count == ticks && ShownAt(bonus.spr[kind], x, 206)));
    }
    int lay = SysMsec() - appeared;
    EXPECT_EQ(ticks, 8);
    EXPECT_TRUE(lay > 8 * 1100 && lay < 8 * 1100 + 8 * 2 * 17)
        << "each tick at most a frame late, plus the re-arm";
    EXPECT_FALSE(ShownAt(bonus.spr[kind], x, 206)) << "gone from the picture";

    const int pays[5] = {100, 250, 500, 300, 800};
    std::set<int> kinds, xs;
    int takes = 0;
    for (; takes < 60 && kinds.size() < 5; takes++) {
        ASSERT_TRUE(WaitForBonus());
        const int k = bonus.kind, who = takes % 2 + 1, taken = k + 5 * who;
        int &m = who == 1 ? money : money2, &s = who == 1 ? score : score2, m0 = m, s0 = s;
        x = bonus.x, kinds.insert(k), xs.insert(x);
        EXPECT_TRUE(bonus.y == 206 && ShownAt(bonus.spr[k], x, 206));
        (who == 1 ? player : player2).x = x;
        Frame();
        EXPECT_TRUE(bonus.kind == taken && m - m0 == (k < 3 ? pays[k] : 0) && s - s0 == (k < 3 ? 0 : pays[k]))
            << "kind " << k << " for player " << who;
        int paid = money + score + money2 + score2, taken_at = SysMsec(), rises = 0;
        for (int f = 0; bonus.on && f < 200; f++) {
            bool over = f % 2 == 0;  // both ships on it, or away to see it
            player.x = player2.x = over ? x : AWAY;
            int y = bonus.y;
            Frame();
            rises += synff;
            EXPECT_TRUE(!bonus.on || (bonus.y == y - synff && bonus.kind == taken &&
                                      (over || ShownAt(bonus.spr[taken], x, y))))
                << "image " << taken;
        }
        int rose = SysMsec() - taken_at;  // synff comes on nearly every frame
        EXPECT_TRUE(rose > 1100 && rose < 1100 + 3 * 17 && rises >= 60)
            << rose << " ms, " << rises << " rises";
        EXPECT_EQ(money + score + money2 + score2, paid);
    }
    EXPECT_EQ(kinds.size(), 5u);
    EXPECT_TRUE(*xs.begin() >= 20 && *xs.rbegin() <= 300);
    EXPECT_EQ(Sound(pl_fx[2]), (Played{takes, 120, 150, 1000}));
}

// Who collects a bonus under the ships: player 1 on a tie, an exploding
// ship while its player has lives, never a player without lives, and never
// player 2's idle record in a one-player game.
TEST(Bonus, WhoCollects) {
    struct Case {
        const char *what;
        int players;
        bool on1, dead1, out1, on2;
        int taken;  // added to the kind: 5 player 1, 10 player 2
    };
    const Case cases[] = {
        {"a tie", 2, true, false, false, true, 5},
        {"player 2 alone", 2, false, false, false, true, 10},
        {"an exploding ship", 2, true, true, false, false, 5},
        {"player 1 without lives", 2, true, false, true, true, 10},
        {"player 1 without lives, alone", 2, true, false, true, false, 0},
        {"player 2's record in a one-player game", 1, false, false, false, true, 0},
    };
    for (const Case &k : cases) {
        QuietField(k.players);
        ASSERT_TRUE(WaitForBonus());
        int kind = bonus.kind, got1 = money + score, got2 = money2 + score2;
        if (k.dead1) PlayerHit();
        if (k.out1) lives = 0;
        player.x = k.on1 ? bonus.x : AWAY, player2.x = k.on2 ? bonus.x : AWAY;
        Frame();
        EXPECT_TRUE(bonus.kind == kind + k.taken && Sound(pl_fx[2]).count == (k.taken ? 1 : 0)) << k.what;
        EXPECT_EQ(money + score - got1, k.taken == 5 ? bonus.value : 0) << k.what;
        EXPECT_EQ(money2 + score2 - got2, k.taken == 10 ? bonus.value : 0) << k.what;
    }
}

// Bonuses keep coming during boss fights; Old mode never has any.
TEST(Bonus, ComeInBossFightsButNeverInOldMode) {
    QuietField();
    level = 5;
    LevelInit();
    ASSERT_TRUE(bosshere);
    EXPECT_TRUE(WaitForBonus()) << "a bonus during the boss fight";
    QuietField(1, 2);
    for (int f = 0; f < 3000 && !bonus.on; f++) ship.state = 0, Frame();
    EXPECT_FALSE(bonus.on);
}
