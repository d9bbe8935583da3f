// The shop: the cursor over its seven cells, purchases and their limits, the
// refusal messages and sounds, auto-repeat buying, who gets a visit, and a
// weapon bought taking effect in the next stage.

#include "support/playfield.h"
#include "support/shown_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const int cell_x[7] = {25, 70, 70, 70, 70, 115, 160};
const int cell_y[7] = {81, 52, 81, 110, 170, 170, 170};

const std::string BLANK(29, ' ');
const std::string AT_MAXIMUM = "This item its at maximus!    ";
const std::string NO_MONEY = "Insufficent money!           ";
const std::string HAVE_WEAPON = "You have already this weapon!";

// The values a player brings into the shop.
struct Wallet {
    int money = 0;
    int power = 1;
    int speed = 1;
    int weapon = 1;
    int lives = 3;
};

// Key presses start well after the shop has faded in and emptied the key
// buffer; earlier ones would be thrown away.
const long FIRST_KEY = 400;

// A Normal-mode play (its stage sheet loaded the shop's sounds) with player
// 1's and player 2's values set, and the key script of the visit.
void Customer(const Wallet &w, const std::vector<std::string> &keys, int players = 1, const Wallet &w2 = {}) {
    PlayOptions o;
    o.players = players;
    StartPlay(o, Presses(keys, FIRST_KEY));
    money = w.money;
    power = w.power;
    speed = w.speed;
    weapon = w.weapon;
    lives = w.lives;
    money2 = w2.money;
    power2 = w2.power;
    speed2 = w2.speed;
    weapon2 = w2.weapon;
    lives2 = w2.lives;
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
        bool framed = Shown(x, y) == 18 && Shown(x + 26, y) == 18 && Shown(x, y + 25) == 18 &&
                      Shown(x + 26, y + 25) == 18 && Shown(x + 13, y) == 18 && Shown(x, y + 13) == 18;
        if (!framed) continue;
        if (found >= 0) return -1;
        found = c;
    }
    return found;
}

bool Box(int x1, int y1, int x2, int y2) {
    for (int y = y1; y <= y2; y++)
        for (int x = x1; x <= x2; x++)
            if (Shown(x, y) != 18) return false;
    return true;
}

// Power and speed marks shown: 1, 2 or 3 levels (no box, one, two).
int Marks(int y) {
    bool first = Box(281, y, 289, y + 9), second = Box(293, y, 301, y + 9);
    if (second && !first) return -1;
    return 1 + first + second;
}

std::vector<std::string> Keys(std::vector<std::string> path, const std::vector<std::string> &more) {
    path.insert(path.end(), more.begin(), more.end());
    return path;
}

// Paths from the leave cell to each cell.
const std::vector<std::string> TO[7] = {{},
                                        {"RIGHT", "UP"},
                                        {"RIGHT"},
                                        {"RIGHT", "DOWN"},
                                        {"RIGHT", "DOWN", "DOWN"},
                                        {"RIGHT", "DOWN", "DOWN", "RIGHT"},
                                        {"RIGHT", "DOWN", "DOWN", "RIGHT", "RIGHT"}};

