// The shop: the cursor over its seven cells, purchases and their limits, the
// refusal messages and sounds, auto-repeat buying, and who gets a visit.

#include "support/playfield.h"
#include "support/shown_text.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

const int cell_x[7] = {25, 70, 70, 70, 70, 115, 160};
const int cell_y[7] = {81, 52, 81, 110, 170, 170, 170};

const std::string AT_MAXIMUM = "This item its at maximus!    ";
const std::string NO_MONEY = "Insufficent money!           ";
const std::string HAVE_WEAPON = "You have already this weapon!";

// The values a player brings into the shop, or has after it.
struct Wallet {
    int money = 0, power = 1, speed = 1, weapon = 1, lives = 3;
    bool operator==(const Wallet &o) const {
        return std::tie(money, power, speed, weapon, lives) ==
               std::tie(o.money, o.power, o.speed, o.weapon, o.lives);
    }
};

void PrintTo(const Wallet &w, std::ostream *os) {
    *os << "money " << w.money << " power " << w.power << " speed " << w.speed << " weapon " << w.weapon
        << " lives " << w.lives;
}

Wallet Player1() {
    return {money, power, speed, weapon, lives};
}

// Key presses start well after the shop has faded in and emptied the key
// buffer; earlier ones would be thrown away.
const long FIRST_KEY = 400;

// A Normal-mode play (its stage sheet loaded the shop's sounds) with player
// 1's and player 2's values set, and the keys of the visit pressed one by
// one (then the rest of the script).
void Customer(const Wallet &w, const std::string &keys, int players = 1, const Wallet &w2 = {},
              const std::string &more = "") {
    PlayOptions o;
    o.players = players;
    StartPlay(o, Presses(KeyNames(keys), FIRST_KEY) + more);
    std::tie(money, power, speed, weapon, lives) = std::tie(w.money, w.power, w.speed, w.weapon, w.lives);
    std::tie(money2, power2, speed2, weapon2, lives2) =
        std::tie(w2.money, w2.power, w2.speed, w2.weapon, w2.lives);
}

// Runs a shop until the player leaves (true) or the keys run out while it
// waits for the next one (false); the picture then is the last pass's.
bool Visit(void (*shop_fn)() = Shop) {
    try {
        shop_fn();
        return true;
    } catch (RunOver &) {
        return false;
    }
}

// The cell whose frame the picture shows, -1 for none or several.
int Cursor() {
    int found = -1;
    for (int c = 0; c < 7; c++) {
        int x = cell_x[c], y = cell_y[c];
        if (Shown(x, y) == 18 && Shown(x + 26, y) == 18 && Shown(x, y + 25) == 18 &&
            Shown(x + 26, y + 25) == 18 && Shown(x + 13, y) == 18 && Shown(x, y + 13) == 18)
            found = found < 0 ? c : 99;
    }
    return found == 99 ? -1 : found;
}

// Power and speed marks shown: 1, 2 or 3 levels (no box, one, two).
int Marks(int y) {
    bool first = CountColour(18, 281, y, 289, y + 9) == 90,
         second = CountColour(18, 293, y, 301, y + 9) == 90;
    return second && !first ? -1 : 1 + first + second;
}

bool Message(const std::string &text) {
    return ShowsText(0, 236, 14, 2, text);
}

// The keys from the leave cell to each cell, then more.
std::string Path(int cell, const std::string &more = "") {
    const char *to[7] = {"",
                         "RIGHT UP",
                         "RIGHT",
                         "RIGHT DOWN",
                         "RIGHT DOWN DOWN",
                         "RIGHT DOWN DOWN RIGHT",
                         "RIGHT DOWN DOWN RIGHT RIGHT"};
    return std::string(to[cell]) + " " + more;
}

// Fire held down at the cell with n auto-repeats.
std::string Repeats(int n) {
    std::string script;
    for (int r = 0; r < n; r++) script += std::to_string(FIRST_KEY + 20 + r) + " press SPACE\n";
    return script;
}

