// The shop: the cursor over its seven cells, purchases and their limits, the
// refusal messages and sounds, repeated buying, and who gets a visit.

#include "support/playfield.h"
#include "support/shown_text.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

namespace {

// A player's values in the shop.
using Wallet = std::array<int, 5>;
enum { MONEY, POWER, SPEED, WEAPON, LIVES };
Wallet W(int money, int power = 1, int speed = 1, int weapon = 1, int lives = 3) {
    return {money, power, speed, weapon, lives};
}
std::array<int *, 5> Of(int who) {
    if (who == 2) return {&money2, &power2, &speed2, &weapon2, &lives2};
    return {&money, &power, &speed, &weapon, &lives};
}
Wallet Get(int who) {
    auto p = Of(who);
    return {*p[0], *p[1], *p[2], *p[3], *p[4]};
}

enum { BLANK, AT_MAXIMUM, NO_MONEY, HAVE_WEAPON };
const std::string MESSAGE[4] = {std::string(29, ' '), "This item its at maximus!    ",
                                "Insufficent money!           ", "You have already this weapon!"};

// Key presses start once the shop has faded in and emptied the key buffer.
const long FIRST_KEY = 400;

// A Normal-mode play with both players' values set, the keys pressed one by
// one from FIRST_KEY, then the rest of the script.
void Customer(int players, const Wallet &w1, const Wallet &w2, const std::string &keys,
              const std::string &more = "") {
    StartPlay(PlayOptions{1, 2, players}, Presses(KeyNames(keys), FIRST_KEY) + more);
    for (int i = 0; i < 5; i++) *Of(1)[i] = w1[i], *Of(2)[i] = w2[i];
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

// The cell whose frame (its 102 border pixels) the picture shows, -1 for none
// or several.
int Cursor() {
    const int cell_x[7] = {25, 70, 70, 70, 70, 115, 160}, cell_y[7] = {81, 52, 81, 110, 170, 170, 170};
    int found = -1, frames = 0;
    for (int c = 0; c < 7; c++)
        if (CountColour(18, cell_x[c], cell_y[c], cell_x[c] + 26, cell_y[c] + 25) == 102) found = c, frames++;
    return frames == 1 ? found : -1;
}

// Power and speed marks shown: 1, 2 or 3 levels (no box, one, two).
int Marks(int y) {
    bool first = CountColour(18, 281, y, 289, y + 9) == 90,
         second = CountColour(18, 293, y, 301, y + 9) == 90;
    return second && !first ? -1 : 1 + first + second;
}

// Every visit ends waiting for a key; then the picture shows the cursor, the
// message line, the served player's values and the sounds heard so far:
// one sale sound per purchase, one refusal sound per refused press.
TEST(Shop, VisitsShowTheCursorTheValuesAndTheMessagesAndSoundTheSalesAndRefusals) {
    // the keys from the leave cell to each cell
    const char *path[7] = {"",
                           "RIGHT UP",
                           "RIGHT",
                           "RIGHT DOWN",
                           "RIGHT DOWN DOWN",
                           "RIGHT DOWN DOWN RIGHT",
                           "RIGHT DOWN DOWN RIGHT RIGHT"};
    const std::string repeat10 = "SPACE SPACE SPACE SPACE SPACE SPACE SPACE SPACE SPACE SPACE";
    struct Case {
        int who, cell;
        std::string keys;
        Wallet w, after;
        int message, sales, refusals, cursor;
    };
    std::vector<Case> cases = {
        {1, 0, "", W(0), W(0), BLANK, 0, 0, 0},
        // money is tested before the limit; owning a weapon decides whatever the money
        {1, 1, "SPACE", W(4000, 3), W(4000, 3), NO_MONEY, 0, 1, 1},
        {1, 1, "SPACE", W(6000, 3), W(6000, 3), AT_MAXIMUM, 0, 1, 1},
        {1, 1, "SPACE", W(4999), W(4999), NO_MONEY, 0, 1, 1},
        {1, 2, "SPACE", W(2000, 1, 3), W(2000, 1, 3), AT_MAXIMUM, 0, 1, 2},
        {1, 2, "SPACE", W(1999), W(1999), NO_MONEY, 0, 1, 2},
        {1, 3, "SPACE", W(4999), W(4999), NO_MONEY, 0, 1, 3},
        {1, 4, "SPACE", W(0), W(0), HAVE_WEAPON, 0, 1, 4},
        {1, 5, "SPACE", W(50000, 1, 1, 2), W(50000, 1, 1, 2), HAVE_WEAPON, 0, 1, 5},
        {1, 5, "SPACE", W(5999), W(5999), NO_MONEY, 0, 1, 5},
        {1, 6, "SPACE", W(7999, 1, 1, 2), W(7999, 1, 1, 2), NO_MONEY, 0, 1, 6},
        // the shorter message fully covers the longer one and stays over a move
        {1, 4, "SPACE RIGHT SPACE RIGHT", W(0), W(0), NO_MONEY, 0, 2, 6},
        // down to the last coin and up to the limits; weapons traded down and up again
        {1, 1, "SPACE DOWN", W(5000, 2), W(0, 3), BLANK, 1, 0, 2},
        {1, 2, "SPACE SPACE UP", W(4000), W(0, 1, 3), BLANK, 2, 0, 1},
        {1, 6, "SPACE LEFT", W(8000), W(0, 1, 1, 3), BLANK, 1, 0, 5},
        {1, 4, "SPACE RIGHT SPACE RIGHT", W(9000, 1, 1, 3), W(0, 1, 1, 2), BLANK, 2, 0, 6},
        // ships have no limit: fire pressed again and again buys while the money lasts
        {1, 3, repeat10, W(41000), W(1000, 1, 1, 1, 11), NO_MONEY, 8, 2, 3},
        {1, 1, "SPACE SPACE SPACE SPACE", W(50000), W(40000, 3), AT_MAXIMUM, 2, 2, 1},
        // player 2 shops with W, S, A, D and G; player 1's keys do nothing there
        {2, 0, "RIGHT SPACE D W G S S G S D G", W(12000, 1, 2, 2, 2), W(2000, 2, 2, 2, 3), HAVE_WEAPON, 2, 1,
         5},
        // several held keys apply in the order up, down, left, right
        {1, 3, "DOWN+RIGHT", W(0), W(0), BLANK, 0, 0, 5},
        {1, 4, "UP+LEFT", W(0), W(0), BLANK, 0, 0, 0},
        {1, 0, "LEFT+RIGHT", W(0), W(0), BLANK, 0, 0, 2},
        {1, 2, "UP+DOWN", W(0), W(0), BLANK, 0, 0, 2},
    };
    // Where up, down, left and right lead from each cell: up never reaches
    // the leave cell and goes into the left column only from weapon 1, left
    // from the weapons row stops at weapon 1.
    const int moves[7][4] = {{0, 0, 0, 2}, {1, 2, 0, 1}, {1, 3, 0, 2}, {2, 4, 0, 3},
                             {3, 4, 4, 5}, {5, 5, 4, 6}, {6, 6, 5, 6}};
    const char *dirs[4] = {"UP", "DOWN", "LEFT", "RIGHT"};
    for (int c = 0; c < 7; c++)
        for (int d = 0; d < 4; d++)
            cases.push_back({1, c, dirs[d], W(100000), W(100000), BLANK, 0, 0, moves[c][d]});
    for (const Case &k : cases) {
        SCOPED_TRACE(::testing::Message() << "player " << k.who << " from " << k.cell << " with " << k.keys);
        const Wallet other = W(20000);
        Customer(k.who, k.who == 1 ? k.w : other, k.who == 2 ? k.w : other,
                 std::string(path[k.cell]) + " " + k.keys);
        EXPECT_FALSE(Visit(k.who == 1 ? Shop : Shop2));
        EXPECT_EQ(Get(k.who), k.after);
        EXPECT_EQ(Get(3 - k.who), other);
        EXPECT_EQ(Cursor(), k.cursor);
        EXPECT_TRUE(ShowsText(0, 236, 14, 2, MESSAGE[k.message]));
        EXPECT_TRUE(
            ShowsText(0, 228, 14, 2, "Player " + std::to_string(k.who) + " please choose your items..."));
        EXPECT_TRUE(ShowsText(8, 120, 14, 2, std::to_string(k.after[MONEY]) + "      ", 7 * 8));
        EXPECT_TRUE(ShowsText(273, 120, 14, 2, std::to_string(k.after[LIVES]) + "  ", 3 * 8));
        EXPECT_EQ(Marks(67), k.after[POWER]);
        EXPECT_EQ(Marks(82), k.after[SPEED]);
        EXPECT_TRUE(ShownAt(shop[k.after[WEAPON]], 250, 170));
        EXPECT_EQ(Sound(pl_fx[3]), (k.refusals ? Played{k.refusals, 120, 150, 1000} : Played()));
        EXPECT_EQ(Sound(pl_fx[4]), (k.sales ? Played{k.sales, 120, 150, 1000} : Played()));
    }
}

// Fire on the leave cell ends the visit: nothing bought, both players' shot
// values recomputed, the screen faded to black.
TEST(Shop, LeavingRecomputesTheShotsAndFadesOut) {
    Customer(2, W(9000, 2, 1, 3), W(0, 3, 1, 2), "SPACE");
    EXPECT_TRUE(Visit());
    EXPECT_EQ(Get(1), W(9000, 2, 1, 3));
    EXPECT_EQ(Sound(pl_fx[4]).count, 0);
    EXPECT_EQ(std::tie(mbul, bul_speed, bul_pw, mbul2, bul_speed2, bul_pw2),
              std::make_tuple(2, 2, 1, 3, 5, 4));
    const RGB *p = HeadlessPalette();
    for (int i = 0; i < PAL_SIZE; i++) ASSERT_EQ(p[i].r + p[i].g + p[i].b, 0) << "colour " << i;
}

// A new stage opens player 1's shop, then player 2's (the other way round
// the keys would run out in player 1's shop), then shows the stage-2 sheet.
// Both fire keys are held through the end of the wave: held since before a
// shop opened, fire neither buys nor leaves; once let go, a press does.
TEST(Shop, ANewStageOpensBothShopsInTurnAndFireHeldSinceBeforeCountsOnlyOnceLetGo) {
    Customer(2, W(10000), W(10000, 1, 1, 1, 9), "RIGHT LEFT",
             "0 down SPACE\n0 down G\n410 up SPACE\n" +
                 Presses(KeyNames("RIGHT SPACE SPACE LEFT SPACE"), 420, 2) + Presses(KeyNames("D A"), 800) +
                 "810 up G\n" + Presses(KeyNames("D G S G A G"), 820, 2));
    level = 6;
    LevelInit();
    EXPECT_EQ(Get(1), W(6000, 1, 3));
    EXPECT_EQ(Get(2), W(3000, 1, 2, 1, 10));
    EXPECT_EQ(bgcol, 4);
    // Player 2 in a one-player play gets no visit (it would wait for keys).
    Customer(1, W(10000), W(10000), "SPACE");
    level = 6;
    LevelInit();
    EXPECT_EQ(bgcol, 4);
}

}  // namespace
