// Bonus pickups: where and what they are, what they pay and to whom, how
// long they lie, the rising "taken" image, and when there are none.

#include "support/playfield.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

bool In(int px, int py, int x, int y, int w, int h) {
    return px >= x && px < x + w && py >= y && py < y + h;
}

// The bonus image s shows at (x, y) in the last picture, apart from where a
// ship (drawn after it) lies over it; at least 20 of its pixels checked.
bool BonusShown(BITMAP *s, int x, int y) {
    int seen = 0;
    for (int j = 0; j < s->h; j++) {
        for (int i = 0; i < s->w; i++) {
            int px = x + i, py = y + j;
            if (!s->line[j][i] || In(px, py, player.x, player.y, 16, 16)) continue;
            if (NPLAYERS == 2 && In(px, py, player2.x, player2.y, 16, 16)) continue;
            if (Shown(px, py) != s->line[j][i]) return false;
            seen++;
        }
    }
    return seen >= 20;
}

// A Normal-mode play with an empty, still wave and ships that nothing hits.
void QuietField(int players = 1) {
    PlayOptions o;
    o.players = players;
    StartPlay(o);
    ClearWave();
    player.shield = player2.shield = 1 << 20;
    ship.state = 0;
}

// Keeps both ships well away from x (the bonus).
void ShipsAway(int x) {
    int away = x < 160 ? 300 : 0;
    player.x = away;
    player2.x = away;
}

// Runs frames until a bonus lies on the field, at most `limit`. The mother
// ship is kept away so that its bomb cannot end anything.
bool WaitForBonus(int limit = 3000) {
    for (int f = 0; f < limit; f++) {
        ship.state = 0;
        ShipsAway(bonus.x);
        Frame();
        if (bonus.on && bonus.kind < 5) return true;
    }
    return false;
}

// Kinds 0 to 2 pay 100, 250 and 500 in money, 3 and 4 pay 300 and 800 in
// score; they show up anywhere from x 20 to 300 on the ships' row.
TEST(Bonus, EachKindPaysItsMoneyOrScore) {
    QuietField();
    const int pays[5] = {100, 250, 500, 300, 800};
    std::set<int> kinds;
    int xmin = 1000, xmax = -1;
    for (int n = 0; n < 60 && kinds.size() < 5; n++) {
        ASSERT_TRUE(WaitForBonus());
        int k = bonus.kind;
        kinds.insert(k);
        EXPECT_EQ(bonus.y, 206);
        EXPECT_EQ(bonus.count, 0);
        EXPECT_EQ(bonus.value, pays[k]);
        EXPECT_EQ(bonus.money, k < 3);
        xmin = std::min(xmin, bonus.x);
        xmax = std::max(xmax, bonus.x);
        EXPECT_TRUE(BonusShown(bonus.spr[k], bonus.x, 206));
        int m = money, s = score;
        player.x = bonus.x;
        Frame();
        EXPECT_EQ(bonus.kind, k + 5) << "taken by player 1";
        EXPECT_EQ(money - m, k < 3 ? pays[k] : 0) << "kind " << k;
        EXPECT_EQ(score - s, k < 3 ? 0 : pays[k]) << "kind " << k;
        while (bonus.on) Frame();  // let the taken image go
    }
    EXPECT_EQ(kinds.size(), 5u);
    EXPECT_GE(xmin, 20);
    EXPECT_LE(xmax, 300);
    Played bell = Sound(pl_fx[2]);
    EXPECT_GE(bell.count, 5);
    EXPECT_EQ(bell.vol, 120);
    EXPECT_EQ(bell.pan, 150);
    EXPECT_EQ(bell.freq, 1000);
}

// A bonus nobody takes lies for 8 ticks of 1.1 s, then a new one may come.
TEST(Bonus, AnUntakenBonusLiesEightTicksOf1100ms) {
    QuietField();
    for (int n = 0; n < 3; n++) {
        ASSERT_TRUE(WaitForBonus());
        int appeared = SysMsec();
        int x = bonus.x, kind = bonus.kind, ticks = 0;
        while (bonus.on) {
            ShipsAway(x);
            Frame();
            ticks += syns2;
            if (bonus.on) {
                EXPECT_EQ(bonus.count, ticks);
                EXPECT_EQ(bonus.x, x);
                EXPECT_EQ(bonus.kind, kind);
                EXPECT_TRUE(BonusShown(bonus.spr[kind], x, 206));
            }
        }
        int lay = SysMsec() - appeared;
        EXPECT_EQ(ticks, 8);
        EXPECT_GT(lay, 8 * 1100);
        EXPECT_LT(lay, 8 * 1100 + 8 * 2 * 17) << "each tick at most a frame late, plus the re-arm frame";
        EXPECT_FALSE(BonusShown(bonus.spr[kind], x, 206)) << "gone from the picture";
    }
}