TEST(Shop, TheCursorMovesByItsRules) {
    // Where Up, Down, Left and Right lead from each cell: up never reaches
    // the leave cell and goes into the left column only from weapon 1, left
    // from the weapons row stops at weapon 1.
    const int moves[7][4] = {{0, 0, 0, 2}, {1, 2, 0, 1}, {1, 3, 0, 2}, {2, 4, 0, 3},
                             {3, 4, 4, 5}, {5, 5, 4, 6}, {6, 6, 5, 6}};
    const char *dirs[4] = {"UP", "DOWN", "LEFT", "RIGHT"};
    struct Move {
        int from;
        std::string keys;
        int to;
    };
    // several held keys apply in the order up, down, left, right
    std::vector<Move> all = {
        {3, "DOWN+RIGHT", 5}, {4, "UP+LEFT", 0}, {0, "LEFT+RIGHT", 2}, {2, "UP+DOWN", 2}};
    for (int c = 0; c < 7; c++)
        for (int d = 0; d < 4; d++) all.push_back({c, dirs[d], moves[c][d]});
    for (const Move &m : all) {
        SCOPED_TRACE("from " + std::to_string(m.from) + " with " + m.keys);
        Customer(Wallet{100000}, Path(m.from, m.keys));
        EXPECT_FALSE(Visit());
        EXPECT_EQ(Cursor(), m.to);
        EXPECT_EQ(money, 100000) << "moving buys nothing";
    }
    // The cursor starts on the leave cell, with the blank message line.
    Customer(Wallet(), "");
    EXPECT_FALSE(Visit());
    EXPECT_EQ(Cursor(), 0);
    EXPECT_TRUE(Message(std::string(29, ' ')));
    EXPECT_TRUE(ShowsText(0, 228, 14, 2, "Player 1 please choose your items..."));
}

// Every refusal: its message on the message line on the next pass, the
// refusal sound once, nothing bought.
TEST(Shop, RefusalsShowTheirMessageAndSound) {
    struct Case {
        const char *what;
        int cell;
        Wallet w;
        std::string message;
    };
    const Case cases[] = {
        {"power at 3 without the money: money is tested first", 1, {4000, 3}, NO_MONEY},
        {"power at 3", 1, {6000, 3}, AT_MAXIMUM},
        {"power short of money", 1, {4999}, NO_MONEY},
        {"speed at 3", 2, {2000, 1, 3}, AT_MAXIMUM},
        {"speed short of money", 2, {1999}, NO_MONEY},
        {"a ship short of money", 3, {4999}, NO_MONEY},
        {"the current weapon without the money: ownership decides", 4, {0}, HAVE_WEAPON},
        {"the current weapon", 5, {50000, 1, 1, 2}, HAVE_WEAPON},
        {"weapon 2 short of money", 5, {5999}, NO_MONEY},
        {"weapon 3 short of money", 6, {7999, 1, 1, 2}, NO_MONEY},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.what);
        Customer(k.w, Path(k.cell, "SPACE"));
        EXPECT_FALSE(Visit());
        EXPECT_TRUE(Message(k.message));
        EXPECT_EQ(Sound(pl_fx[3]), (Played{1, 120, 150, 1000}));
        EXPECT_EQ(Sound(pl_fx[4]).count, 0);
        EXPECT_EQ(Player1(), k.w);
        EXPECT_EQ(Cursor(), k.cell);
    }
    // A message stays until another covers it, and sounds only once.
    Customer(Wallet{100}, Path(1, "SPACE DOWN DOWN SPACE RIGHT"));
    EXPECT_FALSE(Visit());
    EXPECT_TRUE(Message(NO_MONEY));
    EXPECT_EQ(Sound(pl_fx[3]).count, 2);
    EXPECT_EQ(Cursor(), 3);
    Customer(Wallet(), Path(4, "SPACE RIGHT SPACE"));  // have weapon 1, then no money for 2
    EXPECT_FALSE(Visit());
    EXPECT_TRUE(Message(NO_MONEY)) << "the longer message fully covered";
}