TEST(Shop, TheCursorMovesByItsRules) {
    struct Move {
        int from;
        std::string key;
        int to;
    };
    const Move moves[] = {
        // the leave cell: right goes to the speed cell, nothing else moves it
        {0, "UP", 0},
        {0, "DOWN", 0},
        {0, "LEFT", 0},
        {0, "RIGHT", 2},
        // the left column: up stops at the power cell, down runs into weapon 1,
        // left goes back to the leave cell, right does nothing
        {1, "UP", 1},
        {1, "DOWN", 2},
        {1, "LEFT", 0},
        {1, "RIGHT", 1},
        {2, "UP", 1},
        {2, "DOWN", 3},
        {2, "LEFT", 0},
        {2, "RIGHT", 2},
        {3, "UP", 2},
        {3, "DOWN", 4},
        {3, "LEFT", 0},
        {3, "RIGHT", 3},
        // the weapons row: up only from weapon 1, left stops at weapon 1
        {4, "UP", 3},
        {4, "DOWN", 4},
        {4, "LEFT", 4},
        {4, "RIGHT", 5},
        {5, "UP", 5},
        {5, "DOWN", 5},
        {5, "LEFT", 4},
        {5, "RIGHT", 6},
        {6, "UP", 6},
        {6, "DOWN", 6},
        {6, "LEFT", 5},
        {6, "RIGHT", 6},
        // several held keys apply in the order up, down, left, right
        {3, "DOWN+RIGHT", 5},
        {4, "UP+LEFT", 0},
        {0, "LEFT+RIGHT", 2},
        {2, "UP+DOWN", 2},
    };
    for (const Move &m : moves) {
        SCOPED_TRACE("from " + std::to_string(m.from) + " with " + m.key);
        Wallet w;
        w.money = 100000;
        Customer(w, Keys(TO[m.from], {m.key}));
        EXPECT_FALSE(Visit());
        EXPECT_EQ(Cursor(), m.to);
        EXPECT_EQ(money, 100000) << "moving buys nothing";
    }
    // The cursor starts on the leave cell, with the blank message line.
    Customer(Wallet(), {});
    EXPECT_FALSE(Visit());
    EXPECT_EQ(Cursor(), 0);
    EXPECT_TRUE(ShowsText(0, 236, 14, 2, BLANK));
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
    auto wallet = [](int money, int power, int speed, int weapon) {
        Wallet w;
        w.money = money;
        w.power = power;
        w.speed = speed;
        w.weapon = weapon;
        return w;
    };
    const Case cases[] = {
        {"power at 3 without the money: money is tested first", 1, wallet(4000, 3, 1, 1), NO_MONEY},
        {"power at 3", 1, wallet(6000, 3, 1, 1), AT_MAXIMUM},
        {"power short of money", 1, wallet(4999, 1, 1, 1), NO_MONEY},
        {"speed at 3", 2, wallet(2000, 1, 3, 1), AT_MAXIMUM},
        {"speed short of money", 2, wallet(1999, 1, 1, 1), NO_MONEY},
        {"a ship short of money", 3, wallet(4999, 1, 1, 1), NO_MONEY},
        {"the current weapon without the money: ownership decides", 4, wallet(0, 1, 1, 1), HAVE_WEAPON},
        {"the current weapon", 5, wallet(50000, 1, 1, 2), HAVE_WEAPON},
        {"weapon 2 short of money", 5, wallet(5999, 1, 1, 1), NO_MONEY},
        {"weapon 3 short of money", 6, wallet(7999, 1, 1, 2), NO_MONEY},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.what);
        Customer(k.w, Keys(TO[k.cell], {"SPACE"}));
        EXPECT_FALSE(Visit());
        EXPECT_TRUE(ShowsText(0, 236, 14, 2, k.message));
        EXPECT_EQ(Sound(pl_fx[3]), (Played{1, 120, 150, 1000}));
        EXPECT_EQ(Sound(pl_fx[4]).count, 0);
        EXPECT_EQ(money, k.w.money);
        EXPECT_EQ(power, k.w.power);
        EXPECT_EQ(speed, k.w.speed);
        EXPECT_EQ(weapon, k.w.weapon);
        EXPECT_EQ(lives, k.w.lives);
        EXPECT_EQ(Cursor(), k.cell);
    }
    // A message stays until another covers it, and sounds only once.
    Wallet w;
    w.money = 100;
    Customer(w, Keys(TO[1], {"SPACE", "DOWN", "DOWN", "SPACE", "RIGHT"}));
    EXPECT_FALSE(Visit());
    EXPECT_TRUE(ShowsText(0, 236, 14, 2, NO_MONEY));
    EXPECT_EQ(Sound(pl_fx[3]).count, 2);
    EXPECT_EQ(Cursor(), 3);
    Customer(Wallet(), Keys(TO[4], {"SPACE", "RIGHT", "SPACE"}));  // have weapon 1, then no money for 2
    EXPECT_FALSE(Visit());
    EXPECT_TRUE(ShowsText(0, 236, 14, 2, NO_MONEY)) << "the longer message fully covered";
}

// Purchases down to the last coin and up to the limits, shown on the sheet.
TEST(Shop, PurchasesReachTheLimitsWithTheExactMoney) {
    Wallet w;
    w.money = 5000;
    w.power = 2;
    Customer(w, Keys(TO[1], {"SPACE", "DOWN"}));
    EXPECT_FALSE(Visit());
    EXPECT_EQ(power, 3);
    EXPECT_EQ(money, 0);
    EXPECT_EQ(Marks(67), 3);
    EXPECT_EQ(Marks(82), 1);
    EXPECT_TRUE(ShowsText(8, 120, 14, 2, "0      "));
    EXPECT_EQ(Sound(pl_fx[4]), (Played{1, 120, 150, 1000}));
    EXPECT_EQ(Sound(pl_fx[3]).count, 0);

    w = Wallet();
    w.money = 2000 + 2000;
    Customer(w, Keys(TO[2], {"SPACE", "SPACE", "UP"}));
    EXPECT_FALSE(Visit());
    EXPECT_EQ(speed, 3);
    EXPECT_EQ(money, 0);
    EXPECT_EQ(Marks(82), 3);
    EXPECT_EQ(Marks(67), 1);
    EXPECT_EQ(Sound(pl_fx[4]).count, 2);

    w = Wallet();
    w.money = 8000;
    Customer(w, Keys(TO[6], {"SPACE", "LEFT"}));
    EXPECT_FALSE(Visit());
    EXPECT_EQ(weapon, 3);
    EXPECT_EQ(money, 0);
    EXPECT_TRUE(ShownAt(shop[3], 250, 170));
    EXPECT_EQ(Cursor(), 5);

    w = Wallet();
    w.money = 3000 + 6000;
    w.weapon = 3;
    Customer(w, Keys(TO[4], {"SPACE", "RIGHT", "SPACE", "RIGHT"}));
    EXPECT_FALSE(Visit());
    EXPECT_EQ(weapon, 2) << "weapons can be traded down and up again";
    EXPECT_EQ(money, 0);
    EXPECT_TRUE(ShownAt(shop[2], 250, 170));
}