// The taken image belongs to the player who took it, rises one pixel on each
// synff tick, cannot be taken again and is gone on the next syns2 tick.
TEST(Bonus, TheTakenImageRisesAndCannotBeTakenAgain) {
    QuietField(2);
    ASSERT_TRUE(WaitForBonus());
    int k = bonus.kind, x = bonus.x;
    player.x = x;
    Frame();
    ASSERT_EQ(bonus.kind, k + 5);
    int m = money, s = score, m2 = money2, s2 = score2;
    int taken_at = SysMsec();
    int rises = 0, frames = 0;
    while (bonus.on && frames < 200) {
        player.x = x;   // player 1 stays on it ...
        player2.x = x;  // ... and player 2 drives over it
        int y = bonus.y;
        Frame();
        frames++;
        rises += synff;
        if (bonus.on) {
            EXPECT_EQ(bonus.y, y - (synff ? 1 : 0));
            EXPECT_EQ(bonus.kind, k + 5);
        }
    }
    EXPECT_FALSE(bonus.on);
    EXPECT_GT(SysMsec() - taken_at, 1100);
    EXPECT_LT(SysMsec() - taken_at, 1100 + 3 * 17);
    EXPECT_GE(rises, 60) << "synff comes on nearly every frame";
    EXPECT_EQ(money, m);
    EXPECT_EQ(score, s);
    EXPECT_EQ(money2, m2);
    EXPECT_EQ(score2, s2);
    EXPECT_EQ(Sound(pl_fx[2]).count, 1);
}

// The taken image is player 1's or player 2's own and shows where the record
// says while it rises.
TEST(Bonus, EachPlayerTakesWithTheirOwnImage) {
    QuietField(2);
    ASSERT_TRUE(WaitForBonus());
    int k = bonus.kind, x = bonus.x;
    player2.x = x;
    player.x = x < 160 ? 300 : 0;
    int m2 = money2, s2 = score2;
    Frame();
    ASSERT_EQ(bonus.kind, k + 10);
    EXPECT_EQ(money2 + score2 - m2 - s2, bonus.value);
    for (int f = 0; f < 10 && bonus.on; f++) {
        player2.x = 270;
        Frame();
        if (bonus.on) {
            EXPECT_TRUE(BonusShown(bonus.spr[k + 10], x, bonus.y + (synff ? 1 : 0)));
        }
    }
}

// Both ships over the bonus on one frame: player 1 is tested first.
TEST(Bonus, ATieGoesToPlayer1) {
    QuietField(2);
    ASSERT_TRUE(WaitForBonus());
    int k = bonus.kind;
    int total1 = money + score, total2 = money2 + score2;
    player.x = player2.x = bonus.x;
    Frame();
    EXPECT_EQ(bonus.kind, k + 5);
    EXPECT_EQ(money + score - total1, bonus.value);
    EXPECT_EQ(money2 + score2, total2);
}

// An exploding ship still collects while its player has lives; with no lives
// left it does not, and then the other player may.
TEST(Bonus, AnExplodingShipCollectsButAPlayerWithoutLivesDoesNot) {
    QuietField(2);
    ASSERT_TRUE(WaitForBonus());
    PlayerHit();
    ASSERT_TRUE(player.dead);
    player.x = bonus.x;
    int k = bonus.kind, before = money + score;
    Frame();
    EXPECT_EQ(bonus.kind, k + 5);
    EXPECT_EQ(money + score - before, bonus.value);
    while (bonus.on) Frame();

    ASSERT_TRUE(WaitForBonus());
    lives = 0;
    k = bonus.kind;
    before = money + score;
    player.x = bonus.x;
    Frame();
    EXPECT_EQ(bonus.kind, k) << "player 1 has no lives";
    EXPECT_EQ(money + score, before);
    player.x = bonus.x;
    player2.x = bonus.x;
    Frame();
    EXPECT_EQ(bonus.kind, k + 10) << "player 2 takes it";
}

// In a one-player game player 2's ship record is never tested, though it
// lies at its place with lives to spare.
TEST(Bonus, APlayer2RecordIsIgnoredInAOnePlayerGame) {
    QuietField(1);
    ASSERT_GT(lives2, 0);
    ASSERT_TRUE(WaitForBonus());
    int k = bonus.kind, before = money2 + score2;
    player.x = bonus.x < 160 ? 300 : 0;
    player2.x = bonus.x;
    Frame();
    EXPECT_EQ(bonus.kind, k);
    EXPECT_EQ(money2 + score2, before);
}

// Bonuses come in the pause after a cleared wave and during boss fights;
// Old mode never has any.
TEST(Bonus, ComeBetweenWavesAndInBossFightsButNeverInOldMode) {
    QuietField();
    bool seen = false;
    for (int pause = 0; pause < 6 && !seen; pause++) {
        level = 3;
        al_count = 40;
        Frame();
        ASSERT_EQ(al_count, -1);
        bonus.on = false;
        while (level == 3 && !seen) {
            ShipsAway(bonus.x);
            Frame();
            seen = bonus.on && al_count == -1;
        }
    }
    EXPECT_TRUE(seen) << "a bonus in the 3000 ms pause";

    QuietField();
    level = 5;
    LevelInit();
    ASSERT_TRUE(bosshere);
    EXPECT_TRUE(WaitForBonus()) << "a bonus during the boss fight";

    PlayOptions o;
    o.mode = 2;
    StartPlay(o);
    ClearWave();
    player.shield = 1 << 20;
    int m = money;
    for (int f = 0; f < 3000; f++) {
        ship.state = 0;
        Frame();
        ASSERT_FALSE(bonus.on);
    }
    EXPECT_EQ(Sound(pl_fx[2]).count, 0);
    EXPECT_EQ(money, m);
}

}  // namespace