// Purchases down to the last coin and up to the limits, shown on the sheet.
TEST(Shop, PurchasesReachTheLimitsWithTheExactMoney) {
    struct Case {
        Wallet w;
        std::string keys;
        Wallet after;
        int sales, power_marks, speed_marks, cursor;
    };
    const Case cases[] = {
        {{5000, 2}, Path(1, "SPACE DOWN"), {0, 3}, 1, 3, 1, 2},
        {{4000}, Path(2, "SPACE SPACE UP"), {0, 1, 3}, 2, 1, 3, 1},
        {{8000}, Path(6, "SPACE LEFT"), {0, 1, 1, 3}, 1, 1, 1, 5},
        // weapons can be traded down and up again
        {{9000, 1, 1, 3}, Path(4, "SPACE RIGHT SPACE RIGHT"), {0, 1, 1, 2}, 2, 1, 1, 6},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(::testing::PrintToString(k.after));
        Customer(k.w, k.keys);
        EXPECT_FALSE(Visit());
        EXPECT_EQ(Player1(), k.after);
        EXPECT_EQ(Marks(67), k.power_marks);
        EXPECT_EQ(Marks(82), k.speed_marks);
        EXPECT_EQ(Cursor(), k.cursor);
        EXPECT_TRUE(ShownAt(shop[k.after.weapon], 250, 170));
        EXPECT_TRUE(ShowsText(8, 120, 14, 2, "0      "));
        EXPECT_EQ(Sound(pl_fx[4]), (Played{k.sales, 120, 150, 1000}));
        EXPECT_EQ(Sound(pl_fx[3]).count, 0);
    }
}

// Ships have no limit: auto-repeat on the fire key buys one per repeat as long
// as the money lasts, then refuses; power the same way stops at its limit.
TEST(Shop, AutoRepeatBuysWhileTheMoneyAndTheLimitLast) {
    Customer(Wallet{41000}, Path(3), 1, {}, Repeats(10));
    EXPECT_FALSE(Visit());
    EXPECT_EQ(Player1(), (Wallet{1000, 1, 1, 1, 3 + 8}));
    EXPECT_EQ(Sound(pl_fx[4]).count, 8);
    EXPECT_EQ(Sound(pl_fx[3]).count, 2) << "the ninth and tenth are refused";
    EXPECT_TRUE(Message(NO_MONEY));
    EXPECT_TRUE(ShowsText(273, 120, 14, 2, "11 "));
    EXPECT_TRUE(ShowsText(8, 120, 14, 2, "1000   "));

    Customer(Wallet{50000}, Path(1), 1, {}, Repeats(4));
    EXPECT_FALSE(Visit());
    EXPECT_EQ(Player1(), (Wallet{40000, 3}));
    EXPECT_TRUE(Message(AT_MAXIMUM));
}

// Fire on the leave cell ends the visit: nothing bought, the shot parameters
// recomputed for both players, and the screen faded to black.
TEST(Shop, LeavingRecomputesTheShotsAndFadesOut) {
    Customer(Wallet{9000, 2, 1, 3}, "SPACE", 2, Wallet{0, 3, 1, 2});
    EXPECT_TRUE(Visit());
    EXPECT_EQ(money, 9000);
    EXPECT_EQ(Sound(pl_fx[4]).count, 0);
    EXPECT_EQ(std::tie(mbul, bul_speed, bul_pw, mbul2, bul_speed2, bul_pw2),
              std::make_tuple(2, 2, 1, 3, 5, 4));
    const RGB *p = HeadlessPalette();
    for (int i = 0; i < PAL_SIZE; i++) ASSERT_EQ(p[i].r + p[i].g + p[i].b, 0) << "colour " << i;
}

// Only a player with ships left gets a visit; the second shop only in a
// two-player play. A refused visit shows nothing and takes no time.
TEST(Shop, OnlyPlayersWithShipsLeftAndTheSecondOnlyForTwoPlayers) {
    struct Case {
        void (*fn)();
        int players, lives, lives2;
    };
    for (const Case &k : {Case{Shop, 1, 0, 3}, Case{Shop2, 1, 3, 3}, Case{Shop2, 2, 3, 0}}) {
        SCOPED_TRACE(::testing::Message() << k.players << " players, lives " << k.lives << ", " << k.lives2);
        Customer(Wallet{9000, 1, 1, 1, k.lives}, "SPACE", k.players, Wallet{9000, 1, 1, 1, k.lives2});
        long frame = HeadlessFrame(), presents = HeadlessPresents();
        EXPECT_TRUE(Visit(k.fn));
        EXPECT_EQ(HeadlessFrame(), frame);
        EXPECT_EQ(HeadlessPresents(), presents);
        EXPECT_EQ(money + money2, 18000);
    }
}