// Ships have no limit: auto-repeat on the fire key buys one per repeat as long
// as the money lasts, then refuses.
TEST(Shop, AutoRepeatBuysShipsWhileTheMoneyLasts) {
    Wallet w;
    w.money = 41000;
    w.lives = 3;
    std::string script = Presses(TO[3], FIRST_KEY);
    for (int r = 0; r < 10; r++) script += std::to_string(FIRST_KEY + 20 + r) + " press SPACE\n";
    PlayOptions o;
    StartPlay(o, script);
    money = w.money;
    lives = w.lives;
    power = speed = weapon = 1;
    EXPECT_FALSE(Visit());
    EXPECT_EQ(lives, 3 + 8);
    EXPECT_EQ(money, 1000);
    EXPECT_EQ(Sound(pl_fx[4]).count, 8);
    EXPECT_EQ(Sound(pl_fx[3]).count, 2) << "the ninth and tenth are refused";
    EXPECT_TRUE(ShowsText(0, 236, 14, 2, NO_MONEY));
    EXPECT_TRUE(ShowsText(273, 120, 14, 2, "11 "));
    EXPECT_TRUE(ShowsText(8, 120, 14, 2, "1000   "));

    // Power the same way stops at its limit with the limit's message.
    w = Wallet();
    w.money = 50000;
    script = Presses(TO[1], FIRST_KEY);
    for (int r = 0; r < 4; r++) script += std::to_string(FIRST_KEY + 20 + r) + " press SPACE\n";
    StartPlay(o, script);
    money = w.money;
    power = speed = weapon = 1;
    EXPECT_FALSE(Visit());
    EXPECT_EQ(power, 3);
    EXPECT_EQ(money, 40000);
    EXPECT_TRUE(ShowsText(0, 236, 14, 2, AT_MAXIMUM));
}

// Fire on the leave cell ends the visit: nothing bought, the shot parameters
// recomputed for both players, and the screen faded to black.
TEST(Shop, LeavingRecomputesTheShotsAndFadesOut) {
    Wallet w;
    w.money = 9000;
    Customer(w, {"SPACE"}, 2);
    weapon = 3;
    power = 2;
    weapon2 = 2;
    power2 = 3;
    EXPECT_TRUE(Visit());
    EXPECT_EQ(money, 9000);
    EXPECT_EQ(Sound(pl_fx[4]).count, 0);
    EXPECT_EQ(mbul, 2);
    EXPECT_EQ(bul_speed, 2);
    EXPECT_EQ(bul_pw, 1);
    EXPECT_EQ(mbul2, 3);
    EXPECT_EQ(bul_speed2, 5);
    EXPECT_EQ(bul_pw2, 4);
    const RGB *p = HeadlessPalette();
    for (int i = 0; i < PAL_SIZE; i++) ASSERT_EQ(p[i].r + p[i].g + p[i].b, 0) << "colour " << i;

    // From the weapons row the way out is up to the ship cell, then left.
    Customer(w, Keys(TO[6], {"SPACE", "LEFT", "LEFT", "UP", "LEFT", "SPACE"}));
    EXPECT_TRUE(Visit());
    EXPECT_EQ(weapon, 3);
    EXPECT_EQ(money, 1000);
    EXPECT_EQ(mbul, 1);
    EXPECT_EQ(bul_speed, 1);
}