// Player 2 shops with W, S, A, D and G, with player 2's values; player 1's
// keys do nothing there.
TEST(Shop, TheSecondShopServesPlayer2WithItsOwnKeys) {
    const Wallet w{20000}, w2{12000, 1, 2, 2, 2};
    Customer(w, "RIGHT SPACE D W G S S G S D G", 2, w2);
    EXPECT_FALSE(Visit(Shop2));
    EXPECT_EQ(Player1(), w);
    EXPECT_EQ((Wallet{money2, power2, speed2, weapon2, lives2}), (Wallet{2000, 2, 2, 2, 3}));
    EXPECT_EQ(Cursor(), 5);
    EXPECT_TRUE(Message(HAVE_WEAPON));
    EXPECT_TRUE(ShowsText(0, 228, 14, 2, "Player 2 please choose your items..."));
    EXPECT_TRUE(ShowsText(273, 120, 14, 2, "3  "));
    EXPECT_TRUE(ShowsText(8, 120, 14, 2, "2000   "));
    EXPECT_TRUE(ShownAt(shop[2], 250, 170));
    EXPECT_EQ(Marks(67), 2);
    EXPECT_EQ(Marks(82), 2);

    Customer(w, "G", 2, w2);
    EXPECT_TRUE(Visit(Shop2)) << "G on the leave cell ends player 2's visit";
}

// A new stage opens player 1's shop, then player 2's; a one-player play
// sees only the first.
TEST(Shop, ANewStageOpensBothShopsInTurn) {
    Customer(Wallet{10000}, "RIGHT SPACE LEFT SPACE", 2, Wallet{10000, 1, 1, 1, 9},
             Presses(KeyNames("D S G A G"), FIRST_KEY + 400));
    level = 6;
    LevelInit();
    EXPECT_EQ(Player1(), (Wallet{8000, 1, 2}));
    EXPECT_EQ(lives2, 9 + 1);
    EXPECT_EQ(money2, 5000);
    std::vector<long> cash;
    for (int i = 0; HeadlessSound(i); i++)
        if (HeadlessSound(i)->sample == pl_fx[4]) cash.push_back(HeadlessSound(i)->frame);
    ASSERT_EQ(cash.size(), 2u);
    EXPECT_LT(cash[0], FIRST_KEY + 400) << "player 1 shops first";
    EXPECT_GT(cash[1], FIRST_KEY + 400);
    EXPECT_EQ(bgcol, 4) << "then the stage-2 sheet";

    Customer(Wallet{10000}, "SPACE");
    level = 6;
    LevelInit();  // a second shop would wait for a key and end the run
    EXPECT_EQ(bgcol, 4);
}

// Fire held through the end of the wave neither buys nor leaves; once let
// go, a new press buys (auto-repeat too) and leaves from the leave cell.
TEST(Shop, FireHeldSinceBeforeTheShopCountsOnlyOnceLetGo) {
    struct Keys {
        void (*shop)();
        std::string right, left, fire;
    };
    for (const Keys &k : {Keys{Shop, "RIGHT", "LEFT", "SPACE"}, Keys{Shop2, "D", "A", "G"}}) {
        SCOPED_TRACE(k.fire);
        const Wallet w{4000, 1, 1, 1, 3};
        Customer(w, k.right + " " + k.left, 2, w,
                 "0 down " + k.fire + "\n410 up " + k.fire + "\n420 press " + k.right + "\n430 press " +
                     k.fire + "\n431 press " + k.fire + "\n440 press " + k.left + "\n444 press " + k.fire +
                     "\n");
        ASSERT_TRUE(Visit(k.shop));
        EXPECT_GE(HeadlessFrame(), 444) << "left with the last press";
        Wallet after = k.shop == Shop ? Player1() : Wallet{money2, power2, speed2, weapon2, lives2};
        EXPECT_EQ(after, (Wallet{0, 1, 3, 1, 3})) << "two speeds bought after the release, none before";
    }
}

}  // namespace