// Only a player with ships left gets a visit; the second shop only in a
// two-player play. A refused visit shows nothing and takes no time.
TEST(Shop, OnlyPlayersWithShipsLeftAndTheSecondOnlyForTwoPlayers) {
    struct Case {
        const char *what;
        void (*fn)();
        int players, lives, lives2;
    };
    const Case cases[] = {{"player 1 without ships", Shop, 1, 0, 3},
                          {"player 2 in a one-player play", Shop2, 1, 3, 3},
                          {"player 2 without ships", Shop2, 2, 3, 0}};
    for (const Case &k : cases) {
        SCOPED_TRACE(k.what);
        Wallet w, w2;
        w.lives = k.lives;
        w.money = w2.money = 9000;
        w2.lives = k.lives2;
        Customer(w, {"SPACE"}, k.players, w2);
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
    Wallet w, w2;
    w.money = 20000;
    w2.money = 12000;
    w2.speed = 2;
    w2.weapon = 2;
    w2.lives = 2;
    Customer(w, {"RIGHT", "SPACE", "D", "W", "G", "S", "S", "G", "S", "D", "G"}, 2, w2);
    EXPECT_FALSE(Visit(Shop2));
    EXPECT_EQ(power2, 2);
    EXPECT_EQ(lives2, 3);
    EXPECT_EQ(money2, 2000);
    EXPECT_EQ(weapon2, 2);
    EXPECT_EQ(power, 1);
    EXPECT_EQ(money, 20000);
    EXPECT_EQ(Cursor(), 5);
    EXPECT_TRUE(ShowsText(0, 236, 14, 2, HAVE_WEAPON));
    EXPECT_TRUE(ShowsText(0, 228, 14, 2, "Player 2 please choose your items..."));
    EXPECT_TRUE(ShowsText(273, 120, 14, 2, "3  "));
    EXPECT_TRUE(ShowsText(8, 120, 14, 2, "2000   "));
    EXPECT_TRUE(ShownAt(shop[2], 250, 170));
    EXPECT_EQ(Marks(67), 2);
    EXPECT_EQ(Marks(82), 2);

    // G on the leave cell ends player 2's visit.
    Customer(w, {"G"}, 2, w2);
    EXPECT_TRUE(Visit(Shop2));
}

// A new stage opens player 1's shop, then player 2's; a one-player play
// sees only the first.
TEST(Shop, ANewStageOpensBothShopsInTurn) {
    std::string script = Presses({"RIGHT", "SPACE", "LEFT", "SPACE"}, FIRST_KEY) +
                         Presses({"D", "S", "G", "A", "G"}, FIRST_KEY + 400);
    PlayOptions o;
    o.players = 2;
    StartPlay(o, script);
    money = money2 = 10000;
    level = 6;
    LevelInit();
    EXPECT_EQ(speed, 2);
    EXPECT_EQ(money, 8000);
    EXPECT_EQ(lives2, 9 + 1);
    EXPECT_EQ(money2, 5000);
    ASSERT_EQ(Sound(pl_fx[4]).count, 2);
    int first = -1, second = -1;
    for (int i = 0; HeadlessSound(i); i++) {
        if (HeadlessSound(i)->sample != pl_fx[4]) continue;
        (first < 0 ? first : second) = (int)HeadlessSound(i)->frame;
    }
    EXPECT_LT(first, FIRST_KEY + 400) << "player 1 shops first";
    EXPECT_GT(second, FIRST_KEY + 400);
    EXPECT_EQ(bgcol, 4) << "then the stage-2 sheet";

    o.players = 1;
    StartPlay(o, Presses({"SPACE"}, FIRST_KEY));
    lives2 = 3;
    level = 6;
    LevelInit();  // a second shop would wait for a key and end the run
    EXPECT_EQ(bgcol, 4);
}

// From the end of stage 1 into the shop, weapon 3 bought, and its first shot
// in stage 2 flying with weapon 3's image, slot and speed.
TEST(Shop, AWeaponBoughtFiresFromTheNextStagesFirstShot) {
    std::string script = Presses(Keys(TO[6], {"SPACE", "LEFT", "LEFT", "UP", "LEFT", "SPACE"}), 600);
    script += "1100 press SPACE\n";
    PlayOptions o;
    StartPlay(o, script);
    money = 9000;
    level = 5;  // the wave before stage 2 (its boss is somebody else's test)
    ClearWave();
    al_count = 40;
    while (level == 5) Frame();
    ClearWave();  // nothing may stop the ship from firing
    player.shield = 1 << 20;
    EXPECT_EQ(weapon, 3);
    EXPECT_EQ(money, 1000);
    EXPECT_EQ(bgcol, 4);
    EXPECT_EQ(al_hits, 4);
    EXPECT_FALSE(bullet[0].on);
    while (!bullet[0].on && HeadlessFrame() < 1200) Frame();
    ASSERT_TRUE(bullet[0].on);
    EXPECT_EQ(HeadlessFrame(), 1100);
    EXPECT_EQ(mbul, 1);
    EXPECT_EQ(bullet[0].vy, 1);
    EXPECT_EQ(bullet[0].x, player.x + 6);
    EXPECT_EQ(bullet[0].y, 205) << "one pixel a frame";
    EXPECT_TRUE(ShownAt(bullet[0].spr[2], bullet[0].x, 206));
    Frames(30);
    EXPECT_EQ(bullet[0].y, 175);
    EXPECT_TRUE(ShownAt(bullet[0].spr[2], bullet[0].x, 176));
}

}  // namespace
